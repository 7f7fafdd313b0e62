// The controller without a window: screens, connections and game events,
// driven through the user-input entry points and through real connections
// to scripted servers, one per connection the controller opens. Connections
// open in the background, as in the window. Local games go to the port the
// start-up gives (the client's own server child), 4567 by default. Hover,
// the connect limit and the status line's fit are the window tests' part.
#include <gtest/gtest.h>
#include <stdlib.h>

#include <filesystem>
#include <fstream>
#include <functional>
#include <string>
#include <vector>

#include "OpenGLClient/ChatHistory.h"
#include "OpenGLClient/Keys.h"
#include "OpenGLClient/OpenGLClient.h"
#include "client/GameClient.h"
#include "game/VantorGame.h"
#include "ios/Exception.h"
#include "tests/OpenGLClient/ServerMessages.h"

namespace {

using M = ServerMessages;

using Strings = std::vector<std::string>;

// Window coordinates of the buttons and cells the tests press.
constexpr int kUpperY = 340, kMiddleY = 390, kLowerY = 440;
constexpr auto opponentY = [](int k) { return 140 + 49 * k; };
constexpr auto cellX = [](int column) { return 20 + 35 * column + 17; };
constexpr auto cellY = [](int row) { return 20 + 35 * row + 17; };

// The seven computer players, as the server lists them first, and more.
Strings withBots(const Strings& more) {
  Strings all = {"Pee[Bot]",        "Chicken[Bot]", "Baby[Bot]",   "Britney[Bot]",
                 "Desdemonia[Bot]", "Cassio[Bot]",  "William[Bot]"};
  all.insert(all.end(), more.begin(), more.end());
  return all;
}

enum class Connections { kServed, kRefused, kThrown };

// Points XDG_CONFIG_HOME at a fresh directory while it lives, so a client
// never reads or writes the settings of the user running the tests.
class TemporaryConfigHome {
 public:
  TemporaryConfigHome() {
    std::string pattern =
        (std::filesystem::temp_directory_path() / "vantor-config-XXXXXX").string();
    path_ = mkdtemp(pattern.data());
    setenv("XDG_CONFIG_HOME", path_.c_str(), 1);
  }
  ~TemporaryConfigHome() {
    unsetenv("XDG_CONFIG_HOME");
    std::filesystem::remove_all(path_);
  }
  const std::string& path() const { return path_; }

 private:
  std::string path_;
};

class ClientTest : public ::testing::Test {
 protected:
  // Connections go to the scripted server of their colour; a refused one to
  // a port where nobody listens; or the factory throws.
  ClientTest() : client_(nullptr, ".") {
    client_.setConnectionFactory([this](int colour, vgl::GameClientListener* listener,
                                        const std::string& host, int port) -> vgl::GameClient* {
      opened_.push_back(std::to_string(colour) + " " + host + ":" + std::to_string(port));
      switch (connections_) {
        case Connections::kRefused:
          return new vgl::GameClient(colour, listener, "127.0.0.1", refused_);
        case Connections::kThrown:
          throw new Exception("IosSocket: Socket connection failed");
        default:
          return new vgl::GameClient(colour, listener, "127.0.0.1", serverFor(colour).port());
      }
    });
    client_.setQuitAction([this] { ++quits_; });
  }

