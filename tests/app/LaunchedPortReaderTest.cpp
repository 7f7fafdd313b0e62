// The port of the local server, read from the child's standard output.
#include <gtest/gtest.h>

#include <string>
#include <utility>

#include "app/LaunchedPortReader.h"

namespace {

bool takeAll(LaunchedPortReader& reader, const std::string& text) {
  return reader.take(text.data(), text.size());
}

TEST(LaunchedPortReader, KeepsThePortOfTheFirstLaunchLinePassingOverThePortsGivenUp) {
  LaunchedPortReader reader;
  EXPECT_FALSE(takeAll(reader,
                       "Exception trown while running embedded server, switching to port 4568\n"
                       "Exception trown while running embedded server, switching to port 4569\n"));
  EXPECT_EQ(reader.port(), 0);
  EXPECT_TRUE(takeAll(reader, "server launched on port 4569\nserver launched on port 4572\n"));
  EXPECT_TRUE(takeAll(reader, "server launched on port 4573\n"));
  EXPECT_EQ(reader.port(), 4569);
}

TEST(LaunchedPortReader, WaitsForTheEndOfALineCutIntoPieces) {
  LaunchedPortReader reader;
  const std::string text = "server launched on port 4570\n";
  for (size_t i = 0; i + 1 < text.size(); ++i) {
    EXPECT_FALSE(reader.take(&text[i], 1)) << i;
  }
  EXPECT_TRUE(reader.take(&text.back(), 1));
  EXPECT_EQ(reader.port(), 4570);
}

TEST(LaunchedPortReader, TakesNoPortFromOtherBrokenOrOverlongLines) {
  const std::pair<std::string, int> lines[] = {
      {"server launched on port 4567", 4567}, {"server launched on port 4567\r", 4567},
      {"server launched on port ", 0},        {"server launched on port 45x7", 0},
      {"server launched on port -1", 0},      {"server launched on port 0", 0},
      {"server launched on port 65536", 0},   {"server launched on port 1234567", 0},
      {" server launched on port 4567", 0},
  };
  for (const auto& line : lines) {
    EXPECT_EQ(LaunchedPortReader::portOfLine(line.first), line.second) << line.first;
  }
  LaunchedPortReader reader;
  EXPECT_FALSE(takeAll(reader, "server launched on port 4567" + std::string(10000, '7') + "\n"));
  EXPECT_TRUE(takeAll(reader, "server launched on port 4574\n"));
  EXPECT_EQ(reader.port(), 4574);
}

}  // namespace
