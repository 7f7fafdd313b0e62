// The lobby: the list of free players from a real connection (fed by a
// scripted server), hover and click on entries, and the invitation states.
#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "OpenGLClient/NetCenter.h"
#include "OpenGLClient/NetCenterListener.h"
#include "client/GameClient.h"
#include "tests/OpenGLClient/ServerMessages.h"

namespace {

using M = ServerMessages;

using Calls = std::vector<std::string>;
using Names = std::vector<std::wstring>;

class NetCenterTest : public ::testing::Test, public vgl::NetCenterListener {
 protected:
  void leaveLobby() override { calls.push_back("leave"); }
  void acceptInvitation(int gameId, int blackFlag) override {
    calls.push_back("accept " + std::to_string(gameId) + " " + std::to_string(blackFlag));
  }
  void declineInvitation(int gameId) override {
    calls.push_back("decline " + std::to_string(gameId));
  }
  void invitePlayer(const std::string& name) override { calls.push_back("invite " + name); }
  void cancelInvitation() override { calls.push_back("cancel"); }

  // A connection named nick that knows players and games, handed to the lobby.
  void connect(const std::string& nick, const std::vector<std::string>& players,
               const std::vector<M::Game>& games = {}) {
    connection.reset(new vgl::GameClient(0, &quiet, "127.0.0.1", server.port()));
    server.accept();
    server.send(M::whoAmI(nick));
    server.send(M::playerList(players));
    server.send(M::gameList(games));
    ASSERT_TRUE(pumpUntil(
        [&] { connection->update(); },
        [&] { return connection->isReady() && connection->getGameList().size() == games.size(); }));
    lobby.takeConnection(connection.get());
  }
  void clickEntry(int x, int y) {
    lobby.hover(x, y);
    lobby.click(x, y);
  }

