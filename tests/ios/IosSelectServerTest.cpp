// The select server with a recording factory: accepting, dispatching data,
// ending connections, and stopping from another thread.
#include <gtest/gtest.h>

#include <atomic>
#include <cctype>
#include <memory>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

#include "ios/Exception.h"
#include "ios/IosListeningPort.h"
#include "ios/IosSelectServer.h"
#include "ios/IosServerConnection.h"
#include "ios/IosServerStandardFactory.h"
#include "ios/ServerSocket.h"
#include "ios/Socket.h"
#include "ios/TaggedSocket.h"
#include "tests/ios/TestSupport.h"

namespace {

// Writes down every event as "new", "data:<bytes seen pending>" or "closed",
// with the socket; reads what is pending and answers it back. A payload
// that contains '!' makes the handler throw.
class RecordingFactory : public IosServerFactory {
 public:
  void newConnection(TaggedSocket* s) override { record(s, "new"); }

  void dataAvailable(TaggedSocket* s) override {
    int pending = s->getInputStream()->available();
    std::string data(static_cast<size_t>(pending), '\0');
    s->getInputStream()->read(&data[0], pending);
    record(s, "data:" + data);
    if (data.find('!') != std::string::npos) throw new Exception("refused");
    s->write(data.data(), pending);
  }

  void connectionClosed(TaggedSocket* s) override {
    record(s, "closed");
    delete s;
  }

  std::vector<std::string> eventsOf(int connection) {
    std::lock_guard<std::mutex> guard(mutex_);
    std::vector<std::string> out;
    if (connection >= static_cast<int>(order_.size())) return out;
    for (auto& e : events_) {
      if (e.first == order_[connection]) out.push_back(e.second);
    }
    return out;
  }

  int count(const std::string& what) {
    std::lock_guard<std::mutex> guard(mutex_);
    int n = 0;
    for (auto& e : events_) n += e.second == what;
    return n;
  }

 private:
  void record(TaggedSocket* s, const std::string& what) {
    std::lock_guard<std::mutex> guard(mutex_);
    if (what == "new") order_.push_back(s);
    events_.emplace_back(s, what);
  }

