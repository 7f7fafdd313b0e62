// The pictures of the resource set, as the window shows them (its left 320
// columns and bottom 480 rows): 512 x 512, and clear and dark enough for
// white text where the screens write their texts.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "OpenGLClient/PngLoader.h"
#include "tests/OpenGLClient/Picture.h"

namespace {

struct Rect {
  int x0, y0, x1, y1;
};

struct Screen {
  const char* picture;
  std::vector<Rect> textRows;
};

std::vector<Screen> screens() {
  const std::vector<Rect> threeButtons = {
      {70, 326, 250, 354}, {70, 376, 250, 404}, {70, 425, 250, 453}};
  Screen localCentre{"localcenter", {{70, 45, 250, 73}}};
  for (int k = 0; k < 7; ++k)
    localCentre.textRows.push_back({100, 130 + 49 * k, 240, 158 + 49 * k});
  Screen lobby{"netcenter", {{20, 322, 300, 360}, {20, 372, 300, 457}}};
  for (int k = 0; k < 12; ++k) {
    lobby.textRows.push_back({30, 58 + 19 * k, 160, 74 + 19 * k});
    lobby.textRows.push_back({170, 58 + 19 * k, 292, 74 + 19 * k});
  }
  return {{"mainmenu", threeButtons},
          {"colorselect", threeButtons},
          localCentre,
          {"netmenu", {{128, 328, 298, 353}, {128, 377, 298, 402}, {112, 425, 230, 453}}},
          lobby,
          {"gamebg", {{34, 326, 286, 358}, {106, 392, 152, 446}, {246, 392, 292, 446}}}};
}

TEST(Pictures, LeaveTheRowsOfTheirScreensTextsClearAndDark) {
  for (const Screen& screen : screens()) {
    const PngImage image =
        loadPng(std::string(VANTOR_TEST_DATA_DIR) + "/PNG/" + screen.picture + ".png", false);
    ASSERT_EQ(image.width, 512u) << screen.picture;
    ASSERT_EQ(image.height, 512u) << screen.picture;
    const Picture shown =
        Picture::fromBottomRows(512, 512, 3, image.pixels.data()).crop(0, 32, 320, 480);
    for (const Rect& r : screen.textRows) {
      const Rgb first = shown.at(r.x0, r.y0);
      for (int y = r.y0; y <= r.y1; ++y) {
        for (int x = r.x0; x <= r.x1; ++x) {
          const Rgb p = shown.at(x, y);
          ASSERT_LE(distance(p, first), 12)
              << screen.picture << ": not clear at " << x << ", " << y;
          ASSERT_LT(p.luminance(), 90) << screen.picture << ": too light at " << x << ", " << y;
        }
      }
    }
  }
}

}  // namespace
