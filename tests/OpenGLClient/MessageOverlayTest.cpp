#include <gtest/gtest.h>

#include <cmath>

#include "OpenGLClient/MessageOverlay.h"

namespace {

using vgl::MessageOverlay;

TEST(MessageOverlay, QueuesAPushedTextOnceWhileItIsAtTheFront) {
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
}

TEST(MessageOverlay, QueuesAnAppendedTextEveryTime) {
  MessageOverlay overlay(".");
  overlay.appendMessage(L"Echec", 3);
  overlay.appendMessage(L"Echec", 3);
  EXPECT_EQ(overlay.size(), 2u);
  EXPECT_TRUE(overlay.hasMessages());
}

TEST(MessageOverlay, StartsAMessageUnstartedWithItsDuration) {
  MessageOverlay overlay(".");
  overlay.appendMessage(L"Echec", 3);
  const MessageOverlay::Message& message = overlay.front();
  EXPECT_EQ(message.text, L"Echec");
  EXPECT_FALSE(message.started);
  EXPECT_EQ(message.elapsed, 0.0f);
  EXPECT_EQ(message.remaining, 3.0f);
  // Only a message that has been drawn ages.
  overlay.tick(1);
  EXPECT_EQ(overlay.front().remaining, 3.0f);
}

TEST(MessageOverlay, FadesInOverHalfASecondAndOutOverTheLastSecond) {
  const float top = 0.8f;
  MessageOverlay::Message message{L"x", true, 0.25f, 2};
  EXPECT_FLOAT_EQ(MessageOverlay::fadeOf(message), std::sin(0.5f * 3.14159265f / 2) * top);
  message.elapsed = 1;
  EXPECT_FLOAT_EQ(MessageOverlay::fadeOf(message), top);
  message.remaining = 0.5f;
  EXPECT_FLOAT_EQ(MessageOverlay::fadeOf(message), std::sin(0.5f * 3.14159265f / 2) * top);
}

}  // namespace
