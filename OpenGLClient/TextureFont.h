// Text drawn from a TrueType font rasterised once into one small texture per
// character code 0..255, with ready-made quads, so drawing a string costs one
// bind and one glDrawElements per character.
//
// print and printCentred take a wide swprintf format; callers that draw
// names or typed text pass them as an argument ("%ls"), never as the format.
// Positions are the design's coordinates: x the left edge (or the centre), y
// the top of the first line, origin top-left, y down. The glyphs are
// rasterised at the window's pixel scale, and again when it changes, so a
// larger window shows sharper text of the same size, not a magnified one.
//
// Rasterising (FreeType only) is kept apart from the upload to OpenGL, so the
// glyph images and the layout arithmetic can be checked without a window.
//
// Thread safety: GLUT thread only, with a current OpenGL context.
#ifndef VANTOR_OPENGLCLIENT_TEXTUREFONT_H_
#define VANTOR_OPENGLCLIENT_TEXTUREFONT_H_

#include <cstdarg>
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

class TextureFont {
 public:
  // One character as drawn: its code and the pen position on the baseline,
  // in OpenGL coordinates (origin bottom-left).
  struct Placement {
    int code;
    float x;
    float y;
  };

  TextureFont();
  ~TextureFont();
  TextureFont(const TextureFont&) = delete;
  TextureFont& operator=(const TextureFont&) = delete;

  // Rasterised at the current pixel scale. Throws std::runtime_error with
  // FreeType's failure texts.
  void init(const std::string& path, int size);
  // A new font, init done; throws as init does.
  static std::unique_ptr<TextureFont> load(const std::string& path, int size);
  void print(float x, float y, const wchar_t* format, ...);
  void printCentred(float cx, float y, const wchar_t* format, ...);

  // The file and the size in design units it was rasterised from.
  const std::string& path() const { return path_; }
  int size() const { return static_cast<int>(height_); }
  float lineHeight() const;
  float advance(int code) const { return advance_[code & 0xFF]; }
  // The widest line of text (split at line feeds, codes taken by low byte).
  float widestLine(const std::wstring& text) const;

  // The first half of init: builds the glyph images, quads and advances
  // without touching OpenGL, the images at size times scale pixels, the
  // quads and advances in design units. Throws as init does.
  void rasterise(const std::string& path, int size, float scale = 1.0f);
  // The second half: makes the textures of the glyph images (and lets the
  // images go). A font that is only rasterised draws nothing.
  void upload();
  bool uploaded() const { return !textures_.empty(); }
  // Where print (or printCentred, with cx) puts each character of text.
  std::vector<Placement> layout(float x, float y, const std::wstring& text) const;
  std::vector<Placement> layoutCentred(float cx, float y, const std::wstring& text) const;

  // The window pixels per design unit the glyph images were made for.
  float scale() const { return scale_; }

  // The glyph image of a code as uploaded: its power-of-two size and its
  // luminance-alpha texel pairs. The texels are kept only until the upload.
  int textureWidth(int code) const { return textureWidth_[code & 0xFF]; }
  int textureHeight(int code) const { return textureHeight_[code & 0xFF]; }
  const std::vector<uint8_t>& texels(int code) const { return texels_[code & 0xFF]; }
  // The quad of a code: four (x, y) corners relative to the pen and their
  // texture coordinates, in the order top-left, bottom-left, bottom-right,
  // top-right.
  const float* quadVertices(int code) const { return vertices_ + (code & 0xFF) * 8; }
  const float* quadTexCoords(int code) const { return texCoords_ + (code & 0xFF) * 8; }

  // The text as drawn: formatted into 255 characters at most (a null format
  // gives nothing), then split at line feeds into lines of codes 0..255.
  static std::wstring formatText(const wchar_t* format, va_list args);
  static std::vector<std::string> splitLines(const std::wstring& text);

 private:
  void draw(float x, float y, const std::wstring& text);
  // Rasterises and uploads the glyphs again when the window's pixel scale
  // gives them another pixel size; on failure keeps the glyphs it has.
  void followPixelScale();
  float lineWidth(const std::string& line) const;

  std::string path_;
  float height_;
  float scale_;
  std::vector<unsigned int> textures_;
  float advance_[256];
  float texCoords_[256 * 4 * 2];
  float vertices_[256 * 4 * 2];
  uint16_t indices_[256 * 4];
  int textureWidth_[256];
  int textureHeight_[256];
  std::vector<uint8_t> texels_[256];
};

#endif  // VANTOR_OPENGLCLIENT_TEXTUREFONT_H_
