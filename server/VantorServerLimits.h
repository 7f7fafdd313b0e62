// What a server that other machines reach allows each client, so that no
// client, or group of clients behind one address, can take the server for
// itself, and what it keeps out of its log. A server for the clients of its
// own machine has none of these limits (enabled is false).
//
// Thread safety: a plain value, copied where it is used.
#ifndef VANTOR_SERVER_VANTORSERVERLIMITS_H_
#define VANTOR_SERVER_VANTORSERVERLIMITS_H_

struct VantorServerLimits {
  static constexpr int kDefaultMaxPerAddress = 4;
  static constexpr int kDefaultChatMessages = 20;
  static constexpr int kChatWindowSeconds = 10;
  // The lobby's places, computer players included.
  static constexpr int kMostPlayers = 24;

  bool enabled = false;
  // Connections from one peer address at once.
  int maxPerAddress = kDefaultMaxPerAddress;
  // Chat messages one connection may send in any kChatWindowSeconds; 0 for
  // no limit.
  int chatMessages = kDefaultChatMessages;
  // Players in the lobby, the seven computer players included.
  int maxPlayers = kMostPlayers;
  // Whether the private-message log line carries the message's text.
  bool logPrivateText = true;
};

#endif  // VANTOR_SERVER_VANTORSERVERLIMITS_H_
