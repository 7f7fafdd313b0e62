// Wraps accepted descriptors in plain Sockets.
//
// Thread safety: stateless.
#ifndef VANTOR_IOS_STANDARDSOCKETFACTORY_H_
#define VANTOR_IOS_STANDARDSOCKETFACTORY_H_

#include "ios/IosSocketFactory.h"

class StandardSocketFactory final : public IosSocketFactory {
 public:
  Socket* createSocket(int descriptor) override;
};

#endif  // VANTOR_IOS_STANDARDSOCKETFACTORY_H_
