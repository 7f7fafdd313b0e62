#include "app/DisplayCheck.h"

bool displayOpens(const std::string&) {
  // A Windows program always starts on a desktop; GLUT's -display option
  // names nothing there.
  return true;
}
