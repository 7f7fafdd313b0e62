#include "OpenGLClient/LocalCenter.h"

#include <GL/gl.h>

#include <algorithm>

#include "OpenGLClient/Band.h"
#include "OpenGLClient/Keys.h"
#include "OpenGLClient/LocalCenterListener.h"
#include "OpenGLClient/TextureFont.h"

namespace vgl {

namespace {
constexpr Band kTwoPlayersBand{41, 77};
Band opponentBand(int k) {
  return Band{126 + 49 * k, 162 + 49 * k};
}
}  // namespace

LocalCenter::LocalCenter(LocalCenterListener* listener, const std::string& dataDirectory,
                         const wchar_t* const* displayNames)
    : MenuScreen(dataDirectory, "/PNG/localcenter.png", kHeldWhileShown),
      displayNames_(displayNames),
      twoPlayersHovered_(false),
      opponentHovered_{},
      listener_(listener),
      font_(nullptr) {}

int LocalCenter::opponentAt(int y) {
  for (int k = 0; k < kOpponents; ++k) {
    if (opponentBand(k).holds(y)) return k;
  }
  return -1;
}

int LocalCenter::hoveredEntry() const {
  if (twoPlayersHovered_) return 0;
  for (int k = 0; k < kOpponents; ++k) {
    if (opponentHovered_[k]) return k + 1;
  }
  return -1;
}

void LocalCenter::highlight(int entry) {
  setHover(twoPlayersHovered_, entry == 0);
  for (int k = 0; k < kOpponents; ++k) setHover(opponentHovered_[k], entry == k + 1);
}

void LocalCenter::key(int key) {
  const int current = hoveredEntry();
  if (key == kKeyEscape) {
    listener_->backFromLocalCenter();
  } else if (key == kKeyDown) {
    highlight(current < 0 ? 0 : std::min(current + 1, kOpponents));
  } else if (key == kKeyUp) {
    highlight(current < 0 ? kOpponents : std::max(current - 1, 0));
  } else if (key == kKeyEnter && current == 0) {
    listener_->playTwoPlayers();
  } else if (key == kKeyEnter && current > 0) {
    listener_->chooseComputerOpponent(current - 1);
  }
}

void LocalCenter::click(int, int y) {
  if (kTwoPlayersBand.holds(y)) {
    listener_->playTwoPlayers();
    return;
  }
  int k = opponentAt(y);
  if (k >= 0) listener_->chooseComputerOpponent(k);
}

void LocalCenter::hover(int, int y) {
  setHover(twoPlayersHovered_, kTwoPlayersBand.holds(y));
  int hovered = opponentAt(y);
  for (int k = 0; k < kOpponents; ++k) setHover(opponentHovered_[k], k == hovered);
}

void LocalCenter::drawContents() {
  if (font_) {
    glColor4f(1, 1, 1, hoverAlpha(twoPlayersHovered_));
    font_->printCentred(160, 39, L"%ls", L"Deux joueurs");
    for (int k = 0; k < kOpponents; ++k) {
      glColor4f(1, 1, 1, hoverAlpha(opponentHovered_[k]));
      font_->print(110, 124 + 49 * k, L"%ls", displayNames_[k]);
    }
  }
  glColor4f(1, 1, 1, 1);
}

}  // namespace vgl
