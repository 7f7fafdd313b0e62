// loadPng on pictures the test writes itself: every colour type comes out as
// 8-bit RGB or RGBA, bottom row first; bad files give a message and a zero
// image.
#include <gtest/gtest.h>
#include <png.h>

#include <cstdio>
#include <fstream>
#include <string>
#include <vector>

#include "OpenGLClient/PngLoader.h"

namespace {

using Bytes = std::vector<uint8_t>;

struct Picture {
  const char* name;
  int width, height, colourType, bitDepth;
  std::vector<Bytes> rows;  // packed, top row first, as the file stores them
  std::vector<png_color> palette;
  Bytes transparency;
  Bytes rgba;  // the expected pixels, top row first
};

std::string tempPath(const std::string& name) {
  return ::testing::TempDir() + "vantor-" + name;
}

std::string writePng(const Picture& picture) {
  const std::string path = tempPath(std::string(picture.name) + ".png");
  FILE* file = std::fopen(path.c_str(), "wb");
  EXPECT_NE(file, nullptr);
  png_structp png = png_create_write_struct(PNG_LIBPNG_VER_STRING, nullptr, nullptr, nullptr);
  png_infop info = png_create_info_struct(png);
  png_init_io(png, file);
  png_set_IHDR(png, info, picture.width, picture.height, picture.bitDepth, picture.colourType,
               PNG_INTERLACE_NONE, PNG_COMPRESSION_TYPE_DEFAULT, PNG_FILTER_TYPE_DEFAULT);
  if (!picture.palette.empty()) {
    png_set_PLTE(png, info, picture.palette.data(), static_cast<int>(picture.palette.size()));
  }
  if (!picture.transparency.empty()) {
    png_set_tRNS(png, info, picture.transparency.data(),
                 static_cast<int>(picture.transparency.size()), nullptr);
  }
  png_write_info(png, info);
  for (const Bytes& row : picture.rows) png_write_row(png, row.data());
  png_write_end(png, nullptr);
  png_destroy_write_struct(&png, &info);
  std::fclose(file);
  return path;
}

// The expected top-first RGBA pixels as loadPng stores them: bottom row
// first, with or without the alpha byte.
Bytes stored(const Picture& picture, bool withAlpha) {
  Bytes out;
  for (int y = picture.height - 1; y >= 0; --y) {
    for (int x = 0; x < picture.width; ++x) {
      const uint8_t* p = &picture.rgba[(y * picture.width + x) * 4];
      out.insert(out.end(), p, p + (withAlpha ? 4 : 3));
    }
  }
  return out;
}

const std::vector<png_color> kPalette = {{10, 20, 30}, {200, 100, 50}, {1, 2, 3}};
// clang-format off
const std::vector<Picture> kPictures = {
    // Top row white, black, white; bottom row black, white, black.
    {"grey1", 3, 2, PNG_COLOR_TYPE_GRAY, 1, {{0xA0}, {0x40}}, {}, {},
     {255, 255, 255, 255,  0, 0, 0, 255,  255, 255, 255, 255,
      0, 0, 0, 255,  255, 255, 255, 255,  0, 0, 0, 255}},
    {"tall-grey8", 1, 4, PNG_COLOR_TYPE_GRAY, 8, {{10}, {20}, {30}, {40}}, {}, {},
     {10, 10, 10, 255,  20, 20, 20, 255,  30, 30, 30, 255,  40, 40, 40, 255}},
    {"palette", 2, 2, PNG_COLOR_TYPE_PALETTE, 8, {{0, 1}, {2, 0}}, kPalette, {},
     {10, 20, 30, 255,  200, 100, 50, 255,  1, 2, 3, 255,  10, 20, 30, 255}},
    // A transparency chunk gives alpha only when it is asked for.
    {"palette-trns", 2, 1, PNG_COLOR_TYPE_PALETTE, 8, {{0, 1}}, kPalette, {0, 128},
     {10, 20, 30, 0,  200, 100, 50, 128}},
    // Big-endian 16-bit channels keep their high byte.
    {"rgba16", 2, 1, PNG_COLOR_TYPE_RGB_ALPHA, 16,
     {{0xAB, 0xCD, 0x12, 0x34, 0xFF, 0xFF, 0x80, 0x00,  0x00, 0x01, 0x7F, 0xFF, 0x40, 0x00, 0x00, 0x00}},
     {}, {}, {0xAB, 0x12, 0xFF, 0x80,  0x00, 0x7F, 0x40, 0x00}},
    {"grey-alpha", 1, 1, PNG_COLOR_TYPE_GRAY_ALPHA, 8, {{90, 30}}, {}, {}, {90, 90, 90, 30}},
};
// clang-format on

TEST(LoadPng, GivesEightBitRgbOrRgbaBottomRowFirstForEveryKindOfPicture) {
  for (const Picture& picture : kPictures) {
    const std::string path = writePng(picture);
    for (bool withAlpha : {false, true}) {
      const PngImage image = loadPng(path, withAlpha);
      EXPECT_EQ(image.width, static_cast<uint32_t>(picture.width)) << picture.name;
      EXPECT_EQ(image.height, static_cast<uint32_t>(picture.height)) << picture.name;
      EXPECT_EQ(image.pixels, stored(picture, withAlpha))
          << picture.name << (withAlpha ? " with alpha" : " without alpha");
    }
  }
}

TEST(LoadPng, ReportsAMissingBadOrTruncatedFileAndGivesAZeroImage) {
  Picture whole{"whole", 64, 64, PNG_COLOR_TYPE_RGB, 8, {}, {}, {}, {}};
  for (int y = 0; y < 64; ++y) {
    Bytes row(64 * 3);
    for (size_t i = 0; i < row.size(); ++i) row[i] = static_cast<png_byte>(i * 7 + y * 13);
    whole.rows.push_back(row);
  }
  std::ifstream in(writePng(whole), std::ios::binary);
  const std::string bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
  const std::string missing = tempPath("no-such-picture.png");
  const std::string notPng = tempPath("not-a-picture.png");
  const std::string cut = tempPath("cut.png");
  std::remove(missing.c_str());
  std::ofstream(notPng) << "GIF89a, or anything else";
  std::ofstream(cut, std::ios::binary) << bytes.substr(0, bytes.size() / 2);
  for (const auto& [path, message] :
       {std::make_pair(missing, "Can't open PNG file " + missing + "\n"),
        std::make_pair(notPng, notPng + " is not a PNG file\n"),
        std::make_pair(cut, "Can't load PNG file " + cut + "\n")}) {
    ::testing::internal::CaptureStderr();
    const PngImage image = loadPng(path, true);
    EXPECT_EQ(::testing::internal::GetCapturedStderr(), message);
    EXPECT_EQ(image.width, 0u) << path;
    EXPECT_EQ(image.height, 0u) << path;
    EXPECT_TRUE(image.pixels.empty()) << path;
  }
}

}  // namespace
