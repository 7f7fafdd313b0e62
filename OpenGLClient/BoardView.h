// The animation state of the 64 cells of the game screen: which colour each
// cell shows, how its disc wobbles after a flip, how far a new disc has
// faded in, which disc was placed last, and the frame rate the animation
// asks for. It reads a game, advances with time and hands the drawing code
// its per-cell inputs; it draws nothing itself, so it runs without a window.
//
// Cells are indexed i * 8 + j, i the column from the left and j the row
// from the top, both 0..7; cell (i, j) is board square (i + 1, j + 1).
//
// Thread safety: GLUT thread only.
#ifndef VANTOR_OPENGLCLIENT_BOARDVIEW_H_
#define VANTOR_OPENGLCLIENT_BOARDVIEW_H_

class VantorGame;

namespace vgl {

class BoardView {
 public:
  static constexpr float kKickRate = 25.0f;
  static constexpr float kSettledRate = 7.0f;

  // The shadow of a disc: sideways shift in pixels, height factor, opacity.
  struct Shadow {
    float shift;
    float heightFactor;
    float opacity;
  };
  // The lean of a disc, applied after it faces the viewer: degrees about
  // the z axis, then about the x axis.
  struct Tilt {
    float aboutZ;
    float aboutX;
  };

  BoardView();

  void reset();
  // Re-reads the 64 cells: a new disc fades in and becomes the last move, a
  // turned disc spins (sign of its new colour) at full opacity.
  void update(const VantorGame& game);
  void tick(float dt);
  // Asks for the full frame rate again after a change worth watching.
  void kick() { rate_ = kKickRate; }

  static float cellCentreX(int i) { return (i + 0.5f) * 35 + 20; }
  static float cellCentreY(int j) { return (j + 0.5f) * 35 + 20; }

  int colour(int i, int j) const { return colour_[i * 8 + j]; }
  float angle(int i, int j) const { return angle_[i * 8 + j]; }
  float spin(int i, int j) const { return spin_[i * 8 + j]; }
  float appear(int i, int j) const { return appear_[i * 8 + j]; }
  Tilt tilt(int i, int j) const;
  Shadow shadow(int i, int j) const;
  int lastColumn() const { return lastColumn_; }
  int lastRow() const { return lastRow_; }
  float rate() const { return rate_; }

 private:
  int colour_[64];
  float angle_[64];
  float spin_[64];
  float appear_[64];
  int lastColumn_;
  int lastRow_;
  float rate_;
};

}  // namespace vgl

#endif  // VANTOR_OPENGLCLIENT_BOARDVIEW_H_
