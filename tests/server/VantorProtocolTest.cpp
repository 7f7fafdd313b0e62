// The wire format's pieces on their own: integers, message payloads, the
// request reader and the framing stream.
#include <gtest/gtest.h>

#include <mutex>
#include <string>
#include <thread>
#include <vector>

#include "game/VantorGame.h"
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
  void write(const char* buf, int n) override {
    std::lock_guard<std::mutex> guard(mutex);
    writes.emplace_back(buf, static_cast<size_t>(n));
  }
  std::mutex mutex;
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

TEST(ServerMessages, HaveTheirDocumentedLayouts) {
  EXPECT_EQ(buildPlayerList({"a", "bc"}), bytes({3, 'a', 0, 'b', 'c', 0}));
  EXPECT_EQ(buildAskGame(7, 1, false, "al"), bytes({4, 7, 0, 0, 0, 1, 0, 'a', 'l', 0}));
  EXPECT_EQ(buildAskGame(7, 0, true, "al"), bytes({4, 7, 0, 0, 0, 0, 1, 'a', 'l', 0}));
  EXPECT_EQ(buildChat(true, "x", "hi"), bytes({6, 1, 'x', 0, 'h', 'i', 0}));
  EXPECT_EQ(buildChat(false, "", ""), bytes({6, 0, 0, 0}));
  EXPECT_EQ(buildGameStarted(258), bytes({7, 2, 1, 0, 0}));
  EXPECT_EQ(buildPlayerListChanged(), bytes({9}));
  EXPECT_EQ(buildGameRefused("b"), bytes({10, 'b', 0}));
  EXPECT_EQ(buildInvalidMove(1, 0, 9), bytes({12, 1, 0, 0, 0, 0, 9}));
  EXPECT_EQ(buildMovePlayed(1, 5, 3), bytes({13, 1, 0, 0, 0, 5, 3}));
  EXPECT_EQ(buildYourTurn(-1), bytes({14, 0xFF, 0xFF, 0xFF, 0xFF}));
  EXPECT_EQ(buildMustPass(2, "p"), bytes({15, 2, 0, 0, 0, 'p', 0}));
  EXPECT_EQ(buildGameOver(2), bytes({16, 2, 0, 0, 0}));
  EXPECT_EQ(buildWhoAmI("me"), bytes({17, 'm', 'e', 0}));
  EXPECT_EQ(buildGameList({}), bytes({19}));
  EXPECT_EQ(buildGameList({{1, "b", "w"}, {3, "", "x"}}),
            bytes({19, 1, 0, 0, 0, 'b', 0, 'w', 0, 3, 0, 0, 0, 0, 'x', 0}));
  EXPECT_EQ(buildSpectateAccepted(4), bytes({21, 4, 0, 0, 0}));
  EXPECT_EQ(buildSpectateRefused(4), bytes({22, 4, 0, 0, 0}));
  EXPECT_EQ(buildGameListChanged(), bytes({23}));
  EXPECT_EQ(buildGameClosed(4), bytes({24, 4, 0, 0, 0}));
  EXPECT_EQ(buildPlayerInfo("n", ""), bytes({25, 'n', 0, 0}));
  EXPECT_EQ(buildVersionRequest(), bytes({26}));
}

TEST(ServerMessages, TheBoardListsCellsRowByRowWithXFastest) {
  VantorGame game;
  ASSERT_TRUE(game.play(5, 3));
  const std::string board = buildBoard(9, game);
  ASSERT_EQ(board.size(), 69u);
  EXPECT_EQ(board.substr(0, 5), bytes({8, 9, 0, 0, 0}));
  for (int y = 1; y <= 8; ++y) {
    for (int x = 1; x <= 8; ++x) {
      EXPECT_EQ(static_cast<signed char>(board[5 + (y - 1) * 8 + (x - 1)]), game.getCell(x, y))
          << x << "," << y;
    }
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

TEST(RequestReader, ReadsFieldsInOrderAfterTheCode) {
  const std::string payload = bytes({11, 0x2A, 0, 0, 0, 0xFF, 8, 'a', 0, 'b', 0});
  VantorRequestReader reader(payload.data(), static_cast<int>(payload.size()));
  int32_t id;
  int8_t x;
  uint8_t y;
  std::string first, second;
  ASSERT_TRUE(reader.readInt32(id));
  ASSERT_TRUE(reader.readInt8(x));
  ASSERT_TRUE(reader.readU8(y));
  ASSERT_TRUE(reader.readString(first));
  ASSERT_TRUE(reader.readString(second));
  EXPECT_EQ(id, 42);
  EXPECT_EQ(x, -1);
  EXPECT_EQ(y, 8);
  EXPECT_EQ(first, "a");
  EXPECT_EQ(second, "b");
  EXPECT_FALSE(reader.readU8(y));
  EXPECT_FALSE(reader.readString(first));
}

TEST(RequestReader, NeverReadsPastThePayload) {
  // The byte after the payload is a 0 that must not be taken for the end.
  const std::string buffer = bytes({1, 'a', 'b', 0});
  VantorRequestReader reader(buffer.data(), 3);
  std::string nick;
  EXPECT_FALSE(reader.readString(nick));

  const std::string cut = bytes({5, 1, 2, 3});
  VantorRequestReader shortInt(cut.data(), 4);
  int32_t id;
  EXPECT_FALSE(shortInt.readInt32(id));

  VantorRequestReader empty(nullptr, 0);
  int8_t x;
  EXPECT_FALSE(empty.readInt8(x));
}

TEST(EncodedOutputStream, FramesEachWriteWithItsLittleEndianLength) {
  RecordingStream sink;
  VantorEncodedOutputStream stream(&sink);
  stream.write(
      "\x11"
      "ab",
      3);
  const std::string big(300, 'z');
  stream.write(big.data(), 300);
  stream.write("", 0);
  ASSERT_EQ(sink.writes.size(), 3u);
  EXPECT_EQ(sink.writes[0], bytes({3, 0, 0x11, 'a', 'b'}));
  EXPECT_EQ(sink.writes[1], bytes({0x2C, 0x01}) + big);
  EXPECT_EQ(sink.writes[2], bytes({0, 0}));
}

TEST(EncodedOutputStream, RefusesAPayloadTheLengthCannotCarry) {
  RecordingStream sink;
  VantorEncodedOutputStream stream(&sink);
  const std::string huge(kMaxFramePayload + 1, 'h');
  try {
    stream.write(huge.data(), static_cast<int>(huge.size()));
    ADD_FAILURE() << "nothing thrown";
  } catch (Exception* e) {
    EXPECT_STREQ(e->getMessage(), "VantorEncodedOutputStream: payload too long");
    delete e;
  }
  EXPECT_TRUE(sink.writes.empty());
}
