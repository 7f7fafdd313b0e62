// The real vantor executable in a real window while its connections come
// and go: a server that takes no connection, the local server killed during
// a game, and an internet opponent who leaves. Every picture is kept under
// artifacts/ in the build directory.
//
// The tests run in a network namespace of their own, with its own loopback,
// so that the fixed port 4567 (where the client looks for servers) belongs
// to them; where namespaces cannot be made they run on the machine's
// loopback, and the test that needs a port of its own is skipped.
#include <gtest/gtest.h>
#include <sys/socket.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <chrono>
#include <csignal>
#include <cstdio>
#include <cstring>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "client/GameClient.h"
#include "client/VantorClientGame.h"
#include "tests/app/FixedPortWindowTest.h"
#include "tests/app/WindowTestSupport.h"
#include "tests/client/FullListener.h"

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
constexpr Region kNotice{0, 125, 319, 200};       // the overlay's band
constexpr Region kMenuPicture{0, 215, 319, 310};  // between the notice and the buttons
constexpr Region kStatusLine{20, 322, 300, 362};
constexpr Region kNickBand{0, 322, 319, 358};
constexpr Region kConnectBand{0, 421, 319, 457};

double differ(const Picture& a, const Picture& b, Region r) {
  return a.difference(b, r.x0, r.y0, r.x1, r.y1);
}

// An internet opponent played by the test: it keeps what it hears.
class Opponent : public vgl::GameClientListener {
 public:
  ~Opponent() override {
    client.reset();
    for (VantorClientGame* game : games) delete game;
  }
  void clientReady(int) override {}
  void playerListChanged(int) override {}
  void gameListChanged(int) override {}
  void gameStarted(int, VantorClientGame* game) override { games.push_back(game); }
  void gameChanged(int) override {}
  void moveRejected(int) override {}
  void gameEnded(int) override {}
  void gameAbandoned(int) override {}
  void playerPassed(int) override {}
  void gameProposed(int, const char*, int, int) override {}
  void gameRefused(int, const char*) override {}
  void nickRefused(int, const char*) override {}
  void connectionFailed(int) override {}
  void connectionLost(int) override {}

  bool pumpUntil(const std::function<bool()>& cond, int timeoutMs) {
    return waitUntil(
        [&] {
          client->update();
          return cond();
        },
        timeoutMs);
  }

  std::unique_ptr<vgl::GameClient> client;
  std::vector<VantorClientGame*> games;
};

class ConnectionWindowTest : public FixedPortWindowTest {
 protected:
  bool onMainMenu() { return differ(capture(), app_.menu, kMenuPicture) < 2.0; }
  // Waits for the first picture of a game: discs on the green board.
  bool waitForBoard() {
    return waitUntil(
        [&] {
          const Picture shot = capture();
          const Rgb empty = shot.mean(cellX(0), cellY(0), 3);
          const Rgb disc = shot.mean(cellX(3), cellY(3), 3);
          return empty.g - std::max(empty.r, empty.b) > 25 && distance(empty, disc) > 60;
        },
        15000);
  }
  // Moves the pointer onto band at once and times how long the window takes
  // to light it; -1 when it does not within a second.
  int hoverAnswer(Region band) {
    const Picture before = capture();
    const auto start = Clock::now();
    session_->warpTo(app_.window, 160, (band.y0 + band.y1) / 2);
    while (msSince(start) < 1000) {
      if (differ(capture(), before, band) > 1.0) return msSince(start);
    }
    return -1;
  }
  // Alternates the pointer between the nick field and the connect button
  // while cond holds; returns every answer time.
  std::vector<int> hoverWhile(const std::function<bool()>& cond, int timeoutMs) {
    std::vector<int> answers;
    const auto start = Clock::now();
    bool toButton = true;
    while (cond() && msSince(start) < timeoutMs) {
      answers.push_back(hoverAnswer(toButton ? kConnectBand : kNickBand));
      toButton = !toButton;
      sleepMs(100);
    }
    return answers;
  }
  static std::string listOf(const std::vector<int>& values) {
    std::string text;
    for (int v : values) text += std::to_string(v) + " ";
    return text;
  }
};

