// Feeds arbitrary bytes from a client to the game server's connection: the
// frame splitter, the request dispatcher and the lobby behind it, through
// the buffered socket the select server uses. The client is one end of a
// socket pair; a second connection ("bob") and a plain player ("carol") are
// in the lobby, so invitations, games, chat and spectating reach other
// players. As the server's loop does, each round reads what has arrived,
// serves it and sends what was queued, and the test drains what comes back,
// until the input is used up or the server would close the connection.
//
// Game ids in the input count from the first game of the run (0 is the
// first game the input creates): ids grow for the whole process, and an
// input must mean the same thing every time it runs.
#include <fcntl.h>
#include <sys/socket.h>
#include <unistd.h>

#include <cerrno>
#include <cstddef>
#include <cstdint>
#include <vector>

#include "bots/VantorPlayer.h"
#include "ios/Exception.h"
#include "ios/TaggedSocket.h"
#include "server/VantorClientPlayer.h"
#include "server/VantorEmbeddedConnection.h"
#include "server/VantorProtocol.h"
#include "server/VantorServer.h"
#include "server/VantorServerGame.h"

namespace {

// A connection over one end of a socket pair; the test holds the other end.
struct PairedConnection {
  PairedConnection(VantorServer* lobby, const char* name) {
    int ends[2];
    if (socketpair(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0, ends) != 0) __builtin_trap();
    socket = new TaggedSocket(ends[0]);
    peer = ends[1];
    fcntl(ends[0], F_SETFL, O_NONBLOCK);
    fcntl(peer, F_SETFL, O_NONBLOCK);
    connection = new VantorEmbeddedConnection(socket, lobby);
    if (name != nullptr) connection->setName(name);
  }

  ~PairedConnection() {
    end();
    close(peer);
  }

  // Ends the connection as the select server would.
  void end() {
    if (connection == nullptr) return;
    connection->disconnected();
    delete connection;
    connection = nullptr;
  }

  // Sends what was queued, as the loop would; false when that ends it.
  bool flush() {
    if (connection == nullptr) return false;
    const TaggedSocket::Transfer sent = socket->flush();
    if (sent != TaggedSocket::kOverflowed && sent != TaggedSocket::kFailed) return true;
    end();
    return false;
  }

  void drain() {
    char sink[4096];
    while (read(peer, sink, sizeof(sink)) > 0) {
    }
  }

  TaggedSocket* socket;
  int peer;
  VantorEmbeddedConnection* connection;
};

// The id the next game of the process will get.
int32_t nextGameId() {
  VantorServerGame probe(nullptr, nullptr);
  return probe.getId() + 1;
}

// Shifts the game id of every request that starts with one by base, frame
// by frame, as far as the frames are whole.
void shiftGameIds(std::vector<uint8_t>& bytes, int32_t base) {
  size_t at = 0;
  while (at + 2 <= bytes.size()) {
    const size_t length = bytes[at] | bytes[at + 1] << 8;
    const size_t payload = at + 2;
    if (length > static_cast<size_t>(kMaxRequestPayload) || payload + length > bytes.size()) break;
    switch (length >= 5 ? bytes[payload] : 0) {
      case kRequestAcceptGame:
      case kRequestGetBoard:
      case kRequestRefuseGame:
      case kRequestPlayMove:
      case kRequestSpectate:
      case kRequestAbortGame: {
        char* id = reinterpret_cast<char*>(&bytes[payload + 1]);
        encodeInt(id, static_cast<int32_t>(static_cast<uint32_t>(decodeInt(id)) +
                                           static_cast<uint32_t>(base)));
        break;
      }
      default:
        break;
    }
    at = payload + length;
  }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  VantorClientPlayer::resetVersionWarningForTesting();
  std::vector<uint8_t> input(data, data + size);
  shiftGameIds(input, nextGameId());
  data = input.data();
  VantorServer* lobby = new VantorServer();
  {
    VantorPlayer carol(lobby);
    carol.setName("carol");
    PairedConnection bob(lobby, "bob");
    PairedConnection client(lobby, nullptr);

    size_t sent = 0;
    while (client.connection != nullptr) {
      if (sent < size) {
        ssize_t n = send(client.peer, data + sent, size - sent, MSG_NOSIGNAL | MSG_DONTWAIT);
        if (n > 0) sent += static_cast<size_t>(n);
        if (n < 0 && errno != EAGAIN && errno != EWOULDBLOCK) break;
      }
      const TaggedSocket::Transfer received = client.socket->receive(65536);
      if (received == TaggedSocket::kEnded || received == TaggedSocket::kFailed) break;
      if (received == TaggedSocket::kBlocked) {
        if (sent == size) break;
        continue;
      }
      try {
        client.connection->dataAvailable();
      } catch (Exception* e) {
        delete e;
        client.end();
      }
      client.flush();
      bob.flush();
      client.drain();
      bob.drain();
    }
  }
  delete lobby;
  return 0;
}
