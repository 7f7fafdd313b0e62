// The graphical client: owns the window, every screen, the timed message
// overlay and up to three connections to game servers (the local black and
// white players, and internet play). It receives every user-interface
// callback and every connection event, and it is the only place where the
// current screen changes; screens and connections report to it through
// their listener interfaces.
//
// Local games are played through the local server (127.0.0.1, port 4567
// unless the start-up says on which port the client's own server child is):
// one connection per human colour, which invites the chosen computer player
// or, for two people at one screen, "Black" invites "White". Internet games
// go through the lobby of a server whose host the user types in. The
// lobby's chat keeps its lines whatever screen is shown; a private line
// also brings a short notice over any screen, a line to everybody does not.
// The lobby's games screen lists the server's games; a game chosen there
// is watched on the game screen, without input, until Escape, its end or
// its closing. Leaving a watched game sends nothing: the server would take
// a request to leave a game as deleting it from one who plays it, and the
// news it still sends of that game is ignored once the game is forgotten.
//
// The window may take any size: the screens are drawn in the design's 320 x
// 480 coordinates, scaled and centred (WindowScale), and pointer positions
// are mapped back before they reach a screen.
//
// The window-free part (state, reactions, tick, frame rate, input routing)
// works without GLUT, and connections are opened through a factory that
// tests can replace; run() alone needs a display.
//
// Connecting never holds up the window: a connection resolves and connects
// on a helper thread of its own (ConnectionAttempt) while the window goes on
// drawing; the join-server menu says "Connexion..." and Escape gives up, and
// a local game's status line says it until the game starts.
//
// Thread safety: GLUT thread only. The client takes no lock; connections are
// pumped from the tick, and their connecting helpers never touch the client.
#ifndef VANTOR_OPENGLCLIENT_OPENGLCLIENT_H_
#define VANTOR_OPENGLCLIENT_OPENGLCLIENT_H_

#include <array>
#include <functional>
#include <memory>
#include <string>

#include "OpenGLClient/ChatScreen.h"
#include "OpenGLClient/ChatScreenListener.h"
#include "OpenGLClient/ColorSelect.h"
#include "OpenGLClient/ColorSelectListener.h"
#include "OpenGLClient/GameOverMenu.h"
#include "OpenGLClient/GameOverMenuListener.h"
#include "OpenGLClient/GameScreen.h"
#include "OpenGLClient/GameScreenListener.h"
#include "OpenGLClient/GamesScreen.h"
#include "OpenGLClient/GamesScreenListener.h"
#include "OpenGLClient/JoinServerMenu.h"
#include "OpenGLClient/JoinServerMenuListener.h"
#include "OpenGLClient/LocalCenter.h"
#include "OpenGLClient/LocalCenterListener.h"
#include "OpenGLClient/MainMenu.h"
#include "OpenGLClient/MainMenuListener.h"
#include "OpenGLClient/MessageOverlay.h"
#include "OpenGLClient/NetCenter.h"
#include "OpenGLClient/NetCenterListener.h"
#include "OpenGLClient/Settings.h"
#include "OpenGLClient/WindowScale.h"
#include "client/GameClientListener.h"
#include "wire/VantorComputerPlayers.h"

class TextureFont;
class VantorClientGame;

