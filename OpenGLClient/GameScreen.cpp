#include "OpenGLClient/GameScreen.h"

#include <GL/gl.h>

#include <algorithm>
#include <cmath>

#include "OpenGLClient/DiscMesh.h"
#include "OpenGLClient/GameScreenListener.h"
#include "OpenGLClient/Keys.h"
#include "OpenGLClient/MessageOverlay.h"
#include "OpenGLClient/Texture.h"
#include "OpenGLClient/TextureFont.h"
#include "OpenGLClient/WindowScale.h"
#include "game/VantorGame.h"

namespace vgl {

namespace {

constexpr float kPi = 3.14159265358979f;

// The greys of the two sides' discs and badges.
constexpr float kWhiteGrey = 0.85f;
constexpr float kBlackGrey = 0.2f;
const GLfloat kWhiteSpecular[] = {0.07f, 0.07f, 0.07f, 1};
const GLfloat kBlackSpecular[] = {0.5f, 0.5f, 0.5f, 1};

// White discs are matt; the last-move marker on a white disc is lit alike.
void setWhiteMaterial() {
  glColor4f(kWhiteGrey, kWhiteGrey, kWhiteGrey, 1);
  glMaterialfv(GL_FRONT, GL_SPECULAR, kWhiteSpecular);
  glMaterialf(GL_FRONT, GL_SHININESS, 10);
}

void queueNotice(const std::wstring& text, float seconds) {
  if (gMessageOverlay != nullptr) gMessageOverlay->pushMessage(text, seconds);
}

}  // namespace

GameScreen::GameScreen(GameScreenListener* listener, const std::string& dataDirectory)
    : shown_(false),
      listener_(listener),
      textFont_(nullptr),
      countFont_(nullptr),
      badgePhase_(0),
      blackCount_(2),
      whiteCount_(2),
      inputEnabled_(false),
      turn_(0),
      cursorColumn_(3),
      cursorRow_(3),
      cursorShown_(false),
      hintsShown_(true),
      cells_{},
      dataDirectory_(dataDirectory),
      texturesWanted_(false) {}

GameScreen::~GameScreen() = default;

void GameScreen::initialise(TextureFont* textFont, TextureFont* countFont) {
  textFont_ = textFont;
  statusFont_.setFont(textFont);
  countFont_ = countFont;
  badgePhase_ = 0;
  texturesWanted_ = true;
}

void GameScreen::loadTextures() {
  background_ = std::make_unique<Texture>(dataDirectory_ + "/PNG/gamebg.png", Texture::kOpaque);
  shadow_ = std::make_unique<Texture>(dataDirectory_ + "/PNG/shadow.png", Texture::kWithAlpha);
  whiteShadow_ =
      std::make_unique<Texture>(dataDirectory_ + "/PNG/white-shadow.png", Texture::kWithAlpha);
  texturesWanted_ = false;
}

void GameScreen::reset() {
  board_.reset();
  inputEnabled_ = false;
  turn_ = 0;
  blackCount_ = 2;
  whiteCount_ = 2;
  cursorColumn_ = 3;
  cursorRow_ = 3;
  cursorShown_ = false;
  clearBoard(cells_);
}

void GameScreen::takeGame(const VantorGame& game) {
  board_.update(game);
  for (int x = 1; x <= 8; ++x) {
    for (int y = 1; y <= 8; ++y) cells_[toIndex(x, y)] = static_cast<int8_t>(game.getCell(x, y));
  }
  whiteCount_ = game.count(kWhite);
  blackCount_ = game.count(kBlack);
}

void GameScreen::setTurnTexts(const std::wstring& black, const std::wstring& white) {
  blackToMove_ = black;
  whiteToMove_ = white;
}

void GameScreen::setResultTexts(const std::wstring& black, const std::wstring& white) {
  blackWins_ = black;
  whiteWins_ = white;
}

void GameScreen::setPassTexts(const std::wstring& black, const std::wstring& white) {
  blackPasses_ = black;
  whitePasses_ = white;
}

void GameScreen::showBlackToMove() {
  status_ = blackToMove_;
  turn_ = -1;
}

void GameScreen::showWhiteToMove() {
  status_ = whiteToMove_;
  turn_ = 1;
}

void GameScreen::showPassNotice() {
  if (turn_ == -1) status_ = blackPasses_;
  if (turn_ == 1) status_ = whitePasses_;
  queueNotice(status_, 2.0f);
  board_.kick();
}

void GameScreen::showAbandonNotice() {
  status_ = L"Abandon";
  queueNotice(L"Abandon", 3.0f);
  board_.kick();
}

void GameScreen::showInvalidMoveNotice() {
  status_ = L"Coup invalide";
  queueNotice(L"Coup invalide", 1.75f);
  board_.kick();
}

void GameScreen::showResult() {
  if (blackCount_ == whiteCount_) {
    status_ = L"Match nul";
  } else if (blackCount_ > whiteCount_) {
    status_ = blackWins_;
  } else {
    status_ = whiteWins_;
  }
  turn_ = 0;
  board_.kick();
}

void GameScreen::tick(float dt) {
  badgePhase_ += dt * 50;
  board_.tick(dt);
}

void GameScreen::click(int x, int y) {
  if (!inputEnabled_) return;
  if (!(x > 19 && x < 301 && y >= 20 && y < 301)) return;
  const int column = (x - 20) / 35;
  const int row = (y - 20) / 35;
  // x or y = 300 lies inside the tested rectangle but beyond the last cell.
  if (column > 7 || row > 7) return;
  play(row, column);
}

void GameScreen::play(int row, int column) {
  inputEnabled_ = false;
  listener_->playMove(row, column);
}

void GameScreen::key(int key) {
  switch (key) {
    case kKeyEscape:
      listener_->leaveGame();
      break;
    case kKeyLeft:
      moveCursor(-1, 0);
      break;
    case kKeyRight:
      moveCursor(1, 0);
      break;
    case kKeyUp:
      moveCursor(0, -1);
      break;
    case kKeyDown:
      moveCursor(0, 1);
      break;
    case 'h':
    case 'H':
      hintsShown_ = !hintsShown_;
      listener_->hintsToggled(hintsShown_);
      break;
    case kKeyEnter:
    case kKeySpace:
      if (inputEnabled_) play(cursorRow_, cursorColumn_);
      break;
    default:
      break;
  }
}

void GameScreen::moveCursor(int columns, int rows) {
  // The first arrow only shows the cursor where it is.
  if (cursorShown_) {
    cursorColumn_ = std::clamp(cursorColumn_ + columns, 0, 7);
    cursorRow_ = std::clamp(cursorRow_ + rows, 0, 7);
  }
  cursorShown_ = true;
}

void GameScreen::hover(int x, int y) {
  if (x < 20 || x >= 300 || y < 20 || y >= 300) return;
  cursorColumn_ = (x - 20) / 35;
  cursorRow_ = (y - 20) / 35;
}

void GameScreen::drawBackground() {
  if (!shown_) return;
  if (texturesWanted_) loadTextures();
  glDisable(GL_BLEND);
  if (background_) background_->drawFullScreen();
}

void GameScreen::drawDisc(int i, int j, float scale) const {
  const BoardView::Tilt tilt = board_.tilt(i, j);
  glPushMatrix();
  glTranslatef(BoardView::cellCentreX(i),
               static_cast<float>(kDesignHeight) - BoardView::cellCentreY(j) + (scale - 1), 0);
  glRotatef(90, 1, 0, 0);
  glRotatef(tilt.aboutZ, 0, 0, 1);
  glRotatef(tilt.aboutX, 1, 0, 0);
  glScalef(16 * scale, 16 * scale, 16 * scale);
  glDrawElements(GL_TRIANGLES, DiscMesh::kIndexCount, GL_UNSIGNED_SHORT, DiscMesh::indices());
  glPopMatrix();
}

void GameScreen::drawBadge(float x) const {
  // x itself is taken as radians, so the two badges rock out of step.
  const float phase = x + badgePhase_ * kPi / 180;
  glPushMatrix();
  glTranslatef(x, static_cast<float>(kDesignHeight) - 420, 0);
  glScalef(30, 30, 30);
  glRotatef(90, 1, 0, 0);
  glRotatef(std::cos(phase) * 30, 1, 0, 0);
  glRotatef(std::sin(phase) * 30, 0, 0, 1);
  glDrawElements(GL_TRIANGLES, DiscMesh::kIndexCount, GL_UNSIGNED_SHORT, DiscMesh::indices());
  glPopMatrix();
}

void GameScreen::draw() {
  if (!shown_) return;
  if (texturesWanted_) loadTextures();
  drawShadows();
  drawMarkers();
  beginLitDiscs();
  drawWhiteSide();
  drawBlackSide();
  drawLastMoveMarker();
  endLitDiscs();
  drawCounts();
  drawStatusLine();
  drawCursor();
}

void GameScreen::drawShadows() const {
  // White discs' shadows first, then black discs', all from the one picture.
  glEnable(GL_BLEND);
  glBlendFunc(GL_SRC_ALPHA, GL_ONE_MINUS_SRC_ALPHA);
  for (int colour : {1, -1}) {
    for (int i = 0; i < 8; ++i) {
      for (int j = 0; j < 8; ++j) {
        if (board_.colour(i, j) != colour) continue;
        const BoardView::Shadow s = board_.shadow(i, j);
        const float cx = BoardView::cellCentreX(i);
        const float y = static_cast<float>(kDesignHeight) - BoardView::cellCentreY(j);
        const float w = (1 - std::fabs(s.shift) / 25) * 25;
        glColor4f(1, 1, 1, s.opacity);
        if (shadow_) {
          shadow_->drawRect(cx + s.shift - w, y - 10 * s.heightFactor - 15, cx + s.shift + w,
                            y - 10 + 40 * s.heightFactor);
        }
      }
    }
  }
}

void GameScreen::beginLitDiscs() const {
  glColor4f(1, 1, 1, 1);
  glBlendFunc(GL_SRC_ALPHA, GL_ONE_MINUS_SRC_ALPHA);
  glEnable(GL_LIGHT0);
  glEnable(GL_LIGHTING);
  glCullFace(GL_BACK);
  glEnable(GL_CULL_FACE);

  const GLfloat ambient[] = {0.1f, 0.1f, 0.1f, 1};
  const GLfloat diffuse[] = {0.75f, 0.75f, 0.75f, 1};
  const GLfloat specular[] = {0.75f, 0.75f, 0.75f, 1};
  const GLfloat position[] = {160, 0, 250, 1};
  glLightfv(GL_LIGHT0, GL_AMBIENT, ambient);
  glLightfv(GL_LIGHT0, GL_DIFFUSE, diffuse);
  glLightfv(GL_LIGHT0, GL_SPECULAR, specular);
  glLightfv(GL_LIGHT0, GL_POSITION, position);

  glDisable(GL_TEXTURE_2D);
  glVertexPointer(3, GL_FLOAT, 0, DiscMesh::vertices());
  glNormalPointer(GL_FLOAT, 0, DiscMesh::normals());
  glEnableClientState(GL_VERTEX_ARRAY);
  glEnableClientState(GL_NORMAL_ARRAY);
  glEnable(GL_NORMALIZE);
}

void GameScreen::drawDiscsOf(int colour, float grey) const {
  for (int i = 0; i < 8; ++i) {
    for (int j = 0; j < 8; ++j) {
      if (board_.colour(i, j) != colour) continue;
      const float appear = board_.appear(i, j);
      const GLfloat material[] = {grey, grey, grey, appear};
      glMaterialfv(GL_FRONT, GL_AMBIENT_AND_DIFFUSE, material);
      if (appear < 0.99f) {
        glEnable(GL_BLEND);
      } else {
        glDisable(GL_BLEND);
      }
      drawDisc(i, j, 1);
    }
  }
}

void GameScreen::drawWhiteSide() const {
  setWhiteMaterial();
  glDisable(GL_BLEND);
  drawDiscsOf(1, kWhiteGrey);
  const GLfloat badge[] = {kWhiteGrey, kWhiteGrey, kWhiteGrey, 1};
  glMaterialfv(GL_FRONT, GL_AMBIENT_AND_DIFFUSE, badge);
  glDisable(GL_BLEND);
  drawBadge(70);
}

void GameScreen::drawBlackSide() const {
  glMaterialfv(GL_FRONT, GL_SPECULAR, kBlackSpecular);
  glMaterialf(GL_FRONT, GL_SHININESS, 32);
  glDisable(GL_BLEND);
  drawDiscsOf(-1, kBlackGrey);
  const GLfloat badge[] = {kBlackGrey, kBlackGrey, kBlackGrey, 1};
  glMaterialfv(GL_FRONT, GL_AMBIENT_AND_DIFFUSE, badge);
  glDisable(GL_BLEND);
  drawBadge(210);
}

void GameScreen::drawLastMoveMarker() const {
  // A small translucent red disc on the disc just placed.
  const int lastColumn = board_.lastColumn();
  const int lastRow = board_.lastRow();
  if (lastColumn == -1 || lastRow == -1) return;
  if (board_.colour(lastColumn, lastRow) == 1) setWhiteMaterial();
  const GLfloat marker[] = {0.85f, 0.2f, 0.2f, board_.appear(lastColumn, lastRow) * 0.5f};
  glMaterialfv(GL_FRONT, GL_AMBIENT_AND_DIFFUSE, marker);
  glEnable(GL_BLEND);
  drawDisc(lastColumn, lastRow, 0.4f);
}

void GameScreen::endLitDiscs() const {
  glDisableClientState(GL_VERTEX_ARRAY);
  glDisableClientState(GL_NORMAL_ARRAY);
  glDisable(GL_LIGHTING);
  glDisable(GL_CULL_FACE);
}

void GameScreen::drawCounts() const {
  if (countFont_ == nullptr) return;
  // The side that is not to move has its count dimmed.
  const float dim[] = {0.75f, 0.75f, 0.75f, 0.75f};
  if (turn_ == -1) {
    glColor4fv(dim);
  } else {
    glColor4f(1, 1, 1, 1);
  }
  countFont_->print(110, 388, L"%d", whiteCount_);
  if (turn_ == 1) {
    glColor4fv(dim);
  } else {
    glColor4f(1, 1, 1, 1);
  }
  countFont_->print(250, 388, L"%d", blackCount_);
}

void GameScreen::drawStatusLine() {
  glColor4f(1, 1, 1, 1);
  // The status may hold a player's name: it is drawn as it is, never as a
  // format.
  if (textFont_ != nullptr) statusFont_.printCentred(160, 320, kStatusWidth, status_);
}

bool GameScreen::showsMarker(int column, int row) const {
  // The screen's turn is the side whose move input waits for.
  return hintsShown_ && inputEnabled_ && turn_ != 0 &&
         isLegalOnBoard(cells_, toIndex(column + 1, row + 1), turn_);
}

// A faint disc of the colour to play, larger than the board's star points
// so that the two are not taken for each other.
void GameScreen::drawMarkers() const {
  glDisable(GL_TEXTURE_2D);
  glEnable(GL_BLEND);
  glBlendFunc(GL_SRC_ALPHA, GL_ONE_MINUS_SRC_ALPHA);
  const float grey = turn_ == kWhite ? kWhiteGrey : 0.05f;
  glColor4f(grey, grey, grey, 0.45f);
  for (int i = 0; i < 8; ++i) {
    for (int j = 0; j < 8; ++j) {
      if (!showsMarker(i, j)) continue;
      const float cx = BoardView::cellCentreX(i);
      const float cy = static_cast<float>(kDesignHeight) - BoardView::cellCentreY(j);
      glBegin(GL_TRIANGLE_FAN);
      glVertex2f(cx, cy);
      for (int k = 0; k <= 16; ++k) {
        const float a = static_cast<float>(k) * 2 * kPi / 16;
        glVertex2f(cx + 6.5f * std::cos(a), cy + 6.5f * std::sin(a));
      }
      glEnd();
    }
  }
  glColor4f(1, 1, 1, 1);
}

void GameScreen::drawCursor() const {
  if (!cursorShown_) return;
  // A thin lit square just inside the cell's lines, warm like the board's
  // light.
  const float left = BoardView::cellCentreX(cursorColumn_) - 15.5f;
  const float right = left + 31;
  const float top = static_cast<float>(kDesignHeight) - BoardView::cellCentreY(cursorRow_) + 15.5f;
  const float bottom = top - 31;
  glDisable(GL_TEXTURE_2D);
  glEnable(GL_BLEND);
  glBlendFunc(GL_SRC_ALPHA, GL_ONE_MINUS_SRC_ALPHA);
  glColor4f(1, 0.95f, 0.7f, 0.85f);
  glLineWidth(2 * gPixelScale);
  glBegin(GL_LINE_LOOP);
  glVertex2f(left, top);
  glVertex2f(right, top);
  glVertex2f(right, bottom);
  glVertex2f(left, bottom);
  glEnd();
  glLineWidth(1);
  glColor4f(1, 1, 1, 1);
}

}  // namespace vgl
