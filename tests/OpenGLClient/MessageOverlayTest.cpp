// The notices: pushed texts are not repeated while shown, appended ones
// always queue; each fades in and out over its own time.
#include <gtest/gtest.h>

#include <cmath>

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

  const float top = 0.8f;
  MessageOverlay::Message message{L"x", true, 0.25f, 2};
  EXPECT_FLOAT_EQ(MessageOverlay::fadeOf(message), std::sin(0.5f * 3.14159265f / 2) * top);
  message.elapsed = 1;
  EXPECT_FLOAT_EQ(MessageOverlay::fadeOf(message), top);
  message.remaining = 0.5f;
  EXPECT_FLOAT_EQ(MessageOverlay::fadeOf(message), std::sin(0.5f * 3.14159265f / 2) * top);
}

}  // namespace
