#include "OpenGLClient/LocalCenter.h"

#include <GL/gl.h>

#include "OpenGLClient/Band.h"
#include "OpenGLClient/LocalCenterListener.h"
#include "OpenGLClient/Texture.h"
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
    : displayNames_(displayNames),
      dirty_(true),
      shown_(false),
      twoPlayersHovered_(false),
      opponentHovered_{},
      listener_(listener),
      font_(nullptr),
      dataDirectory_(dataDirectory) {}

LocalCenter::~LocalCenter() = default;

void LocalCenter::show() {
  shown_ = true;
  dirty_ = true;
}

void LocalCenter::hide() {
  shown_ = false;
  background_.reset();
}

int LocalCenter::opponentAt(int y) {
  for (int k = 0; k < kOpponents; ++k) {
    if (opponentBand(k).holds(y)) return k;
  }
  return -1;
}

void LocalCenter::key(int key) {
  if (key == 27) listener_->backFromLocalCenter();
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
  bool inTwoPlayers = kTwoPlayersBand.holds(y);
  if (inTwoPlayers != twoPlayersHovered_) {
    twoPlayersHovered_ = inTwoPlayers;
    dirty_ = true;
  }
  int hovered = opponentAt(y);
  for (int k = 0; k < kOpponents; ++k) {
    bool in = k == hovered;
    if (in != opponentHovered_[k]) {
      opponentHovered_[k] = in;
      dirty_ = true;
    }
  }
}

void LocalCenter::draw() {
  if (shown_) {
    if (!background_) {
      background_.reset(new Texture(dataDirectory_ + "/PNG/localcenter.png", Texture::kOpaque));
    }
    glDisable(GL_BLEND);
    background_->drawFullScreen();
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
  dirty_ = false;
}

}  // namespace vgl
