// The client's side of the protocol over one TCP connection to a game
// server: sends every request as one frame, reads the frames the server
// sends without ever blocking on a frame that has only partly arrived,
// parses each message, keeps its own copy of every game it plays or watches,
// and queues what the front end must hear of as events, in arrival order.
// News of a game that arrives before its first board (a quick first move)
// is applied to the copy at once and heard right after the game-started
// event.
//
// Frames are read whole, up to the 65535 payload bytes the length field
// allows; codes and framing are those of wire/VantorWire.h. Bad input from
// the server (a message too short for its fields, a string without its 0
// byte) is never read beyond its payload: short messages are dropped with a
// line on standard error, unterminated strings end with the payload. A
// request that cannot be sent closes the connection; the failure is thrown
// from the next receive().
//
// Connecting never blocks: the constructor that takes a host starts a
// ConnectionAttempt, and receive() opens the conversation once the attempt
// has connected (or throws its failure). Requests made meanwhile wait and
// follow the opening requests. A redirect (S27) connects the same way and
// then names the connection again with the nick-name last asked for.
//
// A game closed before its first board never reaches the front end: its
// copy and the events it held are freed at once.
//
// A client can also be built without a connection (for tests and fuzzing):
// it parses what handleMessage is given and writes its requests to a stream
// of the caller's, or drops them.
//
// Thread safety: none. Every operation runs on the one thread that uses
// the connection; the helper thread of a ConnectionAttempt shares nothing
// with it but the attempt's own locked record.
#ifndef VANTOR_CLIENT_VANTORCLIENT_H_
#define VANTOR_CLIENT_VANTORCLIENT_H_

#include <deque>
#include <memory>
#include <string>
#include <vector>

#include "client/ConnectionAttempt.h"
#include "client/VantorClientEvent.h"
#include "client/VantorClientGame.h"
#include "client/VantorGameOptions.h"
#include "ios/IosVector.h"
#include "wire/VantorFrameSplitter.h"

class Exception;
class IosOutputStream;
class Socket;
class VantorClientGameEvent;
class VantorMessageReader;

class VantorClient {
 public:
  static constexpr int kMaxNick = 1022;
  // Request limits that keep every request frame within 65535 bytes.
  static constexpr int kMaxSentNick = 65531;
  static constexpr int kMaxInvitedNick = 65529;
  static constexpr int kMaxMessagePart = 21845;

  // Starts connecting in the background and returns at once; receive()
  // opens the conversation once connected, or throws the Exception* of the
  // failure (the host not found or not reached within the time limit).
  VantorClient(const char* host, int port,
               int timeoutMilliseconds = ConnectionAttempt::kDefaultTimeoutMilliseconds);
  // Opens the conversation at once on a connected socket, which it owns.
  explicit VantorClient(Socket* connected);
  // No connection: requests go to requests (not owned), or nowhere if null.
  explicit VantorClient(IosOutputStream* requests);
  ~VantorClient();
  VantorClient(const VantorClient&) = delete;
  VantorClient& operator=(const VantorClient&) = delete;

  // Closes the connection and deletes every queued event. Games handed to
  // the front end stay its own; every other game is deleted.
  void disconnect();
  bool isConnected() const { return socket_ != nullptr; }
  // Still waiting for a connection (the first, or one after a redirect).
  bool isConnecting() const { return attempt_ != nullptr; }
  // Whether a conversation has ever been opened.
  bool hasOpened() const { return opened_; }

  // Reads and parses what has arrived; returns at once when nothing has. A
  // lost connection, or a request that could not be sent, throws Exception*.
  void receive();
  // Parses one server message; length counts the code byte.
  void handleMessage(const char* payload, int length);
  // The oldest queued event, or null; the caller owns it.
  VantorClientEvent* nextEvent();
  // The first known game with that id, or null.
  VantorClientGame* findGame(int id) const;
  // The nick-name last acknowledged by the server; empty until then.
  const char* getNickName() const { return nick_.c_str(); }

