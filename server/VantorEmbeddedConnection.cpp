#include "server/VantorEmbeddedConnection.h"

#include <algorithm>
#include <cstdio>

#include "ios/Exception.h"
#include "ios/Platform.h"
#include "ios/Socket.h"
#include "server/VantorEncodedOutputStream.h"

namespace {

constexpr int kWaitingForHeader = 0;
constexpr int kReadingPayload = 1;

}  // namespace

VantorEmbeddedConnection::VantorEmbeddedConnection(Socket* client, VantorServer* server)
    : IosServerConnection(client),
      VantorClientPlayer(server),
      messageTarget_(this),
      encodedOutput_(new VantorEncodedOutputStream(getOutput())),
      readerState_(kWaitingForHeader),
      header_(),
      headerReceived_(0),
      buffer_(),
      writePosition_(buffer_),
      expectedLength_(0),
      receivedLength_(0),
      headerTime_(0) {
  setOutputStream(encodedOutput_);
  sendVersionRequest();
}

VantorEmbeddedConnection::~VantorEmbeddedConnection() {
  leave();
  delete encodedOutput_;
}

void VantorEmbeddedConnection::disconnected() {
  leave();
}

void VantorEmbeddedConnection::outputFailed() {
  // Wakes the server thread for this socket, which then closes it.
  if (getSocket() != nullptr) getSocket()->shutdown();
}

void VantorEmbeddedConnection::dataAvailable() {
  if (outputBroken()) throw new Exception("VantorEmbeddedConnection: client not reading");
  IosInputStream* input = getInput();
  int pending = input->available();
  const uint32_t now = platform::tickCount();

  if (readerState_ == kWaitingForHeader) {
    // The two length bytes may come in separate segments.
    if (headerReceived_ == 0) headerTime_ = now;
    const int n = std::min(pending, 2 - headerReceived_);
    input->read(header_ + headerReceived_, n);
    headerReceived_ += n;
    pending -= n;
    if (headerReceived_ < 2) {
      if (now - headerTime_ > static_cast<uint32_t>(kStallMilliseconds)) {
        std::fprintf(stderr, "Connection closed: frame header incomplete after 5 seconds\n");
        throw new Exception("VantorEmbeddedConnection: stalled frame");
      }
      return;
    }
    headerReceived_ = 0;
    expectedLength_ = static_cast<uint8_t>(header_[0]) | static_cast<uint8_t>(header_[1]) << 8;
    if (expectedLength_ > kMaxRequestPayload) {
      std::fprintf(stderr, "Connection closed: frame of %d bytes, more than %d\n", expectedLength_,
                   kMaxRequestPayload);
      throw new Exception("VantorEmbeddedConnection: frame too long");
    }
    writePosition_ = buffer_;
    receivedLength_ = 0;
    readerState_ = kReadingPayload;
  }

  const int n = std::min(pending, expectedLength_ - receivedLength_);
  input->read(writePosition_, n);
  writePosition_ += n;
  receivedLength_ += n;
  if (receivedLength_ < expectedLength_) {
    if (now - headerTime_ > static_cast<uint32_t>(kStallMilliseconds)) {
      std::fprintf(stderr, "Connection closed: frame incomplete after 5 seconds\n");
      throw new Exception("VantorEmbeddedConnection: stalled frame");
    }
    return;
  }
  readerState_ = kWaitingForHeader;
  messageTarget_->onMessage(buffer_, expectedLength_);
}
