#include "tests/app/ChildProcess.h"

#include <dirent.h>
#include <fcntl.h>
#include <signal.h>
#include <spawn.h>
#include <sys/wait.h>

#include <chrono>
#include <cstring>
#include <fstream>
#include <sstream>
#include <thread>

extern char** environ;

namespace {

// The state letter and parent of pid from /proc, or false when it is gone.
bool readStat(int pid, char* state, int* parent) {
  std::ifstream stat("/proc/" + std::to_string(pid) + "/stat");
  std::string text((std::istreambuf_iterator<char>(stat)), std::istreambuf_iterator<char>());
  const size_t close = text.rfind(')');  // the name may hold spaces and brackets
  if (close == std::string::npos) return false;
  std::istringstream rest(text.substr(close + 1));
  return static_cast<bool>(rest >> *state >> *parent);
}

}  // namespace

ChildProcess::ChildProcess(const std::vector<std::string>& command, const std::string& logPath,
                           bool withDisplay, Logged logged)
    : pid_(-1), reaped_(false), logPath_(logPath) {
  std::vector<std::string> args(command), env;
  for (char** e = environ; *e; ++e) {
    if (withDisplay || std::strncmp(*e, "DISPLAY=", 8) != 0) env.push_back(*e);
  }
  std::vector<char*> argv, envp;
  for (std::string& a : args) argv.push_back(a.data());
  for (std::string& e : env) envp.push_back(e.data());
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
  DIR* proc = pid_ > 0 ? opendir("/proc") : nullptr;
  if (!proc) return -1;
  int found = -1;
  while (dirent* entry = readdir(proc)) {
    const int pid = std::atoi(entry->d_name);
    char state;
    int parent;
    if (pid > 0 && readStat(pid, &state, &parent) && parent == pid_) {
      found = pid;
      break;
    }
  }
  closedir(proc);
  return found;
}

bool ChildProcess::processExists(int pid) {
  char state;
  int parent;
  return pid > 0 && readStat(pid, &state, &parent) && state != 'Z';
}

int ChildProcess::waitExit(int timeoutMs) {
  if (pid_ <= 0) return -1;
  const auto end = std::chrono::steady_clock::now() + std::chrono::milliseconds(timeoutMs);
  do {
    int status;
    if (waitpid(pid_, &status, WNOHANG) == pid_) {
      reaped_ = true;
      return status;
    }
    std::this_thread::sleep_for(std::chrono::milliseconds(20));
  } while (std::chrono::steady_clock::now() < end);
  return -1;
}

std::string ChildProcess::log() const {
  std::ifstream in(logPath_);
  return std::string((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
}

bool ChildProcess::waitForLog(const std::string& text, int timeoutMs) const {
  const auto end = std::chrono::steady_clock::now() + std::chrono::milliseconds(timeoutMs);
  do {
    if (log().find(text) != std::string::npos) return true;
    std::this_thread::sleep_for(std::chrono::milliseconds(50));
  } while (std::chrono::steady_clock::now() < end);
  return false;
}

void ChildProcess::kill(int signal) {
  if (pid_ > 0 && !reaped_) ::kill(pid_, signal);
}
