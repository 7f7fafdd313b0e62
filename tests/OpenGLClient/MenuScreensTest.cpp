// The menus without a window: the main menu, the colour selection, the
// local centre, the join-server menu and the game-over picture. Which call
// each click and key gives, between the buttons included; the join-server
// menu's fields and focus. The window tests light and press the buttons.
#include <gtest/gtest.h>

#include <regex>
#include <string>
#include <vector>

#include "OpenGLClient/ColorSelect.h"
#include "OpenGLClient/ColorSelectListener.h"
#include "OpenGLClient/GameOverMenu.h"
#include "OpenGLClient/GameOverMenuListener.h"
#include "OpenGLClient/JoinServerMenu.h"
#include "OpenGLClient/JoinServerMenuListener.h"
#include "OpenGLClient/Keys.h"
#include "OpenGLClient/LocalCenter.h"
#include "OpenGLClient/LocalCenterListener.h"
#include "OpenGLClient/MainMenu.h"
#include "OpenGLClient/MainMenuListener.h"

namespace {

using Calls = std::vector<std::string>;

class MenuTest : public ::testing::Test,
                 public vgl::MainMenuListener,
                 public vgl::ColorSelectListener,
                 public vgl::LocalCenterListener,
                 public vgl::JoinServerMenuListener,
                 public vgl::GameOverMenuListener {
 protected:
  void quit() override { calls_.push_back("quit"); }
  void playLocal() override { calls_.push_back("playLocal"); }
  void playOnInternet() override { calls_.push_back("playOnInternet"); }
  void backFromColorSelect() override { calls_.push_back("back"); }
  void playBlack() override { calls_.push_back("playBlack"); }
  void playWhite() override { calls_.push_back("playWhite"); }
  void backFromLocalCenter() override { calls_.push_back("back"); }
  void playTwoPlayers() override { calls_.push_back("two"); }
  void chooseComputerOpponent(int index) override {
    calls_.push_back("opponent " + std::to_string(index));
  }
  void backFromJoinServer() override { calls_.push_back("back"); }
  void connectToServer(const std::string& host, int port, const std::string& nick) override {
    calls_.push_back("connect " + host + ":" + std::to_string(port) + " as " + nick);
  }
  void gameOverDismissed() override { calls_.push_back("dismissed"); }

  // A click at (x, y), or a key when y is -1, and the one call it must give
  // ("" for none).
  struct Input {
    int xOrKey, y;
    std::string call;
  };
  template <typename Screen>
  void expectCalls(Screen& screen, const std::vector<Input>& inputs) {
    for (const Input& input : inputs) {
      calls_.clear();
      if (input.y < 0) {
        screen.key(input.xOrKey);
      } else {
        screen.click(input.xOrKey, input.y);
      }
      EXPECT_EQ(calls_, input.call.empty() ? Calls{} : Calls{input.call})
          << input.xOrKey << ", " << input.y;
    }
  }

  Calls calls_;
};

const wchar_t* const kNames[7] = {L"Pee",        L"Chicken", L"Baby",   L"Britney",
                                  L"Desdemonia", L"Cassio",  L"William"};

TEST_F(MenuTest, MenusCallTheButtonUnderAClickOrTheirKeysAndNothingBetweenButtons) {
  vgl::MainMenu menu(this, ".");
  // clang-format off
  expectCalls(menu, {{0, 322, "playLocal"}, {319, 358, "playLocal"}, {300, 390, "playOnInternet"},
                     {160, 457, "quit"}, {160, 200, ""}, {160, 365, ""}, {160, 415, ""},
                     {27, -1, "quit"}, {13, -1, "playLocal"}, {'a', -1, ""}});
  vgl::ColorSelect select(this, ".");
  expectCalls(select, {{160, 340, "playBlack"}, {160, 390, "playWhite"}, {160, 440, "back"},
                       {160, 365, ""}, {13, -1, ""}, {27, -1, "back"}});
  // clang-format on
  vgl::LocalCenter centre(this, ".", kNames);
  std::vector<Input> inputs = {{3, 41, "two"}, {160, 100, ""}, {13, -1, ""}, {27, -1, "back"}};
  for (int k = 0; k < 7; ++k) {
    inputs.push_back({160, 140 + 49 * k, "opponent " + std::to_string(k)});
    inputs.push_back({160, 163 + 49 * k, ""});
  }
  expectCalls(centre, inputs);
  vgl::GameOverMenu gameOver(this, ".");
  gameOver.show();  // fading in, as the render test sees
  expectCalls(gameOver,
              {{'x', -1, ""}, {5, 470, "dismissed"}, {27, -1, "dismissed"}, {13, -1, "dismissed"}});
}

TEST_F(MenuTest, ArrowsMoveTheHighlightWithinTheMenuWhichEnterChooses) {
  using vgl::kKeyDown, vgl::kKeyUp, vgl::kKeyEnter;
  vgl::ColorSelect select(this, ".");
  expectCalls(select, {{kKeyUp, -1, ""},
                       {kKeyUp, -1, ""},
                       {kKeyUp, -1, ""},
                       {kKeyDown, -1, ""},
                       {kKeyEnter, -1, "playWhite"}});
  EXPECT_TRUE(select.isHovered(1));
  select.hover(160, 340);
  expectCalls(select, {{kKeyEnter, -1, "playBlack"}});
  select.hover(160, 200);
  expectCalls(select, {{kKeyDown, -1, ""},
                       {kKeyDown, -1, ""},
                       {kKeyDown, -1, ""},
                       {kKeyDown, -1, ""},
                       {kKeyEnter, -1, "back"}});

  vgl::LocalCenter centre(this, ".", kNames);
  expectCalls(centre, {{kKeyDown, -1, ""},
                       {kKeyEnter, -1, "two"},
                       {kKeyDown, -1, ""},
                       {kKeyDown, -1, ""},
                       {kKeyEnter, -1, "opponent 1"}});
  for (int k = 0; k < 9; ++k) centre.key(kKeyDown);
  EXPECT_TRUE(centre.isOpponentHovered(6));
  EXPECT_FALSE(centre.isTwoPlayersHovered());
  centre.hover(160, 41);
  centre.key(kKeyUp);
  EXPECT_TRUE(centre.isTwoPlayersHovered()) << "kept at the top, after the pointer's entry";
}

class JoinServerMenuTest : public MenuTest {
 protected:
  // Focuses the field of the band at y, empties it and types text.
  void retype(int y, const std::string& text) {
    menu_.click(160, y);
    for (int i = 0; i < 40; ++i) menu_.key(8);
    for (char c : text) menu_.key(static_cast<unsigned char>(c));
  }

