#include "OpenGLClient/MessageOverlay.h"

#include <GL/gl.h>

#include <cmath>

#include "OpenGLClient/Texture.h"
#include "OpenGLClient/TextureFont.h"

namespace vgl {

MessageOverlay* gMessageOverlay = nullptr;

namespace {

// The texts are centred in the 320-pixel window; the margin leaves room for
// glyphs whose ink reaches past their advance.
constexpr float kTextWidth = 300;

}  // namespace

MessageOverlay::MessageOverlay(const std::string& dataDirectory)
    : dataDirectory_(dataDirectory), font_(nullptr), backgroundWanted_(false) {}

MessageOverlay::~MessageOverlay() = default;

void MessageOverlay::setFont(TextureFont* font) {
  font_ = font;
  fitting_.setFont(font);
  backgroundWanted_ = true;
}

void MessageOverlay::pushMessage(const std::wstring& text, float seconds) {
  if (!messages_.empty() && messages_.front().text == text) return;
  appendMessage(text, seconds);
}

void MessageOverlay::appendMessage(const std::wstring& text, float seconds) {
  messages_.push_back(Message{text, false, 0.0f, seconds});
}

void MessageOverlay::tick(float dt) {
  for (Message& message : messages_) {
    if (!message.started) continue;
    message.remaining -= dt;
    message.elapsed += dt;
  }
}

float MessageOverlay::fadeOf(const Message& message) {
  float f = 1;
  if (message.remaining < 1) {
    f = message.remaining;
  } else if (message.elapsed < 0.5f) {
    f = 2 * message.elapsed;
  }
  return std::sin(f * 3.14159265f / 2) * 0.8f;
}

void MessageOverlay::draw() {
  if (messages_.empty()) return;
  if (backgroundWanted_ && !background_) {
    background_ =
        std::make_unique<Texture>(dataDirectory_ + "/PNG/overlay.png", Texture::kWithAlpha);
  }
  glEnable(GL_BLEND);
  glBlendFunc(GL_SRC_ALPHA, GL_ONE_MINUS_SRC_ALPHA);
  Message& message = messages_.front();
  message.started = true;
  glColor4f(1, 1, 1, fadeOf(message));
  if (background_) background_->drawFullScreen();
  // The text may hold a player's name: it is drawn as it is, never as a format.
  if (font_ != nullptr) fitting_.printCentred(160, 120, kTextWidth, message.text);
  if (message.remaining < 0) messages_.pop_front();
  glColor4f(1, 1, 1, 1);
  glDisable(GL_BLEND);
}

}  // namespace vgl
