// The base of every event that a client connection hands to the front end.
// The connection's parser creates events, queues them in arrival order and
// deletes each one after the pump has delivered it; subclasses copy every
// text they carry, so an event outlives the frame it was parsed from.
//
// Thread safety: none; events live on the front end's one thread.
#ifndef VANTOR_CLIENT_VANTORCLIENTEVENT_H_
#define VANTOR_CLIENT_VANTORCLIENTEVENT_H_

#include <cstdint>

// The type numbers of the subclasses, as returned by type().
enum VantorClientEventType : int32_t {
  kUpdateListEvent = 0,
  kUpdateGameListEvent = 1,
  kAskGameEvent = 2,
  kRefuseGameEvent = 3,
  kRefuseSpectateEvent = 4,
  kListChangedEvent = 5,
  kDidGetMessageEvent = 6,
  kClientGameEvent = 7,
  kWhoAmIEvent = 8,
  kNonAckNickEvent = 9,
  kPlayerInfoEvent = 10,
};

class VantorClientEvent {
 public:
  virtual ~VantorClientEvent();
  VantorClientEvent(const VantorClientEvent&) = delete;
  VantorClientEvent& operator=(const VantorClientEvent&) = delete;

  int type() const { return type_; }

 protected:
  explicit VantorClientEvent(int type);

 private:
  int32_t type_;
};

#endif  // VANTOR_CLIENT_VANTORCLIENTEVENT_H_
