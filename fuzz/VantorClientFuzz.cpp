// Feeds arbitrary server messages to a client without a connection. The
// input is a run of frames, cut by the wire module's frame splitter as the
// client's own reading does; a frame left incomplete at the end is not
// handed over. Every payload is copied into a buffer of its exact size, so
// that the sanitizers catch any read beyond it. Games handed over by a
// game-started event are deleted as a front end would: some at once, the
// rest after the connection is gone.
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <memory>
#include <vector>

#include "client/VantorClient.h"
#include "client/VantorClientGameEvent.h"
#include "wire/VantorFrameSplitter.h"
#include "wire/VantorWire.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  // The splitter counts in int; far longer inputs say nothing new.
  if (size > (1u << 24)) return 0;
  std::vector<VantorClientGame*> handedOver;
  {
    VantorClient client(static_cast<IosOutputStream*>(nullptr));
    VantorFrameSplitter frames(kMaxFramePayload);
    frames.feed(reinterpret_cast<const char*>(data), static_cast<int>(size));
    const char* frame = nullptr;
    int length = 0;
    int started = 0;
    while (frames.next(&frame, &length) == VantorFrameSplitter::kFrame) {
      std::unique_ptr<char[]> payload(new char[length]);
      if (length > 0) std::memcpy(payload.get(), frame, static_cast<size_t>(length));
      client.handleMessage(payload.get(), length);
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
