#include "bots/VantorBotRoster.h"

#include "bots/VantorDeepBlue.h"
#include "bots/VantorGrayThough.h"

std::vector<VantorServerBot*> createBotRoster(VantorLobby* lobby) {
  std::vector<VantorServerBot*> bots;
  for (int level : {1, 3, 5}) bots.push_back(new VantorDeepBlue(lobby, level));
  for (int level : {1, 3, 5, 7}) bots.push_back(new VantorGrayThough(lobby, level));
  return bots;
}
