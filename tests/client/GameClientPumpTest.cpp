// The pump of vgl::GameClient against a scripted server: the opening
// requests, frames that arrive together, in pieces or long, the redirect,
// what reaches the listener in which order, and a lost connection.
#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "client/GameClient.h"
#include "tests/client/ClientTestSupport.h"

namespace {

using Calls = std::vector<std::string>;

// Opens a connection as colour 1 and checks the opening requests.
class GameClientPump : public ::testing::Test {
 protected:
  void SetUp() override {
    client_.reset(new vgl::GameClient(1, &listener_, new Socket("127.0.0.1", server_.port())));
    server_.accept();
    expectOpening(server_);
  }

  static void expectOpening(ScriptedServer& server) {
    for (const Msg& request : {Msg(26).i8(2).i8(0), Msg(17), Msg(3), Msg(19)}) {
      EXPECT_EQ(server.readFrame(), request.payload());
    }
  }
  template <typename Done>
  bool pump(Done done) {
    return pumpUntil([&] { client_->update(); }, done);
  }
  // Sends the message and pumps until the listener has heard n calls in all.
  void deliver(const Msg& m, size_t n) {
    server_.send(m);
    ASSERT_TRUE(pump([&] { return listener_.calls.size() >= n; })) << int(m.payload()[0]);
  }
  void pumpAFewTimes() {
    for (int i = 0; i < 5; ++i) {
      sleepMs(10);
      client_->update();
    }
  }
  // Pumps until the client has sent a request and returns it.
  std::string pumpForRequest() {
    pump([&] { return !server_.silentFor(0); });
    return server_.readFrame();
  }

  ScriptedServer server_;
  RecordingListener listener_;
  std::unique_ptr<vgl::GameClient> client_;
};

}  // namespace

// Also shows that the pump returns while a frame is incomplete: the rest is
// sent only after it has. The connection is ready once it has its name and
// a player list that is not empty, whichever comes first (the other order
// is in the lost connection's test), and says so once.
TEST_F(GameClientPump, FramesSplitOrUpToTheLargestAreReadWholeEmptyOnesSkippedReadyToldOnce) {
  const std::string largest(65533, 'q');
  const std::string stream = Msg(19).i32(4).str("Alice").str("Bob").frame() + std::string(2, '\0') +
                             Msg(17).str("\xE9t\xE9").frame() + Msg(3).frame() +
                             Msg(3).str(largest).frame();
  server_.send(stream.substr(0, 1));
  pumpAFewTimes();
  server_.send(stream.substr(1, 6));
  pumpAFewTimes();
  EXPECT_TRUE(listener_.calls.empty());
  server_.send(stream.substr(7));
  ASSERT_TRUE(pump([&] { return listener_.calls.size() >= 4; }));
  EXPECT_EQ(listener_.calls, (Calls{"gameListChanged(1)", "playerListChanged(1)",
                                    "playerListChanged(1)", "clientReady(1)"}));
  EXPECT_EQ(client_->getNick(), std::wstring(L"\u00e9t\u00e9"));
  EXPECT_TRUE(client_->isPlaying("Bob"));
  EXPECT_EQ(client_->getPlayerNames(), std::vector<std::string>{largest});
  deliver(Msg(3).str("Me"), 5);
  server_.send(Msg(17).str("Again"));
  ASSERT_TRUE(pump([&] { return client_->getNick() == L"Again"; }));
  EXPECT_EQ(listener_.count("clientReady(1)"), 1);
  EXPECT_TRUE(client_->isReady());
}

// Connecting in the background, as after a redirect, also opens the first
// connection of a client made with a host and port.
TEST_F(GameClientPump, RedirectReconnectsToTheNamedAddressAndPortOpensAgainAndRenames) {
  client_->setNick("Chosen");
  EXPECT_EQ(server_.readFrame(), Msg(1).str("Chosen").payload());
  ScriptedServer second;
  const int port = second.port();
  // What the first server sends after the redirect is no longer read.
  server_.send(Msg(27).i8(127).i8(0).i8(0).i8(1).i8(port & 0xFF).i8(port >> 8).frame() +
               Msg(3).str("Old").frame());
  ASSERT_TRUE(pump([&] { return client_->isConnecting(); }));
  EXPECT_TRUE(server_.closedByPeer());
  second.accept();
  ASSERT_TRUE(pump([&] { return !second.silentFor(0); }));
  EXPECT_FALSE(client_->isConnecting());
  expectOpening(second);
  EXPECT_EQ(second.readFrame(), Msg(1).str("Chosen").payload()) << "named as the user chose";
  second.send(Msg(3).str("New"));
  ASSERT_TRUE(pump([&] { return !listener_.calls.empty(); }));
  EXPECT_EQ(client_->getPlayerNames(), std::vector<std::string>{"New"});
  EXPECT_TRUE(client_->isConnected());
}

