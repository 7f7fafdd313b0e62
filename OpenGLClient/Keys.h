// The key codes the screens' key handlers receive: the characters of the
// GLUT keyboard callback as they come (0..255, accented letters in their
// Latin-1 byte), and the special keys of the special-key callback moved
// above them, where no character can be mistaken for one.
//
// Thread safety: constants only.
#ifndef VANTOR_OPENGLCLIENT_KEYS_H_
#define VANTOR_OPENGLCLIENT_KEYS_H_

namespace vgl {

constexpr int kKeyBackspace = 8;
constexpr int kKeyTab = 9;
constexpr int kKeyEnter = 13;
constexpr int kKeyEscape = 27;
constexpr int kKeySpace = 32;
// A special key k of GLUT arrives as kSpecialKeys + k.
constexpr int kSpecialKeys = 0x100;
// GLUT_KEY_PAGE_UP and GLUT_KEY_PAGE_DOWN.
constexpr int kKeyPageUp = kSpecialKeys + 104;
constexpr int kKeyPageDown = kSpecialKeys + 105;
// GLUT_KEY_LEFT, GLUT_KEY_UP, GLUT_KEY_RIGHT and GLUT_KEY_DOWN.
constexpr int kKeyLeft = kSpecialKeys + 100;
constexpr int kKeyUp = kSpecialKeys + 101;
constexpr int kKeyRight = kSpecialKeys + 102;
constexpr int kKeyDown = kSpecialKeys + 103;

}  // namespace vgl

#endif  // VANTOR_OPENGLCLIENT_KEYS_H_
