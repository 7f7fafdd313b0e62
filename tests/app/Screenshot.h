// A picture of a window taken from the X server, with the few pixel queries
// the window tests need, and a PNG writer so a person can look at it.
//
// Thread safety: plain value; one thread at a time.
#ifndef VANTOR_TESTS_APP_SCREENSHOT_H_
#define VANTOR_TESTS_APP_SCREENSHOT_H_

#include <cstdint>
#include <string>
#include <vector>

struct Rgb {
  int r, g, b;
  int luminance() const { return (r * 299 + g * 587 + b * 114) / 1000; }
};

class Screenshot {
 public:
  Screenshot() : width_(0), height_(0) {}
  Screenshot(int width, int height, std::vector<uint8_t> rgb)
      : width_(width), height_(height), rgb_(std::move(rgb)) {}

  bool empty() const { return width_ == 0; }
  int width() const { return width_; }
  int height() const { return height_; }
  Rgb at(int x, int y) const;
  // The mean colour over the square of side 2r+1 centred on (x, y).
  Rgb mean(int x, int y, int r) const;
  // Mean absolute difference per channel over a rectangle (x0..x1, y0..y1).
  double difference(const Screenshot& other, int x0, int y0, int x1, int y1) const;
  // The number of pixels of the rectangle brighter than luminance.
  int brightPixels(int x0, int y0, int x1, int y1, int luminance) const;
  bool writePng(const std::string& path) const;

 private:
  int width_;
  int height_;
  std::vector<uint8_t> rgb_;
};

#endif  // VANTOR_TESTS_APP_SCREENSHOT_H_
