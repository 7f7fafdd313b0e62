// The select server with a counting factory: ports, a connection that fails
// its welcome or its handler, and stopping from another thread. The server's
// protocol tests serve it end to end: frames in pieces, a handler that
// throws (a frame too long), deadlines (a frame left incomplete), and what
// other threads queue (the computer players' moves).
#include <gtest/gtest.h>

#include <atomic>
#include <functional>
#include <string>
#include <thread>

#include "ios/Exception.h"
#include "ios/IosSelectServer.h"
#include "ios/IosServerFactory.h"
#include "ios/Socket.h"
#include "ios/TaggedSocket.h"
#include "tests/ios/TestSupport.h"

namespace {

// Counts the connections it makes and ends, and answers what is pending by
// echoing it through the connection's output queue. A payload that contains
// '!' makes the handler throw; with throwOnNew the next new connection's
// handler throws.
class CountingFactory : public IosServerFactory {
 public:
  void newConnection(TaggedSocket*) override {
    ++made;
    if (throwOnNew.exchange(false)) throw new Exception("no room");
  }
  void dataAvailable(TaggedSocket* s) override {
    const int pending = s->getInputStream()->available();
    std::string data(static_cast<size_t>(pending), '\0');
    s->getInputStream()->read(&data[0], pending);
    if (data.find('!') != std::string::npos) throw new Exception("refused");
    s->getOutputStream()->write(data.data(), pending);
  }
  void connectionClosed(TaggedSocket* s) override {
    ++ended;
    delete s;
  }

  std::atomic<int> made{0};
  std::atomic<int> ended{0};
  std::atomic<bool> throwOnNew{false};
};

// Runs a server on a free port on a thread of its own, after setUp has
// prepared it on the test's thread. An exception out of run() ends the
// test program.
class RunningServer {
 public:
  explicit RunningServer(IosServerFactory* factory,
                         const std::function<void(IosSelectServer&)>& setUp = nullptr)
      : server_(true, 0, factory), port_(server_.getFirstPort()) {
    if (setUp) setUp(server_);
    thread_ = std::thread([this] {
      server_.run();
      returned_ = true;
    });
  }
  ~RunningServer() { stop(); }

  void stop() {
    if (!thread_.joinable()) return;
    server_.stop();
    thread_.join();
  }

  int port() const { return port_; }
  bool returned() const { return returned_; }

 private:
  IosSelectServer server_;
  const int port_;
  std::thread thread_;
  std::atomic<bool> returned_{false};
};

// Sends text and reads back as many bytes.
std::string echoed(Socket& s, const std::string& text) {
  s.write(text.data(), static_cast<int>(text.size()));
  std::string out(text.size(), '\0');
  s.read(&out[0], static_cast<int>(out.size()));
  return out;
}

// Whether the server ended the connection: the client sees the end of the stream.
bool endedByServer(Socket& s) {
  return eventually([&] { return s.streamReadyToRead(); }) && s.getInputStream()->available() == 0;
}

}  // namespace

TEST(IosSelectServer, RefusesAPortTwiceAndStopReturnsABlockedRunAndClosesEachPortOnce) {
  CountingFactory factory;
  std::string refusal;
  testing::internal::CaptureStderr();
  {
    RunningServer running(&factory, [&](IosSelectServer& s) {
      s.addPort(true, 0, &factory);
      refusal = thrownMessage([&] { s.addPort(true, s.getFirstPort(), &factory); });
    });
    EXPECT_EQ(refusal, "Port already listening");
    Socket client("127.0.0.1", running.port());
    EXPECT_TRUE(eventually([&] { return factory.made == 1; }));
    EXPECT_FALSE(running.returned());
    running.stop();
    EXPECT_TRUE(running.returned());
    EXPECT_EQ(factory.ended, 1);
    EXPECT_TRUE(endedByServer(client));
  }
  {
    IosSelectServer stoppedFirst(true, 0, &factory);
    stoppedFirst.stop();
    stoppedFirst.run();  // returns at once
  }
  EXPECT_EQ(testing::internal::GetCapturedStderr(),
            "Server Socket closed\nServer Socket closed\nServer Socket closed\n");
}

// The factory never hears of the connection whose welcome failed.
TEST(IosSelectServer, AFailedWelcomeOrAThrowingHandlerEndsOnlyItsOwnConnection) {
  CountingFactory factory;
  RunningServer running(&factory);
  testing::internal::CaptureStderr();
  factory.throwOnNew = true;
  Socket refused("127.0.0.1", running.port());
  EXPECT_TRUE(endedByServer(refused));
  EXPECT_EQ(testing::internal::GetCapturedStderr(), "Exception thrown: no room\n");
  Socket good("127.0.0.1", running.port());
  Socket bad("127.0.0.1", running.port());
  bad.write("!", 1);
  EXPECT_TRUE(endedByServer(bad));
  EXPECT_EQ(echoed(good, "still"), "still");
  EXPECT_EQ(factory.ended, 1);
}
