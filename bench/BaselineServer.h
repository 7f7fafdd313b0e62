// The yardstick for the game server's network core: the simplest efficient
// server on the same framing, with nothing behind it. It listens on
// 127.0.0.1 at any free port, sends S26 to each new connection and answers
// C17 with S17 ("Player8" for the first connection, as the lobby would name
// it), C19 with an empty S19 and a broadcast C6 with S6 to every connection;
// it ignores everything else. Level-triggered epoll; each round reads what
// is there, answers every whole frame, then makes one send per connection
// that has output and keeps what the socket did not take.
//
// Thread safety: none; construct and serve on one thread.
#ifndef VANTOR_BENCH_BASELINESERVER_H_
#define VANTOR_BENCH_BASELINESERVER_H_

#include <memory>
#include <string>
#include <unordered_map>
#include <vector>

class BaselineServer {
 public:
  // Throws std::runtime_error when it cannot listen.
  BaselineServer();
  ~BaselineServer();
  BaselineServer(const BaselineServer&) = delete;
  BaselineServer& operator=(const BaselineServer&) = delete;

  int port() const { return port_; }
  // Serves until stopFd reaches its end (the driver closes its side).
  void serve(int stopFd);

 private:
  struct Connection;

  void acceptAll();
  void receive(Connection& connection);
  void answer(Connection& connection, const char* payload, int length);
  void queue(Connection& connection, const std::string& payload);
  void flushPending();
  void drop(int fd);

  int listener_;
  int epoll_;
  int port_;
  int nextNumber_;
  std::unordered_map<int, std::unique_ptr<Connection>> connections_;
  // Connections with output for this round's sends, each once.
  std::vector<int> pending_;
};

#endif  // VANTOR_BENCH_BASELINESERVER_H_
