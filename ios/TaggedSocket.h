// A connection socket of the select server: a Socket that knows its
// listening port and its wait set, and leaves that wait set when deleted, so
// that the set never holds a deleted socket.
//
// Once the server has accepted it, it is non-blocking and buffered both
// ways: the server's thread reads what has arrived into an input buffer,
// which the connection's input stream serves, and the connection's output
// stream appends to an output queue that the server's thread sends from when
// the socket can take it. Nobody else makes a system call on it.
//
// Thread safety: created, read, flushed and deleted by the select server's
// thread. The output stream may be written from any thread while the socket
// exists (see IosOutputQueue).
#ifndef VANTOR_IOS_TAGGEDSOCKET_H_
#define VANTOR_IOS_TAGGEDSOCKET_H_

#include <cstdint>
#include <string>
#include <vector>

#include "ios/IosOutputQueue.h"
#include "ios/Socket.h"
#include "ios/TagsForSystemStream.h"

class TaggedSocket : public Socket, public TagsForSystemStream {
 public:
  // What one receive or send round found.
  enum Transfer {
    kMoved,       // bytes moved; for a flush: nothing is left waiting
    kBlocked,     // the socket cannot take more now (bytes still wait)
    kEnded,       // the peer closed the connection
    kFailed,      // the connection is broken
    kOverflowed,  // a flush found more queued than the output queue allows
  };

  explicit TaggedSocket(int descriptor);
  ~TaggedSocket() override;

  // The buffered streams described above.
  IosInputStream* getInputStream() override { return &bufferedInput_; }
  IosOutputStream* getOutputStream() override { return &queuedOutput_; }
  IosOutputQueue& outputQueue() { return output_; }

  // Reads what has arrived, at most maxBytes, into the input buffer.
  Transfer receive(int maxBytes);
  // Sends what waits until it is all gone or the socket is full.
  Transfer flush();

  // The tick (platform::monotonicMilliseconds) after which the server ends
  // the connection; 0 for none. Set by the connection's handler.
  void setDeadline(uint64_t tick) { deadline_ = tick; }
  uint64_t getDeadline() const { return deadline_; }

  // Asks the server to end the connection once everything queued has been
  // sent, or kEndGraceMilliseconds from now if the peer does not take it.
  void endAfterSending();
  bool endsAfterSending() const { return endAfterSending_; }
  static constexpr int kEndGraceMilliseconds = 5000;

  // Whether the server waits for the socket to turn writable; the server's
  // record, so that it changes the wait only when this changes.
  bool watchesWritable = false;

 private:
  class BufferedInput final : public IosInputStream {
   public:
    explicit BufferedInput(TaggedSocket* owner) : owner_(owner) {}
    int available() override;
    // Throws "IosSocket: Socket disconnected" for more than is buffered.
    void read(char* buf, int n) override;

   private:
    TaggedSocket* owner_;
  };

  class QueuedOutput final : public IosOutputStream {
   public:
    explicit QueuedOutput(TaggedSocket* owner) : owner_(owner) {}
    // Throws "IosSocket: output queue full" once the queue has overflowed.
    void write(const char* buf, int n) override;

   private:
    TaggedSocket* owner_;
  };

  BufferedInput bufferedInput_;
  QueuedOutput queuedOutput_;
  // Unread input is input_[inputStart_, inputEnd_); the vector only grows.
  std::vector<char> input_;
  size_t inputStart_;
  size_t inputEnd_;
  IosOutputQueue output_;
  std::string sending_;
  size_t sendingStart_;
  uint64_t deadline_;
  bool endAfterSending_;
};

#endif  // VANTOR_IOS_TAGGEDSOCKET_H_
