// The font's arithmetic and glyph images, rasterised without a window; the
// display font's glyphs are drawn and checked in the render test.
#include <gtest/gtest.h>

#include <cmath>
#include <memory>
#include <stdexcept>
#include <string>

#include "OpenGLClient/Texture.h"
#include "OpenGLClient/TextureFont.h"

namespace {

const std::string kFontDir = std::string(VANTOR_TEST_DATA_DIR) + "/TTF";

// FreeSans at 20 points, rasterised once, in a 480-pixel-high window.
const TextureFont& font() {
  static const std::unique_ptr<TextureFont> font = [] {
    auto f = std::make_unique<TextureFont>();
    f->rasterise(kFontDir + "/FreeSans.ttf", 20);
    return f;
  }();
  return *font;
}

std::wstring formatted(const wchar_t* format, ...) {
  va_list args;
  va_start(args, format);
  std::wstring text = TextureFont::formatText(format, args);
  va_end(args);
  return text;
}

// Whole-pixel advances; each glyph in a power-of-two texture (old GL wants
// them) with its ink in the corner the quad maps, the rest transparent; an
// inkless code gets a transparent one-by-one texture; a missing file throws.
TEST(TextureFont, GivesEachGlyphAWholePixelAdvanceAndAPowerOfTwoTexture) {
  EXPECT_EQ(font().advance('i'), std::floor(font().advance('i')));
  EXPECT_GT(font().advance('W'), font().advance('i'));
  EXPECT_EQ(font().textureWidth(' '), 1);
  EXPECT_EQ(font().textureHeight(' '), 1);
  EXPECT_EQ(font().texels(' '), (std::vector<uint8_t>{0xFF, 0x00}));
  EXPECT_THROW(TextureFont().rasterise(kFontDir + "/no-such-font.ttf", 20), std::runtime_error);

  const int w = font().textureWidth('g');
  const int h = font().textureHeight('g');
  ASSERT_TRUE(w > 0 && (w & (w - 1)) == 0 && h > 0 && (h & (h - 1)) == 0) << w << " x " << h;
  const float* v = font().quadVertices('g');
  const float* t = font().quadTexCoords('g');
  const float inkWidth = v[4] - v[0];
  const float inkRows = v[1] - v[3];
  EXPECT_LE(inkWidth, w);
  EXPECT_FLOAT_EQ(t[4], inkWidth / w);
  EXPECT_FLOAT_EQ(t[3], inkRows / h);
  EXPECT_FLOAT_EQ(t[0], 0);
  EXPECT_FLOAT_EQ(t[1], 0);
  EXPECT_LT(v[3], 0);  // 'g' hangs below the baseline
  const std::vector<uint8_t>& texels = font().texels('g');
  ASSERT_EQ(texels.size(), static_cast<size_t>(w * h * 2));
  int inked = 0;
  for (int j = 0; j < h; ++j) {
    for (int i = 0; i < w; ++i) {
      const uint8_t* texel = &texels[(j * w + i) * 2];
      EXPECT_EQ(texel[0], 0xFF);
      EXPECT_TRUE((i < inkWidth && j < inkRows) || texel[1] == 0) << i << "," << j;
      inked += texel[1] > 0;
    }
  }
  EXPECT_GT(inked, 10);
}

// At twice the pixel scale the glyph images have twice the pixels, while
// the quads and advances, in design units, stay within half a design unit of
// the 1x ones: a text keeps its place and width in a larger window.
TEST(TextureFont, RasterisedAtTwiceTheScaleKeepsItsSizeWithTwiceThePixels) {
  TextureFont sharp;
  sharp.rasterise(kFontDir + "/FreeSans.ttf", 20, 2.0f);
  EXPECT_EQ(sharp.scale(), 2.0f);
  EXPECT_FLOAT_EQ(sharp.lineHeight(), font().lineHeight());
  for (int code : {'g', 'W', 'i', '7'}) {
    EXPECT_NEAR(sharp.advance(code), font().advance(code), 0.5f) << char(code);
    for (int k = 0; k < 8; ++k) {
      EXPECT_NEAR(sharp.quadVertices(code)[k], font().quadVertices(code)[k], 1.0f) << char(code);
    }
    const float inkWidth = sharp.quadVertices(code)[4] - sharp.quadVertices(code)[0];
    EXPECT_FLOAT_EQ(sharp.quadTexCoords(code)[4] * sharp.textureWidth(code), inkWidth * 2);
  }
}

// Characters one advance apart, a line feed one line lower, a block as wide
// as its widest line, and each code drawn with the glyph of its low byte.
// Centring is seen in the render test (the game centres single lines only).
TEST(TextureFont, LaysOutLinesOfCharactersEachCodeByItsLowByte) {
  const auto placed = font().layout(10, 20, L"AB\nC");
  ASSERT_EQ(placed.size(), 3u);
  EXPECT_EQ(placed[0].code, 'A');
  EXPECT_FLOAT_EQ(placed[0].x, 10);
  EXPECT_FLOAT_EQ(placed[0].y, 480 - 20 - font().lineHeight());
  EXPECT_FLOAT_EQ(placed[1].x, 10 + font().advance('A'));
  EXPECT_FLOAT_EQ(placed[1].y, placed[0].y);
  EXPECT_EQ(placed[2].code, 'C');
  EXPECT_FLOAT_EQ(placed[2].x, 10);
  EXPECT_FLOAT_EQ(placed[2].y, placed[0].y - font().lineHeight());
  EXPECT_FLOAT_EQ(font().widestLine(L"W\nWWW"), 3 * font().advance('W'));

  const auto wide = font().layout(0, 0, L"\u0141\u2045\u00e9");
  ASSERT_EQ(wide.size(), 3u);
  EXPECT_EQ((std::vector{wide[0].code, wide[1].code, wide[2].code}),
            (std::vector{0x41, 0x45, 0xE9}));
  EXPECT_FLOAT_EQ(font().advance(0x141), font().advance('A'));
  EXPECT_FLOAT_EQ(font().widestLine(L"\u0141"), font().advance('A'));
  // Codes 128 to 255 have glyphs of their own: e acute has more rows of ink than e.
  const float* accented = font().quadVertices(0xE9);
  const float* plain = font().quadVertices('e');
  EXPECT_GT(accented[1] - accented[3], plain[1] - plain[3]);
}

TEST(TextureFont, FormatsOnceSoAPercentInAnArgumentStaysAndCutsAt255) {
  EXPECT_EQ(formatted(L"%ls", L"100%d sure"), L"100%d sure");
  EXPECT_EQ(formatted(L"%d", 42), L"42");
  EXPECT_EQ(formatted(nullptr), L"");
  EXPECT_EQ(formatted(L"%ls", std::wstring(400, L'x').c_str()), std::wstring(255, L'x'));
}

}  // namespace
