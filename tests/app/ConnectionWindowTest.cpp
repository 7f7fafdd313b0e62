// The real vantor executable in a real window on the client's fixed port:
// its main menu and lobby lit by the pointer, a server that takes no
// connection, a local game whose server is killed under the client, the
// lobby's chat, and games of protocol clients watched from the lobby.
// (Games through the lobby, an opponent who leaves and Escape between the
// screens are the controller tests', with scripted servers.) Every picture
// is kept under artifacts/ in the build directory.
//
// The tests run in a network namespace of their own, with its own loopback,
// so that the fixed port 4567 (where the client looks for servers) belongs
// to them; where namespaces cannot be made they run on the machine's
// loopback, and the test that needs a port of its own is skipped.
#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>
#include <csignal>
#include <functional>
#include <memory>
#include <string>
#include <tuple>
#include <vector>

#include "game/VantorGame.h"
#include "tests/app/WindowTest.h"
#include "tests/app/WindowTestSupport.h"
#include "tests/client/FullListener.h"
#include "tests/server/ProtocolClient.h"

namespace {

using Clock = std::chrono::steady_clock;

int msSince(Clock::time_point start) {
  return static_cast<int>(
      std::chrono::duration_cast<std::chrono::milliseconds>(Clock::now() - start).count());
}

// Screen regions, window coordinates.
struct Region {
  int x0, y0, x1, y1;
};
constexpr Region kWhole{0, 0, 319, 479};
constexpr Region kNotice{0, 125, 319, 200};  // the overlay's band
// The bands of the three buttons of a menu, the nick field and the connect
// button on the join-server menu.
constexpr Region kUpperBand{0, 322, 319, 358};
constexpr Region kMiddleBand{0, 372, 319, 408};
constexpr Region kLowerBand{0, 421, 319, 457};

double differ(const Picture& a, const Picture& b, Region r) {
  return a.difference(b, r.x0, r.y0, r.x1, r.y1);
}

// One client started as a player starts it, whose local server listens on
// the fixed port 4567 (where the client looks for it).
class ConnectionWindowTest : public WindowTest {
 protected:
  static constexpr int kPort = 4567;

  // Enters the namespace first, so that the X server and every program
  // started after it are in it.
  static void SetUpTestSuite() {
    networkWhy_ = enterPrivateNetwork();
    WindowTest::SetUpTestSuite();
  }
  // Starts the client and waits for its server and its main menu.
  void SetUp() override {
    WindowTest::SetUp();
    if (IsSkipped()) return;
    // A server child of an earlier test may take a moment to go.
    if (!waitUntil([] { return !listening(kPort); }, 5000)) {
      GTEST_SKIP() << "another program listens on port " << kPort
                   << ", where the client looks for its local server";
    }
    ASSERT_TRUE(start(app_, {}, ""));
    ASSERT_EQ(app_.port, kPort) << app_.process->log();
  }

