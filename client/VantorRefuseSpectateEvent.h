// The server would not let this connection watch a game (S22).
//
// Thread safety: none; events live on the front end's one thread.
#ifndef VANTOR_CLIENT_VANTORREFUSESPECTATEEVENT_H_
#define VANTOR_CLIENT_VANTORREFUSESPECTATEEVENT_H_

#include <cstdint>

#include "client/VantorClientEvent.h"

class VantorRefuseSpectateEvent : public VantorClientEvent {
 public:
  explicit VantorRefuseSpectateEvent(int gameId);

  int getGameId() const { return gameId_; }

 private:
  int32_t gameId_;
};

#endif  // VANTOR_CLIENT_VANTORREFUSESPECTATEEVENT_H_
