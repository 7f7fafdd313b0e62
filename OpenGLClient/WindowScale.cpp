#include "OpenGLClient/WindowScale.h"

#include <algorithm>
#include <cmath>

namespace vgl {

float gPixelScale = 1.0f;

WindowScale::WindowScale(int windowWidth, int windowHeight)
    : windowWidth_(std::max(windowWidth, 1)), windowHeight_(std::max(windowHeight, 1)) {
  factor_ = std::min(static_cast<float>(windowWidth_) / kDesignWidth,
                     static_cast<float>(windowHeight_) / kDesignHeight);
  // A window smaller than one design unit in either direction still maps
  // every pixel somewhere.
  width_ = std::max(1, static_cast<int>(std::lround(kDesignWidth * factor_)));
  height_ = std::max(1, static_cast<int>(std::lround(kDesignHeight * factor_)));
  left_ = (windowWidth_ - width_) / 2;
  top_ = (windowHeight_ - height_) / 2;
}

// Through the pixel's centre, so that at 1x pixel x is design x, and at 2x
// pixels 2x and 2x + 1 both are.
int WindowScale::designX(int x) const {
  return static_cast<int>(
      std::floor((x - left_ + 0.5) * kDesignWidth / static_cast<double>(width_)));
}

int WindowScale::designY(int y) const {
  return static_cast<int>(
      std::floor((y - top_ + 0.5) * kDesignHeight / static_cast<double>(height_)));
}

int WindowScale::initialMultiple(int screenWidth, int screenHeight) {
  int multiple = 1;
  while (kDesignHeight * (multiple + 1) <= 0.85 * screenHeight &&
         kDesignWidth * (multiple + 1) <= screenWidth) {
    ++multiple;
  }
  return multiple;
}

}  // namespace vgl