  vgl::JoinServerMenu menu_{this, "."};
};

// A click focuses the field of its band; Enter or Escape, or a click
// elsewhere, leaves it; then Enter or the connect band connects and Escape
// goes back.
TEST_F(JoinServerMenuTest, ClicksFocusTheFieldOfTheirBandWhichEnterOrEscapeLeavesToConnect) {
  const auto focus = [&] {
    return menu_.isNickFocused() ? 'n' : menu_.isHostFocused() ? 'h' : '-';
  };
  EXPECT_EQ(focus(), '-');
  retype(340, "Ann");
  menu_.click(10, 330);
  EXPECT_EQ(focus(), 'n');
  menu_.key(13);
  EXPECT_EQ(focus(), '-');
  menu_.key(13);
  menu_.click(300, 400);
  EXPECT_EQ(focus(), 'h');
  menu_.key(27);
  EXPECT_EQ(focus(), '-');
  menu_.click(300, 390);
  menu_.click(300, 200);
  EXPECT_EQ(focus(), '-');
  retype(390, "example.org");
  menu_.click(160, 440);
  EXPECT_EQ(focus(), '-');
  menu_.key(27);
  EXPECT_EQ(calls_,
            (Calls{"connect localhost:4567 as Ann", "connect example.org:4567 as Ann", "back"}));
}

TEST_F(JoinServerMenuTest, FieldsStartOnLocalhostAsAGuestAndTakePrintablesUpToTheirLimits) {
  EXPECT_EQ(menu_.host(), L"localhost");
  EXPECT_TRUE(std::regex_match(menu_.nick(), std::wregex(L"Guest[0-9]+"))) << menu_.nick();
  EXPECT_NE(vgl::JoinServerMenu::defaultNick(0), vgl::JoinServerMenu::defaultNick(1000))
      << "clients started at different times take different names";
  retype(340, "");
  EXPECT_EQ(menu_.nick(), L"");
  for (int key : {9, 31, 127, 200, 32, 126, 37}) menu_.key(key);
  EXPECT_EQ(menu_.nick(), L" ~%");
  retype(340, "abcdefghij");
  EXPECT_EQ(menu_.nick(), L"abcdefgh");
  menu_.key(8);
  EXPECT_EQ(menu_.nick(), L"abcdefg");
  retype(390, std::string(32, 'h') + "xyz");
  EXPECT_EQ(menu_.host(), std::wstring(32, L'h'));
}

}  // namespace
