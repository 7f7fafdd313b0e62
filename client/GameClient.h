// The front end's client connection: a VantorClient that carries the colour
// under which the front end knows it, keeps the player and game lists the
// lobby shows, and in one pump reads what has arrived and delivers every
// queued event to a GameClientListener.
//
// The pump never waits for the network. A failed connection is reported once
// with the crash message, closed, and announced with connectionLost; later
// pumps do nothing. A listener may destroy the connection from any of its
// calls; the pump then stops at once.
//
// Thread safety: none; everything runs on the front end's one thread.
#ifndef VANTOR_CLIENT_GAMECLIENT_H_
#define VANTOR_CLIENT_GAMECLIENT_H_

#include <string>
#include <vector>

#include "client/GameClientListener.h"
#include "client/VantorClient.h"

namespace vgl {

class GameClient : public VantorClient {
 public:
  struct GameEntry {
    int gameId;
    std::string firstName;   // black
    std::string secondName;  // white
  };

  // Connects and opens the conversation; throws the socket layer's
  // Exception* when that fails. listener is not owned and must not be null.
  GameClient(int colour, GameClientListener* listener, const char* host, int port);
  ~GameClient();

  // The pump, called once per tick of the front end.
  void update();

  // Invites nick; inviterColour -1 makes the inviter black, any other
  // colour makes the invited player black.
  void invite(const char* nick, int inviterColour);
  // Plays at (row, column), both counted 0..7 from the top left.
  void playAt(int gameId, int row, int column);

  int getColour() const { return colour_; }
  bool isReady() const { return ready_; }
  // True once the connection has failed and been closed.
  bool isLost() const { return lost_; }
  // The acknowledged nick-name, widened byte by byte.
  const std::wstring& getNick() const { return myName_; }
  const std::vector<std::string>& getPlayerNames() const { return playerNames_; }
  const std::vector<GameEntry>& getGameList() const { return gameList_; }
  // Whether name plays in any game of the game list.
  bool isPlaying(const std::string& name) const;

 private:
  void dispatch(VantorClientEvent* e);
  void checkReady();

  int colour_;
  std::vector<GameEntry> gameList_;
  std::wstring myName_;
  std::vector<std::string> playerNames_;
  GameClientListener* listener_;
  bool ready_;
  bool lost_;
  // Set while a pump runs: the destructor marks it, so that a pump whose
  // listener destroyed the connection touches nothing more.
  bool* destroyed_;
};

}  // namespace vgl

#endif  // VANTOR_CLIENT_GAMECLIENT_H_
