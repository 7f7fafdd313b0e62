// A chat line relayed by the server (S6): its text, its sender, and whether
// it went to every player (broadcast 1) or to this one alone (0). The handled
// flag lets a front end mark a line it has shown.
//
// Thread safety: none; events live on the front end's one thread.
#ifndef VANTOR_CLIENT_VANTORCLIENTDIDGETMESSAGEEVENT_H_
#define VANTOR_CLIENT_VANTORCLIENTDIDGETMESSAGEEVENT_H_

#include <cstdint>

#include "client/VantorClientEvent.h"

class VantorClientDidGetMessageEvent : public VantorClientEvent {
 public:
  static constexpr int kSenderSize = 256;

  // The text is copied whole; sender is cut to kSenderSize - 1 characters.
  VantorClientDidGetMessageEvent(const char* text, const char* sender, int broadcast);
  ~VantorClientDidGetMessageEvent() override;

  int getHandled() const { return handled_; }
  void setHandled(int handled) { handled_ = handled; }
  const char* getText() const { return text_; }
  const char* getSender() const { return sender_; }
  int getBroadcast() const { return broadcast_; }

 private:
  int32_t handled_;
  char* text_;
  char sender_[kSenderSize];
  int32_t broadcast_;
};

#endif  // VANTOR_CLIENT_VANTORCLIENTDIDGETMESSAGEEVENT_H_
