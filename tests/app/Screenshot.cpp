#include "tests/app/Screenshot.h"

#include <png.h>

#include <cstdio>
#include <cstdlib>

Rgb Screenshot::at(int x, int y) const {
  if (x < 0 || y < 0 || x >= width_ || y >= height_) return Rgb{0, 0, 0};
  const uint8_t* p = &rgb_[(static_cast<size_t>(y) * width_ + x) * 3];
  return Rgb{p[0], p[1], p[2]};
}

Rgb Screenshot::mean(int x, int y, int r) const {
  long sr = 0, sg = 0, sb = 0, n = 0;
  for (int dy = -r; dy <= r; ++dy) {
    for (int dx = -r; dx <= r; ++dx) {
      Rgb c = at(x + dx, y + dy);
      sr += c.r;
      sg += c.g;
      sb += c.b;
      ++n;
    }
  }
  return Rgb{static_cast<int>(sr / n), static_cast<int>(sg / n), static_cast<int>(sb / n)};
}

double Screenshot::difference(const Screenshot& other, int x0, int y0, int x1, int y1) const {
  double total = 0;
  long n = 0;
  for (int y = y0; y <= y1; ++y) {
    for (int x = x0; x <= x1; ++x) {
      Rgb a = at(x, y), b = other.at(x, y);
      total += std::abs(a.r - b.r) + std::abs(a.g - b.g) + std::abs(a.b - b.b);
      n += 3;
    }
  }
  return n ? total / n : 0;
}

int Screenshot::brightPixels(int x0, int y0, int x1, int y1, int luminance) const {
  int count = 0;
  for (int y = y0; y <= y1; ++y) {
    for (int x = x0; x <= x1; ++x) {
      if (at(x, y).luminance() > luminance) ++count;
    }
  }
  return count;
}

bool Screenshot::writePng(const std::string& path) const {
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
