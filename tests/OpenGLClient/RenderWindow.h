// The one 320 x 480 GLUT window the rendering tests draw in, on a private
// Xvfb, set up as the game's reshape callback sets it up (orthographic
// projection in window pixels), and the screenshots read back from it.
//
// Thread safety: the test thread only.
#ifndef VANTOR_TESTS_OPENGLCLIENT_RENDERWINDOW_H_
#define VANTOR_TESTS_OPENGLCLIENT_RENDERWINDOW_H_

#include <cstdint>
#include <string>
#include <vector>

constexpr int kWidth = 320;
constexpr int kHeight = 480;

struct Rgb {
  int r, g, b;
  int luminance() const { return (r * 30 + g * 59 + b * 11) / 100; }
};

// The largest difference of one channel.
int distance(const Rgb& a, const Rgb& b);

class RenderWindow {
 public:
  // Starts the X server and opens the window on first use; false (with
  // error() saying why) when that is not possible.
  static bool open();
  static const std::string& error();
};

// The back buffer as drawn so far, addressed in window coordinates.
class Screenshot {
 public:
  Screenshot();
  Rgb at(int x, int y) const;
  // The mean of the 3 x 3 pixels around (x, y).
  Rgb around(int x, int y) const;
  // Writes the picture as name in the build's artifacts folder.
  bool save(const std::string& name) const;

 private:
  std::vector<uint8_t> pixels_;
};

#endif  // VANTOR_TESTS_OPENGLCLIENT_RENDERWINDOW_H_
