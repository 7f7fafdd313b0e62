// The usual factory with the connection base: the hooks a connection hears,
// in their order, and what is in place when it hears them.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "ios/IosServerConnection.h"
#include "ios/IosServerStandardFactory.h"
#include "ios/TaggedSocket.h"
#include "tests/ios/TestSupport.h"

namespace {

std::vector<std::string> events;

// Writes down its construction, its hooks and its end; connected() also
// writes whether the object is already the socket's user data and has its
// streams.
class RecordingConnection : public IosServerConnection {
 public:
  RecordingConnection(Socket* s, void* /*server*/) : IosServerConnection(s), socket_(s) {
    events.push_back("constructed");
  }
  ~RecordingConnection() override { events.push_back("destroyed"); }

  void connected() override {
    const bool ready = socket_->getUserData() == static_cast<void*>(this) &&
                       getInput() == socket_->getInputStream() &&
                       getOutput() == socket_->getOutputStream() && getSocket() == socket_;
    events.push_back(ready ? "connected, recorded, with its streams" : "connected too soon");
  }
  void disconnected() override { events.push_back("disconnected"); }

 private:
  Socket* socket_;
};

}  // namespace

TEST(IosServerStandardFactory, CallsConnectedOnceTheConnectionIsBuiltAndRecorded) {
  int ends[2];
  ASSERT_TRUE(sockets::connectedPair(ends));
  IosServerStandardFactory<RecordingConnection> factory;
  TaggedSocket* socket = new TaggedSocket(ends[0]);  // the connection deletes it
  factory.newConnection(socket);
  EXPECT_EQ(events.size(), 2u);  // constructed and connected before the call returned
  factory.connectionClosed(socket);
  EXPECT_EQ(events,
            (std::vector<std::string>{"constructed", "connected, recorded, with its streams",
                                      "disconnected", "destroyed"}));
  sockets::close(ends[1]);
}
