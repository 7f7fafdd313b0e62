// Request frames, byte for byte, as a client without a connection writes them.
#include <gtest/gtest.h>

#include <functional>
#include <string>

#include "client/VantorClient.h"
#include "tests/client/ClientTestSupport.h"

TEST(ClientRequests, EachIsOneWriteOfOneFrameWithItsExactLayout) {
  RecordingStream sent;
  VantorClient client(&sent);
  VantorGameOptions blackWithoutSpectators;
  blackWithoutSpectators.setColourChoice(1);
  blackWithoutSpectators.setSpectatorsAllowed(false);
  VantorClientGame game(7);
  const struct {
    std::function<void()> request;
    Msg expected;
  } cases[] = {
      {[&] { client.setNick("Ann"); }, Msg(1).str("Ann")},
      {[&] { client.setNick(nullptr); }, Msg(1).str("")},
      {[&] { client.getPlayerList(); }, Msg(3)},
      {[&] { client.askGame("Pee[Bot]", blackWithoutSpectators); },
       Msg(4).i8(1).i8(0).str("Pee[Bot]")},
      {[&] { client.askGame("Bob", VantorGameOptions()); }, Msg(4).i8(0).i8(1).str("Bob")},
      {[&] { client.acceptGame(258); }, Msg(5).i32(258)},
      {[&] { client.sendMessage("hello", "Bob"); }, Msg(6).str("Bob").str("hello")},
      {[&] { client.getBoard(&game); }, Msg(8).i32(7)},
      {[&] { client.refuseGame(-1); }, Msg(10).i32(-1)},
      {[&] { client.playMove(3, 4, 6); }, Msg(11).i32(3).i8(4).i8(6)},
      {[&] { client.whoAmI(); }, Msg(17)},
      {[&] { client.getGameList(); }, Msg(19)},
      {[&] { client.spectate(2); }, Msg(20).i32(2)},
      {[&] { client.abortGame(2); }, Msg(24).i32(2)},
      {[&] { client.getPlayerInfo("Pee[Bot]"); }, Msg(25).str("Pee[Bot]")},
      {[&] { client.sendVersion(); }, Msg(26).i8(2).i8(0)},
      {[&] { client.setNick(std::string(200, 'n').c_str()); }, Msg(1).str(std::string(200, 'n'))},
  };
  for (const auto& c : cases) {
    sent.frames.clear();
    sent.writeSizes.clear();
    c.request();
    EXPECT_EQ(sent.frames, std::vector<std::string>{c.expected.payload()}) << &c - cases;
    EXPECT_EQ(sent.writeSizes, std::vector<int>{static_cast<int>(c.expected.frame().size())});
  }
  sent.frames.clear();
  client.getBoard(nullptr);
  EXPECT_TRUE(sent.frames.empty());
}

TEST(ClientRequests, LongTextsAreCutToTheirLimits) {
  RecordingStream sent;
  VantorClient client(&sent);
  const std::string huge(70000, 'x');
  const std::string part = huge.substr(0, 21845);
  client.setNick(huge.c_str());
  client.getPlayerInfo(huge.c_str());
  client.askGame(huge.c_str(), VantorGameOptions());
  client.sendMessage(huge.c_str(), huge.c_str());
  ASSERT_EQ(sent.frames.size(), 4u);
  EXPECT_EQ(sent.frames[0], Msg(1).str(huge.substr(0, 65531)).payload());
  EXPECT_EQ(sent.frames[1], Msg(25).str(huge.substr(0, 65531)).payload());
  EXPECT_EQ(sent.frames[2], Msg(4).i8(0).i8(1).str(huge.substr(0, 65529)).payload());
  EXPECT_EQ(sent.frames[3], Msg(6).str(part).str(part).payload());
}

TEST(ClientRequests, WithoutAStreamAreDropped) {
  VantorClient client(static_cast<IosOutputStream*>(nullptr));
  client.setNick("Ann");
  client.playMove(0, 1, 1);
  EXPECT_FALSE(client.isConnected());
}
