// A computer player living in the server. It accepts every invitation at
// once, answers each private message with a fixed line after a pause, and,
// whenever it is told that it is to move, chooses and plays a move after a
// pause of two seconds.
//
// All its work runs on one worker thread of its own, started with the bot:
// a turn notice queues a copy of the position and the game's id, the worker
// searches that copy and plays by id when the pause has passed, so it never
// touches a game that may have been removed meanwhile; a chat reply is
// queued for its time and goes to the sender's unique id, never to a pointer
// kept across the pause. At most kMaxWaitingReplies replies wait at a time;
// a message beyond that goes unanswered, so a flood cannot swamp the bot.
// When no thread can be made the jobs stay queued and every later
// notification tries again, so a turn is never lost.
//
// Thread safety: notifications arrive on lobby threads, serialised by the
// lobby's lock; they only queue work and never wait for it. The worker calls
// the lobby from its own thread. retire() unregisters the bot, drops what is
// still queued, ends a pause at once and joins the worker, so no thread
// outlives the bot. The most-derived class calls retire() first in its
// destructor, before any part of the bot is torn down; a bot must not be
// destroyed by a thread that holds the lobby's lock, and the lobby must
// outlive its bots.
#ifndef VANTOR_BOTS_VANTORSERVERBOT_H_
#define VANTOR_BOTS_VANTORSERVERBOT_H_

#include <atomic>
#include <string>

#include "bots/VantorBotWorker.h"
#include "bots/VantorChatResponder.h"
#include "bots/VantorPlayer.h"
#include "game/VantorGame.h"

class VantorServerBot : public VantorPlayer {
 public:
  // The pause before each move, from the end of its search.
  static constexpr int kMovePauseMilliseconds = 2000;
  // Chat replies that may wait at once.
  static constexpr int kMaxWaitingReplies = 16;

  VantorServerBot(VantorLobby* server, const std::string& name);
  ~VantorServerBot() override;

  void notifyAskGame(VantorPlayer* inviter, VantorServerGame* game) override;
  void notifyMessage(VantorPlayer* from, const char* text, bool broadcast) override;
  void notifyGameEvent(const VantorGameEvent& event) override;
  std::string getDescription() override;

  // The move for the side to move of game, {0, 0} when it has none.
  virtual VantorCoords chooseMove(const VantorGame& game) = 0;

  // The chat pause for a reply: one second per ten characters, plus one.
  static int chatPauseMilliseconds(const std::string& reply);

  // Made for tests: replaces the move pause and, when chatPauseMs is not
  // negative, the chat pause, for every later job of this bot.
  void setPausesForTesting(int movePauseMs, int chatPauseMs);

 protected:
  // Unregisters the bot, drops its queued jobs and joins its worker.
  // Idempotent.
  void retire();

 private:
  // On the worker: searches the copy and schedules the move.
  void think(const VantorGame& position, int gameId);
  int chatPauseFor(const std::string& reply) const;
  bool isRetiring() const { return retiring_.load(); }

  // Where the worker finds the lobby; fixed for the bot's life.
  VantorLobby* const lobby_;
  VantorChatResponder responder_;

  std::atomic<int> movePause_;
  std::atomic<int> chatPauseOverride_;
  // Replies scheduled and not yet sent.
  std::atomic<int> waitingReplies_;
  std::atomic<bool> retiring_;
  bool retired_;
  VantorBotWorker worker_;
};

#endif  // VANTOR_BOTS_VANTORSERVERBOT_H_
