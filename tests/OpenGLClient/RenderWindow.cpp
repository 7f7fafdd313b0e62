#include "tests/OpenGLClient/RenderWindow.h"

#include <GL/freeglut.h>
#include <GL/gl.h>

#include <cstdlib>
#include <vector>

#include "OpenGLClient/Texture.h"
#include "tests/OpenGLClient/XvfbDisplay.h"

namespace {

XvfbDisplay* gServer = nullptr;
bool gOpen = false;
std::string gError;

void closeWindow() {
  // The window goes before its server.
  if (gOpen) glutExit();
  delete gServer;
  gServer = nullptr;
}

}  // namespace

bool RenderWindow::open() {
  if (gOpen || gServer != nullptr) return gOpen;
  gServer = new XvfbDisplay;
  std::atexit(closeWindow);
  if (!gServer->started()) {
    gError = gServer->error();
    return false;
  }
  int argc = 1;
  char name[] = "render-test";
  char* argv[] = {name, nullptr};
  glutInit(&argc, argv);
  glutInitDisplayMode(GLUT_RGB | GLUT_DOUBLE);
  glutInitWindowSize(kWidth, kHeight);
  glutCreateWindow("Vantor");
  glutDisplayFunc([] {});
  for (int k = 0; k < 5; ++k) glutMainLoopEvent();
  glViewport(0, 0, kWidth, kHeight);
  glMatrixMode(GL_PROJECTION);
  glLoadIdentity();
  glOrtho(0, kWidth, 0, kHeight, -1000, 1000);
  glMatrixMode(GL_MODELVIEW);
  vgl::gWindowHeight = kHeight;
  glDisable(GL_DEPTH_TEST);
  glDepthMask(GL_FALSE);
  glShadeModel(GL_SMOOTH);
  gOpen = true;
  return true;
}

const std::string& RenderWindow::error() {
  return gError;
}

Picture RenderWindow::capture() {
  std::vector<uint8_t> pixels(kWidth * kHeight * 3);
  glFinish();
  glReadBuffer(GL_BACK);
  glPixelStorei(GL_PACK_ALIGNMENT, 1);
  glReadPixels(0, 0, kWidth, kHeight, GL_RGB, GL_UNSIGNED_BYTE, pixels.data());
  return Picture::fromBottomRows(kWidth, kHeight, 3, pixels.data());
}
