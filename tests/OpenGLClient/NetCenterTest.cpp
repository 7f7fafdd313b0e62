// The lobby with a real connection (fed by a scripted server): clicks on
// entries in both columns, the invitation states, and a connection
// forgotten. Which players it lists is the controller test's; the window
// tests light its rows and buttons under the pointer.
#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "OpenGLClient/Keys.h"
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
  void leaveLobby() override { calls_.push_back("leave"); }
  void acceptInvitation(int gameId, int blackFlag) override {
    calls_.push_back("accept " + std::to_string(gameId) + " " + std::to_string(blackFlag));
  }
  void declineInvitation(int gameId) override {
    calls_.push_back("decline " + std::to_string(gameId));
  }
  void invitePlayer(const std::string& name) override { calls_.push_back("invite " + name); }
  void cancelInvitation() override { calls_.push_back("cancel"); }
  void openChat() override { calls_.push_back("chat"); }
  void openGames() override { calls_.push_back("games"); }

  // A connection named nick that knows players, handed to the lobby.
  void connect(const std::string& nick, const std::vector<std::string>& players) {
    connection_.reset(new vgl::GameClient(0, &quiet_, "127.0.0.1", server_.port()));
    server_.accept();
    server_.send(M::whoAmI(nick));
    server_.send(M::playerList(players));
    ASSERT_TRUE(pumpUntil([&] { connection_->update(); }, [&] { return connection_->isReady(); }));
    lobby_.takeConnection(connection_.get());
  }
  void clickEntry(int x, int y) {
    lobby_.hover(x, y);
    lobby_.click(x, y);
  }

  Calls calls_;
  RecordingListener quiet_;
  ScriptedServer server_;
  std::unique_ptr<vgl::GameClient> connection_;
  vgl::NetCenter lobby_{this, "."};
};

TEST_F(NetCenterTest, AClickInvitesTheEntryUnderItAndOnlyWithAConnection) {
  clickEntry(30, 60);  // no connection yet
  std::vector<std::string> players{"Me"};
  for (int i = 0; i < 13; ++i) players.push_back("P" + std::to_string(i));
  connect("Me", players);
  clickEntry(200, 150);  // empty rows of the right column
  clickEntry(200, 80);
  lobby_.hover(30, 60);
  lobby_.click(160, 440);  // "Parties"
  EXPECT_EQ(calls_, (Calls{"games"})) << "the lower row invites nobody";
  EXPECT_EQ(lobby_.invitationState(), vgl::NetCenter::kIdle);
  lobby_.click(200, 60);
  EXPECT_EQ(calls_, (Calls{"games", "invite P12"})) << "the entry under the click";
  EXPECT_EQ(lobby_.invitationState(), vgl::NetCenter::kInviting);
}

TEST_F(NetCenterTest, ArrowsMoveTheHighlightWithinTheListAndEnterInvitesIt) {
  std::vector<std::string> players{"Me"};
  for (int i = 0; i < 14; ++i) players.push_back("P" + std::to_string(i));
  connect("Me", players);
  lobby_.key(vgl::kKeyUp);
  EXPECT_EQ(lobby_.hoveredPlayer(), 0) << "the first arrow lights the first entry";
  lobby_.key(vgl::kKeyUp);
  lobby_.key(vgl::kKeyRight);
  lobby_.key(vgl::kKeyDown);
  lobby_.key(vgl::kKeyDown);
  EXPECT_EQ(lobby_.hoveredPlayer(), 13) << "kept within the 14 players";
  lobby_.key(vgl::kKeyRight);
  lobby_.key(vgl::kKeyLeft);
  lobby_.key(vgl::kKeyDown);
  lobby_.hover(30, 60);
  lobby_.key(vgl::kKeyDown);
  EXPECT_EQ(lobby_.hoveredPlayer(), 1) << "the pointer moved the highlight";
  lobby_.key(vgl::kKeyEnter);
  EXPECT_EQ(calls_, (Calls{"invite P1"}));
  EXPECT_EQ(lobby_.invitationState(), vgl::NetCenter::kInviting);
}

// Unconnected or busy, an invitation is declined unseen; the lower buttons
// answer one that shows; a refusal counts only while inviting. Declining
// while inviting is the controller test's.
TEST_F(NetCenterTest, InvitationsAreDeclinedUnseenWhenBusyAndAnsweredByTheLowerButtons) {
  lobby_.showInvitation("Bob", 3, 0);
  EXPECT_EQ(lobby_.invitationState(), vgl::NetCenter::kIdle);
  connect("Me", {"Me", "Bob", "Cid"});
  lobby_.showRefusal("Bob");
  EXPECT_EQ(lobby_.status(), L"Connected!");
  lobby_.showInvitation("Bob", 4, 1);
  lobby_.showInvitation("Cid", 5, 1);
  lobby_.click(100, 200);  // outside both buttons
  lobby_.click(100, 380);
  EXPECT_EQ(lobby_.invitationState(), vgl::NetCenter::kIdle);
  EXPECT_EQ(lobby_.hoveredPlayer(), -1);
  lobby_.showInvitation("Bob", 6, 0);
  lobby_.click(100, 430);
  EXPECT_EQ(lobby_.invitationState(), vgl::NetCenter::kIdle);
  EXPECT_EQ(calls_, (Calls{"decline 3", "decline 5", "accept 4 1", "decline 6"}));
}

TEST_F(NetCenterTest, TabOpensTheChatAndPTheGamesUnlessAnInvitationWaitsForItsButtons) {
  lobby_.key(9);
  lobby_.click(100, 390);
  lobby_.key('p');
  connect("Me", {"Me", "Bob"});
  lobby_.showInvitation("Bob", 4, 1);
  EXPECT_FALSE(lobby_.offersChat());
  EXPECT_FALSE(lobby_.offersGames());
  lobby_.key(9);
  lobby_.key('p');
  lobby_.click(100, 390);
  EXPECT_EQ(calls_, (Calls{"chat", "chat", "games", "accept 4 1"}));
}

TEST_F(NetCenterTest, ForgettingTheConnectionStopsReading) {
  connect("Me", {"Me", "Bob"});
  lobby_.forgetConnection();
  EXPECT_FALSE(lobby_.hasConnection());
  connection_.reset();
  lobby_.reReadPlayers();
  EXPECT_EQ(lobby_.players(), (Names{L"Bob"}));
}

}  // namespace
