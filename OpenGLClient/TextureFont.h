// Text drawn from a TrueType font rasterised once into one small texture per
// character code 0..255, with ready-made quads, so drawing a string costs one
// bind and one glDrawElements per character.
//
// print and printCentred take a wide swprintf format; callers that draw
// names or typed text pass them as an argument ("%ls"), never as the format.
// Positions are window coordinates: x the left edge (or the centre), y the
// top of the first line, origin top-left, y down.
//
// Thread safety: GLUT thread only, with a current OpenGL context.
#ifndef VANTOR_OPENGLCLIENT_TEXTUREFONT_H_
#define VANTOR_OPENGLCLIENT_TEXTUREFONT_H_

#include <cstdint>
#include <string>
#include <vector>

class TextureFont {
 public:
  TextureFont();
  ~TextureFont();
  TextureFont(const TextureFont&) = delete;
  TextureFont& operator=(const TextureFont&) = delete;

  // Throws std::runtime_error with FreeType's failure texts.
  void init(const std::string& path, int size);
  void print(float x, float y, const wchar_t* format, ...);
  void printCentred(float cx, float y, const wchar_t* format, ...);

  float lineHeight() const;
  float advance(int code) const { return advance_[code & 0xFF]; }
  // The widest line of text (split at line feeds, codes taken by low byte).
  float widestLine(const std::wstring& text) const;

 private:
  void draw(float x, float y, const std::wstring& text);

  float height_;
  std::vector<unsigned int> textures_;
  float advance_[256];
  float texCoords_[256 * 4 * 2];
  float vertices_[256 * 4 * 2];
  uint16_t indices_[256 * 4];
};

#endif  // VANTOR_OPENGLCLIENT_TEXTUREFONT_H_
