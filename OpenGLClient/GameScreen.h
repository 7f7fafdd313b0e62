// The screen of one game: the board picture, 64 lit 3D discs with soft
// shadows, a marker on the last disc placed, a large disc of each colour
// with its count beside it, and one status line. It turns a click into a
// cell for its listener and Escape into leaving the game. The arrow keys
// show and move a cursor over the cells, which Enter or Space plays like a
// click; the pointer over a cell takes the cursor along, so the two mix.
// While a person may play (input accepted), small translucent dots mark the
// cells where the side to move has a legal move; H shows or hides them. It never talks to
// the network: the controller feeds it positions and says which text to show.
//
// Pictures are loaded by the first draw after initialise (draws run with a
// GL context), so everything but drawing works without a window.
//
// Thread safety: GLUT thread only.
#ifndef VANTOR_OPENGLCLIENT_GAMESCREEN_H_
#define VANTOR_OPENGLCLIENT_GAMESCREEN_H_

#include <memory>
#include <string>

#include "OpenGLClient/BoardView.h"
#include "OpenGLClient/FittingFont.h"
#include "game/VantorGame.h"

class TextureFont;

namespace vgl {

class GameScreenListener;
class Texture;

class GameScreen {
 public:
  // The width the status line is fitted to: it is written on the
  // background's rounded band, which runs from x 20 to 300, and keeps clear
  // of the band's round ends.
  static constexpr float kStatusWidth = 264;

  GameScreen(GameScreenListener* listener, const std::string& dataDirectory);
  ~GameScreen();
  GameScreen(const GameScreen&) = delete;
  GameScreen& operator=(const GameScreen&) = delete;

  // textFont draws the status line (smaller when it would not fit the
  // window), countFont the two disc counts.
  void initialise(TextureFont* textFont, TextureFont* countFont);
  void reset();
  void show() { shown_ = true; }
  void hide() { shown_ = false; }
  bool isShown() const { return shown_; }

  // Re-reads the board and the two counts.
  void takeGame(const VantorGame& game);
  // Lets exactly one board click through.
  void acceptInput() { inputEnabled_ = true; }

  void setTurnTexts(const std::wstring& black, const std::wstring& white);
  void setResultTexts(const std::wstring& black, const std::wstring& white);
  void setPassTexts(const std::wstring& black, const std::wstring& white);
  void showBlackToMove();
  void showWhiteToMove();
  // The pass text of the side to move, also queued as a notice.
  void showPassNotice();
  void showAbandonNotice();
  void showInvalidMoveNotice();
  void showResult();

  void tick(float dt);
  void drawBackground();
  void draw();
  void click(int x, int y);
  void key(int key);
  void hover(int x, int y);
  float currentRate() const { return board_.rate(); }

  const BoardView& board() const { return board_; }
  const std::wstring& status() const { return status_; }
  int blackCount() const { return blackCount_; }
  int whiteCount() const { return whiteCount_; }
  bool inputEnabled() const { return inputEnabled_; }
  // The cursor's cell, column and row 0..7, and whether it is drawn: it
  // shows from the first arrow key of a game.
  int cursorColumn() const { return cursorColumn_; }
  int cursorRow() const { return cursorRow_; }
  bool cursorShown() const { return cursorShown_; }
  void setHintsShown(bool shown) { hintsShown_ = shown; }
  bool hintsShown() const { return hintsShown_; }
  // Whether cell (column, row) carries a legal-move marker now.
  bool showsMarker(int column, int row) const;
  int turn() const { return turn_; }
  float badgePhase() const { return badgePhase_; }

 private:
  void loadTextures();
  // The steps of draw, in the order they are taken: the lit discs are drawn
  // between beginLitDiscs and endLitDiscs, which set up and put away the
  // light and the disc mesh.
  void drawShadows() const;
  void beginLitDiscs() const;
  void drawWhiteSide() const;
  void drawBlackSide() const;
  void drawLastMoveMarker() const;
  void endLitDiscs() const;
  void drawCounts() const;
  void drawStatusLine();
  void drawCursor() const;
  void drawMarkers() const;
  void moveCursor(int columns, int rows);
  void play(int row, int column);
  // Every disc of colour on the board, in grey, fading in as it appears.
  void drawDiscsOf(int colour, float grey) const;
  void drawDisc(int i, int j, float scale) const;
  void drawBadge(float x) const;

  bool shown_;
  GameScreenListener* listener_;
  std::unique_ptr<Texture> background_;
  TextureFont* textFont_;
  FittingFont statusFont_;
  TextureFont* countFont_;
  std::unique_ptr<Texture> shadow_;
  std::unique_ptr<Texture> whiteShadow_;
  float badgePhase_;
  BoardView board_;
  std::wstring status_;
  int blackCount_;
  int whiteCount_;
  bool inputEnabled_;
  int turn_;
  int cursorColumn_;
  int cursorRow_;
  bool cursorShown_;
  bool hintsShown_;
  int8_t cells_[kBoardSize];
  std::wstring blackToMove_;
  std::wstring whiteToMove_;
  std::wstring blackWins_;
  std::wstring whiteWins_;
  std::wstring blackPasses_;
  std::wstring whitePasses_;
  std::string dataDirectory_;
  bool texturesWanted_;
};

}  // namespace vgl

#endif  // VANTOR_OPENGLCLIENT_GAMESCREEN_H_
