#include "OpenGLClient/ColorSelect.h"

#include "OpenGLClient/ColorSelectListener.h"

namespace vgl {

namespace {
const wchar_t* const kTexts[ButtonMenu::kButtons] = {L"Jouer les noirs", L"Jouer les blancs",
                                                     L"Retour"};
}

ColorSelect::ColorSelect(ColorSelectListener* listener, const std::string& dataDirectory)
    : ButtonMenu(dataDirectory, "/PNG/colorselect.png", kTexts), listener_(listener) {}

void ColorSelect::pressed(int button) {
  switch (button) {
    case 0:
      listener_->playBlack();
      break;
    case 1:
      listener_->playWhite();
      break;
    case 2:
      listener_->backFromColorSelect();
      break;
  }
}

void ColorSelect::keyPressed(int key) {
  if (key == 27) listener_->backFromColorSelect();
}

}  // namespace vgl
