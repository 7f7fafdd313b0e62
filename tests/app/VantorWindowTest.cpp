// The real vantor executable in a real window on a private X server, driven
// by real pointer and key input (xdotool) and checked on pictures of the
// window and on what its local server writes. Every picture is kept under
// artifacts/ in the build directory.
//
// The client connects to port 4567 by design, so these tests run one at a
// time and are skipped when another program already listens there.
#include <gtest/gtest.h>
#include <sys/wait.h>

#include <algorithm>
#include <chrono>
#include <csignal>
#include <filesystem>
#include <fstream>
#include <functional>
#include <memory>
#include <sstream>
#include <string>
#include <thread>
#include <utility>

#include "tests/app/Screenshot.h"
#include "tests/app/VantorProcess.h"
#include "tests/app/XSession.h"

namespace {

constexpr int kPort = 4567;

void sleepMs(int ms) {
  std::this_thread::sleep_for(std::chrono::milliseconds(ms));
}

bool waitUntil(const std::function<bool()>& cond, int timeoutMs) {
  auto end = std::chrono::steady_clock::now() + std::chrono::milliseconds(timeoutMs);
  do {
    if (cond()) return true;
    sleepMs(50);
  } while (std::chrono::steady_clock::now() < end);
  return cond();
}

// Whether something listens on 127.0.0.1 (or any address) at port.
bool listening(int port) {
  std::ifstream tcp("/proc/net/tcp");
  std::string line;
  std::getline(tcp, line);
  while (std::getline(tcp, line)) {
    std::istringstream fields(line);
    std::string slot, local, remote, state;
    fields >> slot >> local >> remote >> state;
    size_t colon = local.find(':');
    if (colon == std::string::npos || state != "0A") continue;
    if (std::stoi(local.substr(colon + 1), nullptr, 16) == port) return true;
  }
  return false;
}

// Cell centres of the board, columns and rows 0..7 from the top left.
int cellX(int column) {
  return 20 + 35 * column + 17;
}
int cellY(int row) {
  return 20 + 35 * row + 17;
}

// What a board cell shows. The board is green, black discs are dark grey
// and white discs light grey, so colour and brightness tell them apart.
enum class Cell { kEmpty, kBlack, kWhite };

class BoardReader {
 public:
  static Cell at(const Screenshot& shot, int column, int row) {
    Rgb c = sample(shot, column, row);
    if (c.g - std::max(c.r, c.b) > 25) return Cell::kEmpty;
    return c.luminance() < 100 ? Cell::kBlack : Cell::kWhite;
  }
  static int count(const Screenshot& shot, Cell what) {
    int n = 0;
    for (int c = 0; c < 8; ++c) {
      for (int r = 0; r < 8; ++r) n += at(shot, c, r) == what;
    }
    return n;
  }
  // A board with at least the four discs of the start.
  static bool shown(const Screenshot& shot) {
    return count(shot, Cell::kEmpty) <= 60 && count(shot, Cell::kBlack) >= 1 &&
           count(shot, Cell::kWhite) >= 1;
  }
  static std::string describe(const Screenshot& shot) {
    std::string out;
    for (int r = 0; r < 8; ++r) {
      for (int c = 0; c < 8; ++c) {
        Cell v = at(shot, c, r);
        out += v == Cell::kBlack ? 'X' : v == Cell::kWhite ? 'O' : '.';
      }
      out += '\n';
    }
    return out;
  }

