#include "client/VantorClientEvent.h"

VantorClientEvent::VantorClientEvent(int type) : type_(type) {}

VantorClientEvent::~VantorClientEvent() = default;
