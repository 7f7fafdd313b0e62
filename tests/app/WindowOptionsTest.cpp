// GLUT's own options taken out of the command line before the mode is chosen.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "app/WindowOptions.h"

namespace {

using Arguments = std::vector<std::string>;

TEST(WindowOptions, TakesOutGlutsOptionsWhereverTheyStandAndLeavesTheRest) {
  struct Case {
    std::vector<const char*> arguments;
    Arguments remaining;
    std::string display, incomplete;
  };
  const Case cases[] = {
      {{"vantor", "s", "x"}, {"vantor", "s", "x"}, "", ""},
      {{"vantor", "-display", ":1"}, {"vantor"}, ":1", ""},
      {{"vantor", "-geometry", "320x480+10+10", "-iconic", "S", "-direct", "-indirect", "-gldebug",
        "-sync", "-display", "host:2.0"},
       {"vantor", "S"},
       "host:2.0",
       ""},
      // A value that looks like an option is still the value.
      {{"vantor", "-display", "-sync"}, {"vantor"}, "-sync", ""},
      {{"vantor", "-display"}, {"vantor"}, "", "-display"},
      {{"vantor", "-geometry"}, {"vantor"}, "", "-geometry"},
      // Other dashed arguments are the mode's to refuse.
      {{"vantor", "-help"}, {"vantor", "-help"}, "", ""},
      {{"vantor", "--display", ":1"}, {"vantor", "--display", ":1"}, "", ""},
  };
  for (const Case& c : cases) {
    const WindowOptions options(static_cast<int>(c.arguments.size()), c.arguments.data());
    EXPECT_EQ(options.remaining(), c.remaining) << c.arguments.back();
    EXPECT_EQ(options.display(), c.display) << c.arguments.back();
    EXPECT_EQ(options.incomplete(), c.incomplete) << c.arguments.back();
  }
}

}  // namespace
