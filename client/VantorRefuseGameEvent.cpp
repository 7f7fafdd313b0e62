#include "client/VantorRefuseGameEvent.h"

#include "client/VantorText.h"

VantorRefuseGameEvent::VantorRefuseGameEvent(const char* name)
    : VantorClientEvent(kRefuseGameEvent) {
  copyToField(name_, sizeof name_, name);
}