  Calls calls;
  RecordingListener quiet;
  ScriptedServer server;
  std::unique_ptr<vgl::GameClient> connection;
  vgl::NetCenter lobby{this, "."};
};

TEST_F(NetCenterTest, ListsOnlyFreePlayersOtherThanOneselfWithTheirNamesAsTheyAre) {
  connect("Ann", {"Pee[Bot]", "Ann", "Bob", "Cid", "%s%n%ls", "Eve"},
          {{0, "Bob", "Cid"}, {1, "Eve", "Ann"}});
  EXPECT_EQ(lobby.players(), (Names{L"Pee[Bot]", L"%s%n%ls"}));
  EXPECT_EQ(lobby.status(), L"Connected!");
  EXPECT_EQ(lobby.invitationState(), vgl::NetCenter::kIdle);
}

TEST_F(NetCenterTest, PlacesTwelveEntriesInTheLeftColumnAndTwelveInTheRight) {
  struct Entry {
    int k, x, y;
  };
  for (const Entry& e : {Entry{0, 30, 55}, Entry{11, 30, 55 + 19 * 11}, Entry{12, 170, 55}}) {
    int x, y;
    vgl::NetCenter::entryPosition(e.k, &x, &y);
    EXPECT_EQ(x, e.x) << e.k;
    EXPECT_EQ(y, e.y) << e.k;
  }
  for (const Entry& e :
       {Entry{-1, 30, 56}, Entry{0, 30, 57}, Entry{0, 30, 75}, Entry{1, 30, 76}, Entry{0, 160, 57},
        Entry{12, 161, 57}, Entry{23, 300, 57 + 19 * 11}, Entry{-1, 30, 57 + 19 * 12},
        Entry{-1, 30, 304}, Entry{-1, 200, 304}, Entry{-1, 30, 305}}) {
    EXPECT_EQ(vgl::NetCenter::entryAt(e.x, e.y), e.k) << e.x << ", " << e.y;
  }
}

TEST_F(NetCenterTest, AClickInvitesTheEntryUnderItNotOneHoveredBefore) {
  std::vector<std::string> players{"Me"};
  for (int i = 0; i < 13; ++i) players.push_back("P" + std::to_string(i));
  connect("Me", players);
  lobby.hover(200, 60);
  EXPECT_EQ(lobby.hoveredPlayer(), 12);
  lobby.hover(30, 60);
  lobby.click(160, 440);
  EXPECT_TRUE(calls.empty());
  lobby.click(200, 60);
  EXPECT_EQ(calls, (Calls{"invite P12"}));
  EXPECT_EQ(lobby.invitationState(), vgl::NetCenter::kInviting);
  EXPECT_EQ(lobby.status(), L"Inviting P12...");
}

TEST_F(NetCenterTest, ClicksOnEmptyRowsOrWithoutAConnectionInviteNobody) {
  clickEntry(30, 60);
  connect("Me", {"Me", "Bob"});
  clickEntry(30, 150);
  clickEntry(200, 60);
  EXPECT_TRUE(calls.empty());
  EXPECT_EQ(lobby.invitationState(), vgl::NetCenter::kIdle);
}

TEST_F(NetCenterTest, AnInvitationIsAcceptedOrDeclinedByTheLowerButtons) {
  connect("Me", {"Me", "Bob"});
  lobby.showInvitation("Bob", 4, 1);
  EXPECT_EQ(lobby.invitationState(), vgl::NetCenter::kInvited);
  EXPECT_EQ(lobby.status(), L"Bob invites you!");
  lobby.click(100, 200);  // outside both buttons
  EXPECT_TRUE(calls.empty());
  lobby.click(100, 380);
  EXPECT_EQ(lobby.invitationState(), vgl::NetCenter::kIdle);
  EXPECT_EQ(lobby.status(), L"");
  EXPECT_EQ(lobby.hoveredPlayer(), -1);
  lobby.showInvitation("Bob", 6, 0);
  lobby.click(100, 430);
  EXPECT_EQ(calls, (Calls{"accept 4 1", "decline 6"}));
  EXPECT_EQ(lobby.invitationState(), vgl::NetCenter::kIdle);
}

TEST_F(NetCenterTest, InvitationsArrivingWhileBusyOrUnconnectedAreDeclinedUnseen) {
  lobby.showInvitation("Bob", 3, 0);
  EXPECT_EQ(lobby.invitationState(), vgl::NetCenter::kIdle);
  connect("Me", {"Me", "Bob", "Cid"});
  clickEntry(30, 60);
  lobby.showInvitation("Cid", 9, 0);
  EXPECT_EQ(lobby.invitationState(), vgl::NetCenter::kInviting);
  EXPECT_EQ(lobby.status(), L"Inviting Bob...");
  lobby.click(30, 430);  // "Cancel invitation"
  lobby.showInvitation("Cid", 10, 0);
  lobby.showInvitation("Bob", 11, 0);
  EXPECT_EQ(calls, (Calls{"decline 3", "invite Bob", "decline 9", "cancel", "decline 11"}));
  EXPECT_EQ(lobby.status(), L"Cid invites you!");
}

TEST_F(NetCenterTest, ARefusalCountsOnlyWhileInviting) {
  connect("Me", {"Me", "Bob"});
  lobby.showRefusal("Bob");
  EXPECT_EQ(lobby.status(), L"Connected!");
  clickEntry(30, 60);
  lobby.showRefusal("Bob");
  EXPECT_EQ(lobby.invitationState(), vgl::NetCenter::kIdle);
  EXPECT_EQ(lobby.status(), L"Bob declines");
}

TEST_F(NetCenterTest, ButtonsLightOnlyOnChangeAndEscapeLeaves) {
  lobby.draw();
  lobby.hover(10, 380);
  EXPECT_TRUE(lobby.isUpperHovered());
  EXPECT_TRUE(lobby.isDirty());
  lobby.draw();
  lobby.hover(20, 390);
  EXPECT_FALSE(lobby.isDirty());
  lobby.hover(20, 430);
  EXPECT_FALSE(lobby.isUpperHovered());
  EXPECT_TRUE(lobby.isLowerHovered());
  lobby.key(13);
  lobby.key(27);
  EXPECT_EQ(calls, (Calls{"leave"}));
}

TEST_F(NetCenterTest, ForgettingTheConnectionStopsReading) {
  connect("Me", {"Me", "Bob"});
  lobby.forgetConnection();
  EXPECT_FALSE(lobby.hasConnection());
  connection.reset();
  lobby.reReadPlayers();
  EXPECT_EQ(lobby.players(), (Names{L"Bob"}));
}

}  // namespace
