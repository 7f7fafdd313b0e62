#include "client/VantorPlayerInfoEvent.h"

#include <cstdlib>

#include "client/VantorText.h"

VantorPlayerInfoEvent::VantorPlayerInfoEvent(const char* name, const char* description)
    : VantorClientEvent(kPlayerInfoEvent),
      description_(copyToHeap(description != nullptr ? description : "")),
      name_(copyToHeap(name != nullptr ? name : "")) {}

VantorPlayerInfoEvent::~VantorPlayerInfoEvent() {
  std::free(description_);
  std::free(name_);
}
