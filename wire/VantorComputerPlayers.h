// The seven computer players every game server hosts, in roster order: the
// nick-name a client invites them by over the wire, the kind and level of
// the bot behind each, and the short name a front end shows. The server's
// roster (bots/) and the front end's list of opponents (OpenGLClient/) both
// read this one table; it lives here because both sides of the wire reach it
// and it reaches nothing else.
//
// Thread safety: constants.
#ifndef VANTOR_WIRE_VANTORCOMPUTERPLAYERS_H_
#define VANTOR_WIRE_VANTORCOMPUTERPLAYERS_H_

// The two families of computer player; each judges positions its own way.
enum class VantorComputerPlayerKind { DeepBlue, GrayThough };

struct VantorComputerPlayer {
  const char* nick;  // the nick-name on the server, "Pee[Bot]"
  VantorComputerPlayerKind kind;
  int level;                   // the depth it searches to
  const wchar_t* displayName;  // the name the front end's texts show, L"Pee"
};

constexpr int kComputerPlayerCount = 7;
extern const VantorComputerPlayer kComputerPlayers[kComputerPlayerCount];

// The player of that kind and level, or null when the table has none.
const VantorComputerPlayer* findComputerPlayer(VantorComputerPlayerKind kind, int level);

#endif  // VANTOR_WIRE_VANTORCOMPUTERPLAYERS_H_
