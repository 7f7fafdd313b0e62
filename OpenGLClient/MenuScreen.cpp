#include "OpenGLClient/MenuScreen.h"

#include <GL/gl.h>

#include "OpenGLClient/Texture.h"
#include "OpenGLClient/TextureFont.h"

namespace vgl {

MenuScreen::MenuScreen(const std::string& dataDirectory, const char* backgroundPath,
                       BackgroundLife life)
    : dirty_(true),
      shown_(false),
      life_(life),
      dataDirectory_(dataDirectory),
      backgroundPath_(dataDirectory + backgroundPath) {}

MenuScreen::~MenuScreen() = default;

void MenuScreen::show() {
  shown_ = true;
  dirty_ = true;
}

void MenuScreen::hide() {
  shown_ = false;
  if (life_ == kHeldWhileShown) background_.reset();
}

void MenuScreen::loadBackground() {
  background_.reset(new Texture(backgroundPath_, Texture::kOpaque));
}

std::unique_ptr<TextureFont> MenuScreen::loadFont(const char* path, int size) const {
  return TextureFont::load(dataDirectory_ + path, size);
}

void MenuScreen::setHover(bool& flag, bool hovered) {
  if (hovered != flag) {
    flag = hovered;
    dirty_ = true;
  }
}

void MenuScreen::draw() {
  if (shown_ && !background_ && life_ == kHeldWhileShown) loadBackground();
  if (shown_ && background_) {
    glDisable(GL_BLEND);
    background_->drawFullScreen();
    drawContents();
  }
  dirty_ = false;
}

}  // namespace vgl
