// The installed executable, in a temporary root that `cmake --install` fills
// as a package would, started from a working directory that holds none of
// its files: it finds its pictures and fonts in ../share/vantor, starts its
// server child and shows the same main menu as the build's own copy.
#include <gtest/gtest.h>
#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <string>

#include "tests/app/WindowTest.h"

namespace {

class InstallWindowTest : public WindowTest {
 protected:
  void TearDown() override {
    if (!root_.empty()) std::filesystem::remove_all(root_);
  }
  std::filesystem::path root_;
};

}  // namespace

TEST_F(InstallWindowTest, InstalledClientShowsTheBuildsMainMenuAndStartsItsServer) {
  root_ = std::filesystem::temp_directory_path() /
          ("vantor-install-window-" + std::to_string(getpid()));
  std::filesystem::remove_all(root_);
  const std::string install = "DESTDIR='" + root_.string() + "' '" VANTOR_CMAKE "' --install '" +
                              VANTOR_BUILD_DIR "' --prefix /usr >/dev/null";
  ASSERT_EQ(std::system(install.c_str()), 0) << install;
  const std::filesystem::path installed = root_ / "usr" / "bin" / "vantor";
  ASSERT_TRUE(std::filesystem::exists(installed));
  // No pictures beside the installed executable: only share/vantor has them.
  ASSERT_FALSE(std::filesystem::exists(root_ / "usr" / "bin" / "PNG"));

  RunningClient built;
  ASSERT_TRUE(start(built, {}, "-built"));
  keep(built, "built-menu");
  built.process.reset();

  const std::filesystem::path saved = std::filesystem::current_path();
  std::filesystem::create_directories(root_ / "elsewhere");
  std::filesystem::current_path(root_ / "elsewhere");
  RunningClient client;
  const ::testing::AssertionResult started =
      start(client, {}, "-installed", 0, true, installed.string());
  std::filesystem::current_path(saved);
  ASSERT_TRUE(started);
  EXPECT_GT(client.port, 0);
  EXPECT_GT(client.serverPid, 0);
  keep(client, "installed-menu");
  EXPECT_LT(client.menu.difference(built.menu, 0, 0, 319, 479), 1.0);
}
