#include "app/ServerCommandLine.h"

#include <cstdlib>

#include "ios/SocketSystem.h"

namespace {

// The options, each of which takes a value.
const char* const kOptions[] = {"--listen", "--max-per-address", "--max-players", "--chat-limit"};

bool isOption(const std::string& word) {
  for (const char* option : kOptions) {
    if (word == option) return true;
  }
  return false;
}

}  // namespace

ServerCommandLine::ServerCommandLine(const std::vector<std::string>& words) : help_(false) {
  bool limited = false;
  for (size_t i = 0; i < words.size() && error_.empty(); ++i) {
    const std::string& word = words[i];
    if (word == "--help" || word == "-h") {
      help_ = true;
      continue;
    }
    std::string option = word, value;
    const size_t equals = word.find('=');
    if (equals != std::string::npos && word.compare(0, 2, "--") == 0) {
      option = word.substr(0, equals);
      value = word.substr(equals + 1);
    } else if (isOption(word)) {
      if (i + 1 == words.size()) {
        error_ = word + " needs a value";
        break;
      }
      value = words[++i];
    }
    if (!isOption(option)) {
      error_ = "unknown option '" + word + "'";
      break;
    }
    limited = limited || option != "--listen";
    take(option, value);
  }
  if (error_.empty() && limited && addresses_.empty()) {
    error_ = "the limits apply to a server that listens (--listen)";
  }
  limits_.enabled = !addresses_.empty();
  for (const VantorEmbeddedServer::Address& address : addresses_) {
    if (!isLoopback(address.host)) limits_.logPrivateText = false;
  }
}

bool ServerCommandLine::take(const std::string& option, const std::string& value) {
  if (option == "--listen") {
    VantorEmbeddedServer::Address address;
    if (!parseAddress(value, &address)) {
      error_ = "'" + value + "' is not ADDRESS[:PORT] (IPv6 in brackets: [::1]:4567)";
      return false;
    }
    addresses_.push_back(address);
    return true;
  }
  if (option == "--max-per-address") return number(option, value, 1, 1000, &limits_.maxPerAddress);
  if (option == "--max-players") {
    return number(option, value, 8, VantorServerLimits::kMostPlayers, &limits_.maxPlayers);
  }
  return number(option, value, 0, 100000, &limits_.chatMessages);
}

bool ServerCommandLine::number(const std::string& option, const std::string& value, int low,
                               int high, int* out) {
  char* end = nullptr;
  const long n = std::strtol(value.c_str(), &end, 10);
  if (value.empty() || *end != '\0' || n < low || n > high) {
    error_ = option + " takes a number from " + std::to_string(low) + " to " +
             std::to_string(high) + ", not '" + value + "'";
    return false;
  }
  *out = static_cast<int>(n);
  return true;
}

bool ServerCommandLine::parseAddress(const std::string& text, VantorEmbeddedServer::Address* out) {
  std::string host = text, port;
  if (!text.empty() && text[0] == '[') {
    const size_t close = text.find(']');
    if (close == std::string::npos) return false;
    host = text.substr(1, close - 1);
    const std::string rest = text.substr(close + 1);
    if (!rest.empty()) {
      if (rest[0] != ':') return false;
      port = rest.substr(1);
    }
  } else {
    const size_t colon = text.find(':');
    if (colon != std::string::npos) {
      // A bare IPv6 address would be cut at its first colon.
      if (text.find(':', colon + 1) != std::string::npos) return false;
      host = text.substr(0, colon);
      port = text.substr(colon + 1);
    }
  }
  unsigned char bytes[16];
  const bool v4 = inet_pton(AF_INET, host.c_str(), bytes) == 1;
  const bool v6 = !v4 && inet_pton(AF_INET6, host.c_str(), bytes) == 1;
  if (!v4 && !v6) return false;
  if (v6 && text[0] != '[') return false;
  int number = kDefaultPort;
  if (!port.empty() || text.back() == ':') {
    char* end = nullptr;
    const long n = std::strtol(port.c_str(), &end, 10);
    if (port.empty() || *end != '\0' || n < 0 || n > 65535) return false;
    number = static_cast<int>(n);
  }
  out->host = host;
  out->port = number;
  return true;
}

bool ServerCommandLine::isLoopback(const std::string& host) {
  unsigned char bytes[16];
  if (inet_pton(AF_INET, host.c_str(), bytes) == 1) return bytes[0] == 127;
  return host == "::1";
}

std::string ServerCommandLine::usage() {
  return "Usage: vantor                  open the game window\n"
         "       vantor S [OPTIONS]      run the game server\n"
         "       vantor --help | --version\n"
         "\n"
         "Without options the server serves this machine only: 127.0.0.1, port 4567\n"
         "or the next free port. With --listen it serves other machines too:\n"
         "  --listen ADDRESS[:PORT]   a numeric address to listen on, IPv6 in brackets\n"
         "                            ([::1]:4567); port 4567 when none; may be repeated\n"
         "  --max-per-address N       connections from one address (default 4)\n"
         "  --max-players N           players, the 7 computer players included\n"
         "                            (8 to 24, default 24)\n"
         "  --chat-limit N            chat messages per connection in any 10 seconds\n"
         "                            (default 20; 0 for no limit)\n"
         "\n"
         "See docs/hosting.md for running a public server.\n";
}
