// The wire format's pieces on their own: integers, the game list's size
// limit, the request reader and the framing stream. (The layout of every
// message is checked byte by byte by the protocol tests.)
#include <gtest/gtest.h>

#include <string>
#include <tuple>
#include <vector>

#include "ios/Exception.h"
#include "server/VantorEncodedOutputStream.h"
#include "server/VantorProtocol.h"
#include "server/VantorRequestReader.h"

namespace {

std::string bytes(std::initializer_list<int> values) {
  std::string out;
  for (int v : values) out.push_back(static_cast<char>(v));
  return out;
}

// Keeps everything written to it, one entry per write.
class RecordingStream : public IosOutputStream {
 public:
  void write(const char* buf, int n) override { writes.emplace_back(buf, static_cast<size_t>(n)); }
  std::vector<std::string> writes;
};

}  // namespace

TEST(IntegerEncoding, IsLittleEndianTwosComplement) {
  char out[4];
  encodeInt(out, 0x12345678);
  EXPECT_EQ(std::string(out, 4), bytes({0x78, 0x56, 0x34, 0x12}));
  encodeInt(out, -1);
  EXPECT_EQ(std::string(out, 4), bytes({0xFF, 0xFF, 0xFF, 0xFF}));
  EXPECT_EQ(decodeInt(bytes({0x80, 0, 0, 0}).data()), 128);
  EXPECT_EQ(decodeInt(bytes({0xFF, 0xFF, 0xFF, 0xFF}).data()), -1);
  EXPECT_EQ(decodeInt(bytes({0, 0, 0, 0x80}).data()), INT32_MIN);
  for (int32_t value : {0, 1, 255, 256, 65535, -2, INT32_MAX, INT32_MIN}) {
    encodeInt(out, value);
    EXPECT_EQ(decodeInt(out), value);
  }
}

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

TEST(EncodedOutputStream, FramesEachWriteWithItsLengthAndRefusesOneTheLengthCannotCarry) {
  RecordingStream sink;
  VantorEncodedOutputStream stream(&sink);
  const std::string small = bytes({0x11, 'a', 'b'});
  stream.write(small.data(), 3);
  const std::string big(300, 'z');
  stream.write(big.data(), 300);
  stream.write("", 0);
  EXPECT_EQ(sink.writes, (std::vector<std::string>{bytes({3, 0, 0x11, 'a', 'b'}),
                                                   bytes({0x2C, 0x01}) + big, bytes({0, 0})}));
  const std::string huge(kMaxFramePayload + 1, 'h');
  try {
    stream.write(huge.data(), static_cast<int>(huge.size()));
    ADD_FAILURE() << "nothing thrown";
  } catch (Exception* e) {
    EXPECT_STREQ(e->getMessage(), "VantorEncodedOutputStream: payload too long");
    delete e;
  }
  EXPECT_EQ(sink.writes.size(), 3u);
}
