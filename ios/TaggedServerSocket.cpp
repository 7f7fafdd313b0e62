#include "ios/TaggedServerSocket.h"

TaggedServerSocket::TaggedServerSocket(bool localOnly, int port, IosListeningPort* owner)
    : ServerSocket(localOnly, port), TagsForSystemStream(TagsForSystemStream::kListening, owner) {}

TaggedServerSocket::~TaggedServerSocket() = default;
