// The lobby's chat: the recent lines in a panel, newest at the bottom, an
// input line under it and "Retour". Typing fills the input line (printable
// ASCII and Latin-1 letters, which go out as their 8-bit bytes, as
// nick-names do), Enter sends it, Escape or "Retour" goes back to the
// lobby. The wheel and PageUp/PageDown scroll back through the lines.
//
// The input holds at most what one request can carry: the request limit
// less the code and the two 0 bytes; "@Name " counts towards it, so the
// addressee and the text always fit.
//
// Its picture and fonts are loaded once by initialise (which needs a GL
// context) and kept; without them lines are measured at a fixed width per
// character, so the logic works without a window.
//
// Thread safety: GLUT thread only.
#ifndef VANTOR_OPENGLCLIENT_CHATSCREEN_H_
#define VANTOR_OPENGLCLIENT_CHATSCREEN_H_

#include <memory>
#include <string>
#include <vector>

#include "OpenGLClient/ChatHistory.h"
#include "OpenGLClient/MenuScreen.h"
#include "wire/VantorWire.h"

class TextureFont;

namespace vgl {

class ChatScreenListener;

class ChatScreen : public MenuScreen {
 public:
  static constexpr size_t kInputLimit = kMaxRequestPayload - 3;
  // The panel's lines: left edge, top of the first, step, how many.
  static constexpr int kLineX = 28;
  static constexpr int kFirstLineY = 54;
  static constexpr int kLineStep = 17;
  static constexpr int kVisibleLines = 17;
  static constexpr float kLineWidth = 264;
  // Lines per turn of the wheel.
  static constexpr int kWheelLines = 3;

  ChatScreen(ChatScreenListener* listener, const std::string& dataDirectory);
  ~ChatScreen() override;

  // Loads the background and the fonts.
  void initialise();
  void key(int key);
  void click(int x, int y);
  void hover(int x, int y);
  // Positive: back towards older lines.
  void scroll(int lines);

  void addReceived(const std::wstring& sender, const std::wstring& text, bool isPrivate);
  void addSent(const std::wstring& sender, const std::wstring& addressee, const std::wstring& text);
  // Forgets the lines and the input (a new server).
  void clear();

  const ChatHistory& history() const { return history_; }
  const std::wstring& input() const { return input_; }
  // Lines scrolled back from the newest.
  int scrollBack() const { return scrollBack_; }
  // The lines the panel shows, top first.
  std::vector<ChatHistory::Line> visibleLines() const;
  bool isBackHovered() const { return backHovered_; }

 private:
  float widthOf(const std::wstring& text) const;
  const std::vector<ChatHistory::Line>& allLines() const;
  void changed();
  void send();
  void drawContents() override;

  ChatScreenListener* listener_;
  std::unique_ptr<TextureFont> lineFont_;
  std::unique_ptr<TextureFont> inputFont_;
  std::unique_ptr<TextureFont> labelFont_;
  ChatHistory history_;
  // The history wrapped, made again only after a change: wrapping measures
  // every line, and the screen draws ten times a second.
  mutable std::vector<ChatHistory::Line> lines_;
  mutable bool linesValid_;
  std::wstring input_;
  int scrollBack_;
  bool backHovered_;
};

}  // namespace vgl

#endif  // VANTOR_OPENGLCLIENT_CHATSCREEN_H_
