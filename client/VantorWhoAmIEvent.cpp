#include "client/VantorWhoAmIEvent.h"

#include "client/VantorText.h"

VantorWhoAmIEvent::VantorWhoAmIEvent(const char* nick) : VantorClientEvent(kWhoAmIEvent) {
  copyToField(nick_, sizeof nick_, nick);
}
