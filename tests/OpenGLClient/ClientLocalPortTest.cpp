// Local games go to the client's own server child, on the port the start-up
// learnt from it, not to whichever server holds the default port.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "OpenGLClient/OpenGLClient.h"
#include "ios/Exception.h"

namespace {

using Strings = std::vector<std::string>;

// Records where the controller connects; no server is needed for that.
class ClientLocalPortTest : public ::testing::Test {
 protected:
  ClientLocalPortTest() : client_(nullptr, ".") {
    client_.setConnectionFactory([this](int colour, vgl::GameClientListener*,
                                        const std::string& host, int port) -> vgl::GameClient* {
      opened_.push_back(std::to_string(colour) + " " + host + ":" + std::to_string(port));
      throw new Exception("IosSocket: Socket connection failed");
    });
    client_.setQuitAction([] {});
  }

  vgl::Client client_;
  Strings opened_;
};

TEST_F(ClientLocalPortTest, WithoutBeingToldLocalGamesGoToTheDefaultPort) {
  EXPECT_EQ(client_.localPort(), vgl::Client::kPort);
  client_.mouse(true, 160, 340);  // "Jouer en local"
  client_.mouse(true, 160, 60);   // "Deux joueurs"
  ASSERT_FALSE(opened_.empty());
  EXPECT_EQ(opened_.front(), "1 127.0.0.1:4567");
}

TEST_F(ClientLocalPortTest, BothLocalConnectionsGoToThePortItIsGiven) {
  client_.setLocalPort(4570);
  client_.mouse(true, 160, 340);  // "Jouer en local"
  client_.mouse(true, 160, 60);   // "Deux joueurs": white, then black
  for (const std::string& where : opened_)
    EXPECT_EQ(where.substr(where.find(' ')), " 127.0.0.1:4570");
  EXPECT_FALSE(opened_.empty());
}

TEST_F(ClientLocalPortTest, AComputerOpponentIsPlayedOnThatPortToo) {
  client_.setLocalPort(4571);
  client_.mouse(true, 160, 340);  // "Jouer en local"
  client_.mouse(true, 160, 140);  // "Pee"
  client_.mouse(true, 160, 340);  // "Jouer les noirs"
  EXPECT_EQ(opened_, Strings{"-1 127.0.0.1:4571"});
}

}  // namespace
