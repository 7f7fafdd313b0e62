#include "ios/IosSelectServer.h"

#include <cstdio>
#include <exception>
#include <memory>

#include "ios/Exception.h"
#include "ios/IosListeningPort.h"
#include "ios/IosServerFactory.h"
#include "ios/Platform.h"
#include "ios/TaggedServerSocket.h"
#include "ios/TaggedSocket.h"
#include "ios/TaggedSocketFactory.h"

namespace {

void report(Exception* e) {
  e->print();
  delete e;
}

}  // namespace

IosSelectServer::IosSelectServer()
    : ports_(new IosVector()), stopping_(false), running_(false), nextDeadline_(0) {}

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
  addPort(std::string(localOnly ? "127.0.0.1" : "0.0.0.0"), port, factory);
}

void IosSelectServer::addPort(const std::string& address, int port, IosServerFactory* factory) {
  IosListeningPort* record = new IosListeningPort(address, port, factory, &select_);
  {
    std::lock_guard<std::mutex> guard(lock_);
    ports_->add(record);
    listening_.push_back(record->getSocket());
  }
  // A wait already running watches the new socket from its next round.
  select_.wakeUp();
}

void IosSelectServer::removePort(int port) {
  IosListeningPort* record = findPort(port);
  if (record == nullptr) return;
  {
    std::lock_guard<std::mutex> guard(lock_);
    ports_->remove(record);
  }
  closePort(record);
}

IosListeningPort* IosSelectServer::findPort(int port) {
  std::lock_guard<std::mutex> guard(lock_);
  for (int i = 0; i < ports_->size(); ++i) {
    IosListeningPort* record = static_cast<IosListeningPort*>(ports_->get(i));
    if (record->getPort() == port) return record;
  }
  return nullptr;
}

IosListeningPort* IosSelectServer::lastPort() {
  std::lock_guard<std::mutex> guard(lock_);
  if (ports_->size() == 0) return nullptr;
  return static_cast<IosListeningPort*>(ports_->get(ports_->size() - 1));
}

int IosSelectServer::getFirstPort() {
  std::lock_guard<std::mutex> guard(lock_);
  if (ports_->size() == 0) return 0;
  return static_cast<IosListeningPort*>(ports_->get(0))->getPort();
}

void IosSelectServer::stop() {
  bool closeHere;
  {
    std::lock_guard<std::mutex> guard(lock_);
    stopping_ = true;
    closeHere = !running_;
  }
  // The server thread closes the ports itself once woken.
  if (closeHere) {
    closeAllPorts();
  } else {
    select_.wakeUp();
  }
}

bool IosSelectServer::isStopping() {
  std::lock_guard<std::mutex> guard(lock_);
  return stopping_;
}

void IosSelectServer::closePort(IosListeningPort* record) {
  std::unique_ptr<IosVector> streams(select_.streams());
  for (int i = 0; i < streams->size(); ++i) {
    auto* stream = static_cast<IosSystemStream*>(streams->get(i));
    if (isListening(stream) || !select_.contains(stream)) continue;
    TaggedSocket* connection = asConnection(stream);
    if (connection->getListeningPort() == record) endConnection(connection);
  }
  forgetListening(record);
  delete record;
}

void IosSelectServer::forgetListening(IosListeningPort* record) {
  std::lock_guard<std::mutex> guard(lock_);
  for (auto it = listening_.begin(); it != listening_.end(); ++it) {
    if (*it == static_cast<IosSystemStream*>(record->getSocket())) {
      listening_.erase(it);
      return;
    }
  }
}

void IosSelectServer::closeAllPorts() {
  IosVector records;
  {
    std::lock_guard<std::mutex> guard(lock_);
    for (int i = 0; i < ports_->size(); ++i) records.add(ports_->get(i));
    ports_->clear();
  }
  for (int i = 0; i < records.size(); ++i) {
    closePort(static_cast<IosListeningPort*>(records.get(i)));
  }
}

void IosSelectServer::run() {
  {
    std::lock_guard<std::mutex> guard(lock_);
    running_ = !stopping_;
  }
  if (!running_) {
    closeAllPorts();
    return;
  }
  struct RunningFlag {
    IosSelectServer* server;
    ~RunningFlag() {
      std::lock_guard<std::mutex> guard(server->lock_);
      server->running_ = false;
    }
  } runningFlag{this};

  TaggedSocketFactory socketFactory;
  for (;;) {
    std::fflush(stdout);
    try {
      select_.select(waitTimeout());
    } catch (Exception* e) {
      if (!isStopping()) throw;
      delete e;
    }
    if (isStopping()) {
      closeAllPorts();
      return;
    }
    // Sockets that could not take everything last time go first, so that
    // their bytes keep their order ahead of this round's. Callbacks may end
    // streams, so the lists are copied, and each stream is checked first.
    round_.assign(select_.writable().begin(), select_.writable().end());
    for (IosSystemStream* stream : round_) {
      if (!isListening(stream) && select_.contains(stream)) flush(asConnection(stream));
    }
    round_.assign(select_.readable().begin(), select_.readable().end());
    for (IosSystemStream* stream : round_) {
      if (!select_.contains(stream)) continue;
      if (isListening(stream)) {
        acceptAll(static_cast<TaggedServerSocket*>(static_cast<ServerSocket*>(stream)),
                  &socketFactory);
      } else {
        receive(asConnection(stream));
      }
    }
    flushRequested();
    expireDeadlines();
  }
}

