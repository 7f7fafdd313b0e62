#include "client/VantorClientGameEvent.h"

#include <cstdlib>

#include "client/VantorText.h"

VantorClientGameEvent::VantorClientGameEvent(VantorClientGame* game, int kind)
    : VantorClientEvent(kClientGameEvent), game_(game), kind_(kind), name_(nullptr) {}

VantorClientGameEvent::~VantorClientGameEvent() {
  std::free(name_);
}

void VantorClientGameEvent::setName(const char* name) {
  char* copy = copyToHeap(name);
  std::free(name_);
  name_ = copy;
}