  ScriptedServer& serverFor(int colour) {
    return colour < 0 ? black_ : colour > 0 ? white_ : lobby_;
  }
  void click(int x, int y) { client_.mouse(true, x, y); }
  void tick() { client_.tick(now_ += 0.05); }
  bool until(const std::function<bool()>& cond) {
    return pumpUntil([&] { tick(); }, cond);
  }
  // Sends a message and ticks until the client has read it.
  void deliver(ScriptedServer& server, const Msg& message) {
    server.send(message);
    for (int i = 0; i < 8; ++i) {
      sleepMs(5);
      tick();
    }
  }
  // The next request with the given code, skipping others; "" after a failure.
  static std::string await(ScriptedServer& server, int code) {
    for (;;) {
      std::string frame = server.readFrame();
      if (frame.empty() || static_cast<uint8_t>(frame[0]) == code) return frame;
    }
  }
  // An invitation request: colour choice 0 when the inviter plays black.
  static std::string invitation(int colourChoice, const std::string& name) {
    return std::string{4, static_cast<char>(colourChoice), 1} + name + '\0';
  }
  // Accepts the connection and ticks until its opening requests arrive.
  void accept(ScriptedServer& server) {
    server.accept();
    ASSERT_TRUE(until([&] { return !server.silentFor(0); }));
  }
  // Accepts the connection and plays the opening: identity and player list.
  void identify(ScriptedServer& server, const std::string& nick, const Strings& players) {
    accept(server);
    deliver(server, M::whoAmI(nick));
    deliver(server, M::playerList(players));
  }
  void startGame(ScriptedServer& server, int id) {
    deliver(server, M::gameStarted(id));
    deliver(server, M::initialBoard(id));
  }
  bool untilMainMenu() {
    return until([&] { return client_.state() == vgl::MainMenuState; });
  }
  void chooseOpponentAndColour(int index, int colourY) {
    click(160, kUpperY);  // "Jouer en local"
    click(160, opponentY(index));
    click(160, colourY);
  }
  std::wstring notice() const {
    return client_.messages().hasMessages() ? client_.messages().front().text : L"(none)";
  }
  // The state, and that its screens alone are shown.
  void expectScreen(vgl::ScreenState state) const {
    EXPECT_EQ(client_.state(), state);
    EXPECT_EQ(client_.mainMenu().isShown(), state == vgl::MainMenuState) << state;
    EXPECT_EQ(client_.localCenter().isShown(), state == vgl::LocalCenterState) << state;
    EXPECT_EQ(client_.colorSelect().isShown(), state == vgl::ColorSelectState) << state;
    EXPECT_EQ(client_.joinServerMenu().isShown(), state == vgl::JoinServerState) << state;
    EXPECT_EQ(client_.netCenter().isShown(), state == vgl::NetCenterState) << state;
    EXPECT_EQ(client_.gameScreen().isShown(),
              state == vgl::GameState || state == vgl::GameOverState)
        << state;
    EXPECT_EQ(client_.chatScreen().isShown(), state == vgl::ChatState) << state;
    EXPECT_EQ(client_.gamesScreen().isShown(), state == vgl::GamesState) << state;
    EXPECT_EQ(client_.gameOverMenu().isShown(), state == vgl::GameOverState) << state;
  }

