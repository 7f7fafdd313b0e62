#include "app/WindowOptions.h"

#include <set>

namespace {

const std::set<std::string> kWithValue = {"-display", "-geometry"};
const std::set<std::string> kAlone = {"-direct", "-indirect", "-iconic", "-gldebug", "-sync"};

}  // namespace

WindowOptions::WindowOptions(int argc, const char* const* argv) {
  for (int i = 0; i < argc; ++i) {
    const std::string argument = argv[i] != nullptr ? argv[i] : "";
    if (i == 0 || (kWithValue.count(argument) == 0 && kAlone.count(argument) == 0)) {
      remaining_.push_back(argument);
      continue;
    }
    if (kAlone.count(argument) != 0) continue;
    if (i + 1 >= argc) {
      incomplete_ = argument;
      continue;
    }
    ++i;
    if (argument == "-display") display_ = argv[i] != nullptr ? argv[i] : "";
  }
}
