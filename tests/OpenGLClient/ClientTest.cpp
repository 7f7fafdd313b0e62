// The controller without a window: screens, connections and game events,
// driven through the user-input entry points and through real connections
// to a scripted server.
#include <gtest/gtest.h>

#include <chrono>
#include <cstdlib>
#include <functional>
#include <string>
#include <thread>
#include <vector>

#include "OpenGLClient/OpenGLClient.h"
#include "client/GameClient.h"
#include "ios/Exception.h"
#include "tests/OpenGLClient/ScriptedServer.h"

namespace {

using S = ScriptedServer;

// Window coordinates of the buttons and cells the tests press.
constexpr int kUpperY = 340, kMiddleY = 390, kLowerY = 440;
int opponentY(int k) {
  return 140 + 49 * k;
}
int cellX(int column) {
  return 20 + 35 * column + 17;
}
int cellY(int row) {
  return 20 + 35 * row + 17;
}

class ClientTest : public ::testing::Test {
 protected:
  ClientTest() : client(nullptr, ".") {
    // A lost connection is reported with the crash message; keep its dialog
    // off whatever display the test runs under.
    unsetenv("DISPLAY");
    client.setConnectionFactory([this](int colour, vgl::GameClientListener* listener,
                                       const std::string& host, int port) -> vgl::GameClient* {
      opened.push_back(std::to_string(colour) + " " + host + ":" + std::to_string(port));
      if (refuseConnections) throw new Exception("IosSocket: Socket connection failed");
      return new vgl::GameClient(colour, listener, "127.0.0.1", server.port());
    });
    client.setQuitAction([this] { ++quits; });
  }

  void click(int x, int y) { client.mouse(true, x, y); }
  void tick() { client.tick(now += 0.05); }
  // Ticks until cond holds, for at most two seconds.
  bool until(const std::function<bool()>& cond) {
    auto end = std::chrono::steady_clock::now() + std::chrono::seconds(2);
    while (std::chrono::steady_clock::now() < end) {
      tick();
      if (cond()) return true;
      std::this_thread::sleep_for(std::chrono::milliseconds(5));
    }
    return false;
  }
  // Sends a frame and ticks until the client has read it.
  void deliver(int connection, const std::string& payload) {
    server.send(connection, payload);
    for (int i = 0; i < 8; ++i) {
      std::this_thread::sleep_for(std::chrono::milliseconds(5));
      tick();
    }
  }
  // Accepts a connection and plays the opening: identity and player list.
  int acceptAndIdentify(const std::string& nick, const std::vector<std::string>& players) {
    int c = server.accept();
    EXPECT_GE(c, 0);
    if (c < 0) return c;
    server.requests(c, 100);
    deliver(c, S::whoAmI(nick));
    deliver(c, S::playerList(players));
    return c;
  }
  // The colour selection for opponent index against the computer.
  void chooseOpponentAndColour(int index, int colourY) {
    click(160, kUpperY);  // "Jouer en local"
    click(160, opponentY(index));
    click(160, colourY);
  }

