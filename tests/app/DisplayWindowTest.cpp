// The real vantor executable under Xvfb, on what the window shows and how
// the program is started: long texts fit inside the window, the wheel and
// the side buttons press nothing, each client plays its local games on its
// own server child, and GLUT's own options (-display, -geometry) reach GLUT
// while the server mode needs no display at all.
//
// Every client here finds its own server's port in its output, so these
// tests do not depend on port 4567 being free.
#include <gtest/gtest.h>
#include <sys/wait.h>

#include <algorithm>
#include <csignal>
#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <string>
#include <utility>
#include <vector>

#include "game/VantorGame.h"
#include "tests/app/ChildProcess.h"
#include "tests/app/WindowTest.h"
#include "tests/app/WindowTestSupport.h"

namespace {

const std::string kLaunchLine = "server launched on port ";

// The board as the window shows it, or 0 discs when no board is shown (on
// a menu few cells read as green).
int discsOn(const Picture& shot) {
  int discs = 0, empty = 0;
  for (int r = 0; r < 8; ++r) {
    for (int c = 0; c < 8; ++c) {
      const char cell = cellAt(shot, c, r);
      discs += cell != '.';
      empty += cell == '.';
    }
  }
  return empty >= 32 ? discs : 0;
}

// Pixels as bright as drawn text (white) in the rectangle.
int inkIn(const Picture& shot, int x0, int y0, int x1, int y1) {
  int ink = 0;
  for (int y = y0; y <= y1; ++y) {
    for (int x = x0; x <= x1; ++x) ink += shot.at(x, y).luminance() > 170;
  }
  return ink;
}

// The outer columns of the window, where a text cut at an edge leaves ink.
constexpr int kEdge = 8;
int inkAtTheEdges(const Picture& shot, int y0, int y1) {
  return inkIn(shot, 0, y0, kEdge - 1, y1) + inkIn(shot, 319 - (kEdge - 1), y0, 319, y1);
}

// Text ink over the cells of board rows 3 and 4 (0-based) that are empty in
// rules: where the notices are written, and where nothing else is white.
int inkOverEmptyCells(const Picture& shot, const VantorGame& rules) {
  int ink = 0;
  for (int row = 3; row <= 4; ++row) {
    for (int column = 0; column < 8; ++column) {
      if (rules.getCell(column + 1, row + 1) != kEmpty) continue;
      const int x = cellX(column) - 17, y = cellY(row) - 17;
      ink += inkIn(shot, x + 2, y + 2, x + 32, y + 32);
    }
  }
  return ink;
}

// The moves of a game, from the start, after which the side to move has to
// pass (the game not being over): the shortest found among seeded random
// games, so the same every run.
std::vector<std::pair<int, int>> movesToAPass() {
  std::vector<std::pair<int, int>> best;
  uint32_t seed = 12345;
  for (int game = 0; game < 3000; ++game) {
    VantorGame rules;
    std::vector<std::pair<int, int>> moves;
    while (rules.checkPass() == 0 && (best.empty() || moves.size() < best.size())) {
      std::vector<std::pair<int, int>> legal;
      for (int y = 1; y <= 8; ++y) {
        for (int x = 1; x <= 8; ++x) {
          if (rules.canPlay(x, y)) legal.emplace_back(x, y);
        }
      }
      seed = seed * 1103515245u + 12345u;
      const auto move = legal[(seed >> 16) % legal.size()];
      rules.play(move.first, move.second);
      moves.push_back(move);
    }
    if (rules.checkPass() == 1 && (best.empty() || moves.size() < best.size())) best = moves;
  }
  return best;
}

class DisplayWindowTest : public WindowTest {
 protected:
  // Starts a client with the extra arguments and waits for its window (any
  // window but except), for its server child's launch line and for its main
  // menu.
  ::testing::AssertionResult start(RunningClient& client, const std::vector<std::string>& options,
                                   const std::string& which, unsigned long except = 0) {
    const ::testing::AssertionResult launched = launch(client, options, which, except);
    if (!launched) return launched;
    if (!client.process->waitForLog(kLaunchLine, 10000)) {
      return ::testing::AssertionFailure() << "no launch line\n" << client.process->log();
    }
    const std::string log = client.process->log();
    client.port = std::atoi(log.c_str() + log.find(kLaunchLine) + kLaunchLine.size());
    return awaitMainMenu(client);
  }

