// One line of the server's game list (S19): the game id and the nick-names
// of its two players, the one who moves first (black) and the other (white).
//
// Thread safety: none; entries live on the front end's one thread.
#ifndef VANTOR_CLIENT_VANTORGAMELISTENTRY_H_
#define VANTOR_CLIENT_VANTORGAMELISTENTRY_H_

#include <cstdint>

class VantorGameListEntry {
 public:
  VantorGameListEntry(int gameId, const char* firstName, const char* secondName);
  ~VantorGameListEntry();
  VantorGameListEntry(const VantorGameListEntry&) = delete;
  VantorGameListEntry& operator=(const VantorGameListEntry&) = delete;

  const char* getFirstName() const { return firstName_; }
  const char* getSecondName() const { return secondName_; }
  int getGameId() const { return gameId_; }

 private:
  char* firstName_;
  char* secondName_;
  int32_t gameId_;
};

#endif  // VANTOR_CLIENT_VANTORGAMELISTENTRY_H_
