// An owning handle around one OpenGL texture made from a PNG file, and the
// full-screen textured rectangle that backgrounds and overlays are drawn as.
//
// Two kinds are used: opaque pictures loaded as RGB with nearest filtering
// (screen backgrounds; linear in a window between whole multiples of the
// design) and pictures with alpha loaded as RGBA with linear
// filtering (shadows, overlay, game-over picture). A missing file gives an
// empty texture: the loader has already said so on standard error.
//
// Thread safety: GLUT thread only, with a current OpenGL context.
#ifndef VANTOR_OPENGLCLIENT_TEXTURE_H_
#define VANTOR_OPENGLCLIENT_TEXTURE_H_

#include <string>

namespace vgl {

class Texture {
 public:
  enum Kind { kOpaque, kWithAlpha };

  Texture(const std::string& path, Kind kind);
  ~Texture();  // glDeleteTextures
  Texture(const Texture&) = delete;
  Texture& operator=(const Texture&) = delete;

  unsigned int name() const { return name_; }
  int width() const { return width_; }
  int height() const { return height_; }

  // Draws the texture as a triangle strip over OpenGL coordinates
  // (x0, y0)-(x1, y1), with GL_TEXTURE_2D enabled only while drawing.
  void drawRect(float x0, float y0, float x1, float y1) const;
  // The full-screen rectangle: (0, 0) to (512, 512).
  void drawFullScreen() const { drawRect(0, 0, 512, 512); }

 private:
  unsigned int name_;
  int width_;
  int height_;
  Kind kind_;
};

}  // namespace vgl

#endif  // VANTOR_OPENGLCLIENT_TEXTURE_H_
