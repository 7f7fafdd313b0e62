// Reads the fields of one server message in order, never beyond its
// payload: integers little-endian, strings up to their 0 byte, or cut at the
// end of the payload when the 0 byte is missing.
//
// Thread safety: none; a reader lives for the parsing of one message.
#ifndef VANTOR_CLIENT_VANTORMESSAGEREADER_H_
#define VANTOR_CLIENT_VANTORMESSAGEREADER_H_

#include <cstdint>
#include <string>

class VantorMessageReader {
 public:
  // Starts at offset 1, the first field after the message code.
  VantorMessageReader(const char* payload, int length);

  int offset() const { return offset_; }
  bool atEnd() const { return offset_ >= length_; }
  // Whether n more bytes lie inside the payload.
  bool has(int n) const { return n >= 0 && length_ - offset_ >= n; }

  // Each reader below expects has() to hold for its width.
  int32_t readInt();
  int readInt8();
  int readU8();
  // n bytes where they lie; the offset moves past them.
  const char* readBytes(int n);
  // The bytes up to the next 0 byte or the end of the payload; the offset
  // moves past the 0 byte. Empty at the end of the payload.
  std::string readString();
  void skip(int n);

 private:
  const char* payload_;
  int length_;
  int offset_;
};

#endif  // VANTOR_CLIENT_VANTORMESSAGEREADER_H_
