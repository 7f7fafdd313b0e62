// The lobby: the list of free players from a real connection (fed by a
// scripted server), hover and click on entries, and the invitation states.
#include <gtest/gtest.h>

#include <chrono>
#include <string>
#include <thread>
#include <vector>

#include "OpenGLClient/NetCenter.h"
#include "OpenGLClient/NetCenterListener.h"
#include "client/GameClient.h"
#include "client/VantorClientGame.h"
#include "tests/OpenGLClient/ScriptedServer.h"

namespace {

using S = ScriptedServer;

struct RecordingLobbyListener : vgl::NetCenterListener {
  std::vector<std::string> calls;
  void leaveLobby() override { calls.push_back("leave"); }
  void acceptInvitation(int gameId, int blackFlag) override {
    calls.push_back("accept " + std::to_string(gameId) + " " + std::to_string(blackFlag));
  }
  void declineInvitation(int gameId) override {
    calls.push_back("decline " + std::to_string(gameId));
  }
  void invitePlayer(const std::string& name) override { calls.push_back("invite " + name); }
};

struct QuietConnectionListener : vgl::GameClientListener {
  void clientReady(int) override {}
  void playerListChanged(int) override {}
  void gameListChanged(int) override {}
  void gameStarted(int, VantorClientGame* game) override { delete game; }
  void gameChanged(int) override {}
  void moveRejected(int) override {}
  void gameEnded(int) override {}
  void gameAbandoned(int) override {}
  void playerPassed(int) override {}
  void gameProposed(int, const char*, int, int) override {}
  void gameRefused(int, const char*) override {}
  void nickRefused(int, const char*) override {}
  void connectionLost(int) override {}
};

using Calls = std::vector<std::string>;

class NetCenterTest : public ::testing::Test {
 protected:
  NetCenterTest() : lobby(&listener, ".") {}

  // A connection named nick that knows players and games.
  void connect(const std::string& nick, const std::vector<std::string>& players,
               const std::vector<S::Game>& games = {}) {
    connection.reset(new vgl::GameClient(0, &quiet, "127.0.0.1", server.port()));
    int c = server.accept();
    ASSERT_GE(c, 0);
    server.send(c, S::whoAmI(nick));
    server.send(c, S::playerList(players));
    server.send(c, S::gameList(games));
    auto end = std::chrono::steady_clock::now() + std::chrono::seconds(2);
    while (connection->getGameList().size() != games.size() || !connection->isReady()) {
      ASSERT_LT(std::chrono::steady_clock::now(), end);
      std::this_thread::sleep_for(std::chrono::milliseconds(5));
      connection->update();
    }
    lobby.takeConnection(connection.get());
  }

