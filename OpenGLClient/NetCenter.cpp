#include "OpenGLClient/NetCenter.h"

#include <GL/gl.h>

#include "OpenGLClient/Band.h"
#include "OpenGLClient/Keys.h"
#include "OpenGLClient/NetCenterListener.h"
#include "OpenGLClient/TextureFont.h"
#include "client/GameClient.h"
#include "client/VantorText.h"

namespace vgl {

NetCenter::NetCenter(NetCenterListener* listener, const std::string& dataDirectory)
    : MenuScreen(dataDirectory, "/PNG/netcenter.png", kKept),
      state_(kIdle),
      upperHovered_(false),
      lowerHovered_(false),
      listener_(listener),
      connection_(nullptr),
      pendingGameId_(0),
      pendingBlackFlag_(0),
      hoveredPlayer_(0) {}

NetCenter::~NetCenter() = default;

void NetCenter::initialise() {
  state_ = kIdle;
  loadBackground();
  statusFont_ = loadFont("/TTF/matisse.ttf", 20);
  listFont_ = loadFont("/TTF/FreeSans.ttf", 11);
  markDirty();
  hoveredPlayer_ = 0;
}

bool NetCenter::offersChat() const {
  return state_ != kInvited;
}

bool NetCenter::offersGames() const {
  return state_ == kIdle;
}

void NetCenter::key(int key) {
  if (key == kKeyEscape) {
    listener_->leaveLobby();
  } else if (key == kKeyTab && offersChat()) {
    listener_->openChat();
  } else if ((key == 'p' || key == 'P') && offersGames()) {
    listener_->openGames();
  } else if (state_ == kIdle) {
    if (key == kKeyDown) moveHighlight(1);
    if (key == kKeyUp) moveHighlight(-1);
    if (key == kKeyRight) moveHighlight(kRowsPerColumn);
    if (key == kKeyLeft) moveHighlight(-kRowsPerColumn);
    if (key == kKeyEnter) invite(hoveredPlayer_);
    markDirty();
  }
}

void NetCenter::moveHighlight(int step) {
  const int count = static_cast<int>(players_.size());
  if (count == 0) return;
  if (hoveredPlayer_ < 0 || hoveredPlayer_ >= count) {
    hoveredPlayer_ = 0;
    return;
  }
  const int next = hoveredPlayer_ + step;
  if (next >= 0 && next < count) hoveredPlayer_ = next;
}

void NetCenter::invite(int entry) {
  hoveredPlayer_ = entry;
  if (connection_ && entry >= 0 && entry < static_cast<int>(players_.size())) {
    state_ = kInviting;
    invitee_ = players_[entry];
    status_ = L"Inviting " + invitee_ + L"...";
    listener_->invitePlayer(narrowText(invitee_));
  } else {
    invitee_.clear();
  }
}

void NetCenter::takeConnection(GameClient* connection) {
  connection_ = connection;
  reReadPlayers();
  status_ = L"Connected!";
  state_ = kIdle;
  markDirty();
}

void NetCenter::clearInvitation() {
  state_ = kIdle;
  hoveredPlayer_ = -1;
  status_.clear();
}

void NetCenter::reReadPlayers() {
  if (!connection_) return;
  players_.clear();
  const std::wstring& self = connection_->getNick();
  for (const std::string& name : connection_->getPlayerNames()) {
    std::wstring wide = widenText(name);
    if (!connection_->isPlaying(name) && wide != self) players_.push_back(wide);
  }
  markDirty();
}

void NetCenter::showInvitation(const std::string& name, int gameId, int blackFlag) {
  if (!connection_ || state_ != kIdle) {
    listener_->declineInvitation(gameId);
  } else {
    state_ = kInvited;
    status_ = widenText(name) + L" invites you!";
    pendingGameId_ = gameId;
    pendingBlackFlag_ = blackFlag;
  }
  markDirty();
}

void NetCenter::showRefusal(const std::string& name) {
  if (connection_ && state_ == kInviting) {
    state_ = kIdle;
    status_ = widenText(name) + L" declines";
  }
  markDirty();
}

void NetCenter::entryPosition(int k, int* x, int* y) {
  if (k < kRowsPerColumn) {
    *x = 30;
    *y = 55 + 19 * k;
  } else {
    *x = 170;
    *y = 55 + 19 * (k - kRowsPerColumn);
  }
}

int NetCenter::entryAt(int x, int y) {
  if (y <= 56 || y >= 305) return -1;
  int row = (y - 57) / 19;
  // Each column holds twelve entries; the rows below them are empty in both
  // columns, so they must not pick an entry of the other column.
  if (row >= kRowsPerColumn) return -1;
  return x >= 161 ? row + kRowsPerColumn : row;
}

void NetCenter::hover(int x, int y) {
  setHover(upperHovered_, kMiddleBand.holds(y));
  setHover(lowerHovered_, kLowerBand.holds(y));
  if (state_ == kIdle) {
    int entry = entryAt(x, y);
    if (entry != hoveredPlayer_) {
      hoveredPlayer_ = entry;
      markDirty();
    }
  }
}

void NetCenter::click(int x, int y) {
  if (offersChat() && kMiddleBand.holds(y)) {
    listener_->openChat();
    markDirty();
    return;
  }
  if (offersGames() && kLowerBand.holds(y)) {
    listener_->openGames();
    markDirty();
    return;
  }
  switch (state_) {
    case kInvited:
      if (kMiddleBand.holds(y)) {
        listener_->acceptInvitation(pendingGameId_, pendingBlackFlag_);
        clearInvitation();
      } else if (kLowerBand.holds(y)) {
        listener_->declineInvitation(pendingGameId_);
        clearInvitation();
      }
      break;
    case kIdle:
      // The entry under the click, not one left hovered earlier: a click on
      // the buttons or the status must not invite anybody.
      invite(entryAt(x, y));
      break;
    case kInviting:
      if (kLowerBand.holds(y)) {
        clearInvitation();
        listener_->cancelInvitation();
      }
      break;
  }
  markDirty();
}

void NetCenter::drawContents() {
  glEnable(GL_BLEND);
  glBlendFunc(GL_SRC_ALPHA, GL_ONE_MINUS_SRC_ALPHA);
  for (size_t k = 0; k < players_.size(); ++k) {
    int x, y;
    entryPosition(static_cast<int>(k), &x, &y);
    glColor4f(1, 1, 1, hoverAlpha(static_cast<int>(k) == hoveredPlayer_));
    listFont_->print(x, y, L"%ls", players_[k].c_str());
  }
  glColor4f(1, 1, 1, 1);
  statusFont_->printCentred(160, 320, L"%ls", status_.c_str());
  if (offersChat()) {
    glColor4f(1, 1, 1, hoverAlpha(upperHovered_));
    statusFont_->printCentred(160, 369, L"%ls", L"Discussion");
  }
  if (offersGames()) {
    glColor4f(1, 1, 1, hoverAlpha(lowerHovered_));
    statusFont_->printCentred(160, 418, L"%ls", L"Parties");
  } else if (state_ == kInviting) {
    glColor4f(1, 1, 1, hoverAlpha(lowerHovered_));
    statusFont_->printCentred(160, 418, L"%ls", L"Cancel invitation");
  } else if (state_ == kInvited) {
    glColor4f(1, 1, 1, hoverAlpha(upperHovered_));
    statusFont_->printCentred(160, 369, L"%ls", L"Accept");
    glColor4f(1, 1, 1, hoverAlpha(lowerHovered_));
    statusFont_->printCentred(160, 418, L"%ls", L"Decline");
  }
  glColor4f(1, 1, 1, 1);
  glDisable(GL_BLEND);
}

}  // namespace vgl
