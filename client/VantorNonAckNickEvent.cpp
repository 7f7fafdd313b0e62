#include "client/VantorNonAckNickEvent.h"

#include "client/VantorText.h"

VantorNonAckNickEvent::VantorNonAckNickEvent(const char* text)
    : VantorClientEvent(kNonAckNickEvent) {
  copyToField(text_, sizeof text_, text);
}
