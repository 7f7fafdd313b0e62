#include "client/VantorUpdateGameListEvent.h"

VantorUpdateGameListEvent::VantorUpdateGameListEvent() : VantorClientEvent(kUpdateGameListEvent) {}

VantorUpdateGameListEvent::~VantorUpdateGameListEvent() {
  for (int i = 0; i < entries_.size(); ++i) {
    delete static_cast<VantorGameListEntry*>(entries_.get(i));
  }
}

void VantorUpdateGameListEvent::add(VantorGameListEntry* entry) {
  entries_.add(entry);
}

const VantorGameListEntry* VantorUpdateGameListEvent::get(int index) const {
  return static_cast<const VantorGameListEntry*>(entries_.get(index));
}
