// The game list the server sent (S19): one entry per game, in the order of
// the message. The event owns its entries.
//
// Thread safety: none; events live on the front end's one thread.
#ifndef VANTOR_CLIENT_VANTORUPDATEGAMELISTEVENT_H_
#define VANTOR_CLIENT_VANTORUPDATEGAMELISTEVENT_H_

#include "client/VantorClientEvent.h"
#include "client/VantorGameListEntry.h"
#include "ios/IosVector.h"

class VantorUpdateGameListEvent : public VantorClientEvent {
 public:
  VantorUpdateGameListEvent();
  ~VantorUpdateGameListEvent() override;

  // Takes ownership of entry.
  void add(VantorGameListEntry* entry);
  // Throws Exception* for an index outside 0..count() - 1.
  const VantorGameListEntry* get(int index) const;
  int count() const { return entries_.size(); }

 private:
  IosVector entries_;
};

#endif  // VANTOR_CLIENT_VANTORUPDATEGAMELISTEVENT_H_
