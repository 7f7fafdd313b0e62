#include "ios/TaggedServerSocket.h"

TaggedServerSocket::TaggedServerSocket(bool localOnly, int port, IosListeningPort* owner)
    : ServerSocket(localOnly, port), TagsForSystemStream(TagsForSystemStream::kListening, owner) {}

TaggedServerSocket::TaggedServerSocket(const std::string& address, int port,
                                       IosListeningPort* owner)
    : ServerSocket(address, port), TagsForSystemStream(TagsForSystemStream::kListening, owner) {}

TaggedServerSocket::~TaggedServerSocket() = default;