  // Plays black against Pee from the main menu and waits for the board.
  ::testing::AssertionResult playAgainstPee(const RunningClient& client) {
    click(client, 160, 340);  // "Jouer en local"
    click(client, 160, 140);  // "Pee"
    click(client, 160, 340);  // "Jouer les noirs"
    if (waitUntil([&] { return discsOn(capture(client)) >= 4; }, 15000)) {
      return ::testing::AssertionSuccess();
    }
    keep(client, "no-board");
    return ::testing::AssertionFailure() << "no board\n" << client.process->log();
  }
  ::testing::AssertionResult quitFromTheMainMenu(const RunningClient& client) {
    click(client, 160, 439);  // "Quitter"
    const int status = client.process->waitExit(10000);
    if (status == -1) return ::testing::AssertionFailure() << "still running";
    if (!WIFEXITED(status) || WEXITSTATUS(status) != 0) {
      return ::testing::AssertionFailure() << "status " << status;
    }
    if (!waitUntil([&] { return !ChildProcess::processExists(client.serverPid); }, 5000)) {
      return ::testing::AssertionFailure() << "its server child still runs";
    }
    return ::testing::AssertionSuccess();
  }
};

TEST_F(DisplayWindowTest, APassNoticeFitsInsideTheWindow) {
  const std::vector<std::pair<int, int>> moves = movesToAPass();
  ASSERT_FALSE(moves.empty());
  RunningClient client;
  // Placed wholly on the screen, so that every column of it can be read.
  ASSERT_TRUE(start(client, {"-geometry", "+10+10"}, ""));
  click(client, 160, 340);  // "Jouer en local"
  click(client, 160, 59);   // "Deux joueurs"
  ASSERT_TRUE(waitUntil([&] { return discsOn(capture(client)) == 4; }, 15000))
      << client.process->log();
  sleepMs(1200);  // the discs fade in
  const Picture before = keep(client, "start");
  ASSERT_EQ(inkAtTheEdges(before, 100, 220), 0) << "ink at the edges before any notice";

  VantorGame rules;
  for (const auto& move : moves) {
    ASSERT_TRUE(session_->click(client.window, cellX(move.first - 1), cellY(move.second - 1)));
    rules.play(move.first, move.second);
    ASSERT_TRUE(waitUntil(
        [&] { return cellAt(capture(client), move.first - 1, move.second - 1) != '.'; }, 5000))
        << "move at (" << move.first << ", " << move.second << ") not shown";
  }
  // "Les noirs passent" or "Les blancs passent" on the band across the
  // board: every picture taken while it shows is checked.
  int shown = 0, worstEdge = 0;
  Picture worst;
  waitUntil(
      [&] {
        const Picture shot = capture(client);
        const bool showing = inkOverEmptyCells(shot, rules) > 20;
        if (showing) {
          const int edge = inkAtTheEdges(shot, 100, 220);
          if (shown++ == 0 || edge > worstEdge) {
            worstEdge = edge;
            worst = shot;
          }
        }
        return shown > 0 && !showing;
      },
      8000);
  ASSERT_GT(shown, 0) << "no pass notice\n" << client.process->log();
  worst.writePng(kArtifacts + "/" + name_ + "-notice.png");
  EXPECT_EQ(worstEdge, 0) << "the notice runs past an edge";
}

TEST_F(DisplayWindowTest, TheLongestStatusLineFitsInsideTheWindow) {
  RunningClient client;
  ASSERT_TRUE(start(client, {"-geometry", "+10+10"}, ""));
  click(client, 160, 340);           // "Jouer en local"
  click(client, 160, 140 + 49 * 4);  // "Desdemonia"
  click(client, 160, 340);           // "Jouer les noirs"
  ASSERT_TRUE(waitUntil([&] { return discsOn(capture(client)) == 4; }, 15000))
      << client.process->log();
  sleepMs(1200);
  const Picture yourTurn = keep(client, "your-turn");  // "C'est votre tour"

  // Desdemonia waits two seconds before she answers: meanwhile the status
  // says whose turn it is.
  ASSERT_TRUE(session_->click(client.window, cellX(4), cellY(2)));
  Picture status;
  ASSERT_TRUE(waitUntil(
      [&] {
        status = capture(client);
        return discsOn(status) == 5 && status.difference(yourTurn, 20, 325, 300, 360) > 3;
      },
      5000))
      << "the status line did not change";
  status.writePng(kArtifacts + "/" + name_ + "-status.png");
  EXPECT_GT(inkIn(status, 30, 325, 290, 360), 50) << "no status text";
  EXPECT_EQ(inkAtTheEdges(status, 315, 370), 0) << "the status line runs past an edge";
  EXPECT_EQ(inkIn(status, 0, 315, 19, 370) + inkIn(status, 301, 315, 319, 370), 0)
      << "the status line runs past its band";
}

TEST_F(DisplayWindowTest, TheWheelAndTheSideButtonsPressNothing) {
  RunningClient client;
  ASSERT_TRUE(start(client, {}, ""));
  const Picture menu = keep(client, "menu");
  ASSERT_TRUE(session_->moveTo(client.window, 160, 439));  // over "Quitter"
  for (const char* button : {"4", "5", "6", "7", "8", "9"}) {
    ChildProcess xdotool({"xdotool", "click", button}, "/dev/null");
    ASSERT_EQ(xdotool.waitExit(10000), 0) << "button " << button;
  }
  // A click that comes after them is served, so they have all been read.
  click(client, 160, 340);  // "Jouer en local"
  ASSERT_TRUE(waitUntil([&] { return capture(client).difference(menu, 0, 0, 319, 479) > 3; }, 5000))
      << "the click after the wheel was not served";
  EXPECT_EQ(client.process->waitExit(0), -1) << "the program ended";
  EXPECT_TRUE(ChildProcess::processExists(client.serverPid));
}

TEST_F(DisplayWindowTest, TwoClientsPlayOnTheirOwnServersAndOneGoesOnWhenTheOtherQuits) {
  RunningClient first, second;
  ASSERT_TRUE(start(first, {}, "-first"));
  // Beside the first window, so that both can be seen and clicked.
  ASSERT_TRUE(start(second, {"-geometry", "+320+0"}, "-second", first.window));
  EXPECT_NE(first.port, second.port);
  EXPECT_NE(first.serverPid, second.serverPid);

  ASSERT_TRUE(playAgainstPee(second));
  keep(second, "game");
  EXPECT_TRUE(second.process->waitForLog(" asks Pee[Bot]", 5000)) << second.process->log();
  EXPECT_EQ(first.process->log().find(" asks "), std::string::npos)
      << "the second client's game went to the first one's server\n"
      << first.process->log();

  ASSERT_TRUE(session_->key("Escape"));  // the second client leaves its game
  ASSERT_TRUE(quitFromTheMainMenu(first));
  ASSERT_TRUE(ChildProcess::processExists(second.serverPid));

  // A new game of the second client, on its own server.
  ASSERT_TRUE(
      waitUntil([&] { return capture(second).difference(second.menu, 0, 0, 319, 479) < 2; }, 5000))
      << "not the main menu";
  const size_t asked = second.process->log().rfind(" asks Pee[Bot]");
  ASSERT_TRUE(playAgainstPee(second));
  ASSERT_TRUE(
      waitUntil([&] { return second.process->log().rfind(" asks Pee[Bot]") != asked; }, 5000))
      << second.process->log();
  ASSERT_TRUE(session_->click(second.window, cellX(4), cellY(2)));
  EXPECT_TRUE(waitUntil([&] { return discsOn(capture(second)) >= 6; }, 12000))
      << "Pee does not answer";
  keep(second, "after-the-first-quit");
}

TEST_F(DisplayWindowTest, TheDisplayOptionOpensTheWindowOnThatDisplay) {
  const char* display = std::getenv("DISPLAY");
  ASSERT_NE(display, nullptr);
  // Without DISPLAY in its environment: only the option names the display.
  ChildProcess app({VANTOR_EXE, "-display", display}, logPath(""), false);
  ASSERT_TRUE(app.started());
  const unsigned long window = session_->findWindow("Vantor", 20000);
  ASSERT_NE(window, 0u) << app.log();
  ASSERT_TRUE(app.waitForLog(kLaunchLine, 10000)) << app.log();
  ASSERT_TRUE(session_->moveTo(window, 300, 200));
  ASSERT_TRUE(session_->key("Escape"));
  const int status = app.waitExit(10000);
  ASSERT_NE(status, -1) << "Escape did not end the client";
  EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0) << status;
}

