// The settings file: a missing, corrupt or unreadable file gives the
// defaults (the last two with one line of explanation), a directory that
// cannot be written gives one line, and what is saved is what the next run
// loads.
#include <gtest/gtest.h>
#include <stdlib.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>

#include "OpenGLClient/Settings.h"

namespace {

namespace fs = std::filesystem;
using vgl::Settings;

class SettingsTest : public ::testing::Test {
 protected:
  SettingsTest() {
    std::string pattern = (fs::temp_directory_path() / "vantor-settings-XXXXXX").string();
    directory_ = mkdtemp(pattern.data());
  }
  ~SettingsTest() override { fs::remove_all(directory_); }
  std::string file() const { return directory_ + "/vantor/settings"; }
  void write(const std::string& text) {
    fs::create_directories(directory_ + "/vantor");
    std::ofstream(file()) << text;
  }
  // The hints a fresh load of the file gives, and its errors in errors_.
  bool loadedHints() {
    Settings settings(file());
    settings.setHints(false);
    errors_.str("");
    settings.load(errors_);
    return settings.hints();
  }

  std::string directory_;
  std::ostringstream errors_;
};

TEST_F(SettingsTest, IsFoundUnderXdgConfigHomeOrElseUnderHomeDotConfig) {
  const char* home = std::getenv("HOME");
  const std::string savedHome = home ? home : "";
  const char* config = std::getenv("XDG_CONFIG_HOME");
  const std::string savedConfig = config ? config : "";
  setenv("XDG_CONFIG_HOME", directory_.c_str(), 1);
  EXPECT_EQ(Settings::defaultPath(), file());
  unsetenv("XDG_CONFIG_HOME");
  setenv("HOME", "/home/someone", 1);
  EXPECT_EQ(Settings::defaultPath(), "/home/someone/.config/vantor/settings");
  setenv("HOME", savedHome.c_str(), 1);
  if (config) setenv("XDG_CONFIG_HOME", savedConfig.c_str(), 1);
}

TEST_F(SettingsTest, AMissingFileGivesTheDefaultsQuietlyAndACorruptOneSaysSoInOneLine) {
  EXPECT_TRUE(loadedHints());
  EXPECT_EQ(errors_.str(), "");
  for (const char* corrupt : {"hints=yes\n", "garbage\n", "\x01\x02hints\n"}) {
    write(corrupt);
    EXPECT_TRUE(loadedHints()) << corrupt;
    EXPECT_NE(errors_.str().find("corrupt"), std::string::npos) << corrupt;
    EXPECT_EQ(errors_.str().find('\n'), errors_.str().size() - 1) << "one line";
  }
  fs::remove(file());
  fs::create_directory(file());
  EXPECT_TRUE(loadedHints()) << "a directory in its place";
  EXPECT_NE(errors_.str().find("cannot read"), std::string::npos);
}

TEST_F(SettingsTest, WhatIsSavedLoadsAgainAndADirectoryThatCannotBeMadeSaysSoInOneLine) {
  Settings settings(file());
  for (bool hints : {false, true, false}) {
    settings.setHints(hints);
    ASSERT_TRUE(settings.save(errors_)) << errors_.str();
    EXPECT_EQ(loadedHints(), hints);
    EXPECT_EQ(errors_.str(), "");
  }
  write("future=3\nhints=0\n");
  EXPECT_FALSE(loadedHints()) << "keys of a later version are skipped";

  // A file where its directory should be stops even root from writing.
  std::ofstream(directory_ + "/blocked") << "a file";
  Settings blocked(directory_ + "/blocked/vantor/settings");
  errors_.str("");
  EXPECT_FALSE(blocked.save(errors_));
  EXPECT_NE(errors_.str().find("cannot write"), std::string::npos);
  EXPECT_EQ(errors_.str().find('\n'), errors_.str().size() - 1) << "one line";
}

}  // namespace
