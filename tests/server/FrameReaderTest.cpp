// The server's frame reader against real TCP: frames cut into pieces and
// packed together, and hostile frames (empty, too long, cut off, stalled,
// unknown codes, strings without their end).
#include <gtest/gtest.h>
#include <sys/socket.h>

#include <algorithm>
#include <atomic>
#include <chrono>
#include <string>
#include <thread>
#include <vector>

#include "server/VantorEmbeddedConnection.h"
#include "tests/server/ProtocolClient.h"
#include "tests/server/ServerUnderTest.h"

namespace {

void pause(int ms) {
  std::this_thread::sleep_for(std::chrono::milliseconds(ms));
}

// A client past the version handshake, named.
std::unique_ptr<ProtocolClient> named(ServerUnderTest& server, const std::string& nick) {
  return ProtocolClient::join(server.port(), nick);
}

const std::string kWhoAmIAlice(
    "\x11"
    "alice\0",
    7);

}  // namespace

TEST(FrameReader, AssemblesAFrameSentInSeveralSegments) {
  ServerUnderTest server;
  auto alice = named(server, "alice");
  const std::string frame = request::frame(request::whoAmI());
  alice->sendRaw(frame.substr(0, 1));
  pause(30);
  alice->sendRaw(frame.substr(1, 1));
  pause(30);
  alice->sendRaw(frame.substr(2));
  EXPECT_EQ(alice->drain(), std::vector<std::string>{kWhoAmIAlice});

  const std::string rename = request::frame(request::setNick("alicia"));
  for (size_t i = 0; i < rename.size(); i += 3) {
    alice->sendRaw(rename.substr(i, 3));
    pause(10);
  }
  EXPECT_EQ(alice->drain(),
            (std::vector<std::string>{std::string(1, '\x09'), std::string("\x11"
                                                                          "alicia\0",
                                                                          8)}));
}

TEST(FrameReader, ServesSeveralFramesSentInOneSegment) {
  ServerUnderTest server;
  auto alice = named(server, "alice");
  alice->sendRaw(request::frame(request::whoAmI()) + request::frame(request::gameList()) +
                 request::frame(request::whoAmI()));
  EXPECT_EQ(alice->drain(),
            (std::vector<std::string>{kWhoAmIAlice, std::string(1, '\x13'), kWhoAmIAlice}));
}

TEST(FrameReader, TakesAPayloadOfExactly1024Bytes) {
  ServerUnderTest server;
  auto alice = named(server, "alice");
  const std::string nick(1022, 'n');
  const std::string payload = request::setNick(nick);
  ASSERT_EQ(payload.size(), 1024u);
  alice->send(payload);
  EXPECT_EQ(stringsFrom(alice->nextOf(17), 1), std::vector<std::string>{nick});
}

TEST(FrameReader, ClosesTheConnectionOnAFrameLongerThan1024Bytes) {
  ServerUnderTest server;
  auto alice = named(server, "alice");
  auto bob = named(server, "bob");
  alice->send(request::setNick(std::string(1023, 'n')));
  EXPECT_TRUE(alice->closedByServer());
  // The others go on.
  bob->send(request::whoAmI());
  EXPECT_EQ(bob->nextOf(17), std::string("\x11"
                                         "bob\0",
                                         5));
}

TEST(FrameReader, ClosesTheConnectionOnTheLargestAnnouncedLength) {
  ServerUnderTest server;
  auto alice = named(server, "alice");
  alice->sendRaw(std::string("\xff\xff", 2) + std::string(3000, 'x'));
  EXPECT_TRUE(alice->closedByServer());
}

TEST(FrameReader, IgnoresAnEmptyFrame) {
  ServerUnderTest server;
  auto alice = named(server, "alice");
  alice->sendRaw(std::string(2, '\0'));
  EXPECT_TRUE(alice->silentFor(200));
  alice->send(request::whoAmI());
  EXPECT_EQ(alice->next(), kWhoAmIAlice);
}

TEST(FrameReader, IgnoresUnknownCodes) {
  ServerUnderTest server;
  auto alice = named(server, "alice");
  for (int code : {0, 2, 7, 9, 12, 16, 18, 21, 23, 27, 99, 255}) {
    alice->send(std::string(1, static_cast<char>(code)) + "junk");
  }
  EXPECT_TRUE(alice->silentFor(200));
  alice->send(request::whoAmI());
  EXPECT_EQ(alice->next(), kWhoAmIAlice);
}

TEST(FrameReader, DropsARequestWhoseLastStringHasNoEnd) {
  ServerUnderTest server;
  auto alice = named(server, "alice");
  auto bob = named(server, "bob");
  alice->drain();
  alice->send(
      std::string("\x01"
                  "mallory",
                  8));
  alice->send(
      std::string("\x06\0"
                  "no end",
                  8));
  alice->send(
      std::string("\x06"
                  "bob",
                  4));
  alice->send(
      std::string("\x19"
                  "bob",
                  4));
  alice->send(
      std::string("\x04\x00\x01"
                  "bob",
                  6));
  EXPECT_TRUE(alice->silentFor(200));
  EXPECT_TRUE(bob->drain().empty());
  alice->send(request::whoAmI());
  EXPECT_EQ(alice->next(), kWhoAmIAlice);
}

