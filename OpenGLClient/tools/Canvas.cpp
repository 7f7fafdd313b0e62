#include "OpenGLClient/tools/Canvas.h"

#include <png.h>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <stdexcept>

namespace {

float clamp01(float v) {
  return std::min(1.0f, std::max(0.0f, v));
}

}  // namespace

Colour rgb(unsigned hex, float alpha) {
  return Colour{((hex >> 16) & 0xFF) / 255.0f, ((hex >> 8) & 0xFF) / 255.0f, (hex & 0xFF) / 255.0f,
                alpha};
}

Colour mix(const Colour& a, const Colour& b, float t) {
  return Colour{a.r + (b.r - a.r) * t, a.g + (b.g - a.g) * t, a.b + (b.b - a.b) * t,
                a.a + (b.a - a.a) * t};
}

float smoothStep(float edge0, float edge1, float x) {
  const float t = clamp01((x - edge0) / (edge1 - edge0));
  return t * t * (3 - 2 * t);
}

float roundedRectDistance(float x, float y, float x0, float y0, float x1, float y1, float radius) {
  const float cx = (x0 + x1) / 2;
  const float cy = (y0 + y1) / 2;
  const float qx = std::fabs(x - cx) - ((x1 - x0) / 2 - radius);
  const float qy = std::fabs(y - cy) - ((y1 - y0) / 2 - radius);
  const float outside = std::hypot(std::max(qx, 0.0f), std::max(qy, 0.0f));
  return outside + std::min(std::max(qx, qy), 0.0f) - radius;
}

Canvas::Canvas() : pixels_(kSize * kSize, Colour{0, 0, 0, 0}) {}

void Canvas::clear(const Colour& colour) {
  std::fill(pixels_.begin(), pixels_.end(), colour);
}

void Canvas::verticalGradient(const Colour& top, const Colour& bottom) {
  for (int py = 0; py < kSize; ++py) {
    const Colour c = mix(top, bottom, static_cast<float>(py) / (kSize - 1));
    for (int px = 0; px < kSize; ++px) pixels_[py * kSize + px] = c;
  }
}

void Canvas::blend(int px, int py, const Colour& colour, float coverage) {
  if (px < 0 || py < 0 || px >= kSize || py >= kSize) return;
  const float sa = clamp01(colour.a * coverage);
  if (sa <= 0) return;
  Colour& d = pixels_[py * kSize + px];
  const float outA = sa + d.a * (1 - sa);
  if (outA <= 0) return;
  const float keep = d.a * (1 - sa);
  d.r = (colour.r * sa + d.r * keep) / outA;
  d.g = (colour.g * sa + d.g * keep) / outA;
  d.b = (colour.b * sa + d.b * keep) / outA;
  d.a = outA;
}

void Canvas::draw(float x0, float y0, float x1, float y1, const Coverage& coverage,
                  const Paint& paint) {
  const int px0 = std::max(0, static_cast<int>(std::floor(x0)));
  const int px1 = std::min(kSize - 1, static_cast<int>(std::ceil(x1)));
  const int py0 = std::max(0, static_cast<int>(std::floor(y0)) + kHidden);
  const int py1 = std::min(kSize - 1, static_cast<int>(std::ceil(y1)) + kHidden);
  for (int py = py0; py <= py1; ++py) {
    for (int px = px0; px <= px1; ++px) {
      const float x = px + 0.5f;
      const float y = py - kHidden + 0.5f;
      const float c = coverage(x, y);
      if (c > 0) blend(px, py, paint(x, y), c);
    }
  }
}

void Canvas::roundedRect(float x0, float y0, float x1, float y1, float radius,
                         const Colour& colour) {
  draw(
      x0 - 1, y0 - 1, x1 + 1, y1 + 1,
      [=](float x, float y) {
        return clamp01(0.5f - roundedRectDistance(x, y, x0, y0, x1, y1, radius));
      },
      [=](float, float) { return colour; });
}

void Canvas::roundedRectOutline(float x0, float y0, float x1, float y1, float radius, float width,
                                const Colour& colour) {
  draw(
      x0 - 1, y0 - 1, x1 + 1, y1 + 1,
      [=](float x, float y) {
        const float d = std::fabs(roundedRectDistance(x, y, x0, y0, x1, y1, radius) + width / 2);
        return clamp01(width / 2 + 0.5f - d);
      },
      [=](float, float) { return colour; });
}

void Canvas::softRect(float x0, float y0, float x1, float y1, float radius, float blur,
                      const Colour& colour) {
  draw(
      x0 - blur, y0 - blur, x1 + blur, y1 + blur,
      [=](float x, float y) {
        return 1 - smoothStep(-blur, blur, roundedRectDistance(x, y, x0, y0, x1, y1, radius));
      },
      [=](float, float) { return colour; });
}

void Canvas::circle(float cx, float cy, float radius, const Colour& colour) {
  draw(
      cx - radius - 1, cy - radius - 1, cx + radius + 1, cy + radius + 1,
      [=](float x, float y) { return clamp01(0.5f - (std::hypot(x - cx, y - cy) - radius)); },
      [=](float, float) { return colour; });
}

void Canvas::softCircle(float cx, float cy, float radius, float blur, const Colour& colour) {
  draw(
      cx - radius - blur, cy - radius - blur, cx + radius + blur, cy + radius + blur,
      [=](float x, float y) {
        return 1 - smoothStep(-blur, blur, std::hypot(x - cx, y - cy) - radius);
      },
      [=](float, float) { return colour; });
}

