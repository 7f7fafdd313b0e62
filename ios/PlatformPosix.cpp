#include <execinfo.h>
#include <fcntl.h>
#include <poll.h>
#include <signal.h>
#include <spawn.h>
#include <sys/prctl.h>
#include <sys/wait.h>
#include <time.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <climits>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <vector>

#include "ios/Platform.h"

extern char** environ;

namespace platform {

uint64_t monotonicMilliseconds() {
  timespec now;
  clock_gettime(CLOCK_MONOTONIC, &now);
  return static_cast<uint64_t>(now.tv_sec) * 1000u + static_cast<uint64_t>(now.tv_nsec) / 1000000u;
}

uint32_t tickCount() {
  return static_cast<uint32_t>(monotonicMilliseconds());
}

void sleepMilliseconds(unsigned milliseconds) {
  timespec wait{static_cast<time_t>(milliseconds / 1000),
                static_cast<long>(milliseconds % 1000) * 1000000L};
  timespec left;
  while (nanosleep(&wait, &left) != 0 && errno == EINTR) wait = left;
}

std::string executableDirectory() {
  char path[PATH_MAX];
  ssize_t n = readlink("/proc/self/exe", path, sizeof(path) - 1);
  if (n <= 0) return std::string();
  std::string full(path, static_cast<size_t>(n));
  size_t slash = full.rfind('/');
  if (slash == std::string::npos) return std::string();
  return slash == 0 ? std::string("/") : full.substr(0, slash);
}

std::string userConfigurationFolder() {
  const char* config = std::getenv("XDG_CONFIG_HOME");
  // A relative XDG_CONFIG_HOME is invalid and must be ignored.
  if (config != nullptr && config[0] == '/') return config;
  const char* home = std::getenv("HOME");
  if (home != nullptr && home[0] != '\0') return std::string(home) + "/.config";
  return std::string();
}

std::string replaceFile(const std::string& path, const std::string& text) {
  std::vector<char> name(path.begin(), path.end());
  for (char c : std::string(".XXXXXX")) name.push_back(c);
  name.push_back('\0');
  const int fd = mkstemp(name.data());
  if (fd < 0) return std::strerror(errno);
  const bool written =
      write(fd, text.data(), text.size()) == static_cast<ssize_t>(text.size()) && fsync(fd) == 0;
  const int saved = errno;
  const bool closed = close(fd) == 0;
  if (!written || !closed || std::rename(name.data(), path.c_str()) != 0) {
    const std::string reason = std::strerror(written ? errno : saved);
    unlink(name.data());
    return reason;
  }
  return std::string();
}

bool changeDirectory(const std::string& path) {
  return chdir(path.c_str()) == 0;
}

int captureBackTrace(void** frames, int maxFrames) {
  return backtrace(frames, maxFrames);
}

namespace {
void writeAll(int descriptor, const char* text, size_t length) {
  while (length > 0) {
    ssize_t written = write(descriptor, text, length);
    if (written < 0) {
      if (errno == EINTR) continue;
      return;
    }
    text += written;
    length -= static_cast<size_t>(written);
  }
}
}  // namespace

void onFatalFault(void (*)(int)) {
  // Faults arrive as the signals themselves.
}

void writeStandardError(const char* text, size_t length) {
  writeAll(STDERR_FILENO, text, length);
}

void writeStandardOutput(const char* text, size_t length) {
  writeAll(STDOUT_FILENO, text, length);
}

bool displayAvailable() {
  const char* display = std::getenv("DISPLAY");
  return display != nullptr && display[0] != '\0';
}

void showModalDialog(const std::string& text) {
  if (!displayAvailable()) return;
  // xmessage (x11-utils) is a modal window of its own; waiting for it makes
  // the call return when the user closes it.
  std::vector<char*> argv;
  std::string program = "xmessage", centre = "-center", buttons = "-buttons", ok = "OK:0";
  std::string body = text;
  argv = {program.data(), centre.data(), buttons.data(), ok.data(), body.data(), nullptr};
  pid_t child;
  if (posix_spawnp(&child, "xmessage", nullptr, nullptr, argv.data(), environ) != 0) return;
  int status;
  while (waitpid(child, &status, 0) < 0 && errno == EINTR) {
  }
}

int spawnSelf(const std::vector<std::string>& args,
              const std::vector<std::string>& extraEnvironment, int* output) {
  if (output != nullptr) *output = -1;
  std::vector<std::string> copies(args);
  std::vector<char*> argv;
  for (std::string& a : copies) argv.push_back(a.data());
  argv.push_back(nullptr);
  std::vector<std::string> added(extraEnvironment);
  std::vector<char*> environment;
  for (char** entry = environ; *entry != nullptr; ++entry) environment.push_back(*entry);
  for (std::string& entry : added) environment.push_back(entry.data());
  environment.push_back(nullptr);

  // Both ends are closed on exec: the copy gets the writing end only as its
  // standard output (dup2 clears the flag there), and no later child of this
  // process holds either end, so the reader sees the end of the stream when
  // the copy goes.
  int ends[2] = {-1, -1};
  if (output != nullptr && pipe2(ends, O_CLOEXEC) != 0) return -1;
  posix_spawn_file_actions_t actions;
  posix_spawn_file_actions_init(&actions);
  if (output != nullptr) posix_spawn_file_actions_adddup2(&actions, ends[1], STDOUT_FILENO);
  pid_t child;
  const int failed =
      posix_spawn(&child, "/proc/self/exe", &actions, nullptr, argv.data(), environment.data());
  posix_spawn_file_actions_destroy(&actions);
  if (output != nullptr) {
    close(ends[1]);
    if (failed != 0) {
      close(ends[0]);
    } else {
      *output = ends[0];
    }
  }
  return failed != 0 ? -1 : static_cast<int>(child);
}

long readWithin(int descriptor, char* buffer, size_t size, int timeoutMs) {
  pollfd wanted{descriptor, POLLIN, 0};
  const uint64_t deadline = monotonicMilliseconds() + static_cast<uint64_t>(std::max(timeoutMs, 0));
  for (;;) {
    int wait = -1;
    if (timeoutMs >= 0) {
      const uint64_t now = monotonicMilliseconds();
      wait = now >= deadline ? 0 : static_cast<int>(deadline - now);
    }
    const int ready = poll(&wanted, 1, wait);
    if (ready < 0 && errno == EINTR) continue;
    if (ready <= 0) return -1;
    const ssize_t got = read(descriptor, buffer, size);
    if (got < 0 && errno == EINTR) continue;
    return got < 0 ? -1 : static_cast<long>(got);
  }
}

void closeDescriptor(int descriptor) {
  if (descriptor >= 0) close(descriptor);
}

void killChild(int pid) {
  if (pid <= 0) return;
  kill(static_cast<pid_t>(pid), SIGKILL);
  int status;
  while (waitpid(static_cast<pid_t>(pid), &status, 0) < 0 && errno == EINTR) {
  }
}

namespace {
std::string linkTarget(const std::string& link) {
  char path[PATH_MAX];
  ssize_t n = readlink(link.c_str(), path, sizeof(path) - 1);
  return n > 0 ? std::string(path, static_cast<size_t>(n)) : std::string();
}
}  // namespace

bool dieWithParent() {
  if (prctl(PR_SET_PDEATHSIG, SIGKILL) != 0) return false;
  // The parent may have gone before the request took effect; the process then
  // belongs to another parent, which is not this executable.
  std::string self = linkTarget("/proc/self/exe");
  std::string parent = linkTarget("/proc/" + std::to_string(getppid()) + "/exe");
  return !self.empty() && self == parent;
}

}  // namespace platform
