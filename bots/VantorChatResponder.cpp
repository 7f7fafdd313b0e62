#include "bots/VantorChatResponder.h"

std::string VantorChatResponder::replyTo(const std::string&) const {
  return "I can't speak, I'm a bot!";
}
