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
#include <cstring>
#include <memory>
#include <string>
#include <vector>

#include "ios/Exception.h"
#include "ios/ServerSocket.h"
#include "tests/server/ProtocolClient.h"

extern char** environ;

namespace {

// The executable with its standard output on a pipe.
class ServerProcess {
 public:
  explicit ServerProcess(const std::vector<std::string>& args) {
    int fds[2];
    if (pipe(fds) != 0) return;
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_adddup2(&actions, fds[1], STDOUT_FILENO);
    posix_spawn_file_actions_addclose(&actions, fds[0]);
    posix_spawn_file_actions_addopen(&actions, STDERR_FILENO, "/dev/null", O_WRONLY, 0);
    std::vector<std::string> words = {VANTOR_EXECUTABLE};
    words.insert(words.end(), args.begin(), args.end());
    std::vector<char*> argv;
    for (std::string& w : words) argv.push_back(&w[0]);
    argv.push_back(nullptr);
    // No display: a server must not need one.
    std::vector<char*> env;
    for (char** e = environ; *e != nullptr; ++e) {
      if (std::strncmp(*e, "DISPLAY=", 8) != 0) env.push_back(*e);
    }
    env.push_back(nullptr);
    if (posix_spawn(&pid_, VANTOR_EXECUTABLE, &actions, nullptr, argv.data(), env.data()) != 0) {
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

  // Reads standard output until a line starts with prefix; that line, or ""
  // on time-out.
  std::string lineStartingWith(const std::string& prefix, int timeoutMs) {
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::milliseconds(timeoutMs);
    for (;;) {
      size_t start = 0;
      for (size_t end; (end = text_.find('\n', start)) != std::string::npos; start = end + 1) {
        if (text_.compare(start, prefix.size(), prefix) == 0) {
          return text_.substr(start, end - start);
        }
      }
      const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(
                            deadline - std::chrono::steady_clock::now())
                            .count();
      if (left <= 0) return std::string();
      pollfd entry{output_, POLLIN, 0};
      if (poll(&entry, 1, static_cast<int>(left)) <= 0) continue;
      char buf[512];
      ssize_t n = read(output_, buf, sizeof(buf));
      if (n <= 0) return std::string();
      text_.append(buf, static_cast<size_t>(n));
    }
  }

  const std::string& output() const { return text_; }

  // The exit status as waitpid gives it, or -1 when it does not end in time.
  int waitForExit(int timeoutMs) {
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::milliseconds(timeoutMs);
    while (std::chrono::steady_clock::now() < deadline) {
      int status;
      if (waitpid(pid_, &status, WNOHANG) == pid_) {
        reaped_ = true;
        return status;
      }
      usleep(5000);
    }
    return -1;
  }

  void signal(int number) { kill(pid_, number); }

 private:
  pid_t pid_ = -1;
  bool reaped_ = false;
  int output_ = -1;
  std::string text_;
};

int portOf(const std::string& line) {
  const size_t space = line.rfind(' ');
  return space == std::string::npos ? 0 : std::atoi(line.c_str() + space + 1);
}

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

  ServerProcess server({"S"});
  ASSERT_TRUE(server.started());
  const std::string launched = server.lineStartingWith("server launched on port ", 20000);
  ASSERT_FALSE(launched.empty()) << server.output();
  const int port = portOf(launched);
  EXPECT_GT(port, kFirst);
  const std::string firstSwitch =
      "Exception trown while running embedded server, switching to port ";
  EXPECT_EQ(server.output().rfind(firstSwitch + std::to_string(kFirst + 1) + "\n", 0), 0u)
      << server.output();
  EXPECT_NE(server.output().find(firstSwitch + std::to_string(port) + "\n"), std::string::npos);
  if (held && nextFree) {
    EXPECT_EQ(port, kFirst + 1);
  }

  auto client = ProtocolClient::join(port, "tester");
  client->send(request::askGame(0, true, "Pee[Bot]"));
  const int32_t id = intAt(client->nextOf(7), 1);
  client->nextOf(14);
  client->send(request::playMove(id, 5, 3));
  const std::string mine = client->nextOf(13);
  EXPECT_EQ(byteAt(mine, 5), 5);
  EXPECT_EQ(byteAt(mine, 6), 3);
  // Pee thinks, then pauses two seconds.
  const std::string answer = client->nextOf(13, 10000);
  EXPECT_EQ(intAt(answer, 1), id);
  EXPECT_EQ(codeOf(client->nextOf(14)), 14);

  server.signal(SIGINT);
  const int status = server.waitForExit(10000);
  ASSERT_NE(status, -1);
  ASSERT_TRUE(WIFEXITED(status));
  EXPECT_EQ(WEXITSTATUS(status), 255);
}

TEST(ServerMode, AnyOtherArgumentEndsAtOnceWithZero) {
  for (const char* argument : {"s", "x", "-S"}) {
    ServerProcess process({argument});
    ASSERT_TRUE(process.started());
    const int status = process.waitForExit(10000);
    ASSERT_TRUE(WIFEXITED(status)) << argument;
    EXPECT_EQ(WEXITSTATUS(status), 0) << argument;
    EXPECT_EQ(process.output(), "");
  }
}
