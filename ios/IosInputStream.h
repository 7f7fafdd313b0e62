// A source of bytes: how many can be read now, and reading them.
//
// Streams are owned and deleted through their concrete types, never through
// this interface.
//
// Thread safety: none; one thread reads a stream at a time.
#ifndef VANTOR_IOS_IOSINPUTSTREAM_H_
#define VANTOR_IOS_IOSINPUTSTREAM_H_

class IosInputStream {
 public:
  // Bytes that a read can take now without waiting.
  virtual int available() = 0;
  // Reads exactly n bytes into buf, waiting for them if needed; throws
  // Exception* when the stream ends or fails first.
  virtual void read(char* buf, int n) = 0;

 protected:
  ~IosInputStream() = default;
};

#endif  // VANTOR_IOS_IOSINPUTSTREAM_H_
