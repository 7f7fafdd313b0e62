// One TCP connection being opened without holding up the thread that asked
// for it: a helper thread resolves the host (which may block for as long as
// the resolver likes) and connects, and the owner polls for the outcome from
// its own loop. The owner's poll also keeps the time limit, so an attempt
// fails on time even while the helper is still stuck in the resolver.
//
// The helper never touches the owner: the two share only a small state
// record, under its own mutex, that the last of them to let go frees. An
// owner that gives up (destroys the attempt) does not wait for the helper,
// which closes whatever it connected and ends by itself soon after.
//
// Thread safety: every public operation belongs to the owner's one thread;
// the helper thread touches the shared record only.
#ifndef VANTOR_CLIENT_CONNECTIONATTEMPT_H_
#define VANTOR_CLIENT_CONNECTIONATTEMPT_H_

#include <cstdint>
#include <memory>
#include <string>

class ConnectionAttempt {
 public:
  enum Status { kPending, kConnected, kFailed };

  static constexpr int kDefaultTimeoutMilliseconds = 10000;

  // Starts resolving host (an IPv4 name or address) and connecting to port.
  ConnectionAttempt(const std::string& host, int port,
                    int timeoutMilliseconds = kDefaultTimeoutMilliseconds);
  // Gives up if still pending; closes a descriptor that was never taken.
  ~ConnectionAttempt();
  ConnectionAttempt(const ConnectionAttempt&) = delete;
  ConnectionAttempt& operator=(const ConnectionAttempt&) = delete;

  // Never waits. Once kConnected or kFailed, stays so.
  Status poll();
  // The connected descriptor (blocking mode), once, after kConnected; the
  // caller owns it. -1 otherwise.
  int takeDescriptor();
  // Why the attempt failed, as the socket layer words it; empty otherwise.
  const std::string& failure() const { return failure_; }

 private:
  struct Shared;

  std::shared_ptr<Shared> shared_;
  uint64_t deadline_;
  Status status_;
  int descriptor_;
  std::string failure_;
};

#endif  // VANTOR_CLIENT_CONNECTIONATTEMPT_H_