 private:
  // Four small patches around the centre: off the last-move marker, on the
  // disc even while it leans after a flip.
  static Rgb sample(const Screenshot& shot, int column, int row) {
    int x = cellX(column), y = cellY(row);
    Rgb a = shot.mean(x - 7, y, 1), b = shot.mean(x + 7, y, 1), c = shot.mean(x, y - 7, 1),
        d = shot.mean(x, y + 7, 1);
    return Rgb{(a.r + b.r + c.r + d.r) / 4, (a.g + b.g + c.g + d.g) / 4,
               (a.b + b.b + c.b + d.b) / 4};
  }
};

// The rules, kept by the test to choose legal moves for both sides of a
// two-player game: board[x][y] with x and y 1..8, -1 black, +1 white.
class RulesModel {
 public:
  RulesModel() {
    board_[4][4] = board_[5][5] = -1;
    board_[5][4] = board_[4][5] = 1;
  }
  int turn() const { return turn_; }
  bool legal(int x, int y, int colour) const { return flips(x, y, colour, false) > 0; }
  bool hasMove(int colour) const {
    for (int x = 1; x <= 8; ++x) {
      for (int y = 1; y <= 8; ++y) {
        if (legal(x, y, colour)) return true;
      }
    }
    return false;
  }
  // The first legal move of the side to move in row order, as (x, y).
  std::pair<int, int> firstMove() const {
    for (int y = 1; y <= 8; ++y) {
      for (int x = 1; x <= 8; ++x) {
        if (legal(x, y, turn_)) return {x, y};
      }
    }
    return {0, 0};
  }
  // Plays for the side to move; the turn passes unless the other side cannot
  // move. Returns false when neither side can move any more.
  bool play(int x, int y) {
    flips(x, y, turn_, true);
    if (hasMove(-turn_)) {
      turn_ = -turn_;
    } else if (!hasMove(turn_)) {
      return false;
    }
    return true;
  }

 private:
  int flips(int x, int y, int colour, bool apply) const {
    if (board_[x][y] != 0) return 0;
    int total = 0;
    auto* self = const_cast<RulesModel*>(this);
    for (int dx = -1; dx <= 1; ++dx) {
      for (int dy = -1; dy <= 1; ++dy) {
        if (!dx && !dy) continue;
        int n = 0, cx = x + dx, cy = y + dy;
        while (cx >= 1 && cx <= 8 && cy >= 1 && cy <= 8 && board_[cx][cy] == -colour) {
          cx += dx;
          cy += dy;
          ++n;
        }
        if (n == 0 || cx < 1 || cx > 8 || cy < 1 || cy > 8 || board_[cx][cy] != colour) continue;
        total += n;
        if (apply) {
          for (int k = 1; k <= n; ++k) self->board_[x + k * dx][y + k * dy] = colour;
        }
      }
    }
    if (apply && total) self->board_[x][y] = colour;
    return total;
  }

  int board_[10][10] = {};
  int turn_ = -1;
};

class VantorWindowTest : public ::testing::Test {
 protected:
  static void SetUpTestSuite() {
    std::filesystem::create_directories(VANTOR_ARTIFACTS);
    session_ = new XSession();
    started_ = session_->start();
  }
  static void TearDownTestSuite() {
    delete session_;
    session_ = nullptr;
  }

  void SetUp() override {
    if (!started_) GTEST_SKIP() << session_->why();
    // A server child of an earlier test may take a moment to go.
    waitUntil([] { return !listening(kPort); }, 5000);
    if (listening(kPort)) {
      GTEST_SKIP() << "another program listens on port " << kPort
                   << ", where the client looks for its local server";
    }
    name_ = ::testing::UnitTest::GetInstance()->current_test_info()->name();
    app_.reset(new VantorProcess(VANTOR_EXE, session_->display(),
                                 std::string(VANTOR_ARTIFACTS) + "/" + name_ + ".log"));
    ASSERT_TRUE(app_->started());
    window_ = session_->findWindow("Vantor", 20000);
    ASSERT_NE(window_, 0u) << app_->log();
    ASSERT_TRUE(waitUntil([] { return listening(kPort); }, 10000)) << app_->log();
    serverPid_ = app_->childPid();
    // Away from every button, so nothing is hovered.
    session_->moveTo(window_, 300, 200);
    ASSERT_TRUE(waitUntil([&] { return capture().brightPixels(0, 0, 319, 479, 30) > 1000; }, 10000))
        << "the window stays black";
    sleepMs(300);
  }

  void TearDown() override {
    if (!app_) return;
    app_->kill(SIGKILL);
    app_->waitExit(5000);
    app_.reset();
  }

