// The real executable in server mode: "vantor S" finds a port from 4567 on,
// says where it moved, serves a game against a computer player, and ends
// with exit code 255 on an interrupt. It runs without a display.
#include <fcntl.h>
#include <gtest/gtest.h>
#include <poll.h>
#include <signal.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <memory>
#include <string>

#include "ios/Exception.h"
#include "ios/ServerSocket.h"
#include "tests/server/ProtocolClient.h"

extern char** environ;

namespace {

// The executable with its standard output on a pipe, without a display.
class ServerProcess {
 public:
  explicit ServerProcess(const char* argument) {
    int fds[2];
    if (pipe(fds) != 0) return;
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_adddup2(&actions, fds[1], STDOUT_FILENO);
    posix_spawn_file_actions_addclose(&actions, fds[0]);
    posix_spawn_file_actions_addopen(&actions, STDERR_FILENO, "/dev/null", O_WRONLY, 0);
    const char* argv[] = {"env", "-u", "DISPLAY", VANTOR_EXECUTABLE, argument, nullptr};
    if (posix_spawnp(&pid_, "env", &actions, nullptr, const_cast<char**>(argv), environ) != 0) {
      pid_ = -1;
    }
    posix_spawn_file_actions_destroy(&actions);
    close(fds[1]);
    output_ = fds[0];
  }

  ~ServerProcess() {
    if (pid_ > 0 && !reaped_) {
      kill(pid_, SIGKILL);
      waitpid(pid_, nullptr, 0);
    }
    if (output_ >= 0) close(output_);
  }

  bool started() const { return pid_ > 0; }
  void signal(int number) { kill(pid_, number); }
  // The standard output so far.
  const std::string& output() {
    readFor(0);
    return text_;
  }

  // Reads standard output until a whole line holds text; the number that
  // follows text there, or 0 on time-out or end of output.
  int numberAfter(const std::string& text, int timeoutMs) {
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::milliseconds(timeoutMs);
    for (;;) {
      const size_t at = text_.find(text);
      if (at != std::string::npos && text_.find('\n', at) != std::string::npos) {
        return std::atoi(text_.c_str() + at + text.size());
      }
      if (std::chrono::steady_clock::now() > deadline || !readFor(100)) return 0;
    }
  }

  // The exit status as waitpid gives it, or -1 when it does not end in time.
  int waitForExit(int timeoutMs) {
    for (int waited = 0; waited < timeoutMs; waited += 5) {
      int status;
      if (waitpid(pid_, &status, WNOHANG) == pid_) {
        reaped_ = true;
        return status;
      }
      usleep(5000);
    }
    return -1;
  }

 private:
  // Reads what comes within ms, all that is there when ms is 0; false at
  // the end of the output.
  bool readFor(int ms) {
    pollfd entry{output_, POLLIN, 0};
    char buf[512];
    while (poll(&entry, 1, ms) > 0) {
      const ssize_t n = read(output_, buf, sizeof(buf));
      if (n <= 0) return false;
      text_.append(buf, static_cast<size_t>(n));
      if (ms > 0) break;
    }
    return true;
  }

  pid_t pid_ = -1;
  bool reaped_ = false;
  int output_ = -1;
  std::string text_;
};

}  // namespace

TEST(ServerMode, MovesPastABusyPortServesAGameAgainstPeeAndEndsWith255OnInterrupt) {
  const int kFirst = 4567;
  // Hold the first port when it is free; when something else has it, the
  // server has to move all the same.
  std::unique_ptr<ServerSocket> held;
  try {
    held.reset(new ServerSocket(true, kFirst));
  } catch (Exception* e) {
    delete e;
  }

  // Whether the next port is free just before the start (it should be taken).
  bool nextFree = false;
  try {
    ServerSocket probe(true, kFirst + 1);
    nextFree = true;
  } catch (Exception* e) {
    delete e;
  }

  ServerProcess server("S");
  ASSERT_TRUE(server.started());
  const int port = server.numberAfter("server launched on port ", 20000);
  ASSERT_GT(port, kFirst) << server.output();
  const std::string firstSwitch =
      "Exception trown while running embedded server, switching to port ";
  EXPECT_EQ(server.output().rfind(firstSwitch + std::to_string(kFirst + 1) + "\n", 0), 0u)
      << server.output();
  EXPECT_NE(server.output().find(firstSwitch + std::to_string(port) + "\n"), std::string::npos);
  if (held && nextFree) {
    EXPECT_EQ(port, kFirst + 1);
  }

  auto client = ProtocolClient::join(port, "tester");
  client->send(msg(4, bytes({0, 1}) + cstr("Pee[Bot]")));
  const int32_t id = intAt(client->nextOf(7), 1);
  client->nextOf(14);
  client->send(msg(11, int32(id) + bytes({5, 3})));
  EXPECT_EQ(client->nextOf(13), msg(13, int32(id) + bytes({5, 3})));
  // Pee thinks, then pauses two seconds.
  EXPECT_EQ(intAt(client->nextOf(13, 10000), 1), id);
  EXPECT_EQ(client->nextOf(14), msg(14, int32(id)));

  server.signal(SIGINT);
  const int status = server.waitForExit(10000);
  ASSERT_NE(status, -1);
  ASSERT_TRUE(WIFEXITED(status));
  EXPECT_EQ(WEXITSTATUS(status), 255);
}

TEST(ServerMode, AnyOtherArgumentEndsAtOnceWithZero) {
  for (const char* argument : {"s", "x", "-S"}) {
    ServerProcess process(argument);
    ASSERT_TRUE(process.started());
    const int status = process.waitForExit(10000);
    ASSERT_TRUE(WIFEXITED(status)) << argument;
    EXPECT_EQ(WEXITSTATUS(status), 0) << argument;
    EXPECT_EQ(process.output(), "");
  }
}