TEST_F(ConnectionWindowTest, AServerThatTakesNoConnectionLeavesTheWindowAnsweringUntilCnxEchec) {
  if (!privateNetwork()) {
    GTEST_SKIP() << "no network namespace of its own (" << networkWhy()
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
  EXPECT_GT(differ(keep("connecting"), joinServer, kConnectBand), 1.0) << "no \"Connexion...\"";
  std::vector<int> answers = hoverWhile([] { return true; }, 2500);

  key("Escape");  // gives up, and stays on the join-server menu
  pointAway();
  sleepMs(300);
  EXPECT_LT(differ(keep("given-up"), joinServer, {0, 0, 319, 479}), 1.0);

  // Again, left to the limit: the window answers all along.
  const auto start = Clock::now();
  key("Return");
  // Until the main menu shows, with the notice over it as a rule: looked for
  // between the hover probes. The notice itself is checked in the other
  // tests of this file; seen here, it is only reported, for its detection
  // still misses it now and then.
  bool noticeSeen = false;
  const auto leftJoinServer = [&] {
    if (!onMainMenu()) return false;
    noticeSeen = noticeSeen || differ(capture(), app_.menu, kNotice) > 3.0;
    return true;
  };
  const std::vector<int> more = hoverWhile([&] { return !leftJoinServer(); }, 20000);
  answers.insert(answers.end(), more.begin(), more.end());
  ASSERT_TRUE(waitUntil([&] { return onMainMenu(); }, 5000)) << app_.process->log();
  EXPECT_GT(msSince(start), 5000) << "gave up long before the limit";
  if (!noticeSeen) {
    noticeSeen = waitUntil([&] { return differ(capture(), app_.menu, kNotice) > 3.0; }, 3000);
  }
  std::printf("CNX Echec %s over the main menu\n", noticeSeen ? "seen" : "not caught");
  keep("cnx-echec");
  EXPECT_NE(app_.process->log().find("cannot connect: IosSocket: Socket connection timed out"),
            std::string::npos)
      << app_.process->log();

  std::printf("hover answered after (ms): %s\n", listOf(answers).c_str());
  ASSERT_GT(answers.size(), 20u);
  EXPECT_EQ(std::count(answers.begin(), answers.end(), -1), 0) << listOf(answers);
  EXPECT_LE(*std::max_element(answers.begin(), answers.end()), 100) << listOf(answers);
}

TEST_F(ConnectionWindowTest, TheLocalServerKilledDuringAGameIsANoticeOverTheMainMenu) {
  click(160, 340);  // "Jouer en local"
  click(160, 140);  // "Pee"
  click(160, 340);  // "Jouer les noirs"
  ASSERT_TRUE(waitForBoard()) << app_.process->log();
  const std::vector<std::string> windows = session_->shownWindows();
  ASSERT_GT(app_.serverPid, 0);
  kill(app_.serverPid, SIGKILL);

  ASSERT_TRUE(waitUntil([&] { return onMainMenu(); }, 10000)) << app_.process->log();
  const auto shown = Clock::now();
  pointAway();
  sleepMs(600);
  EXPECT_GT(differ(keep("connexion-perdue"), app_.menu, kNotice), 3.0) << "no notice";
  sleepMs(1200);
  EXPECT_GT(differ(keep("connexion-perdue-later"), app_.menu, kNotice), 3.0)
      << "gone before its time, " << msSince(shown) << " ms after it came";
  EXPECT_EQ(session_->shownWindows(), windows) << "a window besides the game's";
  ASSERT_TRUE(waitUntil([&] { return differ(capture(), app_.menu, kNotice) < 1.0; }, 5000));
  const std::string log = app_.process->log();
  EXPECT_NE(log.find("connection lost"), std::string::npos) << log;
  EXPECT_EQ(log.find("Unexpected error"), std::string::npos) << log;
}

TEST_F(ConnectionWindowTest, AnOpponentLeavingAnInternetGameLeavesAbandonOnTheStatusLine) {
  click(160, 390);  // "Jouer sur internet"
  click(160, 440);  // "Se connecter", to the local server
  ASSERT_TRUE(app_.process->waitForLog("Renaming to Guest", 5000)) << app_.process->log();
  pointAway();

  Opponent bob;
  bob.client = std::make_unique<vgl::GameClient>(0, &bob, "127.0.0.1", kPort);
  bob.client->setNick("Bob");
  std::string guest;
  ASSERT_TRUE(bob.pumpUntil(
      [&] {
        if (bob.client->getNick() != L"Bob") return false;
        for (const std::string& name : bob.client->getPlayerNames()) {
          if (name.rfind("Guest", 0) == 0) guest = name;
        }
        return !guest.empty();
      },
      10000));
  bob.client->invite(guest.c_str(), 1);  // the guest plays black, and moves first
  ASSERT_TRUE(app_.process->waitForLog("Bob asks " + guest, 5000)) << app_.process->log();
  bob.pumpUntil([] { return false; }, 500);
  keep("invited");
  click(160, 390);  // "Accept"
  ASSERT_TRUE(bob.pumpUntil([&] { return !bob.games.empty(); }, 10000)) << app_.process->log();
  ASSERT_TRUE(waitForBoard()) << app_.process->log();
  sleepMs(500);
  const Picture playing = keep("playing");

  bob.client.reset();  // Bob leaves: the server closes the game
  ASSERT_TRUE(waitUntil([&] { return differ(capture(), playing, kStatusLine) > 2.0; }, 5000));
  const Picture abandoned = keep("abandon");
  sleepMs(4000);  // the list news has long come; the notice over the board has gone
  const Picture later = keep("abandon-later");
  EXPECT_GT(differ(later, playing, kStatusLine), 2.0) << "the turn text came back";
  EXPECT_LT(differ(later, abandoned, kStatusLine), 1.0) << "the status line changed again";
}

}  // namespace
