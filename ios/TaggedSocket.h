// A connection socket of the select server: a Socket that knows its
// listening port and its wait set, and leaves that wait set when deleted, so
// that the set never holds a deleted socket.
//
// Thread safety: as Socket; created, registered and deleted by the select
// server's thread.
#ifndef VANTOR_IOS_TAGGEDSOCKET_H_
#define VANTOR_IOS_TAGGEDSOCKET_H_

#include "ios/Socket.h"
#include "ios/TagsForSystemStream.h"

class TaggedSocket : public Socket, public TagsForSystemStream {
 public:
  explicit TaggedSocket(int descriptor);
  ~TaggedSocket() override;
};

#endif  // VANTOR_IOS_TAGGEDSOCKET_H_
