#include "OpenGLClient/ButtonMenu.h"

#include <GL/gl.h>

#include <algorithm>

#include "OpenGLClient/Band.h"
#include "OpenGLClient/Keys.h"
#include "OpenGLClient/TextureFont.h"

namespace vgl {

namespace {
const int kTextY[ButtonMenu::kButtons] = {320, 369, 418};
}  // namespace

ButtonMenu::ButtonMenu(const std::string& dataDirectory, const char* backgroundPath,
                       const wchar_t* const texts[kButtons])
    : MenuScreen(dataDirectory, backgroundPath, kHeldWhileShown),
      hovered_{false, false, false},
      font_(nullptr),
      texts_(texts) {}

int ButtonMenu::buttonAt(int y) {
  for (int b = 0; b < kButtons; ++b) {
    if (kButtonBands[b].holds(y)) return b;
  }
  return -1;
}

void ButtonMenu::click(int, int y) {
  int button = buttonAt(y);
  if (button >= 0) pressed(button);
}

int ButtonMenu::hoveredButton() const {
  for (int b = 0; b < kButtons; ++b) {
    if (hovered_[b]) return b;
  }
  return -1;
}

void ButtonMenu::highlight(int button) {
  for (int b = 0; b < kButtons; ++b) setHover(hovered_[b], b == button);
}

void ButtonMenu::key(int key) {
  const int current = hoveredButton();
  if (key == kKeyDown) {
    highlight(current < 0 ? 0 : std::min(current + 1, kButtons - 1));
  } else if (key == kKeyUp) {
    highlight(current < 0 ? kButtons - 1 : std::max(current - 1, 0));
  } else if (key == kKeyEnter && current >= 0) {
    pressed(current);
  } else {
    keyPressed(key);
  }
}

void ButtonMenu::hover(int, int y) {
  for (int b = 0; b < kButtons; ++b) setHover(hovered_[b], kButtonBands[b].holds(y));
}

void ButtonMenu::drawContents() {
  if (font_) {
    for (int b = 0; b < kButtons; ++b) {
      glColor4f(1, 1, 1, hoverAlpha(hovered_[b]));
      font_->printCentred(160, kTextY[b], L"%ls", texts_[b]);
    }
  }
  glColor4f(1, 1, 1, 1);
}

}  // namespace vgl
