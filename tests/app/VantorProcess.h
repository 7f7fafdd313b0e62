// The real vantor executable started in client mode on a given X display,
// with its standard error (and that of the server child it starts, which
// inherits it) written to a log file the tests read.
//
// Thread safety: one thread at a time.
#ifndef VANTOR_TESTS_APP_VANTORPROCESS_H_
#define VANTOR_TESTS_APP_VANTORPROCESS_H_

#include <string>
#include <vector>

class VantorProcess {
 public:
  // display empty: started with DISPLAY removed from the environment.
  VantorProcess(const std::string& executable, const std::string& display,
                const std::string& logPath, const std::vector<std::string>& args = {});
  ~VantorProcess();  // kills the process if it still runs
  VantorProcess(const VantorProcess&) = delete;
  VantorProcess& operator=(const VantorProcess&) = delete;

  int pid() const { return pid_; }
  bool started() const { return pid_ > 0; }
  // The first child process of the client (its server), or -1.
  int childPid() const;
  // The exit status as from waitpid, or -1 when it does not end in time.
  int waitExit(int timeoutMs);
  std::string log() const;
  // Waits until the log holds text; false on time-out.
  bool waitForLog(const std::string& text, int timeoutMs) const;
  void kill(int signal);

  static bool processExists(int pid);
  // The parent of pid as /proc tells it, or -1.
  static int parentOf(int pid);

 private:
  int pid_;
  bool reaped_;
  std::string logPath_;
};

#endif  // VANTOR_TESTS_APP_VANTORPROCESS_H_
