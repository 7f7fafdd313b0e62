// The notices: pushed texts are not repeated while shown, appended ones
// always queue; each fades in and out over its own time.
#include <gtest/gtest.h>

#include "OpenGLClient/MessageOverlay.h"

namespace {

using vgl::MessageOverlay;

TEST(MessageOverlay, QueuesAPushedTextOnceWhileItIsAtTheFrontAndAnAppendedOneEveryTime) {
  MessageOverlay overlay(".");
  EXPECT_FALSE(overlay.hasMessages());
  overlay.pushMessage(L"Coup invalide", 1.75f);
  overlay.pushMessage(L"Coup invalide", 1.75f);
  EXPECT_EQ(overlay.size(), 1u);
  overlay.pushMessage(L"Abandon", 3);
  overlay.pushMessage(L"Coup invalide", 1.75f);
  EXPECT_EQ(overlay.size(), 2u);
  overlay.pushMessage(L"Abandon", 3);
  EXPECT_EQ(overlay.size(), 3u);
  overlay.appendMessage(L"Coup invalide", 3);
  overlay.appendMessage(L"Coup invalide", 3);
  EXPECT_EQ(overlay.size(), 5u);
}

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
    EXPECT_GE(fade(k), 0.0f) << k;
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
