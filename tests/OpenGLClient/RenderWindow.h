// The one 320 x 480 GLUT window the rendering tests draw in, on a private
// Xvfb, set up as the game's reshape callback sets it up (orthographic
// projection in window pixels), and the pictures read back from it.
//
// Thread safety: the test thread only.
#ifndef VANTOR_TESTS_OPENGLCLIENT_RENDERWINDOW_H_
#define VANTOR_TESTS_OPENGLCLIENT_RENDERWINDOW_H_

#include <string>

#include "tests/OpenGLClient/Picture.h"

constexpr int kWidth = 320;
constexpr int kHeight = 480;

class RenderWindow {
 public:
  // Starts the X server and opens the window on first use; false (with
  // error() saying why) when that is not possible.
  static bool open();
  static const std::string& error();
  // The back buffer as drawn so far.
  static Picture capture();
};

#endif  // VANTOR_TESTS_OPENGLCLIENT_RENDERWINDOW_H_
