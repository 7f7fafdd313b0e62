// The player that stands for a remote client: it turns the lobby's
// notifications into server messages written to its output (a framing
// stream, one frame per message), and each request payload the client sends
// into calls on the lobby.
//
// Leaving: leave() stops every further write and unregisters the player, so
// that no notification can reach it any more; the connection calls it before
// it is destroyed (the destructor calls it too). A write that fails (the
// output has overflowed: the client stopped reading) stops further writes;
// the failure never reaches the lobby operation that caused the write, and
// the server closes the connection.
//
// Thread safety: notifications arrive on the server thread and on computer
// players' threads while they hold the lobby's lock; each message is one
// write under the player's write lock, so messages never mix and none is
// written once leave() has begun. A write only queues the message (no system
// call happens under the lobby's lock). onMessage() and the requests run on
// the server thread and hold the lobby's lock for the whole request.
#ifndef VANTOR_SERVER_VANTORCLIENTPLAYER_H_
#define VANTOR_SERVER_VANTORCLIENTPLAYER_H_

#include <atomic>
#include <cstdint>
#include <deque>
#include <mutex>
#include <string>

#include "bots/VantorPlayer.h"
#include "ios/IosOutputStream.h"

class VantorServer;

class VantorClientPlayer : public VantorPlayer {
 public:
  // Registers with server (when there is room; see isRegistered()).
  explicit VantorClientPlayer(VantorServer* server);
  ~VantorClientPlayer() override;

  void notifyAskGame(VantorPlayer* inviter, VantorServerGame* game) override;
  void notifyRefuseGame(VantorPlayer* refuser) override;
  void notifyMessage(VantorPlayer* from, const char* text, bool broadcast) override;
  void notifyGameEvent(const VantorGameEvent& event) override;
  void notifyPlayerListChanged() override;
  void notifyGameListChanged() override;

  virtual void setOutputStream(IosOutputStream* stream);
  // The request dispatcher: one complete payload of length bytes (0 to
  // 1024), code first. Unknown codes, empty payloads and requests whose
  // fields do not fit in the payload are dropped.
  virtual void onMessage(const char* payload, int length);

  virtual void sendPlayerList();
  virtual void sendGameList();
  virtual void handleSetNick(const std::string& nick);
  virtual void handleAskGame(const std::string& targetNick, int8_t colour, bool allowSpectators);
  virtual void handleAcceptGame(int32_t gameId);
  virtual void handleRefuseGame(int32_t gameId);
  virtual void handleSendMessage(const std::string& addressee, const std::string& text);
  virtual void sendBoard(int32_t gameId);
  virtual void sendWhoAmI();
  virtual void sendVersionRequest();
  virtual void handlePlayMove(int32_t gameId, int8_t x, int8_t y);
  virtual void handleSpectate(int32_t gameId);
  virtual void sendPlayerInfo(const std::string& nick);

  // At most messages chat messages (C6) in any windowSeconds; the others are
  // dropped, with a log line at the first of each run. 0 for no limit.
  void setChatLimit(int messages, int windowSeconds);

  // Stops all writes and leaves the lobby. Idempotent. Must not be called by
  // a thread that holds the lobby's lock on behalf of another player.
  void leave();
  // Whether a write has failed; the connection is then to be closed.
  bool outputBroken() const { return broken_.load(); }

  // The too-old-client warning is given once per process; tests start afresh.
  static void resetVersionWarningForTesting();

 protected:
  VantorServer* getLobby() const { return lobby_; }

 private:
  // Writes one message unless the player is closing or broken.
  void send(const std::string& payload);
  void warnOldClientOnce();
  void dispatch(const char* payload, int length);
  // Whether one more chat message fits in the limit now (and counts it).
  bool chatAllowed();

  VantorServer* lobby_;
  IosOutputStream* output_;
  bool closing_;
  int clientVersion_;
  std::mutex writeLock_;
  std::atomic<bool> broken_;
  int chatLimit_;
  uint64_t chatWindowMilliseconds_;
  // When the messages of the current window were sent, oldest first.
  std::deque<uint64_t> chatTimes_;
  bool chatDropReported_;
};

#endif  // VANTOR_SERVER_VANTORCLIENTPLAYER_H_
