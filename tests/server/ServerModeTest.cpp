// The real executable in server mode: "vantor S" finds a port from 4567 on,
// says where it moved, serves a game against a computer player, and ends
// with exit code 255 on an interrupt. It runs without a display.
#include <gtest/gtest.h>
#include <signal.h>
#include <sys/wait.h>

#include <cstdio>
#include <cstdlib>
#include <memory>
#include <string>

#include "ios/Exception.h"
#include "ios/ServerSocket.h"
#include "tests/server/ProtocolClient.h"

namespace {

// The executable run with argument, without a display, its standard output
// on a pipe whose first line is the process id (the shell's, which the
// executable takes over).
FILE* start(const std::string& argument) {
  return popen(
      ("echo $$; exec env -u DISPLAY '" VANTOR_EXECUTABLE "' " + argument + " 2>/dev/null").c_str(),
      "r");
}

// Kills the process when a test ends early.
struct KillAtExit {
  int pid = 0;
  ~KillAtExit() {
    if (pid > 0) kill(pid, SIGKILL);
  }
};

// Reads the process id and then the server's lines until it says where it
// listens; the port, or 0. The lines read go to text.
int launchedPort(FILE* out, KillAtExit& server, std::string& text) {
  char line[256];
  int port = 0;
  while (port == 0 && std::fgets(line, sizeof line, out) != nullptr) {
    if (server.pid == 0) {
      server.pid = std::atoi(line);
    } else {
      text += line;
      std::sscanf(line, "server launched on port %d", &port);
    }
  }
  return port;
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

  FILE* out = start("S");
  ASSERT_NE(out, nullptr);
  KillAtExit server;
  std::string text;
  const int port = launchedPort(out, server, text);
  ASSERT_GT(port, kFirst) << text;
  const std::string firstSwitch =
      "Exception trown while running embedded server, switching to port ";
  EXPECT_EQ(text.rfind(firstSwitch + std::to_string(kFirst + 1) + "\n", 0), 0u) << text;
  EXPECT_NE(text.find(firstSwitch + std::to_string(port) + "\n"), std::string::npos);
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

  kill(server.pid, SIGINT);
  const int status = pclose(out);
  server.pid = 0;
  ASSERT_TRUE(WIFEXITED(status));
  EXPECT_EQ(WEXITSTATUS(status), 255);
}

TEST(ServerMode, AnyOtherArgumentEndsAtOnceWithZeroAndSaysNothing) {
  for (const char* argument : {"s", "x", "-S"}) {
    FILE* out = start(argument);
    ASSERT_NE(out, nullptr);
    char line[256];
    ASSERT_NE(std::fgets(line, sizeof line, out), nullptr);  // the process id
    EXPECT_EQ(std::fgets(line, sizeof line, out), nullptr) << argument;
    const int status = pclose(out);
    ASSERT_TRUE(WIFEXITED(status)) << argument;
    EXPECT_EQ(WEXITSTATUS(status), 0) << argument;
  }
}

TEST(ServerMode, ACopyNamedVantorStartedByHandServes) {
  // A client marks the server child it starts; a copy of the program named
  // "Vantor" and started by hand is no such child.
  char directory[] = "/tmp/vantor-copy-XXXXXX";
  ASSERT_NE(mkdtemp(directory), nullptr);
  const std::string copy = std::string(directory) + "/Vantor";
  ASSERT_EQ(std::system(("cp '" VANTOR_EXECUTABLE "' " + copy).c_str()), 0);
  FILE* out = popen(("echo $$; exec env -u DISPLAY " + copy + " S 2>/dev/null").c_str(), "r");
  ASSERT_NE(out, nullptr);
  KillAtExit server;
  std::string text;
  const int port = launchedPort(out, server, text);
  ASSERT_GT(port, 0) << text;
  auto client = ProtocolClient::join(port, "tester");
  client->send(msg(17));
  EXPECT_EQ(client->nextOf(17), msg(17, cstr("tester")));
  kill(server.pid, SIGTERM);
  pclose(out);
  server.pid = 0;
  std::system(("rm -rf " + std::string(directory)).c_str());
}