namespace vgl {

class GameClient;

enum ScreenState {
  MainMenuState = 0,
  JoinServerState = 1,
  NetCenterState = 2,
  LocalCenterState = 3,
  ColorSelectState = 4,
  GameState = 5,
  GameOverState = 6,
  ChatState = 7,
  GamesState = 8
};

class Client : private MainMenuListener,
               private GameScreenListener,
               private GameClientListener,
               private GameOverMenuListener,
               private JoinServerMenuListener,
               private NetCenterListener,
               private LocalCenterListener,
               private ColorSelectListener,
               private ChatScreenListener,
               private GamesScreenListener {
 public:
  // The computer opponents: those of the computer players' table, in its
  // order (nick-names to invite them by, display names for the texts).
  static constexpr int kOpponents = kComputerPlayerCount;
  static constexpr int kPort = 4567;

  // The six status texts of a game: black to move, white to move, black
  // wins, white wins, black passes, white passes.
  using StatusTexts = std::array<std::wstring, 6>;

  // Makes a connection reporting to listener. It connects in the background
  // and reports a failure through connectionFailed; an Exception* thrown
  // here is taken as the same failure.
  using ConnectionFactory = std::function<GameClient*(int colour, GameClientListener* listener,
                                                      const std::string& host, int port)>;

  // serverStatus: the entry point's status record, kept and never read.
  Client(char* serverStatus, const std::string& dataDirectory);
  ~Client() override;
  Client(const Client&) = delete;
  Client& operator=(const Client&) = delete;

  // Opens the window and enters the GLUT main loop; never returns.
  void run();

  // The longest time step handed to the screens: after a stall (a slow
  // frame, a suspended process) animations and notices resume where they
  // were instead of jumping to their end.
  static constexpr float kMaxTimeStep = 0.25f;

  // One step of the front end at time now (seconds): pumps the connections,
  // advances the screens and decides whether a redraw is wanted.
  void tick(double now);
  bool redrawWanted() const { return redrawWanted_; }
  // Frames per second the timer asks for in the current state.
  int frameRate() const;
  // A character, or a special key moved above them (OpenGLClient/Keys.h).
  void keyboard(int key);
  // buttonDown: the button went down (releases are ignored).
  void mouse(bool buttonDown, int x, int y);
  // Turns of the mouse wheel, positive away from the user; never a click.
  void wheel(int turns);
  void motion(int x, int y);

  void setConnectionFactory(ConnectionFactory factory) { connectionFactory_ = std::move(factory); }
  // What quit does; ends the process with status 0 unless replaced.
  void setQuitAction(std::function<void()> action) { quitAction_ = std::move(action); }
  // The port of the local server that local games connect to.
  void setLocalPort(int port) { localPort_ = port; }
  int localPort() const { return localPort_; }

  static StatusTexts statusTexts(bool blackIsHuman, bool whiteIsHuman,
                                 const std::wstring& opponent);

  ScreenState state() const { return state_; }
  int myColour() const { return myColour_; }
  int turn() const { return turn_; }
  bool blackIsHuman() const { return blackIsHuman_; }
  bool whiteIsHuman() const { return whiteIsHuman_; }
  int opponentIndex() const { return opponentIndex_; }
  const MainMenu& mainMenu() const { return mainMenu_; }
  const NetCenter& netCenter() const { return netCenter_; }
  const LocalCenter& localCenter() const { return localCenter_; }
  const ColorSelect& colorSelect() const { return colorSelect_; }
  const JoinServerMenu& joinServerMenu() const { return joinServerMenu_; }
  const GameOverMenu& gameOverMenu() const { return gameOverMenu_; }
  const MessageOverlay& messages() const { return messages_; }
  const GameScreen& gameScreen() const { return gameScreen_; }
  const ChatScreen& chatScreen() const { return chatScreen_; }
  const GamesScreen& gamesScreen() const { return gamesScreen_; }
  // Whether the game shown is one the user watches.
  bool spectating() const { return spectating_; }
  const GameClient* blackClient() const { return seat(kBlackSeat).connection; }
  const GameClient* whiteClient() const { return seat(kWhiteSeat).connection; }
  const GameClient* netClient() const { return seat(kNetSeat).connection; }

 private:
  // MainMenuListener
  void quit() override;
  void playLocal() override;
  void playOnInternet() override;
  // GameScreenListener
  void leaveGame() override;
  void playMove(int row, int column) override;
  void hintsToggled(bool shown) override;
  // GameClientListener
  void clientReady(int colour) override;
  void playerListChanged(int colour) override;
  void gameListChanged(int colour) override;
  void gameStarted(int colour, VantorClientGame* game) override;
  void gameChanged(int colour) override;
  void moveRejected(int colour) override;
  void gameEnded(int colour) override;
  void gameAbandoned(int colour) override;
  void playerPassed(int colour) override;
  void gameProposed(int colour, const char* inviter, int gameId, int blackFlag) override;
  void gameRefused(int colour, const char* name) override;
  void nickRefused(int colour, const char* text) override;
  void messageReceived(int colour, const char* sender, const char* text, bool broadcast) override;
  void spectateRefused(int colour, int gameId) override;
  void connectionFailed(int colour) override;
  void connectionLost(int colour) override;
  // GameOverMenuListener
  void gameOverDismissed() override;
  // JoinServerMenuListener
  void backFromJoinServer() override;
  void connectToServer(const std::string& host, int port, const std::string& nick) override;
  // NetCenterListener
  void leaveLobby() override;
  void acceptInvitation(int gameId, int blackFlag) override;
  void declineInvitation(int gameId) override;
  void invitePlayer(const std::string& name) override;
  void cancelInvitation() override;
  void openChat() override;
  void openGames() override;
  // ChatScreenListener
  void leaveChat() override;
  void sendChat(const std::string& addressee, const std::string& text) override;
  // GamesScreenListener
  void leaveGames() override;
  void watchGame(int gameId) override;
  // LocalCenterListener
  void backFromLocalCenter() override;
  void playTwoPlayers() override;
  void chooseComputerOpponent(int index) override;
  // ColorSelectListener
  void backFromColorSelect() override;
  void playBlack() override;
  void playWhite() override;

  void initialise();
  void display();
  // The bands around the scaled design: its background's vertical gradient
  // beside it, its top and bottom colours above and below it.
  void drawBands() const;
  static void displayCallback();
  static void keyboardCallback(unsigned char key, int x, int y);
  static void specialCallback(int key, int x, int y);
  static void mouseCallback(int button, int buttonState, int x, int y);
  static void motionCallback(int x, int y);
  static void reshapeCallback(int width, int height);
  static void timerCallback(int value);

  // Calls action with the screen that takes input in the current state.
  template <class Action>
  void withCurrentScreen(Action action);
  void startLocalGame(bool blackIsHuman, bool whiteIsHuman);
  // Two people at one screen: the black connection invites "White" once it
  // has named itself and sees that name.
  void inviteWhiteIfListed();
  void flipTurn(int colour);
  void blackToMove(int colour);
  void whiteToMove(int colour);
  void showTurn();
  void setStatusTexts(int colour, const VantorClientGame& game);
  // A watched game: its players' names from the game list, the side to
  // move guessed from the discs, the turn shown as the copy has it.
  void startWatching(VantorClientGame* game);
  void followTurn(const VantorClientGame& game);
  // Whether the internet connection's game list holds gameId.
  bool isListed(int gameId) const;
  // The games screen takes the internet connection's game list.
  void showGameList();
  // Back to the lobby from a watched game, with notice unless null.
  void stopWatching(const wchar_t* notice);
  // One of the three connections and the game it plays, named by the colour
  // its events carry: black (-1) and white (+1) play local games, 0 plays on
  // the internet. seat() is the one place where a colour picks a connection.
  struct Seat {
    GameClient* connection = nullptr;
    VantorClientGame* game = nullptr;
  };
  static constexpr int kBlackSeat = -1;
  static constexpr int kWhiteSeat = 1;
  static constexpr int kNetSeat = 0;
  static constexpr int seatIndex(int colour) { return colour < 0 ? 0 : colour > 0 ? 1 : 2; }
  Seat& seat(int colour) { return seats_[seatIndex(colour)]; }
  const Seat& seat(int colour) const { return seats_[seatIndex(colour)]; }
  // The internet connection, which the lobby's callbacks use alone.
  GameClient* net() const { return seat(kNetSeat).connection; }
  // Deletes the connection of colour, if any; its game stays.
  void closeConnection(int colour);
  // Deletes the game of colour, if any, without leaving it on the server.
  void forgetGame(int colour);
  // Leaves game on the server through the connection of colour and deletes it.
  void discardGame(int colour, VantorClientGame* game);
  void dropGames();
  void closeLocalConnections();
  void backToMainMenuWith(const wchar_t* notice);
  // Gives the screen that takes input the last pointer position, once per
  // change of state, so that no hover light outlives its screen change.
  void refreshHover();
  bool anyScreenDirty() const;
  bool inGame() const { return state_ == GameState || state_ == GameOverState; }
  // The lobby or the chat or games screen, which live on top of it.
  bool inLobby() const {
    return state_ == NetCenterState || state_ == ChatState || state_ == GamesState;
  }

  ScreenState state_;
  MainMenu mainMenu_;
  NetCenter netCenter_;
  LocalCenter localCenter_;
  ColorSelect colorSelect_;
  JoinServerMenu joinServerMenu_;
  GameOverMenu gameOverMenu_;
  MessageOverlay messages_;
  // Black, white, internet: the order in which they are pumped and deleted.
  std::array<Seat, 3> seats_;
  bool blackIsHuman_;
  bool whiteIsHuman_;
  GameScreen gameScreen_;
  // Read once at start; written each time H changes the markers.
  Settings settings_;
  // Keeps the lines of the internet connection while other screens are shown.
  ChatScreen chatScreen_;
  GamesScreen gamesScreen_;
  // The game last asked to watch, until it starts or is refused; -1 if none.
  int watchAsked_;
  bool spectating_;
  // Kept unread: every mode is handed the process's status record; no server runs in this one.
  char* serverStatus_;
  double lastTick_;
  std::string dataDirectory_;
  bool dirty_;
  int menuRate_;
  int minimumRate_;
  int myColour_;
  int turn_;
  bool whiteInvited_;
  std::unique_ptr<TextureFont> smallFont_;
  std::unique_ptr<TextureFont> mediumFont_;
  std::unique_ptr<TextureFont> largeFont_;
  int opponentIndex_;
  bool redrawWanted_;
  ConnectionFactory connectionFactory_;
  std::function<void()> quitAction_;
  int localPort_ = kPort;
  // The status line shows a notice (invalid move, abandon) that only a move
  // of the game replaces; list news must leave it.
  bool statusHeld_;
  // The last pointer position seen, and the state whose screen has had it.
  bool pointerKnown_;
  int pointerX_;
  int pointerY_;
  ScreenState hoverState_;
  WindowScale windowScale_;
};

}  // namespace vgl

#endif  // VANTOR_OPENGLCLIENT_OPENGLCLIENT_H_
