// The frame splitter cutting byte streams as they arrive from a socket (in
// one piece, in several, byte by byte, with lengths at and past the limit),
// and the integer and frame encodings it reads.
#include <gtest/gtest.h>

#include <cstdint>
#include <string>
#include <vector>

#include "wire/VantorFrameSplitter.h"
#include "wire/VantorWire.h"

namespace {

std::string framed(const std::string& payload) {
  std::string out;
  appendFrame(out, payload);
  return out;
}

void feed(VantorFrameSplitter& splitter, const std::string& bytes) {
  splitter.feed(bytes.data(), static_cast<int>(bytes.size()));
}

// Every whole payload at hand, in order.
std::vector<std::string> payloads(VantorFrameSplitter& splitter) {
  std::vector<std::string> out;
  const char* payload = nullptr;
  int length = 0;
  while (splitter.next(&payload, &length) == VantorFrameSplitter::kFrame) {
    out.emplace_back(payload, static_cast<size_t>(length));
  }
  return out;
}

using Payloads = std::vector<std::string>;

}  // namespace

TEST(FrameSplitter, AnEmptyFrameIsAFrameOfLengthZero) {
  VantorFrameSplitter splitter(100);
  feed(splitter, framed("") + framed("x"));
  EXPECT_EQ(payloads(splitter), (Payloads{"", "x"}));
  EXPECT_EQ(splitter.buffered(), 0);
}

TEST(FrameSplitter, SeveralFramesInOneFeedComeOutInOrder) {
  VantorFrameSplitter splitter(100);
  const std::string bob = std::string(1, '\x11') + "bob";
  feed(splitter, framed(bob) + framed("a") + framed(std::string(3, '\0')) + "\x05");
  EXPECT_EQ(payloads(splitter), (Payloads{bob, "a", std::string(3, '\0')}));
  EXPECT_TRUE(splitter.hasPartialFrame());
}

TEST(FrameSplitter, ATruncatedFrameNeedsMoreUntilItIsCompleted) {
  VantorFrameSplitter splitter(100);
  const std::string frame = framed("hello");
  feed(splitter, frame.substr(0, 4));
  const char* payload = nullptr;
  int length = -1;
  EXPECT_EQ(splitter.next(&payload, &length), VantorFrameSplitter::kNeedMore);
  EXPECT_EQ(splitter.buffered(), 4);
  feed(splitter, frame.substr(4));
  EXPECT_EQ(payloads(splitter), Payloads{"hello"});
  EXPECT_FALSE(splitter.hasPartialFrame());
}

TEST(FrameSplitter, AFrameFedByteByByteComesOutOnceWhole) {
  VantorFrameSplitter splitter(300);
  const std::string payload(258, 'p');  // both length bytes in use
  const std::string frame = framed(payload);
  Payloads got;
  for (char byte : frame) {
    splitter.feed(&byte, 1);
    for (const std::string& p : payloads(splitter)) got.push_back(p);
  }
  EXPECT_EQ(got, Payloads{payload});
}

TEST(FrameSplitter, TheLimitItselfIsTakenAndOneByteMoreRefused) {
  VantorFrameSplitter splitter(1000);
  feed(splitter, framed(std::string(1000, 'a')));
  EXPECT_EQ(payloads(splitter), Payloads{std::string(1000, 'a')});
  feed(splitter, framed(std::string(1001, 'b')));
  const char* payload = nullptr;
  int length = 0;
  EXPECT_EQ(splitter.next(&payload, &length), VantorFrameSplitter::kTooLong);
  EXPECT_EQ(length, 1001);
}

TEST(FrameSplitter, AHugeAnnouncedLengthIsRefusedForGoodAndNothingOfItIsKept) {
  VantorFrameSplitter splitter(kMaxRequestPayload);
  feed(splitter, std::string("\xff\xff") + std::string(500, 'x'));
  const char* payload = nullptr;
  int length = 0;
  EXPECT_EQ(splitter.next(&payload, &length), VantorFrameSplitter::kTooLong);
  EXPECT_EQ(length, 65535);
  EXPECT_EQ(splitter.buffered(), 0);
  feed(splitter, framed("later"));
  EXPECT_EQ(splitter.buffered(), 0);
  length = 0;
  EXPECT_EQ(splitter.next(&payload, &length), VantorFrameSplitter::kTooLong);
  EXPECT_EQ(length, 65535);
  splitter.clear();
  feed(splitter, framed("fresh"));
  EXPECT_EQ(payloads(splitter), Payloads{"fresh"});
}

TEST(FrameSplitter, PayloadsStayValidUntilTheNextFeed) {
  VantorFrameSplitter splitter(100);
  feed(splitter, framed("first") + framed("second") + "\x03");
  const char* first = nullptr;
  const char* second = nullptr;
  int firstLength = 0;
  int secondLength = 0;
  ASSERT_EQ(splitter.next(&first, &firstLength), VantorFrameSplitter::kFrame);
  ASSERT_EQ(splitter.next(&second, &secondLength), VantorFrameSplitter::kFrame);
  const char* none = nullptr;
  int noLength = 0;
  EXPECT_EQ(splitter.next(&none, &noLength), VantorFrameSplitter::kNeedMore);
  EXPECT_EQ(std::string(first, firstLength), "first");
  EXPECT_EQ(std::string(second, secondLength), "second");
}

TEST(WireEncoding, IntegersAreLittleEndianAndRoundTripAtTheExtremes) {
  char bytes[4];
  encodeInt(bytes, 0x01020304);
  EXPECT_EQ(std::string(bytes, 4), "\x04\x03\x02\x01");
  encodeInt(bytes, -2);
  EXPECT_EQ(std::string(bytes, 4), "\xfe\xff\xff\xff");
  for (int32_t value : {0, 1, -1, 255, 256, -256, 65535, INT32_MAX, INT32_MIN, INT32_MIN + 1}) {
    encodeInt(bytes, value);
    EXPECT_EQ(decodeInt(bytes), value);
  }
}

TEST(WireEncoding, AFrameIsTheLengthLowByteFirstThenThePayload) {
  std::string out = "kept";
  appendFrame(out, std::string(300, 'z'));
  EXPECT_EQ(out, "kept\x2c\x01" + std::string(300, 'z'));
  out.clear();
  appendFrame(out, "", 0);
  EXPECT_EQ(out, std::string(2, '\0'));
  out.clear();
  appendFrame(out, std::string(kMaxFramePayload, 'm'));
  EXPECT_EQ(out.substr(0, 2), "\xff\xff");
  EXPECT_EQ(out.size(), 2u + kMaxFramePayload);
}
