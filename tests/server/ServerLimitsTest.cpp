// The limits of a server that other machines reach, over TCP on loopback:
// connections per peer address, players, the chat rate, and private text
// kept out of the log. Each refusal has its log line; the others go on. The
// lobby's own lines (arrival, name, invitation, departure) are read here too.
#include <gtest/gtest.h>

#include <regex>
#include <string>

#include "server/VantorServerLimits.h"
#include "tests/server/ProtocolClient.h"
#include "tests/server/ServerUnderTest.h"

using testing::internal::CaptureStderr;
using testing::internal::GetCapturedStderr;

namespace {

VantorServerLimits limits(int perAddress, int players, int chat) {
  VantorServerLimits l;
  l.enabled = true;
  l.maxPerAddress = perAddress;
  l.maxPlayers = players;
  l.chatMessages = chat;
  l.logPrivateText = false;
  return l;
}

// The time at the head of a lobby's log line.
const std::string kTime = "[0-9]+\\.[0-9]{6}/";

bool has(const std::string& text, const std::string& part) {
  return text.find(part) != std::string::npos;
}

}  // namespace

TEST(ServerLimits, TurnsAwayConnectionsPastTheBoundOfTheirAddressOrOfPlayersAndSaysWhy) {
  // Two a peer address; the seven computer players and three people.
  ServerUnderTest server(50, 50, limits(2, 10, 20));
  CaptureStderr();
  auto one = ProtocolClient::join(server.port(), "one");
  auto two = ProtocolClient::join(server.port(), "two");
  ProtocolClient third(server.port());
  EXPECT_TRUE(third.closedByServer());
  auto elsewhere = ProtocolClient::join(server.port(), "three", "127.0.0.2");
  ProtocolClient tooMany(server.port(), "127.0.0.3");
  EXPECT_EQ(tooMany.next(), msg(26));
  EXPECT_TRUE(tooMany.closedByServer());
  // A place freed is taken again.
  two->drain(50);
  one.reset();
  two->nextOf(9);
  auto again = ProtocolClient::join(server.port(), "four");
  const std::string log = GetCapturedStderr();
  EXPECT_TRUE(has(log,
                  "Connection from 127.0.0.1 refused: 2 connections from that address "
                  "already\n"))
      << log;
  EXPECT_TRUE(has(log, "Connection from 127.0.0.3 refused: the server holds 10 players\n")) << log;
  // The lines operators read: an arrival, its name and its departure, under
  // one identity.
  EXPECT_TRUE(std::regex_search(
      log, std::regex(kTime + "\\+\\+\\+/(-?[0-9]+)\n" + kTime +
                      "REN/\\1/Renaming to one\n[\\s\\S]*" + kTime + "---/\\1/one\n")))
      << log;
}

TEST(ServerLimits, DropsChatPastTheRateWithOneLineAndKeepsPrivateTextOutOfTheLog) {
  ServerUnderTest server(50, 50, limits(4, 24, 3));
  auto talker = ProtocolClient::join(server.port(), "talker");
  auto listener = ProtocolClient::join(server.port(), "listener", "127.0.0.2");
  talker->drain(50);
  listener->drain(50);
  CaptureStderr();
  std::string burst = frame(msg(4, bytes({0, 1}) + cstr("listener")));  // logged too
  for (int i = 0; i < 5; ++i) burst += frame(msg(6, cstr("") + cstr("hello " + std::to_string(i))));
  burst += frame(msg(6, cstr("listener") + cstr("a secret")));
  talker->sendRaw(burst);
  // Three pass; the fourth and later, private or not, are dropped.
  Messages heard;
  for (const std::string& m : listener->drain()) {
    if (codeOf(m) == 6) heard.push_back(m);
  }
  EXPECT_EQ(heard, (Messages{chat(1, "talker", "hello 0"), chat(1, "talker", "hello 1"),
                             chat(1, "talker", "hello 2")}));
  // The others may still talk.
  talker->drain(50);
  listener->send(msg(6, cstr("talker") + cstr("another secret")));
  EXPECT_EQ(talker->nextOf(6), chat(0, "listener", "another secret"));
  const std::string log = GetCapturedStderr();
  EXPECT_TRUE(has(log, "Chat from talker dropped: more than 3 messages in 10 seconds\n")) << log;
  EXPECT_EQ(log.find("dropped", log.find("dropped") + 1), std::string::npos) << log;
  EXPECT_TRUE(
      std::regex_search(log, std::regex(kTime + "ASK/-?[0-9]+/-?[0-9]+/talker asks listener\n")))
      << log;
  EXPECT_TRUE(has(log, " message to ")) << log;
  EXPECT_TRUE(has(log, ": (not logged)\n")) << log;
  EXPECT_FALSE(has(log, "secret")) << log;
}
