#include "OpenGLClient/MainMenu.h"

#include "OpenGLClient/MainMenuListener.h"

namespace vgl {

namespace {
const wchar_t* const kTexts[ButtonMenu::kButtons] = {L"Jouer en local", L"Jouer sur internet",
                                                     L"Quitter"};
}

MainMenu::MainMenu(MainMenuListener* listener, const std::string& dataDirectory)
    : ButtonMenu(dataDirectory, "/PNG/mainmenu.png", kTexts), listener_(listener) {}

void MainMenu::pressed(int button) {
  switch (button) {
    case 0:
      listener_->playLocal();
      break;
    case 1:
      listener_->playOnInternet();
      break;
    case 2:
      listener_->quit();
      break;
  }
}

void MainMenu::keyPressed(int key) {
  if (key == 27) {
    listener_->quit();
  } else if (key == 13) {
    listener_->playLocal();
  }
}

}  // namespace vgl
