// The server's side of the wire format on its own: the game list's size
// limit, the request reader and the framing stream, which several threads
// may write to at once. (The layout of
// every message and its frame is checked byte by byte by the protocol tests,
// the integers by the wire module's.)
#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <thread>
#include <tuple>
#include <vector>

#include "ios/ServerSocket.h"
#include "ios/Socket.h"
#include "server/VantorEncodedOutputStream.h"
#include "server/VantorProtocol.h"
#include "server/VantorRequestReader.h"
#include "tests/ios/TestSupport.h"
#include "tests/server/ProtocolClient.h"

TEST(ServerMessages, AGameListLongerThan32767BytesIsNotSentAtAll) {
  // Each entry: 4 + 100 + 1 + 100 + 1 = 206 bytes.
  std::vector<VantorListedGame> games;
  const std::string name(100, 'n');
  int fitting = (kMaxGameListPayload - 1) / 206;
  for (int i = 0; i < fitting; ++i) games.push_back({i, name, name});
  EXPECT_EQ(buildGameList(games).size(), 1u + 206u * fitting);
  games.push_back({fitting, name, name});
  EXPECT_EQ(buildGameList(games), std::string());
}

TEST(RequestReader, ReadsFieldsInOrderAfterTheCodeAndNeverPastThePayload) {
  const std::string payload = bytes({11, 0x2A, 0, 0, 0, 0xFF, 8, 'a', 0, 'b', 0});
  VantorRequestReader reader(payload.data(), static_cast<int>(payload.size()));
  int32_t id;
  int8_t x;
  uint8_t y;
  std::string first, second;
  ASSERT_TRUE(reader.readInt32(id) && reader.readInt8(x) && reader.readU8(y) &&
              reader.readString(first) && reader.readString(second));
  EXPECT_EQ(std::make_tuple(id, x, y, first, second),
            std::make_tuple(42, int8_t{-1}, uint8_t{8}, std::string("a"), std::string("b")));
  EXPECT_FALSE(reader.readU8(y));
  EXPECT_FALSE(reader.readString(first));
  // The byte after the payload is a 0 that must not be taken for the end.
  const std::string buffer = bytes({1, 'a', 'b', 0});
  EXPECT_FALSE(VantorRequestReader(buffer.data(), 3).readString(first));
  EXPECT_FALSE(VantorRequestReader(buffer.data(), 4).readInt32(id));
  EXPECT_FALSE(VantorRequestReader(nullptr, 0).readInt8(x));
}

// Frames written from several threads to one connection arrive whole, one
// after another, the largest payload among them; a longer one is refused.
TEST(EncodedOutputStream, WritesWholeFramesFromSeveralThreadsUpToTheLargestPayloadOnly) {
  ServerSocket listener(true, 0);
  Socket reader("127.0.0.1", listener.getPort());
  std::unique_ptr<Socket> writer(listener.accept());
  VantorEncodedOutputStream stream(writer->getOutputStream());
  const std::string huge(kMaxFramePayload + 1, 'h');
  EXPECT_EQ(thrownMessage([&] { stream.write(huge.data(), static_cast<int>(huge.size())); }),
            "VantorEncodedOutputStream: payload too long");
  stream.write("", 0);
  char empty[2];
  reader.read(empty, 2);
  EXPECT_EQ(std::string(empty, 2), bytes({0, 0}));

  // The first thread's last frame is the largest.
  const int kThreads = 4, kFrames = 300, kSize = 1000;
  std::vector<std::thread> threads;
  for (int t = 0; t < kThreads; ++t) {
    threads.emplace_back([&, t] {
      for (int i = 0; i < kFrames; ++i) {
        const int size = t == 0 && i + 1 == kFrames ? kMaxFramePayload : kSize;
        stream.write(std::string(size, static_cast<char>('a' + t)).data(), size);
      }
    });
  }
  std::vector<int> seen(kThreads, 0);
  for (int i = 0; i < kThreads * kFrames; ++i) {
    unsigned char header[2];
    reader.read(reinterpret_cast<char*>(header), 2);
    std::string payload(header[0] | header[1] << 8, '\0');
    ASSERT_TRUE(payload.size() == kSize || payload.size() == kMaxFramePayload) << payload.size();
    reader.read(&payload[0], static_cast<int>(payload.size()));
    const int t = payload[0] - 'a';
    ASSERT_TRUE(t >= 0 && t < kThreads) << t;
    ASSERT_EQ(payload, std::string(payload.size(), payload[0]));
    ++seen[t];
  }
  for (auto& thread : threads) thread.join();
  EXPECT_EQ(seen, std::vector<int>(kThreads, kFrames));
}
