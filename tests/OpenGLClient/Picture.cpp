#include "tests/OpenGLClient/Picture.h"

#include <png.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>

int distance(const Rgb& a, const Rgb& b) {
  return std::max({std::abs(a.r - b.r), std::abs(a.g - b.g), std::abs(a.b - b.b)});
}

Picture Picture::fromBottomRows(int width, int height, int channels, const uint8_t* pixels) {
  std::vector<uint8_t> rgb;
  rgb.reserve(static_cast<size_t>(width) * height * 3);
  for (int y = height - 1; y >= 0; --y) {
    for (int x = 0; x < width; ++x) {
      const uint8_t* p = pixels + (static_cast<size_t>(y) * width + x) * channels;
      rgb.insert(rgb.end(), p, p + 3);
    }
  }
  return Picture(width, height, std::move(rgb));
}

Rgb Picture::at(int x, int y) const {
  if (x < 0 || y < 0 || x >= width_ || y >= height_) return Rgb{0, 0, 0};
  const uint8_t* p = &rgb_[(static_cast<size_t>(y) * width_ + x) * 3];
  return Rgb{p[0], p[1], p[2]};
}

Rgb Picture::mean(int x, int y, int r) const {
  long sr = 0, sg = 0, sb = 0;
  for (int dy = -r; dy <= r; ++dy) {
    for (int dx = -r; dx <= r; ++dx) {
      const Rgb c = at(x + dx, y + dy);
      sr += c.r;
      sg += c.g;
      sb += c.b;
    }
  }
  const long n = (2L * r + 1) * (2L * r + 1);
  return Rgb{static_cast<int>(sr / n), static_cast<int>(sg / n), static_cast<int>(sb / n)};
}

double Picture::difference(const Picture& other, int x0, int y0, int x1, int y1) const {
  double total = 0;
  for (int y = y0; y <= y1; ++y) {
    for (int x = x0; x <= x1; ++x) {
      const Rgb a = at(x, y), b = other.at(x, y);
      total += std::abs(a.r - b.r) + std::abs(a.g - b.g) + std::abs(a.b - b.b);
    }
  }
  return total / (3.0 * (x1 - x0 + 1) * (y1 - y0 + 1));
}

Picture Picture::crop(int x0, int y0, int width, int height) const {
  std::vector<uint8_t> rgb;
  for (int y = y0; y < y0 + height; ++y) {
    for (int x = x0; x < x0 + width; ++x) {
      const Rgb c = at(x, y);
      rgb.insert(rgb.end(),
                 {static_cast<uint8_t>(c.r), static_cast<uint8_t>(c.g), static_cast<uint8_t>(c.b)});
    }
  }
  return Picture(width, height, std::move(rgb));
}

bool Picture::writePng(const std::string& path) const {
  if (empty()) return false;
  FILE* file = std::fopen(path.c_str(), "wb");
  if (!file) return false;
  png_structp png = png_create_write_struct(PNG_LIBPNG_VER_STRING, nullptr, nullptr, nullptr);
  png_infop info = png ? png_create_info_struct(png) : nullptr;
  if (!png || !info || setjmp(png_jmpbuf(png))) {
    png_destroy_write_struct(&png, info ? &info : nullptr);
    std::fclose(file);
    return false;
  }
  png_init_io(png, file);
  png_set_IHDR(png, info, width_, height_, 8, PNG_COLOR_TYPE_RGB, PNG_INTERLACE_NONE,
               PNG_COMPRESSION_TYPE_DEFAULT, PNG_FILTER_TYPE_DEFAULT);
  png_write_info(png, info);
  for (int y = 0; y < height_; ++y) {
    png_write_row(png, const_cast<png_bytep>(&rgb_[static_cast<size_t>(y) * width_ * 3]));
  }
  png_write_end(png, nullptr);
  png_destroy_write_struct(&png, &info);
  return std::fclose(file) == 0;
}
