// Frames what is written to it: each write becomes one frame (two bytes of
// little-endian payload length, then the payload) written to the underlying
// stream in a single write.
//
// Thread safety: write() may be called from several threads; a lock of the
// stream's own keeps the frames whole, one after another, never mixed. The
// underlying stream is not owned and must outlive this one.
#ifndef VANTOR_SERVER_VANTORENCODEDOUTPUTSTREAM_H_
#define VANTOR_SERVER_VANTORENCODEDOUTPUTSTREAM_H_

#include <mutex>

#include "ios/IosOutputStream.h"

class VantorEncodedOutputStream final : public IosOutputStream {
 public:
  explicit VantorEncodedOutputStream(IosOutputStream* underlying);
  VantorEncodedOutputStream(const VantorEncodedOutputStream&) = delete;
  VantorEncodedOutputStream& operator=(const VantorEncodedOutputStream&) = delete;

  // Throws Exception("VantorEncodedOutputStream: payload too long") for a
  // payload the length field cannot carry, rather than a frame whose length
  // would lie; the underlying stream's errors pass through.
  void write(const char* buf, int n) override;

 private:
  IosOutputStream* underlying_;
  std::mutex lock_;
};

#endif  // VANTOR_SERVER_VANTORENCODEDOUTPUTSTREAM_H_
