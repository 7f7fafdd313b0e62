// The lobby over the wire: arrival, names (matched whole, by case, the first
// of a name first; no notice when Black or White leaves), the player list (the seven computer
// players in roster order, then the people), the version warning, chat, player information and the
// full server after a thousand connections came and went. (S26 first and no warning for version 2.0
// are checked as every client joins; the default name is the bots' test's.)
#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "server/VantorClientPlayer.h"
#include "server/VantorServer.h"
#include "tests/ios/TestSupport.h"
#include "tests/server/ProtocolClient.h"
#include "tests/server/ServerUnderTest.h"

namespace {

std::vector<std::string> withRoster(const std::vector<std::string>& people) {
  std::vector<std::string> all = {"Pee[Bot]",        "Chicken[Bot]", "Baby[Bot]",   "Britney[Bot]",
                                  "Desdemonia[Bot]", "Cassio[Bot]",  "William[Bot]"};
  all.insert(all.end(), people.begin(), people.end());
  return all;
}

std::vector<std::string> playerList(ProtocolClient& client) {
  client.send(msg(3));
  return stringsFrom(client.nextOf(3), 1);
}

}  // namespace

TEST(LobbyProtocol, ArrivingRenamingOrLeavingTellsEveryoneWithS9ButNotLeavingAsBlackOrWhite) {
  ServerUnderTest server;
  auto alice = ProtocolClient::join(server.port(), "alice");
  auto bob = ProtocolClient::join(server.port(), "bob");
  EXPECT_EQ(alice->drain(), (Messages{msg(9), msg(9)}));  // bob's arrival and name
  // A name already taken is accepted; the first with it gets its messages.
  bob->send(msg(1, cstr("alice")));
  EXPECT_EQ(bob->drain(), (Messages{msg(9), whoIs("alice")}));
  EXPECT_EQ(alice->drain(), Messages{msg(9)});
  EXPECT_EQ(playerList(*alice), withRoster({"alice", "alice"}));
  bob->send(msg(6, cstr("alice") + cstr("me?")));
  EXPECT_EQ(alice->drain(), Messages{chat(0, "alice", "me?")});
  bob.reset();
  EXPECT_EQ(alice->nextOf(9), msg(9));
  EXPECT_EQ(playerList(*alice), withRoster({"alice"}));
  // Nobody is told when one named exactly Black or White leaves.
  for (const char* nick : {"Black", "White", "Blacks"}) {
    ProtocolClient::join(server.port(), nick).reset();
    EXPECT_EQ(alice->drain(),
              (std::string(nick) == "Blacks" ? Messages(3, msg(9)) : Messages(2, msg(9))))
        << nick;
  }
}

TEST(LobbyProtocol, WarnsTheFirstTooOldClientOnceInTheProcess) {
  ServerUnderTest server;
  VantorClientPlayer::resetVersionWarningForTesting();
  auto current = ProtocolClient::join(server.port(), "current");  // 2.0: no warning
  ProtocolClient old(server.port());
  old.next();
  old.send(msg(26, bytes({0, 0})));
  old.send(msg(1, cstr("old")));
  EXPECT_EQ(
      old.drain(),
      (Messages{chat(0, "Administrator", "Cannot determine your client version."),
                chat(0, "Administrator", "Your client is probably too old and should be upgraded."),
                msg(9), whoIs("old")}));
  ProtocolClient another(server.port());
  another.next();
  another.send(msg(1, cstr("another")));
  EXPECT_EQ(another.drain(), (Messages{msg(9), whoIs("another")}));
}

TEST(LobbyProtocol, ChatReachesEveryoneOrOnlyItsAddresseeAndAComputerPlayerAnswersAsDoesItsInfo) {
  ServerUnderTest server;
  auto alice = ProtocolClient::join(server.port(), "alice");
  auto bob = ProtocolClient::join(server.port(), "bob");
  auto carol = ProtocolClient::join(server.port(), "carol");
  alice->drain();
  bob->drain();
  alice->send(msg(6, cstr("") + cstr("hello all")));
  for (ProtocolClient* c : {alice.get(), bob.get(), carol.get()}) {
    EXPECT_EQ(c->drain(), Messages{chat(1, "alice", "hello all")});
  }
  alice->send(msg(6, cstr("bob") + cstr("psst")));
  // Names are matched whole and by case.
  for (const char* to : {"nobody", "Bob", "bo"}) alice->send(msg(6, cstr(to) + cstr("hello?")));
  EXPECT_EQ(bob->drain(), Messages{chat(0, "alice", "psst")});
  EXPECT_TRUE(alice->drain().empty());
  EXPECT_TRUE(carol->drain().empty());
  alice->send(msg(6, cstr("Pee[Bot]") + cstr("hi")));
  EXPECT_EQ(alice->nextOf(6), chat(0, "Pee[Bot]", "I can't speak, I'm a bot!"));
  // Player information.
  alice->send(msg(25, cstr("alice")));
  EXPECT_EQ(alice->nextOf(25), msg(25, cstr("alice") + cstr("No description.")));
  alice->send(msg(25, cstr("ghost")));
  EXPECT_EQ(alice->nextOf(25), msg(25, cstr("ghost") + cstr("")));
}

TEST(LobbyProtocol,
     AfterAThousandThatCloseFortyConnectionsAtOnceAllGetS26AndTheEighteenthOnAreClosed) {
  ServerUnderTest server;
  for (int i = 0; i < 1000; ++i) ProtocolClient churn(server.port());
  // Once a last connection is greeted, every one before it has been taken
  // in; they keep their places until the server reads their end.
  EXPECT_EQ(ProtocolClient(server.port()).next(), msg(26));
  VantorServer* lobby = server.factory().getServer();
  ASSERT_TRUE(eventually([&] { return lobby->getPlayerCount() == 7; }));
  std::vector<std::unique_ptr<ProtocolClient>> clients;
  for (int i = 0; i < 40; ++i) clients.emplace_back(new ProtocolClient(server.port()));
  for (auto& c : clients) EXPECT_EQ(c->next(), msg(26));
  for (int i = 17; i < 40; ++i) EXPECT_TRUE(clients[i]->closedByServer()) << i;
  clients.resize(17);
  // Nobody hears of a player the lobby never took in.
  clients[0]->drain(50);
  EXPECT_EQ(playerList(*clients[0]).size(), 24u);
  EXPECT_TRUE(clients[0]->drain().empty());
  // (A place that frees up is taken again: the limits' test.)
}
