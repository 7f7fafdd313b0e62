// Feeds arbitrary server messages to a client without a connection. The
// input is a run of frames, each two length bytes (low first) and a payload
// cut at the end of the input; every payload sits in a buffer of its exact
// size, so that the sanitizers catch any read beyond it. Games handed over
// by a game-started event are deleted as a front end would: some at once,
// the rest after the connection is gone.
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <memory>
#include <vector>

#include "client/VantorClient.h"
#include "client/VantorClientGameEvent.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  std::vector<VantorClientGame*> handedOver;
  {
    VantorClient client(nullptr);
    size_t at = 0;
    int started = 0;
    while (at + 2 <= size) {
      size_t length = data[at] | data[at + 1] << 8;
      at += 2;
      if (length > size - at) length = size - at;
      std::unique_ptr<char[]> payload(new char[length]);
      if (length > 0) std::memcpy(payload.get(), data + at, length);
      at += length;
      client.handleMessage(payload.get(), static_cast<int>(length));
      while (VantorClientEvent* e = client.nextEvent()) {
        if (e->type() == kClientGameEvent) {
          auto* gameEvent = static_cast<VantorClientGameEvent*>(e);
          if (gameEvent->getKind() == kGameStarted) {
            if (started++ % 2 == 0) {
              delete gameEvent->getGame();
            } else {
              handedOver.push_back(gameEvent->getGame());
            }
          }
        }
        delete e;
      }
    }
  }
  for (VantorClientGame* game : handedOver) delete game;
  return 0;
}
