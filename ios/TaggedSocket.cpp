#include "ios/TaggedSocket.h"

#include "ios/IosSystemStreamSelect.h"

TaggedSocket::TaggedSocket(int descriptor)
    : Socket(descriptor), TagsForSystemStream(TagsForSystemStream::kConnection) {}

TaggedSocket::~TaggedSocket() {
  if (getSelect() != nullptr) getSelect()->remove(this);
}
