#include "OpenGLClient/FittingFont.h"

#include <algorithm>
#include <cmath>

#include "OpenGLClient/TextureFont.h"
#include "OpenGLClient/WindowScale.h"

namespace vgl {

namespace {

// How far the middle of the capitals of the first line lies below its top.
float capitalCentre(const TextureFont& font) {
  const float capitalHeight = font.quadVertices('H')[1];
  return font.lineHeight() - capitalHeight / 2;
}

}  // namespace

FittingFont::FittingFont(TextureFont* font) : font_(font) {}

FittingFont::~FittingFont() = default;

void FittingFont::setFont(TextureFont* font) {
  if (font != font_) smaller_.clear();
  font_ = font;
}

int FittingFont::largestFittingSize(int size, float width,
                                    const std::function<float(int)>& widthAt) {
  const float full = widthAt(size);
  if (full <= width || size <= 1) return size;
  // Widths grow about in proportion to the size: start from that estimate
  // and step to the largest size that fits, usually in one or two steps.
  int guess = static_cast<int>(std::floor(size * width / full));
  guess = std::min(std::max(guess, 1), size - 1);
  if (widthAt(guess) <= width) {
    while (guess + 1 < size && widthAt(guess + 1) <= width) ++guess;
  } else {
    while (guess > 1 && widthAt(guess) > width) --guess;
  }
  return guess;
}

TextureFont& FittingFont::ofSize(int size) {
  if (size == font_->size()) return *font_;
  std::unique_ptr<TextureFont>& font = smaller_[size];
  if (!font) {
    auto made = std::make_unique<TextureFont>();
    made->rasterise(font_->path(), size, gPixelScale);
    font = std::move(made);
  }
  return *font;
}

const TextureFont& FittingFont::fontFor(const std::wstring& text, float width) {
  const int size = largestFittingSize(
      font_->size(), width, [&](int candidate) { return ofSize(candidate).widestLine(text); });
  return ofSize(size);
}

float FittingFont::topFor(const TextureFont& font, float y) const {
  if (font_ == nullptr || &font == font_) return y;
  return y + capitalCentre(*font_) - capitalCentre(font);
}

void FittingFont::printCentred(float cx, float y, float width, const std::wstring& text) {
  if (font_ == nullptr) return;
  const TextureFont& chosen = fontFor(text, width);
  TextureFont& font = ofSize(chosen.size());
  if (!font.uploaded()) font.upload();
  font.printCentred(cx, topFor(font, y), L"%ls", text.c_str());
}

}  // namespace vgl
