#include "app/ClientStartup.h"

#include <cstdio>
#include <cstdlib>

void runClient(char*) {
  std::fprintf(stderr, "vantor: the window client is not built yet\n");
  std::exit(1);
}
