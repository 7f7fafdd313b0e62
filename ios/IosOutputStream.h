// A sink of bytes.
//
// Streams are owned and deleted through their concrete types, never through
// this interface.
//
// Thread safety: none of its own; an implementation shared between threads
// says how it serialises writes.
#ifndef VANTOR_IOS_IOSOUTPUTSTREAM_H_
#define VANTOR_IOS_IOSOUTPUTSTREAM_H_

class IosOutputStream {
 public:
  // Writes all n bytes of buf; throws Exception* when that fails.
  virtual void write(const char* buf, int n) = 0;

 protected:
  ~IosOutputStream() = default;
};

#endif  // VANTOR_IOS_IOSOUTPUTSTREAM_H_
