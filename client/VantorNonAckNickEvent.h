// The server refused a new nick-name (S18); text is its explanation.
//
// Thread safety: none; events live on the front end's one thread.
#ifndef VANTOR_CLIENT_VANTORNONACKNICKEVENT_H_
#define VANTOR_CLIENT_VANTORNONACKNICKEVENT_H_

#include "client/VantorClientEvent.h"

class VantorNonAckNickEvent : public VantorClientEvent {
 public:
  static constexpr int kTextSize = 1024;

  // text is cut to kTextSize - 1 characters.
  explicit VantorNonAckNickEvent(const char* text);

  const char* getText() const { return text_; }

 private:
  char text_[kTextSize];
};

#endif  // VANTOR_CLIENT_VANTORNONACKNICKEVENT_H_
