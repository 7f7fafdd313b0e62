// The menus without a window: the main menu, the colour selection, the
// local centre, the join-server menu and the game-over picture. Which call
// each click and key gives, band edges included; which text the pointer
// lights; the join-server menu's fields.
#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

#include "OpenGLClient/ColorSelect.h"
#include "OpenGLClient/ColorSelectListener.h"
#include "OpenGLClient/GameOverMenu.h"
#include "OpenGLClient/GameOverMenuListener.h"
#include "OpenGLClient/JoinServerMenu.h"
#include "OpenGLClient/JoinServerMenuListener.h"
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

  // Hovers at each point in turn, drawing in between, and checks which text
  // is lit (lit() gives its number, -1 for none) and that the screen wants a
  // new drawing exactly when that changed.
  struct Hover {
    int x, y, lit;
  };
  template <typename Screen>
  void expectHover(Screen& screen, const std::function<int()>& lit,
                   const std::vector<Hover>& hovers) {
    int before = lit();
    for (const Hover& h : hovers) {
      screen.draw();
      screen.hover(h.x, h.y);
      EXPECT_EQ(lit(), h.lit) << h.x << ", " << h.y;
      EXPECT_EQ(screen.isDirty(), h.lit != before) << h.x << ", " << h.y;
      before = h.lit;
    }
  }
  // The one index in 0..n-1 for which isLit holds, -1 for none, -2 for several.
  static int onlyLit(int n, const std::function<bool(int)>& isLit) {
    int found = -1;
    for (int i = 0; i < n; ++i) {
      if (isLit(i)) found = found == -1 ? i : -2;
    }
    return found;
  }

  Calls calls_;
};

const wchar_t* const kNames[7] = {L"Pee",        L"Chicken", L"Baby",   L"Britney",
                                  L"Desdemonia", L"Cassio",  L"William"};

TEST_F(MenuTest, MainMenuBandsPressTheirButtonsEscapeQuitsAndEnterPlaysLocally) {
  vgl::MainMenu menu(this, ".");
  // clang-format off
  expectCalls(menu, {{0, 322, "playLocal"}, {319, 358, "playLocal"}, {5, 372, "playOnInternet"},
                     {300, 408, "playOnInternet"}, {160, 421, "quit"}, {160, 457, "quit"},
                     {160, 0, ""}, {160, 321, ""}, {160, 359, ""}, {160, 371, ""}, {160, 409, ""},
                     {160, 420, ""}, {160, 458, ""}, {160, 479, ""},
                     {27, -1, "quit"}, {13, -1, "playLocal"}, {'a', -1, ""}});
  // clang-format on
  expectHover(menu, [&] { return onlyLit(3, [&](int i) { return menu.isHovered(i); }); },
              {{10, 380, 1}, {200, 390, 1}, {200, 430, 2}, {200, 10, -1}, {0, 322, 0}});
  menu.draw();
  EXPECT_FALSE(menu.isShown());
  menu.show();
  EXPECT_TRUE(menu.isShown());
  EXPECT_TRUE(menu.isDirty());
  menu.hide();
  EXPECT_FALSE(menu.isShown());
}

TEST_F(MenuTest, ColourSelectionChoosesBlackWhiteOrGoesBack) {
  vgl::ColorSelect select(this, ".");
  expectCalls(select, {{160, 340, "playBlack"},
                       {160, 390, "playWhite"},
                       {160, 440, "back"},
                       {13, -1, ""},
                       {27, -1, "back"}});
}

TEST_F(MenuTest, LocalCentreBandsChooseTwoPlayersOrTheirOpponentAndEscapeGoesBack) {
  vgl::LocalCenter centre(this, ".", kNames);
  std::vector<Input> inputs = {{3, 41, "two"}, {317, 77, "two"}, {160, 40, ""},   {160, 78, ""},
                               {160, 125, ""}, {13, -1, ""},     {27, -1, "back"}};
  for (int k = 0; k < 7; ++k) {
    const std::string opponent = "opponent " + std::to_string(k);
    inputs.push_back({160, 126 + 49 * k, opponent});
    inputs.push_back({160, 162 + 49 * k, opponent});
    inputs.push_back({160, 163 + 49 * k, ""});
  }
  expectCalls(centre, inputs);
  // Lit: 0 for "Deux joueurs", 1 + k for opponent k.
  expectHover(centre,
              [&] {
                return onlyLit(8, [&](int i) {
                  return i == 0 ? centre.isTwoPlayersHovered() : centre.isOpponentHovered(i - 1);
                });
              },
              {{50, 126 + 49 * 3 + 10, 4}, {60, 126 + 49 * 3 + 20, 4}, {60, 50, 0}, {60, 100, -1}});
}