  Picture capture() { return WindowTest::capture(app_); }
  Picture keep(const std::string& what) { return WindowTest::keep(app_, what); }
  void click(int x, int y) { WindowTest::click(app_, x, y); }
  void pointAway(int y = 200) { WindowTest::pointAway(app_, y); }
  // From the main menu into the lobby of the client's own server: its
  // picture once the rows have settled, the pointer off them.
  ::testing::AssertionResult enterLobby(Picture* lobby) {
    click(160, 390);  // "Jouer sur internet"
    click(160, 440);  // "Se connecter", to the local server
    if (!app_.process->waitForLog("Renaming to Guest", 5000)) {
      return ::testing::AssertionFailure() << "not named\n" << app_.process->log();
    }
    pointAway(470);
    const Region rows{20, 55, 160, 73 + 19 * 7};
    *lobby = capture();
    const bool settled = waitUntil(
        [&] {
          const Picture before = *lobby;
          sleepMs(200);
          *lobby = capture();
          return differ(*lobby, before, rows) < 0.01 && differ(*lobby, app_.menu, rows) > 1.0;
        },
        5000);
    if (settled) return ::testing::AssertionSuccess();
    return ::testing::AssertionFailure() << "no lobby, or its rows do not settle";
  }
  // Whether, within three seconds, the title band shows another screen's
  // title than the lobby's (away) or the lobby's again.
  bool titleChanges(const Picture& lobby, bool away) {
    return waitUntil(
        [&] {
          return (differ(capture(), lobby, {0, 10, 319, 45}) > 1.0) == away;
        },
        3000);
  }
  // The picture between the notice and the buttons.
  bool onMainMenu() { return differ(capture(), app_.menu, {0, 215, 319, 310}) < 2.0; }
  // Moves the pointer onto band at once and times how long the window takes
  // to light it; -1 when it does not within a second.
  int hoverAnswer(Region band) {
    const Picture before = capture();
    const auto start = Clock::now();
    session_->moveTo(app_.window, 160, (band.y0 + band.y1) / 2);
    while (msSince(start) < 1000) {
      if (differ(capture(), before, band) > 1.0) return msSince(start);
    }
    return -1;
  }
  // Alternates the pointer between the nick field and the connect button
  // while cond holds, adding every answer time to answers.
  void hoverWhile(const std::function<bool()>& cond, int timeoutMs, std::vector<int>& answers) {
    const auto start = Clock::now();
    for (bool toButton = true; cond() && msSince(start) < timeoutMs; toButton = !toButton) {
      answers.push_back(hoverAnswer(toButton ? kLowerBand : kUpperBand));
      sleepMs(100);
    }
  }

