#include "tests/OpenGLClient/RenderWindow.h"

#include <GL/freeglut.h>
#include <GL/gl.h>
#include <png.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>

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

int distance(const Rgb& a, const Rgb& b) {
  return std::max({std::abs(a.r - b.r), std::abs(a.g - b.g), std::abs(a.b - b.b)});
}

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

Screenshot::Screenshot() : pixels_(kWidth * kHeight * 3) {
  glFinish();
  glReadBuffer(GL_BACK);
  glPixelStorei(GL_PACK_ALIGNMENT, 1);
  glReadPixels(0, 0, kWidth, kHeight, GL_RGB, GL_UNSIGNED_BYTE, pixels_.data());
}

Rgb Screenshot::at(int x, int y) const {
  const size_t i = (static_cast<size_t>(kHeight - 1 - y) * kWidth + x) * 3;
  return Rgb{pixels_[i], pixels_[i + 1], pixels_[i + 2]};
}

Rgb Screenshot::around(int x, int y) const {
  Rgb sum{0, 0, 0};
  for (int dy = -1; dy <= 1; ++dy) {
    for (int dx = -1; dx <= 1; ++dx) {
      const Rgb p = at(x + dx, y + dy);
      sum = Rgb{sum.r + p.r, sum.g + p.g, sum.b + p.b};
    }
  }
  return Rgb{sum.r / 9, sum.g / 9, sum.b / 9};
}

bool Screenshot::save(const std::string& name) const {
  const std::string path = std::string(VANTOR_TEST_ARTIFACTS_DIR) + "/" + name;
  FILE* file = std::fopen(path.c_str(), "wb");
  if (file == nullptr) return false;
  png_structp png = png_create_write_struct(PNG_LIBPNG_VER_STRING, nullptr, nullptr, nullptr);
  png_infop info = png_create_info_struct(png);
  png_init_io(png, file);
  png_set_IHDR(png, info, kWidth, kHeight, 8, PNG_COLOR_TYPE_RGB, PNG_INTERLACE_NONE,
               PNG_COMPRESSION_TYPE_DEFAULT, PNG_FILTER_TYPE_DEFAULT);
  png_write_info(png, info);
  // The back buffer's rows run bottom first.
  for (int y = 0; y < kHeight; ++y) {
    png_write_row(png, pixels_.data() + static_cast<size_t>(kHeight - 1 - y) * kWidth * 3);
  }
  png_write_end(png, nullptr);
  png_destroy_write_struct(&png, &info);
  std::fclose(file);
  return true;
}
