// The port of the local server, read from the child's standard output.
#include <gtest/gtest.h>

#include <string>

#include "app/LaunchedPortReader.h"

namespace {

bool takeAll(LaunchedPortReader& reader, const std::string& text) {
  return reader.take(text.data(), text.size());
}

TEST(LaunchedPortReader, ReadsThePortOfTheLaunchLine) {
  LaunchedPortReader reader;
  EXPECT_TRUE(takeAll(reader, "server launched on port 4567\n"));
  EXPECT_EQ(reader.port(), 4567);
}

TEST(LaunchedPortReader, PassesOverThePortsTheServerGaveUp) {
  LaunchedPortReader reader;
  EXPECT_FALSE(takeAll(reader,
                       "Exception trown while running embedded server, switching to port 4568\n"
                       "Exception trown while running embedded server, switching to port 4569\n"));
  EXPECT_EQ(reader.port(), 0);
  EXPECT_TRUE(takeAll(reader, "server launched on port 4569\nSELECT ERROR 9\n"));
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

TEST(LaunchedPortReader, KeepsTheFirstPortItRead) {
  LaunchedPortReader reader;
  EXPECT_TRUE(takeAll(reader, "server launched on port 4571\nserver launched on port 4572\n"));
  EXPECT_TRUE(takeAll(reader, "server launched on port 4573\n"));
  EXPECT_EQ(reader.port(), 4571);
}

TEST(LaunchedPortReader, TakesNoPortFromOtherOrBrokenLines) {
  EXPECT_EQ(LaunchedPortReader::portOfLine("server launched on port 4567"), 4567);
  EXPECT_EQ(LaunchedPortReader::portOfLine("server launched on port 4567\r"), 4567);
  EXPECT_EQ(LaunchedPortReader::portOfLine("server launched on port "), 0);
  EXPECT_EQ(LaunchedPortReader::portOfLine("server launched on port 45x7"), 0);
  EXPECT_EQ(LaunchedPortReader::portOfLine("server launched on port -1"), 0);
  EXPECT_EQ(LaunchedPortReader::portOfLine("server launched on port 0"), 0);
  EXPECT_EQ(LaunchedPortReader::portOfLine("server launched on port 65536"), 0);
  EXPECT_EQ(LaunchedPortReader::portOfLine("server launched on port 1234567"), 0);
  EXPECT_EQ(LaunchedPortReader::portOfLine(" server launched on port 4567"), 0);
  EXPECT_EQ(LaunchedPortReader::portOfLine(
                "Exception trown while running embedded server, switching to port 4568"),
            0);
}

TEST(LaunchedPortReader, AnOverlongLineIsNoLaunchLine) {
  LaunchedPortReader reader;
  EXPECT_FALSE(takeAll(reader, "server launched on port 4567" + std::string(10000, '7') + "\n"));
  EXPECT_EQ(reader.port(), 0);
  EXPECT_TRUE(takeAll(reader, "server launched on port 4574\n"));
  EXPECT_EQ(reader.port(), 4574);
}

}  // namespace
