// Picks the port of the local game server out of what the server child
// writes on its standard output, piece by piece as it arrives: the line
// "server launched on port N" says where it listens. Lines before it (the
// ports it had to give up) are passed over.
//
// Thread safety: one thread at a time.
#ifndef VANTOR_APP_LAUNCHEDPORTREADER_H_
#define VANTOR_APP_LAUNCHEDPORTREADER_H_

#include <cstddef>
#include <string>

class LaunchedPortReader {
 public:
  // Takes the next piece of the output; true once the launch line has been
  // read whole (what follows it in the same piece is not looked at).
  bool take(const char* data, size_t length);
  // The port of the launch line; 0 until it has been read.
  int port() const { return port_; }

  // The port a single line (without its line end) announces, or 0 when it is
  // not a launch line or names no usable port.
  static int portOfLine(const std::string& line);

 private:
  std::string line_;
  int port_ = 0;
};

#endif  // VANTOR_APP_LAUNCHEDPORTREADER_H_
