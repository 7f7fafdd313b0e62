// The real vantor executable in a real window on a private X server, driven
// by real pointer and key input (xdotool) and checked on pictures of the
// window and on what its local server writes. Every picture is kept under
// artifacts/ in the build directory.
//
// The client's local server takes port 4567 by design; the fixture gives
// the tests a network namespace of their own, so that the port is theirs.
#include <gtest/gtest.h>
#include <sys/wait.h>

#include <algorithm>
#include <csignal>
#include <filesystem>
#include <string>

#include "game/VantorGame.h"
#include "tests/app/ChildProcess.h"
#include "tests/app/FixedPortWindowTest.h"
#include "tests/app/WindowTestSupport.h"

namespace {

// The board as eight rows of eight cells, one line each.
std::string boardOf(const Picture& shot) {
  std::string rows;
  for (int r = 0; r < 8; ++r) {
    for (int c = 0; c < 8; ++c) rows += cellAt(shot, c, r);
    rows += '\n';
  }
  return rows;
}

int count(const std::string& board, char cell) {
  return static_cast<int>(std::count(board.begin(), board.end(), cell));
}

const std::string kEmptyRow = "........\n";
const std::string kStart = kEmptyRow + kEmptyRow + kEmptyRow + "...XO...\n" + "...OX...\n" +
                           kEmptyRow + kEmptyRow + kEmptyRow;
// Black has played x 5, y 3, turning (5, 4).
const std::string kBlackPlayed = kEmptyRow + kEmptyRow + "....X...\n" + "...XX...\n" +
                                 "...OX...\n" + kEmptyRow + kEmptyRow + kEmptyRow;
// Then white x 4, y 3, turning (4, 4).
const std::string kWhiteAnswered = kEmptyRow + kEmptyRow + "...OX...\n" + "...OX...\n" +
                                   "...OX...\n" + kEmptyRow + kEmptyRow + kEmptyRow;

class VantorWindowTest : public FixedPortWindowTest {
 protected:
  // How much a picture differs from the main menu as first shown.
  double fromMenu(const Picture& shot) { return shot.difference(app_.menu, 0, 0, 319, 479); }
  // Hovering over a band lights its text: how much the band changes.
  double hoverChange(int y0, int y1) {
    pointAway();
    const Picture before = capture();
    session_->moveTo(app_.window, 160, (y0 + y1) / 2);
    sleepMs(300);
    const Picture after = capture();
    pointAway();
    return after.difference(before, 0, y0, 319, y1);
  }
  // Waits for the first picture of a game (the four discs of the start at
  // least), and for its discs to fade in.
  bool waitForBoard() {
    if (!waitUntil(
            [&] {
              const std::string board = boardOf(capture());
              return count(board, '.') <= 60 && count(board, 'X') && count(board, 'O');
            },
            15000)) {
      keep("no-board");
      return false;
    }
    sleepMs(1200);
    return true;
  }
  // Waits until the board reads as rows; a disc that has just turned leans
  // and wobbles for a few seconds, during which its lighting does not tell
  // its colour.
  ::testing::AssertionResult boardBecomes(const std::string& rows) {
    if (waitUntil([&] { return boardOf(capture()) == rows; }, 10000)) {
      return ::testing::AssertionSuccess();
    }
    return ::testing::AssertionFailure() << "expected\n" << rows << "seen\n" << boardOf(capture());
  }
  // "Jouer en local", then a computer opponent and a colour.
  void chooseLocal(int opponentY, int colourY) {
    click(160, 340);
    click(160, opponentY);
    click(160, colourY);
  }
};

TEST_F(VantorWindowTest, MainMenuShowsItsThreeTextsAndEscapeQuitsWithItsServer) {
  keep("menu");
  EXPECT_GT(hoverChange(322, 358), 1.0) << "Jouer en local";
  EXPECT_GT(hoverChange(372, 408), 1.0) << "Jouer sur internet";
  EXPECT_GT(hoverChange(421, 457), 1.0) << "Quitter";
  EXPECT_LT(hoverChange(200, 240), 0.5) << "no text between the title and the buttons";
  session_->moveTo(app_.window, 160, 340);
  sleepMs(300);
  keep("menu-hover");

  ASSERT_TRUE(ChildProcess::processExists(app_.serverPid));
  pointAway();
  key("Escape");
  const int status = app_.process->waitExit(5000);
  ASSERT_NE(status, -1) << "Escape did not end the client";
  EXPECT_TRUE(WIFEXITED(status));
  EXPECT_EQ(WEXITSTATUS(status), 0);
  EXPECT_TRUE(waitUntil([&] { return !ChildProcess::processExists(app_.serverPid); }, 3000));
  const std::string log = app_.process->log();
  EXPECT_NE(log.find("Launch standalone server"), std::string::npos) << log;
  EXPECT_NE(log.find("Kill standalone server"), std::string::npos) << log;
}

TEST_F(VantorWindowTest, TheServerChildDiesWithAKilledClient) {
  ASSERT_TRUE(ChildProcess::processExists(app_.serverPid));
  app_.process->kill(SIGKILL);
  app_.process->waitExit(5000);
  EXPECT_TRUE(waitUntil([&] { return !ChildProcess::processExists(app_.serverPid); }, 3000))
      << "the server outlived its client";
}

TEST_F(VantorWindowTest, PlayingBlackAgainstPee) {
  click(160, 340);  // "Jouer en local"
  keep("local-centre");
  click(160, 140);  // "Pee"
  keep("colour-selection");
  click(160, 340);  // "Jouer les noirs"
  ASSERT_TRUE(waitForBoard()) << app_.process->log();
  EXPECT_NE(app_.process->log().find(" asks Pee[Bot]"), std::string::npos) << app_.process->log();
  ASSERT_TRUE(boardBecomes(kStart));
  const Picture start = keep("start");

  // An illegal cell: the notice shows, nothing is placed.
  click(cellX(0), cellY(0));
  sleepMs(400);
  const Picture refused = keep("coup-invalide");
  EXPECT_GT(refused.difference(start, 0, 0, 319, 479), 3.0) << "no notice over the board";
  EXPECT_EQ(cellAt(refused, 0, 0), '.');
  sleepMs(2000);  // the notice fades

  // The same player clicks again, on a legal cell.
  click(cellX(4), cellY(2));
  EXPECT_TRUE(boardBecomes(kBlackPlayed));
  const Picture played = keep("black-played");
  EXPECT_GT(played.difference(start, 100, 380, 319, 430), 0.5) << "the counts did not change";

  // Pee answers within a few seconds: a sixth disc, and white takes at least one back.
  ASSERT_TRUE(waitUntil(
      [&] {
        const std::string board = boardOf(capture());
        return count(board, '.') == 58 && count(board, 'O') >= 2;
      },
      12000))
      << boardOf(capture());
  const Picture answered = keep("game");
  EXPECT_GT(answered.difference(played, 100, 380, 319, 430), 0.5) << "the counts did not change";
}

TEST_F(VantorWindowTest, AComputerPlayingBlackOpens) {
  chooseLocal(140 + 49, 390);  // "Chicken", "Jouer les blancs"
  ASSERT_TRUE(waitForBoard()) << app_.process->log();
  EXPECT_NE(app_.process->log().find(" asks Chicken[Bot]"), std::string::npos)
      << app_.process->log();
  ASSERT_TRUE(waitUntil(
      [&] {
        const std::string board = boardOf(capture());
        return count(board, 'X') == 4 && count(board, 'O') == 1;
      },
      12000))
      << boardOf(capture());
  keep("opened");
}

TEST_F(VantorWindowTest, TwoPeopleAtOneScreenAlternateColoursToTheEndOfAGame) {
  click(160, 340);  // "Jouer en local"
  click(160, 59);   // "Deux joueurs"
  ASSERT_TRUE(waitForBoard()) << app_.process->log();
  const std::string log = app_.process->log();
  EXPECT_NE(log.find("Renaming to Black"), std::string::npos) << log;
  EXPECT_NE(log.find("Renaming to White"), std::string::npos) << log;
  EXPECT_NE(log.find("Black asks White"), std::string::npos) << log;

  // Each side plays its first legal move in row order; the first two are
  // black at x 5, y 3 and white at x 4, y 3.
  VantorGame rules;
  int moves = 0;
  while (rules.checkPass() != 2) {
    if (rules.checkPass() == 1) rules.switchTurn();
    int cell = 0;
    while (!rules.canPlay(cell % 8 + 1, cell / 8 + 1)) ++cell;
    const int x = cell % 8 + 1, y = cell / 8 + 1;
    ASSERT_TRUE(session_->click(app_.window, cellX(x - 1), cellY(y - 1)));
    rules.play(x, y);
    ++moves;
    if (moves <= 2) {
      ASSERT_TRUE(boardBecomes(moves == 1 ? kBlackPlayed : kWhiteAnswered));
      if (moves == 2) keep("two-moves");
    } else {
      // The disc appears once the server has played the move.
      ASSERT_TRUE(waitUntil([&] { return cellAt(capture(), x - 1, y - 1) != '.'; }, 5000))
          << "move " << moves << " at (" << x << ", " << y << ") not shown\n"
          << boardOf(capture());
      sleepMs(80);
    }
  }
  EXPECT_GE(moves, 20);
  sleepMs(1500);  // the game-over picture fades in over the final board
  EXPECT_GT(fromMenu(keep("game-over")), 3.0);
  pointAway();
  key("Return");  // dismisses it
  sleepMs(600);
  EXPECT_LT(fromMenu(keep("after-game")), 2.0) << "not the main menu";
}

TEST_F(VantorWindowTest, InternetPlayThroughTheLobbyOfLocalhost) {
  click(160, 390);  // "Jouer sur internet"
  keep("join-server");
  click(160, 440);  // "Se connecter", to the default host "localhost"
  ASSERT_TRUE(app_.process->waitForLog("Renaming to Guest", 5000)) << app_.process->log();
  sleepMs(800);
  pointAway(470);
  const Picture lobby = keep("lobby");

  // The seven computer players fill the first seven rows: each row lights
  // up under the pointer; the eighth row is empty.
  for (int k = 0; k < 8; ++k) {
    session_->moveTo(app_.window, 60, 57 + 19 * k + 9);
    sleepMs(300);
    const double change = capture().difference(lobby, 20, 55 + 19 * k, 160, 55 + 19 * k + 18);
    if (k < 7) {
      EXPECT_GT(change, 1.0) << "row " << k;
    } else {
      EXPECT_LT(change, 0.5) << "row " << k;
    }
  }

  // The first row is Pee[Bot]: a click invites it, and it accepts.
  session_->moveTo(app_.window, 60, 66);
  sleepMs(200);
  click(60, 66);
  ASSERT_TRUE(app_.process->waitForLog(" asks Pee[Bot]", 5000)) << app_.process->log();
  ASSERT_TRUE(waitForBoard()) << app_.process->log();
  keep("internet-game");

  key("Escape");  // back to the lobby
  sleepMs(500);
  pointAway(470);
  EXPECT_LT(keep("lobby-again").difference(lobby, 0, 0, 319, 479), 2.0) << "not the lobby";
  key("Escape");  // back to the main menu
  pointAway();
  sleepMs(200);
  EXPECT_LT(fromMenu(keep("menu-again")), 2.0) << "not the main menu";
}

TEST_F(VantorWindowTest, WithoutALocalServerAColourShowsEchecOverTheMainMenu) {
  ASSERT_GT(app_.serverPid, 0);
  kill(app_.serverPid, SIGKILL);
  ASSERT_TRUE(waitUntil([] { return !listening(kPort); }, 5000));
  chooseLocal(140, 340);  // "Pee", "Jouer les noirs"
  pointAway();
  // The connection fails in the background; the notice follows.
  EXPECT_TRUE(waitUntil([&] { return fromMenu(capture()) > 3.0; }, 5000)) << "no notice";
  keep("echec");
  // Once the notice has gone, the main menu is there as before.
  EXPECT_TRUE(waitUntil([&] { return fromMenu(capture()) < 1.0; }, 8000)) << "not the main menu";
  keep("after-echec");
  click(160, 340);
  EXPECT_GT(fromMenu(capture()), 3.0) << "the main menu answers clicks again";
}

TEST(VantorWithoutDisplay, SaysSoInOneLineAndFails) {
  std::filesystem::create_directories(kArtifacts);
  ChildProcess app({VANTOR_EXE}, kArtifacts + "/without-display.log", false);
  ASSERT_TRUE(app.started());
  const int status = app.waitExit(10000);
  ASSERT_NE(status, -1);
  ASSERT_TRUE(WIFEXITED(status));
  EXPECT_NE(WEXITSTATUS(status), 0);
  const std::string log = app.log();
  EXPECT_EQ(std::count(log.begin(), log.end(), '\n'), 1) << log;
  EXPECT_NE(log.find("display"), std::string::npos) << log;
  EXPECT_EQ(log.find("Launch standalone server"), std::string::npos) << log;
}

}  // namespace
