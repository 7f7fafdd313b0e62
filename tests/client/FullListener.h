// A server that does not answer: a TCP listener that never accepts, with a
// backlog of 0 that its own connections fill, so that a further connect to
// it never completes (the system drops its handshake). It stands for a
// server that takes no connection; the tests that use it connect on
// loopback only.
//
// Thread safety: one thread at a time.
#ifndef VANTOR_TESTS_CLIENT_FULLLISTENER_H_
#define VANTOR_TESTS_CLIENT_FULLLISTENER_H_

#include <string>
#include <vector>

class FullListener {
 public:
  // Listens on address (a loopback address) at port, 0 for a free one.
  explicit FullListener(const std::string& address = "127.0.0.1", int port = 0);
  ~FullListener();
  FullListener(const FullListener&) = delete;
  FullListener& operator=(const FullListener&) = delete;

  // Whether the backlog is full: the last connection made could not complete.
  bool ready() const { return why_.empty(); }
  const std::string& why() const { return why_; }
  int port() const { return port_; }

 private:
  int listener_;
  int port_;
  std::vector<int> fillers_;
  std::string why_;
};

#endif  // VANTOR_TESTS_CLIENT_FULLLISTENER_H_
