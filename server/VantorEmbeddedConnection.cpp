#include "server/VantorEmbeddedConnection.h"

#include <cstdio>

#include "ios/Exception.h"
#include "ios/Platform.h"
#include "ios/TaggedSocket.h"
#include "server/VantorEncodedOutputStream.h"

VantorEmbeddedConnection::VantorEmbeddedConnection(Socket* client, VantorServer* server)
    : IosServerConnection(client),
      VantorClientPlayer(server),
      messageTarget_(this),
      encodedOutput_(new VantorEncodedOutputStream(getOutput())),
      frames_(kMaxRequestPayload),
      partialSince_(0) {
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

void VantorEmbeddedConnection::deadlinePassed() {
  if (!frames_.hasPartialFrame()) return;
  if (frames_.buffered() < kFrameHeaderBytes) {
    std::fprintf(stderr, "Connection closed: frame header incomplete after 5 seconds\n");
  } else {
    std::fprintf(stderr, "Connection closed: frame incomplete after 5 seconds\n");
  }
}

void VantorEmbeddedConnection::dataAvailable() {
  if (outputBroken()) throw new Exception("VantorEmbeddedConnection: client not reading");
  IosInputStream* input = getInput();
  char chunk[4096];
  for (int pending = input->available(); pending > 0; pending = input->available()) {
    const int n = pending < static_cast<int>(sizeof(chunk)) ? pending : sizeof(chunk);
    input->read(chunk, n);
    frames_.feed(chunk, n);
  }
  // A connection the full lobby turned away is only waiting to be ended.
  if (!isRegistered()) {
    frames_.clear();
    return;
  }
  bool served = false;
  for (;;) {
    const char* payload = nullptr;
    int length = 0;
    const VantorFrameSplitter::Result result = frames_.next(&payload, &length);
    if (result == VantorFrameSplitter::kNeedMore) break;
    if (result == VantorFrameSplitter::kTooLong) {
      std::fprintf(stderr, "Connection closed: frame of %d bytes, more than %d\n", length,
                   kMaxRequestPayload);
      throw new Exception("VantorEmbeddedConnection: frame too long");
    }
    served = true;
    messageTarget_->onMessage(payload, length);
  }
  watchPartialFrame(served);
}

void VantorEmbeddedConnection::watchPartialFrame(bool framesServed) {
  auto* socket = dynamic_cast<TaggedSocket*>(getSocket());
  if (!frames_.hasPartialFrame()) {
    partialSince_ = 0;
  } else if (partialSince_ == 0 || framesServed) {
    // The bytes left over began arriving in this round.
    partialSince_ = platform::monotonicMilliseconds();
  }
  if (socket == nullptr || socket->endsAfterSending()) return;
  socket->setDeadline(partialSince_ == 0 ? 0 : partialSince_ + kStallMilliseconds);
}
