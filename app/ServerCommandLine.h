// The game server's command line, the words after "S". Without any, the
// server serves this machine: 127.0.0.1, port 4567 or the next free one.
// With --listen it serves exactly the addresses given, to other machines
// too, with the limits such a server needs:
//
//   --listen ADDRESS[:PORT]   a numeric IPv4 address, or IPv6 in brackets
//                             ("[::1]:4567"); port 4567 when none; repeatable
//   --max-per-address N       connections from one peer address (default 4)
//   --max-players N           players, the seven computer players included
//                             (8 to 24, default 24)
//   --chat-limit N            chat messages per connection in any 10 seconds
//                             (default 20; 0 for no limit)
//
// Options take their value as the next word or after '=' ("--listen=::").
// A server that listens on any address outside loopback keeps the text of
// private messages out of its log.
//
// Thread safety: a plain value.
#ifndef VANTOR_APP_SERVERCOMMANDLINE_H_
#define VANTOR_APP_SERVERCOMMANDLINE_H_

#include <string>
#include <vector>

#include "server/VantorEmbeddedServer.h"
#include "server/VantorServerLimits.h"

class ServerCommandLine {
 public:
  static constexpr int kDefaultPort = 4567;

  explicit ServerCommandLine(const std::vector<std::string>& words);

  // False, with the reason in error(), for a word it does not know or a
  // value it cannot take.
  bool valid() const { return error_.empty(); }
  const std::string& error() const { return error_; }
  bool helpAsked() const { return help_; }

  // Empty for the local server.
  const std::vector<VantorEmbeddedServer::Address>& addresses() const { return addresses_; }
  const VantorServerLimits& limits() const { return limits_; }

  // "ADDRESS[:PORT]" into out; false when it is not one.
  static bool parseAddress(const std::string& text, VantorEmbeddedServer::Address* out);
  static bool isLoopback(const std::string& host);
  // What --help prints.
  static std::string usage();

 private:
  bool take(const std::string& option, const std::string& value);
  bool number(const std::string& option, const std::string& value, int low, int high, int* out);

  std::vector<VantorEmbeddedServer::Address> addresses_;
  VantorServerLimits limits_;
  std::string error_;
  bool help_;
};

#endif  // VANTOR_APP_SERVERCOMMANDLINE_H_
