// The lobby over the wire: arrival, names, the player list, the version
// warning, chat, player information and the full server.
#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "server/VantorClientPlayer.h"
#include "tests/server/ProtocolClient.h"
#include "tests/server/ServerUnderTest.h"

namespace {

const std::vector<std::string> kRoster = {"Pee[Bot]",     "Chicken[Bot]",    "Baby[Bot]",
                                          "Britney[Bot]", "Desdemonia[Bot]", "Cassio[Bot]",
                                          "William[Bot]"};

std::vector<std::string> withRoster(const std::vector<std::string>& people) {
  std::vector<std::string> all = kRoster;
  all.insert(all.end(), people.begin(), people.end());
  return all;
}

std::string chat(int broadcast, const std::string& from, const std::string& text) {
  return std::string(1, '\x06') + std::string(1, static_cast<char>(broadcast)) + from +
         std::string(1, '\0') + text + std::string(1, '\0');
}

}  // namespace

TEST(LobbyProtocol, SendsTheVersionRequestFirstOnAccept) {
  ServerUnderTest server;
  ProtocolClient client(server.port());
  EXPECT_EQ(client.next(), std::string(1, '\x1a'));
  EXPECT_TRUE(client.silentFor(100));
}

TEST(LobbyProtocol, ListsTheSevenComputerPlayersInRosterOrderThenTheClient) {
  ServerUnderTest server;
  ProtocolClient client(server.port());
  client.next();
  client.send(request::version(2, 0));
  client.send(request::whoAmI());
  const std::vector<std::string> me = stringsFrom(client.nextOf(17), 1);
  ASSERT_EQ(me.size(), 1u);
  EXPECT_EQ(me[0].rfind("Player", 0), 0u) << me[0];

  client.send(request::playerList());
  EXPECT_EQ(stringsFrom(client.nextOf(3), 1), withRoster(me));
}

TEST(LobbyProtocol, RenamingTellsEveryoneAndAcknowledgesWithTheNewName) {
  ServerUnderTest server;
  auto alice = ProtocolClient::join(server.port(), "alice");
  auto bob = ProtocolClient::join(server.port(), "bob");
  alice->drain();

  bob->send(request::setNick("robert"));
  EXPECT_EQ(bob->drain(),
            (std::vector<std::string>{std::string(1, '\x09'), std::string("\x11robert\0", 8)}));
  EXPECT_EQ(alice->drain(), std::vector<std::string>{std::string(1, '\x09')});
  alice->send(request::playerList());
  EXPECT_EQ(stringsFrom(alice->nextOf(3), 1), withRoster({"alice", "robert"}));
}

TEST(LobbyProtocol, AcceptsANameThatIsAlreadyTaken) {
  ServerUnderTest server;
  auto first = ProtocolClient::join(server.port(), "twin");
  auto second = ProtocolClient::join(server.port(), "twin");
  second->send(request::playerList());
  EXPECT_EQ(stringsFrom(second->nextOf(3), 1), withRoster({"twin", "twin"}));
}

TEST(LobbyProtocol, WarnsTheFirstTooOldClientOnceInTheProcess) {
  ServerUnderTest server;
  VantorClientPlayer::resetVersionWarningForTesting();
  ProtocolClient old(server.port());
  old.next();
  old.send(request::version(0, 0));
  old.send(request::whoAmI());
  std::vector<std::string> got = old.drain();
  ASSERT_EQ(got.size(), 3u);
  EXPECT_EQ(got[0], chat(0, "Administrator", "Cannot determine your client version."));
  EXPECT_EQ(got[1],
            chat(0, "Administrator", "Your client is probably too old and should be upgraded."));
  EXPECT_EQ(codeOf(got[2]), 17);

  old.send(request::whoAmI());
  EXPECT_EQ(codesOf(old.drain()), std::vector<int>{17});

  ProtocolClient another(server.port());
  another.next();
  another.send(request::whoAmI());
  EXPECT_EQ(codesOf(another.drain()), std::vector<int>{17});
}

TEST(LobbyProtocol, GivesNoWarningToAClientOfVersionTwo) {
  ServerUnderTest server;
  VantorClientPlayer::resetVersionWarningForTesting();
  ProtocolClient client(server.port());
  client.next();
  client.send(request::version(2, 0));
  client.send(request::whoAmI());
  EXPECT_EQ(codesOf(client.drain()), std::vector<int>{17});
}

