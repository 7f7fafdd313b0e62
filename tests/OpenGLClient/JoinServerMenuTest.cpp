// The join-server menu: focus, editing limits, connecting, default nick.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "OpenGLClient/JoinServerMenu.h"
#include "OpenGLClient/JoinServerMenuListener.h"

namespace {

struct RecordingJoinListener : vgl::JoinServerMenuListener {
  std::vector<std::string> calls;
  void backFromJoinServer() override { calls.push_back("back"); }
  void connectToServer(const std::string& host, int port, const std::string& nick) override {
    calls.push_back("connect " + host + ":" + std::to_string(port) + " as " + nick);
  }
};

using Calls = std::vector<std::string>;

void type(vgl::JoinServerMenu& menu, const std::string& text) {
  for (char c : text) menu.key(static_cast<unsigned char>(c));
}

void clearField(vgl::JoinServerMenu& menu) {
  for (int i = 0; i < 40; ++i) menu.key(8);
}

TEST(JoinServerMenu, StartsWithAGuestNickAndLocalhost) {
  RecordingJoinListener listener;
  vgl::JoinServerMenu menu(&listener, ".");
  const std::wstring& nick = menu.nick();
  ASSERT_EQ(nick.compare(0, 5, L"Guest"), 0);
  int number = std::stoi(nick.substr(5));
  EXPECT_GE(number, 0);
  EXPECT_LE(number, 1788);
  EXPECT_EQ(menu.host(), L"localhost");
  EXPECT_FALSE(menu.isNickFocused());
  EXPECT_FALSE(menu.isHostFocused());
}

TEST(JoinServerMenu, DefaultNickIsTheTickModulo1789) {
  EXPECT_EQ(vgl::JoinServerMenu::defaultNick(0), L"Guest0");
  EXPECT_EQ(vgl::JoinServerMenu::defaultNick(1788), L"Guest1788");
  EXPECT_EQ(vgl::JoinServerMenu::defaultNick(1789), L"Guest0");
  EXPECT_EQ(vgl::JoinServerMenu::defaultNick(1789u * 1000u + 42u), L"Guest42");
  for (uint32_t tick : {1u, 999u, 123456u, 4294967295u}) {
    int number = std::stoi(vgl::JoinServerMenu::defaultNick(tick).substr(5));
    EXPECT_GE(number, 0);
    EXPECT_LE(number, 1788);
  }
}

TEST(JoinServerMenu, ClicksFocusTheFieldOfTheirBand) {
  RecordingJoinListener listener;
  vgl::JoinServerMenu menu(&listener, ".");
  menu.click(10, 330);
  EXPECT_TRUE(menu.isNickFocused());
  EXPECT_FALSE(menu.isHostFocused());
  menu.click(300, 400);
  EXPECT_FALSE(menu.isNickFocused());
  EXPECT_TRUE(menu.isHostFocused());
  menu.click(300, 200);
  EXPECT_FALSE(menu.isNickFocused());
  EXPECT_FALSE(menu.isHostFocused());
  EXPECT_TRUE(listener.calls.empty());
}

TEST(JoinServerMenu, NickTakesEightCharactersAtMost) {
  RecordingJoinListener listener;
  vgl::JoinServerMenu menu(&listener, ".");
  menu.click(160, 340);
  clearField(menu);
  EXPECT_EQ(menu.nick(), L"");
  type(menu, "abcdefghij");
  EXPECT_EQ(menu.nick(), L"abcdefgh");
  menu.key(8);
  EXPECT_EQ(menu.nick(), L"abcdefg");
}

TEST(JoinServerMenu, HostTakesThirtyTwoCharactersAtMost) {
  RecordingJoinListener listener;
  vgl::JoinServerMenu menu(&listener, ".");
  menu.click(160, 390);
  clearField(menu);
  type(menu, std::string(32, 'h') + "xyz");
  EXPECT_EQ(menu.host(), std::wstring(32, L'h'));
}

TEST(JoinServerMenu, OnlyPrintableCharactersAreTyped) {
  RecordingJoinListener listener;
  vgl::JoinServerMenu menu(&listener, ".");
  menu.click(160, 340);
  clearField(menu);
  for (int key : {9, 31, 127, 200, 32, 126, 37}) menu.key(key);
  EXPECT_EQ(menu.nick(), L" ~%");
}

TEST(JoinServerMenu, EscapeOrEnterInAFieldOnlyRemovesTheFocus) {
  RecordingJoinListener listener;
  vgl::JoinServerMenu menu(&listener, ".");
  menu.click(160, 340);
  menu.key(13);
  EXPECT_FALSE(menu.isNickFocused());
  menu.click(160, 390);
  menu.key(27);
  EXPECT_FALSE(menu.isHostFocused());
  EXPECT_TRUE(listener.calls.empty());
}

TEST(JoinServerMenu, SecondEnterConnectsWithHostAndNick) {
  RecordingJoinListener listener;
  vgl::JoinServerMenu menu(&listener, ".");
  menu.click(160, 340);
  clearField(menu);
  type(menu, "Ann");
  menu.key(13);
  menu.key(13);
  EXPECT_EQ(listener.calls, (Calls{"connect localhost:4567 as Ann"}));
}

TEST(JoinServerMenu, ConnectBandConnectsAndEscapeGoesBack) {
  RecordingJoinListener listener;
  vgl::JoinServerMenu menu(&listener, ".");
  menu.click(160, 390);
  clearField(menu);
  type(menu, "example.org");
  menu.click(160, 440);
  EXPECT_FALSE(menu.isHostFocused());
  menu.key(27);
  ASSERT_EQ(listener.calls.size(), 2u);
  EXPECT_EQ(listener.calls[0].rfind("connect example.org:4567 as Guest", 0), 0u);
  EXPECT_EQ(listener.calls[1], "back");
}

TEST(JoinServerMenu, HoverFlagsFollowTheBands) {
  RecordingJoinListener listener;
  vgl::JoinServerMenu menu(&listener, ".");
  menu.draw();
  menu.hover(0, 330);
  EXPECT_TRUE(menu.isDirty());
  EXPECT_TRUE(menu.isHovered(0));
  menu.draw();
  menu.hover(0, 331);
  EXPECT_FALSE(menu.isDirty());
  menu.hover(0, 450);
  EXPECT_FALSE(menu.isHovered(0));
  EXPECT_FALSE(menu.isHovered(1));
  EXPECT_TRUE(menu.isHovered(2));
}

}  // namespace