int IosSelectServer::waitTimeout() {
  if (nextDeadline_ == 0) return -1;
  const uint64_t now = platform::monotonicMilliseconds();
  return nextDeadline_ <= now ? 0 : static_cast<int>(nextDeadline_ - now);
}

void IosSelectServer::acceptAll(TaggedServerSocket* listening, IosSocketFactory* socketFactory) {
  IosListeningPort* port = listening->getListeningPort();
  for (int i = 0; i < kAcceptBudget; ++i) {
    Socket* accepted = nullptr;
    try {
      accepted = listening->acceptPending(socketFactory);
    } catch (Exception* e) {
      // Out of descriptors, say: the pending connections wait for a later round.
      report(e);
      return;
    }
    if (accepted == nullptr) return;
    welcome(static_cast<TaggedSocket*>(accepted), port);
  }
}

void IosSelectServer::welcome(TaggedSocket* connection, IosListeningPort* port) {
  connection->setListeningPort(port);
  connection->setSelect(&select_);
  IosSystemStreamSelect* select = &select_;
  connection->outputQueue().setWaitingCallback(
      [select, connection] { select->requestFlush(connection); });
  select_.add(connection);
  try {
    port->getFactory()->newConnection(connection);
  } catch (Exception* e) {
    report(e);
    // No connection object owns the socket.
    if (select_.contains(connection)) delete connection;
    return;
  } catch (const std::exception& e) {
    std::fprintf(stderr, "Exception thrown: %s\n", e.what());
    if (select_.contains(connection)) delete connection;
    return;
  }
  if (!select_.contains(connection)) return;
  noteDeadline(connection);
  // What the welcome wrote (and, for a connection that is only told it
  // cannot stay, its end) need not wait for the end of the round.
  if (connection->endsAfterSending()) flush(connection);
}

void IosSelectServer::receive(TaggedSocket* connection) {
  switch (connection->receive(kReadBudget)) {
    case TaggedSocket::kBlocked:
      return;
    case TaggedSocket::kEnded:
    case TaggedSocket::kFailed:
    case TaggedSocket::kOverflowed:
      endConnection(connection);
      return;
    case TaggedSocket::kMoved:
      break;
  }
  IosServerFactory* factory = connection->getListeningPort()->getFactory();
  try {
    factory->dataAvailable(connection);
  } catch (Exception* e) {
    // The handler's way of asking for the end of its connection.
    delete e;
    if (select_.contains(connection)) endConnection(connection);
    return;
  } catch (const std::exception& e) {
    std::fprintf(stderr, "Exception thrown: %s\n", e.what());
    if (select_.contains(connection)) endConnection(connection);
    return;
  }
  if (select_.contains(connection)) noteDeadline(connection);
}

void IosSelectServer::flush(TaggedSocket* connection) {
  switch (connection->flush()) {
    case TaggedSocket::kOverflowed:
      std::fprintf(
          stderr,
          "Connection closed: more than %zu bytes waiting for a client that does not read\n",
          IosOutputQueue::kDefaultLimit);
      endConnection(connection);
      return;
    case TaggedSocket::kMoved:
      watchWritable(connection, false);
      if (connection->endsAfterSending()) endConnection(connection);
      return;
    case TaggedSocket::kBlocked:
      watchWritable(connection, true);
      return;
    case TaggedSocket::kEnded:
    case TaggedSocket::kFailed:
      endConnection(connection);
      return;
  }
}

void IosSelectServer::watchWritable(TaggedSocket* connection, bool writable) {
  if (connection->watchesWritable == writable) return;
  connection->watchesWritable = writable;
  select_.setWriteInterest(connection, writable);
}

void IosSelectServer::flushRequested() {
  // Only connections ask for a flush (their output queues do).
  for (IosSystemStream* stream : select_.takeFlushRequests()) {
    if (select_.contains(stream)) flush(asConnection(stream));
  }
}

bool IosSelectServer::isListening(IosSystemStream* stream) {
  std::lock_guard<std::mutex> guard(lock_);
  for (IosSystemStream* listening : listening_) {
    if (listening == stream) return true;
  }
  return false;
}

TaggedSocket* IosSelectServer::asConnection(IosSystemStream* stream) {
  // Every stream of the wait set that does not listen is a connection this
  // server accepted (welcome): a TaggedSocket, whose first base is Socket.
  return static_cast<TaggedSocket*>(static_cast<Socket*>(stream));
}

void IosSelectServer::noteDeadline(TaggedSocket* connection) {
  const uint64_t deadline = connection->getDeadline();
  if (deadline != 0 && (nextDeadline_ == 0 || deadline < nextDeadline_)) nextDeadline_ = deadline;
}

void IosSelectServer::expireDeadlines() {
  if (nextDeadline_ == 0 || platform::monotonicMilliseconds() < nextDeadline_) return;
  nextDeadline_ = 0;
  std::unique_ptr<IosVector> streams(select_.streams());
  for (int i = 0; i < streams->size(); ++i) {
    auto* stream = static_cast<IosSystemStream*>(streams->get(i));
    if (isListening(stream) || !select_.contains(stream)) continue;
    TaggedSocket* connection = asConnection(stream);
    const uint64_t deadline = connection->getDeadline();
    if (deadline == 0) continue;
    if (deadline <= platform::monotonicMilliseconds()) {
      select_.remove(connection);
      connection->getListeningPort()->getFactory()->deadlinePassed(connection);
    } else {
      noteDeadline(connection);
    }
  }
}

void IosSelectServer::endConnection(TaggedSocket* connection) {
  select_.remove(connection);
  connection->getListeningPort()->getFactory()->connectionClosed(connection);
}
