// What a computer player answers to a private message. Every bot has its
// own; whatever it is told, the answer is the same fixed line.
//
// Thread safety: immutable; any thread may ask it.
#ifndef VANTOR_BOTS_VANTORCHATRESPONDER_H_
#define VANTOR_BOTS_VANTORCHATRESPONDER_H_

#include <string>

class VantorChatResponder {
 public:
  std::string replyTo(const std::string& text) const;
};

#endif  // VANTOR_BOTS_VANTORCHATRESPONDER_H_
