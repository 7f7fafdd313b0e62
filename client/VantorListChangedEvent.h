// Says only that a list held by the server changed. The connection answers
// such news with fresh list requests itself, so it never queues this event;
// the type exists for front ends that want to hear of it.
//
// Thread safety: none; events live on the front end's one thread.
#ifndef VANTOR_CLIENT_VANTORLISTCHANGEDEVENT_H_
#define VANTOR_CLIENT_VANTORLISTCHANGEDEVENT_H_

#include "client/VantorClientEvent.h"

class VantorListChangedEvent : public VantorClientEvent {
 public:
  VantorListChangedEvent();
};

#endif  // VANTOR_CLIENT_VANTORLISTCHANGEDEVENT_H_