TEST_F(MenuTest, GameOverPictureFadesInOverOneSecondAndAnyClickEscapeOrEnterDismissesIt) {
  vgl::GameOverMenu menu(this, ".");
  menu.tick(0.5f);
  EXPECT_EQ(menu.fade(), 0.0f) << "not shown";
  menu.show();
  menu.tick(0.25f);
  EXPECT_FLOAT_EQ(menu.fade(), 0.25f);
  menu.tick(2);
  EXPECT_EQ(menu.fade(), 1.0f);
  menu.tick(2);
  EXPECT_EQ(menu.fade(), 1.0f);
  menu.hover(10, 10);
  expectCalls(menu,
              {{'x', -1, ""}, {5, 470, "dismissed"}, {27, -1, "dismissed"}, {13, -1, "dismissed"}});
  menu.hide();
  EXPECT_EQ(menu.fade(), 0.0f);
  menu.tick(1);
  EXPECT_EQ(menu.fade(), 0.0f);
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

TEST_F(JoinServerMenuTest, StartsUnfocusedWithLocalhostAndGuestPlusTheTickModulo1789) {
  EXPECT_EQ(menu_.host(), L"localhost");
  EXPECT_FALSE(menu_.isNickFocused());
  EXPECT_FALSE(menu_.isHostFocused());
  ASSERT_EQ(menu_.nick().compare(0, 5, L"Guest"), 0);
  EXPECT_LE(std::stoi(menu_.nick().substr(5)), 1788);
  EXPECT_EQ(vgl::JoinServerMenu::defaultNick(0), L"Guest0");
  EXPECT_EQ(vgl::JoinServerMenu::defaultNick(1788), L"Guest1788");
  EXPECT_EQ(vgl::JoinServerMenu::defaultNick(1789), L"Guest0");
  EXPECT_EQ(vgl::JoinServerMenu::defaultNick(1789u * 1000u + 42u), L"Guest42");
  EXPECT_EQ(vgl::JoinServerMenu::defaultNick(4294967295u), L"Guest499");
}

TEST_F(JoinServerMenuTest,
       ClicksFocusTheFieldOfTheirBandEscapeOrEnterUnfocusAndThePointerLightsABand) {
  menu_.click(10, 330);
  EXPECT_TRUE(menu_.isNickFocused());
  EXPECT_FALSE(menu_.isHostFocused());
  menu_.key(13);
  EXPECT_FALSE(menu_.isNickFocused());
  menu_.click(300, 400);
  EXPECT_FALSE(menu_.isNickFocused());
  EXPECT_TRUE(menu_.isHostFocused());
  menu_.key(27);
  EXPECT_FALSE(menu_.isHostFocused());
  menu_.click(300, 390);
  menu_.click(300, 200);
  EXPECT_FALSE(menu_.isNickFocused());
  EXPECT_FALSE(menu_.isHostFocused());
  EXPECT_TRUE(calls_.empty());
  expectHover(menu_, [&] { return onlyLit(3, [&](int i) { return menu_.isHovered(i); }); },
              {{0, 330, 0}, {0, 331, 0}, {0, 450, 2}, {0, 390, 1}, {0, 200, -1}});
}

TEST_F(JoinServerMenuTest, FieldsTakePrintableCharactersUpToTheirLimits) {
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

TEST_F(JoinServerMenuTest, ASecondEnterOrTheConnectBandConnectsAndEscapeGoesBack) {
  retype(340, "Ann");
  menu_.key(13);
  menu_.key(13);
  retype(390, "example.org");
  menu_.click(160, 440);
  EXPECT_FALSE(menu_.isHostFocused());
  menu_.key(27);
  EXPECT_EQ(calls_,
            (Calls{"connect localhost:4567 as Ann", "connect example.org:4567 as Ann", "back"}));
}

}  // namespace
