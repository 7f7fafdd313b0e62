#include "ios/IosListeningPort.h"

#include "ios/IosSystemStreamSelect.h"
#include "ios/TaggedServerSocket.h"

IosListeningPort::IosListeningPort(bool localOnly, int port, IosServerFactory* factory,
                                   IosSystemStreamSelect* select)
    : port_(port),
      factory_(factory),
      socket_(new TaggedServerSocket(localOnly, port, this)),
      select_(select) {
  port_ = socket_->getPort();
  socket_->setSelect(select_);
  select_->add(socket_);
}

IosListeningPort::~IosListeningPort() {
  select_->remove(socket_);
  delete socket_;
}
