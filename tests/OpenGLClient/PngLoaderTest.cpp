// loadPng on pictures the test writes itself: a paletted picture with a
// transparency chunk (which once overflowed the buffer when alpha was not
// asked for) comes out as 8-bit RGB or RGBA, bottom row first; a missing,
// bad, truncated or oversized file gives a message and a zero image.
#include <gtest/gtest.h>
#include <png.h>

#include <cstdio>
#include <fstream>
#include <string>
#include <vector>

#include "OpenGLClient/PngLoader.h"

namespace {

using Bytes = std::vector<uint8_t>;

std::string tempPath(const std::string& name) {
  return ::testing::TempDir() + "vantor-" + name;
}

// Rows packed, top row first, as the file stores them.
std::string writePng(const std::string& name, int width, int colourType, int bitDepth,
                     const std::vector<Bytes>& rows, std::vector<png_color> palette = {},
                     Bytes transparency = {}) {
  const std::string path = tempPath(name);
  FILE* file = std::fopen(path.c_str(), "wb");
  EXPECT_NE(file, nullptr);
  png_structp png = png_create_write_struct(PNG_LIBPNG_VER_STRING, nullptr, nullptr, nullptr);
  png_infop info = png_create_info_struct(png);
  png_init_io(png, file);
  png_set_IHDR(png, info, width, static_cast<int>(rows.size()), bitDepth, colourType,
               PNG_INTERLACE_NONE, PNG_COMPRESSION_TYPE_DEFAULT, PNG_FILTER_TYPE_DEFAULT);
  if (!palette.empty()) png_set_PLTE(png, info, palette.data(), static_cast<int>(palette.size()));
  if (!transparency.empty()) {
    png_set_tRNS(png, info, transparency.data(), static_cast<int>(transparency.size()), nullptr);
  }
  png_write_info(png, info);
  for (const Bytes& row : rows) png_write_row(png, row.data());
  png_write_end(png, nullptr);
  png_destroy_write_struct(&png, &info);
  std::fclose(file);
  return path;
}

// Two rows of a palette with a transparency chunk, whose expansion gives a
// fourth byte a pixel that must be stripped when alpha is not asked for;
// then the same file cut short, and others that must be refused.
TEST(LoadPng, LoadsAPalettedPictureWithTransparencyBottomRowFirstAndRefusesBadFiles) {
  const std::string picture =
      writePng("palette-trns.png", 2, PNG_COLOR_TYPE_PALETTE, 8, {{0, 1}, {2, 0}},
               {{10, 20, 30}, {200, 100, 50}, {1, 2, 3}}, {0, 128});
  const PngImage rgb = loadPng(picture, false);
  EXPECT_EQ(rgb.width, 2u);
  EXPECT_EQ(rgb.height, 2u);
  EXPECT_EQ(rgb.pixels, (Bytes{1, 2, 3, 10, 20, 30, 10, 20, 30, 200, 100, 50}));
  EXPECT_EQ(loadPng(picture, true).pixels,
            (Bytes{1, 2, 3, 255, 10, 20, 30, 0, 10, 20, 30, 0, 200, 100, 50, 128}));

  std::ifstream in(picture, std::ios::binary);
  const std::string bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
  const std::string missing = tempPath("no-such-picture.png");
  const std::string notPng = tempPath("not-a-picture.png");
  const std::string cut = tempPath("cut.png");
  // A valid file whose header asks for more than any texture needs.
  const std::string wide = writePng("wide.png", kMaxPngSide + 1, PNG_COLOR_TYPE_GRAY, 1,
                                    {Bytes((kMaxPngSide + 8) / 8, 0)});
  std::remove(missing.c_str());
  std::ofstream(notPng) << "GIF89a, or anything else";
  std::ofstream(cut, std::ios::binary) << bytes.substr(0, bytes.size() - 20);
  for (const auto& [path, message] :
       {std::make_pair(missing, "Can't open PNG file " + missing + "\n"),
        std::make_pair(notPng, notPng + " is not a PNG file\n"),
        std::make_pair(cut, "Can't load PNG file " + cut + "\n"),
        std::make_pair(wide, "Can't load PNG file " + wide + "\n")}) {
    ::testing::internal::CaptureStderr();
    const PngImage image = loadPng(path, true);
    EXPECT_EQ(::testing::internal::GetCapturedStderr(), message);
    EXPECT_TRUE(image.width == 0 && image.height == 0 && image.pixels.empty()) << path;
  }
}

}  // namespace
