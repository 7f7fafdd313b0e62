// The real executable as a game server, without a display: "vantor S",
// also from a copy named Vantor, serves, with its computer players, from port 4567 on and ends with
// 255 on an interrupt; --listen serves exactly the addresses given (other loopback addresses stand
// for other machines, on ports the system chooses); a bind that fails, the help, the version and
// the words it refuses. IPv6 loopback is served where the machine has it.
// VANTOR_SERVER_COMMAND, when set, names the executable instead, with what
// starts it ("wine .../vantor.exe": the Windows build's, driven from Linux).
#include <gtest/gtest.h>
#include <signal.h>
#include <sys/wait.h>

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <memory>
#include <sstream>
#include <string>
#include <vector>

#include "ios/Exception.h"
#include "ios/ServerSocket.h"
#include "tests/app/ChildProcess.h"
#include "tests/server/ProtocolClient.h"

namespace {

using Logged = ChildProcess::Logged;

// The words of VANTOR_SERVER_COMMAND, or else VANTOR_EXECUTABLE alone; the
// last word is the executable.
std::vector<std::string> serverCommand() {
  std::vector<std::string> words;
  std::istringstream given(
      std::getenv("VANTOR_SERVER_COMMAND") ? std::getenv("VANTOR_SERVER_COMMAND") : "");
  for (std::string word; given >> word;) words.push_back(word);
  if (words.empty()) words.push_back(VANTOR_EXECUTABLE);
  return words;
}

// The executable (or a copy of it) started with arguments, its log named
// after the test.
std::unique_ptr<ChildProcess> start(const std::string& arguments, Logged logged = Logged::kBoth,
                                    const std::string& executable = serverCommand().back()) {
  static int started = 0;
  std::vector<std::string> command = serverCommand();
  command.back() = executable;
  std::istringstream words(arguments);
  for (std::string word; words >> word;) command.push_back(word);
  const std::string log = testing::TempDir() + "vantor-" +
                          testing::UnitTest::GetInstance()->current_test_info()->name() + "-" +
                          std::to_string(++started) + ".log";
  return std::make_unique<ChildProcess>(command, log, false, logged);
}

struct Finished {
  int status;
  std::string output;
};

// Runs the executable to its end, keeping the streams asked for.
Finished runToEnd(const std::string& arguments, Logged logged) {
  auto process = start(arguments, logged);
  const int status = process->waitExit(10000);
  return {WIFEXITED(status) ? WEXITSTATUS(status) : -1, process->log()};
}

// The ports of the "listening on" lines, or else of the launch line; none
// when the launch line does not come.
std::vector<int> ports(const ChildProcess& server) {
  std::vector<int> found;
  if (!server.waitForLog("server launched on port", 10000)) return found;
  std::istringstream lines(server.log());
  for (std::string line; std::getline(lines, line);) {
    char host[64];
    int port;
    if (std::sscanf(line.c_str(), "listening on %63s port %d", host, &port) == 2 ||
        (found.empty() && std::sscanf(line.c_str(), "server launched on port %d", &port) == 1)) {
      found.push_back(port);
    }
  }
  return found;
}

bool connects(const std::string& host, int port) {
  try {
    return ProtocolClient(port, "", host).next() == msg(26);
  } catch (Exception* e) {
    delete e;
    return false;
  }
}

}  // namespace

