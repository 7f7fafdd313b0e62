// The server's games, as its game list gives them: one row per game, "black
// contre white". A click on a row, or the arrows and Enter, asks to watch
// that game; Escape or "Retour" goes back to the lobby.
//
// The game list carries only the id and the two names: not whether a game
// has started nor whether it admits spectators. So every row may be chosen
// but the user's own games, marked "(vous)"; the server answers, and a game
// it has refused to show is marked "(sans spectateurs)" from then on. An
// invitation not yet accepted that admits spectators shows its start
// position until its first move.
//
// Its picture and fonts are loaded once by initialise (which needs a GL
// context) and kept; the logic works without a window.
//
// Thread safety: GLUT thread only.
#ifndef VANTOR_OPENGLCLIENT_GAMESSCREEN_H_
#define VANTOR_OPENGLCLIENT_GAMESSCREEN_H_

#include <memory>
#include <set>
#include <string>
#include <vector>

#include "OpenGLClient/MenuScreen.h"

class TextureFont;

namespace vgl {

class GamesScreenListener;

class GamesScreen : public MenuScreen {
 public:
  // The panel's rows: left edge, top of the first, step, how many.
  static constexpr int kRowX = 30;
  static constexpr int kFirstRowY = 57;
  static constexpr int kRowStep = 19;
  static constexpr int kVisibleRows = 15;

  // A game of the list: its id, and the black and white players (8-bit).
  struct Game {
    int gameId;
    std::string black;
    std::string white;
  };
  struct Row {
    int gameId;
    std::wstring text;
    bool own;
  };

  GamesScreen(GamesScreenListener* listener, const std::string& dataDirectory);
  ~GamesScreen() override;

  // Loads the background and the fonts.
  void initialise();
  void key(int key);
  void click(int x, int y);
  void hover(int x, int y);

  // Takes the list anew; self is the user's own nick-name. The chosen row
  // stays on its game when that game is still listed.
  void setGames(const std::vector<Game>& games, const std::string& self);
  void markRefused(int gameId);
  // Forgets the games and the refusals (a new server).
  void clear();

  const std::vector<Row>& rows() const { return rows_; }
  // The chosen row, or -1.
  int selected() const { return selected_; }
  // The first row in sight.
  int firstShown() const { return first_; }
  // The row drawn at window height y, or -1.
  int rowAt(int y) const;

 private:
  void rebuild();
  void select(int row);
  void choose(int row);
  void drawContents() override;

  GamesScreenListener* listener_;
  std::vector<Game> games_;
  std::string self_;
  std::set<int> refused_;
  std::vector<Row> rows_;
  int selected_;
  int first_;
  bool backHovered_;
  std::unique_ptr<TextureFont> rowFont_;
  std::unique_ptr<TextureFont> labelFont_;
};

}  // namespace vgl

#endif  // VANTOR_OPENGLCLIENT_GAMESSCREEN_H_
