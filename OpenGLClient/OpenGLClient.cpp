#include "OpenGLClient/OpenGLClient.h"

#include <GL/freeglut.h>

#include <algorithm>
#include <array>
#include <cstdio>
#include <cstdlib>
#include <iostream>
#include <vector>

#include "OpenGLClient/Keys.h"
#include "OpenGLClient/Texture.h"
#include "OpenGLClient/TextureFont.h"
#include "client/GameClient.h"
#include "client/VantorClientGame.h"
#include "client/VantorText.h"
#include "ios/Exception.h"
#include "ios/Platform.h"

namespace vgl {

namespace {

// The one client, for the GLUT callbacks.
Client* gClient = nullptr;

const char* const kLocalHost = "127.0.0.1";
const wchar_t* const kConnectionLost = L"Connexion perdue";
const wchar_t* const kConnecting = L"Connexion...";
const wchar_t* const kGameClosed =
    L"Partie ferm\xe9"
    L"e";

// The local centre lists the opponents by the display names of the table,
// one band each.
static_assert(LocalCenter::kOpponents == kComputerPlayerCount, "one band per computer player");
const wchar_t* const* opponentDisplayNames() {
  static const std::array<const wchar_t*, kComputerPlayerCount> names = [] {
    std::array<const wchar_t*, kComputerPlayerCount> all{};
    for (int k = 0; k < kComputerPlayerCount; ++k) all[k] = kComputerPlayers[k].displayName;
    return all;
  }();
  return names.data();
}

GameClient* openConnection(int colour, GameClientListener* listener, const std::string& host,
                           int port) {
  return new GameClient(colour, listener, host.c_str(), port);
}

}  // namespace

Client::Client(char* serverStatus, const std::string& dataDirectory)
    : state_(MainMenuState),
      mainMenu_(this, dataDirectory),
      netCenter_(this, dataDirectory),
      localCenter_(this, dataDirectory, opponentDisplayNames()),
      colorSelect_(this, dataDirectory),
      joinServerMenu_(this, dataDirectory),
      gameOverMenu_(this, dataDirectory),
      messages_(dataDirectory),
      blackIsHuman_(false),
      whiteIsHuman_(false),
      gameScreen_(this, dataDirectory),
      settings_(Settings::defaultPath()),
      chatScreen_(this, dataDirectory),
      gamesScreen_(this, dataDirectory),
      watchAsked_(-1),
      spectating_(false),
      serverStatus_(serverStatus),
      lastTick_(-1.0),
      dataDirectory_(dataDirectory),
      dirty_(true),
      menuRate_(10),
      minimumRate_(2),
      myColour_(0),
      turn_(-1),
      whiteInvited_(false),
      opponentIndex_(0),
      redrawWanted_(false),
      connectionFactory_(openConnection),
      quitAction_([] { std::exit(0); }),
      statusHeld_(false),
      pointerKnown_(false),
      pointerX_(0),
      pointerY_(0),
      hoverState_(MainMenuState) {
  gClient = this;
  gMessageOverlay = &messages_;
  mainMenu_.show();
  settings_.load(std::cerr);
  gameScreen_.setHintsShown(settings_.hints());
}

Client::~Client() {
  dropGames();
  for (Seat& s : seats_) delete s.connection;
  if (gClient == this) gClient = nullptr;
  if (gMessageOverlay == &messages_) gMessageOverlay = nullptr;
}

// --- Window and GLUT callbacks -----------------------------------------

void Client::run() {
  initialise();
  glutMainLoop();
}

void Client::initialise() {
  glutInitDisplayMode(GLUT_RGB | GLUT_DOUBLE);
  const int multiple =
      WindowScale::initialMultiple(glutGet(GLUT_SCREEN_WIDTH), glutGet(GLUT_SCREEN_HEIGHT));
  glutInitWindowSize(kDesignWidth * multiple, kDesignHeight * multiple);
  // The fonts below are rasterised for the window about to open.
  gPixelScale = static_cast<float>(multiple);
  glutCreateWindow("Vantor");
  glDisable(GL_DEPTH_TEST);
  glDepthMask(GL_FALSE);
  glShadeModel(GL_SMOOTH);
  lastTick_ = -1.0;
  glutDisplayFunc(displayCallback);
  glutKeyboardFunc(keyboardCallback);
  glutSpecialFunc(specialCallback);
  timerCallback(1);
  glutReshapeFunc(reshapeCallback);
  glutMouseFunc(mouseCallback);
  glutPassiveMotionFunc(motionCallback);

  smallFont_ = TextureFont::load(dataDirectory_ + "/TTF/matisse.ttf", 20);
  mediumFont_ = TextureFont::load(dataDirectory_ + "/TTF/matisse.ttf", 30);
  largeFont_ = TextureFont::load(dataDirectory_ + "/TTF/matisse.ttf", 35);

  state_ = MainMenuState;
  mainMenu_.setFont(smallFont_.get());
  mainMenu_.show();
  joinServerMenu_.initialise();
  netCenter_.initialise();
  chatScreen_.initialise();
  gamesScreen_.initialise();
  localCenter_.setFont(smallFont_.get());
  colorSelect_.setFont(smallFont_.get());
  gameScreen_.initialise(smallFont_.get(), mediumFont_.get());
  gameOverMenu_.setFont(largeFont_.get());
  messages_.setFont(largeFont_.get());
}

void Client::displayCallback() {
  gClient->display();
}

void Client::display() {
  glMatrixMode(GL_MODELVIEW);
  glLoadIdentity();
  glClearColor(0, 0, 0, 0);
  glClearDepth(1.0);
  glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
  glDisable(GL_DEPTH_TEST);
  glDepthMask(GL_FALSE);
  drawBands();

  mainMenu_.draw();
  joinServerMenu_.draw();
  gameScreen_.drawBackground();
  gameScreen_.draw();
  gameOverMenu_.draw();
  netCenter_.draw();
  chatScreen_.draw();
  gamesScreen_.draw();
  localCenter_.draw();
  colorSelect_.draw();
  messages_.draw();

  glutSwapBuffers();
  dirty_ = false;
  GLenum error = glGetError();
  if (error != GL_NO_ERROR) {
    std::fprintf(stderr, "OpenGL Error: %s:%d, %d\n", __FILE__, __LINE__, static_cast<int>(error));
  }
}

void Client::keyboardCallback(unsigned char key, int, int) {
  gClient->keyboard(key);
}

void Client::specialCallback(int key, int, int) {
  gClient->keyboard(kSpecialKeys + key);
}

// The left, middle and right buttons act as a click; only the press counts.
// freeglut reports the wheel as buttons 3 (away from the user) and 4, and
// the side buttons as 5 and up: one turn of the wheel must not press what
// lies under the pointer.
void Client::mouseCallback(int button, int buttonState, int x, int y) {
  if (button > GLUT_RIGHT_BUTTON) {
    if (buttonState == GLUT_DOWN && (button == 3 || button == 4)) {
      gClient->wheel(button == 3 ? 1 : -1);
      if (gClient->anyScreenDirty()) glutPostRedisplay();
    }
    return;
  }
  const WindowScale& scale = gClient->windowScale_;
  gClient->mouse(buttonState == GLUT_DOWN, scale.designX(x), scale.designY(y));
}

void Client::motionCallback(int x, int y) {
  const WindowScale& scale = gClient->windowScale_;
  gClient->motion(scale.designX(x), scale.designY(y));
  // A hover light changes at once rather than at the next menu tick.
  if (gClient->anyScreenDirty()) glutPostRedisplay();
}

// Everything is drawn in the design's coordinates into the rectangle where
// the design is shown; texts follow the new pixel scale at their next draw.
void Client::reshapeCallback(int width, int height) {
  const WindowScale& scale = gClient->windowScale_ = WindowScale(width, height);
  gPixelScale = scale.factor();
  glViewport(scale.left(), scale.viewportY(), scale.width(), scale.height());
  glMatrixMode(GL_PROJECTION);
  glLoadIdentity();
  glOrtho(0, kDesignWidth, 0, kDesignHeight, -1000, 1000);
  glMatrixMode(GL_MODELVIEW);
}

// The screens' backgrounds share one sky (kSkyTop to kSkyBottom in
// OpenGLClient/tools/MakePictures.cpp); these are its colours at the top and
// the bottom of the part the design shows. At the design's own shape the
// screens cover all of it.
void Client::drawBands() const {
  const WindowScale& s = windowScale_;
  if (s.width() == s.windowWidth() && s.height() == s.windowHeight()) return;
  const float top[3] = {30 / 255.0f, 58 / 255.0f, 88 / 255.0f};
  const float bottom[3] = {9 / 255.0f, 20 / 255.0f, 32 / 255.0f};
  const float w = static_cast<float>(s.windowWidth());
  const float h = static_cast<float>(s.windowHeight());
  const float designTop = h - s.top();
  const float designBottom = designTop - s.height();
  glViewport(0, 0, s.windowWidth(), s.windowHeight());
  glMatrixMode(GL_PROJECTION);
  glPushMatrix();
  glLoadIdentity();
  glOrtho(0, w, 0, h, -1, 1);
  glPushAttrib(GL_ENABLE_BIT | GL_CURRENT_BIT);
  glDisable(GL_TEXTURE_2D);
  glDisable(GL_LIGHTING);
  glDisable(GL_BLEND);
  glBegin(GL_QUADS);
  const float rows[4][2] = {{h, 0}, {designTop, 0}, {designBottom, 1}, {0, 1}};
  for (int band = 0; band < 3; ++band) {
    for (int corner = 0; corner < 4; ++corner) {
      // Corners in order: top left, top right, bottom right, bottom left.
      const float* row = rows[band + (corner >= 2 ? 1 : 0)];
      const float t = row[1];
      glColor3f(top[0] + (bottom[0] - top[0]) * t, top[1] + (bottom[1] - top[1]) * t,
                top[2] + (bottom[2] - top[2]) * t);
      glVertex2f(corner == 1 || corner == 2 ? w : 0, row[0]);
    }
  }
  glEnd();
  glPopAttrib();
  glPopMatrix();
  glMatrixMode(GL_MODELVIEW);
  glViewport(s.left(), s.viewportY(), s.width(), s.height());
}

void Client::timerCallback(int value) {
  if (value == 0) {
    gClient->tick(static_cast<double>(platform::monotonicMilliseconds()) * 0.001);
    if (gClient->redrawWanted()) glutPostRedisplay();
  }
  glutTimerFunc(1000 / gClient->frameRate(), timerCallback, 0);
}

// --- Window-free core ----------------------------------------------------

void Client::tick(double now) {
  if (lastTick_ < 0) lastTick_ = now - 0.0001;
  const float dt = std::min(std::max(static_cast<float>(now - lastTick_), 0.0f), kMaxTimeStep);
  // A listener call may close a connection (a lost one); each pointer is
  // read again before its pump.
  for (Seat& s : seats_) {
    if (s.connection) s.connection->update();
  }
  refreshHover();

  netCenter_.reReadPlayers();
  gameScreen_.tick(dt);
  gameOverMenu_.tick(dt);
  messages_.tick(dt);

  redrawWanted_ = anyScreenDirty() || gameScreen_.isShown() || messages_.hasMessages() || dirty_;
  lastTick_ = now;
}

bool Client::anyScreenDirty() const {
  return mainMenu_.isDirty() || joinServerMenu_.isDirty() || netCenter_.isDirty() ||
         localCenter_.isDirty() || colorSelect_.isDirty() || chatScreen_.isDirty() ||
         gamesScreen_.isDirty();
}

void Client::refreshHover() {
  if (!pointerKnown_ || hoverState_ == state_) return;
  hoverState_ = state_;
  const int x = pointerX_, y = pointerY_;
  withCurrentScreen([x, y](auto& screen) { screen.hover(x, y); });
}

int Client::frameRate() const {
  if (inGame()) {
    return std::max(minimumRate_, static_cast<int>(gameScreen_.currentRate()));
  }
  return std::max(menuRate_, minimumRate_);
}

template <class Action>
void Client::withCurrentScreen(Action action) {
  switch (state_) {
    case MainMenuState:
      action(mainMenu_);
      break;
    case JoinServerState:
      action(joinServerMenu_);
      break;
    case NetCenterState:
      action(netCenter_);
      break;
    case LocalCenterState:
      action(localCenter_);
      break;
    case ColorSelectState:
      action(colorSelect_);
      break;
    case GameState:
      action(gameScreen_);
      break;
    case GameOverState:
      action(gameOverMenu_);
      break;
    case ChatState:
      action(chatScreen_);
      break;
    case GamesState:
      action(gamesScreen_);
      break;
  }
}

void Client::keyboard(int key) {
  withCurrentScreen([key](auto& screen) { screen.key(key); });
  dirty_ = true;
  refreshHover();
}

void Client::mouse(bool buttonDown, int x, int y) {
  if (!buttonDown) return;
  pointerKnown_ = true;
  pointerX_ = x;
  pointerY_ = y;
  withCurrentScreen([x, y](auto& screen) { screen.click(x, y); });
  dirty_ = true;
  refreshHover();
}

void Client::wheel(int turns) {
  if (state_ == ChatState) chatScreen_.scroll(turns * ChatScreen::kWheelLines);
}

void Client::motion(int x, int y) {
  pointerKnown_ = true;
  pointerX_ = x;
  pointerY_ = y;
  hoverState_ = state_;
  withCurrentScreen([x, y](auto& screen) { screen.hover(x, y); });
}

// --- Main menu, local centre, colour selection --------------------------

void Client::quit() {
  quitAction_();
}

void Client::playLocal() {
  state_ = LocalCenterState;
  localCenter_.show();
  mainMenu_.hide();
}

void Client::playOnInternet() {
  state_ = JoinServerState;
  joinServerMenu_.show();
  mainMenu_.hide();
}

void Client::backFromLocalCenter() {
  state_ = MainMenuState;
  mainMenu_.show();
  localCenter_.hide();
}

void Client::playTwoPlayers() {
  startLocalGame(true, true);
}

void Client::chooseComputerOpponent(int index) {
  opponentIndex_ = std::min(std::max(index, 0), kOpponents - 1);
  state_ = ColorSelectState;
  localCenter_.hide();
  colorSelect_.show();
}

void Client::backFromColorSelect() {
  state_ = MainMenuState;
  mainMenu_.show();
  colorSelect_.hide();
}

void Client::playBlack() {
  startLocalGame(true, false);
}

void Client::playWhite() {
  startLocalGame(false, true);
}

void Client::startLocalGame(bool blackIsHuman, bool whiteIsHuman) {
  state_ = GameState;
  blackIsHuman_ = blackIsHuman;
  whiteIsHuman_ = whiteIsHuman;
  try {
    auto open = [this](int colour) {
      seat(colour).connection = connectionFactory_(colour, this, kLocalHost, localPort_);
    };
    if (whiteIsHuman) open(kWhiteSeat);
    if (blackIsHuman) open(kBlackSeat);
  } catch (Exception* e) {
    e->print();
    delete e;
    closeLocalConnections();
    localCenter_.hide();
    colorSelect_.hide();
    state_ = MainMenuState;
    mainMenu_.show();
    messages_.appendMessage(L"Echec", 3.0f);
    return;
  }
  myColour_ = blackIsHuman ? -1 : 1;
  whiteInvited_ = false;
  turn_ = -1;
  statusHeld_ = false;
  gameScreen_.reset();
  // Until the game starts, whoever is to move, the status line tells that
  // the connections are being opened.
  gameScreen_.setTurnTexts(kConnecting, kConnecting);
  gameScreen_.showBlackToMove();
  gameScreen_.show();
  localCenter_.hide();
  colorSelect_.hide();
}

// --- Join-server menu and lobby -------------------------------------------

void Client::backFromJoinServer() {
  if (net()) {
    // Escape while connecting gives up the connection and stays here.
    closeConnection(kNetSeat);
    joinServerMenu_.setConnecting(false);
    return;
  }
  state_ = MainMenuState;
  mainMenu_.show();
  joinServerMenu_.hide();
}

void Client::connectToServer(const std::string& host, int port, const std::string& nick) {
  // Pressed again while connecting: the attempt under way goes on.
  if (net()) return;
  try {
    seat(kNetSeat).connection = connectionFactory_(kNetSeat, this, host, port);
  } catch (Exception* e) {
    e->print();
    delete e;
    backToMainMenuWith(L"CNX Echec");
    return;
  }
  // Sent once connected, after the opening requests.
  net()->setNick(nick.c_str());
  joinServerMenu_.setConnecting(true);
}

void Client::leaveLobby() {
  state_ = MainMenuState;
  // An invitation left pending belongs to this connection, not the next.
  netCenter_.forgetConnection();
  netCenter_.clearInvitation();
  netCenter_.hide();
  chatScreen_.clear();
  gamesScreen_.clear();
  mainMenu_.show();
  closeConnection(kNetSeat);
}

void Client::acceptInvitation(int gameId, int blackFlag) {
  if (!net()) return;
  net()->acceptGame(gameId);
  blackIsHuman_ = blackFlag != 0;
  whiteIsHuman_ = !blackIsHuman_;
}

void Client::declineInvitation(int gameId) {
  // Also while a game hides the lobby: an invitation declined automatically
  // must reach the inviter, who would otherwise wait for ever.
  if (net()) net()->refuseGame(gameId);
}

void Client::invitePlayer(const std::string& name) {
  if (!net()) return;
  net()->invite(name.c_str(), -1);
  blackIsHuman_ = true;
  whiteIsHuman_ = false;
}

void Client::cancelInvitation() {
  if (net()) net()->withdrawInvitation();
}

void Client::openChat() {
  state_ = ChatState;
  netCenter_.hide();
  chatScreen_.show();
}

void Client::leaveChat() {
  state_ = NetCenterState;
  chatScreen_.hide();
  netCenter_.show();
}

void Client::openGames() {
  state_ = GamesState;
  netCenter_.hide();
  showGameList();
  gamesScreen_.show();
}

void Client::showGameList() {
  if (!net()) return;
  std::vector<GamesScreen::Game> games;
  for (const GameClient::GameEntry& entry : net()->getGameList()) {
    games.push_back({entry.gameId, entry.firstName, entry.secondName});
  }
  gamesScreen_.setGames(games, net()->getNickName());
}

void Client::leaveGames() {
  state_ = NetCenterState;
  gamesScreen_.hide();
  netCenter_.show();
}

void Client::watchGame(int gameId) {
  if (!net()) return;
  // Asked again after Escape, the server answers again and goes on telling
  // each move once.
  watchAsked_ = gameId;
  net()->spectate(gameId);
}

void Client::spectateRefused(int colour, int gameId) {
  if (colour != kNetSeat) return;
  gamesScreen_.markRefused(gameId);
  if (gameId == watchAsked_) {
    watchAsked_ = -1;
    messages_.appendMessage(L"Spectateurs non admis", 3.0f);
  }
}

void Client::sendChat(const std::string& addressee, const std::string& text) {
  if (!net()) return;
  net()->sendMessage(text.c_str(), addressee.c_str());
  // The server echoes a line to everybody to its sender too, but not a
  // private one.
  if (!addressee.empty()) {
    chatScreen_.addSent(net()->getNick(), widenText(addressee), widenText(text));
  }
}

// --- Game screen and game-over menu ---------------------------------------

void Client::playMove(int row, int column) {
  // A local game is played through the connection of the side to move
  // (turn_ is always -1 or 1).
  const Seat& s = seat(myColour_ == 0 ? kNetSeat : turn_);
  if (s.connection && s.game) s.connection->playAt(s.game->getId(), row, column);
}

void Client::hintsToggled(bool shown) {
  settings_.setHints(shown);
  settings_.save(std::cerr);
}

void Client::dropGames() {
  // A game whose connection is gone cannot be left on the server, but the
  // object is ours all the same.
  for (Seat& s : seats_) {
    if (s.game && s.connection && !spectating_) s.connection->abortGame(s.game->getId());
    delete s.game;
    s.game = nullptr;
  }
}

void Client::forgetGame(int colour) {
  Seat& s = seat(colour);
  delete s.game;
  s.game = nullptr;
}

void Client::closeConnection(int colour) {
  Seat& s = seat(colour);
  delete s.connection;
  s.connection = nullptr;
}

void Client::closeLocalConnections() {
  closeConnection(kBlackSeat);
  closeConnection(kWhiteSeat);
}

void Client::leaveGame() {
  dropGames();
  spectating_ = false;
  gameScreen_.hide();
  if (netCenter_.hasConnection()) {
    state_ = NetCenterState;
    netCenter_.show();
  } else {
    state_ = MainMenuState;
    closeLocalConnections();
    mainMenu_.show();
  }
}

void Client::gameOverDismissed() {
  gameOverMenu_.hide();
  leaveGame();
}

// --- Connection events ------------------------------------------------------

void Client::clientReady(int colour) {
  if (colour == kNetSeat && state_ == JoinServerState && net()) {
    // The server has answered: the lobby replaces "Connexion...".
    joinServerMenu_.setConnecting(false);
    joinServerMenu_.hide();
    state_ = NetCenterState;
    netCenter_.show();
  }
  if (state_ == NetCenterState) {
    netCenter_.takeConnection(net());
  } else if (state_ == GameState) {
    if (blackIsHuman_ != whiteIsHuman_) {
      // One person against a computer player: the person's connection
      // invites it, for the person's colour.
      const int human = blackIsHuman_ ? kBlackSeat : kWhiteSeat;
      GameClient* connection = seat(human).connection;
      if (connection) connection->invite(kComputerPlayers[opponentIndex_].nick, human);
    } else if (blackIsHuman_ && whiteIsHuman_) {
      // Each connection names itself when it is ready. Renaming both on
      // each readiness would also clear "White invited" after the black
      // side may have invited, and "White" would be invited twice.
      GameClient* ready = seat(colour).connection;
      if (colour == kBlackSeat && ready) {
        ready->setNick("Black");
        inviteWhiteIfListed();
      }
      if (colour == kWhiteSeat && ready) ready->setNick("White");
    }
  }
  turn_ = -1;
}

void Client::playerListChanged(int colour) {
  if (state_ == NetCenterState) {
    dirty_ = true;
    netCenter_.reReadPlayers();
  } else if (state_ == GameState && colour == -1) {
    inviteWhiteIfListed();
  }
}

void Client::inviteWhiteIfListed() {
  // White accepts only an invitation from "Black": the black side invites
  // once it is ready, that is once it has asked for that name.
  GameClient* black = seat(kBlackSeat).connection;
  if (!blackIsHuman_ || !whiteIsHuman_ || whiteInvited_ || !black || !black->isReady()) {
    return;
  }
  for (const std::string& name : black->getPlayerNames()) {
    if (name == "White") {
      whiteInvited_ = true;
      black->invite("White", -1);
      break;
    }
  }
}

void Client::gameListChanged(int colour) {
  if (state_ == NetCenterState) {
    netCenter_.reReadPlayers();
  } else if (state_ == GamesState && colour == kNetSeat && net()) {
    showGameList();
  } else if (state_ == GameState && spectating_ && colour == kNetSeat && seat(kNetSeat).game &&
             !isListed(seat(kNetSeat).game->getId())) {
    // An invitation withdrawn or refused before it started goes without a
    // word to its spectators.
    stopWatching(kGameClosed);
  } else if (state_ == GameState && colour == kNetSeat && myColour_ == kNetSeat &&
             seat(kNetSeat).game) {
    // The players' names of an internet game come with the game list, which
    // usually arrives just after the first board.
    setStatusTexts(kNetSeat, *seat(kNetSeat).game);
    if (!statusHeld_) showTurn();
  }
}

void Client::gameStarted(int colour, VantorClientGame* game) {
  if (inLobby()) {
    state_ = GameState;
    netCenter_.clearInvitation();
    netCenter_.hide();
    chatScreen_.hide();
    gamesScreen_.hide();
    myColour_ = 0;
    spectating_ = colour == kNetSeat && game->getId() == watchAsked_;
    gameScreen_.reset();
    gameScreen_.show();
  }
  if (state_ != GameState) {
    // Nobody shows this game: it is left on the server, or its opponent
    // would wait for ever, and the object is ours to free all the same.
    discardGame(colour, game);
    return;
  }
  VantorClientGame*& slot = seat(colour).game;
  if (slot && slot != game) {
    // The game being played stays; the newcomer is left on the server.
    discardGame(colour, game);
    return;
  }
  slot = game;
  if (spectating_) startWatching(game);
  if (colour == myColour_) {
    statusHeld_ = false;
    setStatusTexts(colour, *game);
    gameScreen_.takeGame(*game);
  }
  if (spectating_) {
    followTurn(*game);
  } else {
    blackToMove(colour);
  }
}

void Client::startWatching(VantorClientGame* game) {
  watchAsked_ = -1;
  blackIsHuman_ = false;
  whiteIsHuman_ = false;
  for (const GameClient::GameEntry& entry : net()->getGameList()) {
    if (entry.gameId == game->getId()) {
      game->setPlayerNames(entry.secondName.c_str(), entry.firstName.c_str());
    }
  }
  // The board does not say who is to move. Unless someone has passed, an
  // odd number of discs placed means white; a side without a move has
  // passed.
  if ((game->count(kBlack) + game->count(kWhite)) % 2 == 1) game->switchTurn();
  if (game->checkPass() == 1) game->switchTurn();
}

bool Client::isListed(int gameId) const {
  for (const GameClient::GameEntry& entry : net()->getGameList()) {
    if (entry.gameId == gameId) return true;
  }
  return false;
}

void Client::followTurn(const VantorClientGame& game) {
  if (game.getTurn() == kBlack) {
    blackToMove(kNetSeat);
  } else {
    whiteToMove(kNetSeat);
  }
}

void Client::stopWatching(const wchar_t* notice) {
  leaveGame();
  if (notice) messages_.appendMessage(notice, 3.0f);
}

void Client::discardGame(int colour, VantorClientGame* game) {
  GameClient* connection = seat(colour).connection;
  // A game asked to watch is not the user's to leave.
  if (connection && game->getId() != watchAsked_) connection->abortGame(game->getId());
  delete game;
}

void Client::setStatusTexts(int colour, const VantorClientGame& game) {
  if (spectating_) {
    const std::wstring black = L" (" + widenText(game.getPlayerName(kBlack)) + L")";
    const std::wstring white = L" (" + widenText(game.getPlayerName(kWhite)) + L")";
    gameScreen_.setTurnTexts(L"Aux noirs" + black + L" de jouer",
                             L"Aux blancs" + white + L" de jouer");
    gameScreen_.setResultTexts(L"Les noirs" + black + L" gagnent",
                               L"Les blancs" + white + L" gagnent");
    gameScreen_.setPassTexts(L"Les noirs" + black + L" passent",
                             L"Les blancs" + white + L" passent");
    return;
  }
  std::wstring opponent;
  if (colour == 0) {
    opponent = widenText(game.getPlayerName(blackIsHuman_ ? 1 : -1));
  } else {
    opponent = kComputerPlayers[opponentIndex_].displayName;
  }
  StatusTexts texts = statusTexts(blackIsHuman_, whiteIsHuman_, opponent);
  gameScreen_.setTurnTexts(texts[0], texts[1]);
  gameScreen_.setResultTexts(texts[2], texts[3]);
  gameScreen_.setPassTexts(texts[4], texts[5]);
}

Client::StatusTexts Client::statusTexts(bool blackIsHuman, bool whiteIsHuman,
                                        const std::wstring& opponent) {
  if (whiteIsHuman && !blackIsHuman) {
    return {
        L"C'est a " + opponent + L" de jouer", L"C'est votre tour", opponent + L" wins", L"You win",
        opponent + L" " + L"doit passer",      L"Vous devez passer"};
  }
  if (blackIsHuman && !whiteIsHuman) {
    return {L"C'est votre tour",  L"C'est a " + opponent + L" de jouer",
            L"You win",           opponent + L" wins",
            L"Vous devez passer", opponent + L" " + L"doit passer"};
  }
  return {L"Aux noirs de jouer", L"Aux blancs de jouer", L"Les noirs gagnent",
          L"Les blancs gagnent", L"Les noirs passent",   L"Les blancs passent"};
}

void Client::blackToMove(int colour) {
  if (state_ != GameState || colour != myColour_) return;
  turn_ = -1;
  statusHeld_ = false;
  gameScreen_.showBlackToMove();
  if (blackIsHuman_) gameScreen_.acceptInput();
}

void Client::whiteToMove(int colour) {
  if (state_ != GameState || colour != myColour_) return;
  turn_ = 1;
  statusHeld_ = false;
  gameScreen_.showWhiteToMove();
  if (whiteIsHuman_) gameScreen_.acceptInput();
}

void Client::flipTurn(int colour) {
  if (turn_ != -1) {
    blackToMove(colour);
  } else {
    whiteToMove(colour);
  }
}

void Client::showTurn() {
  if (turn_ == -1) {
    gameScreen_.showBlackToMove();
  } else {
    gameScreen_.showWhiteToMove();
  }
}

void Client::gameChanged(int colour) {
  if (state_ != GameState) return;
  VantorClientGame* game = seat(colour).game;
  if (spectating_ && colour == kNetSeat && game) {
    followTurn(*game);
  } else {
    flipTurn(colour);
  }
  if (colour == myColour_ && game) gameScreen_.takeGame(*game);
}

void Client::moveRejected(int) {
  if (state_ != GameState) return;
  gameScreen_.showInvalidMoveNotice();
  statusHeld_ = true;
  gameScreen_.acceptInput();
}

void Client::gameEnded(int colour) {
  if (state_ != GameState || colour != myColour_) return;
  gameScreen_.showResult();
  state_ = GameOverState;
  gameOverMenu_.show();
}

void Client::gameAbandoned(int colour) {
  if (state_ != GameState || colour != myColour_) return;
  if (spectating_) {
    stopWatching(kGameClosed);
    return;
  }
  gameScreen_.showAbandonNotice();
  statusHeld_ = true;
}

void Client::playerPassed(int colour) {
  if (colour != myColour_ || state_ != GameState) return;
  gameScreen_.showPassNotice();
  VantorClientGame* game = seat(colour).game;
  if (spectating_ && game) {
    followTurn(*game);
  } else {
    flipTurn(colour);
  }
}

void Client::gameProposed(int colour, const char* inviter, int gameId, int blackFlag) {
  if (colour == 0) {
    netCenter_.showInvitation(inviter ? inviter : "", gameId, blackFlag);
    // The lobby offers it; the chat and the games screen step aside for it.
    if (netCenter_.invitationState() == NetCenter::kInvited) {
      if (state_ == ChatState) leaveChat();
      if (state_ == GamesState) leaveGames();
    }
  } else if (GameClient* local = seat(colour).connection) {
    // The white side of two people at one screen accepts the black side's
    // invitation; anyone else inviting a local connection is turned down,
    // or a second game would start under the one being played.
    bool expected = colour == kWhiteSeat && state_ == GameState && blackIsHuman_ && whiteIsHuman_ &&
                    !seat(kWhiteSeat).game && inviter && std::string(inviter) == "Black";
    if (expected) {
      local->acceptGame(gameId);
    } else {
      local->refuseGame(gameId);
    }
  }
  dirty_ = true;
}

void Client::gameRefused(int, const char* name) {
  if (inLobby()) netCenter_.showRefusal(name ? name : "");
  dirty_ = true;
}

void Client::nickRefused(int, const char*) {
  if (state_ == NetCenterState) {
    messages_.appendMessage(L"Nick name was refused by server", 3.0f);
  }
}

void Client::messageReceived(int colour, const char* sender, const char* text, bool broadcast) {
  if (colour != kNetSeat) return;
  const std::wstring from = widenText(sender);
  chatScreen_.addReceived(from, widenText(text), !broadcast);
  if (!broadcast && state_ != ChatState) {
    messages_.appendMessage(L"Message priv\xe9 de " + from, 3.0f);
  }
}

void Client::backToMainMenuWith(const wchar_t* notice) {
  gameOverMenu_.hide();
  gameScreen_.hide();
  netCenter_.hide();
  chatScreen_.hide();
  gamesScreen_.hide();
  joinServerMenu_.hide();
  localCenter_.hide();
  colorSelect_.hide();
  state_ = MainMenuState;
  mainMenu_.show();
  messages_.appendMessage(notice, 3.0f);
}

void Client::connectionFailed(int colour) {
  if (colour == 0) {
    if (!net()) return;
    // The connection is in its own pump; it allows being destroyed here.
    closeConnection(kNetSeat);
    joinServerMenu_.setConnecting(false);
    if (state_ == JoinServerState) backToMainMenuWith(L"CNX Echec");
    return;
  }
  if (!seat(colour).connection) return;
  const bool starting = inGame() && myColour_ != 0;
  closeLocalConnections();
  forgetGame(kBlackSeat);
  forgetGame(kWhiteSeat);
  if (starting) backToMainMenuWith(L"Echec");
}

void Client::connectionLost(int colour) {
  if (colour == 0 && net() && state_ == JoinServerState) {
    // Closed before the lobby was reached: the server could not be joined.
    connectionFailed(0);
    return;
  }
  if (colour == 0) {
    if (!net()) return;
    bool playing = inGame() && myColour_ == 0;
    if (playing) forgetGame(kNetSeat);
    netCenter_.forgetConnection();
    netCenter_.clearInvitation();
    chatScreen_.clear();
    gamesScreen_.clear();
    spectating_ = false;
    // The connection is in its own pump; it allows being destroyed here.
    closeConnection(kNetSeat);
    if (playing || inLobby()) backToMainMenuWith(kConnectionLost);
    return;
  }
  if (!seat(colour).connection) return;
  bool playing = inGame() && myColour_ != 0;
  forgetGame(kBlackSeat);
  forgetGame(kWhiteSeat);
  closeLocalConnections();
  if (playing) backToMainMenuWith(kConnectionLost);
}

}  // namespace vgl
