// The server's command line: addresses in every written form, the limits
// and their bounds, and the words it refuses. (Addresses with a port, port 0
// and the --listen=ADDRESS form are served by the real executable in the
// server-mode tests.)
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "app/ServerCommandLine.h"

namespace {

std::string where(const ServerCommandLine& line) {
  std::string text;
  for (const auto& address : line.addresses()) {
    text += address.host + "|" + std::to_string(address.port) + " ";
  }
  return text;
}

}  // namespace

TEST(ServerCommandLine, ReadsAddressesInEveryForm) {
  const std::vector<std::pair<std::vector<std::string>, std::string>> cases = {
      {{}, ""},
      {{"--listen=0.0.0.0"}, "0.0.0.0|4567 "},
      {{"--listen", "[::1]:4568", "--listen", "[::]"}, "::1|4568 ::|4567 "},
  };
  for (const auto& c : cases) {
    ServerCommandLine line(c.first);
    EXPECT_TRUE(line.valid()) << line.error();
    EXPECT_EQ(where(line), c.second);
    EXPECT_EQ(line.limits().enabled, !c.second.empty());
  }
}

TEST(ServerCommandLine, TakesLimitsWithinTheirBoundsAndKeepsPrivateTextOffTheRecordBeyondLoopback) {
  ServerCommandLine local(
      {"--listen", "127.0.0.2", "--max-per-address", "2", "--max-players=10", "--chat-limit", "0"});
  ASSERT_TRUE(local.valid()) << local.error();
  EXPECT_EQ(local.limits().maxPerAddress, 2);
  EXPECT_EQ(local.limits().maxPlayers, 10);
  EXPECT_EQ(local.limits().chatMessages, 0);
  EXPECT_TRUE(local.limits().logPrivateText);

  ServerCommandLine open({"--listen", "[::1]", "--listen", "192.0.2.1:4567"});
  ASSERT_TRUE(open.valid());
  EXPECT_EQ(open.limits().maxPerAddress, VantorServerLimits::kDefaultMaxPerAddress);
  EXPECT_EQ(open.limits().chatMessages, VantorServerLimits::kDefaultChatMessages);
  EXPECT_FALSE(open.limits().logPrivateText);
}

TEST(ServerCommandLine, RefusesWhatItCannotTake) {
  const std::vector<std::vector<std::string>> refused = {
      {"--port", "5"},
      {"--listen", "::1"},
      {"--listen", "[::1"},
      {"--listen", "127.0.0.1:70000"},
      {"--listen", "127.0.0.1:"},
      {"--listen", "1.2.3:4"},
      {"--listen", "127.0.0.1", "--max-players", "7"},
      {"--listen", "127.0.0.1", "--max-players", "25"},
      {"--listen", "127.0.0.1", "--max-per-address", "two"},
      {"--max-per-address", "2"},
  };
  for (const auto& words : refused) {
    ServerCommandLine line(words);
    EXPECT_FALSE(line.valid()) << words.back();
    EXPECT_FALSE(line.error().empty());
  }
  EXPECT_TRUE(ServerCommandLine({"--help"}).helpAsked());
}
