// How the 320 x 480 design is shown in a window of any size: scaled
// uniformly by the largest factor that fits, centred, the space left over
// on two sides filled as bands; and how a pointer position in the window
// maps back to the design's coordinates, which every screen works in.
// At 320 x 480 the mapping is the identity.
//
// Thread safety: plain value; the pixel scale below is the GLUT thread's.
#ifndef VANTOR_OPENGLCLIENT_WINDOWSCALE_H_
#define VANTOR_OPENGLCLIENT_WINDOWSCALE_H_

namespace vgl {

constexpr int kDesignWidth = 320;
constexpr int kDesignHeight = 480;

class WindowScale {
 public:
  WindowScale() : WindowScale(kDesignWidth, kDesignHeight) {}
  WindowScale(int windowWidth, int windowHeight);

  // Window pixels per design unit.
  float factor() const { return factor_; }
  // Where the design is drawn, in window pixels from the top left.
  int left() const { return left_; }
  int top() const { return top_; }
  int width() const { return width_; }
  int height() const { return height_; }
  // The same rectangle's bottom in OpenGL's terms: from the window's bottom.
  int viewportY() const { return windowHeight_ - top_ - height_; }
  int windowWidth() const { return windowWidth_; }
  int windowHeight() const { return windowHeight_; }

  // The design point under window pixel (x, y); outside 0..319 x 0..479 in
  // the bands.
  int designX(int x) const;
  int designY(int y) const;

  // The whole multiple of the design size to open a window at on a screen
  // of this size: the largest whose height fits in 85% of the screen's
  // height (and whose width fits the screen), 1 at the least.
  static int initialMultiple(int screenWidth, int screenHeight);

 private:
  int windowWidth_;
  int windowHeight_;
  float factor_;
  int left_;
  int top_;
  int width_;
  int height_;
};

// Window pixels per design unit in the window shown now, kept by the
// reshape callback; texts are rasterised at their size times this so that
// they stay sharp when the window is larger than the design.
extern float gPixelScale;

}  // namespace vgl

#endif  // VANTOR_OPENGLCLIENT_WINDOWSCALE_H_
