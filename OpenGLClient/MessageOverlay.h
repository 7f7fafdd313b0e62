// Timed messages drawn over every screen, one at a time, on a translucent
// band: each fades in over half a second once it reaches the front of the
// queue, stays, and fades out during its last second; the next one starts
// only when it is gone.
//
// The controller owns the one overlay and publishes it in gMessageOverlay,
// so the game screen can queue its notices without knowing the controller.
// The band picture is loaded by the first draw after setFont (draws run with
// a GL context), so queueing works without a window.
//
// Thread safety: GLUT thread only.
#ifndef VANTOR_OPENGLCLIENT_MESSAGEOVERLAY_H_
#define VANTOR_OPENGLCLIENT_MESSAGEOVERLAY_H_

#include <cstddef>
#include <deque>
#include <memory>
#include <string>

#include "OpenGLClient/FittingFont.h"

class TextureFont;

namespace vgl {

class Texture;

class MessageOverlay {
 public:
  struct Message {
    std::wstring text;
    bool started;
    float elapsed;
    float remaining;
  };

  explicit MessageOverlay(const std::string& dataDirectory);
  ~MessageOverlay();
  MessageOverlay(const MessageOverlay&) = delete;
  MessageOverlay& operator=(const MessageOverlay&) = delete;

  // The large font for the texts; the band picture comes with it. A text
  // too wide for the window is drawn smaller, never cut.
  void setFont(TextureFont* font);

  // Queues text unless the message at the front already says the same.
  void pushMessage(const std::wstring& text, float seconds);
  void appendMessage(const std::wstring& text, float seconds);
  // Only started messages age; only the front one is ever started.
  void tick(float dt);
  bool hasMessages() const { return !messages_.empty(); }
  void draw();

  size_t size() const { return messages_.size(); }
  // The front message; only while hasMessages().
  const Message& front() const { return messages_.front(); }
  // The message queued last; only while hasMessages().
  const Message& back() const { return messages_.back(); }
  // The opacity of the front message as drawn: rises over its first half
  // second, falls over its last second.
  static float fadeOf(const Message& message);

 private:
  std::string dataDirectory_;
  TextureFont* font_;
  FittingFont fitting_;
  std::unique_ptr<Texture> background_;
  bool backgroundWanted_;
  std::deque<Message> messages_;
};

// The controller's overlay, or null before there is one.
extern MessageOverlay* gMessageOverlay;

}  // namespace vgl

#endif  // VANTOR_OPENGLCLIENT_MESSAGEOVERLAY_H_