  RecordingLobbyListener listener;
  QuietConnectionListener quiet;
  ScriptedServer server;
  std::unique_ptr<vgl::GameClient> connection;
  vgl::NetCenter lobby;
};

TEST_F(NetCenterTest, ListsOnlyFreePlayersOtherThanOneself) {
  connect("Ann", {"Pee[Bot]", "Ann", "Bob", "Cid", "Dan", "Eve"},
          {{0, "Bob", "Cid"}, {1, "Eve", "Ann"}});
  EXPECT_EQ(lobby.players(), (std::vector<std::wstring>{L"Pee[Bot]", L"Dan"}));
  EXPECT_EQ(lobby.status(), L"Connected!");
  EXPECT_EQ(lobby.invitationState(), vgl::NetCenter::kIdle);
}

TEST_F(NetCenterTest, KeepsPercentSignsInNamesAsTheyAre) {
  connect("Ann", {"Ann", "%s%n%ls"});
  EXPECT_EQ(lobby.players(), (std::vector<std::wstring>{L"%s%n%ls"}));
}

TEST_F(NetCenterTest, TwelveEntriesFillTheLeftColumnAndTheThirteenthStartsTheRight) {
  int x, y;
  vgl::NetCenter::entryPosition(0, &x, &y);
  EXPECT_EQ(x, 30);
  EXPECT_EQ(y, 55);
  vgl::NetCenter::entryPosition(11, &x, &y);
  EXPECT_EQ(x, 30);
  EXPECT_EQ(y, 55 + 19 * 11);
  vgl::NetCenter::entryPosition(12, &x, &y);
  EXPECT_EQ(x, 170);
  EXPECT_EQ(y, 55);
}

TEST_F(NetCenterTest, HoverPicksTheEntryUnderThePointer) {
  EXPECT_EQ(vgl::NetCenter::entryAt(30, 56), -1);
  EXPECT_EQ(vgl::NetCenter::entryAt(30, 57), 0);
  EXPECT_EQ(vgl::NetCenter::entryAt(30, 75), 0);
  EXPECT_EQ(vgl::NetCenter::entryAt(30, 76), 1);
  EXPECT_EQ(vgl::NetCenter::entryAt(160, 57), 0);
  EXPECT_EQ(vgl::NetCenter::entryAt(161, 57), 12);
  EXPECT_EQ(vgl::NetCenter::entryAt(300, 57 + 19 * 11), 23);
  EXPECT_EQ(vgl::NetCenter::entryAt(30, 305), -1);
}

TEST_F(NetCenterTest, RowsBelowTheTwelfthPickNothingInEitherColumn) {
  EXPECT_EQ(vgl::NetCenter::entryAt(30, 57 + 19 * 12), -1);
  EXPECT_EQ(vgl::NetCenter::entryAt(30, 304), -1);
  EXPECT_EQ(vgl::NetCenter::entryAt(200, 304), -1);
}

TEST_F(NetCenterTest, ClickOnTheThirteenthPlayerInvitesHim) {
  std::vector<std::string> players{"Me"};
  for (int i = 0; i < 13; ++i) players.push_back("P" + std::to_string(i));
  connect("Me", players);
  ASSERT_EQ(lobby.players().size(), 13u);
  lobby.hover(200, 60);
  EXPECT_EQ(lobby.hoveredPlayer(), 12);
  lobby.click(200, 60);
  EXPECT_EQ(listener.calls, (Calls{"invite P12"}));
  EXPECT_EQ(lobby.invitationState(), vgl::NetCenter::kInviting);
  EXPECT_EQ(lobby.status(), L"Inviting P12...");
}

TEST_F(NetCenterTest, ClickOnAnEmptyRowDoesNothing) {
  connect("Me", {"Me", "Bob"});
  lobby.hover(30, 150);
  lobby.click(30, 150);
  lobby.hover(200, 60);
  lobby.click(200, 60);
  EXPECT_TRUE(listener.calls.empty());
  EXPECT_EQ(lobby.invitationState(), vgl::NetCenter::kIdle);
}

TEST_F(NetCenterTest, AClickInvitesTheEntryUnderItNotOneHoveredBefore) {
  connect("Me", {"Me", "Bob", "Cid"});
  lobby.hover(30, 60);
  lobby.click(160, 440);
  EXPECT_TRUE(listener.calls.empty());
  lobby.click(30, 80);
  EXPECT_EQ(listener.calls, (Calls{"invite Cid"}));
}

TEST_F(NetCenterTest, NothingIsInvitedWithoutAConnection) {
  lobby.hover(30, 60);
  lobby.click(30, 60);
  EXPECT_TRUE(listener.calls.empty());
}

TEST_F(NetCenterTest, AnInvitationCanBeAccepted) {
  connect("Me", {"Me", "Bob"});
  lobby.showInvitation("Bob", 4, 1);
  EXPECT_EQ(lobby.invitationState(), vgl::NetCenter::kInvited);
  EXPECT_EQ(lobby.status(), L"Bob invites you!");
  lobby.click(100, 200);  // outside both buttons
  EXPECT_TRUE(listener.calls.empty());
  lobby.click(100, 380);
  EXPECT_EQ(listener.calls, (Calls{"accept 4 1"}));
  EXPECT_EQ(lobby.invitationState(), vgl::NetCenter::kIdle);
  EXPECT_EQ(lobby.status(), L"");
  EXPECT_EQ(lobby.hoveredPlayer(), -1);
}

TEST_F(NetCenterTest, AnInvitationCanBeDeclined) {
  connect("Me", {"Me", "Bob"});
  lobby.showInvitation("Bob", 6, 0);
  lobby.click(100, 430);
  EXPECT_EQ(listener.calls, (Calls{"decline 6"}));
  EXPECT_EQ(lobby.invitationState(), vgl::NetCenter::kIdle);
}

TEST_F(NetCenterTest, InvitationsArrivingWhileBusyAreDeclinedUnseen) {
  connect("Me", {"Me", "Bob", "Cid"});
  lobby.hover(30, 60);
  lobby.click(30, 60);
  lobby.showInvitation("Cid", 9, 0);
  EXPECT_EQ(lobby.invitationState(), vgl::NetCenter::kInviting);
  EXPECT_EQ(lobby.status(), L"Inviting Bob...");
  lobby.click(30, 430);  // "Cancel invitation"
  lobby.showInvitation("Cid", 10, 0);
  lobby.showInvitation("Bob", 11, 0);
  EXPECT_EQ(listener.calls, (Calls{"invite Bob", "decline 9", "decline 11"}));
  EXPECT_EQ(lobby.status(), L"Cid invites you!");
}

TEST_F(NetCenterTest, InvitationsWithoutAConnectionAreDeclined) {
  lobby.showInvitation("Bob", 3, 0);
  EXPECT_EQ(listener.calls, (Calls{"decline 3"}));
  EXPECT_EQ(lobby.invitationState(), vgl::NetCenter::kIdle);
}

TEST_F(NetCenterTest, ARefusalCountsOnlyWhileInviting) {
  connect("Me", {"Me", "Bob"});
  lobby.showRefusal("Bob");
  EXPECT_EQ(lobby.status(), L"Connected!");
  lobby.hover(30, 60);
  lobby.click(30, 60);
  lobby.showRefusal("Bob");
  EXPECT_EQ(lobby.invitationState(), vgl::NetCenter::kIdle);
  EXPECT_EQ(lobby.status(), L"Bob declines");
}

TEST_F(NetCenterTest, EscapeLeavesTheLobby) {
  lobby.key(13);
  lobby.key(27);
  EXPECT_EQ(listener.calls, (Calls{"leave"}));
}

TEST_F(NetCenterTest, ButtonHoverMarksDirtyOnlyOnChange) {
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
}

TEST_F(NetCenterTest, ForgettingTheConnectionStopsReading) {
  connect("Me", {"Me", "Bob"});
  lobby.forgetConnection();
  EXPECT_FALSE(lobby.hasConnection());
  connection.reset();
  lobby.reReadPlayers();
  EXPECT_EQ(lobby.players(), (std::vector<std::wstring>{L"Bob"}));
}

}  // namespace
