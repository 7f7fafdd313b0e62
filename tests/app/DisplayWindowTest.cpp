// The real vantor executable under Xvfb, on what only the real program and
// real input can show: long texts fit inside the window, the wheel and the
// side buttons press nothing, each client plays its local games on its own
// server child which ends with it (by Escape, or killed), GLUT's own
// options (-display, -geometry) reach GLUT, a whole game against Pee is
// played with the keyboard alone, H hides the legal-move dots for this run
// and the next, and without a display the client is refused in one line.
// (The server mode, run without a display, is the server-mode tests'.)
//
// Every client here finds its own server's port in its output, so these
// tests do not depend on port 4567 being free.
#include <gtest/gtest.h>
#include <sys/wait.h>

#include <algorithm>
#include <csignal>
#include <cstdlib>
#include <filesystem>
#include <initializer_list>
#include <string>
#include <utility>
#include <vector>

#include "game/VantorGame.h"
#include "tests/app/ChildProcess.h"
#include "tests/app/WindowTest.h"
#include "tests/app/WindowTestSupport.h"

namespace {

// Pixels as bright as drawn text (white) in the rectangle.
int inkIn(const Picture& shot, int x0, int y0, int x1, int y1) {
  int ink = 0;
  for (int y = y0; y <= y1; ++y) {
    for (int x = x0; x <= x1; ++x) ink += shot.at(x, y).luminance() > 170;
  }
  return ink;
}

// The outer eight columns of the window, where a text cut at an edge leaves ink.
int inkAtTheEdges(const Picture& shot, int y0, int y1) {
  return inkIn(shot, 0, y0, 7, y1) + inkIn(shot, 312, y0, 319, y1);
}

// Text ink over the cells of board rows 3 and 4 (0-based) that are empty in
// rules: where the notices are written, and where nothing else is white.
int inkOverEmptyCells(const Picture& shot, const VantorGame& rules) {
  int ink = 0;
  for (int cell = 24; cell < 40; ++cell) {
    if (rules.getCell(cell % 8 + 1, cell / 8 + 1) != kEmpty) continue;
    const int x = cellX(cell % 8) - 17, y = cellY(cell / 8) - 17;
    ink += inkIn(shot, x + 2, y + 2, x + 32, y + 32);
  }
  return ink;
}

// Whether each cell of the picture shows the disc rules have there.
bool showsBoard(const Picture& shot, const VantorGame& rules) {
  for (int cell = 0; cell < 64; ++cell) {
    const int disc = rules.getCell(cell % 8 + 1, cell / 8 + 1);
    const char expected = disc == kBlack ? 'X' : disc == kWhite ? 'O' : '.';
    if (cellAt(shot, cell % 8, cell / 8) != expected) return false;
  }
  return true;
}

// Whether the empty cell shows a legal-move dot: its centre darker than the
// board beside it.
bool markedAt(const Picture& shot, int column, int row) {
  const int x = cellX(column), y = cellY(row);
  return cellAt(shot, column, row) == '.' &&
         shot.at(x, y).luminance() < 0.8 * shot.at(x + 10, y + 10).luminance();
}

// The cells of the picture that show a dot, in column order.
std::vector<std::pair<int, int>> markedCells(const Picture& shot) {
  std::vector<std::pair<int, int>> cells;
  for (int column = 0; column < 8; ++column) {
    for (int row = 0; row < 8; ++row) {
      if (markedAt(shot, column, row)) cells.emplace_back(column, row);
    }
  }
  return cells;
}

class DisplayWindowTest : public WindowTest {
 protected:
  // Clicks the menu bands at these heights, from the main menu, and waits
  // for the board of a new game.
  ::testing::AssertionResult openGame(const RunningClient& client,
                                      std::initializer_list<int> bands) {
    for (int y : bands) click(client, 160, y);
    if (waitUntil([&] { return discsOn(capture(client)) == 4; }, 15000)) {
      return ::testing::AssertionSuccess();
    }
    keep(client, "no-board");
    return ::testing::AssertionFailure() << "no board\n" << client.process->log();
  }
};

TEST_F(DisplayWindowTest, APassNoticeFitsInsideTheWindow) {
  // Two people at one screen play these moves; then the side to move has to
  // pass. The board is read cell by cell at the start and at the end.
  const std::pair<int, int> moves[] = {{3, 5}, {3, 6}, {5, 3}, {2, 5},
                                       {1, 5}, {1, 4}, {2, 7}, {1, 6}};
  RunningClient client;
  ASSERT_TRUE(start(client, {}, ""));
  ASSERT_TRUE(openGame(client, {340, 59}));  // "Jouer en local", "Deux joueurs"
  VantorGame rules;
  EXPECT_TRUE(waitUntil([&] { return showsBoard(capture(client), rules); }, 10000))
      << "not the start";
  ASSERT_EQ(inkAtTheEdges(keep(client, "start"), 100, 220), 0) << "ink before any notice";
  for (const auto& move : moves) {
    ASSERT_TRUE(session_->click(client.window, cellX(move.first - 1), cellY(move.second - 1)));
    rules.play(move.first, move.second);
    ASSERT_TRUE(waitUntil(
        [&] { return cellAt(capture(client), move.first - 1, move.second - 1) != '.'; }, 5000))
        << "move at (" << move.first << ", " << move.second << ") not shown";
  }
  ASSERT_EQ(rules.checkPass(), 1);
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
  // Each cell shows the disc of its colour, once the turned ones have
  // settled (they lean and wobble for a few seconds).
  EXPECT_TRUE(waitUntil([&] { return showsBoard(capture(client), rules); }, 10000));
  keep(client, "board");
}

TEST_F(DisplayWindowTest, AfterTheWheelAndTheSideButtonsTheLongestStatusLineFits) {
  RunningClient client;
  ASSERT_TRUE(start(client, {}, ""));
  // Over "Quitter", the wheel and the side buttons press nothing: the
  // program goes on to serve the clicks that follow.
  ASSERT_TRUE(session_->moveTo(client.window, 160, 439));
  for (const char* button : {"4", "5", "6", "7", "8", "9"}) {
    ASSERT_TRUE(session_->xdotool({"click", button})) << "button " << button;
  }
  // "Jouer en local", "Desdemonia", "Jouer les noirs".
  ASSERT_TRUE(openGame(client, {340, 140 + 49 * 4, 340}));
  const VantorGame opening;
  ASSERT_TRUE(waitUntil([&] { return showsBoard(capture(client), opening); }, 10000));
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
  EXPECT_EQ(inkIn(status, 0, 315, 19, 370) + inkIn(status, 301, 315, 319, 370), 0)
      << "the status line runs past its band";
}

// Two clients side by side, each with its server child: when one ends, by
// Escape, its server ends with it and the other plays on its own; a killed
// client's server ends too. The first has no DISPLAY in its environment:
// only GLUT's -display option names the display.
TEST_F(DisplayWindowTest, TwoClientsPlayOnTheirOwnServersWhichEndWithThem) {
  const char* display = std::getenv("DISPLAY");
  ASSERT_NE(display, nullptr);
  RunningClient first, second;
  ASSERT_TRUE(start(first, {"-display", display}, "-first", 0, false));
  // Beside the first window, so that both can be seen and clicked.
  ASSERT_TRUE(start(second, {"-geometry", "+320+0"}, "-second", first.window));
  EXPECT_NE(first.port, second.port);
  EXPECT_NE(first.serverPid, second.serverPid);

  pointAway(first);  // the key goes to the window under the pointer
  key("Escape");
  EXPECT_EQ(first.process->waitExit(10000), 0) << "not ended, or not with status 0";
  EXPECT_TRUE(waitUntil([&] { return !ChildProcess::processExists(first.serverPid); }, 5000))
      << "its server child still runs";
  // The lines an operator reads about the server child.
  const std::string log = first.process->log();
  EXPECT_NE(log.find("Launch standalone server"), std::string::npos) << log;
  EXPECT_NE(log.find("Kill standalone server"), std::string::npos) << log;

  ASSERT_TRUE(ChildProcess::processExists(second.serverPid));
  ASSERT_TRUE(openGame(second, {340, 140, 340}));  // "Jouer en local", "Pee", "Jouer les noirs"
  EXPECT_TRUE(second.process->waitForLog(" asks Pee[Bot]", 5000)) << second.process->log();
  ASSERT_TRUE(session_->click(second.window, cellX(4), cellY(2)));
  EXPECT_TRUE(waitUntil([&] { return discsOn(capture(second)) >= 6; }, 12000))
      << "Pee does not answer";

  second.process->kill(SIGKILL);
  second.process->waitExit(5000);
  EXPECT_TRUE(waitUntil([&] { return !ChildProcess::processExists(second.serverPid); }, 3000))
      << "the server outlived its killed client";
}

TEST_F(DisplayWindowTest, HHidesTheLegalMoveDotsAndTheNextRunRemembers) {
  // A settings directory of this test's own, never the user's.
  const std::string config = kArtifacts + "/" + name_ + "-config";
  std::filesystem::remove_all(config);
  const std::string suiteConfig = std::getenv("XDG_CONFIG_HOME");
  setenv("XDG_CONFIG_HOME", std::filesystem::absolute(config).c_str(), 1);
  const std::vector<std::pair<int, int>> opening{{2, 4}, {3, 5}, {4, 2}, {5, 3}};
  const auto dots = [&](const RunningClient& client) { return markedCells(capture(client)); };
  for (bool shownAtStart : {true, false}) {
    RunningClient client;
    ASSERT_TRUE(start(client, {}, shownAtStart ? "-first" : "-second"));
    ASSERT_TRUE(openGame(client, {340, 59}));  // "Jouer en local", "Deux joueurs"
    pointAway(client);
    if (shownAtStart) {
      EXPECT_TRUE(waitUntil([&] { return dots(client) == opening; }, 5000));
      keep(client, "dots");
      key("h");
    }
    EXPECT_TRUE(waitUntil([&] { return dots(client).empty(); }, 5000)) << shownAtStart;
    if (!shownAtStart) {
      key("h");
      EXPECT_TRUE(waitUntil([&] { return dots(client) == opening; }, 5000));
    }
    key("Escape");
    key("Escape");
    EXPECT_EQ(client.process->waitExit(10000), 0);
  }
  setenv("XDG_CONFIG_HOME", suiteConfig.c_str(), 1);
}

TEST_F(DisplayWindowTest, AWholeGameAgainstPeeIsPlayedWithTheKeyboardAlone) {
  RunningClient client;
  ASSERT_TRUE(start(client, {}, ""));
  // Keys go to the window under the pointer, kept where no menu entry is.
  pointAway(client, 100);
  // "Jouer en local"; "Deux joueurs", then Pee; "Jouer les noirs".
  for (const char* name : {"Return", "Down", "Down", "Return", "Down", "Return"}) key(name);
  ASSERT_TRUE(waitUntil([&] { return discsOn(capture(client)) == 4; }, 15000))
      << client.process->log();
  key("Right");  // shows the cursor on its first cell, column 3 and row 3
  int column = 3, row = 3, moves = 0;
  // Each turn: the first dotted cell, seen twice alike so that no wobbling
  // disc is taken for a dot, is reached by the arrows and played by Enter.
  std::vector<std::pair<int, int>> dots;
  const auto steadyDots = [&] {
    dots = markedCells(capture(client));
    sleepMs(200);
    return !dots.empty() && markedCells(capture(client)) == dots;
  };
  while (waitUntil(steadyDots, 10000)) {
    // One xdotool run: the window takes the keys in the order they come.
    std::vector<std::string> keys{"key", "--delay", "30"};
    for (; column < dots[0].first; ++column) keys.push_back("Right");
    for (; column > dots[0].first; --column) keys.push_back("Left");
    for (; row < dots[0].second; ++row) keys.push_back("Down");
    for (; row > dots[0].second; --row) keys.push_back("Up");
    keys.push_back("Return");
    ASSERT_TRUE(session_->xdotool(keys));
    ++moves;
    ASSERT_LT(moves, 64) << "the game never ends";
    // Pee may pass, so the dots may come back at once: the disc tells.
    if (!waitUntil([&] { return cellAt(capture(client), column, row) != '.'; }, 5000)) {
      keep(client, "not-taken");
      FAIL() << "move " << moves << " at " << column << ", " << row << " not taken";
    }
  }
  keep(client, "end");
  EXPECT_GE(moves, 10);
  key("Return");  // dismisses the game-over picture
  EXPECT_TRUE(
      waitUntil([&] { return capture(client).difference(client.menu, 0, 0, 319, 479) < 2; }, 5000))
      << "the game did not end\n"
      << client.process->log();
}

// Resized to twice the design, the main menu is its 1x picture scaled (each
// 16-unit square of the design the same colour on average, the texts being
// sharper, not the same), and a click where "Jouer en local" is drawn at 2x
// opens the local centre: back at 1x, its "Deux joueurs" starts a game.
TEST_F(DisplayWindowTest, ResizedToTwiceTheDesignItShowsTheMenuScaledAndTakesScaledClicks) {
  RunningClient client;
  ASSERT_TRUE(start(client, {}, ""));
  const auto resize = [&](int width, int height) {
    session_->xdotool({"windowsize", std::to_string(client.window), std::to_string(width),
                       std::to_string(height)});
    // Drawn again at the new size: no band of black left at the far corner.
    return waitUntil(
        [&] {
          const Picture shot = capture(client);
          return shot.width() == width && shot.height() == height &&
                 shot.at(width - 2, height - 2).luminance() > 10;
        },
        5000);
  };
  ASSERT_TRUE(resize(640, 960)) << client.process->log();
  sleepMs(300);
  const Picture scaled = keep(client, "twice");
  int worst = 0;
  for (int y = 8; y < 480; y += 16) {
    for (int x = 8; x < 320; x += 16) {
      worst = std::max(worst, distance(client.menu.mean(x, y, 7), scaled.mean(2 * x, 2 * y, 15)));
    }
  }
  EXPECT_LE(worst, 16);

  click(client, 2 * 160, 2 * 340);  // "Jouer en local"
  ASSERT_TRUE(resize(320, 480));
  ASSERT_TRUE(openGame(client, {59}));  // "Deux joueurs"
}

TEST(VantorWithoutDisplay, RefusesTheClientInOneLineButNotWordsThatChooseNoMode) {
  std::filesystem::create_directories(kArtifacts);
  struct Case {
    std::vector<std::string> arguments;
    int exitCode;
    std::string says;  // in the one line written; "" for no line at all
  };
  const Case cases[] = {
      {{}, 1, "(DISPLAY is not set)"},
      {{"-display", ":999"}, 1, "\":999\""},
      {{"-display", ":999", "s"}, 0, ""},  // selects nothing, as without the option
  };
  int run = 0;
  for (const Case& c : cases) {
    std::vector<std::string> command{VANTOR_EXE};
    command.insert(command.end(), c.arguments.begin(), c.arguments.end());
    const std::string logPath = kArtifacts + "/without-display-" + std::to_string(++run) + ".log";
    ChildProcess app(command, logPath, false);
    const int status = app.waitExit(10000);
    EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == c.exitCode) << run << ": " << status;
    const std::string log = app.log();
    EXPECT_EQ(std::count(log.begin(), log.end(), '\n'), c.says.empty() ? 0 : 1) << log;
    EXPECT_TRUE(c.says.empty() ? log.empty() : log.find(c.says) != std::string::npos) << log;
  }
}

}  // namespace
