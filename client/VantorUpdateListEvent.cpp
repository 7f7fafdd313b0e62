#include "client/VantorUpdateListEvent.h"

#include <cstdlib>

#include "client/VantorText.h"

VantorUpdateListEvent::VantorUpdateListEvent() : VantorClientEvent(kUpdateListEvent) {}

VantorUpdateListEvent::~VantorUpdateListEvent() {
  for (int i = 0; i < names_.size(); ++i) std::free(names_.get(i));
}

void VantorUpdateListEvent::addName(const char* name) {
  names_.add(copyToHeap(name != nullptr ? name : ""));
}

const char* VantorUpdateListEvent::getName(int index) const {
  return static_cast<const char*>(names_.get(index));
}
