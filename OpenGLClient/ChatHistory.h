// The lobby chat as the chat screen shows it: the last hundred lines, oldest
// first, each "sender: text", private ones marked both ways ("[privé]" on a
// line received, "[privé à Name]" on a line sent), and wrapped to a width
// that the caller measures. Also what the input line asks for: "@Name text"
// goes to Name alone, anything else to everybody.
//
// Texts are kept as they came (wide characters standing for the 8-bit
// bytes of the protocol); only control characters become blanks, so that
// a line feed of the sender cannot break the layout. No OpenGL here.
//
// Thread safety: none; GLUT thread only.
#ifndef VANTOR_OPENGLCLIENT_CHATHISTORY_H_
#define VANTOR_OPENGLCLIENT_CHATHISTORY_H_

#include <cstddef>
#include <deque>
#include <functional>
#include <string>
#include <vector>

namespace vgl {

class ChatHistory {
 public:
  static constexpr size_t kLimit = 100;

  struct Entry {
    std::wstring sender;
    std::wstring text;
    bool isPrivate;
    // Whom a private line sent went to; empty for every other line.
    std::wstring addressee;
  };
  // One line as drawn, and whether it belongs to a private entry.
  struct Line {
    std::wstring text;
    bool isPrivate;
  };
  // What the input line asks to send; an empty addressee is everybody.
  struct Outgoing {
    std::wstring addressee;
    std::wstring text;
  };
  using WidthOf = std::function<float(const std::wstring&)>;

  void addReceived(const std::wstring& sender, const std::wstring& text, bool isPrivate);
  void addSent(const std::wstring& sender, const std::wstring& addressee, const std::wstring& text);
  void clear() { entries_.clear(); }
  const std::deque<Entry>& entries() const { return entries_; }

  static std::wstring lineOf(const Entry& entry);
  // Every entry, oldest first, cut at blanks into lines no wider than
  // width; a word wider than width is cut where it must.
  std::vector<Line> wrap(float width, const WidthOf& widthOf) const;
  static std::vector<std::wstring> wrapText(const std::wstring& text, float width,
                                            const WidthOf& widthOf);
  // False when there is nothing to send: a blank input, or "@Name" alone.
  static bool parse(const std::wstring& input, Outgoing* out);

 private:
  void add(Entry entry);

  std::deque<Entry> entries_;
};

}  // namespace vgl

#endif  // VANTOR_OPENGLCLIENT_CHATHISTORY_H_
