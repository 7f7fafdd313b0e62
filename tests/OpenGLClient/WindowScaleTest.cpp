// The design's 320 x 480 in windows of several sizes and shapes: where it is
// drawn, which design point each window pixel falls on, and the size the
// window first opens at on several screens.
#include <gtest/gtest.h>

#include "OpenGLClient/WindowScale.h"

namespace {

using vgl::WindowScale;

TEST(WindowScale, CentresTheDesignAndMapsItsCornersBackFromWindowsOfEveryShape) {
  struct Case {
    int windowWidth, windowHeight;
    int left, top, width, height;
  };
  const Case cases[] = {
      {320, 480, 0, 0, 320, 480},     // the design's own size: the identity
      {640, 960, 0, 0, 640, 960},     // twice
      {1000, 480, 340, 0, 320, 480},  // wide: bands left and right
      {320, 1000, 0, 260, 320, 480},  // tall: bands above and below
      {500, 700, 16, 0, 467, 700},    // neither a multiple nor the shape
      {1919, 1079, 600, 0, 719, 1079},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(testing::Message() << c.windowWidth << " x " << c.windowHeight);
    const WindowScale s(c.windowWidth, c.windowHeight);
    EXPECT_EQ(s.left(), c.left);
    EXPECT_EQ(s.top(), c.top);
    EXPECT_EQ(s.width(), c.width);
    EXPECT_EQ(s.height(), c.height);
    EXPECT_EQ(s.viewportY(), c.windowHeight - c.top - c.height);
    // The first and last pixels of the design map to its first and last
    // units; the pixels just outside it, in the bands, to outside it.
    EXPECT_EQ(s.designX(c.left), 0);
    EXPECT_EQ(s.designY(c.top), 0);
    EXPECT_EQ(s.designX(c.left + c.width - 1), 319);
    EXPECT_EQ(s.designY(c.top + c.height - 1), 479);
    EXPECT_LT(s.designX(c.left - 1), 0);
    EXPECT_GT(s.designY(c.top + c.height), 479);
  }
}

TEST(WindowScale, MapsEveryPixelOfAWholeMultipleToTheUnitItCovers) {
  const WindowScale once(320, 480), twice(640, 960), thrice(960, 1440);
  for (int x : {0, 1, 159, 160, 318, 319}) {
    EXPECT_EQ(once.designX(x), x);
    EXPECT_EQ(twice.designX(2 * x), x);
    EXPECT_EQ(twice.designX(2 * x + 1), x);
    EXPECT_EQ(thrice.designY(3 * x + 2), x);
  }
  EXPECT_EQ(twice.factor(), 2.0f);
  // A window shrunk to nothing still maps, to somewhere inside.
  const WindowScale none(0, 0);
  EXPECT_GT(none.factor(), 0.0f);
  EXPECT_GE(none.designX(0), 0);
}

TEST(WindowScale, OpensAtTheLargestWholeMultipleThatFits85PercentOfTheScreen) {
  EXPECT_EQ(WindowScale::initialMultiple(640, 512), 1);    // less than 1x fits: 1x still
  EXPECT_EQ(WindowScale::initialMultiple(1920, 1080), 1);  // 960 > 918
  EXPECT_EQ(WindowScale::initialMultiple(1920, 1200), 2);  // 960 <= 1020
  EXPECT_EQ(WindowScale::initialMultiple(2560, 1440), 2);
  EXPECT_EQ(WindowScale::initialMultiple(3840, 2160), 3);  // 4K: 1440 <= 1836 < 1920
  EXPECT_EQ(WindowScale::initialMultiple(1080, 1920), 3);  // portrait: its width binds
}

}  // namespace
