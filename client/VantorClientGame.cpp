#include "client/VantorClientGame.h"

#include "client/VantorClient.h"
#include "client/VantorText.h"

VantorClientGame::VantorClientGame(int id)
    : id_(id), started_(false), outOfSync_(false), deferredEvent_(nullptr), client_(nullptr) {
  copyToField(whiteName_, sizeof whiteName_, "White");
  copyToField(blackName_, sizeof blackName_, "Black");
}

VantorClientGame::~VantorClientGame() {
  delete deferredEvent_;
  if (client_ != nullptr) client_->forgetGame(this);
}

void VantorClientGame::setBoard(const char* cells) {
  for (int y = 1; y <= 8; ++y) {
    for (int x = 1; x <= 8; ++x) {
      int8_t cell = static_cast<int8_t>(cells[(y - 1) * 8 + (x - 1)]);
      board_[toIndex(x, y)] = cell == kBlack || cell == kWhite ? cell : int8_t{kEmpty};
    }
  }
}

void VantorClientGame::setPlayerNames(const char* whiteName, const char* blackName) {
  copyToField(whiteName_, sizeof whiteName_, whiteName);
  copyToField(blackName_, sizeof blackName_, blackName);
}

const char* VantorClientGame::getPlayerName(int colour) const {
  return colour == kBlack ? blackName_ : whiteName_;
}

bool VantorClientGame::replayMove(int x, int y) {
  // The board has no room for coordinates off the 8 x 8 grid.
  if (x < 1 || x > 8 || y < 1 || y > 8) return false;
  return play(x, y);
}

bool VantorClientGame::deferEvent(VantorClientEvent* e) {
  if (!outOfSync_) return false;
  delete deferredEvent_;
  deferredEvent_ = e;
  return true;
}

VantorClientEvent* VantorClientGame::takeDeferredEvent() {
  VantorClientEvent* e = deferredEvent_;
  deferredEvent_ = nullptr;
  outOfSync_ = false;
  return e;
}
