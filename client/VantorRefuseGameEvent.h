// A declined invitation (S10): the nick-name of the player who declined.
//
// Thread safety: none; events live on the front end's one thread.
#ifndef VANTOR_CLIENT_VANTORREFUSEGAMEEVENT_H_
#define VANTOR_CLIENT_VANTORREFUSEGAMEEVENT_H_

#include "client/VantorClientEvent.h"

class VantorRefuseGameEvent : public VantorClientEvent {
 public:
  static constexpr int kNameSize = 256;

  // name is cut to kNameSize - 1 characters.
  explicit VantorRefuseGameEvent(const char* name);

  const char* getName() const { return name_; }

 private:
  char name_[kNameSize];
};

#endif  // VANTOR_CLIENT_VANTORREFUSEGAMEEVENT_H_
