#include "bots/VantorDeepBlue.h"

#include "bots/VantorEvaluation.h"
#include "wire/VantorComputerPlayers.h"

VantorDeepBlue::VantorDeepBlue(VantorLobby* server, int level)
    : VantorMinMaxBot(server, nameForLevel(level), level, VantorEvaluationKind::DeepBlue) {}

VantorDeepBlue::~VantorDeepBlue() {
  retire();
}

std::string VantorDeepBlue::nameForLevel(int level) {
  const VantorComputerPlayer* player =
      findComputerPlayer(VantorComputerPlayerKind::DeepBlue, level);
  return player != nullptr ? player->nick : std::string();
}

std::string VantorDeepBlue::getDescription() {
  return "Deep Blue was born in 1997 in a computer research laboratory. It was intended to be the "
         "best chess player of the planet, but after it failed to archieve victory against a "
         "famous Russian, it escaped from the lab... Deep Blue then tried to make a living as an "
         "Vantor AI, despite of the fact it is definitively not very good at this game!";
}
