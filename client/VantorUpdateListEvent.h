// The player list the server sent (S3): a copy of every nick-name, in the
// order of the message.
//
// Thread safety: none; events live on the front end's one thread.
#ifndef VANTOR_CLIENT_VANTORUPDATELISTEVENT_H_
#define VANTOR_CLIENT_VANTORUPDATELISTEVENT_H_

#include "client/VantorClientEvent.h"
#include "ios/IosVector.h"

class VantorUpdateListEvent : public VantorClientEvent {
 public:
  VantorUpdateListEvent();
  ~VantorUpdateListEvent() override;

  // Appends a copy of name.
  void addName(const char* name);
  // Throws Exception* for an index outside 0..count() - 1.
  const char* getName(int index) const;
  int count() const { return names_.size(); }

 private:
  IosVector names_;
};

#endif  // VANTOR_CLIENT_VANTORUPDATELISTEVENT_H_
