// An invitation to play (S4): who invites, the game id to answer with, and
// the inviter's colour choice (non-zero: the invited player plays black).
//
// Thread safety: none; events live on the front end's one thread.
#ifndef VANTOR_CLIENT_VANTORASKGAMEEVENT_H_
#define VANTOR_CLIENT_VANTORASKGAMEEVENT_H_

#include <cstdint>

#include "client/VantorClientEvent.h"

class VantorAskGameEvent : public VantorClientEvent {
 public:
  static constexpr int kNameSize = 256;

  // name is cut to kNameSize - 1 characters.
  VantorAskGameEvent(const char* name, int gameId, int colour);

  const char* getName() const { return name_; }
  int getGameId() const { return gameId_; }
  int getColour() const { return colour_; }

 private:
  char name_[kNameSize];
  int32_t gameId_;
  int32_t colour_;
};

#endif  // VANTOR_CLIENT_VANTORASKGAMEEVENT_H_
