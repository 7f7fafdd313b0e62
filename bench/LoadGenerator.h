// Drives a game server over loopback with a fixed kind of request: N
// connections, each keeping D requests in flight (pipelined), for a warm-up
// then a measured window. Replies are matched by their code, so unsolicited
// messages (S26, S9, S23 ...) are skipped; for broadcast chat a connection
// counts only the S6 that carries its own index in the text. Every request's
// time from send to reply is taken on the monotonic clock.
//
// Thread safety: none; one generator runs on the thread that calls run().
#ifndef VANTOR_BENCH_LOADGENERATOR_H_
#define VANTOR_BENCH_LOADGENERATOR_H_

#include <chrono>
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

enum class LoadKind { WhoAmI, GameList, Broadcast };

struct LoadPlan {
  LoadKind kind;
  int connections;
  int depth;
  std::chrono::milliseconds warmUp;
  std::chrono::milliseconds window;
};

struct LoadResult {
  bool ok = false;
  std::string error;  // why the run failed, when !ok
  double requestsPerSecond = 0;
  // Latency percentiles in microseconds, over the replies of the window.
  double p50 = 0, p99 = 0, p999 = 0;
};

class LoadGenerator {
 public:
  LoadGenerator(int port, const LoadPlan& plan);
  ~LoadGenerator();
  LoadGenerator(const LoadGenerator&) = delete;
  LoadGenerator& operator=(const LoadGenerator&) = delete;

  // Connects, measures and disconnects; returns within about
  // warm-up + window + the connection deadline.
  LoadResult run();

 private:
  using Clock = std::chrono::steady_clock;
  struct Connection;

  bool connectAll(std::string& error);
  bool open(Connection& connection, std::string& error);
  void closeConnection(Connection& connection);
  void queueRequest(Connection& connection, Clock::time_point now);
  bool isReply(const Connection& connection, const char* payload, int length) const;
  // Reads what is there; false when the connection ended.
  bool receive(Connection& connection);
  // One send of what is queued; false on a write error.
  bool flush(Connection& connection);
  void watchOutput(Connection& connection, bool on);

  int port_;
  LoadPlan plan_;
  int epoll_;
  std::vector<std::unique_ptr<Connection>> connections_;
  std::vector<int64_t> latencies_;  // nanoseconds, replies inside the window
  Clock::time_point windowStart_, windowEnd_;
};

#endif  // VANTOR_BENCH_LOADGENERATOR_H_