TEST(VantorOptionsWithoutDisplay, AnUnopenableDisplayOptionIsRefusedInOneLine) {
  std::filesystem::create_directories(kArtifacts);
  ChildProcess app({VANTOR_EXE, "-display", ":999"}, kArtifacts + "/unopenable-display.log", false);
  ASSERT_TRUE(app.started());
  const int status = app.waitExit(10000);
  ASSERT_NE(status, -1);
  ASSERT_TRUE(WIFEXITED(status));
  EXPECT_EQ(WEXITSTATUS(status), 1);
  const std::string log = app.log();
  EXPECT_EQ(std::count(log.begin(), log.end(), '\n'), 1) << log;
  EXPECT_NE(log.find("\":999\""), std::string::npos) << log;
  EXPECT_EQ(log.find("Launch standalone server"), std::string::npos) << log;
}

TEST(VantorOptionsWithoutDisplay, TheServerModeIgnoresGlutOptionsAndNeedsNoDisplay) {
  std::filesystem::create_directories(kArtifacts);
  ChildProcess server({VANTOR_EXE, "-display", ":999", "S"},
                      kArtifacts + "/server-with-display-option.log", false);
  ASSERT_TRUE(server.started());
  EXPECT_TRUE(server.waitForLog(kLaunchLine, 10000)) << server.log();
  EXPECT_EQ(server.waitExit(0), -1) << "the server ended\n" << server.log();
  server.kill(SIGKILL);
  server.waitExit(5000);
}

TEST(VantorOptionsWithoutDisplay, OtherArgumentsStillSelectNothing) {
  std::filesystem::create_directories(kArtifacts);
  ChildProcess app({VANTOR_EXE, "-display", ":999", "s"}, kArtifacts + "/lower-case-s.log", false);
  ASSERT_TRUE(app.started());
  const int status = app.waitExit(10000);
  ASSERT_NE(status, -1);
  EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0) << status;
  EXPECT_EQ(app.log(), "");
}

}  // namespace
