#include "tests/OpenGLClient/ScriptedServer.h"

#include <arpa/inet.h>
#include <netinet/in.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

#include <chrono>
#include <cstring>

ScriptedServer::ScriptedServer() : listener_(-1), port_(0) {
  listener_ = socket(AF_INET, SOCK_STREAM, 0);
  sockaddr_in address{};
  address.sin_family = AF_INET;
  address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
  address.sin_port = 0;
  bind(listener_, reinterpret_cast<sockaddr*>(&address), sizeof(address));
  listen(listener_, 8);
  socklen_t length = sizeof(address);
  getsockname(listener_, reinterpret_cast<sockaddr*>(&address), &length);
  port_ = ntohs(address.sin_port);
}

ScriptedServer::~ScriptedServer() {
  for (int s : sockets_) {
    if (s >= 0) ::close(s);
  }
  if (listener_ >= 0) ::close(listener_);
}

int ScriptedServer::accept(int timeoutMs) {
  pollfd p{listener_, POLLIN, 0};
  if (poll(&p, 1, timeoutMs) <= 0) return -1;
  int s = ::accept(listener_, nullptr, nullptr);
  if (s < 0) return -1;
  sockets_.push_back(s);
  buffers_.emplace_back();
  return static_cast<int>(sockets_.size()) - 1;
}

bool ScriptedServer::readFrame(int connection, int timeoutMs, std::string* frame) {
  std::string& buffer = buffers_[connection];
  auto end = std::chrono::steady_clock::now() + std::chrono::milliseconds(timeoutMs);
  for (;;) {
    if (buffer.size() >= 2) {
      size_t length = static_cast<uint8_t>(buffer[0]) + 256u * static_cast<uint8_t>(buffer[1]);
      if (buffer.size() >= 2 + length) {
        *frame = buffer.substr(2, length);
        buffer.erase(0, 2 + length);
        return true;
      }
    }
    int left = static_cast<int>(std::chrono::duration_cast<std::chrono::milliseconds>(
                                    end - std::chrono::steady_clock::now())
                                    .count());
    if (left <= 0 || sockets_[connection] < 0) return false;
    pollfd p{sockets_[connection], POLLIN, 0};
    if (poll(&p, 1, left) <= 0) return false;
    char chunk[4096];
    ssize_t n = recv(sockets_[connection], chunk, sizeof(chunk), 0);
    if (n <= 0) return false;
    buffer.append(chunk, static_cast<size_t>(n));
  }
}

std::vector<std::string> ScriptedServer::requests(int connection, int timeoutMs) {
  std::vector<std::string> frames;
  std::string frame;
  while (readFrame(connection, timeoutMs, &frame)) frames.push_back(frame);
  return frames;
}

std::string ScriptedServer::waitFor(int connection, int wanted, int timeoutMs) {
  auto end = std::chrono::steady_clock::now() + std::chrono::milliseconds(timeoutMs);
  std::string frame;
  for (;;) {
    int left = static_cast<int>(std::chrono::duration_cast<std::chrono::milliseconds>(
                                    end - std::chrono::steady_clock::now())
                                    .count());
    if (left <= 0 || !readFrame(connection, left, &frame)) return std::string();
    if (code(frame) == wanted) return frame;
  }
}

void ScriptedServer::send(int connection, const std::string& payload) {
  std::string frame;
  frame.push_back(static_cast<char>(payload.size() & 0xFF));
  frame.push_back(static_cast<char>((payload.size() >> 8) & 0xFF));
  frame += payload;
  ::send(sockets_[connection], frame.data(), frame.size(), MSG_NOSIGNAL);
}

void ScriptedServer::close(int connection) {
  if (sockets_[connection] >= 0) ::close(sockets_[connection]);
  sockets_[connection] = -1;
}

std::string ScriptedServer::int32(int value) {
  std::string out(4, '\0');
  for (int i = 0; i < 4; ++i)
    out[i] = static_cast<char>((static_cast<uint32_t>(value) >> (8 * i)) & 0xFF);
  return out;
}

int ScriptedServer::readInt(const std::string& frame, size_t offset) {
  if (frame.size() < offset + 4) return -1;
  uint32_t v = 0;
  for (int i = 0; i < 4; ++i)
    v |= static_cast<uint32_t>(static_cast<uint8_t>(frame[offset + i])) << (8 * i);
  return static_cast<int>(v);
}

std::string ScriptedServer::playerList(const std::vector<std::string>& names) {
  std::string out(1, 3);
  for (const std::string& n : names) out += str(n);
  return out;
}

std::string ScriptedServer::whoAmI(const std::string& nick) {
  return std::string(1, 17) + str(nick);
}

std::string ScriptedServer::gameStarted(int gameId) {
  return std::string(1, 7) + int32(gameId);
}

std::string ScriptedServer::board(int gameId, const int8_t cells[64]) {
  std::string out = std::string(1, 8) + int32(gameId);
  for (int i = 0; i < 64; ++i) out.push_back(static_cast<char>(cells[i]));
  return out;
}

std::string ScriptedServer::initialBoard(int gameId) {
  int8_t cells[64] = {};
  // (x, y) at index (y - 1) * 8 + (x - 1): black on (4,4) and (5,5), white on (5,4) and (4,5).
  cells[3 * 8 + 3] = -1;
  cells[4 * 8 + 4] = -1;
  cells[3 * 8 + 4] = 1;
  cells[4 * 8 + 3] = 1;
  return board(gameId, cells);
}

std::string ScriptedServer::movePlayed(int gameId, int x, int y) {
  return std::string(1, 13) + int32(gameId) + static_cast<char>(x) + static_cast<char>(y);
}

std::string ScriptedServer::invalidMove(int gameId, int x, int y) {
  return std::string(1, 12) + int32(gameId) + static_cast<char>(x) + static_cast<char>(y);
}

std::string ScriptedServer::mustPass(int gameId, const std::string& nick) {
  return std::string(1, 15) + int32(gameId) + str(nick);
}

std::string ScriptedServer::gameOver(int gameId) {
  return std::string(1, 16) + int32(gameId);
}

std::string ScriptedServer::askGame(int gameId, int colour, const std::string& inviter) {
  return std::string(1, 4) + int32(gameId) + static_cast<char>(colour) + static_cast<char>(1) +
         str(inviter);
}

std::string ScriptedServer::gameRefused(const std::string& nick) {
  return std::string(1, 10) + str(nick);
}

std::string ScriptedServer::nickRefused(const std::string& text) {
  return std::string(1, 18) + str(text);
}

std::string ScriptedServer::gameList(const std::vector<Game>& games) {
  std::string out(1, 19);
  for (const Game& g : games) out += int32(g.id) + str(g.black) + str(g.white);
  return out;
}
