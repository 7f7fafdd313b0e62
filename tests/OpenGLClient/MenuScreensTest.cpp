// The main menu, the colour selection and the local centre: which call each
// click and key gives, band edges included, and hover.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "OpenGLClient/ColorSelect.h"
#include "OpenGLClient/ColorSelectListener.h"
#include "OpenGLClient/LocalCenter.h"
#include "OpenGLClient/LocalCenterListener.h"
#include "OpenGLClient/MainMenu.h"
#include "OpenGLClient/MainMenuListener.h"

namespace {

using Calls = std::vector<std::string>;

struct RecordingMenuListener : vgl::MainMenuListener,
                               vgl::ColorSelectListener,
                               vgl::LocalCenterListener {
  Calls calls;
  void quit() override { calls.push_back("quit"); }
  void playLocal() override { calls.push_back("playLocal"); }
  void playOnInternet() override { calls.push_back("playOnInternet"); }
  void backFromColorSelect() override { calls.push_back("back"); }
  void playBlack() override { calls.push_back("playBlack"); }
  void playWhite() override { calls.push_back("playWhite"); }
  void backFromLocalCenter() override { calls.push_back("back"); }
  void playTwoPlayers() override { calls.push_back("two"); }
  void chooseComputerOpponent(int index) override {
    calls.push_back("opponent " + std::to_string(index));
  }
};

// A click at (x, y), or a key when y is -1, and the one call it must give
// ("" for none).
struct Input {
  int xOrKey, y;
  std::string call;
};

template <typename Screen>
void expectCalls(Screen& screen, RecordingMenuListener& listener,
                 const std::vector<Input>& inputs) {
  for (const Input& input : inputs) {
    listener.calls.clear();
    if (input.y < 0) {
      screen.key(input.xOrKey);
    } else {
      screen.click(input.xOrKey, input.y);
    }
    EXPECT_EQ(listener.calls, input.call.empty() ? Calls{} : Calls{input.call})
        << input.xOrKey << ", " << input.y;
  }
}

const wchar_t* const kNames[7] = {L"Pee",        L"Chicken", L"Baby",   L"Britney",
                                  L"Desdemonia", L"Cassio",  L"William"};

TEST(MainMenu, ClicksAcrossABandPressItsButtonEscapeQuitsAndEnterPlaysLocally) {
  RecordingMenuListener listener;
  vgl::MainMenu menu(&listener, ".");
  expectCalls(menu, listener,
              {{0, 322, "playLocal"},
               {319, 358, "playLocal"},
               {5, 372, "playOnInternet"},
               {300, 408, "playOnInternet"},
               {160, 421, "quit"},
               {160, 457, "quit"},
               {160, 0, ""},
               {160, 321, ""},
               {160, 359, ""},
               {160, 371, ""},
               {160, 409, ""},
               {160, 420, ""},
               {160, 458, ""},
               {160, 479, ""},
               {27, -1, "quit"},
               {13, -1, "playLocal"},
               {'a', -1, ""}});
}

TEST(MainMenu, HoverLightsOneButtonAndMarksDirtyOnlyOnChange) {
  RecordingMenuListener listener;
  vgl::MainMenu menu(&listener, ".");
  EXPECT_FALSE(menu.isShown());
  EXPECT_TRUE(menu.isDirty());
  menu.draw();  // hidden: draws nothing but is no longer dirty
  EXPECT_FALSE(menu.isDirty());
  menu.hover(10, 380);
  EXPECT_TRUE(menu.isDirty());
  EXPECT_FALSE(menu.isHovered(0));
  EXPECT_TRUE(menu.isHovered(1));
  EXPECT_FALSE(menu.isHovered(2));
  menu.draw();
  menu.hover(200, 390);
  EXPECT_FALSE(menu.isDirty());
  menu.hover(200, 430);
  EXPECT_TRUE(menu.isDirty());
  EXPECT_FALSE(menu.isHovered(1));
  EXPECT_TRUE(menu.isHovered(2));
  menu.draw();
  menu.hover(200, 10);
  EXPECT_TRUE(menu.isDirty());
  EXPECT_FALSE(menu.isHovered(2));
  menu.draw();
  menu.show();
  EXPECT_TRUE(menu.isShown());
  EXPECT_TRUE(menu.isDirty());
  menu.hide();
  EXPECT_FALSE(menu.isShown());
}

TEST(ColorSelect, ButtonsChooseBlackWhiteOrGoBackAndEscapeGoesBack) {
  RecordingMenuListener listener;
  vgl::ColorSelect select(&listener, ".");
  expectCalls(select, listener,
              {{160, 340, "playBlack"},
               {160, 390, "playWhite"},
               {160, 440, "back"},
               {13, -1, ""},
               {27, -1, "back"}});
}

TEST(LocalCenter, EachBandChoosesTwoPlayersOrItsOpponentAndEscapeGoesBack) {
  RecordingMenuListener listener;
  vgl::LocalCenter centre(&listener, ".", kNames);
  std::vector<Input> inputs = {{3, 41, "two"}, {317, 77, "two"}, {160, 40, ""},   {160, 78, ""},
                               {160, 125, ""}, {13, -1, ""},     {27, -1, "back"}};
  for (int k = 0; k < 7; ++k) {
    const std::string opponent = "opponent " + std::to_string(k);
    inputs.push_back({160, 126 + 49 * k, opponent});
    inputs.push_back({160, 162 + 49 * k, opponent});
    inputs.push_back({160, 163 + 49 * k, ""});
  }
  expectCalls(centre, listener, inputs);
}

TEST(LocalCenter, HoverLightsExactlyOneBand) {
  RecordingMenuListener listener;
  vgl::LocalCenter centre(&listener, ".", kNames);
  centre.draw();
  centre.hover(50, 126 + 49 * 3 + 10);
  EXPECT_TRUE(centre.isDirty());
  for (int k = 0; k < 7; ++k) EXPECT_EQ(centre.isOpponentHovered(k), k == 3) << k;
  EXPECT_FALSE(centre.isTwoPlayersHovered());
  centre.draw();
  centre.hover(60, 126 + 49 * 3 + 20);
  EXPECT_FALSE(centre.isDirty());
  centre.hover(60, 50);
  EXPECT_TRUE(centre.isDirty());
  EXPECT_TRUE(centre.isTwoPlayersHovered());
  for (int k = 0; k < 7; ++k) EXPECT_FALSE(centre.isOpponentHovered(k)) << k;
}

}  // namespace
