#include "OpenGLClient/BoardView.h"

#include <cmath>

#include "game/VantorGame.h"

namespace vgl {

namespace {
constexpr float kDegrees = 3.14159265358979f / 180.0f;
}

BoardView::BoardView() {
  reset();
}

void BoardView::reset() {
  for (int c = 0; c < 64; ++c) {
    colour_[c] = 0;
    angle_[c] = 0;
    spin_[c] = 0;
    appear_[c] = 0;
  }
  lastColumn_ = -1;
  lastRow_ = -1;
  rate_ = kKickRate;
}

void BoardView::update(const VantorGame& game) {
  int appeared = 0;
  for (int i = 0; i < 8; ++i) {
    for (int j = 0; j < 8; ++j) {
      const int c = i * 8 + j;
      const int v = game.getCell(i + 1, j + 1);
      if (v == colour_[c]) continue;
      if (colour_[c] == 0) {
        appear_[c] = 0;
        lastColumn_ = i;
        lastRow_ = j;
        ++appeared;
        kick();
      }
      colour_[c] = v;
      spin_[c] = static_cast<float>(v) * 200;
    }
  }
  // Several discs at once (the start of a game) mark no single last move.
  if (appeared > 1) {
    lastColumn_ = -1;
    lastRow_ = -1;
  }
}

void BoardView::tick(float dt) {
  for (int c = 0; c < 64; ++c) {
    angle_[c] += spin_[c] * dt;
    spin_[c] -= spin_[c] * (dt * 0.3f);
    appear_[c] += dt;
    if (appear_[c] > 1) appear_[c] = 1;
  }
  rate_ -= 2 * dt;
  if (rate_ < kSettledRate) rate_ = kSettledRate;
}

BoardView::Tilt BoardView::tilt(int i, int j) const {
  const int c = i * 8 + j;
  const float amplitude = spin_[c] * 0.3f;
  const float a = angle_[c] * kDegrees;
  return Tilt{std::sin(a) * amplitude, std::cos(a) * amplitude};
}

BoardView::Shadow BoardView::shadow(int i, int j) const {
  const int c = i * 8 + j;
  const float s = spin_[c];
  const float opacity = 1 - std::fabs(s) / 400;
  return Shadow{s * -0.015f * std::sin(angle_[c] * kDegrees), 1 - std::fabs(s) / 800,
                opacity * opacity};
}

}  // namespace vgl
