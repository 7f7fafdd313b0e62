// A program the tests start (the vantor executable, or xdotool), with its
// standard output and error, and those of any child it starts, which
// inherit them, written to a log file the tests read. The window tests and
// the server-mode tests share it.
//
// Thread safety: one thread at a time.
#ifndef VANTOR_TESTS_APP_CHILDPROCESS_H_
#define VANTOR_TESTS_APP_CHILDPROCESS_H_

#include <string>
#include <vector>

class ChildProcess {
 public:
  // Which streams the log gets; the other one goes to /dev/null.
  enum class Logged { kBoth, kOutput, kErrors };

  // command[0] is looked up in PATH. withDisplay false: started with DISPLAY
  // removed from the environment.
  ChildProcess(const std::vector<std::string>& command, const std::string& logPath,
               bool withDisplay = true, Logged logged = Logged::kBoth);
  ~ChildProcess();  // kills the process if it still runs
  ChildProcess(const ChildProcess&) = delete;
  ChildProcess& operator=(const ChildProcess&) = delete;

  // A child process started by this one's main thread (the client's
  // server), or -1.
  int childPid() const;
  // The exit status as from waitpid, or -1 when it does not end in time.
  int waitExit(int timeoutMs);
  std::string log() const;
  // Waits until the log holds text; false on time-out.
  bool waitForLog(const std::string& text, int timeoutMs) const;
  void kill(int signal);

  // Whether pid runs (a zombie has ended).
  static bool processExists(int pid);

 private:
  int pid_;
  bool reaped_;
  std::string logPath_;
};

#endif  // VANTOR_TESTS_APP_CHILDPROCESS_H_
