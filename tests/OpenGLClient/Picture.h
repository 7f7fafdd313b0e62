// An RGB picture, top row first, addressed in window coordinates: a window
// read back from OpenGL or from the X server, or a picture file as the
// window shows it. It answers the pixel questions the tests ask and writes
// itself as a PNG, so a person can look at what a test saw.
//
// Thread safety: plain value; one thread at a time.
#ifndef VANTOR_TESTS_OPENGLCLIENT_PICTURE_H_
#define VANTOR_TESTS_OPENGLCLIENT_PICTURE_H_

#include <cstdint>
#include <string>
#include <utility>
#include <vector>

struct Rgb {
  int r, g, b;
  int luminance() const { return (r * 299 + g * 587 + b * 114) / 1000; }
};

// The largest difference of one channel.
int distance(const Rgb& a, const Rgb& b);

class Picture {
 public:
  Picture() = default;
  Picture(int width, int height, std::vector<uint8_t> rgb)
      : width_(width), height_(height), rgb_(std::move(rgb)) {}
  // From rows stored bottom first (OpenGL's order) with 3 or 4 bytes a pixel.
  static Picture fromBottomRows(int width, int height, int channels, const uint8_t* pixels);

  bool empty() const { return width_ == 0; }
  int width() const { return width_; }
  int height() const { return height_; }
  // Black outside the picture.
  Rgb at(int x, int y) const;
  // The mean colour over the square of side 2r + 1 centred on (x, y).
  Rgb mean(int x, int y, int r) const;
  // Mean absolute difference per channel over the rectangle (x0, y0)-(x1, y1).
  double difference(const Picture& other, int x0, int y0, int x1, int y1) const;
  Picture crop(int x0, int y0, int width, int height) const;
  bool writePng(const std::string& path) const;

 private:
  int width_ = 0;
  int height_ = 0;
  std::vector<uint8_t> rgb_;
};

#endif  // VANTOR_TESTS_OPENGLCLIENT_PICTURE_H_