TEST(LobbyProtocol, BroadcastChatReachesEveryoneTheSenderToo) {
  ServerUnderTest server;
  auto alice = ProtocolClient::join(server.port(), "alice");
  auto bob = ProtocolClient::join(server.port(), "bob");
  alice->drain();
  alice->send(request::sendMessage("", "hello all"));
  EXPECT_EQ(alice->nextOf(6), chat(1, "alice", "hello all"));
  EXPECT_EQ(bob->nextOf(6), chat(1, "alice", "hello all"));
}

TEST(LobbyProtocol, PrivateChatReachesOnlyItsAddressee) {
  ServerUnderTest server;
  auto alice = ProtocolClient::join(server.port(), "alice");
  auto bob = ProtocolClient::join(server.port(), "bob");
  auto carol = ProtocolClient::join(server.port(), "carol");
  alice->drain();
  bob->drain();
  alice->send(request::sendMessage("bob", "psst"));
  EXPECT_EQ(bob->drain(), std::vector<std::string>{chat(0, "alice", "psst")});
  EXPECT_TRUE(alice->drain().empty());
  EXPECT_EQ(codesOf(carol->drain()), std::vector<int>{});

  alice->send(request::sendMessage("nobody", "hello?"));
  EXPECT_TRUE(alice->drain().empty());
}

TEST(LobbyProtocol, AComputerPlayerAnswersPrivateChat) {
  ServerUnderTest server;
  auto alice = ProtocolClient::join(server.port(), "alice");
  alice->send(request::sendMessage("Pee[Bot]", "hi"));
  EXPECT_EQ(alice->nextOf(6), chat(0, "Pee[Bot]", "I can't speak, I'm a bot!"));
}

TEST(LobbyProtocol, TellsPlayerInformation) {
  ServerUnderTest server;
  auto alice = ProtocolClient::join(server.port(), "alice");
  alice->send(request::playerInfo("alice"));
  EXPECT_EQ(stringsFrom(alice->nextOf(25), 1),
            (std::vector<std::string>{"alice", "No description."}));
  alice->send(request::playerInfo("ghost"));
  EXPECT_EQ(stringsFrom(alice->nextOf(25), 1), (std::vector<std::string>{"ghost", ""}));
  alice->send(request::playerInfo("Pee[Bot]"));
  const std::vector<std::string> bot = stringsFrom(alice->nextOf(25), 1);
  ASSERT_EQ(bot.size(), 2u);
  EXPECT_FALSE(bot[1].empty());
}

TEST(LobbyProtocol, AnEmptyGameListIsTheCodeAlone) {
  ServerUnderTest server;
  auto alice = ProtocolClient::join(server.port(), "alice");
  alice->send(request::gameList());
  EXPECT_EQ(alice->nextOf(19), std::string(1, '\x13'));
}

TEST(LobbyProtocol, TellsTheOthersWhenAClientLeaves) {
  ServerUnderTest server;
  auto alice = ProtocolClient::join(server.port(), "alice");
  auto bob = ProtocolClient::join(server.port(), "bob");
  alice->drain();
  bob.reset();
  EXPECT_EQ(alice->nextOf(9), std::string(1, '\x09'));
  alice->send(request::playerList());
  EXPECT_EQ(stringsFrom(alice->nextOf(3), 1), withRoster({"alice"}));
}

TEST(LobbyProtocol, TheEighteenthConnectionGetsTheVersionRequestAndIsClosed) {
  ServerUnderTest server;
  std::vector<std::unique_ptr<ProtocolClient>> clients;
  for (int i = 0; i < 17; ++i) {
    clients.emplace_back(ProtocolClient::join(server.port(), "p" + std::to_string(i)));
  }
  for (auto& c : clients) c->drain(50);

  ProtocolClient extra(server.port());
  EXPECT_EQ(extra.next(), std::string(1, '\x1a'));
  EXPECT_TRUE(extra.closedByServer());
  // Nobody hears of a player the lobby never took in.
  EXPECT_TRUE(clients[0]->drain().empty());

  clients[0]->send(request::playerList());
  EXPECT_EQ(stringsFrom(clients[0]->nextOf(3), 1).size(), 24u);

  // A place that frees up is taken again.
  clients.pop_back();
  clients[0]->nextOf(9);
  auto late = ProtocolClient::join(server.port(), "late");
  late->send(request::whoAmI());
  EXPECT_EQ(late->nextOf(17), std::string("\x11late\0", 6));
}
