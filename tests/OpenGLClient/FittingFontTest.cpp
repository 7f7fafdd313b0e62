// A text wider than its area is drawn at the largest size that fits, in the
// same face; the sizes are chosen without a window. Where the smaller text
// goes is seen in pictures: the render test finds a fitted status line
// centred, the window tests a pass notice over the rows where notices are
// written and the longest status line within its band.
#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "OpenGLClient/FittingFont.h"
#include "OpenGLClient/Texture.h"
#include "OpenGLClient/TextureFont.h"

namespace {

using vgl::FittingFont;

const std::string kMatisse = std::string(VANTOR_TEST_DATA_DIR) + "/TTF/matisse.ttf";

std::unique_ptr<TextureFont> rasterised(int size) {
  auto font = std::make_unique<TextureFont>();
  font->rasterise(kMatisse, size);
  return font;
}

// The notices (at 35 points) and the longest status line (at 20) in bands
// narrower and narrower, each at the largest size that fits (whichever way
// the size's first estimate errs); short texts keep the font they are given.
TEST(FittingFont, DrawsLongTextsAtTheLargestSizeThatFitsRasterisedOncePerSize) {
  struct Case {
    int size;
    float cutWidth;  // the first text does not fit it at full size
    std::vector<std::wstring> texts, shortTexts;
  };
  for (const Case& c :
       {Case{35, 300, {L"Les blancs passent", L"Nick name was refused by server"}, {}},
        Case{20,
             320,
             {L"C'est a Desdemonia de jouer"},
             {L"C'est votre tour", L"Aux blancs de jouer", L"Echec"}}}) {
    const auto full = rasterised(c.size);
    FittingFont fitting(full.get());
    ASSERT_GT(full->widestLine(c.texts[0]), c.cutWidth) << "the text that was cut";
    for (const std::wstring& text : c.texts) {
      for (float width : {320.0f, 300.0f, 264.0f, 200.0f, 80.0f}) {
        const TextureFont& font = fitting.fontFor(text, width);
        EXPECT_LE(font.widestLine(text), width) << width;
        if (font.size() < c.size) {
          EXPECT_GT(rasterised(font.size() + 1)->widestLine(text), width)
              << "size " << font.size() << " is not the largest that fits " << width;
          EXPECT_EQ(font.path(), kMatisse) << "the same face";
        }
      }
    }
    // One rasterisation per size, whichever text asks for it.
    const TextureFont& first = fitting.fontFor(c.texts[0], c.cutWidth);
    EXPECT_LT(first.size(), c.size);
    EXPECT_EQ(&fitting.fontFor(c.texts[0], c.cutWidth), &first);
    EXPECT_EQ(&fitting.fontFor(L"Les blancs passent", first.widestLine(L"Les blancs passent")),
              &first);
    for (const std::wstring& text : c.shortTexts)
      EXPECT_EQ(&fitting.fontFor(text, 264), full.get());
  }
}

}  // namespace