  ScriptedServer server;
  vgl::Client client;
  std::vector<std::string> opened;
  bool refuseConnections = false;
  int quits = 0;
  double now = 100.0;
};

const std::vector<std::string> kBots = {"Pee[Bot]",     "Chicken[Bot]",    "Baby[Bot]",
                                        "Britney[Bot]", "Desdemonia[Bot]", "Cassio[Bot]",
                                        "William[Bot]"};

std::vector<std::string> withBots(const std::vector<std::string>& more) {
  std::vector<std::string> all = kBots;
  all.insert(all.end(), more.begin(), more.end());
  return all;
}

TEST_F(ClientTest, StartsOnTheMainMenu) {
  EXPECT_EQ(client.state(), vgl::MainMenuState);
  EXPECT_TRUE(client.mainMenu().isShown());
  EXPECT_EQ(client.frameRate(), 10);
}

TEST_F(ClientTest, MenusLeadFromOneScreenToTheNextAndBack) {
  click(160, kUpperY);
  EXPECT_EQ(client.state(), vgl::LocalCenterState);
  EXPECT_TRUE(client.localCenter().isShown());
  EXPECT_FALSE(client.mainMenu().isShown());
  client.keyboard(27);
  EXPECT_EQ(client.state(), vgl::MainMenuState);
  EXPECT_FALSE(client.localCenter().isShown());

  click(160, kUpperY);
  click(160, opponentY(3));
  EXPECT_EQ(client.state(), vgl::ColorSelectState);
  EXPECT_EQ(client.opponentIndex(), 3);
  EXPECT_TRUE(client.colorSelect().isShown());
  click(160, kLowerY);  // "Retour"
  EXPECT_EQ(client.state(), vgl::MainMenuState);
  EXPECT_TRUE(client.mainMenu().isShown());

  click(160, kMiddleY);
  EXPECT_EQ(client.state(), vgl::JoinServerState);
  EXPECT_TRUE(client.joinServerMenu().isShown());
  client.keyboard(27);
  EXPECT_EQ(client.state(), vgl::MainMenuState);

  client.keyboard(27);
  EXPECT_EQ(quits, 1);
  EXPECT_TRUE(opened.empty());
}

TEST_F(ClientTest, ReleasesAreIgnoredAndEveryButtonPressClicks) {
  client.mouse(false, 160, kUpperY);
  EXPECT_EQ(client.state(), vgl::MainMenuState);
  client.mouse(true, 160, kUpperY);
  EXPECT_EQ(client.state(), vgl::LocalCenterState);
}

TEST_F(ClientTest, FirstTickSeesATenThousandthOfASecond) {
  client.tick(5000.0);
  EXPECT_FLOAT_EQ(client.gameScreen().badgePhase(), 0.0001f * 50);
}

TEST_F(ClientTest, MenusAskForRedrawsOnlyWhenSomethingChanged) {
  tick();
  EXPECT_TRUE(client.redrawWanted());  // everything is new
  // Nothing is drawn without a window, so the dirty flags stay up; hovering
  // is what marks a screen, and that is tested with the screens.
  EXPECT_EQ(client.frameRate(), 10);
}

TEST_F(ClientTest, NoServerMeansEchecOverTheMainMenu) {
  refuseConnections = true;
  chooseOpponentAndColour(0, kUpperY);
  EXPECT_EQ(client.state(), vgl::MainMenuState);
  EXPECT_TRUE(client.mainMenu().isShown());
  EXPECT_FALSE(client.colorSelect().isShown());
  EXPECT_FALSE(client.gameScreen().isShown());
  ASSERT_TRUE(client.messages().hasMessages());
  EXPECT_EQ(client.messages().front().text, L"Echec");
  EXPECT_EQ(client.blackClient(), nullptr);
}

TEST_F(ClientTest, EchecIsAppendedEachTime) {
  refuseConnections = true;
  click(160, kUpperY);
  click(160, 60);  // "Deux joueurs"
  click(160, kUpperY);
  click(160, 60);
  EXPECT_EQ(client.messages().size(), 2u);
}

TEST_F(ClientTest, UnreachableServerMeansCnxEchec) {
  refuseConnections = true;
  click(160, kMiddleY);
  client.keyboard(13);
  EXPECT_EQ(client.state(), vgl::MainMenuState);
  EXPECT_FALSE(client.joinServerMenu().isShown());
  ASSERT_TRUE(client.messages().hasMessages());
  EXPECT_EQ(client.messages().front().text, L"CNX Echec");
}

TEST_F(ClientTest, StatusTextsAgainstChickenWhenPlayingWhite) {
  vgl::Client::StatusTexts t = vgl::Client::statusTexts(false, true, L"Chicken");
  EXPECT_EQ(t[0], L"C'est a Chicken de jouer");
  EXPECT_EQ(t[1], L"C'est votre tour");
  EXPECT_EQ(t[2], L"Chicken wins");
  EXPECT_EQ(t[3], L"You win");
  EXPECT_EQ(t[4], L"Chicken doit passer");
  EXPECT_EQ(t[5], L"Vous devez passer");
}

TEST_F(ClientTest, StatusTextsForTwoPeopleAndForPlayingBlack) {
  vgl::Client::StatusTexts two = vgl::Client::statusTexts(true, true, L"x");
  EXPECT_EQ(two, (vgl::Client::StatusTexts{L"Aux noirs de jouer", L"Aux blancs de jouer",
                                           L"Les noirs gagnent", L"Les blancs gagnent",
                                           L"Les noirs passent", L"Les blancs passent"}));
  vgl::Client::StatusTexts black = vgl::Client::statusTexts(true, false, L"Baby");
  EXPECT_EQ(black,
            (vgl::Client::StatusTexts{L"C'est votre tour", L"C'est a Baby de jouer", L"You win",
                                      L"Baby wins", L"Vous devez passer", L"Baby doit passer"}));
}

TEST_F(ClientTest, PlayingWhiteAgainstChickenInvitesItAndWaitsForItsMove) {
  chooseOpponentAndColour(1, kMiddleY);  // "Jouer les blancs"
  EXPECT_EQ(client.state(), vgl::GameState);
  EXPECT_EQ(opened, (std::vector<std::string>{"1 127.0.0.1:4567"}));
  EXPECT_EQ(client.myColour(), 1);
  EXPECT_TRUE(client.gameScreen().isShown());

  int c = server.accept();
  ASSERT_GE(c, 0);
  std::vector<std::string> opening = server.requests(c, 100);
  ASSERT_EQ(opening.size(), 4u);
  EXPECT_EQ(S::code(opening[0]), 26);
  EXPECT_EQ(S::code(opening[1]), 17);
  EXPECT_EQ(S::code(opening[2]), 3);
  EXPECT_EQ(S::code(opening[3]), 19);

  deliver(c, S::whoAmI("Player8"));
  deliver(c, S::playerList(withBots({"Player8"})));
  std::string ask = server.waitFor(c, 4);
  ASSERT_FALSE(ask.empty());
  EXPECT_EQ(ask[1], 1) << "the invited computer player plays black";
  EXPECT_EQ(ask.substr(3), std::string("Chicken[Bot]") + '\0');

  deliver(c, S::gameStarted(0));
  ASSERT_FALSE(server.waitFor(c, 8).empty());
  deliver(c, S::initialBoard(0));
  EXPECT_EQ(client.gameScreen().status(), L"C'est a Chicken de jouer");
  EXPECT_EQ(client.turn(), -1);
  EXPECT_FALSE(client.gameScreen().inputEnabled());
  EXPECT_GE(client.frameRate(), 24) << "the board's rate after a change";

  // A click while the computer is to move sends nothing.
  click(cellX(0), cellY(0));
  deliver(c, S::movePlayed(0, 5, 3));
  EXPECT_EQ(client.turn(), 1);
  EXPECT_EQ(client.gameScreen().status(), L"C'est votre tour");
  EXPECT_TRUE(client.gameScreen().inputEnabled());
  EXPECT_EQ(client.gameScreen().blackCount(), 4);
  EXPECT_EQ(client.gameScreen().whiteCount(), 1);

  // White answers at column 3, row 2 (x 4, y 3 on the board).
  click(cellX(3), cellY(2));
  std::string move = server.waitFor(c, 11);
  ASSERT_EQ(move.size(), 7u);
  EXPECT_EQ(S::readInt(move, 1), 0);
  EXPECT_EQ(move[5], 4);
  EXPECT_EQ(move[6], 3);
  EXPECT_FALSE(client.gameScreen().inputEnabled());

  deliver(c, S::invalidMove(0, 4, 3));
  EXPECT_EQ(client.gameScreen().status(), L"Coup invalide");
  EXPECT_TRUE(client.gameScreen().inputEnabled()) << "the same player may click again";
  ASSERT_TRUE(client.messages().hasMessages());
  EXPECT_EQ(client.messages().front().text, L"Coup invalide");
  click(cellX(3), cellY(2));
  ASSERT_FALSE(server.waitFor(c, 11).empty());
  deliver(c, S::invalidMove(0, 4, 3));
  EXPECT_EQ(client.messages().size(), 1u) << "a notice already shown is not queued again";

  // The board's animation settles and the frame rate with it, to 7.
  client.tick(now += 30);
  EXPECT_EQ(client.frameRate(), 7);

  deliver(c, S::gameOver(0));
  EXPECT_EQ(client.state(), vgl::GameOverState);
  EXPECT_EQ(client.gameScreen().status(), L"Chicken wins");
  EXPECT_TRUE(client.gameOverMenu().isShown());

  client.keyboard(13);  // dismisses the game-over picture
  EXPECT_EQ(client.state(), vgl::MainMenuState);
  EXPECT_FALSE(client.gameScreen().isShown());
  EXPECT_EQ(client.whiteClient(), nullptr);
  std::string abort = server.waitFor(c, 24);
  ASSERT_FALSE(abort.empty());
  EXPECT_EQ(S::readInt(abort, 1), 0);
}

TEST_F(ClientTest, PlayingBlackAgainstPeeLetsTheUserOpen) {
  chooseOpponentAndColour(0, kUpperY);
  EXPECT_EQ(opened, (std::vector<std::string>{"-1 127.0.0.1:4567"}));
  int c = acceptAndIdentify("Player8", withBots({"Player8"}));
  std::string ask = server.waitFor(c, 4);
  ASSERT_FALSE(ask.empty());
  EXPECT_EQ(ask[1], 0) << "the inviter plays black";
  EXPECT_EQ(ask.substr(3), std::string("Pee[Bot]") + '\0');
  deliver(c, S::gameStarted(3));
  deliver(c, S::initialBoard(3));
  EXPECT_EQ(client.gameScreen().status(), L"C'est votre tour");
  EXPECT_TRUE(client.gameScreen().inputEnabled());

  click(cellX(4), cellY(2));
  std::string move = server.waitFor(c, 11);
  ASSERT_EQ(move.size(), 7u);
  EXPECT_EQ(move[5], 5);
  EXPECT_EQ(move[6], 3);
  deliver(c, S::movePlayed(3, 5, 3));
  EXPECT_EQ(client.gameScreen().status(), L"C'est a Pee de jouer");
  EXPECT_EQ(client.turn(), 1);

  // The computer passes: the notice names it, and black moves again.
  deliver(c, S::mustPass(3, "Pee[Bot]"));
  EXPECT_EQ(client.turn(), -1);
  ASSERT_TRUE(client.messages().hasMessages());
  EXPECT_EQ(client.messages().front().text, L"Pee doit passer");
  EXPECT_EQ(client.gameScreen().status(), L"C'est votre tour");

  client.keyboard(27);  // leaves the game
  EXPECT_EQ(client.state(), vgl::MainMenuState);
  EXPECT_TRUE(client.mainMenu().isShown());
  EXPECT_EQ(client.blackClient(), nullptr);
  EXPECT_FALSE(server.waitFor(c, 24).empty());
}

TEST_F(ClientTest, TwoPeopleAtOneScreenNameThemselvesAndBlackInvitesWhite) {
  click(160, kUpperY);
  click(160, 60);  // "Deux joueurs"
  EXPECT_EQ(opened, (std::vector<std::string>{"1 127.0.0.1:4567", "-1 127.0.0.1:4567"}));
  EXPECT_EQ(client.myColour(), -1);
  int white = server.accept();
  int black = server.accept();
  ASSERT_GE(white, 0);
  ASSERT_GE(black, 0);
  server.requests(white, 50);
  server.requests(black, 50);

  deliver(white, S::whoAmI("Player8"));
  deliver(white, S::playerList(withBots({"Player8", "Player9"})));
  std::string whiteNick = server.waitFor(white, 1);
  EXPECT_EQ(whiteNick, std::string(1, 1) + "White" + '\0');
  deliver(black, S::whoAmI("Player9"));
  deliver(black, S::playerList(withBots({"Player8", "Player9"})));
  std::string blackNick = server.waitFor(black, 1);
  EXPECT_EQ(blackNick, std::string(1, 1) + "Black" + '\0');
  EXPECT_TRUE(server.requests(white, 50).empty()) << "each connection names itself once";

  // Black invites White once it sees the name, and only once.
  deliver(black, S::playerList(withBots({"White", "Black"})));
  std::string ask = server.waitFor(black, 4);
  EXPECT_EQ(ask, std::string(1, 4) + '\0' + '\1' + "White" + '\0');
  deliver(black, S::playerList(withBots({"White", "Black"})));
  EXPECT_TRUE(server.requests(black, 50).empty());

  // White accepts the invitation from Black at once.
  deliver(white, S::askGame(5, 0, "Black"));
  std::string accept = server.waitFor(white, 5);
  ASSERT_FALSE(accept.empty());
  EXPECT_EQ(S::readInt(accept, 1), 5);

  for (int c : {black, white}) deliver(c, S::gameStarted(5));
  for (int c : {black, white}) deliver(c, S::initialBoard(5));
  EXPECT_EQ(client.gameScreen().status(), L"Aux noirs de jouer");
  EXPECT_TRUE(client.gameScreen().inputEnabled());

  // Moves go out on the connection of the colour to move.
  click(cellX(4), cellY(2));
  EXPECT_FALSE(server.waitFor(black, 11).empty());
  for (int c : {black, white}) deliver(c, S::movePlayed(5, 5, 3));
  EXPECT_EQ(client.gameScreen().status(), L"Aux blancs de jouer");
  EXPECT_EQ(client.turn(), 1);
  click(cellX(3), cellY(2));
  std::string whiteMove = server.waitFor(white, 11);
  ASSERT_EQ(whiteMove.size(), 7u);
  EXPECT_EQ(whiteMove[5], 4);
  EXPECT_EQ(whiteMove[6], 3);
  EXPECT_TRUE(server.requests(black, 50).empty());
  for (int c : {black, white}) deliver(c, S::movePlayed(5, 4, 3));
  EXPECT_EQ(client.turn(), -1);
  EXPECT_EQ(client.gameScreen().status(), L"Aux noirs de jouer");

  client.keyboard(27);
  EXPECT_EQ(client.state(), vgl::MainMenuState);
  EXPECT_EQ(client.blackClient(), nullptr);
  EXPECT_EQ(client.whiteClient(), nullptr);
}

TEST_F(ClientTest, LocalConnectionsTurnDownStrangersInvitations) {
  chooseOpponentAndColour(0, kMiddleY);
  int c = acceptAndIdentify("Player8", withBots({"Player8"}));
  server.waitFor(c, 4);
  deliver(c, S::askGame(9, 1, "Stranger"));
  std::string refuse = server.waitFor(c, 10);
  ASSERT_FALSE(refuse.empty());
  EXPECT_EQ(S::readInt(refuse, 1), 9);
}

TEST_F(ClientTest, LostLocalServerReturnsToTheMainMenuWithANotice) {
  chooseOpponentAndColour(0, kUpperY);
  int c = acceptAndIdentify("Player8", withBots({"Player8"}));
  deliver(c, S::gameStarted(1));
  deliver(c, S::initialBoard(1));
  ASSERT_EQ(client.state(), vgl::GameState);
  server.close(c);
  ASSERT_TRUE(until([&] { return client.state() == vgl::MainMenuState; }));
  EXPECT_TRUE(client.mainMenu().isShown());
  EXPECT_FALSE(client.gameScreen().isShown());
  EXPECT_EQ(client.blackClient(), nullptr);
  ASSERT_TRUE(client.messages().hasMessages());
  EXPECT_EQ(client.messages().front().text, L"Connexion perdue");
}

class LobbyTest : public ClientTest {
 protected:
  // Joins the scripted server as Ann and identifies the connection.
  int joinAsAnn(const std::vector<std::string>& players) {
    click(160, kMiddleY);  // "Jouer sur internet"
    click(160, kUpperY);   // nick field
    for (int i = 0; i < 10; ++i) client.keyboard(8);
    for (char ch : std::string("Ann")) client.keyboard(ch);
    client.keyboard(13);  // leaves the field
    click(160, kLowerY);  // "Se connecter"
    EXPECT_EQ(client.state(), vgl::NetCenterState);
    int c = server.accept();
    EXPECT_GE(c, 0);
    std::string nick = server.waitFor(c, 1);
    EXPECT_EQ(nick, std::string(1, 1) + "Ann" + '\0');
    deliver(c, S::whoAmI("Ann"));
    deliver(c, S::playerList(players));
    return c;
  }
};

TEST_F(LobbyTest, ConnectingShowsTheFreePlayersButNeitherSelfNorPlayersInGames) {
  int c = joinAsAnn(withBots({"Ann", "Bob", "Cid", "Dan"}));
  EXPECT_EQ(opened, (std::vector<std::string>{"0 localhost:4567"}));
  EXPECT_TRUE(client.netCenter().hasConnection());
  EXPECT_EQ(client.netCenter().status(), L"Connected!");
  deliver(c, S::gameList({{2, "Bob", "Cid"}}));
  std::vector<std::wstring> expected = {
      L"Pee[Bot]",        L"Chicken[Bot]", L"Baby[Bot]",    L"Britney[Bot]",
      L"Desdemonia[Bot]", L"Cassio[Bot]",  L"William[Bot]", L"Dan"};
  EXPECT_EQ(client.netCenter().players(), expected);
}

TEST_F(LobbyTest, ClickingAComputerPlayerInvitesItAndEscapeLeavesItsGameForTheLobby) {
  int c = joinAsAnn(withBots({"Ann"}));
  client.motion(60, 58 + 19);  // the second entry: Chicken[Bot]
  click(60, 58 + 19);
  EXPECT_EQ(client.netCenter().invitationState(), vgl::NetCenter::kInviting);
  EXPECT_EQ(client.netCenter().status(), L"Inviting Chicken[Bot]...");
  std::string ask = server.waitFor(c, 4);
  EXPECT_EQ(ask, std::string(1, 4) + '\0' + '\1' + "Chicken[Bot]" + '\0');

  deliver(c, S::gameStarted(4));
  deliver(c, S::initialBoard(4));
  EXPECT_EQ(client.state(), vgl::GameState);
  EXPECT_EQ(client.myColour(), 0);
  EXPECT_FALSE(client.netCenter().isShown());
  EXPECT_EQ(client.netCenter().invitationState(), vgl::NetCenter::kIdle);
  EXPECT_TRUE(client.gameScreen().inputEnabled()) << "the inviter plays black";
  deliver(c, S::gameList({{4, "Ann", "Chicken[Bot]"}}));
  EXPECT_EQ(client.gameScreen().status(), L"C'est votre tour");
  click(cellX(4), cellY(2));
  EXPECT_FALSE(server.waitFor(c, 11).empty());
  deliver(c, S::movePlayed(4, 5, 3));
  EXPECT_EQ(client.gameScreen().status(), L"C'est a Chicken[Bot] de jouer");

  client.keyboard(27);
  EXPECT_EQ(client.state(), vgl::NetCenterState);
  EXPECT_TRUE(client.netCenter().isShown());
  EXPECT_FALSE(client.gameScreen().isShown());
  EXPECT_FALSE(server.waitFor(c, 24).empty());
  EXPECT_NE(client.netClient(), nullptr);

  client.keyboard(27);
  EXPECT_EQ(client.state(), vgl::MainMenuState);
  EXPECT_TRUE(client.mainMenu().isShown());
  EXPECT_EQ(client.netClient(), nullptr);
  EXPECT_FALSE(client.netCenter().hasConnection());
}

TEST_F(LobbyTest, AcceptingAnInvitationToPlayBlackStartsTheGame) {
  int c = joinAsAnn(withBots({"Ann", "Bob"}));
  deliver(c, S::askGame(7, 1, "Bob"));
  EXPECT_EQ(client.netCenter().invitationState(), vgl::NetCenter::kInvited);
  EXPECT_EQ(client.netCenter().status(), L"Bob invites you!");
  click(160, kMiddleY);  // "Accept"
  std::string accept = server.waitFor(c, 5);
  ASSERT_FALSE(accept.empty());
  EXPECT_EQ(S::readInt(accept, 1), 7);
  EXPECT_TRUE(client.blackIsHuman());
  EXPECT_FALSE(client.whiteIsHuman());
  EXPECT_EQ(client.netCenter().status(), L"");
}

TEST_F(LobbyTest, AnInvitationWhileInvitingIsDeclinedAutomatically) {
  int c = joinAsAnn(withBots({"Ann", "Bob"}));
  client.motion(60, 60);
  click(60, 60);
  ASSERT_FALSE(server.waitFor(c, 4).empty());
  deliver(c, S::askGame(8, 0, "Bob"));
  std::string refuse = server.waitFor(c, 10);
  ASSERT_FALSE(refuse.empty());
  EXPECT_EQ(S::readInt(refuse, 1), 8);
  EXPECT_EQ(client.netCenter().invitationState(), vgl::NetCenter::kInviting);
}

TEST_F(LobbyTest, ARefusalEndsTheInvitation) {
  int c = joinAsAnn(withBots({"Ann"}));
  client.motion(60, 60);
  click(60, 60);
  server.waitFor(c, 4);
  deliver(c, S::gameRefused("Pee[Bot]"));
  EXPECT_EQ(client.netCenter().invitationState(), vgl::NetCenter::kIdle);
  EXPECT_EQ(client.netCenter().status(), L"Pee[Bot] declines");
}

TEST_F(LobbyTest, ARefusedNickIsShownWhileTheConnectionStays) {
  int c = joinAsAnn(withBots({"Ann"}));
  deliver(c, S::nickRefused("taken"));
  ASSERT_TRUE(client.messages().hasMessages());
  EXPECT_EQ(client.messages().front().text, L"Nick name was refused by server");
  EXPECT_EQ(client.state(), vgl::NetCenterState);
  EXPECT_NE(client.netClient(), nullptr);
}

TEST_F(LobbyTest, ALostServerReturnsToTheMainMenuWithANotice) {
  int c = joinAsAnn(withBots({"Ann"}));
  server.close(c);
  ASSERT_TRUE(until([&] { return client.state() == vgl::MainMenuState; }));
  EXPECT_TRUE(client.mainMenu().isShown());
  EXPECT_FALSE(client.netCenter().isShown());
  EXPECT_FALSE(client.netCenter().hasConnection());
  EXPECT_EQ(client.netClient(), nullptr);
  ASSERT_TRUE(client.messages().hasMessages());
  EXPECT_EQ(client.messages().front().text, L"Connexion perdue");
}

}  // namespace