  Screenshot capture() { return session_->capture(window_); }
  Screenshot keep(const std::string& what) {
    Screenshot shot = capture();
    shot.writePng(std::string(VANTOR_ARTIFACTS) + "/" + name_ + "-" + what + ".png");
    return shot;
  }
  void click(int x, int y) {
    ASSERT_TRUE(session_->click(window_, x, y));
    sleepMs(250);
  }
  void key(const std::string& name) {
    ASSERT_TRUE(session_->key(name));
    sleepMs(250);
  }
  // Hovering over a band lights its text: the band changes, the rest not.
  double hoverChange(int y0, int y1) {
    session_->moveTo(window_, 300, 200);
    sleepMs(300);
    Screenshot before = capture();
    session_->moveTo(window_, 160, (y0 + y1) / 2);
    sleepMs(300);
    Screenshot after = capture();
    session_->moveTo(window_, 300, 200);
    sleepMs(300);
    return after.difference(before, 0, y0, 319, y1);
  }
  // Waits for the first picture of a game, and for its discs to fade in.
  bool waitForBoard() {
    if (!waitUntil([&] { return BoardReader::shown(capture()); }, 15000)) {
      keep("no-board");
      return false;
    }
    sleepMs(1200);
    return true;
  }

  // Waits until the board reads as rows (eight lines of "X", "O" and ".");
  // a disc that has just turned leans and wobbles for a few seconds, during
  // which its lighting does not tell its colour.
  ::testing::AssertionResult boardBecomes(const std::string& rows, int timeoutMs = 10000) {
    std::string expected;
    for (size_t i = 0; i < rows.size(); i += 8) expected += rows.substr(i, 8) + "\n";
    if (waitUntil([&] { return BoardReader::describe(capture()) == expected; }, timeoutMs)) {
      return ::testing::AssertionSuccess();
    }
    return ::testing::AssertionFailure() << "expected\n"
                                         << expected << "seen\n"
                                         << BoardReader::describe(capture());
  }

