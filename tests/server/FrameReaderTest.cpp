// The server's frame reader against real TCP: hostile frames (empty, too
// long, cut off, stalled, unknown codes, strings without their end) and a
// client that never reads. (Frames in pieces and packed together come in the
// stall test and in every burst of the other tests.)
#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>
#include <string>
#include <thread>

#include "ios/SocketSystem.h"
#include "server/VantorEmbeddedConnection.h"
#include "server/VantorServer.h"
#include "tests/ios/TestSupport.h"
#include "tests/server/ProtocolClient.h"
#include "tests/server/ServerUnderTest.h"

TEST(FrameReader, DropsBadRequestsAndEndsOnlyTheConnectionOfALongerThan1024ByteOrCutOffFrame) {
  ServerUnderTest server;
  auto alice = ProtocolClient::join(server.port(), "alice");
  auto bob = ProtocolClient::join(server.port(), "bob");
  auto carol = ProtocolClient::join(server.port(), "carol");
  alice->drain();
  bob->drain();
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
  // A 1024-byte payload is taken whole, and the nick-name cut to what the
  // game list can carry; a longer one ends the connection.
  const std::string nick(1022, 'n');
  alice->send(msg(1, cstr(nick)));
  EXPECT_EQ(alice->nextOf(17), whoIs(nick.substr(0, VantorServer::kMaxNickLength)));
  alice->send(msg(1, cstr(nick + "n")));
  EXPECT_TRUE(alice->closedByServer());
  // The largest length a header can announce.
  bob->sendRaw(bytes({0xff, 0xff}) + std::string(3000, 'x'));
  EXPECT_TRUE(bob->closedByServer());
  {
    ProtocolClient mallory(server.port());
    mallory.next();
    mallory.sendRaw(bytes({0x10, 0x00, 0x01}) + "abc");
  }
  // All three are out of the lobby; the others go on.
  VantorServer* lobby = server.factory().getServer();
  EXPECT_TRUE(eventually([&] { return lobby->getPlayerCount() == 8; }));
  carol->send(msg(17));
  EXPECT_EQ(carol->nextOf(17), whoIs("carol"));
}

TEST(FrameReader, ClosesAFrameLeftIncompleteForFiveSecondsWithoutWaitingForMoreBytes) {
  ServerUnderTest server;
  auto idle = ProtocolClient::join(server.port(), "idle");
  auto late = ProtocolClient::join(server.port(), "late");
  auto headerStall = ProtocolClient::join(server.port(), "header");
  auto payloadStall = ProtocolClient::join(server.port(), "payload");
  const std::string whoAmI = frame(msg(17));
  const std::string longer = frame(msg(17) + "padding");
  const auto start = std::chrono::steady_clock::now();
  headerStall->sendRaw(longer.substr(0, 1));
  payloadStall->sendRaw(longer.substr(0, 4));
  // A frame completed well within the limit is served.
  late->sendRaw(whoAmI.substr(0, 2));
  std::this_thread::sleep_for(std::chrono::milliseconds(100));
  late->sendRaw(whoAmI.substr(2));
  EXPECT_EQ(late->nextOf(17), whoIs("late"));

  const int limit = VantorEmbeddedConnection::kStallMilliseconds;
  EXPECT_TRUE(headerStall->closedByServer(limit + 2000));
  EXPECT_TRUE(payloadStall->closedByServer(2000));
  const auto waited = std::chrono::steady_clock::now() - start;
  EXPECT_GE(waited, std::chrono::milliseconds(limit));
  EXPECT_LT(waited, std::chrono::milliseconds(limit + 2000));
  // Sending nothing at all is no stall.
  idle->send(msg(17));
  EXPECT_EQ(idle->nextOf(17), whoIs("idle"));
}

TEST(FrameReader, AClientThatNeverReadsDelaysNobodyAndIsClosedPastItsBound) {
  ServerUnderTest server;
  auto talker = ProtocolClient::join(server.port(), "talker");
  auto prober = ProtocolClient::join(server.port(), "prober");
  auto sleeper = ProtocolClient::join(server.port(), "sleeper");
  int small = 4096;
  setsockopt(sleeper->descriptor(), SOL_SOCKET, SO_RCVBUF, reinterpret_cast<const char*>(&small),
             sizeof(small));
  VantorServer* lobby = server.factory().getServer();
  const auto isListed = [&](const char* nick) { return lobby->findPlayerByName(nick) != nullptr; };
  // Broadcasts reach everyone, the sleeper too, which never reads them.
  std::string burst;
  for (int i = 0; i < 16; ++i) burst += frame(msg(6, cstr("") + cstr(std::string(1000, 'b'))));
  auto slowest = std::chrono::steady_clock::duration::zero();
  const auto start = std::chrono::steady_clock::now();
  while (isListed("sleeper") &&
         std::chrono::steady_clock::now() - start < std::chrono::seconds(60)) {
    talker->sendRaw(burst);
    talker->drain(0);
    const auto asked = std::chrono::steady_clock::now();
    prober->send(msg(17));
    ASSERT_EQ(prober->nextOf(17), whoIs("prober"));
    slowest = std::max(slowest, std::chrono::steady_clock::now() - asked);
  }
  // Closed by the server: out of the lobby (the bytes the kernel already
  // took may still trickle to it, so its own end of the socket says little).
  EXPECT_FALSE(isListed("sleeper"));
  // Nothing like the seconds a blocking send held everyone for (a few
  // milliseconds here; the bound leaves room for a loaded machine).
  EXPECT_LT(slowest, std::chrono::milliseconds(250));
}
