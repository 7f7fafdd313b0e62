#include <gtest/gtest.h>

#include "OpenGLClient/GameOverMenu.h"
#include "OpenGLClient/GameOverMenuListener.h"

namespace {

using vgl::GameOverMenu;

class RecordingListener : public vgl::GameOverMenuListener {
 public:
  void gameOverDismissed() override { ++dismissals; }
  int dismissals = 0;
};

TEST(GameOverMenu, FadesInOverOneSecondAndStays) {
  RecordingListener listener;
  GameOverMenu menu(&listener, ".");
  menu.tick(0.5f);
  EXPECT_EQ(menu.fade(), 0.0f);
  menu.show();
  menu.tick(0.25f);
  EXPECT_FLOAT_EQ(menu.fade(), 0.25f);
  menu.tick(2);
  EXPECT_EQ(menu.fade(), 1.0f);
  menu.tick(2);
  EXPECT_EQ(menu.fade(), 1.0f);
  menu.hide();
  EXPECT_EQ(menu.fade(), 0.0f);
  menu.tick(1);
  EXPECT_EQ(menu.fade(), 0.0f);
}

TEST(GameOverMenu, IsDismissedByAnyClickEscapeOrEnter) {
  RecordingListener listener;
  GameOverMenu menu(&listener, ".");
  menu.show();
  menu.key('x');
  menu.hover(10, 10);
  EXPECT_EQ(listener.dismissals, 0);
  menu.click(5, 470);
  menu.key(27);
  menu.key(13);
  EXPECT_EQ(listener.dismissals, 3);
}

}  // namespace
