// The real executable as a server for other machines: --listen on given
// addresses (other loopback addresses stand for other machines), a bind that
// fails, the help and version, and the words it refuses. Ports are chosen by
// the system (port 0), so the tests never collide with anything.
#include <arpa/inet.h>
#include <gtest/gtest.h>
#include <netinet/in.h>
#include <signal.h>
#include <sys/socket.h>
#include <sys/wait.h>

#include <cstdio>
#include <cstdlib>
#include <memory>
#include <string>
#include <vector>

#include "ios/Exception.h"
#include "ios/ServerSocket.h"
#include "tests/server/ProtocolClient.h"

namespace {

struct Finished {
  int status;
  std::string output;
};

// Runs the executable to its end; output is what redirect keeps of its two
// streams ("2>&1 >/dev/null" keeps standard error alone).
Finished runToEnd(const std::string& arguments, const std::string& redirect) {
  FILE* out = popen(
      ("exec env -u DISPLAY '" VANTOR_EXECUTABLE "' " + arguments + " " + redirect).c_str(), "r");
  Finished finished{-1, ""};
  if (out == nullptr) return finished;
  char buffer[512];
  size_t n;
  while ((n = std::fread(buffer, 1, sizeof buffer, out)) > 0) finished.output.append(buffer, n);
  const int status = pclose(out);
  finished.status = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
  return finished;
}

// A server started with arguments and read up to its launch line; killed at
// the end of the test.
class Hosted {
 public:
  explicit Hosted(const std::string& arguments) {
    out_ = popen(
        ("echo $$; exec env -u DISPLAY '" VANTOR_EXECUTABLE "' S " + arguments + " 2>/dev/null")
            .c_str(),
        "r");
    char line[256];
    while (out_ != nullptr && std::fgets(line, sizeof line, out_) != nullptr) {
      if (pid_ == 0) {
        pid_ = std::atoi(line);
        continue;
      }
      char host[64];
      int port;
      if (std::sscanf(line, "listening on %63s port %d", host, &port) == 2) {
        ports_.push_back(port);
      }
      if (std::string(line).rfind("server launched on port", 0) == 0) break;
    }
  }
  ~Hosted() {
    if (pid_ > 0) kill(pid_, SIGTERM);
    if (out_ != nullptr) pclose(out_);
  }
  const std::vector<int>& ports() const { return ports_; }

 private:
  FILE* out_ = nullptr;
  int pid_ = 0;
  std::vector<int> ports_;
};

bool connects(const std::string& host, int port) {
  try {
    ProtocolClient client(port, host.rfind("127.", 0) == 0 ? "127.0.0.1" : host, host);
    return client.next() == msg(26);
  } catch (Exception* e) {
    delete e;
    return false;
  }
}

}  // namespace

TEST(ServerHosting, ServesExactlyTheAddressesItIsGiven) {
  Hosted one("--listen 127.0.0.2:0");
  ASSERT_EQ(one.ports().size(), 1u);
  EXPECT_TRUE(connects("127.0.0.2", one.ports()[0]));
  EXPECT_FALSE(connects("127.0.0.1", one.ports()[0]));

  Hosted two("--listen 127.0.0.3:0 --listen=127.0.0.4:0");
  ASSERT_EQ(two.ports().size(), 2u);
  EXPECT_TRUE(connects("127.0.0.3", two.ports()[0]));
  EXPECT_TRUE(connects("127.0.0.4", two.ports()[1]));
  // A whole game on the second address, against a computer player.
  ProtocolClient player(two.ports()[1], "127.0.0.1", "127.0.0.4");
  EXPECT_EQ(player.next(), msg(26));
  player.send(msg(4, bytes({0, 1}) + cstr("Pee[Bot]")));
  const int32_t id = intAt(player.nextOf(7), 1);
  player.send(msg(11, int32(id) + bytes({5, 3})));
  EXPECT_EQ(player.nextOf(13), msg(13, int32(id) + bytes({5, 3})));
  EXPECT_EQ(intAt(player.nextOf(13, 10000), 1), id);
}

TEST(ServerHosting, ServesIpv6LoopbackWhereTheMachineHasIt) {
  try {
    ServerSocket probe("::1", 0);
  } catch (Exception* e) {
    delete e;
    GTEST_SKIP() << "no IPv6 on loopback here: ::1 cannot be bound";
  }
  Hosted server("--listen [::1]:0");
  ASSERT_EQ(server.ports().size(), 1u);
  sockaddr_in6 address{};
  address.sin6_family = AF_INET6;
  address.sin6_addr = in6addr_loopback;
  address.sin6_port = htons(static_cast<uint16_t>(server.ports()[0]));
  const int descriptor = ::socket(AF_INET6, SOCK_STREAM | SOCK_CLOEXEC, 0);
  ASSERT_EQ(::connect(descriptor, reinterpret_cast<sockaddr*>(&address), sizeof(address)), 0);
  Socket socket(descriptor);
  char reply[3];
  socket.read(reply, 3);
  EXPECT_EQ(std::string(reply, 3), frame(msg(26)));
}

TEST(ServerHosting, ATakenPortEndsItWithOneLineAndStatusOne) {
  ServerSocket taken("127.0.0.1", 0);
  const std::string where = "127.0.0.1:" + std::to_string(taken.getPort());
  const Finished run = runToEnd("S --listen " + where, "2>&1 >/dev/null");
  EXPECT_EQ(run.status, 1);
  EXPECT_EQ(run.output, "vantor: cannot listen on 127.0.0.1 port " +
                            std::to_string(taken.getPort()) + ": Socket binding error\n");
}

TEST(ServerHosting, HelpVersionAndWordsItRefuses) {
  const Finished help = runToEnd("--help", "2>/dev/null");
  EXPECT_EQ(help.status, 0);
  EXPECT_EQ(help.output.rfind("Usage: vantor", 0), 0u) << help.output;
  EXPECT_NE(help.output.find("--listen ADDRESS[:PORT]"), std::string::npos);
  EXPECT_EQ(runToEnd("S --help", "2>/dev/null").output, help.output);

  const Finished version = runToEnd("--version", "2>/dev/null");
  EXPECT_EQ(version.status, 0);
  EXPECT_EQ(version.output, "vantor " VANTOR_VERSION "\n");

  for (const char* words :
       {"S --bogus", "S --listen", "S --listen nowhere", "S --max-players 3 --listen 127.0.0.1"}) {
    const Finished refused = runToEnd(words, "2>&1 >/dev/null");
    EXPECT_EQ(refused.status, 2) << words;
    EXPECT_EQ(refused.output.rfind("vantor: ", 0), 0u) << refused.output;
    EXPECT_NE(refused.output.find("Usage: vantor"), std::string::npos) << words;
  }
  // Words that choose no mode start nothing, as ever.
  const Finished lower = runToEnd("s", "2>&1");
  EXPECT_EQ(lower.status, 0);
  EXPECT_EQ(lower.output, "");
}

#ifdef VANTOR_HEADLESS
TEST(ServerHosting, TheBuildWithoutWindowSaysSoInClientMode) {
  const Finished client = runToEnd("", "2>&1");
  EXPECT_EQ(client.status, 1);
  EXPECT_EQ(client.output, "vantor: this build has no window; \"vantor S\" runs the game server\n");
}
#endif
