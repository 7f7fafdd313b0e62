#include "client/VantorRefuseSpectateEvent.h"

VantorRefuseSpectateEvent::VantorRefuseSpectateEvent(int gameId)
    : VantorClientEvent(kRefuseSpectateEvent), gameId_(gameId) {}
