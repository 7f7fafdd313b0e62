#include "OpenGLClient/TextureFont.h"

#include <GL/gl.h>
#include <ft2build.h>
#include FT_FREETYPE_H
#include FT_GLYPH_H

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cwchar>
#include <stdexcept>
#include <utility>

#include "OpenGLClient/Texture.h"
#include "OpenGLClient/WindowScale.h"

namespace {

constexpr int kMaxChars = 256;

// FreeType's character size, in 64ths of a point, for a size at a scale.
long charSize(float size, float scale) {
  return std::lround(size * scale * 64);
}

int powerOfTwoAtLeast(int n) {
  int p = 1;
  while (p < n) p <<= 1;
  return p;
}

// Releases the face and the library however rasterising ends.
class FreeTypeSession {
 public:
  FreeTypeSession() = default;
  ~FreeTypeSession() {
    if (face != nullptr) FT_Done_Face(face);
    if (library != nullptr) FT_Done_FreeType(library);
  }
  FreeTypeSession(const FreeTypeSession&) = delete;
  FreeTypeSession& operator=(const FreeTypeSession&) = delete;

  FT_Library library = nullptr;
  FT_Face face = nullptr;
};

class GlyphCopy {
 public:
  GlyphCopy() = default;
  ~GlyphCopy() {
    if (glyph != nullptr) FT_Done_Glyph(glyph);
  }
  GlyphCopy(const GlyphCopy&) = delete;
  GlyphCopy& operator=(const GlyphCopy&) = delete;

  FT_Glyph glyph = nullptr;
};

}  // namespace

TextureFont::TextureFont() : height_(0), scale_(1.0f) {
  std::fill(std::begin(advance_), std::end(advance_), 0.0f);
  std::fill(std::begin(texCoords_), std::end(texCoords_), 0.0f);
  std::fill(std::begin(vertices_), std::end(vertices_), 0.0f);
  std::fill(std::begin(indices_), std::end(indices_), 0);
  std::fill(std::begin(textureWidth_), std::end(textureWidth_), 0);
  std::fill(std::begin(textureHeight_), std::end(textureHeight_), 0);
}

TextureFont::~TextureFont() {
  if (!textures_.empty())
    glDeleteTextures(static_cast<GLsizei>(textures_.size()), textures_.data());
}

void TextureFont::init(const std::string& path, int size) {
  rasterise(path, size, vgl::gPixelScale);
  upload();
}

std::unique_ptr<TextureFont> TextureFont::load(const std::string& path, int size) {
  auto font = std::make_unique<TextureFont>();
  font->init(path, size);
  return font;
}

