// Reads the fields of one request payload in order, never past its end.
// Each read gives false, and reads nothing, when the field does not fit in
// what is left: a fixed-size field cut short, or a string whose 0 byte is
// not inside the payload.
//
// Thread safety: none; a reader belongs to the dispatch that made it.
#ifndef VANTOR_SERVER_VANTORREQUESTREADER_H_
#define VANTOR_SERVER_VANTORREQUESTREADER_H_

#include <cstdint>
#include <string>

class VantorRequestReader {
 public:
  // Starts after the code byte; payload is not copied and must outlive the reader.
  VantorRequestReader(const char* payload, int length);

  bool readInt8(int8_t& out);
  bool readU8(uint8_t& out);
  bool readInt32(int32_t& out);
  // The bytes up to the next 0 byte, which is consumed too.
  bool readString(std::string& out);

 private:
  const char* payload_;
  int length_;
  int position_;
};

#endif  // VANTOR_SERVER_VANTORREQUESTREADER_H_
