// Client mode of a build without the window front end (-DVANTOR_GUI=OFF):
// there is no window to open, so it says so in one line and ends.
#include <cstdio>
#include <cstdlib>

#include "app/ClientStartup.h"

void runClient(int*, char**, const WindowOptions&, char*) {
  std::fputs("vantor: this build has no window; \"vantor S\" runs the game server\n", stderr);
  std::exit(1);
}
