// The chat's lines without a window: the bound and order, the marks of
// private lines, wrapping by a measured width, what the input line sends,
// and the chat screen's typing, sending and scrolling. The controller test
// carries lines from a server to the screen and back.
#include <gtest/gtest.h>

#include <string>
#include <utility>
#include <vector>

#include "OpenGLClient/ChatHistory.h"
#include "OpenGLClient/ChatScreen.h"
#include "OpenGLClient/ChatScreenListener.h"
#include "OpenGLClient/Keys.h"

namespace {

using vgl::ChatHistory;
using Texts = std::vector<std::wstring>;

// Ten pixels a character.
float tenEach(const std::wstring& text) {
  return 10.0f * static_cast<float>(text.size());
}

Texts texts(const std::vector<ChatHistory::Line>& lines) {
  Texts all;
  for (const ChatHistory::Line& line : lines) all.push_back(line.text);
  return all;
}

TEST(ChatHistory, KeepsTheLastHundredNewestAtTheBottom) {
  ChatHistory history;
  for (int i = 0; i < 105; ++i) history.addReceived(L"Bob", std::to_wstring(i), false);
  ASSERT_EQ(history.entries().size(), ChatHistory::kLimit);
  const Texts lines = texts(history.wrap(1000, tenEach));
  EXPECT_EQ(lines.front(), L"Bob: 5");
  EXPECT_EQ(lines.back(), L"Bob: 104");
}

// Texts stay literal: a '%' is a character, a line feed a blank.
TEST(ChatHistory, MarksPrivateLinesBothWaysAndKeepsTextsAsTheyCame) {
  ChatHistory history;
  history.addReceived(L"Bob", L"100% %s", true);
  history.addSent(L"Ann", L"Bob", L"d\xe9j\xe0");
  history.addReceived(L"Cid", L"a\nb", false);
  const std::vector<ChatHistory::Line> lines = history.wrap(1000, tenEach);
  EXPECT_EQ(texts(lines), (Texts{L"[priv\xe9] Bob: 100% %s", L"[priv\xe9 \xe0 Bob] Ann: d\xe9j\xe0",
                                 L"Cid: a b"}));
  EXPECT_TRUE(lines[0].isPrivate);
  EXPECT_TRUE(lines[1].isPrivate);
  EXPECT_FALSE(lines[2].isPrivate);
}

TEST(ChatHistory, WrapsAtBlanksToTheWidthAndCutsAWordTooWideForALine) {
  EXPECT_EQ(ChatHistory::wrapText(L"aaa bbb  ccc", 75, tenEach), (Texts{L"aaa bbb", L"ccc"}));
  EXPECT_EQ(ChatHistory::wrapText(L"ab cdefghij", 35, tenEach),
            (Texts{L"ab", L"cde", L"fgh", L"ij"}));
  EXPECT_EQ(ChatHistory::wrapText(L"", 35, tenEach), (Texts{L""}));

  ChatHistory history;
  history.addReceived(L"Bob", L"un deux", true);
  const std::vector<ChatHistory::Line> lines = history.wrap(120, tenEach);
  EXPECT_EQ(texts(lines), (Texts{L"[priv\xe9] Bob:", L"un deux"}));
  EXPECT_TRUE(lines[1].isPrivate) << "every line of a private entry";
}

TEST(ChatHistory, AnAtNameGoesToNameAloneAndABlankOrANameAloneSendsNothing) {
  ChatHistory::Outgoing out;
  ASSERT_TRUE(ChatHistory::parse(L"@Pee[Bot] bonjour toi", &out));
  EXPECT_EQ(out.addressee, L"Pee[Bot]");
  EXPECT_EQ(out.text, L"bonjour toi");
  ASSERT_TRUE(ChatHistory::parse(L"salut @Bob", &out));
  EXPECT_EQ(out.addressee, L"");
  EXPECT_EQ(out.text, L"salut @Bob");
  for (const wchar_t* nothing : {L"", L"   ", L"@Bob", L"@Bob  ", L"@ hello"}) {
    EXPECT_FALSE(ChatHistory::parse(nothing, &out)) << nothing;
  }
}

class ChatScreenTest : public ::testing::Test, public vgl::ChatScreenListener {
 protected:
  void leaveChat() override { sent_.emplace_back("leave", ""); }
  void sendChat(const std::string& addressee, const std::string& text) override {
    sent_.emplace_back(addressee, text);
  }
  void type(const std::string& text) {
    for (char c : text) screen_.key(static_cast<unsigned char>(c));
  }

  std::vector<std::pair<std::string, std::string>> sent_;
  vgl::ChatScreen screen_{this, "."};
};

// Accented letters go out as their Latin-1 bytes, as nick-names do.
TEST_F(ChatScreenTest, TypesLatinOneUpToTheRequestLimitAndSendsWithEnter) {
  type("@Bob h\xe9\tllo");
  screen_.key(vgl::kKeyBackspace);
  screen_.key(vgl::kKeyPageUp);
  type("o");
  screen_.key(vgl::kKeyEnter);
  screen_.key(vgl::kKeyEnter);  // nothing left to send
  type(std::string(1100, 'x'));
  EXPECT_EQ(screen_.input().size(), vgl::ChatScreen::kInputLimit);
  EXPECT_EQ(vgl::ChatScreen::kInputLimit, 1021u) << "1024 bytes less the code and two 0 bytes";
  screen_.key(vgl::kKeyEscape);
  screen_.click(160, 440);  // "Retour"
  using Sent = std::vector<std::pair<std::string, std::string>>;
  EXPECT_EQ(sent_, (Sent{{"Bob", "h\xe9llo"}, {"leave", ""}, {"leave", ""}}));
}

TEST_F(ChatScreenTest, PagesAndTheWheelScrollBackNoFurtherThanTheOldestLine) {
  for (int i = 0; i < 30; ++i) screen_.addReceived(L"Bob", std::to_wstring(i), false);
  EXPECT_EQ(screen_.visibleLines().back().text, L"Bob: 29");
  screen_.key(vgl::kKeyPageUp);
  screen_.key(vgl::kKeyPageUp);
  EXPECT_EQ(screen_.scrollBack(), 30 - vgl::ChatScreen::kVisibleLines);
  EXPECT_EQ(screen_.visibleLines().front().text, L"Bob: 0");
  screen_.key(vgl::kKeyPageDown);
  screen_.scroll(-2);
  EXPECT_EQ(screen_.scrollBack(), 0);
  screen_.scroll(vgl::ChatScreen::kWheelLines);
  EXPECT_EQ(screen_.visibleLines().back().text, L"Bob: 26");
  type("x");
  screen_.key(vgl::kKeyEnter);
  EXPECT_EQ(screen_.scrollBack(), 0) << "sending shows the newest lines";
}

}  // namespace
