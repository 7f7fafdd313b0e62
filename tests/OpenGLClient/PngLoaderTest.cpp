#include <gtest/gtest.h>
#include <png.h>

#include <cstdio>
#include <fstream>
#include <string>
#include <vector>

#include "OpenGLClient/PngLoader.h"

namespace {

struct PngSpec {
  int width;
  int height;
  int colourType;
  int bitDepth;
  // Packed rows, top row first, as the file stores them.
  std::vector<std::vector<png_byte>> rows;
  std::vector<png_color> palette;
  std::vector<png_byte> transparency;
};

std::string tempPath(const std::string& name) {
  return ::testing::TempDir() + "vantor-" + name;
}

std::string writePng(const std::string& name, const PngSpec& spec) {
  const std::string path = tempPath(name);
  FILE* file = std::fopen(path.c_str(), "wb");
  EXPECT_NE(file, nullptr);
  png_structp png = png_create_write_struct(PNG_LIBPNG_VER_STRING, nullptr, nullptr, nullptr);
  png_infop info = png_create_info_struct(png);
  png_init_io(png, file);
  png_set_IHDR(png, info, spec.width, spec.height, spec.bitDepth, spec.colourType,
               PNG_INTERLACE_NONE, PNG_COMPRESSION_TYPE_DEFAULT, PNG_FILTER_TYPE_DEFAULT);
  if (!spec.palette.empty()) {
    png_set_PLTE(png, info, spec.palette.data(), static_cast<int>(spec.palette.size()));
  }
  if (!spec.transparency.empty()) {
    png_set_tRNS(png, info, spec.transparency.data(), static_cast<int>(spec.transparency.size()),
                 nullptr);
  }
  png_write_info(png, info);
  for (const auto& row : spec.rows) png_write_row(png, row.data());
  png_write_end(png, nullptr);
  png_destroy_write_struct(&png, &info);
  std::fclose(file);
  return path;
}

// The pixel at picture column x, picture row y (0 the top row).
std::vector<uint8_t> pixelAt(const PngImage& image, int x, int y) {
  const int channels = static_cast<int>(image.pixels.size() / (image.width * image.height));
  const size_t row = image.height - 1 - y;  // stored bottom row first
  const size_t at = (row * image.width + x) * channels;
  return std::vector<uint8_t>(image.pixels.begin() + at, image.pixels.begin() + at + channels);
}

using Bytes = std::vector<uint8_t>;

TEST(LoadPng, ExpandsOneBitGreyToRgbBottomRowFirst) {
  // 3 x 2: top row white, black, white; bottom row black, white, black.
  PngSpec spec{3, 2, PNG_COLOR_TYPE_GRAY, 1, {{0xA0}, {0x40}}, {}, {}};
  const PngImage image = loadPng(writePng("grey1.png", spec), false);
  ASSERT_EQ(image.width, 3u);
  ASSERT_EQ(image.height, 2u);
  ASSERT_EQ(image.pixels.size(), 3u * 2 * 3);
  EXPECT_EQ(pixelAt(image, 0, 0), (Bytes{255, 255, 255}));
  EXPECT_EQ(pixelAt(image, 1, 0), (Bytes{0, 0, 0}));
  EXPECT_EQ(pixelAt(image, 0, 1), (Bytes{0, 0, 0}));
  EXPECT_EQ(pixelAt(image, 1, 1), (Bytes{255, 255, 255}));
  // The first bytes of the buffer are the picture's last row.
  EXPECT_EQ(Bytes(image.pixels.begin(), image.pixels.begin() + 3), (Bytes{0, 0, 0}));
}

TEST(LoadPng, GivesOneBitGreyAnOpaqueAlphaWhenAsked) {
  PngSpec spec{3, 2, PNG_COLOR_TYPE_GRAY, 1, {{0xA0}, {0x40}}, {}, {}};
  const PngImage image = loadPng(writePng("grey1a.png", spec), true);
  ASSERT_EQ(image.pixels.size(), 3u * 2 * 4);
  EXPECT_EQ(pixelAt(image, 0, 0), (Bytes{255, 255, 255, 255}));
  EXPECT_EQ(pixelAt(image, 2, 1), (Bytes{0, 0, 0, 255}));
}

TEST(LoadPng, ExpandsAPaletteToRgb) {
  PngSpec spec{2, 2, PNG_COLOR_TYPE_PALETTE, 8, {{0, 1}, {2, 0}}, {}, {}};
  spec.palette = {{10, 20, 30}, {200, 100, 50}, {1, 2, 3}};
  const std::string path = writePng("palette.png", spec);
  const PngImage rgb = loadPng(path, false);
  ASSERT_EQ(rgb.pixels.size(), 2u * 2 * 3);
  EXPECT_EQ(pixelAt(rgb, 1, 0), (Bytes{200, 100, 50}));
  EXPECT_EQ(pixelAt(rgb, 0, 1), (Bytes{1, 2, 3}));
  const PngImage rgba = loadPng(path, true);
  ASSERT_EQ(rgba.pixels.size(), 2u * 2 * 4);
  EXPECT_EQ(pixelAt(rgba, 0, 0), (Bytes{10, 20, 30, 255}));
}

TEST(LoadPng, TurnsATransparencyChunkIntoAlphaOnlyWhenAsked) {
  PngSpec spec{2, 1, PNG_COLOR_TYPE_PALETTE, 8, {{0, 1}}, {}, {}};
  spec.palette = {{10, 20, 30}, {200, 100, 50}};
  spec.transparency = {0, 128};
  const std::string path = writePng("palette-trns.png", spec);
  const PngImage rgba = loadPng(path, true);
  ASSERT_EQ(rgba.pixels.size(), 2u * 4);
  EXPECT_EQ(pixelAt(rgba, 0, 0), (Bytes{10, 20, 30, 0}));
  EXPECT_EQ(pixelAt(rgba, 1, 0), (Bytes{200, 100, 50, 128}));
  // Without alpha the buffer holds exactly three bytes a pixel.
  const PngImage rgb = loadPng(path, false);
  ASSERT_EQ(rgb.pixels.size(), 2u * 3);
  EXPECT_EQ(pixelAt(rgb, 1, 0), (Bytes{200, 100, 50}));
}

TEST(LoadPng, ReducesSixteenBitRgbaToEightBits) {
  // One row of two pixels, big-endian 16-bit channels.
  PngSpec spec{2,
               1,
               PNG_COLOR_TYPE_RGB_ALPHA,
               16,
               {{0xAB, 0xCD, 0x12, 0x34, 0xFF, 0xFF, 0x80, 0x00,  //
                 0x00, 0x01, 0x7F, 0xFF, 0x40, 0x00, 0x00, 0x00}},
               {},
               {}};
  const std::string path = writePng("rgba16.png", spec);
  const PngImage rgba = loadPng(path, true);
  ASSERT_EQ(rgba.pixels.size(), 2u * 4);
  EXPECT_EQ(pixelAt(rgba, 0, 0)[0], 0xAB);
  EXPECT_EQ(pixelAt(rgba, 0, 0)[3], 0x80);
  EXPECT_EQ(pixelAt(rgba, 1, 0)[3], 0x00);
  const PngImage rgb = loadPng(path, false);
  ASSERT_EQ(rgb.pixels.size(), 2u * 3);
  EXPECT_EQ(pixelAt(rgb, 0, 0)[0], 0xAB);
  EXPECT_EQ(pixelAt(rgb, 0, 0)[2], 0xFF);
  EXPECT_EQ(pixelAt(rgb, 1, 0)[2], 0x40);
}

TEST(LoadPng, ExpandsGreyWithAlphaToRgba) {
  PngSpec spec{1, 1, PNG_COLOR_TYPE_GRAY_ALPHA, 8, {{90, 30}}, {}, {}};
  const std::string path = writePng("grey-alpha.png", spec);
  EXPECT_EQ(pixelAt(loadPng(path, true), 0, 0), (Bytes{90, 90, 90, 30}));
  EXPECT_EQ(pixelAt(loadPng(path, false), 0, 0), (Bytes{90, 90, 90}));
}

TEST(LoadPng, KeepsTheRowOrderOfATallPicture) {
  PngSpec spec{1, 4, PNG_COLOR_TYPE_GRAY, 8, {{10}, {20}, {30}, {40}}, {}, {}};
  const PngImage image = loadPng(writePng("tall.png", spec), false);
  ASSERT_EQ(image.pixels.size(), 4u * 3);
  EXPECT_EQ(image.pixels[0], 40);
  EXPECT_EQ(image.pixels[3], 30);
  EXPECT_EQ(image.pixels[6], 20);
  EXPECT_EQ(image.pixels[9], 10);
}

TEST(LoadPng, ReportsAMissingFileAndGivesAZeroImage) {
  const std::string path = tempPath("no-such-picture.png");
  std::remove(path.c_str());
  ::testing::internal::CaptureStderr();
  const PngImage image = loadPng(path, true);
  EXPECT_EQ(::testing::internal::GetCapturedStderr(), "Can't open PNG file " + path + "\n");
  EXPECT_EQ(image.width, 0u);
  EXPECT_EQ(image.height, 0u);
  EXPECT_TRUE(image.pixels.empty());
}

TEST(LoadPng, ReportsAFileThatIsNoPng) {
  const std::string path = tempPath("not-a-picture.png");
  std::ofstream(path) << "GIF89a, or anything else";
  ::testing::internal::CaptureStderr();
  const PngImage image = loadPng(path, false);
  EXPECT_EQ(::testing::internal::GetCapturedStderr(), path + " is not a PNG file\n");
  EXPECT_TRUE(image.pixels.empty());
}

TEST(LoadPng, ReportsATruncatedFileAndGivesAZeroImage) {
  PngSpec spec{64, 64, PNG_COLOR_TYPE_RGB, 8, {}, {}, {}};
  for (int y = 0; y < 64; ++y) {
    std::vector<png_byte> row(64 * 3);
    for (size_t i = 0; i < row.size(); ++i) row[i] = static_cast<png_byte>(i * 7 + y * 13);
    spec.rows.push_back(row);
  }
  const std::string path = writePng("whole.png", spec);
  std::ifstream in(path, std::ios::binary);
  std::string bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
  const std::string cut = tempPath("cut.png");
  std::ofstream(cut, std::ios::binary) << bytes.substr(0, bytes.size() / 2);
  ::testing::internal::CaptureStderr();
  const PngImage image = loadPng(cut, false);
  EXPECT_EQ(::testing::internal::GetCapturedStderr(), "Can't load PNG file " + cut + "\n");
  EXPECT_EQ(image.width, 0u);
  EXPECT_TRUE(image.pixels.empty());
}

}  // namespace