  void setNick(const char* nick);
  void getPlayerList();
  void askGame(const char* nick, VantorGameOptions options);
  void acceptGame(int gameId);
  void sendMessage(const char* text, const char* destination);
  void getBoard(VantorClientGame* game);
  void refuseGame(int gameId);
  void playMove(int gameId, int x, int y);
  void whoAmI();
  void getGameList();
  void spectate(int gameId);
  void abortGame(int gameId);
  void getPlayerInfo(const char* nick);
  void sendVersion();

 private:
  friend class VantorClientGame;

  // How one server message is read: the fixed-size fields it needs before
  // its strings, checked before parse runs, and its parser. length counts
  // the code byte.
  struct MessageParser {
    int code;
    int fixedBytes;
    void (VantorClient::*parse)(VantorMessageReader& in, int length);
  };
  // The parser of code, or null for a message that is ignored.
  static const MessageParser* parserFor(int code);
  void parsePlayerList(VantorMessageReader& in, int length);
  void parseAskGame(VantorMessageReader& in, int length);
  void parseChat(VantorMessageReader& in, int length);
  // A game started, or a spectated game accepted.
  void parseGameAnnounced(VantorMessageReader& in, int length);
  void parseBoard(VantorMessageReader& in, int length);
  void parsePlayerListChanged(VantorMessageReader& in, int length);
  void parseGameRefused(VantorMessageReader& in, int length);
  void parseInvalidMove(VantorMessageReader& in, int length);
  void parseMovePlayed(VantorMessageReader& in, int length);
  void parseMustPass(VantorMessageReader& in, int length);
  void parseGameOver(VantorMessageReader& in, int length);
  void parseWhoAmI(VantorMessageReader& in, int length);
  void parseNickRefused(VantorMessageReader& in, int length);
  void parseGameList(VantorMessageReader& in, int length);
  void parseSpectateRefused(VantorMessageReader& in, int length);
  void parseGameListChanged(VantorMessageReader& in, int length);
  void parseGameClosed(VantorMessageReader& in, int length);
  void parsePlayerInfo(VantorMessageReader& in, int length);
  void parseVersionRequest(VantorMessageReader& in, int length);
  void parseRedirect(VantorMessageReader& in, int length);

  void startConnecting(const char* host, int port);
  // Polls the attempt; true once the conversation is open.
  bool finishConnecting();
  void openConversation(Socket* connected);
  // Called by a game that is being deleted.
  void forgetGame(VantorClientGame* game);
  void addGame(int id);
  void queue(VantorClientEvent* e);
  void queueGameEvent(VantorClientGame* game, int kind);
  void queueGameEvent(VantorClientGameEvent* e);
  void releaseHeldEvents(VantorClientGame* game);
  void dropHeldEvents(VantorClientGame* game);
  void dropShortMessage(int code, int length);
  void throwPendingFailure();
  // Sends one request payload as one frame in one write; while connecting,
  // the frame waits.
  void send(const std::string& payload);
  void write(const std::string& frame);

  Socket* socket_;
  IosOutputStream* out_;
  std::deque<VantorClientEvent*> events_;
  // Events of games whose first board has not arrived yet; each follows its
  // game's game-started event, so that nobody hears of a game before it.
  std::deque<VantorClientGameEvent*> held_;
  IosVector games_;
  std::string nick_;
  std::string sendBuffer_;
  // Bytes as read from the socket, before they are cut into frames.
  std::vector<char> readBuffer_;
  VantorFrameSplitter frames_;
  // A redirect read from the server, carried out once its message is parsed.
  bool redirecting_;
  std::string redirectHost_;
  int redirectPort_;
  Exception* failure_;
  std::unique_ptr<ConnectionAttempt> attempt_;
  int timeoutMilliseconds_;
  // Frames of requests made while connecting, sent after the opening ones.
  std::string waiting_;
  // The nick-name last asked for with setNick, given again after a redirect.
  std::string chosenNick_;
  bool hasChosenNick_;
  bool opened_;
};

#endif  // VANTOR_CLIENT_VANTORCLIENT_H_