  TemporaryConfigHome configHome_;
  ScriptedServer black_, white_, lobby_;
  const int refused_ = [] {  // where nothing listens: a listener's port, once closed
    ScriptedServer gone;
    return gone.port();
  }();
  vgl::Client client_;
  Strings opened_;
  Connections connections_ = Connections::kServed;
  int quits_ = 0;
  double now_ = 100.0;
};

TEST_F(ClientTest, StartsOnTheMainMenuWhoseButtonsLeadToTheOtherMenusAndBack) {
  // Time steps, seen through the badges' turning: the first tick next to
  // none, a stall at most the longest step, a clock going back none.
  const auto phase = [&](double now) {
    const float before = client_.gameScreen().badgePhase();
    client_.tick(now);
    return client_.gameScreen().badgePhase() - before;
  };
  const float first = phase(5000.0), stall = phase(5060.0), back = phase(5059.0);
  const float tenth = phase(5059.1);
  EXPECT_GT(tenth, 0.0f);
  EXPECT_LT(first, tenth / 100);
  EXPECT_NEAR(stall, tenth * vgl::Client::kMaxTimeStep / 0.1f, tenth / 100);
  EXPECT_EQ(back, 0.0f);
  EXPECT_TRUE(client_.redrawWanted());
  expectScreen(vgl::MainMenuState);

  client_.mouse(false, 160, kUpperY);  // a release is no click
  click(160, kUpperY);
  expectScreen(vgl::LocalCenterState);
  client_.keyboard(27);
  expectScreen(vgl::MainMenuState);

  click(160, kUpperY);
  click(160, opponentY(3));
  expectScreen(vgl::ColorSelectState);
  click(160, kLowerY);  // "Retour"
  expectScreen(vgl::MainMenuState);

  click(160, kMiddleY);
  expectScreen(vgl::JoinServerState);
  client_.keyboard(27);
  expectScreen(vgl::MainMenuState);

  client_.keyboard(27);
  EXPECT_EQ(quits_, 1);
  EXPECT_TRUE(opened_.empty());
}

TEST_F(ClientTest, LocalConnectionsGivenUpOrFailedReturnToTheMainMenuWithEchecWhenFailed) {
  // Unanswered, a local game waits on its status line, and Escape gives up.
  chooseOpponentAndColour(0, kUpperY);
  EXPECT_EQ(client_.gameScreen().status(), L"Connexion...");
  client_.keyboard(27);
  expectScreen(vgl::MainMenuState);
  EXPECT_EQ(client_.blackClient(), nullptr);

  connections_ = Connections::kThrown;
  chooseOpponentAndColour(0, kUpperY);
  expectScreen(vgl::MainMenuState);
  EXPECT_EQ(notice(), L"Echec");
  EXPECT_EQ(client_.blackClient(), nullptr);

  connections_ = Connections::kRefused;  // both fail, in the background
  click(160, kUpperY);
  click(160, 60);  // "Deux joueurs"
  expectScreen(vgl::GameState);
  EXPECT_EQ(client_.gameScreen().status(), L"Connexion...");
  ASSERT_TRUE(untilMainMenu());
  expectScreen(vgl::MainMenuState);
  EXPECT_EQ(client_.messages().size(), 2u) << "appended, not pushed; once for both connections";
  EXPECT_EQ(client_.whiteClient(), nullptr);
  EXPECT_EQ(client_.blackClient(), nullptr);
}

TEST_F(ClientTest, PlayingWhiteAgainstChickenInvitesItTurnsDownStrangersAndWaitsForItsMove) {
  chooseOpponentAndColour(1, kMiddleY);  // "Jouer les blancs"
  expectScreen(vgl::GameState);
  EXPECT_EQ(opened_, (Strings{"1 127.0.0.1:4567"})) << "the default port";
  EXPECT_EQ(client_.myColour(), 1);

  accept(white_);
  for (int code : {26, 17, 3, 19}) EXPECT_EQ(white_.readFrame()[0], code);
  deliver(white_, M::whoAmI("Player8"));
  deliver(white_, M::playerList(withBots({"Player8"})));
  EXPECT_EQ(await(white_, 4), invitation(1, "Chicken[Bot]")) << "the computer plays black";
  deliver(white_, M::askGame(9, 0, "Stranger"));
  EXPECT_EQ(M::readInt(await(white_, 10), 1), 9) << "refused";

  deliver(white_, M::gameStarted(0));
  ASSERT_FALSE(await(white_, 8).empty());
  deliver(white_, M::initialBoard(0));
  EXPECT_EQ(client_.gameScreen().status(), L"C'est a Chicken de jouer");
  EXPECT_FALSE(client_.gameScreen().inputEnabled());
  EXPECT_GE(client_.frameRate(), 24) << "the board's rate after a change";

  click(cellX(0), cellY(0));  // while the computer is to move: nothing is sent
  deliver(white_, M::movePlayed(0, 5, 3));
  EXPECT_EQ(client_.gameScreen().status(), L"C'est votre tour");
  EXPECT_TRUE(client_.gameScreen().inputEnabled());
  EXPECT_EQ(client_.gameScreen().blackCount(), 4);
  EXPECT_EQ(client_.gameScreen().whiteCount(), 1);

  // White answers at column 3, row 2 (x 4, y 3 on the board).
  click(cellX(3), cellY(2));
  EXPECT_EQ(await(white_, 11), (std::string{11, 0, 0, 0, 0, 4, 3})) << "game 0, x 4, y 3";
  EXPECT_FALSE(client_.gameScreen().inputEnabled());

  deliver(white_, M::invalidMove(0, 4, 3));
  EXPECT_EQ(client_.gameScreen().status(), L"Coup invalide");
  EXPECT_TRUE(client_.gameScreen().inputEnabled()) << "the same player may click again";
  EXPECT_EQ(notice(), L"Coup invalide");
  click(cellX(3), cellY(2));
  ASSERT_FALSE(await(white_, 11).empty());
  deliver(white_, M::invalidMove(0, 4, 3));
  EXPECT_EQ(client_.messages().size(), 1u) << "a notice already shown is not queued again";

  // Thirty seconds in quarter-second steps: the board's animation settles, and the frame rate.
  for (int i = 0; i < 120; ++i) client_.tick(now_ += 0.25);
  EXPECT_EQ(client_.frameRate(), 7);

  deliver(white_, M::gameOver(0));
  expectScreen(vgl::GameOverState);
  EXPECT_EQ(client_.gameScreen().status(), L"Chicken wins");
  client_.keyboard(13);  // dismisses the game-over picture
  expectScreen(vgl::MainMenuState);
  EXPECT_EQ(client_.whiteClient(), nullptr);
  EXPECT_EQ(M::readInt(await(white_, 24), 1), 0) << "the game is left";
}

TEST_F(ClientTest, PlayingBlackAgainstPeeOnTheGivenPortNamesItWhenItPasses) {
  client_.setLocalPort(4571);
  chooseOpponentAndColour(0, kUpperY);
  EXPECT_EQ(opened_, (Strings{"-1 127.0.0.1:4571"}));
  identify(black_, "Player8", withBots({"Player8"}));
  EXPECT_EQ(await(black_, 4), invitation(0, "Pee[Bot]")) << "the inviter plays black";
  startGame(black_, 3);
  deliver(black_, M::movePlayed(3, 5, 3));
  EXPECT_EQ(client_.gameScreen().status(), L"C'est a Pee de jouer");
  deliver(black_, M::mustPass(3, "Pee[Bot]"));
  EXPECT_EQ(client_.turn(), -1);
  EXPECT_EQ(notice(), L"Pee doit passer");
  EXPECT_EQ(client_.gameScreen().status(), L"C'est votre tour");
}

TEST_F(ClientTest, HHidesTheLegalMoveMarkersForThisRunAndTheNext) {
  chooseOpponentAndColour(0, kUpperY);
  identify(black_, "Player8", withBots({"Player8"}));
  await(black_, 4);
  startGame(black_, 3);
  EXPECT_TRUE(client_.gameScreen().showsMarker(2, 4)) << "the person's turn, markers by default";
  client_.keyboard('h');
  EXPECT_FALSE(client_.gameScreen().showsMarker(2, 4));
  std::string line;
  std::getline(std::ifstream(configHome_.path() + "/vantor/settings"), line);
  EXPECT_EQ(line, "hints=0");
  vgl::Client next(nullptr, ".");
  EXPECT_FALSE(next.gameScreen().hintsShown());
}

// Black invites White after naming itself, even when its first list already
// holds "White", and only once; White accepts Black's invitation at once.
TEST_F(ClientTest, TwoPeopleAtOneScreenNameThemselvesAndBlackInvitesWhiteOnce) {
  client_.setLocalPort(4570);
  click(160, kUpperY);
  click(160, 60);  // "Deux joueurs"
  EXPECT_EQ(opened_, (Strings{"1 127.0.0.1:4570", "-1 127.0.0.1:4570"}));
  EXPECT_EQ(client_.myColour(), -1);
  identify(white_, "Player8", withBots({"Player8"}));
  EXPECT_EQ(await(white_, 1), std::string(1, 1) + "White" + '\0');
  identify(black_, "Player9", withBots({"White", "Player9"}));
  EXPECT_EQ(await(black_, 1), std::string(1, 1) + "Black" + '\0');
  EXPECT_EQ(await(black_, 4), invitation(0, "White")) << "asked after the name, so from Black";
  deliver(black_, M::playerList(withBots({"White", "Black"})));
  EXPECT_TRUE(black_.silentFor(50));
  EXPECT_TRUE(white_.silentFor(0)) << "each connection names itself once";

  deliver(white_, M::askGame(5, 0, "Black"));
  EXPECT_EQ(M::readInt(await(white_, 5), 1), 5);
  for (ScriptedServer* s : {&black_, &white_}) startGame(*s, 5);
  EXPECT_EQ(client_.gameScreen().status(), L"Aux noirs de jouer");
  client_.keyboard(27);
  expectScreen(vgl::MainMenuState);
  EXPECT_EQ(client_.blackClient(), nullptr);
  EXPECT_EQ(client_.whiteClient(), nullptr);
}

class LobbyTest : public ClientTest {
 protected:
  // Joins the scripted lobby as Ann, who sees players.
  void joinAsAnn(const Strings& players) {
    click(160, kMiddleY);  // "Jouer sur internet"
    click(160, kUpperY);   // nick field
    for (int i = 0; i < 10; ++i) client_.keyboard(8);
    for (char ch : std::string("Ann")) client_.keyboard(ch);
    client_.keyboard(13);                // leaves the field
    click(160, kLowerY);                 // "Se connecter"
    expectScreen(vgl::JoinServerState);  // connecting, which the window tests see drawn
    accept(lobby_);
    EXPECT_EQ(await(lobby_, 1), std::string(1, 1) + "Ann" + '\0');
    deliver(lobby_, M::whoAmI("Ann"));
    deliver(lobby_, M::playerList(players));
    expectScreen(vgl::NetCenterState);
  }
  void type(const std::string& text) {
    for (char c : text) client_.keyboard(static_cast<unsigned char>(c));
  }
  static Msg chat(bool broadcast, const std::string& sender, const std::string& text) {
    return Msg(6).i8(broadcast ? 1 : 0).str(sender).str(text);
  }
  static std::string chatRequest(const std::string& addressee, const std::string& text) {
    return std::string(1, 6) + addressee + '\0' + text + '\0';
  }
  std::wstring lastChatLine() const {
    return vgl::ChatHistory::lineOf(client_.chatScreen().history().entries().back());
  }
  // The codes of the requests not read yet.
  std::vector<int> requestsLeft() {
    std::vector<int> codes;
    while (!lobby_.silentFor(50)) codes.push_back(static_cast<uint8_t>(lobby_.readFrame()[0]));
    return codes;
  }
  // Invites the player listed at entry k (the seven computer players first).
  void inviteEntry(int k) {
    client_.motion(60, 58 + 19 * k);
    click(60, 58 + 19 * k);
  }
};

TEST_F(LobbyTest, AGameThatStartsWhenAnotherIsShownIsLeftOnTheServer) {
  joinAsAnn(withBots({"Ann"}));
  inviteEntry(0);
  startGame(lobby_, 4);
  expectScreen(vgl::GameState);

  startGame(lobby_, 6);
  EXPECT_EQ(M::readInt(await(lobby_, 24), 1), 6) << "the newcomer, not the game being played";
  deliver(lobby_, M::movePlayed(4, 5, 3));
  EXPECT_EQ(client_.gameScreen().blackCount(), 4) << "game 4 is still shown";
  deliver(lobby_, M::gameOver(6));
  expectScreen(vgl::GameState);

  deliver(lobby_, M::gameOver(4));
  expectScreen(vgl::GameOverState);
  startGame(lobby_, 8);
  EXPECT_EQ(M::readInt(await(lobby_, 24), 1), 8) << "nobody shows it";
  expectScreen(vgl::GameOverState);
}

// The connection stays when the nick is refused.
TEST_F(LobbyTest, ListsTheFreePlayersAndDeclinesInvitationsWhileInvitingAndDropsThemWithTheLobby) {
  joinAsAnn(withBots({"Ann", "Bob", "Cid", "Dan", "%s%n%ls"}));
  EXPECT_EQ(opened_, (Strings{"0 localhost:4567"}));
  EXPECT_EQ(client_.netCenter().status(), L"Connected!");
  deliver(lobby_, M::gameList({{2, "Cid", "Dan"}}));
  EXPECT_EQ(client_.netCenter().players().size(), 9u) << "the players but Ann, Cid and Dan";
  EXPECT_EQ(client_.netCenter().players().back(), L"%s%n%ls") << "names as they are";
  deliver(lobby_, M::nickRefused("taken"));
  EXPECT_EQ(notice(), L"Nick name was refused by server");
  expectScreen(vgl::NetCenterState);
  inviteEntry(0);
  ASSERT_FALSE(await(lobby_, 4).empty());
  deliver(lobby_, M::askGame(8, 0, "Bob"));
  EXPECT_EQ(M::readInt(await(lobby_, 10), 1), 8);
  EXPECT_EQ(client_.netCenter().invitationState(), vgl::NetCenter::kInviting);
  deliver(lobby_, M::gameRefused("Pee[Bot]"));
  EXPECT_EQ(client_.netCenter().invitationState(), vgl::NetCenter::kIdle);
  EXPECT_EQ(client_.netCenter().status(), L"Pee[Bot] declines");

  deliver(lobby_, M::askGame(7, 1, "Bob"));
  EXPECT_EQ(client_.netCenter().invitationState(), vgl::NetCenter::kInvited);
  EXPECT_EQ(client_.netCenter().status(), L"Bob invites you!");
  client_.keyboard(27);  // leaves the lobby, and the invitation with it
  expectScreen(vgl::MainMenuState);
  joinAsAnn(withBots({"Ann", "Bob"}));
  EXPECT_EQ(client_.netCenter().invitationState(), vgl::NetCenter::kIdle);
  EXPECT_EQ(client_.netCenter().status(), L"Connected!");
  client_.keyboard(27);
  EXPECT_EQ(client_.netClient(), nullptr);
  EXPECT_FALSE(client_.netCenter().hasConnection());
}

TEST_F(LobbyTest, NoticesAndAbandonStayOnTheStatusLineThroughListNewsAndEscapeLeavesForTheLobby) {
  joinAsAnn(withBots({"Ann", "Bob"}));
  deliver(lobby_, M::askGame(4, 1, "Bob"));
  click(160, kMiddleY);  // "Accept": Ann plays black, her turn
  EXPECT_EQ(M::readInt(await(lobby_, 5), 1), 4);
  startGame(lobby_, 4);
  deliver(lobby_, M::gameList({{4, "Ann", "Bob"}}));
  expectScreen(vgl::GameState);
  EXPECT_EQ(client_.gameScreen().status(), L"C'est votre tour");
  click(cellX(0), cellY(0));
  deliver(lobby_, M::invalidMove(4, 1, 1));
  deliver(lobby_, M::gameList({{4, "Ann", "Bobby"}}));  // Bob renames himself
  EXPECT_EQ(client_.gameScreen().status(), L"Coup invalide");
  click(cellX(4), cellY(2));
  deliver(lobby_, M::movePlayed(4, 5, 3));
  EXPECT_EQ(client_.gameScreen().status(), L"C'est a Bobby de jouer") << "moved on, new name";
  deliver(lobby_, M::gameClosed(4));  // Bob leaves
  deliver(lobby_, M::gameList({}));
  EXPECT_EQ(client_.gameScreen().status(), L"Abandon");

  client_.keyboard(27);  // leaves the game for the lobby
  expectScreen(vgl::NetCenterState);
  EXPECT_EQ(M::readInt(await(lobby_, 24), 1), 4);
  EXPECT_NE(client_.netClient(), nullptr);
}

TEST_F(LobbyTest, CancellingWithdrawsAnInvitationsGameWhenEverItsIdIsKnownUntilTheServerIsLost) {
  joinAsAnn(withBots({"Ann", "Bob"}));
  const Strings orders[] = {{"list", "cancel"}, {"cancel", "list"}};
  int id = 20;
  for (const Strings& order : orders) {
    ++id;
    inviteEntry(7);  // Bob, after the seven computer players
    ASSERT_EQ(await(lobby_, 4), invitation(0, "Bob"));
    for (const std::string& step : order) {
      if (step == "list") {
        deliver(lobby_, M::gameList({{id - 1, "Cid", "Dan"}, {id, "Ann", "Bob"}}));
      } else {
        click(160, kLowerY);  // "Cancel invitation"
        EXPECT_EQ(client_.netCenter().invitationState(), vgl::NetCenter::kIdle);
      }
    }
    EXPECT_EQ(M::readInt(await(lobby_, 24), 1), id) << order[0] << " first";
    deliver(lobby_, M::gameList({}));
  }
  // Bob accepted before the withdrawal arrived: the game does not start here.
  startGame(lobby_, id);
  expectScreen(vgl::NetCenterState);
  EXPECT_EQ(M::readInt(await(lobby_, 24), 1), id);

  lobby_.closeConnection();  // the server is lost
  ASSERT_TRUE(untilMainMenu());
  expectScreen(vgl::MainMenuState);
  EXPECT_FALSE(client_.netCenter().hasConnection());
  EXPECT_EQ(client_.netClient(), nullptr);
  EXPECT_EQ(notice(), L"Connexion perdue");
}

// The server echoes a line to everybody to its sender; a private one it
// does not, so the client keeps its own copy of that one.
TEST_F(LobbyTest, TheChatKeepsLinesFromTheLobbySendsThemWithEnterAndEscapeReturns) {
  joinAsAnn(withBots({"Ann", "Bob"}));
  deliver(lobby_, chat(true, "Bob", "salut 100%"));
  EXPECT_EQ(notice(), L"(none)") << "a line to everybody is only kept";
  deliver(lobby_, chat(false, "Bob", "psst"));
  EXPECT_EQ(notice(), L"Message priv\xe9 de Bob");

  client_.keyboard(9);  // Tab
  expectScreen(vgl::ChatState);
  EXPECT_EQ(client_.chatScreen().history().entries().size(), 2u);
  EXPECT_EQ(lastChatLine(), L"[priv\xe9] Bob: psst");
  type("tout le monde\r");
  EXPECT_EQ(await(lobby_, 6), chatRequest("", "tout le monde"));
  type("@Bob d\xe9j\xe0\r");
  EXPECT_EQ(await(lobby_, 6), chatRequest("Bob", "d\xe9j\xe0"));
  EXPECT_EQ(lastChatLine(), L"[priv\xe9 \xe0 Bob] Ann: d\xe9j\xe0");
  deliver(lobby_, chat(false, "Bob", "vu"));
  EXPECT_EQ(client_.messages().size(), 1u) << "no notice for a line the chat shows";
  EXPECT_EQ(lastChatLine(), L"[priv\xe9] Bob: vu");

  client_.keyboard(27);
  expectScreen(vgl::NetCenterState);
  click(160, kMiddleY);  // "Discussion"
  expectScreen(vgl::ChatState);
  click(160, kLowerY);  // "Retour"
  expectScreen(vgl::NetCenterState);
  client_.keyboard(27);  // leaves the server, and its lines with it
  EXPECT_TRUE(client_.chatScreen().history().entries().empty());
}

TEST_F(LobbyTest, AnInvitationInTheChatIsOfferedByTheLobbyAndAPrivateLineInAGameGivesANotice) {
  joinAsAnn(withBots({"Ann", "Bob"}));
  client_.keyboard(9);
  deliver(lobby_, M::askGame(4, 1, "Bob"));
  expectScreen(vgl::NetCenterState);
  EXPECT_EQ(client_.netCenter().status(), L"Bob invites you!");
  click(160, kMiddleY);  // "Accept"
  EXPECT_EQ(M::readInt(await(lobby_, 5), 1), 4);
  startGame(lobby_, 4);
  expectScreen(vgl::GameState);

  deliver(lobby_, chat(true, "Cid", "hello"));
  EXPECT_EQ(notice(), L"(none)") << "a line to everybody does not interrupt the game";
  deliver(lobby_, chat(false, "Pee[Bot]", "I can't speak, I'm a bot!"));
  EXPECT_EQ(notice(), L"Message priv\xe9 de Pee[Bot]");
  expectScreen(vgl::GameState);
  EXPECT_EQ(lastChatLine(), L"[priv\xe9] Pee[Bot]: I can't speak, I'm a bot!");
}

// The game list carries no started or spectators flag: the server answers
// each choice but of one's own games. A watched game takes no input and
// sends nothing on leaving.
TEST_F(LobbyTest, AWatchedGameFollowsMovesPassesAndTheEndWithoutInputAndLeavesNothingOnTheServer) {
  joinAsAnn(withBots({"Ann", "Eve", "Fay"}));
  deliver(lobby_, M::gameList({{3, "Bob", "Cid"}, {5, "Ann", "Dan"}}));
  client_.keyboard('p');
  expectScreen(vgl::GamesState);
  deliver(lobby_, M::gameList({{3, "Bob", "Cid"}, {5, "Ann", "Dan"}, {7, "Eve", "Fay"}}));
  ASSERT_EQ(client_.gamesScreen().rows().size(), 3u) << "refreshed";
  client_.keyboard(vgl::kKeyDown);
  client_.keyboard(13);
  EXPECT_EQ(M::readInt(await(lobby_, 20), 1), 3);
  deliver(lobby_, M::spectateRefused(3));
  EXPECT_EQ(notice(), L"Spectateurs non admis");
  EXPECT_EQ(client_.gamesScreen().rows()[0].text, L"Bob contre Cid (sans spectateurs)");
  client_.keyboard(vgl::kKeyDown);
  client_.keyboard(13);
  EXPECT_EQ(client_.gamesScreen().rows()[1].text, L"Ann contre Dan (vous)");
  click(160, kLowerY);  // "Retour"
  expectScreen(vgl::NetCenterState);
  client_.keyboard('p');

  click(160, vgl::GamesScreen::kFirstRowY + 2 * 19 + 5);
  EXPECT_EQ(M::readInt(await(lobby_, 20), 1), 7);
  deliver(lobby_, M::spectateAccepted(7));
  EXPECT_EQ(M::readInt(await(lobby_, 8), 1), 7) << "the board is fetched";
  deliver(lobby_, M::initialBoard(7));
  expectScreen(vgl::GameState);
  EXPECT_TRUE(client_.spectating());
  EXPECT_EQ(client_.gameScreen().status(), L"Aux noirs (Eve) de jouer");
  EXPECT_FALSE(client_.gameScreen().inputEnabled());
  click(cellX(4), cellY(2));
  deliver(lobby_, M::movePlayed(7, 5, 3));
  EXPECT_EQ(client_.gameScreen().blackCount(), 4);
  EXPECT_EQ(client_.gameScreen().status(), L"Aux blancs (Fay) de jouer");
  deliver(lobby_, M::mustPass(7, "Fay"));
  EXPECT_EQ(client_.messages().back().text, L"Les blancs (Fay) passent");
  EXPECT_EQ(client_.gameScreen().status(), L"Aux noirs (Eve) de jouer");
  EXPECT_FALSE(client_.gameScreen().inputEnabled());
  deliver(lobby_, M::gameOver(7));
  expectScreen(vgl::GameOverState);
  EXPECT_EQ(client_.gameScreen().status(), L"Les noirs (Eve) gagnent");
  client_.keyboard(13);
  expectScreen(vgl::NetCenterState);
  EXPECT_FALSE(client_.spectating());
  EXPECT_EQ(requestsLeft(), std::vector<int>{}) << "no move, no leaving";
}

constexpr const wchar_t* kClosed =
    L"Partie ferm\xe9"
    L"e";

TEST_F(LobbyTest, AWatchedGameJoinedLateGuessesItsTurnIsTakenUpAgainAfterEscapeAndClosingLeavesIt) {
  joinAsAnn(withBots({"Ann", "Eve", "Fay"}));
  deliver(lobby_, M::gameList({{7, "Eve", "Fay"}}));
  click(160, kLowerY);  // "Parties"
  click(160, vgl::GamesScreen::kFirstRowY + 5);
  ASSERT_EQ(M::readInt(await(lobby_, 20), 1), 7);
  deliver(lobby_, M::spectateAccepted(7));
  VantorGame late;
  late.play(5, 3);
  std::string cells;
  for (int y = 1; y <= 8; ++y) {
    for (int x = 1; x <= 8; ++x) cells += static_cast<char>(late.getCell(x, y));
  }
  deliver(lobby_, M::board(7, cells));
  EXPECT_EQ(client_.gameScreen().status(), L"Aux blancs (Fay) de jouer") << "five discs";
  client_.keyboard(27);
  expectScreen(vgl::NetCenterState);
  deliver(lobby_, M::movePlayed(7, 6, 5));
  expectScreen(vgl::NetCenterState);
  EXPECT_EQ(requestsLeft(), std::vector<int>{8}) << "its board, and nothing on leaving";
  client_.keyboard('p');
  client_.keyboard(vgl::kKeyUp);
  client_.keyboard(13);  // game 7 again
  EXPECT_EQ(M::readInt(await(lobby_, 20), 1), 7);
  deliver(lobby_, M::spectateAccepted(7));
  EXPECT_EQ(requestsLeft(), std::vector<int>{8}) << "its board, asked once more";
  deliver(lobby_, M::board(7, cells));
  expectScreen(vgl::GameState);
  deliver(lobby_, M::gameClosed(7));
  expectScreen(vgl::NetCenterState);
  EXPECT_EQ(notice(), kClosed);
  EXPECT_EQ(requestsLeft(), std::vector<int>{19}) << "the list, nothing more";
  deliver(lobby_, M::gameList({{8, "Eve", "Fay"}}));
  client_.keyboard('p');
  click(160, vgl::GamesScreen::kFirstRowY + 5);
  EXPECT_EQ(M::readInt(await(lobby_, 20), 1), 8);
  deliver(lobby_, M::spectateAccepted(8));
  deliver(lobby_, M::initialBoard(8));
  expectScreen(vgl::GameState);
  deliver(lobby_, M::gameList({}));  // withdrawn before it started: no S24
  expectScreen(vgl::NetCenterState);
  EXPECT_EQ(client_.messages().back().text, kClosed);

  client_.keyboard('p');
  deliver(lobby_, M::askGame(4, 1, "Bob"));
  expectScreen(vgl::NetCenterState);
  EXPECT_EQ(client_.netCenter().status(), L"Bob invites you!");
}

}  // namespace
