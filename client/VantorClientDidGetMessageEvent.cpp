#include "client/VantorClientDidGetMessageEvent.h"

#include <cstdlib>

#include "client/VantorText.h"

VantorClientDidGetMessageEvent::VantorClientDidGetMessageEvent(const char* text, const char* sender,
                                                               int broadcast)
    : VantorClientEvent(kDidGetMessageEvent),
      handled_(0),
      text_(copyToHeap(text != nullptr ? text : "")),
      broadcast_(broadcast) {
  copyToField(sender_, sizeof sender_, sender);
}

VantorClientDidGetMessageEvent::~VantorClientDidGetMessageEvent() {
  std::free(text_);
}
