// The main menu and the colour selection: bands, hover, keys.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "OpenGLClient/ColorSelect.h"
#include "OpenGLClient/ColorSelectListener.h"
#include "OpenGLClient/MainMenu.h"
#include "OpenGLClient/MainMenuListener.h"

namespace {

struct RecordingMenuListener : vgl::MainMenuListener, vgl::ColorSelectListener {
  std::vector<std::string> calls;
  void quit() override { calls.push_back("quit"); }
  void playLocal() override { calls.push_back("playLocal"); }
  void playOnInternet() override { calls.push_back("playOnInternet"); }
  void backFromColorSelect() override { calls.push_back("backFromColorSelect"); }
  void playBlack() override { calls.push_back("playBlack"); }
  void playWhite() override { calls.push_back("playWhite"); }
};

using Calls = std::vector<std::string>;

TEST(MainMenu, ClickAnywhereAcrossABandPressesItsButton) {
  RecordingMenuListener listener;
  vgl::MainMenu menu(&listener, ".");
  menu.click(0, 322);
  menu.click(319, 358);
  menu.click(5, 372);
  menu.click(300, 408);
  menu.click(160, 421);
  menu.click(160, 457);
  EXPECT_EQ(listener.calls,
            (Calls{"playLocal", "playLocal", "playOnInternet", "playOnInternet", "quit", "quit"}));
}

TEST(MainMenu, ClicksBetweenBandsDoNothing) {
  RecordingMenuListener listener;
  vgl::MainMenu menu(&listener, ".");
  for (int y : {0, 100, 321, 359, 371, 409, 420, 458, 479}) menu.click(160, y);
  EXPECT_TRUE(listener.calls.empty());
}

TEST(MainMenu, EscapeQuitsAndEnterPlaysLocally) {
  RecordingMenuListener listener;
  vgl::MainMenu menu(&listener, ".");
  menu.key(27);
  menu.key(13);
  menu.key('a');
  EXPECT_EQ(listener.calls, (Calls{"quit", "playLocal"}));
}

TEST(MainMenu, HoverLightsOneButtonAndMarksDirtyOnlyOnChange) {
  RecordingMenuListener listener;
  vgl::MainMenu menu(&listener, ".");
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
}

TEST(MainMenu, ShowMarksDirtyAndHideStopsShowing) {
  RecordingMenuListener listener;
  vgl::MainMenu menu(&listener, ".");
  EXPECT_FALSE(menu.isShown());
  menu.draw();
  menu.show();
  EXPECT_TRUE(menu.isShown());
  EXPECT_TRUE(menu.isDirty());
  menu.hide();
  EXPECT_FALSE(menu.isShown());
}

TEST(ColorSelect, ButtonsChooseBlackWhiteOrGoBack) {
  RecordingMenuListener listener;
  vgl::ColorSelect select(&listener, ".");
  select.click(160, 340);
  select.click(160, 390);
  select.click(160, 440);
  EXPECT_EQ(listener.calls, (Calls{"playBlack", "playWhite", "backFromColorSelect"}));
}

TEST(ColorSelect, EscapeGoesBackAndEnterDoesNothing) {
  RecordingMenuListener listener;
  vgl::ColorSelect select(&listener, ".");
  select.key(13);
  select.key(27);
  EXPECT_EQ(listener.calls, (Calls{"backFromColorSelect"}));
}

}  // namespace
