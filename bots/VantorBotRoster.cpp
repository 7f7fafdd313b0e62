#include "bots/VantorBotRoster.h"

#include "bots/VantorDeepBlue.h"
#include "bots/VantorGrayThough.h"
#include "wire/VantorComputerPlayers.h"

std::vector<VantorServerBot*> createBotRoster(VantorLobby* lobby) {
  std::vector<VantorServerBot*> bots;
  for (const VantorComputerPlayer& player : kComputerPlayers) {
    if (player.kind == VantorComputerPlayerKind::DeepBlue) {
      bots.push_back(new VantorDeepBlue(lobby, player.level));
    } else {
      bots.push_back(new VantorGrayThough(lobby, player.level));
    }
  }
  return bots;
}
