// The computer player that judges a position by mobility, corners,
// X-squares, full middle edges and, late in the game, the disc difference.
// Its levels 1, 3, 5 and 7 are "Britney[Bot]", "Desdemonia[Bot]",
// "Cassio[Bot]" and "William[Bot]", as the computer players' table
// (wire/VantorComputerPlayers) names them; a level outside that table keeps
// the default player name.
//
// Thread safety: as VantorMinMaxBot.
#ifndef VANTOR_BOTS_VANTORGRAYTHOUGH_H_
#define VANTOR_BOTS_VANTORGRAYTHOUGH_H_

#include <string>

#include "bots/VantorMinMaxBot.h"

class VantorGrayThough : public VantorMinMaxBot {
 public:
  VantorGrayThough(VantorLobby* server, int level);
  ~VantorGrayThough() override;

  std::string getDescription() override;

  // The name of the bot of that level, empty when the level has none.
  static std::string nameForLevel(int level);
};

#endif  // VANTOR_BOTS_VANTORGRAYTHOUGH_H_