// Texts reach the listener cut to their fields: names to 255 bytes, a
// refused nick's reason to 1023, the nick itself to 1022.
TEST_F(GameClientPump, FramesInOneSegmentAreParsedInOnePumpAndReachTheListenerInOrder) {
  const std::string n(1100, 'n'), name = n.substr(0, 255);
  server_.send(Msg(7).i32(0));
  EXPECT_EQ(pumpForRequest(), Msg(8).i32(0).payload());
  server_.send(Msg(8).i32(0).raw(initialCells()).frame() + Msg(13).i32(0).i8(3).i8(5).frame() +
               Msg(12).i32(0).i8(1).i8(1).frame() + Msg(15).i32(0).str("Player8").frame() +
               Msg(16).i32(0).frame() + Msg(19).i32(0).str("Pee[Bot]").str("Player8").frame() +
               Msg(4).i32(6).i8(1).i8(1).str(n).frame() + Msg(10).str(n).frame() +
               Msg(18).str(n).frame() + Msg(6).i8(0).str("Bob").str("100%s").frame() +
               Msg(6).i8(1).str("Cid").str("hi").frame() + Msg(17).str(n).frame());
  // The first pump that delivers anything delivers them all.
  ASSERT_TRUE(pump([&] { return !listener_.calls.empty(); }));
  EXPECT_EQ(listener_.calls,
            (Calls{"gameStarted(1)", "gameChanged(1)", "moveRejected(1)", "playerPassed(1)",
                   "gameEnded(1)", "gameListChanged(1)", "gameProposed(1):" + name + ",6,1",
                   "gameRefused(1):" + name, "nickRefused(1):" + n.substr(0, 1023),
                   "messageReceived(1):Bob,100%s,0", "messageReceived(1):Cid,hi,1"}));
  EXPECT_EQ(client_->getNick(), std::wstring(1022, L'n'));
  EXPECT_EQ(listener_.games.at(0)->getCell(4, 5), kBlack);
  EXPECT_EQ(listener_.games.at(0)->getTurn(), kBlack);
  ASSERT_EQ(client_->getGameList().size(), 1u);
  EXPECT_EQ(client_->getGameList()[0].gameId, 0);
  EXPECT_TRUE(client_->isPlaying("Player8"));
  EXPECT_FALSE(client_->isPlaying("Chicken[Bot]"));

  deliver(Msg(24).i32(0), 12);
  EXPECT_EQ(listener_.calls.back(), "gameAbandoned(1)");
  EXPECT_EQ(server_.readFrame(), Msg(19).payload());
  server_.send(Msg(24).i32(77));  // an unknown game: only the list is asked for
  EXPECT_EQ(pumpForRequest(), Msg(19).payload());
  EXPECT_EQ(listener_.calls.size(), 12u);
  deliver(Msg(19), 13);
  EXPECT_FALSE(client_->isPlaying("Pee[Bot]"));
}

TEST_F(GameClientPump, InviteAndPlayAtTranslateForTheServer) {
  client_->invite("Pee[Bot]", -1);
  EXPECT_EQ(server_.readFrame(), Msg(4).i8(0).i8(1).str("Pee[Bot]").payload());
  client_->invite("Pee[Bot]", 1);
  EXPECT_EQ(server_.readFrame(), Msg(4).i8(1).i8(1).str("Pee[Bot]").payload());
  client_->playAt(5, 2, 7);
  EXPECT_EQ(server_.readFrame(), Msg(11).i32(5).i8(8).i8(3).payload());
}

TEST_F(GameClientPump, LostConnectionIsReportedOnceAndThePumpFallsSilent) {
  server_.send(Msg(3).str("A").frame() + Msg(17).str("A").frame());
  server_.closeConnection();
  testing::internal::CaptureStderr();
  pump([&] { return client_->isLost(); });
  client_->acceptGame(1);
  for (int i = 0; i < 5; ++i) client_->update();
  const std::string err = testing::internal::GetCapturedStderr();
  EXPECT_EQ(listener_.calls,
            (Calls{"playerListChanged(1)", "clientReady(1)", "connectionLost(1)"}));
  // One line, and no crash message: a lost connection is no crash.
  EXPECT_EQ(err, "GameClient: connection lost: IosSocket: Socket disconnected\n");
  EXPECT_FALSE(client_->isConnected());
}

TEST_F(GameClientPump, RequestsOnAClosedConnectionNeverThrowAndTheListenerMayDestroyIt) {
  server_.closeConnection();
  listener_.onConnectionLost = [&] { client_.reset(); };
  testing::internal::CaptureStderr();
  for (int i = 0; i < 20; ++i) client_->playMove(0, 3, 5);
  pump([&] { return client_ == nullptr; });
  const std::string err = testing::internal::GetCapturedStderr();
  EXPECT_EQ(client_, nullptr);
  EXPECT_EQ(listener_.calls, Calls{"connectionLost(1)"});
  EXPECT_EQ(err.find("Unexpected error"), std::string::npos) << err;
  const size_t first = err.find("GameClient: connection lost: ");
  ASSERT_NE(first, std::string::npos) << err;
  EXPECT_EQ(err.find("GameClient", first + 1), std::string::npos) << err;
}

TEST(GameClientConnect, AServerNotReachedIsAFailedConnectionInOneLine) {
  RecordingListener listener;
  vgl::GameClient client(0, &listener, "127.0.0.1", ScriptedServer::unusedPort());
  testing::internal::CaptureStderr();
  pumpUntil([&] { client.update(); }, [&] { return client.isLost(); });
  for (int i = 0; i < 3; ++i) client.update();
  EXPECT_EQ(testing::internal::GetCapturedStderr(),
            "GameClient: cannot connect: IosSocket: Socket connection failed\n");
  EXPECT_EQ(listener.calls, Calls{"connectionFailed(0)"});
  EXPECT_FALSE(client.isConnecting());
}
