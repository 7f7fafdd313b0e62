#include "OpenGLClient/ChatScreen.h"

#include <GL/gl.h>

#include <algorithm>

#include "OpenGLClient/Band.h"
#include "OpenGLClient/ChatScreenListener.h"
#include "OpenGLClient/Keys.h"
#include "OpenGLClient/TextureFont.h"
#include "client/VantorText.h"

namespace vgl {

namespace {

// Where the input line is drawn, and how wide its tail may be.
constexpr float kInputX = 30;
constexpr float kInputY = 376;
constexpr float kInputWidth = 260;
// Without a font, a character is this wide.
constexpr float kFallbackAdvance = 7;

bool isTypable(int key) {
  return (key >= 32 && key <= 126) || (key >= 160 && key <= 255);
}

}  // namespace

ChatScreen::ChatScreen(ChatScreenListener* listener, const std::string& dataDirectory)
    : MenuScreen(dataDirectory, "/PNG/chat.png", kKept),
      listener_(listener),
      linesValid_(false),
      scrollBack_(0),
      backHovered_(false) {}

ChatScreen::~ChatScreen() = default;

void ChatScreen::initialise() {
  loadBackground();
  lineFont_ = loadFont("/TTF/FreeSans.ttf", 11);
  inputFont_ = loadFont("/TTF/matisse.ttf", 14);
  labelFont_ = loadFont("/TTF/matisse.ttf", 20);
  changed();
}

float ChatScreen::widthOf(const std::wstring& text) const {
  if (lineFont_) return lineFont_->widestLine(text);
  return kFallbackAdvance * static_cast<float>(text.size());
}

const std::vector<ChatHistory::Line>& ChatScreen::allLines() const {
  if (!linesValid_) {
    lines_ = history_.wrap(kLineWidth, [this](const std::wstring& text) { return widthOf(text); });
    linesValid_ = true;
  }
  return lines_;
}

void ChatScreen::changed() {
  linesValid_ = false;
  markDirty();
}

std::vector<ChatHistory::Line> ChatScreen::visibleLines() const {
  const std::vector<ChatHistory::Line>& lines = allLines();
  const int total = static_cast<int>(lines.size());
  const int end = total - std::min(scrollBack_, std::max(0, total - kVisibleLines));
  const int begin = std::max(0, end - kVisibleLines);
  return std::vector<ChatHistory::Line>(lines.begin() + begin, lines.begin() + end);
}

void ChatScreen::scroll(int lines) {
  const int total = static_cast<int>(allLines().size());
  const int back = std::min(std::max(scrollBack_ + lines, 0), std::max(0, total - kVisibleLines));
  if (back != scrollBack_) {
    scrollBack_ = back;
    markDirty();
  }
}

void ChatScreen::addReceived(const std::wstring& sender, const std::wstring& text, bool isPrivate) {
  history_.addReceived(sender, text, isPrivate);
  changed();
}

void ChatScreen::addSent(const std::wstring& sender, const std::wstring& addressee,
                         const std::wstring& text) {
  history_.addSent(sender, addressee, text);
  changed();
}

void ChatScreen::clear() {
  history_.clear();
  input_.clear();
  scrollBack_ = 0;
  changed();
}

void ChatScreen::send() {
  ChatHistory::Outgoing out;
  if (!ChatHistory::parse(input_, &out)) return;
  input_.clear();
  scrollBack_ = 0;
  listener_->sendChat(narrowText(out.addressee), narrowText(out.text));
}

void ChatScreen::key(int key) {
  if (key == kKeyEscape) {
    listener_->leaveChat();
  } else if (key == kKeyEnter) {
    send();
  } else if (key == kKeyBackspace) {
    if (!input_.empty()) input_.pop_back();
  } else if (key == kKeyPageUp) {
    scroll(kVisibleLines - 1);
  } else if (key == kKeyPageDown) {
    scroll(-(kVisibleLines - 1));
  } else if (isTypable(key)) {
    if (input_.size() < kInputLimit) input_.push_back(static_cast<wchar_t>(key));
  } else {
    return;
  }
  markDirty();
}

void ChatScreen::click(int, int y) {
  if (kLowerBand.holds(y)) listener_->leaveChat();
  markDirty();
}

void ChatScreen::hover(int, int y) {
  setHover(backHovered_, kLowerBand.holds(y));
}

void ChatScreen::drawContents() {
  glEnable(GL_BLEND);
  glBlendFunc(GL_SRC_ALPHA, GL_ONE_MINUS_SRC_ALPHA);
  const std::vector<ChatHistory::Line> lines = visibleLines();
  for (size_t k = 0; k < lines.size(); ++k) {
    if (lines[k].isPrivate) {
      glColor4f(0.95f, 0.76f, 0.31f, 1);
    } else {
      glColor4f(1, 1, 1, 0.9f);
    }
    lineFont_->print(kLineX, kFirstLineY + kLineStep * static_cast<float>(k), L"%ls",
                     lines[k].text.c_str());
  }
  // The end of a long input stays in sight, with the cursor.
  float width = inputFont_->advance('|');
  size_t start = input_.size();
  while (start > 0 && width + inputFont_->advance(input_[start - 1]) <= kInputWidth) {
    width += inputFont_->advance(input_[--start]);
  }
  const std::wstring shown = input_.substr(start) + L'|';
  glColor4f(0.8f, 0.9f, 1, 1);
  inputFont_->print(kInputX, kInputY, L"%ls", shown.c_str());
  glColor4f(1, 1, 1, hoverAlpha(backHovered_));
  labelFont_->printCentred(160, 418, L"%ls", L"Retour");
  glColor4f(1, 1, 1, 1);
  glDisable(GL_BLEND);
}

}  // namespace vgl
