// A text wider than its area is drawn at the largest size that fits, with
// the same face and the same centre; the sizes are chosen without a window.
#include <gtest/gtest.h>

#include <memory>
#include <string>

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

// The notices and the longest status line the game shows.
const std::wstring kLongTexts[] = {L"Les noirs passent", L"Les blancs passent",
                                   L"Vous devez passer", L"Nick name was refused by server",
                                   L"Connexion perdue"};

TEST(FittingFont, KeepsTheSizeWhenTheTextFitsAndOtherwiseTakesTheLargestThatFits) {
  const auto proportional = [](int size) { return size * 10.0f; };
  EXPECT_EQ(FittingFont::largestFittingSize(35, 400, proportional), 35);
  EXPECT_EQ(FittingFont::largestFittingSize(35, 350, proportional), 35);
  EXPECT_EQ(FittingFont::largestFittingSize(35, 349, proportional), 34);
  EXPECT_EQ(FittingFont::largestFittingSize(35, 300, proportional), 30);
  EXPECT_EQ(FittingFont::largestFittingSize(35, 5, proportional), 1);
  // Widths that do not grow in proportion: the estimate is corrected both ways.
  const auto square = [](int size) { return static_cast<float>(size * size); };
  EXPECT_EQ(FittingFont::largestFittingSize(35, 300, square), 17);
  EXPECT_EQ(FittingFont::largestFittingSize(35, 1000, square), 31);
  const auto stepped = [](int size) { return size < 20 ? size * 2.0f : size * 40.0f; };
  EXPECT_EQ(FittingFont::largestFittingSize(35, 100, stepped), 19);
}

TEST(FittingFont, DrawsEveryLongNoticeAtTheLargestSizeThatFitsTheWindow) {
  vgl::gWindowHeight = 480;
  const auto large = rasterised(35);
  FittingFont fitting(large.get());
  for (const std::wstring& text : kLongTexts) {
    for (float width : {300.0f, 240.0f, 160.0f, 80.0f}) {
      const TextureFont& font = fitting.fontFor(text, width);
      EXPECT_LE(font.widestLine(text), width) << width;
      if (font.size() < 35) {
        EXPECT_GT(rasterised(font.size() + 1)->widestLine(text), width)
            << "size " << font.size() << " is not the largest that fits " << width;
        EXPECT_EQ(font.path(), kMatisse) << "the same face";
      }
    }
  }
  EXPECT_GT(large->widestLine(L"Les noirs passent"), 300) << "the notice that was cut";
  EXPECT_LT(fitting.fontFor(L"Les noirs passent", 300).size(), 35);
}

TEST(FittingFont, ShrinksTheLongestStatusLineAndLeavesShortTextsAlone) {
  const auto small = rasterised(20);
  FittingFont fitting(small.get());
  const std::wstring status = L"C'est a Desdemonia de jouer";
  EXPECT_GT(small->widestLine(status), 320) << "the status line that was cut";
  // The status line's band leaves it 264 pixels.
  for (float width : {320.0f, 264.0f, 200.0f}) {
    const TextureFont& font = fitting.fontFor(status, width);
    EXPECT_LT(font.size(), 20);
    EXPECT_LE(font.widestLine(status), width);
  }
  EXPECT_EQ(&fitting.fontFor(L"C'est votre tour", 264), small.get());
  EXPECT_EQ(&fitting.fontFor(L"Aux blancs de jouer", 264), small.get());
  EXPECT_EQ(&fitting.fontFor(L"Echec", 264), small.get());
}

TEST(FittingFont, KeepsOneRasterisationPerSize) {
  const auto large = rasterised(35);
  FittingFont fitting(large.get());
  const TextureFont& first = fitting.fontFor(L"Les noirs passent", 300);
  EXPECT_EQ(&fitting.fontFor(L"Les noirs passent", 300), &first);
  EXPECT_EQ(&fitting.fontFor(L"Les blancs passent", first.widestLine(L"Les blancs passent")),
            &first);
}

TEST(FittingFont, PutsTheSmallerTextOnTheSameCentre) {
  vgl::gWindowHeight = 480;
  const auto large = rasterised(35);
  FittingFont fitting(large.get());
  const std::wstring text = L"Nick name was refused by server";
  const TextureFont& font = fitting.fontFor(text, 300);
  ASSERT_LT(font.size(), 35);

  // The middle of the capitals, in OpenGL coordinates (y up).
  const auto capitalMiddle = [](const TextureFont& f, float top) {
    const auto placements = f.layoutCentred(160, top, L"H");
    return placements[0].y + f.quadVertices('H')[1] / 2;
  };
  EXPECT_NEAR(capitalMiddle(font, fitting.topFor(font, 120)), capitalMiddle(*large, 120), 0.01);
  EXPECT_EQ(fitting.topFor(*large, 120), 120);

  const auto placements = font.layoutCentred(160, 120, text);
  const float left = placements.front().x;
  const float right = placements.back().x + font.advance(text.back());
  EXPECT_NEAR((left + right) / 2, 160, 0.5);
  EXPECT_GE(left, 10);
  EXPECT_LE(right, 310);
}

}  // namespace