  // Why the tests run on the machine's network, or empty.
  static inline std::string networkWhy_;
  RunningClient app_;
};

TEST_F(ConnectionWindowTest, AServerThatTakesNoConnectionLeavesTheWindowAnsweringUntilCnxEchec) {
  if (!networkWhy_.empty()) {
    GTEST_SKIP() << "no network namespace of its own (" << networkWhy_
                 << "): the server that takes no connection needs port " << kPort;
  }
  FullListener silent("127.0.0.2", kPort);
  ASSERT_TRUE(silent.ready()) << silent.why();

  click(160, 390);  // "Jouer sur internet"
  click(160, 390);  // the host field
  for (int i = 0; i < 9; ++i) key("BackSpace");
  for (const char* k : {"1", "2", "7", "period", "0", "period", "0", "period", "2"}) key(k);
  key("Return");  // leaves the field
  pointAway();
  const Picture joinServer = keep("join-server");

  click(160, 440);  // "Se connecter"
  pointAway();
  EXPECT_GT(differ(keep("connecting"), joinServer, kLowerBand), 1.0) << "no \"Connexion...\"";
  std::vector<int> answers;
  hoverWhile([] { return true; }, 2500, answers);

  key("Escape");  // gives up, and stays on the join-server menu
  pointAway();
  EXPECT_TRUE(waitUntil([&] { return differ(capture(), joinServer, kWhole) < 1.0; }, 3000));
  keep("given-up");

  // Again, left to the limit: the window answers all along, until the main
  // menu shows (with the CNX Echec notice over it).
  const auto start = Clock::now();
  key("Return");
  hoverWhile([&] { return !onMainMenu(); }, 20000, answers);
  ASSERT_TRUE(waitUntil([&] { return onMainMenu(); }, 5000)) << app_.process->log();
  EXPECT_GT(msSince(start), 5000) << "gave up long before the limit";
  keep("cnx-echec");
  EXPECT_NE(app_.process->log().find("cannot connect: IosSocket: Socket connection timed out"),
            std::string::npos)
      << app_.process->log();

  std::string times;
  for (int ms : answers) times += std::to_string(ms) + " ";
  ASSERT_GT(answers.size(), 20u);
  EXPECT_EQ(std::count(answers.begin(), answers.end(), -1), 0) << times;
  EXPECT_LE(*std::max_element(answers.begin(), answers.end()), 100) << times;
}

// The main menu and the lobby of the client's own server lit by the
// pointer; then a local game, where the server is killed under the client.
TEST_F(ConnectionWindowTest, MenuAndLobbyLightUnderThePointerAndAKilledServerGivesANotice) {
  // Each text of the main menu lights under the pointer; nothing between the
  // title and the buttons does.
  for (const Region& band : {kUpperBand, kMiddleBand, kLowerBand}) {
    EXPECT_NE(hoverAnswer(band), -1) << "the band at " << band.y0 << " stays dark";
  }
  // Once the last band has gone dark, the motion has been taken in.
  session_->moveTo(app_.window, 160, 220);
  ASSERT_TRUE(waitUntil([&] { return differ(capture(), app_.menu, kLowerBand) < 0.5; }, 3000));
  EXPECT_LT(differ(capture(), app_.menu, {0, 200, 319, 240}), 0.5);

  // In the lobby the seven computer players fill the first seven rows: each
  // row lights up under the pointer; the eighth row is empty, which shows
  // once the seventh has gone dark again.
  Picture lobby;
  ASSERT_TRUE(enterLobby(&lobby));
  keep("lobby");
  const auto row = [](int k) { return Region{20, 55 + 19 * k, 160, 73 + 19 * k}; };
  for (int k = 0; k < 8; ++k) {
    session_->moveTo(app_.window, 60, 66 + 19 * k);
    if (k < 7) {
      EXPECT_TRUE(waitUntil([&] { return differ(capture(), lobby, row(k)) > 1.0; }, 2000))
          << "row " << k << " stays dark";
    } else {
      ASSERT_TRUE(waitUntil([&] { return differ(capture(), lobby, row(6)) < 0.5; }, 2000));
      EXPECT_LT(differ(capture(), lobby, row(7)), 0.5) << "the empty row lights";
    }
  }
  key("Escape");  // back to the main menu
  pointAway();
  EXPECT_TRUE(waitUntil([&] { return differ(capture(), app_.menu, kWhole) < 2.0; }, 3000))
      << "not the main menu";
  keep("menu-again");

  // A local game against Pee; then the server killed: back to the main
  // menu, with "Connexion perdue" over it.
  click(160, 340);  // "Jouer en local"
  click(160, 140);  // "Pee"
  click(160, 340);  // "Jouer les noirs"
  ASSERT_TRUE(waitUntil([&] { return discsOn(capture()) == 4; }, 15000)) << app_.process->log();
  const size_t windows = session_->shownWindows().size();
  ASSERT_GT(app_.serverPid, 0);
  kill(app_.serverPid, SIGKILL);
  ASSERT_TRUE(waitUntil([&] { return onMainMenu(); }, 10000)) << app_.process->log();
  pointAway();
  // (How long the notice stays is the message overlay's test.)
  EXPECT_TRUE(waitUntil([&] { return differ(capture(), app_.menu, kNotice) > 3.0; }, 3000))
      << "no notice";
  keep("connexion-perdue");
  EXPECT_EQ(session_->shownWindows().size(), windows) << "a window besides the game's";
  ASSERT_TRUE(waitUntil([&] { return differ(capture(), app_.menu, kNotice) < 1.0; }, 5000));
  const std::string after = app_.process->log();
  EXPECT_NE(after.find("connection lost"), std::string::npos) << after;
  EXPECT_EQ(after.find("Unexpected error"), std::string::npos) << after;
}

// The chat of the client's own lobby: a private line to Pee[Bot], typed on
// the keyboard, shows at once in the message area; Pee's answer, which a
// computer player gives after three seconds, follows it there.
TEST_F(ConnectionWindowTest,
       TheChatShowsPeesAnswerSecondsLaterAndAnotherPersonsLinesToAllAndToItAlone) {
  Picture lobby;
  ASSERT_TRUE(enterLobby(&lobby));

  key("Tab");
  const Region lines{20, 48, 300, 352};
  const Region input{20, 370, 300, 406};
  ASSERT_TRUE(titleChanges(lobby, true)) << "no chat screen";
  const Picture empty = capture();
  for (const char* k : {"at", "P", "e", "e", "bracketleft", "B", "o", "t", "bracketright", "space",
                        "b", "o", "n", "j", "o", "u", "r"}) {
    key(k);
  }
  const Picture typed = capture();
  EXPECT_GT(differ(typed, empty, input), 1.0) << "nothing typed";
  EXPECT_LT(differ(typed, empty, lines), 0.5) << "a line before Enter";

  key("Return");
  const auto sent = Clock::now();
  ASSERT_TRUE(waitUntil([&] { return differ(capture(), typed, lines) > 0.5; }, 3000))
      << "the line sent is not shown";
  const Picture own = keep("chat-sent");
  ASSERT_TRUE(waitUntil([&] { return differ(capture(), own, lines) > 0.5; }, 10000))
      << "no answer from Pee" << app_.process->log();
  EXPECT_GT(msSince(sent), 2000) << "Pee answers after a pause";
  Picture before = keep("chat-answer");

  // Another person says something to everybody, then to this client alone.
  const std::string log = app_.process->log();
  const size_t at = log.find("Renaming to ") + 12;
  const std::string guest = log.substr(at, log.find('\n', at) - at);
  auto zoe = ProtocolClient::join(kPort, "Zoe");
  zoe->send(msg(6, cstr("") + cstr("bonjour a tous")));
  EXPECT_EQ(zoe->nextOf(6), chat(1, "Zoe", "bonjour a tous"));
  ASSERT_TRUE(waitUntil([&] { return differ(capture(), before, lines) > 0.5; }, 3000))
      << "no line to everybody";
  before = keep("chat-everybody");
  zoe->send(msg(6, cstr(guest) + cstr("psst")));
  EXPECT_TRUE(waitUntil([&] { return differ(capture(), before, lines) > 0.5; }, 3000))
      << "no private line to " << guest;
  keep("chat-private");
}

// Two players of the test start a game on the client's own server that
// admits spectators, two more one that does not. The client watches the
// first from its games screen: the board changes with each move, and Escape
// returns to the lobby; choosing the second gives a notice.
TEST_F(ConnectionWindowTest,
       AGameWatchedFromTheGamesScreenFollowsEachMoveAndOneWithoutSpectatorsGivesANotice) {
  Picture lobby;
  ASSERT_TRUE(enterLobby(&lobby));

  // Each game: the first invites the second, with or without spectators,
  // and the second accepts.
  std::vector<std::unique_ptr<ProtocolClient>> players;
  std::vector<int> ids;
  for (const auto& [black, white, spectators] :
       {std::tuple{"Ann", "Bob", 1}, std::tuple{"Cid", "Dan", 0}}) {
    players.push_back(ProtocolClient::join(kPort, black));
    players.push_back(ProtocolClient::join(kPort, white));
    players[players.size() - 2]->send(msg(4, bytes({0, spectators}) + cstr(white)));
    ids.push_back(intAt(players.back()->nextOf(4), 1));
    players.back()->send(msg(5, int32(ids.back())));
    ASSERT_EQ(intAt(players.back()->nextOf(7), 1), ids.back());
  }
  lobby = capture();

  key("p");
  const Region list{20, 48, 300, 352};
  ASSERT_TRUE(titleChanges(lobby, true)) << "no games screen";
  pointAway(470);
  ASSERT_TRUE(waitUntil(
      [&] {
        const Picture before = capture();
        sleepMs(200);
        return differ(capture(), before, list) < 0.01;
      },
      3000));
  const Picture games = keep("games");

  click(160, 57 + 19 + 9);  // Cid contre Dan
  pointAway(470);
  EXPECT_TRUE(waitUntil([&] { return differ(capture(), games, kNotice) > 3.0; }, 3000))
      << "no notice";
  keep("games-refused");

  click(160, 57 + 9);  // Ann contre Bob
  ASSERT_TRUE(waitUntil([&] { return discsOn(capture()) == 4; }, 5000)) << app_.process->log();
  keep("watching");
  VantorGame game;
  int placed = 4;
  for (ProtocolClient* player : {players[0].get(), players[1].get()}) {
    int x = 1, y = 1;
    while (!game.canPlay(x, y)) {
      if (++x > 8) x = 1, ++y;
    }
    game.play(x, y);
    player->send(msg(11, int32(ids[0]) + bytes({x, y})));
    ++placed;
    EXPECT_TRUE(waitUntil([&] { return discsOn(capture()) == placed; }, 5000))
        << "the move to " << x << "," << y << " is not shown";
  }
  keep("watching-moves");

  key("Escape");
  EXPECT_TRUE(titleChanges(lobby, false)) << "not the lobby";
  EXPECT_EQ(app_.process->log().find("Unexpected error"), std::string::npos) << app_.process->log();
}

}  // namespace
