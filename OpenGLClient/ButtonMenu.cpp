#include "OpenGLClient/ButtonMenu.h"

#include <GL/gl.h>

#include "OpenGLClient/Band.h"
#include "OpenGLClient/Texture.h"
#include "OpenGLClient/TextureFont.h"

namespace vgl {

namespace {
const Band kBands[ButtonMenu::kButtons] = {kUpperBand, kMiddleBand, kLowerBand};
const int kTextY[ButtonMenu::kButtons] = {320, 369, 418};
}  // namespace

ButtonMenu::ButtonMenu(const std::string& dataDirectory, const char* backgroundPath,
                       const wchar_t* const texts[kButtons])
    : dirty_(true),
      shown_(false),
      hovered_{false, false, false},
      font_(nullptr),
      backgroundPath_(dataDirectory + backgroundPath),
      texts_(texts) {}

ButtonMenu::~ButtonMenu() = default;

void ButtonMenu::show() {
  shown_ = true;
  dirty_ = true;
}

void ButtonMenu::hide() {
  shown_ = false;
  background_.reset();
}

int ButtonMenu::buttonAt(int y) {
  for (int b = 0; b < kButtons; ++b) {
    if (kBands[b].holds(y)) return b;
  }
  return -1;
}

void ButtonMenu::click(int, int y) {
  int button = buttonAt(y);
  if (button >= 0) pressed(button);
}

void ButtonMenu::key(int key) {
  keyPressed(key);
}

void ButtonMenu::hover(int, int y) {
  for (int b = 0; b < kButtons; ++b) {
    bool in = kBands[b].holds(y);
    if (in != hovered_[b]) {
      hovered_[b] = in;
      dirty_ = true;
    }
  }
}

void ButtonMenu::draw() {
  if (shown_) {
    if (!background_) background_.reset(new Texture(backgroundPath_, Texture::kOpaque));
    glDisable(GL_BLEND);
    background_->drawFullScreen();
    if (font_) {
      for (int b = 0; b < kButtons; ++b) {
        glColor4f(1, 1, 1, hoverAlpha(hovered_[b]));
        font_->printCentred(160, kTextY[b], L"%ls", texts_[b]);
      }
    }
    glColor4f(1, 1, 1, 1);
  }
  dirty_ = false;
}

}  // namespace vgl
