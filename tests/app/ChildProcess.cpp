#include "tests/app/ChildProcess.h"

#include <fcntl.h>
#include <signal.h>
#include <spawn.h>
#include <sys/wait.h>

#include <chrono>
#include <cstring>
#include <fstream>
#include <functional>
#include <thread>

extern char** environ;

namespace {

// Polls done every stepMs until it holds or timeoutMs have passed.
bool until(const std::function<bool()>& done, int timeoutMs, int stepMs) {
  const auto end = std::chrono::steady_clock::now() + std::chrono::milliseconds(timeoutMs);
  for (;; std::this_thread::sleep_for(std::chrono::milliseconds(stepMs))) {
    if (done()) return true;
    if (std::chrono::steady_clock::now() >= end) return false;
  }
}

}  // namespace

ChildProcess::ChildProcess(const std::vector<std::string>& command, const std::string& logPath,
                           bool withDisplay, Logged logged)
    : pid_(-1), reaped_(false), logPath_(logPath) {
  std::vector<std::string> args(command);
  std::vector<char*> argv, envp;
  for (std::string& a : args) argv.push_back(a.data());
  for (char** e = environ; *e; ++e) {
    if (withDisplay || std::strncmp(*e, "DISPLAY=", 8) != 0) envp.push_back(*e);
  }
  argv.push_back(nullptr);
  envp.push_back(nullptr);
  posix_spawn_file_actions_t actions;
  posix_spawn_file_actions_init(&actions);
  posix_spawn_file_actions_addopen(&actions, 0, "/dev/null", O_RDONLY, 0);
  const int loggedFd = logged == Logged::kErrors ? 2 : 1;
  posix_spawn_file_actions_addopen(&actions, loggedFd, logPath.c_str(),
                                   O_WRONLY | O_CREAT | O_TRUNC, 0644);
  if (logged == Logged::kBoth) {
    posix_spawn_file_actions_adddup2(&actions, 1, 2);
  } else {
    posix_spawn_file_actions_addopen(&actions, 3 - loggedFd, "/dev/null", O_WRONLY, 0);
  }
  pid_t pid;
  if (posix_spawnp(&pid, argv[0], &actions, nullptr, argv.data(), envp.data()) == 0) pid_ = pid;
  posix_spawn_file_actions_destroy(&actions);
}

ChildProcess::~ChildProcess() {
  if (pid_ > 0 && !reaped_) {
    ::kill(pid_, SIGKILL);
    waitExit(5000);
  }
}

int ChildProcess::childPid() const {
  // The client starts its server from its main thread, whose children the
  // kernel lists here.
  const std::string pid = std::to_string(pid_);
  std::ifstream children("/proc/" + pid + "/task/" + pid + "/children");
  int child = -1;
  return pid_ > 0 && children >> child ? child : -1;
}

bool ChildProcess::processExists(int pid) {
  std::ifstream stat("/proc/" + std::to_string(pid) + "/stat");
  const std::string text((std::istreambuf_iterator<char>(stat)), std::istreambuf_iterator<char>());
  const size_t close = text.rfind(')');  // the name may hold spaces and brackets
  return pid > 0 && close != std::string::npos && text.size() > close + 2 && text[close + 2] != 'Z';
}

int ChildProcess::waitExit(int timeoutMs) {
  int status = -1;
  if (pid_ <= 0 || !until([&] { return waitpid(pid_, &status, WNOHANG) == pid_; }, timeoutMs, 20)) {
    return -1;
  }
  reaped_ = true;
  return status;
}

std::string ChildProcess::log() const {
  std::ifstream in(logPath_);
  return std::string((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
}

bool ChildProcess::waitForLog(const std::string& text, int timeoutMs) const {
  return until([&] { return log().find(text) != std::string::npos; }, timeoutMs, 50);
}

void ChildProcess::kill(int signal) {
  if (pid_ > 0 && !reaped_) ::kill(pid_, signal);
}
