// Whether the window system can be reached, asked before GLUT is: freeglut
// ends the process when its display does not open, and this lets the client
// say so in one clear line instead. DisplayCheckX11.cpp asks the X library;
// on Windows (DisplayCheckWindows.cpp) a desktop is always there.
//
// Thread safety: call it from one thread at a time.
#ifndef VANTOR_APP_DISPLAYCHECK_H_
#define VANTOR_APP_DISPLAYCHECK_H_

#include <string>

// name: the display asked for on the command line; empty for the default.
bool displayOpens(const std::string& name);

#endif  // VANTOR_APP_DISPLAYCHECK_H_
