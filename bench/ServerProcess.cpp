#include "bench/ServerProcess.h"

#include <fcntl.h>
#include <poll.h>
#include <signal.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <stdexcept>
#include <thread>

extern char** environ;

namespace {

using Clock = std::chrono::steady_clock;

constexpr auto kStartDeadline = std::chrono::seconds(10);
constexpr auto kStopDeadline = std::chrono::seconds(5);

}  // namespace

ServerProcess::ServerProcess(const std::string& mode)
    : pid_(-1), toChild_(-1), fromChild_(-1), port_(0) {
  int input[2], output[2];
  if (pipe2(input, O_CLOEXEC) != 0) throw std::runtime_error("pipe failed");
  if (pipe2(output, O_CLOEXEC) != 0) {
    close(input[0]);
    close(input[1]);
    throw std::runtime_error("pipe failed");
  }
  posix_spawn_file_actions_t actions;
  posix_spawn_file_actions_init(&actions);
  posix_spawn_file_actions_adddup2(&actions, input[0], STDIN_FILENO);
  posix_spawn_file_actions_adddup2(&actions, output[1], STDOUT_FILENO);
  posix_spawn_file_actions_addopen(&actions, STDERR_FILENO, "/dev/null", O_WRONLY, 0);
  char program[] = "vantor_server_bench";
  std::string modeArgument = mode;
  char* argv[] = {program, modeArgument.data(), nullptr};
  const int failed = posix_spawn(&pid_, "/proc/self/exe", &actions, nullptr, argv, environ);
  posix_spawn_file_actions_destroy(&actions);
  close(input[0]);
  close(output[1]);
  toChild_ = input[1];
  fromChild_ = output[0];
  if (failed != 0) {
    pid_ = -1;
    stop();
    throw std::runtime_error("cannot start the " + mode + ": " + std::strerror(failed));
  }
  try {
    readPort();
  } catch (...) {
    stop();
    throw;
  }
}

ServerProcess::~ServerProcess() {
  stop();
}

void ServerProcess::announcePort(int port) {
  std::printf("port %d\n", port);
  std::fflush(stdout);
}

void ServerProcess::readPort() {
  // The child may print other lines first (the game server announces itself).
  const Clock::time_point deadline = Clock::now() + kStartDeadline;
  std::string text;
  while (Clock::now() < deadline) {
    pollfd readable{fromChild_, POLLIN, 0};
    if (poll(&readable, 1, 100) <= 0) continue;
    char bytes[256];
    const ssize_t received = read(fromChild_, bytes, sizeof bytes);
    if (received <= 0) break;
    text.append(bytes, static_cast<size_t>(received));
    for (size_t start = 0, end; (end = text.find('\n', start)) != std::string::npos;
         start = end + 1) {
      if (text.compare(start, 5, "port ") == 0) {
        port_ = std::atoi(text.c_str() + start + 5);
        if (port_ > 0) return;
      }
    }
  }
  throw std::runtime_error("the server process named no port");
}

void ServerProcess::stop() {
  if (toChild_ >= 0) close(toChild_);
  toChild_ = -1;
  if (pid_ > 0) {
    const Clock::time_point deadline = Clock::now() + kStopDeadline;
    while (waitpid(pid_, nullptr, WNOHANG) == 0) {
      if (Clock::now() >= deadline) {
        kill(pid_, SIGKILL);
        waitpid(pid_, nullptr, 0);
        break;
      }
      std::this_thread::sleep_for(std::chrono::milliseconds(10));
    }
    pid_ = -1;
  }
  if (fromChild_ >= 0) close(fromChild_);
  fromChild_ = -1;
}
