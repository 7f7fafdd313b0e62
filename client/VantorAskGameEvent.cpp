#include "client/VantorAskGameEvent.h"

#include "client/VantorText.h"

VantorAskGameEvent::VantorAskGameEvent(const char* name, int gameId, int colour)
    : VantorClientEvent(kAskGameEvent), gameId_(gameId), colour_(colour) {
  copyToField(name_, sizeof name_, name);
}
