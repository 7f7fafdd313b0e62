#include "ios/IosServerConnection.h"

#include "ios/Socket.h"

IosServerConnection::IosServerConnection(Socket* s)
    : input_(nullptr), output_(nullptr), socket_(s) {
  if (s != nullptr) setStreams(s->getInputStream(), s->getOutputStream());
}

IosServerConnection::~IosServerConnection() {
  delete socket_;
}

void IosServerConnection::setStreams(IosInputStream* in, IosOutputStream* out) {
  input_ = in;
  output_ = out;
}