void TextureFont::rasterise(const std::string& path, int size, float scale) {
  path_ = path;
  height_ = static_cast<float>(size);
  scale_ = scale;
  FreeTypeSession ft;
  if (FT_Init_FreeType(&ft.library) != 0) {
    ft.library = nullptr;
    throw std::runtime_error("FT_Init_FreeType failed");
  }
  if (FT_New_Face(ft.library, path.c_str(), 0, &ft.face) != 0) {
    ft.face = nullptr;
    throw std::runtime_error(
        "FT_New_Face failed (there is probably a problem with your font file)");
  }
  FT_Set_Char_Size(ft.face, charSize(height_, scale), charSize(height_, scale), 96, 96);

  for (int k = 0; k < kMaxChars; ++k) {
    const FT_UInt index = FT_Get_Char_Index(ft.face, static_cast<FT_ULong>(k));
    if (FT_Load_Glyph(ft.face, index, FT_LOAD_DEFAULT) != 0) {
      throw std::runtime_error("FT_Load_Glyph failed");
    }
    GlyphCopy copy;
    if (FT_Get_Glyph(ft.face->glyph, &copy.glyph) != 0) {
      copy.glyph = nullptr;
      throw std::runtime_error("FT_Get_Glyph failed");
    }
    FT_Glyph_To_Bitmap(&copy.glyph, FT_RENDER_MODE_NORMAL, nullptr, 1);
    const FT_BitmapGlyph bitmapGlyph = reinterpret_cast<FT_BitmapGlyph>(copy.glyph);
    const FT_Bitmap& bitmap = bitmapGlyph->bitmap;
    const int w = static_cast<int>(bitmap.width);
    const int r = static_cast<int>(bitmap.rows);
    const int pitch = bitmap.pitch < 0 ? -bitmap.pitch : bitmap.pitch;
    const int texW = powerOfTwoAtLeast(w);
    const int texH = powerOfTwoAtLeast(r);

    // Luminance is always full: the text takes the current colour, shaped
    // by the coverage in alpha; the padding stays transparent.
    std::vector<uint8_t>& texels = texels_[k];
    texels.assign(static_cast<size_t>(texW) * texH * 2, 0);
    for (int j = 0; j < texH; ++j) {
      for (int i = 0; i < texW; ++i) {
        uint8_t* texel = &texels[(static_cast<size_t>(j) * texW + i) * 2];
        texel[0] = 0xFF;
        if (i < w && j < r) texel[1] = bitmap.buffer[j * pitch + i];
      }
    }
    textureWidth_[k] = texW;
    textureHeight_[k] = texH;

    // The quad in design units: the image's pixels divided by the scale.
    const float left = bitmapGlyph->left / scale;
    const float top = bitmapGlyph->top / scale;
    const float right = left + w / scale;
    const float bottom = top - r / scale;
    const float s = static_cast<float>(w) / texW;
    const float t = static_cast<float>(r) / texH;
    const float corners[8] = {left, top, left, bottom, right, bottom, right, top};
    const float coords[8] = {0, 0, 0, t, s, t, s, 0};
    std::copy(corners, corners + 8, vertices_ + k * 8);
    std::copy(coords, coords + 8, texCoords_ + k * 8);
    // Top-left, bottom-left, top-right, bottom-right: the quad as a strip.
    indices_[k * 4 + 0] = static_cast<uint16_t>(4 * k);
    indices_[k * 4 + 1] = static_cast<uint16_t>(4 * k + 1);
    indices_[k * 4 + 2] = static_cast<uint16_t>(4 * k + 3);
    indices_[k * 4 + 3] = static_cast<uint16_t>(4 * k + 2);
    advance_[k] = static_cast<float>(ft.face->glyph->advance.x >> 6) / scale;
  }
}

void TextureFont::upload() {
  if (!textures_.empty())
    glDeleteTextures(static_cast<GLsizei>(textures_.size()), textures_.data());
  textures_.assign(kMaxChars, 0);
  glGenTextures(kMaxChars, textures_.data());
  // Rows of a 1- or 2-texel-wide glyph are not 4-byte aligned.
  glPixelStorei(GL_UNPACK_ALIGNMENT, 1);
  for (int k = 0; k < kMaxChars; ++k) {
    glBindTexture(GL_TEXTURE_2D, textures_[k]);
    glTexImage2D(GL_TEXTURE_2D, 0, GL_RGBA, textureWidth_[k], textureHeight_[k], 0,
                 GL_LUMINANCE_ALPHA, GL_UNSIGNED_BYTE, texels_[k].data());
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MAG_FILTER, GL_LINEAR);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, GL_LINEAR);
    std::vector<uint8_t>().swap(texels_[k]);
  }
}

float TextureFont::lineHeight() const {
  return height_ / 0.63f;
}

std::wstring TextureFont::formatText(const wchar_t* format, va_list args) {
  if (format == nullptr) return std::wstring();
  wchar_t buffer[kMaxChars];
  buffer[0] = L'\0';
  // Output that does not fit is cut; glibc leaves the part that fits.
  if (std::vswprintf(buffer, kMaxChars, format, args) < 0) buffer[kMaxChars - 1] = L'\0';
  return std::wstring(buffer);
}

std::vector<std::string> TextureFont::splitLines(const std::wstring& text) {
  std::vector<std::string> lines(1);
  for (wchar_t c : text) {
    if (c == L'\n') {
      lines.emplace_back();
    } else {
      lines.back().push_back(static_cast<char>(static_cast<unsigned char>(c & 0xFF)));
    }
  }
  return lines;
}

float TextureFont::lineWidth(const std::string& line) const {
  float width = 0;
  for (char c : line) width += advance_[static_cast<unsigned char>(c)];
  return width;
}