TEST(FrameReader, DropsARequestCutShortInItsFixedFields) {
  ServerUnderTest server;
  auto alice = named(server, "alice");
  alice->send(std::string("\x08\x01\x00", 3));
  alice->send(std::string("\x14\x01", 2));
  alice->send(std::string("\x0b\x00\x00\x00\x00\x05", 6));
  alice->send(std::string("\x1a\x02", 2));
  alice->send(std::string("\x04", 1));
  EXPECT_TRUE(alice->silentFor(200));
  alice->send(request::whoAmI());
  EXPECT_EQ(alice->next(), kWhoAmIAlice);
}

TEST(FrameReader, ACutOffFrameEndsOnlyWithItsConnection) {
  ServerUnderTest server;
  auto bob = named(server, "bob");
  {
    ProtocolClient mallory(server.port());
    mallory.next();
    mallory.sendRaw(
        std::string("\x10\x00\x01"
                    "abc",
                    6));
  }
  bob->nextOf(9);
  bob->send(request::whoAmI());
  EXPECT_EQ(bob->nextOf(17), std::string("\x11"
                                         "bob\0",
                                         5));
}

TEST(FrameReader, ServesAFrameThatCompletesLate) {
  ServerUnderTest server;
  auto alice = named(server, "alice");
  const std::string frame = request::frame(request::whoAmI());
  alice->sendRaw(frame.substr(0, 2));
  pause(VantorEmbeddedConnection::kStallMilliseconds + 500);
  alice->sendRaw(frame.substr(2));
  EXPECT_EQ(alice->next(), kWhoAmIAlice);
}

TEST(FrameReader, KeepsAClientThatSendsNothing) {
  ServerUnderTest server;
  auto alice = named(server, "alice");
  pause(VantorEmbeddedConnection::kStallMilliseconds + 500);
  alice->send(request::whoAmI());
  EXPECT_EQ(alice->next(), kWhoAmIAlice);
}

TEST(FrameReader, ClosesAConnectionWhosePayloadStallsForMoreThanFiveSeconds) {
  ServerUnderTest server;
  auto alice = named(server, "alice");
  const std::string frame = request::frame(request::whoAmI() + "padding");
  alice->sendRaw(frame.substr(0, 4));
  pause(VantorEmbeddedConnection::kStallMilliseconds + 500);
  // The check comes with the next bytes; the frame is still not whole.
  alice->sendRaw(frame.substr(4, 1));
  EXPECT_TRUE(alice->closedByServer());
}

TEST(FrameReader, ClosesAConnectionWhoseHeaderStallsForMoreThanFiveSeconds) {
  ServerUnderTest server;
  auto alice = named(server, "alice");
  alice->sendRaw(std::string(1, '\x01'));
  pause(VantorEmbeddedConnection::kStallMilliseconds + 500);
  alice->sendRaw(std::string(1, '\0'));
  EXPECT_TRUE(alice->closedByServer());
}

TEST(FrameReader, ClosesAClientThatStopsReadingWithoutStallingTheOthers) {
  ServerUnderTest server;
  auto alice = named(server, "alice");
  auto watcher = named(server, "watcher");
  auto sleeper = named(server, "sleeper");
  int small = 4096;
  setsockopt(sleeper->socket().getDescriptor(), SOL_SOCKET, SO_RCVBUF, &small, sizeof(small));
  alice->drain();
  watcher->drain();
  // alice fills the sleeper's side with private messages; the sleeper never
  // reads, so the server's write to it can only give up, after its bound.
  const std::string note = request::frame(request::sendMessage("sleeper", std::string(1000, 's')));
  std::string burst;
  for (int i = 0; i < 64; ++i) burst += note;
  bool gone = false;
  const auto start = std::chrono::steady_clock::now();
  while (!gone && std::chrono::steady_clock::now() - start < std::chrono::seconds(60)) {
    try {
      alice->sendRaw(burst);
    } catch (Exception* e) {
      // The server holds still for up to its send bound meanwhile.
      delete e;
    }
    // The others hear that the sleeper has left.
    gone = watcher->socket().getInputStream()->available() > 0;
  }
  ASSERT_TRUE(gone);
  EXPECT_EQ(watcher->nextOf(9), std::string(1, '\x09'));
  watcher->send(request::playerList());
  const std::vector<std::string> names = stringsFrom(watcher->nextOf(3), 1);
  EXPECT_EQ(std::find(names.begin(), names.end(), "sleeper"), names.end());
}
