// Wraps accepted descriptors in TaggedSockets, for the select server.
//
// Thread safety: stateless.
#ifndef VANTOR_IOS_TAGGEDSOCKETFACTORY_H_
#define VANTOR_IOS_TAGGEDSOCKETFACTORY_H_

#include "ios/IosSocketFactory.h"

class TaggedSocketFactory final : public IosSocketFactory {
 public:
  Socket* createSocket(int descriptor) override;
};

#endif  // VANTOR_IOS_TAGGEDSOCKETFACTORY_H_
