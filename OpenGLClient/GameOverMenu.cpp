#include "OpenGLClient/GameOverMenu.h"

#include <GL/gl.h>

#include <cmath>

#include "OpenGLClient/GameOverMenuListener.h"
#include "OpenGLClient/Texture.h"

namespace vgl {

GameOverMenu::GameOverMenu(GameOverMenuListener* listener, const std::string& dataDirectory)
    : fade_(0),
      fadeSpeed_(0),
      listener_(listener),
      pictureWanted_(false),
      dataDirectory_(dataDirectory),
      font_(nullptr) {}

GameOverMenu::~GameOverMenu() = default;

void GameOverMenu::show() {
  fadeSpeed_ = 1.0f;
  pictureWanted_ = true;
}

void GameOverMenu::hide() {
  fadeSpeed_ = 0;
  fade_ = 0;
  pictureWanted_ = false;
  picture_.reset();
}

void GameOverMenu::tick(float dt) {
  if (fadeSpeed_ == 0) return;
  fade_ += fadeSpeed_ * dt;
  if (fade_ > 1) {
    fade_ = 1;
    fadeSpeed_ = 0;
  }
  if (fade_ < 0) {
    fade_ = 0;
    fadeSpeed_ = 0;
  }
}

void GameOverMenu::draw() {
  if (pictureWanted_ && !picture_) {
    picture_ = std::make_unique<Texture>(dataDirectory_ + "/PNG/gameover.png", Texture::kWithAlpha);
  }
  if (!picture_ || fade_ <= 0.01f) return;
  glEnable(GL_BLEND);
  glBlendFunc(GL_SRC_ALPHA, GL_ONE_MINUS_SRC_ALPHA);
  glColor4f(1, 1, 1, std::sin(fade_ * 3.14159265f / 2));
  picture_->drawFullScreen();
  glColor4f(1, 1, 1, 1);
  glDisable(GL_BLEND);
}

void GameOverMenu::click(int, int) {
  listener_->gameOverDismissed();
}

void GameOverMenu::key(int key) {
  if (key == 27 || key == 13) listener_->gameOverDismissed();
}

void GameOverMenu::hover(int, int) {}

}  // namespace vgl
