// The select server with a recording factory: ports, a connection that fails
// its welcome or its handler, and stopping from another thread. The server's
// protocol tests serve it end to end: frames in pieces, a handler that
// throws (a frame too long), deadlines (a frame left incomplete), and what
// other threads queue (the computer players' moves).
#include <gtest/gtest.h>

#include <atomic>
#include <functional>
#include <map>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

#include "ios/Exception.h"
#include "ios/IosListeningPort.h"
#include "ios/IosSelectServer.h"
#include "ios/IosServerFactory.h"
#include "ios/Socket.h"
#include "ios/TaggedSocket.h"
#include "tests/ios/TestSupport.h"

namespace {

// Writes down every event as "new", "data:<bytes seen pending>" or
// "closed", per connection; reads what is pending and answers it back through
// the connection's output queue. A payload that contains '!' makes the
// handler throw; "drop" removes portToDrop. With throwOnNew the next new
// connection's handler throws.
class RecordingFactory : public IosServerFactory {
 public:
  void newConnection(TaggedSocket* s) override {
    record(s, "new");
    if (throwOnNew.exchange(false)) throw new Exception("no room");
  }

  void dataAvailable(TaggedSocket* s) override {
    int pending = s->getInputStream()->available();
    std::string data(static_cast<size_t>(pending), '\0');
    s->getInputStream()->read(&data[0], pending);
    record(s, "data:" + data);
    if (data.find('!') != std::string::npos) throw new Exception("refused");
    if (data == "drop") server->removePort(portToDrop);
    s->getOutputStream()->write(data.data(), pending);
  }

  void connectionClosed(TaggedSocket* s) override {
    record(s, "closed");
    delete s;
  }

  // Events of the connection accepted n-th, counting from 0.
  std::vector<std::string> eventsOf(int connection) {
    std::lock_guard<std::mutex> guard(mutex_);
    return connection < accepted_ ? events_[connection] : std::vector<std::string>();
  }
  int accepted() {
    std::lock_guard<std::mutex> guard(mutex_);
    return accepted_;
  }

  // Set before run() starts; used on the server thread only.
  IosSelectServer* server = nullptr;
  int portToDrop = 0;
  std::atomic<bool> throwOnNew{false};

 private:
  void record(TaggedSocket* s, const std::string& what) {
    std::lock_guard<std::mutex> guard(mutex_);
    // A socket's address may be reused by a later connection.
    if (what == "new") numbers_[s] = accepted_++;
    events_.resize(accepted_);
    events_[numbers_[s]].push_back(what);
  }

  std::mutex mutex_;
  std::map<TaggedSocket*, int> numbers_;
  int accepted_ = 0;
  std::vector<std::vector<std::string>> events_;
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

std::string readSome(Socket& s, int n) {
  std::string out(static_cast<size_t>(n), '\0');
  s.read(&out[0], n);
  return out;
}

// Whether the server ended the connection: the client sees the end of the stream.
bool endedByServer(Socket& s) {
  return eventually([&] { return s.streamReadyToRead(); }) && s.getInputStream()->available() == 0;
}

}  // namespace

TEST(IosSelectServer, RefusesAPortTwiceAndStopReturnsABlockedRunAndClosesEachPortOnce) {
  RecordingFactory factory;
  std::string refusal;
  testing::internal::CaptureStderr();
  {
    RunningServer running(&factory, [&](IosSelectServer& s) {
      s.addPort(true, 0, &factory);
      refusal = thrownMessage([&] { s.addPort(true, s.getFirstPort(), &factory); });
    });
    EXPECT_EQ(refusal, "Port already listening");
    Socket client("127.0.0.1", running.port());
    EXPECT_TRUE(eventually([&] { return factory.accepted() == 1; }));
    EXPECT_FALSE(running.returned());
    running.stop();
    EXPECT_TRUE(running.returned());
    EXPECT_EQ(factory.eventsOf(0), (std::vector<std::string>{"new", "closed"}));
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

TEST(IosSelectServer, RemovingAPortEndsItsConnectionsAndKeepsTheOthers) {
  RecordingFactory first, second;
  testing::internal::CaptureStderr();
  int secondPort = 0;
  RunningServer running(&first, [&](IosSelectServer& s) {
    s.addPort(true, 0, &second);
    secondPort = s.lastPort()->getPort();
    first.server = &s;
    first.portToDrop = secondPort;
  });
  Socket a("127.0.0.1", running.port());
  Socket b("127.0.0.1", secondPort);
  ASSERT_TRUE(eventually([&] { return first.accepted() == 1 && second.accepted() == 1; }));
  a.write("drop", 4);
  EXPECT_EQ(readSome(a, 4), "drop");
  EXPECT_TRUE(endedByServer(b));
  EXPECT_EQ(second.eventsOf(0), (std::vector<std::string>{"new", "closed"}));
  EXPECT_EQ(thrownMessage([&] { Socket c("127.0.0.1", secondPort); }),
            "IosSocket: Socket connection failed");
  a.write("more", 4);
  EXPECT_EQ(readSome(a, 4), "more");
  running.stop();
  testing::internal::GetCapturedStderr();
}

TEST(IosSelectServer, AFailedWelcomeOrAThrowingHandlerEndsOnlyItsOwnConnection) {
  RecordingFactory factory;
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
  good.write("still", 5);
  EXPECT_EQ(readSome(good, 5), "still");
  EXPECT_EQ(factory.eventsOf(1), (std::vector<std::string>{"new", "data:still"}));
  EXPECT_EQ(factory.eventsOf(2), (std::vector<std::string>{"new", "data:!", "closed"}));
}
