// A server under measurement, run in a child process so that it has its own
// threads, heap and file table: this program started again through
// /proc/self/exe with a mode argument. The child writes a line "port N" on
// its standard output, a pipe read here, and serves until its standard
// input, another pipe, reaches its end; its standard error (the server's
// log) goes to /dev/null.
//
// Thread safety: none; create, use and destroy on one thread.
#ifndef VANTOR_BENCH_SERVERPROCESS_H_
#define VANTOR_BENCH_SERVERPROCESS_H_

#include <sys/types.h>

#include <string>

class ServerProcess {
 public:
  // Starts "/proc/self/exe mode" and waits for its port. Throws
  // std::runtime_error when the child cannot start or names no port in time.
  explicit ServerProcess(const std::string& mode);
  // Closes the child's input and waits for it to end; a child that does not
  // end in time is killed.
  ~ServerProcess();
  ServerProcess(const ServerProcess&) = delete;
  ServerProcess& operator=(const ServerProcess&) = delete;

  int port() const { return port_; }

  // The child's side: the line that names the port.
  static void announcePort(int port);

 private:
  void readPort();
  void stop();

  pid_t pid_;
  int toChild_;
  int fromChild_;
  int port_;
};

#endif  // VANTOR_BENCH_SERVERPROCESS_H_
