// A listening socket of the select server, tagged with the port record that
// owns it.
//
// Thread safety: as ServerSocket.
#ifndef VANTOR_IOS_TAGGEDSERVERSOCKET_H_
#define VANTOR_IOS_TAGGEDSERVERSOCKET_H_

#include <string>

#include "ios/ServerSocket.h"
#include "ios/TagsForSystemStream.h"

class TaggedServerSocket : public ServerSocket, public TagsForSystemStream {
 public:
  // Throws as ServerSocket does.
  TaggedServerSocket(bool localOnly, int port, IosListeningPort* owner);
  TaggedServerSocket(const std::string& address, int port, IosListeningPort* owner);
  ~TaggedServerSocket() override;
};

#endif  // VANTOR_IOS_TAGGEDSERVERSOCKET_H_
