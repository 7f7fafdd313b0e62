// The join-server menu: default nick and host, focus, editing limits,
// connecting, hover.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "OpenGLClient/JoinServerMenu.h"
#include "OpenGLClient/JoinServerMenuListener.h"

namespace {

using Calls = std::vector<std::string>;

class JoinServerMenuTest : public ::testing::Test, public vgl::JoinServerMenuListener {
 protected:
  void backFromJoinServer() override { calls.push_back("back"); }
  void connectToServer(const std::string& host, int port, const std::string& nick) override {
    calls.push_back("connect " + host + ":" + std::to_string(port) + " as " + nick);
  }
  // Focuses the field of the band at y, empties it and types text.
  void retype(int y, const std::string& text) {
    menu.click(160, y);
    for (int i = 0; i < 40; ++i) menu.key(8);
    for (char c : text) menu.key(static_cast<unsigned char>(c));
  }

  Calls calls;
  vgl::JoinServerMenu menu{this, "."};
};

TEST_F(JoinServerMenuTest, StartsUnfocusedWithLocalhostAndGuestPlusTheTickModulo1789) {
  EXPECT_EQ(menu.host(), L"localhost");
  EXPECT_FALSE(menu.isNickFocused());
  EXPECT_FALSE(menu.isHostFocused());
  ASSERT_EQ(menu.nick().compare(0, 5, L"Guest"), 0);
  EXPECT_LE(std::stoi(menu.nick().substr(5)), 1788);
  EXPECT_EQ(vgl::JoinServerMenu::defaultNick(0), L"Guest0");
  EXPECT_EQ(vgl::JoinServerMenu::defaultNick(1788), L"Guest1788");
  EXPECT_EQ(vgl::JoinServerMenu::defaultNick(1789), L"Guest0");
  EXPECT_EQ(vgl::JoinServerMenu::defaultNick(1789u * 1000u + 42u), L"Guest42");
  EXPECT_EQ(vgl::JoinServerMenu::defaultNick(4294967295u), L"Guest499");
}

TEST_F(JoinServerMenuTest, ClicksFocusTheFieldOfTheirBandAndEscapeOrEnterOnlyUnfocus) {
  menu.click(10, 330);
  EXPECT_TRUE(menu.isNickFocused());
  EXPECT_FALSE(menu.isHostFocused());
  menu.key(13);
  EXPECT_FALSE(menu.isNickFocused());
  menu.click(300, 400);
  EXPECT_FALSE(menu.isNickFocused());
  EXPECT_TRUE(menu.isHostFocused());
  menu.key(27);
  EXPECT_FALSE(menu.isHostFocused());
  menu.click(300, 390);
  menu.click(300, 200);
  EXPECT_FALSE(menu.isNickFocused());
  EXPECT_FALSE(menu.isHostFocused());
  EXPECT_TRUE(calls.empty());
}

TEST_F(JoinServerMenuTest, FieldsTakePrintableCharactersUpToTheirLimits) {
  retype(340, "");
  EXPECT_EQ(menu.nick(), L"");
  for (int key : {9, 31, 127, 200, 32, 126, 37}) menu.key(key);
  EXPECT_EQ(menu.nick(), L" ~%");
  retype(340, "abcdefghij");
  EXPECT_EQ(menu.nick(), L"abcdefgh");
  menu.key(8);
  EXPECT_EQ(menu.nick(), L"abcdefg");
  retype(390, std::string(32, 'h') + "xyz");
  EXPECT_EQ(menu.host(), std::wstring(32, L'h'));
}

TEST_F(JoinServerMenuTest, ASecondEnterOrTheConnectBandConnectsAndEscapeGoesBack) {
  retype(340, "Ann");
  menu.key(13);
  menu.key(13);
  retype(390, "example.org");
  menu.click(160, 440);
  EXPECT_FALSE(menu.isHostFocused());
  menu.key(27);
  EXPECT_EQ(calls,
            (Calls{"connect localhost:4567 as Ann", "connect example.org:4567 as Ann", "back"}));
}

TEST_F(JoinServerMenuTest, HoverFlagsFollowTheBands) {
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
