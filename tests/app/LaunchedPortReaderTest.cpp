// The port of the local server, read from the child's standard output.
#include <gtest/gtest.h>

#include <string>
#include <utility>

#include "app/LaunchedPortReader.h"

namespace {

bool takeAll(LaunchedPortReader& reader, const std::string& text) {
  return reader.take(text.data(), text.size());
}

TEST(LaunchedPortReader, KeepsThePortOfTheFirstWholeLaunchLinePassingOverThePortsGivenUp) {
  // Byte by byte: a line cut into pieces is waited for to its end.
  const std::string text =
      "Exception trown while running embedded server, switching to port 4568\n"
      "Exception trown while running embedded server, switching to port 4569\n"
      "server launched on port 4569\nserver launched on port 4572\n";
  const size_t end = text.find("server launched") + 28;  // at the end of its line
  LaunchedPortReader reader;
  for (size_t i = 0; i < text.size(); ++i) {
    ASSERT_EQ(reader.take(&text[i], 1), i >= end) << i;
    EXPECT_EQ(reader.port(), i >= end ? 4569 : 0);
  }
  EXPECT_TRUE(takeAll(reader, "server launched on port 4573\n"));
  EXPECT_EQ(reader.port(), 4569);
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
  // Lines that come together are read in order, the first launch line kept.
  EXPECT_TRUE(
      takeAll(reader, "server launched on port 4567" + std::string(10000, '7') +
                          "\nserver launched on port 4574\nserver launched on port 4575\n"));
  EXPECT_EQ(reader.port(), 4574);
}

}  // namespace