// A copy named "Vantor" and started by hand: the name chooses no mode and
// the copy is no client's child. (How it moves past a busy port is the
// embedded server's test.)
TEST(ServerMode, ACopyNamedVantorServesWithItsComputerPlayersFrom4567OnAndEndsWith255OnInterrupt) {
  const std::filesystem::path original = serverCommand().back();
  const std::filesystem::path copy =
      testing::TempDir() + "vantor-copy/Vantor" + original.extension().string();
  std::filesystem::create_directories(copy.parent_path());
  std::filesystem::copy_file(original, copy, std::filesystem::copy_options::overwrite_existing);
  auto server = start("S", Logged::kOutput, copy.string());
  const std::vector<int> port = ports(*server);
  ASSERT_EQ(port.size(), 1u) << server->log();
  ASSERT_GE(port[0], 4567);
  // Its computer players are there: one accepts a game, and answers in
  // private.
  auto client = ProtocolClient::join(port[0], "tester");
  client->send(msg(4, bytes({0, 1}) + cstr("Pee[Bot]")));
  EXPECT_EQ(codeOf(client->nextOf(7)), 7);
  client->send(msg(6, cstr("Pee[Bot]") + cstr("hello")));
  EXPECT_EQ(client->nextOf(6),
            msg(6, bytes({0}) + cstr("Pee[Bot]") + cstr("I can't speak, I'm a bot!")));

  server->kill(SIGINT);
  const int status = server->waitExit(10000);
  ASSERT_TRUE(WIFEXITED(status));
  EXPECT_EQ(WEXITSTATUS(status), 255);
}

TEST(ServerHosting, ServesExactlyTheAddressesItIsGivenIpv6LoopbackWhereTheMachineHasIt) {
  auto one = start("S --listen 127.0.0.2:0", Logged::kOutput);
  const std::vector<int> onePorts = ports(*one);
  ASSERT_EQ(onePorts.size(), 1u) << one->log();
  EXPECT_TRUE(connects("127.0.0.2", onePorts[0]));
  EXPECT_FALSE(connects("127.0.0.1", onePorts[0]));

  bool ipv6 = true;
  try {
    ServerSocket probe("::1", 0);
  } catch (Exception* e) {
    delete e;
    ipv6 = false;  // ::1 cannot be bound here
  }
  auto two = start(std::string("S --listen 127.0.0.3:0 --listen=127.0.0.4:0") +
                       (ipv6 ? " --listen [::1]:0" : ""),
                   Logged::kOutput);
  const std::vector<int> twoPorts = ports(*two);
  ASSERT_EQ(twoPorts.size(), ipv6 ? 3u : 2u) << two->log();
  EXPECT_TRUE(connects("127.0.0.3", twoPorts[0]));
  EXPECT_TRUE(connects("127.0.0.4", twoPorts[1]));
  EXPECT_TRUE(!ipv6 || connects("::1", twoPorts[2]));
}

TEST(ServerHosting, ATakenPortEndsItWithOneLineAndStatusOne) {
  ServerSocket taken("127.0.0.1", 0);
  const std::string where = "127.0.0.1:" + std::to_string(taken.getPort());
  const Finished run = runToEnd("S --listen " + where, Logged::kErrors);
  EXPECT_EQ(run.status, 1);
  EXPECT_EQ(run.output, "vantor: cannot listen on 127.0.0.1 port " +
                            std::to_string(taken.getPort()) + ": Socket binding error\n");
}

TEST(ServerHosting, HelpVersionAndWordsItRefuses) {
  const Finished help = runToEnd("--help", Logged::kOutput);
  EXPECT_EQ(help.status, 0);
  EXPECT_EQ(help.output.rfind("Usage: vantor", 0), 0u) << help.output;
  EXPECT_NE(help.output.find("--listen ADDRESS[:PORT]"), std::string::npos);

  const Finished version = runToEnd("--version", Logged::kOutput);
  EXPECT_EQ(version.status, 0);
  EXPECT_EQ(version.output, "vantor " VANTOR_VERSION "\n");

  for (const char* words : {"S --bogus", "S --max-players 3 --listen 127.0.0.1"}) {
    const Finished refused = runToEnd(words, Logged::kErrors);
    EXPECT_EQ(refused.status, 2) << words;
    EXPECT_EQ(refused.output.rfind("vantor: ", 0), 0u) << refused.output;
    EXPECT_NE(refused.output.find("Usage: vantor"), std::string::npos) << words;
  }
}

#ifdef VANTOR_HEADLESS
TEST(ServerHosting, TheBuildWithoutWindowSaysSoInClientMode) {
  const Finished client = runToEnd("", Logged::kBoth);
  EXPECT_EQ(client.status, 1);
  EXPECT_EQ(client.output, "vantor: this build has no window; \"vantor S\" runs the game server\n");
}
#endif
