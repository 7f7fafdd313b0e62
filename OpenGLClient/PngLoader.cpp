#include "OpenGLClient/PngLoader.h"

#include <png.h>

#include <csetjmp>
#include <cstdio>
#include <utility>

namespace {

// libpng reports through longjmp; our own messages say what failed, so its
// texts are not printed.
void silentError(png_structp png, png_const_charp) {
  png_longjmp(png, 1);
}
void silentWarning(png_structp, png_const_charp) {}

// Sets up the conversions and reads every row. Only plain data lives in
// this frame, so the longjmp of a libpng error skips no destructor; the
// buffers belong to the caller.
bool decode(png_structp png, png_infop info, bool withAlpha, std::vector<uint8_t>& pixels,
            std::vector<png_bytep>& rows, uint32_t& width, uint32_t& height) {
  if (setjmp(png_jmpbuf(png))) return false;

  png_set_sig_bytes(png, 8);
  png_read_info(png, info);
  png_uint_32 w = 0;
  png_uint_32 h = 0;
  int bitDepth = 0;
  int colourType = 0;
  png_get_IHDR(png, info, &w, &h, &bitDepth, &colourType, nullptr, nullptr, nullptr);
  if (w == 0 || h == 0 || w > kMaxPngSide || h > kMaxPngSide) return false;

  if (colourType == PNG_COLOR_TYPE_PALETTE) png_set_palette_to_rgb(png);
  if (colourType == PNG_COLOR_TYPE_GRAY && bitDepth < 8) png_set_expand_gray_1_2_4_to_8(png);
  if (colourType == PNG_COLOR_TYPE_GRAY || colourType == PNG_COLOR_TYPE_GRAY_ALPHA) {
    png_set_gray_to_rgb(png);
  }
  const bool hasTrns = png_get_valid(png, info, PNG_INFO_tRNS) != 0;
  if (withAlpha) {
    if (hasTrns) {
      png_set_tRNS_to_alpha(png);
    } else if ((colourType & PNG_COLOR_MASK_ALPHA) == 0) {
      png_set_filler(png, 0xFF, PNG_FILLER_AFTER);
    }
  } else if ((colourType & PNG_COLOR_MASK_ALPHA) != 0 || hasTrns) {
    // The palette expansion also turns a transparency chunk into alpha.
    png_set_strip_alpha(png);
  }
  if (bitDepth == 16) png_set_strip_16(png);
  png_set_interlace_handling(png);
  png_read_update_info(png, info);

  // The buffer is sized for what was asked; a file that decodes to anything
  // else is refused rather than written past the buffer.
  const size_t bytesPerPixel = withAlpha ? 4 : 3;
  const size_t rowBytes = static_cast<size_t>(w) * bytesPerPixel;
  if (png_get_bit_depth(png, info) != 8 || png_get_channels(png, info) != bytesPerPixel ||
      png_get_rowbytes(png, info) != rowBytes) {
    return false;
  }

  pixels.resize(rowBytes * h);
  rows.resize(h);
  for (png_uint_32 i = 0; i < h; ++i) rows[i] = pixels.data() + (h - 1 - i) * rowBytes;
  png_read_image(png, rows.data());
  png_read_end(png, nullptr);
  width = w;
  height = h;
  return true;
}

}  // namespace

PngImage loadPng(const std::string& path, bool withAlpha) {
  PngImage image;
  FILE* file = std::fopen(path.c_str(), "rb");
  if (file == nullptr) {
    std::fprintf(stderr, "Can't open PNG file %s\n", path.c_str());
    return image;
  }

  png_byte signature[8];
  if (std::fread(signature, 1, sizeof signature, file) != sizeof signature ||
      png_sig_cmp(signature, 0, sizeof signature) != 0) {
    std::fprintf(stderr, "%s is not a PNG file\n", path.c_str());
    std::fclose(file);
    return image;
  }

  png_structp png =
      png_create_read_struct(PNG_LIBPNG_VER_STRING, nullptr, silentError, silentWarning);
  if (png == nullptr) {
    std::fprintf(stderr, "Can't start reading PNG file %s\n", path.c_str());
    std::fclose(file);
    return image;
  }
  png_infop info = png_create_info_struct(png);
  if (info == nullptr) {
    std::fprintf(stderr, "Can't get info for PNG file %s\n", path.c_str());
    png_destroy_read_struct(&png, nullptr, nullptr);
    std::fclose(file);
    return image;
  }
  png_infop endInfo = png_create_info_struct(png);
  if (endInfo == nullptr) {
    std::fprintf(stderr, "Can't get end info for PNG file %s\n", path.c_str());
    png_destroy_read_struct(&png, &info, nullptr);
    std::fclose(file);
    return image;
  }

  png_init_io(png, file);
  std::vector<uint8_t> pixels;
  std::vector<png_bytep> rows;
  uint32_t width = 0;
  uint32_t height = 0;
  const bool ok = decode(png, info, withAlpha, pixels, rows, width, height);
  png_destroy_read_struct(&png, &info, &endInfo);
  std::fclose(file);
  if (!ok) {
    std::fprintf(stderr, "Can't load PNG file %s\n", path.c_str());
    return image;
  }
  image.width = width;
  image.height = height;
  image.pixels = std::move(pixels);
  return image;
}
