// One accepted client of the game server: the select server's connection
// object and, through VantorClientPlayer, a player in the lobby. It reads
// the client's frames and hands each complete payload to the dispatcher.
//
// Frame reader: two bytes of little-endian payload length, then the payload,
// into a buffer of kMaxRequestPayload bytes. The connection ends (its data
// handler throws, and the select server closes it) when a frame announces
// more than the buffer holds, when a frame has begun but is still incomplete
// more than kStallMilliseconds after its first byte (checked when more bytes
// arrive), or when a write to the client has failed. One call completes at
// most one frame; the bytes of the next stay pending for the next call.
//
// A connection the full lobby did not take in is ended by its factory right
// after construction, once the version request has been written.
//
// Thread safety: constructed, fed and destroyed on the server thread;
// notifications from other threads go through VantorClientPlayer's rules.
// disconnected() leaves the lobby, so that by the time the object is
// destroyed no other thread can reach it.
#ifndef VANTOR_SERVER_VANTOREMBEDDEDCONNECTION_H_
#define VANTOR_SERVER_VANTOREMBEDDEDCONNECTION_H_

#include <cstdint>

#include "ios/IosServerConnection.h"
#include "server/VantorClientPlayer.h"
#include "server/VantorProtocol.h"

class Socket;
class VantorEncodedOutputStream;
class VantorServer;

class VantorEmbeddedConnection : public IosServerConnection, public VantorClientPlayer {
 public:
  static constexpr int kStallMilliseconds = 5000;

  // Registers with server and sends the version request.
  VantorEmbeddedConnection(Socket* client, VantorServer* server);
  ~VantorEmbeddedConnection() override;

  void connected() override {}
  // Reads what is pending of the current frame; throws Exception* to have
  // the connection closed.
  void dataAvailable() override;
  void disconnected() override;

 protected:
  void outputFailed() override;

 private:
  // Where complete payloads go: this connection.
  VantorClientPlayer* messageTarget_;
  VantorEncodedOutputStream* encodedOutput_;
  int readerState_;
  char header_[2];
  int headerReceived_;
  char buffer_[kMaxRequestPayload];
  char* writePosition_;
  int expectedLength_;
  int receivedLength_;
  uint32_t headerTime_;
};

#endif  // VANTOR_SERVER_VANTOREMBEDDEDCONNECTION_H_
