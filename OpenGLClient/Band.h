// A horizontal band of the window that acts as a button. Buttons span the
// whole width of the 320-pixel window, so a hit test looks at y only.
//
// Thread safety: plain value, no shared state.
#ifndef VANTOR_OPENGLCLIENT_BAND_H_
#define VANTOR_OPENGLCLIENT_BAND_H_

namespace vgl {

struct Band {
  int top;
  int bottom;  // inclusive
  bool holds(int y) const { return y >= top && y <= bottom; }
};

// The three button rows shared by the menus and the lobby.
constexpr Band kUpperBand{322, 358};
constexpr Band kMiddleBand{372, 408};
constexpr Band kLowerBand{421, 457};
// The same three, from the top.
constexpr Band kButtonBands[3] = {kUpperBand, kMiddleBand, kLowerBand};

// Alpha of a menu text: full when hovered, faint otherwise.
inline float hoverAlpha(bool hovered) {
  return hovered ? 1.0f : 0.25f;
}

}  // namespace vgl

#endif  // VANTOR_OPENGLCLIENT_BAND_H_
