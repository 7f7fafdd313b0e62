#include "ios/TaggedSocketFactory.h"

#include "ios/TaggedSocket.h"

Socket* TaggedSocketFactory::createSocket(int descriptor) {
  return new TaggedSocket(descriptor);
}
