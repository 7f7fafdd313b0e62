// Draws a text centred in an area of a given width: at its font's own size
// when it fits, otherwise at the largest smaller size of the same face that
// fits, so that no text runs past the edges of the window. The smaller text
// keeps the centre of the full-size one: the same x centre, and the
// capitals of its first line centred on the same height.
//
// Smaller sizes are rasterised when a text first needs them and kept, one
// per size, so a long notice costs its rasterising once; the textures are
// made by the first draw that uses them. Choosing a size needs no window.
//
// Thread safety: GLUT thread only; drawing needs the GL context.
#ifndef VANTOR_OPENGLCLIENT_FITTINGFONT_H_
#define VANTOR_OPENGLCLIENT_FITTINGFONT_H_

#include <functional>
#include <map>
#include <memory>
#include <string>

class TextureFont;

namespace vgl {

class FittingFont {
 public:
  // font: the full size, not owned; may be null (nothing is drawn).
  explicit FittingFont(TextureFont* font = nullptr);
  ~FittingFont();
  FittingFont(const FittingFont&) = delete;
  FittingFont& operator=(const FittingFont&) = delete;

  void setFont(TextureFont* font);

  // The font text is drawn with within width: the full-size one, or a kept
  // smaller rasterisation of the same file. Throws as TextureFont::init
  // does when the file cannot be rasterised again. Only while there is a
  // font.
  const TextureFont& fontFor(const std::wstring& text, float width);
  // The top of the first line for a text drawn with font where the
  // full-size text would have its top at y.
  float topFor(const TextureFont& font, float y) const;
  // Draws text (as literal text, never a format) centred on cx within
  // width; y is the top of the first line at full size.
  void printCentred(float cx, float y, float width, const std::wstring& text);

  // The size to draw at: size itself when widthAt(size) <= width, else the
  // largest smaller size whose width fits, 1 at the least. widthAt gives
  // the width of the text at a size and grows with it.
  static int largestFittingSize(int size, float width, const std::function<float(int)>& widthAt);

 private:
  TextureFont& ofSize(int size);

  TextureFont* font_;
  std::map<int, std::unique_ptr<TextureFont>> smaller_;
};

}  // namespace vgl

#endif  // VANTOR_OPENGLCLIENT_FITTINGFONT_H_
