// GLUT's own options taken out of the command line before the mode is chosen.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "app/WindowOptions.h"

namespace {

WindowOptions optionsOf(const std::vector<const char*>& arguments) {
  return WindowOptions(static_cast<int>(arguments.size()), arguments.data());
}

using Arguments = std::vector<std::string>;

TEST(WindowOptions, LeavesAPlainCommandLineAlone) {
  EXPECT_EQ(optionsOf({"vantor"}).remaining(), Arguments{"vantor"});
  EXPECT_EQ(optionsOf({"vantor", "S"}).remaining(), (Arguments{"vantor", "S"}));
  EXPECT_EQ(optionsOf({"vantor", "s", "x"}).remaining(), (Arguments{"vantor", "s", "x"}));
  EXPECT_EQ(optionsOf({"vantor"}).display(), "");
  EXPECT_EQ(optionsOf({"vantor"}).incomplete(), "");
}

TEST(WindowOptions, TakesOutTheDisplayAndItsName) {
  const WindowOptions options = optionsOf({"vantor", "-display", ":1"});
  EXPECT_EQ(options.remaining(), Arguments{"vantor"});
  EXPECT_EQ(options.display(), ":1");
}

TEST(WindowOptions, TakesOutEveryGlutOptionWhereverItStands) {
  const WindowOptions options =
      optionsOf({"vantor", "-geometry", "320x480+10+10", "-iconic", "S", "-direct", "-indirect",
                 "-gldebug", "-sync", "-display", "host:2.0"});
  EXPECT_EQ(options.remaining(), (Arguments{"vantor", "S"}));
  EXPECT_EQ(options.display(), "host:2.0");
}

TEST(WindowOptions, AValueThatLooksLikeAnOptionIsStillTheValue) {
  const WindowOptions options = optionsOf({"vantor", "-display", "-sync"});
  EXPECT_EQ(options.remaining(), Arguments{"vantor"});
  EXPECT_EQ(options.display(), "-sync");
}

TEST(WindowOptions, TellsAnOptionLeftWithoutItsValue) {
  const WindowOptions options = optionsOf({"vantor", "-display"});
  EXPECT_EQ(options.remaining(), Arguments{"vantor"});
  EXPECT_EQ(options.incomplete(), "-display");
  EXPECT_EQ(optionsOf({"vantor", "-geometry"}).incomplete(), "-geometry");
}

TEST(WindowOptions, KeepsOtherDashedArgumentsForTheModeToRefuse) {
  EXPECT_EQ(optionsOf({"vantor", "-help"}).remaining(), (Arguments{"vantor", "-help"}));
  EXPECT_EQ(optionsOf({"vantor", "--display", ":1"}).remaining(),
            (Arguments{"vantor", "--display", ":1"}));
}

}  // namespace
