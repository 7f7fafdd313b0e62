// The frame splitter cutting byte streams as they arrive from a socket (in
// one piece, in several, byte by byte, with lengths at and past the limit),
// and the integer and frame encodings it reads.
#include <gtest/gtest.h>

#include <cstdint>
#include <string>
#include <utility>
#include <vector>

#include "wire/VantorFrameSplitter.h"
#include "wire/VantorWire.h"

namespace {

using Payloads = std::vector<std::string>;

std::string framed(const std::string& payload) {
  std::string out;
  appendFrame(out, payload);
  return out;
}

void feed(VantorFrameSplitter& splitter, const std::string& bytes) {
  splitter.feed(bytes.data(), static_cast<int>(bytes.size()));
}

// Every whole payload at hand, in order, read only after the last next():
// each must still be valid then.
Payloads payloads(VantorFrameSplitter& splitter) {
  std::vector<std::pair<const char*, int>> at;
  const char* payload = nullptr;
  int length = 0;
  while (splitter.next(&payload, &length) == VantorFrameSplitter::kFrame) {
    at.emplace_back(payload, length);
  }
  Payloads out;
  for (const auto& p : at) out.emplace_back(p.first, static_cast<size_t>(p.second));
  return out;
}

}  // namespace

TEST(FrameSplitter, FramesComeOutWholeAndInOrderHoweverTheBytesArrive) {
  // An empty frame, a frame of zeros, and one that uses both length bytes.
  const Payloads sent = {
      "\x11"
      "bob",
      "", std::string(3, '\0'), std::string(258, 'p'), "a"};
  std::string stream;
  for (const std::string& p : sent) stream += framed(p);
  for (size_t piece : {stream.size(), size_t{1}, size_t{4}, size_t{7}}) {
    VantorFrameSplitter splitter(300);
    Payloads got;
    for (size_t at = 0; at < stream.size(); at += piece) {
      feed(splitter, stream.substr(at, piece));
      for (const std::string& p : payloads(splitter)) got.push_back(p);
      if (at == 0 && piece == 4) {
        EXPECT_TRUE(splitter.hasPartialFrame() && splitter.buffered() == 4) << "a frame begun";
      }
    }
    EXPECT_EQ(got, sent) << "pieces of " << piece;
    EXPECT_FALSE(splitter.hasPartialFrame());
  }
}

TEST(FrameSplitter, TheLimitIsTakenAndMoreRefusedForGoodWithNothingKeptUntilCleared) {
  VantorFrameSplitter splitter(1000);
  feed(splitter, framed(std::string(1000, 'a')));
  EXPECT_EQ(payloads(splitter), Payloads{std::string(1000, 'a')});
  feed(splitter, framed(std::string(1001, 'b')));
  const char* payload = nullptr;
  for (int i = 0; i < 2; ++i) {
    int length = 0;
    EXPECT_EQ(splitter.next(&payload, &length), VantorFrameSplitter::kTooLong);
    EXPECT_EQ(length, 1001);
    EXPECT_EQ(splitter.buffered(), 0);
    feed(splitter, framed("later"));
  }
  splitter.clear();
  feed(splitter, framed("fresh"));
  EXPECT_EQ(payloads(splitter), Payloads{"fresh"});
}

TEST(WireEncoding, IntegersAndFrameLengthsAreLittleEndian) {
  char bytes[4];
  encodeInt(bytes, 0x01020304);
  EXPECT_EQ(std::string(bytes, 4), "\x04\x03\x02\x01");
  EXPECT_EQ(decodeInt(bytes), 0x01020304);
  encodeInt(bytes, INT32_MIN + 0xfffffe);  // the sign in the last byte only
  EXPECT_EQ(std::string(bytes, 4), "\xfe\xff\xff\x80");
  EXPECT_EQ(decodeInt(bytes), INT32_MIN + 0xfffffe);
  std::string out = "kept";
  appendFrame(out, std::string(300, 'z'));
  EXPECT_EQ(out, "kept\x2c\x01" + std::string(300, 'z'));
  out.clear();
  appendFrame(out, std::string(kMaxFramePayload, 'm'));
  EXPECT_EQ(out.substr(0, 2), "\xff\xff");
}
