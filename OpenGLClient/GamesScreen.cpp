#include "OpenGLClient/GamesScreen.h"

#include <GL/gl.h>

#include <algorithm>

#include "OpenGLClient/Band.h"
#include "OpenGLClient/GamesScreenListener.h"
#include "OpenGLClient/Keys.h"
#include "OpenGLClient/TextureFont.h"
#include "client/VantorText.h"

namespace vgl {

GamesScreen::GamesScreen(GamesScreenListener* listener, const std::string& dataDirectory)
    : MenuScreen(dataDirectory, "/PNG/games.png", kKept),
      listener_(listener),
      selected_(-1),
      first_(0),
      backHovered_(false) {}

GamesScreen::~GamesScreen() = default;

void GamesScreen::initialise() {
  loadBackground();
  rowFont_ = loadFont("/TTF/FreeSans.ttf", 11);
  labelFont_ = loadFont("/TTF/matisse.ttf", 20);
  markDirty();
}

void GamesScreen::setGames(const std::vector<Game>& games, const std::string& self) {
  const int chosen = selected_ >= 0 ? rows_[selected_].gameId : -1;
  games_ = games;
  self_ = self;
  rebuild();
  selected_ = -1;
  for (size_t k = 0; k < rows_.size(); ++k) {
    if (rows_[k].gameId == chosen) selected_ = static_cast<int>(k);
  }
  select(selected_);
}

void GamesScreen::markRefused(int gameId) {
  refused_.insert(gameId);
  rebuild();
}

void GamesScreen::clear() {
  games_.clear();
  refused_.clear();
  rows_.clear();
  selected_ = -1;
  first_ = 0;
  markDirty();
}

void GamesScreen::rebuild() {
  rows_.clear();
  for (const Game& game : games_) {
    const bool own = game.black == self_ || game.white == self_;
    std::wstring text = widenText(game.black) + L" contre " + widenText(game.white);
    if (own) {
      text += L" (vous)";
    } else if (refused_.count(game.gameId) != 0) {
      text += L" (sans spectateurs)";
    }
    rows_.push_back({game.gameId, text, own});
  }
  markDirty();
}

void GamesScreen::select(int row) {
  const int count = static_cast<int>(rows_.size());
  selected_ = count == 0 ? -1 : std::min(std::max(row, -1), count - 1);
  if (selected_ >= 0 && selected_ < first_) first_ = selected_;
  if (selected_ >= first_ + kVisibleRows) first_ = selected_ - kVisibleRows + 1;
  first_ = std::max(0, std::min(first_, count - kVisibleRows));
  markDirty();
}

void GamesScreen::choose(int row) {
  if (row < 0 || row >= static_cast<int>(rows_.size()) || rows_[row].own) return;
  listener_->watchGame(rows_[row].gameId);
}

int GamesScreen::rowAt(int y) const {
  if (y < kFirstRowY) return -1;
  const int k = (y - kFirstRowY) / kRowStep;
  if (k >= kVisibleRows || first_ + k >= static_cast<int>(rows_.size())) return -1;
  return first_ + k;
}

void GamesScreen::key(int key) {
  if (key == kKeyEscape) {
    listener_->leaveGames();
  } else if (key == kKeyEnter) {
    choose(selected_);
  } else if (key == kKeyUp) {
    select(selected_ <= 0 ? 0 : selected_ - 1);
  } else if (key == kKeyDown) {
    select(selected_ + 1);
  }
}

void GamesScreen::click(int, int y) {
  if (kLowerBand.holds(y)) {
    listener_->leaveGames();
  } else {
    choose(rowAt(y));
  }
  markDirty();
}

void GamesScreen::hover(int, int y) {
  setHover(backHovered_, kLowerBand.holds(y));
  const int row = rowAt(y);
  if (row >= 0 && row != selected_) select(row);
}

void GamesScreen::drawContents() {
  glEnable(GL_BLEND);
  glBlendFunc(GL_SRC_ALPHA, GL_ONE_MINUS_SRC_ALPHA);
  if (rows_.empty()) {
    glColor4f(1, 1, 1, 0.6f);
    rowFont_->printCentred(160, kFirstRowY, L"%ls", L"Aucune partie sur ce serveur");
  }
  const int end = std::min(static_cast<int>(rows_.size()), first_ + kVisibleRows);
  for (int k = first_; k < end; ++k) {
    glColor4f(1, 1, 1, rows_[k].own ? 0.15f : hoverAlpha(k == selected_));
    rowFont_->print(kRowX, kFirstRowY + kRowStep * (k - first_), L"%ls", rows_[k].text.c_str());
  }
  glColor4f(1, 1, 1, hoverAlpha(backHovered_));
  labelFont_->printCentred(160, 418, L"%ls", L"Retour");
  glColor4f(1, 1, 1, 1);
  glDisable(GL_BLEND);
}

}  // namespace vgl
