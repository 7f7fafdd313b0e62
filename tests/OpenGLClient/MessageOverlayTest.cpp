// The notices fade in and out over their own time, once drawn. Which are
// queued (a pushed text not twice while shown, appended ones always) is
// seen through the controller test's repeated invalid move and failed
// connections.
#include <gtest/gtest.h>

#include "OpenGLClient/MessageOverlay.h"

namespace {

using vgl::MessageOverlay;

TEST(MessageOverlay, AgesAMessageOnlyOnceDrawnFadingInOverHalfASecondAndOutOverTheLast) {
  MessageOverlay overlay(".");
  overlay.appendMessage(L"Echec", 3);
  EXPECT_EQ(overlay.front().text, L"Echec");
  EXPECT_FALSE(overlay.front().started);
  overlay.tick(1);
  EXPECT_EQ(overlay.front().elapsed, 0.0f);
  EXPECT_EQ(overlay.front().remaining, 3.0f);

  // A three-second message: up over its first half second, steady, down
  // over its last second, from nothing to nothing, never past its steady level.
  const auto fade = [](int k) {
    return MessageOverlay::fadeOf({L"x", true, k * 0.05f, (60 - k) * 0.05f});
  };
  const float top = fade(20);
  EXPECT_GT(top, 0.5f);
  EXPECT_LE(top, 1.0f);
  EXPECT_EQ(fade(0), 0.0f);
  EXPECT_EQ(fade(60), 0.0f);
  for (int k = 1; k <= 60; ++k) {
    EXPECT_LE(fade(k), top) << k;
    if (k <= 10) {
      EXPECT_GT(fade(k), fade(k - 1)) << k;
    } else if (k < 40) {
      EXPECT_EQ(fade(k), top) << k;
    } else if (k > 40) {
      EXPECT_LT(fade(k), fade(k - 1)) << k;
    }
  }
}

}  // namespace
