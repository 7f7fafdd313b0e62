// Frames written from several threads to one connection arrive whole, one
// after another.
#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <thread>
#include <vector>

#include "ios/ServerSocket.h"
#include "ios/Socket.h"
#include "server/VantorEncodedOutputStream.h"

TEST(EncodedOutputStream, FramesFromSeveralThreadsNeverMix) {
  ServerSocket listener(true, 0);
  Socket reader("127.0.0.1", listener.getPort());
  std::unique_ptr<Socket> writer(listener.accept());
  VantorEncodedOutputStream stream(writer->getOutputStream());

  const int kThreads = 4, kFrames = 300, kSize = 1000;
  std::vector<std::thread> threads;
  for (int t = 0; t < kThreads; ++t) {
    threads.emplace_back([&, t] {
      const std::string payload(kSize, static_cast<char>('a' + t));
      for (int i = 0; i < kFrames; ++i) stream.write(payload.data(), kSize);
    });
  }
  std::vector<int> seen(kThreads, 0);
  for (int i = 0; i < kThreads * kFrames; ++i) {
    unsigned char header[2];
    reader.read(reinterpret_cast<char*>(header), 2);
    ASSERT_EQ(header[0] | header[1] << 8, kSize);
    std::string payload(kSize, '\0');
    reader.read(&payload[0], kSize);
    const int t = payload[0] - 'a';
    ASSERT_GE(t, 0);
    ASSERT_LT(t, kThreads);
    ASSERT_EQ(payload, std::string(kSize, payload[0]));
    ++seen[t];
  }
  for (auto& thread : threads) thread.join();
  EXPECT_EQ(seen, std::vector<int>(kThreads, kFrames));
}
