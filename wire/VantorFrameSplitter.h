// Cuts a received byte stream into frames: bytes go in as they arrive, in
// pieces of any size, and whole payloads come out in order. A frame whose
// announced length passes the receiver's limit is reported without any of
// its payload being kept, and the splitter stays in that state: the stream
// can no longer be trusted to be in step.
//
// Thread safety: none; a splitter belongs to the one reader of a stream.
#ifndef VANTOR_WIRE_VANTORFRAMESPLITTER_H_
#define VANTOR_WIRE_VANTORFRAMESPLITTER_H_

#include <cstddef>
#include <vector>

class VantorFrameSplitter {
 public:
  enum Result {
    kFrame,     // a whole payload is at hand
    kNeedMore,  // nothing whole yet
    kTooLong,   // a frame announced more than maxPayload bytes
  };

  // maxPayload: the longest payload taken, at most 65535.
  explicit VantorFrameSplitter(int maxPayload);

  void feed(const char* data, int length);
  // The next payload, valid until the next call of any operation. kTooLong
  // sets length to the announced size and repeats on every later call.
  Result next(const char** payload, int* length);

  // Whether bytes of a frame that is not whole yet are held.
  bool hasPartialFrame() const { return buffered() > 0; }
  // Bytes received and not yet handed out.
  int buffered() const { return static_cast<int>(bytes_.size() - start_); }
  // Forgets everything held and any earlier kTooLong.
  void clear();

 private:
  int maxPayload_;
  std::vector<char> bytes_;
  size_t start_;
  bool tooLong_;
  int announced_;
};

#endif  // VANTOR_WIRE_VANTORFRAMESPLITTER_H_
