// A 512 x 512 RGBA picture being drawn by code: anti-aliased shapes from
// signed distances, gradients, soft shadows and FreeType text, saved as PNG.
//
// Drawing takes window coordinates of the 320 x 480 game window (origin top
// left, y down): the window shows the picture's left 320 columns and its
// bottom 480 rows, so window point (x, y) is picture pixel (x, y + 32).
//
// Thread safety: none; one canvas per thread.
#ifndef VANTOR_OPENGLCLIENT_TOOLS_CANVAS_H_
#define VANTOR_OPENGLCLIENT_TOOLS_CANVAS_H_

#include <ft2build.h>
#include FT_FREETYPE_H

#include <functional>
#include <string>
#include <vector>

struct Colour {
  float r, g, b, a;
};

// 0xRRGGBB with an alpha.
Colour rgb(unsigned hex, float alpha = 1);
Colour mix(const Colour& a, const Colour& b, float t);

class Canvas {
 public:
  static constexpr int kSize = 512;
  // Picture rows above the window.
  static constexpr int kHidden = 32;

  using Coverage = std::function<float(float x, float y)>;
  using Paint = std::function<Colour(float x, float y)>;

  Canvas();

  // Replaces every pixel (not blended).
  void clear(const Colour& colour);
  void verticalGradient(const Colour& top, const Colour& bottom);
  // Blends paint over the pixels of the box, weighted by coverage at each
  // pixel centre.
  void draw(float x0, float y0, float x1, float y1, const Coverage& coverage, const Paint& paint);

  void roundedRect(float x0, float y0, float x1, float y1, float radius, const Colour& colour);
  void roundedRectOutline(float x0, float y0, float x1, float y1, float radius, float width,
                          const Colour& colour);
  // A blurred rounded rectangle, for shadows and glows.
  void softRect(float x0, float y0, float x1, float y1, float radius, float blur,
                const Colour& colour);
  void circle(float cx, float cy, float radius, const Colour& colour);
  void softCircle(float cx, float cy, float radius, float blur, const Colour& colour);
  // A Reversi disc seen from above and lit from the top left.
  void disc(float cx, float cy, float radius, bool white);

  // Text with its left edge at x and its baseline at y, pixel height px.
  float textWidth(FT_Face face, int px, const std::wstring& text) const;
  void text(FT_Face face, int px, const std::wstring& text, float x, float baseline,
            const Colour& colour);
  void textCentred(FT_Face face, int px, const std::wstring& text, float cx, float baseline,
                   const Colour& colour);

  // RGBA, or RGB for opaque pictures; reduced to size x size pixels (each the
  // alpha-weighted mean of the picture pixels it covers) for the icons.
  void save(const std::string& path, bool withAlpha, int size = kSize) const;

 private:
  void blend(int px, int py, const Colour& colour, float coverage);
  Colour reduced(int px, int py, int size) const;

  std::vector<Colour> pixels_;
};

// Signed distance from (x, y) to a rounded rectangle (negative inside).
float roundedRectDistance(float x, float y, float x0, float y0, float x1, float y1, float radius);
float smoothStep(float edge0, float edge1, float x);

#endif  // VANTOR_OPENGLCLIENT_TOOLS_CANVAS_H_
