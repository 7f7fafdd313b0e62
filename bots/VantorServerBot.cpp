#include "bots/VantorServerBot.h"

#include <chrono>
#include <iostream>

VantorServerBot::VantorServerBot(VantorLobby* server, const std::string& name)
    : VantorPlayer(server, name),
      lobby_(server),
      movePause_(kMovePauseMilliseconds),
      chatPauseOverride_(-1),
      waitingReplies_(0),
      retiring_(false),
      retired_(false) {
  // Without a thread now, the first notification tries again.
  worker_.start();
}

VantorServerBot::~VantorServerBot() {
  retire();
}

void VantorServerBot::retire() {
  if (retired_) return;
  retired_ = true;
  retiring_ = true;
  // Once the lobby has let the bot go no notification can queue another
  // job, so the worker can be stopped for good.
  leaveServer();
  worker_.stop();
}

void VantorServerBot::notifyAskGame(VantorPlayer*, VantorServerGame* game) {
  if (lobby_ != nullptr && !isRetiring()) lobby_->acceptGame(this, game);
}

void VantorServerBot::notifyMessage(VantorPlayer* from, const char* text, bool broadcast) {
  if (broadcast || from == nullptr || text == nullptr || lobby_ == nullptr || isRetiring()) return;
  if (waitingReplies_.fetch_add(1) >= kMaxWaitingReplies) {
    waitingReplies_.fetch_sub(1);
    std::cerr << getName() << ": chat reply dropped, " << kMaxWaitingReplies << " already waiting"
              << std::endl;
    return;
  }
  std::string reply = responder_.replyTo(text);
  const uint64_t senderId = from->getId();
  const auto due = VantorBotWorker::Clock::now() + std::chrono::milliseconds(chatPauseFor(reply));
  worker_.schedule(due, [this, senderId, reply] {
    waitingReplies_.fetch_sub(1);
    lobby_->sendMessageToId(this, senderId, reply.c_str());
  });
}

void VantorServerBot::notifyGameEvent(const VantorGameEvent& event) {
  if (event.type != YourTurn || event.position == nullptr || lobby_ == nullptr || isRetiring()) {
    return;
  }
  // The copy is taken here, inside the lobby operation: by the time the
  // worker gets to it the game may have moved on or be gone.
  const int gameId = event.gameId;
  worker_.post([this, position = VantorGame(*event.position), gameId] { think(position, gameId); });
}

void VantorServerBot::think(const VantorGame& position, int gameId) {
  const VantorCoords move = chooseMove(position);
  if (move.x == 0) return;
  // Measured from the end of the search, so a long search is not followed
  // by a shorter pause.
  const auto due = VantorBotWorker::Clock::now() + std::chrono::milliseconds(movePause_.load());
  worker_.schedule(due, [this, gameId, move] {
    lobby_->playMove(gameId, this, static_cast<int8_t>(move.x), static_cast<int8_t>(move.y));
  });
}

std::string VantorServerBot::getDescription() {
  return "This player is an AI.";
}

int VantorServerBot::chatPauseMilliseconds(const std::string& reply) {
  return (static_cast<int>(reply.size()) / 10 + 1) * 1000;
}

int VantorServerBot::chatPauseFor(const std::string& reply) const {
  int override = chatPauseOverride_.load();
  return override >= 0 ? override : chatPauseMilliseconds(reply);
}

void VantorServerBot::setPausesForTesting(int movePauseMs, int chatPauseMs) {
  movePause_ = movePauseMs;
  chatPauseOverride_ = chatPauseMs;
}
