#include "client/ConnectionAttempt.h"

#include <arpa/inet.h>
#include <fcntl.h>
#include <netdb.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <mutex>
#include <system_error>
#include <thread>

#include "ios/Platform.h"

namespace {

const char* const kLookupFailed = "IosSocket: gethostbyname error";
const char* const kCreationFailed = "IosSocket: Socket creation failed";
const char* const kConnectionFailed = "IosSocket: Socket connection failed";
const char* const kTimedOut = "IosSocket: Socket connection timed out";

// How often a helper waiting for its connect looks whether it is still wanted.
constexpr int kCheckMilliseconds = 50;

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

// Resolves and connects on the helper thread; returns the connected
// descriptor, or -1 with *failure set.
template <class StillWanted>
int openConnection(const std::string& host, int port, uint64_t deadline, StillWanted stillWanted,
                   std::string* failure) {
  addrinfo hints{};
  hints.ai_family = AF_INET;
  hints.ai_socktype = SOCK_STREAM;
  addrinfo* found = nullptr;
  if (getaddrinfo(host.c_str(), nullptr, &hints, &found) != 0 || found == nullptr) {
    *failure = kLookupFailed;
    return -1;
  }
  sockaddr_in address{};
  std::memcpy(&address, found->ai_addr, sizeof address);
  freeaddrinfo(found);
  if (port < 0 || port > 65535) {
    *failure = kConnectionFailed;
    return -1;
  }
  address.sin_family = AF_INET;
  address.sin_port = htons(static_cast<uint16_t>(port));

  const int descriptor = socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC | SOCK_NONBLOCK, 0);
  if (descriptor < 0) {
    *failure = kCreationFailed;
    return -1;
  }
  bool connected = connect(descriptor, reinterpret_cast<sockaddr*>(&address), sizeof address) == 0;
  if (!connected && errno != EINPROGRESS && errno != EINTR) {
    close(descriptor);
    *failure = kConnectionFailed;
    return -1;
  }
  // Waits in short slices, so that a helper nobody waits for any more ends soon.
  while (!connected) {
    if (!stillWanted()) {
      close(descriptor);
      return -1;
    }
    const uint64_t now = platform::monotonicMilliseconds();
    if (now >= deadline) {
      close(descriptor);
      *failure = kTimedOut;
      return -1;
    }
    pollfd entry{descriptor, POLLOUT, 0};
    const int slice = static_cast<int>(std::min<uint64_t>(deadline - now, kCheckMilliseconds));
    const int ready = poll(&entry, 1, slice);
    if (ready < 0 && errno != EINTR) break;
    if (ready <= 0) continue;
    int error = 0;
    socklen_t length = sizeof error;
    if (getsockopt(descriptor, SOL_SOCKET, SO_ERROR, &error, &length) != 0 || error != 0) break;
    connected = true;
  }
  if (!connected) {
    close(descriptor);
    *failure = kConnectionFailed;
    return -1;
  }
  // The socket layer reads and writes as on an accepted descriptor.
  fcntl(descriptor, F_SETFL, fcntl(descriptor, F_GETFL) & ~O_NONBLOCK);
  return descriptor;
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
        if (descriptor >= 0) close(descriptor);
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
    if (shared_->descriptor >= 0) close(shared_->descriptor);
    shared_->descriptor = -1;
  }
  if (descriptor_ >= 0) close(descriptor_);
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
