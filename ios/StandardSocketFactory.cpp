#include "ios/StandardSocketFactory.h"

#include "ios/Socket.h"

Socket* StandardSocketFactory::createSocket(int descriptor) {
  return new Socket(descriptor);
}
