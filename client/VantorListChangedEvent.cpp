#include "client/VantorListChangedEvent.h"

VantorListChangedEvent::VantorListChangedEvent() : VantorClientEvent(kListChangedEvent) {}
