#include "client/ConnectionAttempt.h"

#include <algorithm>
#include <functional>
#include <mutex>
#include <system_error>
#include <thread>

#include "ios/Exception.h"
#include "ios/Platform.h"
#include "ios/Socket.h"
#include "ios/SocketSystem.h"

namespace {

const char* const kCreationFailed = "IosSocket: Socket creation failed";
const char* const kTimedOut = "IosSocket: Socket connection timed out";

}  // namespace

struct ConnectionAttempt::Shared {
  std::mutex mutex;
  bool finished = false;   // the helper has stored its outcome
  bool abandoned = false;  // the owner has let go; the helper keeps nothing
  int descriptor = -1;
  std::string failure;

  bool isAbandoned() {
    std::lock_guard<std::mutex> lock(mutex);
    return abandoned;
  }
};

namespace {

// Resolves and connects on the helper thread; the connected descriptor, or
// -1 with *failure set (empty when no longer wanted).
int openConnection(const std::string& host, int port, uint64_t deadline,
                   const std::function<bool()>& stillWanted, std::string* failure) {
  try {
    return Socket::connectDescriptor(host.c_str(), port, deadline, stillWanted);
  } catch (Exception* e) {
    *failure = e->getMessage();
    delete e;
    return -1;
  }
}

}  // namespace

ConnectionAttempt::ConnectionAttempt(const std::string& host, int port, int timeoutMilliseconds)
    : shared_(std::make_shared<Shared>()),
      deadline_(platform::monotonicMilliseconds() +
                static_cast<uint64_t>(std::max(timeoutMilliseconds, 0))),
      status_(kPending),
      descriptor_(-1) {
  std::shared_ptr<Shared> shared = shared_;
  const uint64_t deadline = deadline_;
  try {
    std::thread([shared, host, port, deadline] {
      std::string failure;
      const int descriptor = openConnection(
          host, port, deadline, [&] { return !shared->isAbandoned(); }, &failure);
      std::lock_guard<std::mutex> lock(shared->mutex);
      if (shared->abandoned) {
        if (descriptor >= 0) sockets::close(descriptor);
        return;
      }
      shared->descriptor = descriptor;
      shared->failure = failure;
      shared->finished = true;
    }).detach();
  } catch (const std::system_error&) {
    status_ = kFailed;
    failure_ = kCreationFailed;
  }
}

ConnectionAttempt::~ConnectionAttempt() {
  {
    std::lock_guard<std::mutex> lock(shared_->mutex);
    shared_->abandoned = true;
    if (shared_->descriptor >= 0) sockets::close(shared_->descriptor);
    shared_->descriptor = -1;
  }
  if (descriptor_ >= 0) sockets::close(descriptor_);
}

ConnectionAttempt::Status ConnectionAttempt::poll() {
  if (status_ != kPending) return status_;
  {
    std::lock_guard<std::mutex> lock(shared_->mutex);
    if (shared_->finished) {
      descriptor_ = shared_->descriptor;
      shared_->descriptor = -1;
      failure_ = shared_->failure;
      status_ = descriptor_ >= 0 ? kConnected : kFailed;
      return status_;
    }
    if (platform::monotonicMilliseconds() < deadline_) return kPending;
    // The helper may still be in the resolver: it is left to end alone.
    shared_->abandoned = true;
  }
  status_ = kFailed;
  failure_ = kTimedOut;
  return status_;
}

int ConnectionAttempt::takeDescriptor() {
  const int descriptor = descriptor_;
  descriptor_ = -1;
  return descriptor;
}
