#include "wire/VantorComputerPlayers.h"

const VantorComputerPlayer kComputerPlayers[kComputerPlayerCount] = {
    {"Pee[Bot]", VantorComputerPlayerKind::DeepBlue, 1, L"Pee"},
    {"Chicken[Bot]", VantorComputerPlayerKind::DeepBlue, 3, L"Chicken"},
    {"Baby[Bot]", VantorComputerPlayerKind::DeepBlue, 5, L"Baby"},
    {"Britney[Bot]", VantorComputerPlayerKind::GrayThough, 1, L"Britney"},
    {"Desdemonia[Bot]", VantorComputerPlayerKind::GrayThough, 3, L"Desdemonia"},
    {"Cassio[Bot]", VantorComputerPlayerKind::GrayThough, 5, L"Cassio"},
    {"William[Bot]", VantorComputerPlayerKind::GrayThough, 7, L"William"},
};

const VantorComputerPlayer* findComputerPlayer(VantorComputerPlayerKind kind, int level) {
  for (const VantorComputerPlayer& player : kComputerPlayers) {
    if (player.kind == kind && player.level == level) return &player;
  }
  return nullptr;
}
