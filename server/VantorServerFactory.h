// Puts a game server together: the lobby, its seven computer players in
// roster order, and one VantorEmbeddedConnection per accepted client.
//
// The factory owns the lobby and the computer players. It must outlive the
// select server that uses it (whose end closes every connection); it is
// destroyed on a thread that does not hold the lobby's lock, and then
// retires the computer players (waiting for their threads) before it
// deletes the lobby.
//
// Thread safety: the select server calls it on the server thread.
#ifndef VANTOR_SERVER_VANTORSERVERFACTORY_H_
#define VANTOR_SERVER_VANTORSERVERFACTORY_H_

#include <map>
#include <string>
#include <vector>

#include "ios/IosServerStandardFactory.h"
#include "server/VantorEmbeddedConnection.h"
#include "server/VantorServerLimits.h"

class VantorServer;
class VantorServerBot;

class VantorServerFactory : public IosServerStandardFactory<VantorEmbeddedConnection> {
 public:
  // limits: those of a server other machines reach; none by default.
  explicit VantorServerFactory(const VantorServerLimits& limits = VantorServerLimits());
  virtual ~VantorServerFactory();
  VantorServerFactory(const VantorServerFactory&) = delete;
  VantorServerFactory& operator=(const VantorServerFactory&) = delete;

  // A connection on the lobby; when the lobby is full, the client gets the
  // version request and the connection ends once that has been sent. With
  // limits, a peer address that has its connections already is turned away
  // at once, and every refusal has a log line.
  void newConnection(TaggedSocket* s) override;
  void connectionClosed(TaggedSocket* s) override;

  VantorServer* getServer() const { return server_; }
  const std::vector<VantorServerBot*>& getBots() const { return bots_; }

 private:
  VantorServer* server_;
  std::vector<VantorServerBot*> bots_;
  VantorServerLimits limits_;
  // Connections open from each peer address, and each connection's address.
  std::map<std::string, int> connectionsFrom_;
  std::map<TaggedSocket*, std::string> addressOf_;
};

#endif  // VANTOR_SERVER_VANTORSERVERFACTORY_H_
