// The nick-name under which the server knows this connection (S17), sent in
// answer to a request for it and as the acknowledgement of a new nick-name.
//
// Thread safety: none; events live on the front end's one thread.
#ifndef VANTOR_CLIENT_VANTORWHOAMIEVENT_H_
#define VANTOR_CLIENT_VANTORWHOAMIEVENT_H_

#include "client/VantorClientEvent.h"

class VantorWhoAmIEvent : public VantorClientEvent {
 public:
  static constexpr int kNickSize = 1024;

  // nick is cut to kNickSize - 1 characters.
  explicit VantorWhoAmIEvent(const char* nick);

  const char* getNick() const { return nick_; }

 private:
  char nick_[kNickSize];
};

#endif  // VANTOR_CLIENT_VANTORWHOAMIEVENT_H_
