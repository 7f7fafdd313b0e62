#include "OpenGLClient/JoinServerMenu.h"

#include <GL/gl.h>

#include "OpenGLClient/Band.h"
#include "OpenGLClient/JoinServerMenuListener.h"
#include "OpenGLClient/TextureFont.h"
#include "client/VantorText.h"
#include "ios/Platform.h"

namespace vgl {

JoinServerMenu::JoinServerMenu(JoinServerMenuListener* listener, const std::string& dataDirectory)
    : MenuScreen(dataDirectory, "/PNG/netmenu.png", kKept),
      hovered_{false, false, false},
      listener_(listener),
      nickFocused_(false),
      hostFocused_(false),
      connecting_(false),
      nick_(defaultNick(platform::tickCount())),
      host_(L"localhost") {}

JoinServerMenu::~JoinServerMenu() = default;

std::wstring JoinServerMenu::defaultNick(uint32_t tickCount) {
  // The clock is read in seconds and turned back into whole milliseconds.
  double seconds = tickCount * 0.001;
  uint32_t milliseconds = static_cast<uint32_t>(seconds * 1000.0);
  return L"Guest" + std::to_wstring(milliseconds % 1789);
}

void JoinServerMenu::initialise() {
  loadBackground();
  fieldFont_ = loadFont("/TTF/matisse.ttf", 14);
  labelFont_ = loadFont("/TTF/matisse.ttf", 20);
}

void JoinServerMenu::setConnecting(bool connecting) {
  if (connecting == connecting_) return;
  connecting_ = connecting;
  markDirty();
}

void JoinServerMenu::connect() {
  listener_->connectToServer(narrowText(host_), kPort, narrowText(nick_));
}

void JoinServerMenu::click(int, int y) {
  markDirty();
  nickFocused_ = false;
  hostFocused_ = false;
  if (kUpperBand.holds(y)) {
    nickFocused_ = true;
  } else if (kMiddleBand.holds(y)) {
    hostFocused_ = true;
  } else if (kLowerBand.holds(y)) {
    connect();
  }
}

void JoinServerMenu::key(int key) {
  if (nickFocused_) {
    edit(nick_, kNickLimit, key);
  } else if (hostFocused_) {
    edit(host_, kHostLimit, key);
  } else if (key == 27) {
    listener_->backFromJoinServer();
  } else if (key == 13) {
    connect();
  }
}

void JoinServerMenu::edit(std::wstring& field, size_t limit, int key) {
  if (key == 27 || key == 13) {
    nickFocused_ = false;
    hostFocused_ = false;
  } else if (key >= 32 && key <= 126) {
    if (field.size() < limit) field.push_back(static_cast<wchar_t>(key));
  } else if (key == 8) {
    if (!field.empty()) field.pop_back();
  } else {
    return;
  }
  markDirty();
}

void JoinServerMenu::hover(int, int y) {
  for (int i = 0; i < 3; ++i) setHover(hovered_[i], kButtonBands[i].holds(y));
}

void JoinServerMenu::drawField(const std::wstring& text, float y, bool focused, bool hovered) {
  if (focused) {
    glColor4f(0.8f, 0.9f, 1, 1);
    fieldFont_->print(130, y, L"%ls|", text.c_str());
  } else {
    glColor4f(1, 1, 1, hoverAlpha(hovered));
    fieldFont_->print(130, y, L"%ls", text.c_str());
  }
}

void JoinServerMenu::drawContents() {
  drawField(nick_, 326, nickFocused_, hovered_[0]);
  drawField(host_, 375, hostFocused_, hovered_[1]);
  glColor4f(1, 1, 1, hoverAlpha(hovered_[2]));
  if (connecting_) {
    labelFont_->printCentred(160, 418, L"%ls", L"Connexion...");
  } else {
    labelFont_->print(110, 418, L"%ls", L"Se connecter");
  }
  glColor4f(1, 1, 1, 1);
}

}  // namespace vgl
