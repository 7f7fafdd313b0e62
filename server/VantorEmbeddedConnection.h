// One accepted client of the game server: the select server's connection
// object and, through VantorClientPlayer, a player in the lobby. It reads
// the client's frames and hands each complete payload to the dispatcher.
//
// Frame reader: a VantorFrameSplitter that takes payloads of up to
// kMaxRequestPayload bytes. Every whole frame that has arrived is served in
// the round it arrived. The connection ends (its data handler throws, and
// the select server closes it) when a frame announces more than that, or
// when a write to the client has failed; and, through the socket's deadline,
// when a frame has begun but is still incomplete kStallMilliseconds after
// its first byte, whether or not more bytes come.
//
// A connection the full lobby did not take in is ended by its factory right
// after construction, once the version request has been sent.
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
#include "wire/VantorFrameSplitter.h"

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
  // Serves every whole frame that has arrived; throws Exception* to have
  // the connection closed.
  void dataAvailable() override;
  void deadlinePassed() override;
  void disconnected() override;

 private:
  // Keeps the socket's deadline on the frame that has begun, if any.
  void watchPartialFrame(bool framesServed);

  // Where complete payloads go: this connection.
  VantorClientPlayer* messageTarget_;
  VantorEncodedOutputStream* encodedOutput_;
  VantorFrameSplitter frames_;
  // When the first byte of the incomplete frame arrived; 0 when none.
  uint64_t partialSince_;
};

#endif  // VANTOR_SERVER_VANTOREMBEDDEDCONNECTION_H_