void Canvas::disc(float cx, float cy, float radius, bool white) {
  const float side = radius * 0.16f;
  softCircle(cx + radius * 0.12f, cy + radius * 0.22f, radius, radius * 0.25f,
             rgb(0x000000, 0.45f));
  // The rim, seen below the face, gives the disc its thickness.
  circle(cx, cy + side, radius, white ? rgb(0xb9b4a8) : rgb(0x08090b));
  const Colour light = white ? rgb(0xffffff) : rgb(0x5a5f69);
  const Colour dark = white ? rgb(0xd8d3c6) : rgb(0x15171b);
  draw(
      cx - radius - 1, cy - radius - 1, cx + radius + 1, cy + radius + 1,
      [=](float x, float y) { return clamp01(0.5f - (std::hypot(x - cx, y - cy) - radius)); },
      [=](float x, float y) {
        // Lit from the top left: a soft highlight fading to the far edge.
        const float d = std::hypot(x - (cx - radius * 0.35f), y - (cy - radius * 0.4f));
        return mix(light, dark, smoothStep(0, radius * 1.5f, d));
      });
}

float Canvas::textWidth(FT_Face face, int px, const std::wstring& text) const {
  FT_Set_Pixel_Sizes(face, 0, static_cast<FT_UInt>(px));
  float width = 0;
  for (wchar_t c : text) {
    if (FT_Load_Char(face, static_cast<FT_ULong>(c), FT_LOAD_DEFAULT) != 0) continue;
    width += face->glyph->advance.x / 64.0f;
  }
  return width;
}

void Canvas::text(FT_Face face, int px, const std::wstring& text, float x, float baseline,
                  const Colour& colour) {
  FT_Set_Pixel_Sizes(face, 0, static_cast<FT_UInt>(px));
  float pen = x;
  for (wchar_t c : text) {
    if (FT_Load_Char(face, static_cast<FT_ULong>(c), FT_LOAD_RENDER) != 0) continue;
    const FT_GlyphSlot slot = face->glyph;
    const FT_Bitmap& bitmap = slot->bitmap;
    const int left = static_cast<int>(std::lround(pen)) + slot->bitmap_left;
    const int top = static_cast<int>(std::lround(baseline)) - slot->bitmap_top + kHidden;
    for (unsigned row = 0; row < bitmap.rows; ++row) {
      for (unsigned col = 0; col < bitmap.width; ++col) {
        const float coverage = bitmap.buffer[row * bitmap.pitch + col] / 255.0f;
        blend(left + static_cast<int>(col), top + static_cast<int>(row), colour, coverage);
      }
    }
    pen += slot->advance.x / 64.0f;
  }
}

void Canvas::textCentred(FT_Face face, int px, const std::wstring& text, float cx, float baseline,
                         const Colour& colour) {
  this->text(face, px, text, cx - textWidth(face, px, text) / 2, baseline, colour);
}

Colour Canvas::reduced(int px, int py, int size) const {
  if (size == kSize) return pixels_[py * kSize + px];
  // The source pixels whose centres fall in the output pixel's square.
  const auto first = [size](int k) { return (k * kSize + size / 2) / size; };
  Colour sum{0, 0, 0, 0};
  int count = 0;
  for (int sy = first(py); sy < first(py + 1); ++sy) {
    for (int sx = first(px); sx < first(px + 1); ++sx) {
      const Colour& c = pixels_[sy * kSize + sx];
      sum.r += c.r * c.a;
      sum.g += c.g * c.a;
      sum.b += c.b * c.a;
      sum.a += c.a;
      ++count;
    }
  }
  if (count == 0 || sum.a <= 0) return Colour{0, 0, 0, 0};
  return Colour{sum.r / sum.a, sum.g / sum.a, sum.b / sum.a, sum.a / count};
}

void Canvas::save(const std::string& path, bool withAlpha, int size) const {
  FILE* file = std::fopen(path.c_str(), "wb");
  if (file == nullptr) throw std::runtime_error("cannot write " + path);
  png_structp png = png_create_write_struct(PNG_LIBPNG_VER_STRING, nullptr, nullptr, nullptr);
  png_infop info = png_create_info_struct(png);
  const int channels = withAlpha ? 4 : 3;
  std::vector<png_byte> row(static_cast<size_t>(size) * channels);
  if (setjmp(png_jmpbuf(png))) {
    png_destroy_write_struct(&png, &info);
    std::fclose(file);
    throw std::runtime_error("cannot encode " + path);
  }
  png_init_io(png, file);
  png_set_IHDR(png, info, size, size, 8, withAlpha ? PNG_COLOR_TYPE_RGBA : PNG_COLOR_TYPE_RGB,
               PNG_INTERLACE_NONE, PNG_COMPRESSION_TYPE_DEFAULT, PNG_FILTER_TYPE_DEFAULT);
  png_write_info(png, info);
  for (int py = 0; py < size; ++py) {
    for (int px = 0; px < size; ++px) {
      const Colour c = reduced(px, py, size);
      const float values[4] = {c.r, c.g, c.b, c.a};
      for (int k = 0; k < channels; ++k) {
        row[px * channels + k] = static_cast<png_byte>(std::lround(clamp01(values[k]) * 255));
      }
    }
    png_write_row(png, row.data());
  }
  png_write_end(png, nullptr);
  png_destroy_write_struct(&png, &info);
  std::fclose(file);
}
