#include "bots/VantorServerBot.h"

#include <algorithm>

#include "ios/Exception.h"
#include "ios/IosThread.h"
#include "ios/Platform.h"

// The reply to one private message: it waits the chat pause and then sends
// the responder's answer to the sender, named by its unique id because the
// sender may leave meanwhile and a new player may take its address.
class VantorServerBot::MessageThread : public IosThread {
 public:
  MessageThread(uint64_t senderId, VantorServerBot* bot, const char* text, bool broadcast,
                const VantorChatResponder* responder)
      : senderId(senderId), bot(bot), text(text), broadcast(broadcast), responder(responder) {}

  void run() override {
    try {
      std::string reply = responder->replyTo(text);
      if (!broadcast && bot->pause(bot->chatPauseFor(reply))) {
        bot->lobby->sendMessageToId(bot, senderId, reply.c_str());
      }
    } catch (Exception* e) {
      e->print();
      delete e;
    }
    bot->threadFinished();
  }

 private:
  uint64_t senderId;
  VantorServerBot* bot;
  std::string text;
  bool broadcast;
  const VantorChatResponder* responder;
};

VantorServerBot::VantorServerBot(VantorLobby* server, const std::string& name)
    : VantorPlayer(server, name),
      lobby(server),
      pendingGameId(-1),
      movePause(kMovePauseMilliseconds),
      chatPauseOverride(-1),
      retiring(false),
      retired(false),
      activeThreads(0) {}

VantorServerBot::~VantorServerBot() {
  retire();
}

void VantorServerBot::retire() {
  if (retired) return;
  retired = true;
  retiring = true;
  // Once the lobby has let the bot go, no notification can start another
  // thread; the ones running see retiring and skip their pauses.
  leaveServer();
  idle.lock();
  idle.unlock();
}

void VantorServerBot::threadStarted() {
  if (activeThreads.fetch_add(1) == 0) idle.lock();
}

void VantorServerBot::threadFinished() {
  if (activeThreads.fetch_sub(1) == 1) idle.unlock();
}

bool VantorServerBot::pause(int milliseconds) {
  // In short steps, so that a retiring bot is not kept waiting.
  const int kStep = 20;
  while (milliseconds > 0) {
    if (isRetiring()) return false;
    int step = std::min(milliseconds, kStep);
    platform::sleepMilliseconds(static_cast<unsigned>(step));
    milliseconds -= step;
  }
  return !isRetiring();
}

void VantorServerBot::notifyAskGame(VantorPlayer*, VantorServerGame* game) {
  if (lobby != nullptr && !isRetiring()) lobby->acceptGame(this, game);
}

void VantorServerBot::notifyMessage(VantorPlayer* from, const char* text, bool broadcast) {
  if (broadcast || from == nullptr || text == nullptr || lobby == nullptr || isRetiring()) return;
  // Without a thread the message simply goes unanswered.
  launch(new MessageThread(from->getId(), this, text, broadcast, &responder));
}

void VantorServerBot::notifyGameEvent(const VantorGameEvent& event) {
  if (event.type != YourTurn || event.position == nullptr || lobby == nullptr || isRetiring()) {
    return;
  }
  // Waits while the previous thinking thread has not yet taken its copy.
  handOver.lock();
  pendingPosition = *event.position;
  pendingGameId = event.gameId;
  // Without a thread the turn is lost, but the hand-over is released for the
  // next notice, which would otherwise wait for ever with the lobby held.
  if (!launch(new IosThread(this))) handOver.unlock();
}

bool VantorServerBot::launch(IosThread* thread) {
  threadStarted();
  thread->setDeleteOnExit(true);
  try {
    thread->startDetached();
    return true;
  } catch (Exception* e) {
    // The bot must not be left counting a thread that will never finish.
    e->print();
    delete e;
    delete thread;
    threadFinished();
    return false;
  }
}

void VantorServerBot::run() {
  VantorGame position = pendingPosition;
  int gameId = pendingGameId;
  // Released before anything else: the notifying thread may be waiting for
  // it while it holds the lobby's lock.
  handOver.unlock();
  try {
    if (!isRetiring()) {
      VantorCoords move = chooseMove(position);
      if (move.x != 0 && pause(movePause.load())) {
        lobby->playMove(gameId, this, static_cast<int8_t>(move.x), static_cast<int8_t>(move.y));
      }
    }
  } catch (Exception* e) {
    e->print();
    delete e;
  }
  threadFinished();
}

std::string VantorServerBot::getDescription() {
  return "This player is an AI.";
}

int VantorServerBot::chatPauseMilliseconds(const std::string& reply) {
  return (static_cast<int>(reply.size()) / 10 + 1) * 1000;
}

int VantorServerBot::chatPauseFor(const std::string& reply) const {
  int override = chatPauseOverride.load();
  return override >= 0 ? override : chatPauseMilliseconds(reply);
}

void VantorServerBot::setPausesForTesting(int movePauseMs, int chatPauseMs) {
  movePause = movePauseMs;
  chatPauseOverride = chatPauseMs;
}