  std::mutex mutex_;
  std::vector<TaggedSocket*> order_;
  std::vector<std::pair<TaggedSocket*, std::string>> events_;
};

// Runs a server on a free port on a thread of its own.
class RunningServer {
 public:
  explicit RunningServer(IosServerFactory* factory) : server_(true, 0, factory) {
    port_ = server_.getFirstPort();
    thread_ = std::thread([this] {
      try {
        server_.run();
      } catch (Exception* e) {
        failure_ = e->getMessage();
        delete e;
      }
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
  const std::string& failure() const { return failure_; }
  IosSelectServer& server() { return server_; }

 private:
  IosSelectServer server_;
  int port_;
  std::thread thread_;
  std::atomic<bool> returned_{false};
  std::string failure_;
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

TEST(IosSelectServer, ReturnsFromABlockedRunWhenStoppedAndClosesEachPortOnce) {
  RecordingFactory factory;
  testing::internal::CaptureStderr();
  {
    RunningServer running(&factory);
    running.server().addPort(true, 0, &factory);
    std::this_thread::sleep_for(std::chrono::milliseconds(50));
    EXPECT_FALSE(running.returned());
    running.stop();
    EXPECT_TRUE(running.returned());
    EXPECT_EQ(running.failure(), "");
  }
  EXPECT_EQ(testing::internal::GetCapturedStderr(), "Server Socket closed\nServer Socket closed\n");
}

TEST(IosSelectServer, StoppedBeforeRunReturnsAtOnce) {
  RecordingFactory factory;
  IosSelectServer server(true, 0, &factory);
  testing::internal::CaptureStderr();
  server.stop();
  server.run();
  EXPECT_EQ(testing::internal::GetCapturedStderr(), "Server Socket closed\n");
}

TEST(IosSelectServer, RefusesAPortItAlreadyListensOnAndKeepsTheFirstListener) {
  RecordingFactory factory;
  RunningServer running(&factory);
  EXPECT_EQ(thrownMessage([&] { running.server().addPort(true, running.port(), &factory); }),
            "Port already listening");
  Socket client("127.0.0.1", running.port());
  client.write("ping", 4);
  EXPECT_EQ(readSome(client, 4), "ping");
}

TEST(IosSelectServer, AConnectionClosedAtOnceIsNewThenClosedWithNoData) {
  RecordingFactory factory;
  RunningServer running(&factory);
  { Socket client("127.0.0.1", running.port()); }
  ASSERT_TRUE(eventually([&] { return factory.count("closed") == 1; }));
  std::vector<std::string> expected = {"new", "closed"};
  EXPECT_EQ(factory.eventsOf(0), expected);
}

TEST(IosSelectServer, TwoFramesInOneSegmentAreSeenByOneDataCall) {
  RecordingFactory factory;
  RunningServer running(&factory);
  Socket client("127.0.0.1", running.port());
  const std::string frames("\x02\x00hi\x03\x00you", 9);
  client.write(frames.data(), 9);
  EXPECT_EQ(readSome(client, 9), frames);
  std::vector<std::string> expected = {"new", "data:" + frames};
  EXPECT_EQ(factory.eventsOf(0), expected);
}

TEST(IosSelectServer, AThrowingHandlerEndsOnlyItsOwnConnection) {
  RecordingFactory factory;
  RunningServer running(&factory);
  Socket good("127.0.0.1", running.port());
  Socket bad("127.0.0.1", running.port());
  ASSERT_TRUE(eventually([&] { return factory.count("new") == 2; }));
  bad.write("!", 1);
  EXPECT_TRUE(endedByServer(bad));
  good.write("still", 5);
  EXPECT_EQ(readSome(good, 5), "still");
  std::vector<std::string> expected = {"new", "data:!", "closed"};
  EXPECT_EQ(factory.eventsOf(1), expected);
  EXPECT_EQ(running.failure(), "");
}

TEST(IosSelectServer, StoppingEndsTheConnectionsOfItsPorts) {
  RecordingFactory factory;
  RunningServer running(&factory);
  Socket client("127.0.0.1", running.port());
  ASSERT_TRUE(eventually([&] { return factory.count("new") == 1; }));
  testing::internal::CaptureStderr();
  running.stop();
  testing::internal::GetCapturedStderr();
  std::vector<std::string> expected = {"new", "closed"};
  EXPECT_EQ(factory.eventsOf(0), expected);
  EXPECT_TRUE(endedByServer(client));
}

namespace {

// Ends the given port of its server when a connection sends "drop".
class PortDroppingFactory : public RecordingFactory {
 public:
  void dataAvailable(TaggedSocket* s) override {
    if (s->getInputStream()->available() == 4) {
      char word[4];
      s->read(word, 4);
      if (std::string(word, 4) == "drop") server.load()->removePort(portToDrop.load());
      s->write("done", 4);
      return;
    }
    RecordingFactory::dataAvailable(s);
  }
  std::atomic<IosSelectServer*> server{nullptr};
  std::atomic<int> portToDrop{0};
};

int freePort() {
  ServerSocket probe(true, 0);
  return probe.getPort();
}

}  // namespace

TEST(IosSelectServer, RemovingAPortEndsItsConnectionsAndKeepsTheOthers) {
  PortDroppingFactory first;
  RecordingFactory second;
  testing::internal::CaptureStderr();
  RunningServer running(&first);
  const int secondPort = freePort();
  running.server().addPort(true, secondPort, &second);
  first.server = &running.server();
  first.portToDrop = secondPort;

  Socket a("127.0.0.1", running.port());
  Socket b("127.0.0.1", secondPort);
  ASSERT_TRUE(eventually([&] { return first.count("new") == 1 && second.count("new") == 1; }));
  a.write("drop", 4);
  EXPECT_EQ(readSome(a, 4), "done");
  EXPECT_TRUE(endedByServer(b));
  EXPECT_EQ(second.count("closed"), 1);
  EXPECT_EQ(running.server().findPort(secondPort), nullptr);
  EXPECT_EQ(thrownMessage([&] { Socket c("127.0.0.1", secondPort); }),
            "IosSocket: Socket connection failed");
  a.write("more", 4);
  EXPECT_EQ(readSome(a, 4), "done");
  running.stop();
  testing::internal::GetCapturedStderr();
}

namespace {

// A connection class for the standard factory: echoes in upper case.
std::atomic<int> hooksCalled{0};

class ShoutingConnection : public IosServerConnection {
 public:
  ShoutingConnection(Socket* s, void* server) : IosServerConnection(s) {
    EXPECT_EQ(server, nullptr);
  }
  void connected() override { hooksCalled += 1; }
  void dataAvailable() override {
    int n = getInput()->available();
    std::string data(static_cast<size_t>(n), '\0');
    getInput()->read(&data[0], n);
    for (char& c : data) c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
    getOutput()->write(data.data(), n);
  }
  void disconnected() override { hooksCalled += 100; }
};

}  // namespace

TEST(IosServerStandardFactory, PassesEachEventToTheConnectionsHooks) {
  hooksCalled = 0;
  IosServerStandardFactory<ShoutingConnection> factory;
  RunningServer running(&factory);
  {
    Socket client("127.0.0.1", running.port());
    client.write("abc", 3);
    EXPECT_EQ(readSome(client, 3), "ABC");
  }
  ASSERT_TRUE(eventually([&] { return hooksCalled == 101; }));
}
