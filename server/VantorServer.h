// The lobby of one game server: the registry of connected players (people
// behind network connections and the computer players), the list of games
// (open invitations and running or finished games), and the operations
// through which players invite, accept, refuse, abort, play, watch, chat and
// rename themselves. It talks to players only through the VantorPlayer
// notifications and writes a one-line log of arrivals, departures,
// invitations and renames, and an "ERROR" line for each dropped request, to
// standard error.
//
// The lobby owns its games from invitation until refusal, abort or the
// departure of one of their players. It never owns the players; it must
// outlive every player registered with it.
//
// Thread safety: every operation takes the lobby's re-entrant lock for its
// whole run, so requests of the server thread, moves and chat replies of the
// computer players' threads and the notifications they cause are
// serialised. A notification may call back into the lobby on the same thread
// (a computer player accepts from inside notifyAskGame). A caller that uses a
// game or player pointer across several calls (find, then read the board)
// brackets them with lock() and unlock() so that nothing changes between
// them. Never wait for another thread that needs the lobby while holding it
// (never destroy a computer player while holding it: the destructor waits for
// the player's threads). A player registers from its base constructor, so
// while other threads use the lobby, players are built under lock().
#ifndef VANTOR_SERVER_VANTORSERVER_H_
#define VANTOR_SERVER_VANTORSERVER_H_

#include <cstddef>
#include <cstdint>
#include <string>

#include "bots/VantorLobby.h"
#include "ios/IosRecursiveLock.h"

class IosVector;
class VantorPlayer;
class VantorServerGame;

class VantorServer final : public VantorLobby {
 public:
  static constexpr int kMaxPlayers = 24;
  // Bounds that keep the game list within one S19 frame (32767 bytes): at
  // most kMaxGames games of at most 4 + 2 * (kMaxNickLength + 1) bytes each.
  // A player holds at most kMaxGamesPerPlayer places in games (a game
  // against itself holds two); nick-names are cut to kMaxNickLength bytes.
  static constexpr int kMaxGames = 384;
  static constexpr int kMaxGamesPerPlayer = 32;
  static constexpr size_t kMaxNickLength = 32;

  VantorServer();
  // Deletes neither the players nor the games still listed.
  ~VantorServer();
  VantorServer(const VantorServer&) = delete;
  VantorServer& operator=(const VantorServer&) = delete;

  // At most kMaxPlayers; set before players arrive.
  void setMaxPlayers(int count);
  // Whether the private-message log line carries the text (a public server
  // keeps its players' private messages out of its log).
  void setPrivateTextLogged(bool logged);

  // Holds the lobby across several calls (re-entrant; pair every lock with
  // an unlock on the same thread).
  void lock();
  void unlock();

  // Registry. A full lobby leaves the player unregistered (it learns it from
  // isRegistered) and notifies nobody, but still logs the arrival.
  void registerPlayer(VantorPlayer* player) override;
  // Abandons the player's games (the other player gets the game list and
  // then GameClosed), removes it from every spectator list and from the
  // registry, and tells the others, unless it is named "Black" or "White".
  void unregisterPlayer(VantorPlayer* player) override;
  int getPlayerCount();
  // The nick-name of the player at index; throws Exception("Invalid player
  // index") outside 0..count-1.
  std::string getPlayerName(int index);
  // The first registered player with exactly that nick-name, or null.
  VantorPlayer* findPlayerByName(const char* nick);
  // The registered player with that unique id, or null.
  VantorPlayer* findPlayerById(uint64_t id);
  // out = the player's description, or empty when nobody has that nick-name.
  void getPlayerDescription(const char* nick, std::string& out);
  // Renames player to nick, cut to kMaxNickLength bytes.
  bool changePlayerNickName(VantorPlayer* player, const std::string& nick);
  // The sender of the server's own notices; never registered.
  VantorPlayer* getAdministrator() { return administrator_; }

  // Games.
  int getGameCount();
  // The game at index, or null with an ERROR line.
  VantorServerGame* getGame(int index);
  VantorServerGame* findGameById(int id);
  // x invites y. With colour 0, x is player 1 (black) and y player 2; with
  // any other colour, y is player 1 and x player 2. Dropped, with an ERROR
  // line, when the server or a person involved has no room for the game.
  void initiateGameFromXWithY(VantorPlayer* x, VantorPlayer* y, int8_t colour,
                              bool allowSpectators);
  void acceptGame(VantorPlayer* player, VantorServerGame* game) override;
  void refuseGame(VantorPlayer* player, VantorServerGame* game);
  // Removes the game when player plays in it (true); every registered player
  // re-reads the game list in any case.
  bool abortGameRequest(VantorPlayer* player, int gameId);
  void playMove(int gameId, VantorPlayer* player, int8_t x, int8_t y) override;
  bool initiateSpectateMode(int gameId, VantorPlayer* player);

  // Chat.
  void broadcastMessage(VantorPlayer* from, const char* text);
  void sendMessage(VantorPlayer* from, VantorPlayer* to, const char* text) override;
  void sendMessageToId(VantorPlayer* from, uint64_t toId, const char* text) override;
  void sendAdminMessage(VantorPlayer* to, const char* text);

 private:
  bool isListedPlayer(const VantorPlayer* player) const;
  // The places player holds in listed games: player 1, player 2, or both.
  int placesHeld(const VantorPlayer* player) const;
  // Whether x may invite y; an ERROR line when not.
  bool hasRoomForGame(VantorPlayer* x, VantorPlayer* y) const;
  int indexOfGame(const VantorServerGame* game) const;
  void removeGame(VantorServerGame* game);
  void notifyPlayerListChangedToAll();
  void notifyGameListChangedToAll();

  IosVector* players_;
  IosVector* games_;
  IosRecursiveLock* lobbyLock_;
  int maxPlayers_;
  bool privateTextLogged_;
  VantorPlayer* administrator_;
};

#endif  // VANTOR_SERVER_VANTORSERVER_H_
