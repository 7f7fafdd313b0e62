// A computer player living in the server. It accepts every invitation at
// once, answers each private message with a fixed line after a pause, and,
// whenever it is told that it is to move, chooses and plays a move on a
// thinking thread of its own, after a pause of two seconds.
//
// The turn notice hands the position and the game's id (copied on the
// notifying thread, inside the lobby operation) to the thinking thread
// through the handOver lock; the thinking thread releases it before it does
// anything else, searches its copy and plays by id, so it never touches a
// game that may have been removed meanwhile. Chat replies go to the sender's
// unique id, never to a pointer kept across the pause.
//
// Thread safety: notifications arrive on lobby threads, serialised by the
// lobby's lock; thinking and reply threads call the lobby from their own
// threads. Destruction unregisters the bot and then waits until every thread
// it started has finished (those still pausing give up at once), so no
// thread outlives the bot. The most-derived class calls retire() first in
// its destructor, before any part of the bot is torn down; a bot must not be
// destroyed by a thread that holds the lobby's lock, and the lobby must
// outlive its bots.
#ifndef VANTOR_BOTS_VANTORSERVERBOT_H_
#define VANTOR_BOTS_VANTORSERVERBOT_H_

#include <atomic>
#include <string>

#include "bots/VantorChatResponder.h"
#include "bots/VantorPlayer.h"
#include "game/VantorGame.h"
#include "ios/IosLock.h"
#include "ios/IosRunnable.h"

class IosThread;

class VantorServerBot : public VantorPlayer, public IosRunnable {
 public:
  // The pause before each move.
  static constexpr int kMovePauseMilliseconds = 2000;

  VantorServerBot(VantorLobby* server, const std::string& name);
  ~VantorServerBot() override;

  void notifyAskGame(VantorPlayer* inviter, VantorServerGame* game) override;
  void notifyMessage(VantorPlayer* from, const char* text, bool broadcast) override;
  void notifyGameEvent(const VantorGameEvent& event) override;
  std::string getDescription() override;

  // The move for the side to move of game, {0, 0} when it has none.
  virtual VantorCoords chooseMove(const VantorGame& game) = 0;
  // The thinking thread.
  void run() override;

  // The chat pause for a reply: one second per ten characters, plus one.
  static int chatPauseMilliseconds(const std::string& reply);

  // Made for tests: replaces the move pause and, when chatPauseMs is not
  // negative, the chat pause, for every later thread of this bot.
  void setPausesForTesting(int movePauseMs, int chatPauseMs);

 protected:
  // Unregisters the bot, makes its pausing threads give up and waits until
  // all its threads have finished. Idempotent.
  void retire();

 private:
  class MessageThread;

  // Starts a self-deleting thread counted as one of the bot's; false when
  // no thread could be made (the object is then deleted).
  bool launch(IosThread* thread);
  void threadStarted();
  // The last thing a thread of this bot does with it.
  void threadFinished();
  // Sleeps up to milliseconds; false when the bot retired meanwhile.
  bool pause(int milliseconds);
  int chatPauseFor(const std::string& reply) const;
  bool isRetiring() const { return retiring.load(); }

  // Where the threads find the lobby; fixed for the bot's life.
  VantorLobby* const lobby;
  // Handed from the notifying thread to the thinking thread under handOver.
  VantorGame pendingPosition;
  int pendingGameId;
  IosLock handOver;
  VantorChatResponder responder;

  std::atomic<int> movePause;
  std::atomic<int> chatPauseOverride;
  std::atomic<bool> retiring;
  bool retired;
  // Threads running; idle is held while there is at least one.
  std::atomic<int> activeThreads;
  IosLock idle;
};

#endif  // VANTOR_BOTS_VANTORSERVERBOT_H_
