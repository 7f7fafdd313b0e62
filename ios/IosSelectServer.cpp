#include "ios/IosSelectServer.h"

#include <cstdio>
#include <memory>

#include "ios/Exception.h"
#include "ios/IosListeningPort.h"
#include "ios/IosServerFactory.h"
#include "ios/TaggedServerSocket.h"
#include "ios/TaggedSocket.h"
#include "ios/TaggedSocketFactory.h"

IosSelectServer::IosSelectServer() : ports_(new IosVector()), stopping_(false), running_(false) {}

// Delegating, so that the destructor cleans up when addPort throws.
IosSelectServer::IosSelectServer(bool localOnly, int port, IosServerFactory* factory)
    : IosSelectServer() {
  addPort(localOnly, port, factory);
}

IosSelectServer::~IosSelectServer() {
  closeAllPorts();
  delete ports_;
}

void IosSelectServer::addPort(bool localOnly, int port, IosServerFactory* factory) {
  if (port != 0 && findPort(port) != nullptr) throw new Exception("Port already listening");
  IosListeningPort* record = new IosListeningPort(localOnly, port, factory, &select_);
  {
    IosLockGuard guard(lock_);
    ports_->add(record);
  }
  // A wait already running watches the new socket from its next round.
  select_.wakeUp();
}

void IosSelectServer::removePort(int port) {
  IosListeningPort* record = findPort(port);
  if (record == nullptr) return;
  {
    IosLockGuard guard(lock_);
    ports_->remove(record);
  }
  closePort(record);
}

IosListeningPort* IosSelectServer::findPort(int port) {
  IosLockGuard guard(lock_);
  for (int i = 0; i < ports_->size(); ++i) {
    IosListeningPort* record = static_cast<IosListeningPort*>(ports_->get(i));
    if (record->getPort() == port) return record;
  }
  return nullptr;
}

int IosSelectServer::getFirstPort() {
  IosLockGuard guard(lock_);
  if (ports_->size() == 0) return 0;
  return static_cast<IosListeningPort*>(ports_->get(0))->getPort();
}

void IosSelectServer::stop() {
  bool closeHere;
  {
    IosLockGuard guard(lock_);
    stopping_ = true;
    closeHere = !running_;
  }
  // A blocked wait does not notice a descriptor closed under it; it is
  // woken instead, and the server thread closes the ports itself.
  if (closeHere) {
    closeAllPorts();
  } else {
    select_.wakeUp();
  }
}

bool IosSelectServer::isStopping() {
  IosLockGuard guard(lock_);
  return stopping_;
}

void IosSelectServer::closePort(IosListeningPort* record) {
  std::unique_ptr<IosVector> streams(select_.streams());
  for (int i = 0; i < streams->size(); ++i) {
    IosSystemStream* stream = static_cast<IosSystemStream*>(streams->get(i));
    TaggedSocket* connection = dynamic_cast<TaggedSocket*>(stream);
    if (connection == nullptr || connection->getListeningPort() != record) continue;
    select_.remove(connection);
    record->getFactory()->connectionClosed(connection);
  }
  delete record;
}

void IosSelectServer::closeAllPorts() {
  IosVector records;
  {
    IosLockGuard guard(lock_);
    for (int i = 0; i < ports_->size(); ++i) records.add(ports_->get(i));
    ports_->clear();
  }
  for (int i = 0; i < records.size(); ++i) {
    closePort(static_cast<IosListeningPort*>(records.get(i)));
  }
}

void IosSelectServer::run() {
  {
    IosLockGuard guard(lock_);
    running_ = !stopping_;
  }
  if (!running_) {
    closeAllPorts();
    return;
  }
  struct RunningFlag {
    IosSelectServer* server;
    ~RunningFlag() {
      IosLockGuard guard(server->lock_);
      server->running_ = false;
    }
  } runningFlag{this};

  TaggedSocketFactory socketFactory;
  for (;;) {
    std::fflush(stdout);
    try {
      select_.select();
    } catch (Exception* e) {
      if (!isStopping()) throw;
      delete e;
    }
    if (isStopping()) {
      closeAllPorts();
      return;
    }
    std::unique_ptr<IosVector> ready(select_.readyStreams());
    for (int i = 0; i < ready->size(); ++i) {
      serve(static_cast<IosSystemStream*>(ready->get(i)), &socketFactory);
    }
  }
}

void IosSelectServer::serve(IosSystemStream* stream, IosSocketFactory* socketFactory) {
  // An earlier callback of this round may have ended this stream.
  if (!select_.contains(stream)) return;

  if (TaggedServerSocket* listening = dynamic_cast<TaggedServerSocket*>(stream)) {
    Socket* accepted = listening->acceptPending(socketFactory);
    if (accepted == nullptr) return;
    TaggedSocket* connection = static_cast<TaggedSocket*>(accepted);
    IosListeningPort* port = listening->getListeningPort();
    connection->setListeningPort(port);
    connection->setSelect(&select_);
    select_.add(connection);
    try {
      port->getFactory()->newConnection(connection);
    } catch (...) {
      // No connection object owns the socket yet.
      if (select_.contains(connection)) delete connection;
      throw;
    }
    return;
  }

  TaggedSocket* connection = dynamic_cast<TaggedSocket*>(stream);
  if (connection == nullptr) return;
  IosServerFactory* factory = connection->getListeningPort()->getFactory();
  int pending = 0;
  try {
    pending = connection->getInputStream()->available();
  } catch (Exception* e) {
    delete e;
  }
  if (pending <= 0) {
    select_.remove(connection);
    factory->connectionClosed(connection);
    return;
  }
  try {
    factory->dataAvailable(connection);
  } catch (Exception* e) {
    delete e;
    if (select_.contains(connection)) {
      select_.remove(connection);
      factory->connectionClosed(connection);
    }
  }
}
