#include "bots/VantorGrayThough.h"

#include "bots/VantorEvaluation.h"
#include "wire/VantorComputerPlayers.h"

VantorGrayThough::VantorGrayThough(VantorLobby* server, int level)
    : VantorMinMaxBot(server, nameForLevel(level), level, VantorEvaluationKind::GrayThough) {}

VantorGrayThough::~VantorGrayThough() {
  retire();
}

std::string VantorGrayThough::nameForLevel(int level) {
  const VantorComputerPlayer* player =
      findComputerPlayer(VantorComputerPlayerKind::GrayThough, level);
  return player != nullptr ? player->nick : std::string();
}

std::string VantorGrayThough::getDescription() {
  return "Gray Though is Deep Blue's evil face. It appeared suddently from a computer bug, during "
         "a dark, stormy night. No one knows what is inside this AI, but it plays damn good!";
}
