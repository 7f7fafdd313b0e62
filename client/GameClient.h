// The front end's client connection: a VantorClient that carries the colour
// under which the front end knows it, keeps the player and game lists the
// lobby shows, and in one pump reads what has arrived and delivers every
// queued event to a GameClientListener.
//
// The pump never waits for the network, nor does connecting. A connection
// that could not be opened is announced with connectionFailed; one that
// fails later (the server gone, a request that cannot be sent) with
// connectionLost. Either is written as one line on standard error, closed,
// and later pumps do nothing. Only what is not a connection failure (an
// unexpected exception) brings up the crash message. A listener may destroy
// the connection from any of its calls; the pump then stops at once.
//
// The connection remembers the invitations it sends until the game list
// names their games, so that an invitation can be withdrawn (C24) even
// before its game id is known. A game that starts for a withdrawn
// invitation is left on the server and never reaches the listener.
//
// Thread safety: none; everything runs on the front end's one thread.
#ifndef VANTOR_CLIENT_GAMECLIENT_H_
#define VANTOR_CLIENT_GAMECLIENT_H_

#include <deque>
#include <string>
#include <vector>

#include "client/GameClientListener.h"
#include "client/VantorClient.h"

class VantorClientGameEvent;
class VantorUpdateGameListEvent;
class VantorUpdateListEvent;

namespace vgl {

class GameClient : public VantorClient {
 public:
  struct GameEntry {
    int gameId;
    std::string firstName;   // black
    std::string secondName;  // white
  };

  // Starts connecting and returns at once; the pump opens the conversation.
  // listener is not owned and must not be null.
  GameClient(int colour, GameClientListener* listener, const char* host, int port,
             int timeoutMilliseconds = ConnectionAttempt::kDefaultTimeoutMilliseconds);
  // Opens the conversation at once on a connected socket, which it owns.
  GameClient(int colour, GameClientListener* listener, Socket* connected);
  ~GameClient();

  // The pump, called once per tick of the front end.
  void update();

  // Invites nick; inviterColour -1 makes the inviter black, any other
  // colour makes the invited player black.
  void invite(const char* nick, int inviterColour);
  // Withdraws the last invitation sent and not yet withdrawn: at once if its
  // game id is known, else as soon as the game list names it.
  void withdrawInvitation();
  // The game id of the last invitation sent, -1 while the list has not named it.
  int lastInvitationId() const;
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
  // An invitation sent: the names the game list will show for it, and the
  // games listed before, which cannot be it.
  struct Invitation {
    std::string invitee;
    std::string black;
    std::string white;
    std::vector<int> listedBefore;
    int gameId;
    bool withdrawn;
  };

  void dispatch(VantorClientEvent* e);
  // Dispatch of the events that take more than one call: the lists are
  // kept for the lobby before the listener hears of them.
  void takePlayerList(const VantorUpdateListEvent& list);
  void takeGameList(const VantorUpdateGameListEvent& list);
  void takeRefusal(const std::string& name);
  void dispatchGameEvent(const VantorClientGameEvent& e);
  // A started game goes to the listener, unless its invitation was withdrawn.
  void startGame(VantorClientGame* game);
  void checkReady();
  // Matches invitations to the game list and withdraws those wanted gone.
  void followInvitations();
  bool isWithdrawn(int gameId) const;

  int colour_;
  std::vector<GameEntry> gameList_;
  std::wstring myName_;
  std::vector<std::string> playerNames_;
  GameClientListener* listener_;
  bool ready_;
  bool lost_;
  std::deque<Invitation> invitations_;
  std::deque<int> withdrawnIds_;
  // Set while a pump runs: the destructor marks it, so that a pump whose
  // listener destroyed the connection touches nothing more.
  bool* destroyed_;
};

}  // namespace vgl

#endif  // VANTOR_CLIENT_GAMECLIENT_H_
