// The computer player that judges a position by a fixed table of cell
// weights. Its levels 1, 3 and 5 are "Pee[Bot]", "Chicken[Bot]" and
// "Baby[Bot]", as the computer players' table (wire/VantorComputerPlayers)
// names them; a level outside that table keeps the default player name.
//
// Thread safety: as VantorMinMaxBot.
#ifndef VANTOR_BOTS_VANTORDEEPBLUE_H_
#define VANTOR_BOTS_VANTORDEEPBLUE_H_

#include <string>

#include "bots/VantorMinMaxBot.h"

class VantorDeepBlue : public VantorMinMaxBot {
 public:
  VantorDeepBlue(VantorLobby* server, int level);
  ~VantorDeepBlue() override;

  std::string getDescription() override;

  // The name of the bot of that level, empty when the level has none.
  static std::string nameForLevel(int level);
};

#endif  // VANTOR_BOTS_VANTORDEEPBLUE_H_
