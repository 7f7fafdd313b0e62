// Decodes a PNG file into 8-bit RGB or RGBA pixels stored bottom row first,
// the order glTexImage2D expects for a picture whose first row is its top.
//
// Whatever the file holds (palette, 1-, 2- or 4-bit grey, grey with alpha,
// 16-bit channels, a transparency chunk) comes out as 3 or 4 bytes per pixel.
// Failures are reported on standard error and give a zero image, so a
// missing picture shows as an empty texture rather than stopping the game.
//
// Thread safety: loadPng keeps no state; calls on different files may run
// on any threads.
#ifndef VANTOR_OPENGLCLIENT_PNGLOADER_H_
#define VANTOR_OPENGLCLIENT_PNGLOADER_H_

#include <cstdint>
#include <string>
#include <vector>

struct PngImage {
  uint32_t width = 0;
  uint32_t height = 0;
  // width * height * (4 with alpha, else 3) bytes; the last picture row first.
  std::vector<uint8_t> pixels;
};

// Pictures wider or higher than this are refused: no texture of the game
// comes near it, and it keeps a hostile header from asking for gigabytes.
constexpr uint32_t kMaxPngSide = 8192;

PngImage loadPng(const std::string& path, bool withAlpha);

#endif  // VANTOR_OPENGLCLIENT_PNGLOADER_H_
