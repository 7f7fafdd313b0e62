// What the server says about one player (S25): the nick-name asked for and
// that player's description (empty when the server knows no such player).
//
// Thread safety: none; events live on the front end's one thread.
#ifndef VANTOR_CLIENT_VANTORPLAYERINFOEVENT_H_
#define VANTOR_CLIENT_VANTORPLAYERINFOEVENT_H_

#include "client/VantorClientEvent.h"

class VantorPlayerInfoEvent : public VantorClientEvent {
 public:
  // Both texts are copied whole.
  VantorPlayerInfoEvent(const char* name, const char* description);
  ~VantorPlayerInfoEvent() override;

  const char* getDescription() const { return description_; }
  const char* getName() const { return name_; }

 private:
  char* description_;
  char* name_;
};

#endif  // VANTOR_CLIENT_VANTORPLAYERINFOEVENT_H_