  static XSession* session_;
  static bool started_;
  std::string name_;
  std::unique_ptr<VantorProcess> app_;
  unsigned long window_ = 0;
  int serverPid_ = -1;
};

XSession* VantorWindowTest::session_ = nullptr;
bool VantorWindowTest::started_ = false;

TEST_F(VantorWindowTest, MainMenuShowsItsThreeTextsAndEscapeQuits) {
  keep("menu");
  EXPECT_GT(hoverChange(322, 358), 1.0) << "Jouer en local";
  EXPECT_GT(hoverChange(372, 408), 1.0) << "Jouer sur internet";
  EXPECT_GT(hoverChange(421, 457), 1.0) << "Quitter";
  EXPECT_LT(hoverChange(200, 240), 0.5) << "no text between the title and the buttons";
  session_->moveTo(window_, 160, 340);
  sleepMs(300);
  keep("menu-hover");

  ASSERT_GT(serverPid_, 0);
  EXPECT_TRUE(VantorProcess::processExists(serverPid_));
  session_->moveTo(window_, 300, 200);
  key("Escape");
  int status = app_->waitExit(5000);
  ASSERT_NE(status, -1) << "Escape did not end the client";
  EXPECT_TRUE(WIFEXITED(status));
  EXPECT_EQ(WEXITSTATUS(status), 0);
  EXPECT_TRUE(waitUntil([&] { return !VantorProcess::processExists(serverPid_); }, 3000));
  std::string log = app_->log();
  EXPECT_NE(log.find("Launch standalone server"), std::string::npos) << log;
  EXPECT_NE(log.find("Kill standalone server"), std::string::npos) << log;
}

TEST_F(VantorWindowTest, TheServerChildDiesWithAKilledClient) {
  ASSERT_GT(serverPid_, 0);
  app_->kill(SIGKILL);
  app_->waitExit(5000);
  EXPECT_TRUE(waitUntil([&] { return !VantorProcess::processExists(serverPid_); }, 3000))
      << "the server outlived its client";
}

TEST_F(VantorWindowTest, PlayingBlackAgainstPee) {
  click(160, 340);  // "Jouer en local"
  keep("local-centre");
  click(160, 140);  // "Pee"
  keep("colour-selection");
  click(160, 340);  // "Jouer les noirs"
  ASSERT_TRUE(waitForBoard()) << app_->log();
  EXPECT_NE(app_->log().find(" asks Pee[Bot]"), std::string::npos) << app_->log();
  const std::string empty(8, '.');
  ASSERT_TRUE(
      boardBecomes(empty + empty + empty + "...XO..." + "...OX..." + empty + empty + empty));
  Screenshot start = keep("start");

  // An illegal cell: the notice shows, nothing is placed.
  click(cellX(0), cellY(0));
  sleepMs(400);
  Screenshot refused = keep("coup-invalide");
  EXPECT_GT(refused.difference(start, 0, 0, 319, 479), 3.0) << "no notice over the board";
  EXPECT_EQ(BoardReader::at(refused, 0, 0), Cell::kEmpty);
  sleepMs(2000);  // the notice fades

  // The same player clicks again, on a legal cell (x 5, y 3), which turns (5, 4).
  click(cellX(4), cellY(2));
  EXPECT_TRUE(
      boardBecomes(empty + empty + "....X..." + "...XX..." + "...OX..." + empty + empty + empty));
  Screenshot played = keep("black-played");
  EXPECT_GT(played.difference(start, 100, 380, 319, 430), 0.5) << "the counts did not change";

  // Pee answers within a few seconds: a sixth disc, and white takes at
  // least one back.
  ASSERT_TRUE(waitUntil(
      [&] {
        Screenshot shot = capture();
        return BoardReader::count(shot, Cell::kEmpty) == 58 &&
               BoardReader::count(shot, Cell::kWhite) >= 2;
      },
      12000))
      << BoardReader::describe(capture());
  Screenshot answered = keep("game");
  EXPECT_GT(answered.difference(played, 100, 380, 319, 430), 0.5) << "the counts did not change";
}

TEST_F(VantorWindowTest, AComputerPlayingBlackOpens) {
  click(160, 340);       // "Jouer en local"
  click(160, 140 + 49);  // "Chicken"
  click(160, 390);       // "Jouer les blancs"
  ASSERT_TRUE(waitForBoard()) << app_->log();
  EXPECT_NE(app_->log().find(" asks Chicken[Bot]"), std::string::npos) << app_->log();
  ASSERT_TRUE(waitUntil(
      [&] {
        Screenshot shot = capture();
        return BoardReader::count(shot, Cell::kBlack) == 4 &&
               BoardReader::count(shot, Cell::kWhite) == 1;
      },
      12000))
      << BoardReader::describe(capture());
  keep("opened");
}

TEST_F(VantorWindowTest, TwoPeopleAtOneScreenAlternateColours) {
  click(160, 340);  // "Jouer en local"
  click(160, 59);   // "Deux joueurs"
  ASSERT_TRUE(waitForBoard()) << app_->log();
  std::string log = app_->log();
  EXPECT_NE(log.find("Renaming to Black"), std::string::npos) << log;
  EXPECT_NE(log.find("Renaming to White"), std::string::npos) << log;
  EXPECT_NE(log.find("Black asks White"), std::string::npos) << log;
  const std::string empty(8, '.');

  click(cellX(4), cellY(2));  // black at x 5, y 3, turning (5, 4)
  ASSERT_TRUE(
      boardBecomes(empty + empty + "....X..." + "...XX..." + "...OX..." + empty + empty + empty));
  click(cellX(3), cellY(2));  // white at x 4, y 3, turning (4, 4)
  EXPECT_TRUE(
      boardBecomes(empty + empty + "...OX..." + "...OX..." + "...OX..." + empty + empty + empty));
  keep("two-moves");
}

TEST_F(VantorWindowTest, TwoPeoplePlayAGameToItsEnd) {
  Screenshot menu = capture();
  click(160, 340);  // "Jouer en local"
  click(160, 59);   // "Deux joueurs"
  ASSERT_TRUE(waitForBoard()) << app_->log();
  RulesModel rules;
  bool going = true;
  int moves = 0;
  while (going) {
    std::pair<int, int> move = rules.firstMove();
    ASSERT_NE(move.first, 0);
    int column = move.first - 1, row = move.second - 1;
    ASSERT_TRUE(session_->click(window_, cellX(column), cellY(row)));
    // The disc appears once the server has played the move.
    ASSERT_TRUE(
        waitUntil([&] { return BoardReader::at(capture(), column, row) != Cell::kEmpty; }, 5000))
        << "move " << moves << " at (" << move.first << ", " << move.second << ") not shown\n"
        << BoardReader::describe(capture());
    going = rules.play(move.first, move.second);
    ++moves;
    sleepMs(80);
  }
  EXPECT_GE(moves, 20);
  // The game-over picture fades in over the final board.
  sleepMs(1500);
  Screenshot end = keep("game-over");
  EXPECT_GT(end.difference(menu, 0, 0, 319, 479), 3.0);
  session_->moveTo(window_, 300, 200);
  key("Return");  // dismisses it
  sleepMs(600);
  Screenshot back = keep("after-game");
  EXPECT_LT(back.difference(menu, 0, 0, 319, 479), 2.0) << "not the main menu";
}

TEST_F(VantorWindowTest, InternetPlayThroughTheLobbyOfLocalhost) {
  Screenshot menu = capture();
  click(160, 390);  // "Jouer sur internet"
  keep("join-server");
  click(160, 440);  // "Se connecter", to the default host "localhost"
  ASSERT_TRUE(app_->waitForLog("Renaming to Guest", 5000)) << app_->log();
  sleepMs(800);
  session_->moveTo(window_, 300, 470);
  sleepMs(300);
  Screenshot lobby = keep("lobby");

  // The seven computer players fill the first seven rows: each row lights
  // up under the pointer; the eighth row is empty.
  for (int k = 0; k < 8; ++k) {
    int y = 57 + 19 * k + 9;
    session_->moveTo(window_, 60, y);
    sleepMs(300);
    Screenshot lit = capture();
    double change = lit.difference(lobby, 20, 55 + 19 * k, 160, 55 + 19 * k + 18);
    if (k < 7) {
      EXPECT_GT(change, 1.0) << "row " << k;
    } else {
      EXPECT_LT(change, 0.5) << "row " << k;
    }
  }

  // The first row is Pee[Bot]: a click invites it, and it accepts.
  session_->moveTo(window_, 60, 66);
  sleepMs(200);
  click(60, 66);
  ASSERT_TRUE(app_->waitForLog(" asks Pee[Bot]", 5000)) << app_->log();
  ASSERT_TRUE(waitForBoard()) << app_->log();
  keep("internet-game");

  key("Escape");  // back to the lobby
  sleepMs(500);
  session_->moveTo(window_, 300, 470);
  sleepMs(300);
  Screenshot back = keep("lobby-again");
  EXPECT_LT(back.difference(lobby, 0, 0, 319, 479), 2.0) << "not the lobby";

  key("Escape");  // back to the main menu
  session_->moveTo(window_, 300, 200);
  sleepMs(500);
  Screenshot main = keep("menu-again");
  EXPECT_LT(main.difference(menu, 0, 0, 319, 479), 2.0) << "not the main menu";
}

TEST_F(VantorWindowTest, WithoutALocalServerAColourShowsEchecOverTheMainMenu) {
  Screenshot menu = capture();
  ASSERT_GT(serverPid_, 0);
  kill(serverPid_, SIGKILL);
  ASSERT_TRUE(waitUntil([] { return !listening(kPort); }, 5000));
  click(160, 340);  // "Jouer en local"
  click(160, 140);  // "Pee"
  click(160, 340);  // "Jouer les noirs"
  session_->moveTo(window_, 300, 200);
  sleepMs(800);
  Screenshot echec = keep("echec");
  EXPECT_GT(echec.difference(menu, 0, 0, 319, 479), 3.0) << "no notice";
  // Once the notice has gone, the main menu is there as before.
  sleepMs(3500);
  Screenshot after = keep("after-echec");
  EXPECT_LT(after.difference(menu, 0, 0, 319, 479), 1.0) << "not the main menu";
  click(160, 340);
  EXPECT_GT(capture().difference(menu, 0, 0, 319, 479), 3.0)
      << "the main menu answers clicks again";
}

TEST(VantorWithoutDisplay, SaysSoInOneLineAndFails) {
  std::filesystem::create_directories(VANTOR_ARTIFACTS);
  VantorProcess app(VANTOR_EXE, "", std::string(VANTOR_ARTIFACTS) + "/without-display.log");
  ASSERT_TRUE(app.started());
  int status = app.waitExit(10000);
  ASSERT_NE(status, -1);
  ASSERT_TRUE(WIFEXITED(status));
  EXPECT_NE(WEXITSTATUS(status), 0);
  std::string log = app.log();
  EXPECT_EQ(std::count(log.begin(), log.end(), '\n'), 1) << log;
  EXPECT_NE(log.find("display"), std::string::npos) << log;
  EXPECT_EQ(log.find("Launch standalone server"), std::string::npos) << log;
}

}  // namespace