float TextureFont::widestLine(const std::wstring& text) const {
  float widest = 0;
  for (const std::string& line : splitLines(text)) widest = std::max(widest, lineWidth(line));
  return widest;
}

std::vector<TextureFont::Placement> TextureFont::layout(float x, float y,
                                                        const std::wstring& text) const {
  std::vector<Placement> placements;
  const std::vector<std::string> lines = splitLines(text);
  for (size_t n = 0; n < lines.size(); ++n) {
    float penX = x;
    const float baseline = static_cast<float>(vgl::kDesignHeight) - y - (n + 1) * lineHeight();
    for (char c : lines[n]) {
      const int code = static_cast<unsigned char>(c);
      placements.push_back(Placement{code, penX, baseline});
      penX += advance_[code];
    }
  }
  return placements;
}

std::vector<TextureFont::Placement> TextureFont::layoutCentred(float cx, float y,
                                                               const std::wstring& text) const {
  return layout(cx - widestLine(text) / 2, y, text);
}

void TextureFont::print(float x, float y, const wchar_t* format, ...) {
  va_list args;
  va_start(args, format);
  const std::wstring text = formatText(format, args);
  va_end(args);
  draw(x, y, text);
}

void TextureFont::printCentred(float cx, float y, const wchar_t* format, ...) {
  va_list args;
  va_start(args, format);
  const std::wstring text = formatText(format, args);
  va_end(args);
  // The formatted text is drawn as it is: a '%' in it stays a '%'.
  draw(cx - widestLine(text) / 2, y, text);
}

// Rasterising into a fresh font first keeps these glyphs whole when the
// file can no longer be read.
void TextureFont::followPixelScale() {
  const float wanted = vgl::gPixelScale;
  if (charSize(height_, wanted) == charSize(height_, scale_)) return;
  TextureFont fresh;
  try {
    fresh.rasterise(path_, size(), wanted);
  } catch (const std::exception& e) {
    std::fprintf(stderr, "%s: %s; its text stays at the former size\n", path_.c_str(), e.what());
    scale_ = wanted;  // asked once, not at every frame
    return;
  }
  scale_ = wanted;
  std::swap(advance_, fresh.advance_);
  std::swap(texCoords_, fresh.texCoords_);
  std::swap(vertices_, fresh.vertices_);
  std::swap(textureWidth_, fresh.textureWidth_);
  std::swap(textureHeight_, fresh.textureHeight_);
  std::swap(texels_, fresh.texels_);
  upload();
}

void TextureFont::draw(float x, float y, const std::wstring& text) {
  if (textures_.empty() || text.empty()) return;
  followPixelScale();
  const std::vector<std::string> lines = splitLines(text);
  const float lh = lineHeight();

  glDisable(GL_LIGHTING);
  glEnable(GL_TEXTURE_2D);
  glDisable(GL_DEPTH_TEST);
  glEnable(GL_BLEND);
  glBlendFunc(GL_SRC_ALPHA, GL_ONE_MINUS_SRC_ALPHA);
  glTexCoordPointer(2, GL_FLOAT, 0, texCoords_);
  glVertexPointer(2, GL_FLOAT, 0, vertices_);
  glEnableClientState(GL_TEXTURE_COORD_ARRAY);
  glEnableClientState(GL_VERTEX_ARRAY);

  for (size_t n = 0; n < lines.size(); ++n) {
    glPushMatrix();
    glTranslatef(x, static_cast<float>(vgl::kDesignHeight) - y - (n + 1) * lh, 0);
    for (char c : lines[n]) {
      const int code = static_cast<unsigned char>(c);
      glBindTexture(GL_TEXTURE_2D, textures_[code]);
      glDrawElements(GL_TRIANGLE_STRIP, 4, GL_UNSIGNED_SHORT, indices_ + code * 4);
      glTranslatef(advance_[code], 0, 0);
    }
    glPopMatrix();
  }

  glDisable(GL_BLEND);
  glDisableClientState(GL_TEXTURE_COORD_ARRAY);
  glDisableClientState(GL_VERTEX_ARRAY);
}
