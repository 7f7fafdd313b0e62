#include "ios/IosListeningPort.h"

#include "ios/IosSystemStreamSelect.h"
#include "ios/TaggedServerSocket.h"

IosListeningPort::IosListeningPort(bool localOnly, int port, IosServerFactory* factory,
                                   IosSystemStreamSelect* select)
    : IosListeningPort(std::string(localOnly ? "127.0.0.1" : "0.0.0.0"), port, factory, select) {}

IosListeningPort::IosListeningPort(const std::string& address, int port, IosServerFactory* factory,
                                   IosSystemStreamSelect* select)
    : port_(port),
      factory_(factory),
      socket_(new TaggedServerSocket(address, port, this)),
      select_(select) {
  port_ = socket_->getPort();
  socket_->setSelect(select_);
  select_->add(socket_);
}

IosListeningPort::~IosListeningPort() {
  select_->remove(socket_);
  delete socket_;
}
