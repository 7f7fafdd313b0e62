#include "OpenGLClient/Texture.h"

#include <GL/gl.h>

#include <cmath>

#include "OpenGLClient/PngLoader.h"
#include "OpenGLClient/WindowScale.h"

namespace vgl {

Texture::Texture(const std::string& path, Kind kind)
    : name_(0), width_(0), height_(0), kind_(kind) {
  const bool withAlpha = kind == kWithAlpha;
  PngImage image = loadPng(path, withAlpha);
  const GLenum format = withAlpha ? GL_RGBA : GL_RGB;
  const GLint filter = withAlpha ? GL_LINEAR : GL_NEAREST;

  GLuint name = 0;
  glGenTextures(1, &name);
  name_ = name;
  glBindTexture(GL_TEXTURE_2D, name_);
  // RGB rows of an odd width are not 4-byte aligned.
  glPixelStorei(GL_UNPACK_ALIGNMENT, 1);
  glTexImage2D(GL_TEXTURE_2D, 0, static_cast<GLint>(format), static_cast<GLsizei>(image.width),
               static_cast<GLsizei>(image.height), 0, format, GL_UNSIGNED_BYTE,
               image.pixels.empty() ? nullptr : image.pixels.data());
  glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MAG_FILTER, filter);
  glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, filter);
  width_ = static_cast<int>(image.width);
  height_ = static_cast<int>(image.height);
}

Texture::~Texture() {
  GLuint name = name_;
  glDeleteTextures(1, &name);
}

void Texture::drawRect(float x0, float y0, float x1, float y1) const {
  glEnable(GL_TEXTURE_2D);
  glBindTexture(GL_TEXTURE_2D, name_);
  // An opaque picture magnified a whole number of times repeats its pixels
  // exactly; between whole numbers that would make them of uneven widths.
  if (kind_ == kOpaque) {
    const bool whole = gPixelScale == std::floor(gPixelScale);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MAG_FILTER, whole ? GL_NEAREST : GL_LINEAR);
  }
  glBegin(GL_TRIANGLE_STRIP);
  glTexCoord2f(0, 0);
  glVertex2f(x0, y0);
  glTexCoord2f(1, 0);
  glVertex2f(x1, y0);
  glTexCoord2f(0, 1);
  glVertex2f(x0, y1);
  glTexCoord2f(1, 1);
  glVertex2f(x1, y1);
  glEnd();
  glDisable(GL_TEXTURE_2D);
}

}  // namespace vgl
