// The seven computer players of a game server, in the order they register:
// that of the computer players' table (wire/VantorComputerPlayers), Deep
// Blue at levels 1, 3 and 5, then Gray Though at levels 1, 3, 5 and 7.
// Being the first players of a server process, they take the serial numbers
// 1 to 7.
//
// Thread safety: call it on the thread that sets the server up.
#ifndef VANTOR_BOTS_VANTORBOTROSTER_H_
#define VANTOR_BOTS_VANTORBOTROSTER_H_

#include <vector>

class VantorLobby;
class VantorServerBot;

// Creates and registers the seven bots on lobby; the caller owns them (a
// server keeps them for the life of the process).
std::vector<VantorServerBot*> createBotRoster(VantorLobby* lobby);

#endif  // VANTOR_BOTS_VANTORBOTROSTER_H_
