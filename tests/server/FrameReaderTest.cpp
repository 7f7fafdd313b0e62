// The server's frame reader against real TCP: frames cut into pieces and
// packed together, and hostile frames (empty, too long, cut off, stalled,
// unknown codes, strings without their end).
#include <gtest/gtest.h>
#include <sys/socket.h>

#include <algorithm>
#include <chrono>
#include <string>
#include <thread>
#include <vector>

#include "server/VantorEmbeddedConnection.h"
#include "tests/server/ProtocolClient.h"
#include "tests/server/ServerUnderTest.h"

namespace {

using Messages = std::vector<std::string>;

void pause(int ms) {
  std::this_thread::sleep_for(std::chrono::milliseconds(ms));
}

std::string whoIs(const std::string& nick) {
  return msg(17, cstr(nick));
}

}  // namespace

TEST(FrameReader, AssemblesFramesSentInPiecesAndServesSeveralSentAtOnce) {
  ServerUnderTest server;
  auto alice = ProtocolClient::join(server.port(), "alice");
  const std::string whoAmI = frame(msg(17));
  alice->sendRaw(whoAmI.substr(0, 1));
  pause(30);
  alice->sendRaw(whoAmI.substr(1, 1));
  pause(30);
  alice->sendRaw(whoAmI.substr(2));
  EXPECT_EQ(alice->drain(), Messages{whoIs("alice")});

  const std::string rename = frame(msg(1, cstr("alicia")));
  for (size_t i = 0; i < rename.size(); i += 3) {
    alice->sendRaw(rename.substr(i, 3));
    pause(10);
  }
  EXPECT_EQ(alice->drain(), (Messages{msg(9), whoIs("alicia")}));

  alice->sendRaw(whoAmI + frame(msg(19)) + whoAmI);
  EXPECT_EQ(alice->drain(), (Messages{whoIs("alicia"), msg(19), whoIs("alicia")}));
}

TEST(FrameReader, TakesA1024BytePayloadAndClosesTheConnectionOnALongerOne) {
  ServerUnderTest server;
  auto alice = ProtocolClient::join(server.port(), "alice");
  auto bob = ProtocolClient::join(server.port(), "bob");
  auto carol = ProtocolClient::join(server.port(), "carol");
  const std::string nick(1022, 'n');
  alice->send(msg(1, cstr(nick)));
  EXPECT_EQ(alice->nextOf(17), whoIs(nick));
  alice->send(msg(1, cstr(nick + "n")));
  EXPECT_TRUE(alice->closedByServer());
  // The largest length a header can announce.
  bob->sendRaw(bytes({0xff, 0xff}) + std::string(3000, 'x'));
  EXPECT_TRUE(bob->closedByServer());
  // The others go on.
  carol->send(msg(17));
  EXPECT_EQ(carol->nextOf(17), whoIs("carol"));
}

TEST(FrameReader, DropsEmptyUnknownAndMalformedRequestsAndServesTheNext) {
  ServerUnderTest server;
  auto alice = ProtocolClient::join(server.port(), "alice");
  auto bob = ProtocolClient::join(server.port(), "bob");
  alice->drain();
  alice->sendRaw(frame(""));
  for (int code : {0, 2, 7, 9, 12, 16, 18, 21, 23, 27, 99, 255}) alice->send(msg(code, "junk"));
  // Last strings without their 0 byte: a rename, a chat (both ways), a
  // player's information, an invitation.
  for (const std::string& request : {msg(1, "mallory"), msg(6, cstr("") + "no end"), msg(6, "bob"),
                                     msg(25, "bob"), msg(4, bytes({0, 1}) + "bob")}) {
    alice->send(request);
  }
  // Fixed fields cut short: board, spectate, move, version, invitation.
  for (const std::string& request :
       {msg(8, bytes({1, 0})), msg(20, bytes({1})), msg(11, bytes({0, 0, 0, 0, 5})),
        msg(26, bytes({2})), msg(4)}) {
    alice->send(request);
  }
  alice->send(msg(8, int32(424242)));  // the board of an unknown game
  EXPECT_TRUE(alice->drain().empty());
  EXPECT_TRUE(bob->drain().empty());
  alice->send(msg(17));
  EXPECT_EQ(alice->next(), whoIs("alice"));
}

TEST(FrameReader, ACutOffFrameEndsOnlyWithItsConnection) {
  ServerUnderTest server;
  auto bob = ProtocolClient::join(server.port(), "bob");
  {
    ProtocolClient mallory(server.port());
    mallory.next();
    mallory.sendRaw(bytes({0x10, 0x00, 0x01}) + "abc");
  }
  bob->nextOf(9);
  bob->send(msg(17));
  EXPECT_EQ(bob->nextOf(17), whoIs("bob"));
}

TEST(FrameReader, ClosesOnlyTheConnectionsWhoseFrameStallsForMoreThanFiveSeconds) {
  ServerUnderTest server;
  auto idle = ProtocolClient::join(server.port(), "idle");
  auto late = ProtocolClient::join(server.port(), "late");
  auto headerStall = ProtocolClient::join(server.port(), "header");
  auto payloadStall = ProtocolClient::join(server.port(), "payload");
  const std::string whoAmI = frame(msg(17));
  const std::string longer = frame(msg(17) + "padding");
  late->sendRaw(whoAmI.substr(0, 2));  // the header whole, no payload yet
  headerStall->sendRaw(longer.substr(0, 1));
  payloadStall->sendRaw(longer.substr(0, 4));
  pause(VantorEmbeddedConnection::kStallMilliseconds + 500);
  // The check comes with the next bytes; the stalled frames are still not whole.
  headerStall->sendRaw(longer.substr(1, 1));
  payloadStall->sendRaw(longer.substr(4, 1));
  EXPECT_TRUE(headerStall->closedByServer());
  EXPECT_TRUE(payloadStall->closedByServer());
  late->sendRaw(whoAmI.substr(2));
  EXPECT_EQ(late->nextOf(17), whoIs("late"));
  idle->send(msg(17));
  EXPECT_EQ(idle->nextOf(17), whoIs("idle"));
}

TEST(FrameReader, ClosesAClientThatStopsReadingWithoutStallingTheOthers) {
  ServerUnderTest server;
  auto alice = ProtocolClient::join(server.port(), "alice");
  auto watcher = ProtocolClient::join(server.port(), "watcher");
  auto sleeper = ProtocolClient::join(server.port(), "sleeper");
  int small = 4096;
  setsockopt(sleeper->socket().getDescriptor(), SOL_SOCKET, SO_RCVBUF, &small, sizeof(small));
  alice->drain();
  watcher->drain();
  // alice fills the sleeper's side with private messages; the sleeper never
  // reads, so the server's write to it can only give up, after its bound.
  std::string burst;
  for (int i = 0; i < 64; ++i)
    burst += frame(msg(6, cstr("sleeper") + cstr(std::string(1000, 's'))));
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
  EXPECT_EQ(watcher->nextOf(9), msg(9));
  watcher->send(msg(3));
  const std::vector<std::string> names = stringsFrom(watcher->nextOf(3), 1);
  EXPECT_EQ(std::find(names.begin(), names.end(), "sleeper"), names.end());
}
