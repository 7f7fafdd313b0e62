// Request frames, byte for byte, as a client without a connection writes them.
#include <gtest/gtest.h>

#include <string>

#include "client/VantorClient.h"
#include "tests/client/ClientTestSupport.h"

namespace {

class ClientRequests : public ::testing::Test {
 protected:
  // The one frame written since the last call, payload only.
  std::string sentPayload() {
    EXPECT_EQ(sent_.frames.size(), 1u);
    std::string payload = sent_.frames.empty() ? std::string() : sent_.frames.back();
    sent_.frames.clear();
    return payload;
  }

  RecordingStream sent_;
  VantorClient client_{&sent_};
};

}  // namespace

TEST_F(ClientRequests, EachRequestHasItsLayout) {
  client_.setNick("Ann");
  EXPECT_EQ(sentPayload(), Msg(1).str("Ann").payload());
  client_.getPlayerList();
  EXPECT_EQ(sentPayload(), Msg(3).payload());
  VantorGameOptions options;
  options.setColourChoice(1);
  options.setSpectatorsAllowed(false);
  client_.askGame("Pee[Bot]", options);
  EXPECT_EQ(sentPayload(), Msg(4).i8(1).i8(0).str("Pee[Bot]").payload());
  client_.askGame("Bob", VantorGameOptions());
  EXPECT_EQ(sentPayload(), Msg(4).i8(0).i8(1).str("Bob").payload());
  client_.acceptGame(258);
  EXPECT_EQ(sentPayload(), Msg(5).i32(258).payload());
  client_.sendMessage("hello", "Bob");
  EXPECT_EQ(sentPayload(), Msg(6).str("Bob").str("hello").payload());
  VantorClientGame game(7);
  client_.getBoard(&game);
  EXPECT_EQ(sentPayload(), Msg(8).i32(7).payload());
  client_.refuseGame(-1);
  EXPECT_EQ(sentPayload(), Msg(10).i32(-1).payload());
  client_.playMove(3, 4, 6);
  EXPECT_EQ(sentPayload(), Msg(11).i32(3).i8(4).i8(6).payload());
  client_.whoAmI();
  EXPECT_EQ(sentPayload(), Msg(17).payload());
  client_.getGameList();
  EXPECT_EQ(sentPayload(), Msg(19).payload());
  client_.spectate(2);
  EXPECT_EQ(sentPayload(), Msg(20).i32(2).payload());
  client_.abortGame(2);
  EXPECT_EQ(sentPayload(), Msg(24).i32(2).payload());
  client_.getPlayerInfo("Pee[Bot]");
  EXPECT_EQ(sentPayload(), Msg(25).str("Pee[Bot]").payload());
  client_.sendVersion();
  EXPECT_EQ(sentPayload(), Msg(26).i8(2).i8(0).payload());
}

TEST_F(ClientRequests, EachFrameIsOneWriteWithLowLengthByteFirst) {
  std::string nick(200, 'n');
  client_.setNick(nick.c_str());
  ASSERT_EQ(sent_.writeSizes.size(), 1u);
  EXPECT_EQ(sent_.writeSizes[0], 204);
  EXPECT_EQ(sent_.frames[0].size(), 202u);
}

TEST_F(ClientRequests, LongTextsAreCutToTheirLimits) {
  std::string huge(70000, 'x');
  client_.setNick(huge.c_str());
  EXPECT_EQ(sentPayload(), Msg(1).str(huge.substr(0, 65531)).payload());
  client_.getPlayerInfo(huge.c_str());
  EXPECT_EQ(sentPayload().size(), 65533u);
  client_.askGame(huge.c_str(), VantorGameOptions());
  EXPECT_EQ(sentPayload(), Msg(4).i8(0).i8(1).str(huge.substr(0, 65529)).payload());
  client_.sendMessage(huge.c_str(), huge.c_str());
  std::string part = huge.substr(0, 21845);
  EXPECT_EQ(sentPayload(), Msg(6).str(part).str(part).payload());
  for (int size : sent_.writeSizes) EXPECT_LE(size, 65535);
}

TEST_F(ClientRequests, NullTextsAreSentEmpty) {
  client_.setNick(nullptr);
  EXPECT_EQ(sentPayload(), Msg(1).str("").payload());
  client_.getBoard(nullptr);
  EXPECT_TRUE(sent_.frames.empty());
}

TEST(ClientRequestsWithoutSink, AreDropped) {
  VantorClient client(nullptr);
  client.setNick("Ann");
  client.playMove(0, 1, 1);
  EXPECT_FALSE(client.isConnected());
}
