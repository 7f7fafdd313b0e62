// Anything backed by an operating-system descriptor that can be waited on
// for readability: connected sockets, listening sockets.
//
// Thread safety: streamReadyToRead() only polls and may be called from any
// thread while the descriptor is open; setDescriptor() belongs to the owner.
#ifndef VANTOR_IOS_IOSSYSTEMSTREAM_H_
#define VANTOR_IOS_IOSSYSTEMSTREAM_H_

class IosSystemStream {
 public:
  explicit IosSystemStream(int descriptor);

  virtual int getDescriptor();
  void setDescriptor(int descriptor);

  // Whether the descriptor is readable right now (data pending, a connection
  // to accept, or the peer has closed); never waits. On failure prints
  // "SELECT ERROR <errno>" on standard output and throws
  // Exception("IosSystemStream streamReadyToRead error").
  bool streamReadyToRead();

 protected:
  // Deleted through the concrete classes (Socket and ServerSocket have
  // virtual destructors).
  ~IosSystemStream() = default;

 private:
  int descriptor_;
};

#endif  // VANTOR_IOS_IOSSYSTEMSTREAM_H_
