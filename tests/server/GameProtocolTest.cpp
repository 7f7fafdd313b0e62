// Games over the wire: invitations, acceptance, refusal, abort, moves,
// passes, the end of a game, spectators and games against computer players.
#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <utility>
#include <vector>

#include "tests/server/ProtocolClient.h"
#include "tests/server/ServerUnderTest.h"

namespace {

using Move = std::pair<int, int>;

// The shortest game after which black must pass (white made the last move).
const std::vector<Move> kGameWithAPass = {{5, 3}, {6, 3}, {7, 3}, {7, 2},
                                          {3, 5}, {8, 3}, {8, 1}, {6, 1}};
// The shortest game to its end (black made the last move).
const std::vector<Move> kGameToTheEnd = {{5, 3}, {4, 3}, {3, 2}, {6, 2}, {5, 2},
                                         {6, 3}, {3, 5}, {4, 2}, {7, 2}};

std::string withId(int code, int32_t id) {
  return std::string(1, static_cast<char>(code)) + request::int32(id);
}

std::string withMove(int code, int32_t id, int x, int y) {
  return withId(code, id) + std::string(1, static_cast<char>(x)) +
         std::string(1, static_cast<char>(y));
}

std::string withName(int code, int32_t id, const std::string& name) {
  return withId(code, id) + name + std::string(1, '\0');
}

// Two people in the lobby: alice invites bob.
class GameProtocol : public testing::Test {
 protected:
  void SetUp() override {
    alice = ProtocolClient::join(server.port(), "alice");
    bob = ProtocolClient::join(server.port(), "bob");
    alice->drain();
  }

  // alice invites bob; returns the game id from bob's S4. Both drained after.
  int32_t invite(int8_t colour, bool spectators) {
    alice->send(request::askGame(colour, spectators, "bob"));
    const std::string ask = bob->nextOf(4);
    bob->drain();
    alice->drain();
    return intAt(ask, 1);
  }

  // A started game: the id; alice is black with colour 0, bob otherwise.
  int32_t startGame(int8_t colour, bool spectators) {
    int32_t id = invite(colour, spectators);
    bob->send(request::acceptGame(id));
    alice->drain();
    bob->drain();
    return id;
  }

  ServerUnderTest server;
  std::unique_ptr<ProtocolClient> alice;
  std::unique_ptr<ProtocolClient> bob;
};

}  // namespace

TEST_F(GameProtocol, AnInvitationCarriesTheIdTheColourChoiceTheSpectatorFlagAndTheInviter) {
  alice->send(request::askGame(0, true, "bob"));
  const std::vector<std::string> toBob = bob->drain();
  ASSERT_EQ(toBob.size(), 2u);
  const int32_t id = intAt(toBob[0], 1);
  EXPECT_EQ(toBob[0], withId(4, id) + std::string("\x00\x01"
                                                  "alice\0",
                                                  8));
  EXPECT_EQ(toBob[1], std::string(1, '\x17'));
  EXPECT_EQ(alice->drain(), std::vector<std::string>{std::string(1, '\x17')});

  alice->send(request::gameList());
  EXPECT_EQ(alice->nextOf(19), withName(19, id, "alice") + "bob" + std::string(1, '\0'));
}

TEST_F(GameProtocol, InvitingWithAColourChoiceMakesTheInvitedPlayerBlack) {
  alice->send(request::askGame(1, false, "bob"));
  const std::string ask = bob->nextOf(4);
  const int32_t id = intAt(ask, 1);
  EXPECT_EQ(ask, withId(4, id) + std::string("\x01\x00"
                                             "alice\0",
                                             8));

  alice->send(request::gameList());
  EXPECT_EQ(alice->nextOf(19), withName(19, id, "bob") + "alice" + std::string(1, '\0'));
}

TEST_F(GameProtocol, AcceptingStartsTheGameAndBlackIsToMove) {
  const int32_t id = invite(0, true);
  bob->send(request::acceptGame(id));
  EXPECT_EQ(alice->drain(),
            (std::vector<std::string>{withId(7, id), withId(14, id), std::string(1, '\x17')}));
  EXPECT_EQ(bob->drain(), (std::vector<std::string>{withId(7, id), std::string(1, '\x17')}));
}

TEST_F(GameProtocol, TheInvitedPlayerRefuses) {
  const int32_t id = invite(0, true);
  bob->send(request::refuseGame(id));
  EXPECT_EQ(alice->drain(), (std::vector<std::string>{std::string("\x0a"
                                                                  "bob\0",
                                                                  5),
                                                      std::string(1, '\x17')}));
  EXPECT_EQ(bob->drain(), std::vector<std::string>{std::string(1, '\x17')});
  alice->send(request::gameList());
  EXPECT_EQ(alice->nextOf(19), std::string(1, '\x13'));
}

TEST_F(GameProtocol, TheInviterWithdrawsItsInvitation) {
  const int32_t id = invite(0, true);
  alice->send(request::refuseGame(id));
  EXPECT_EQ(bob->drain(), (std::vector<std::string>{std::string("\x0a"
                                                                "alice\0",
                                                                7),
                                                    std::string(1, '\x17')}));
}

TEST_F(GameProtocol, AbortingAStartedGameClosesItForBothPlayers) {
  const int32_t id = startGame(0, true);
  alice->send(request::abortGame(id));
  EXPECT_EQ(alice->drain(), (std::vector<std::string>{std::string(1, '\x17'), withId(24, id)}));
  EXPECT_EQ(bob->drain(), (std::vector<std::string>{std::string(1, '\x17'), withId(24, id)}));
}

TEST_F(GameProtocol, AbortingAnUnknownGameStillRefreshesTheGameLists) {
  alice->send(request::abortGame(99999));
  EXPECT_EQ(alice->drain(), std::vector<std::string>{std::string(1, '\x17')});
  EXPECT_EQ(bob->drain(), std::vector<std::string>{std::string(1, '\x17')});
}

TEST_F(GameProtocol, WhenAPlayerLeavesTheOtherGetsTheGameListThenTheClose) {
  const int32_t id = startGame(0, true);
  alice.reset();
  std::vector<std::string> got = bob->drain();
  ASSERT_GE(got.size(), 2u);
  EXPECT_EQ(got[0], std::string(1, '\x17'));
  EXPECT_EQ(got[1], withId(24, id));
}

TEST_F(GameProtocol, AClientMayInviteItself) {
  alice->send(request::askGame(0, true, "alice"));
  const std::string ask = alice->nextOf(4);
  const int32_t id = intAt(ask, 1);
  EXPECT_EQ(stringsFrom(ask, 7), std::vector<std::string>{"alice"});
  alice->drain();
  alice->send(request::acceptGame(id));
  alice->drain();
  // It plays both colours in turn.
  alice->send(request::playMove(id, 5, 3));
  EXPECT_EQ(alice->nextOf(13), withMove(13, id, 5, 3));
  alice->drain();
  alice->send(request::playMove(id, 4, 3));
  EXPECT_EQ(alice->nextOf(13), withMove(13, id, 4, 3));
}

TEST_F(GameProtocol, ALegalMoveIsToldToBothAndTheTurnPasses) {
  const int32_t id = startGame(0, true);
  alice->send(request::playMove(id, 5, 3));
  EXPECT_EQ(alice->drain(), std::vector<std::string>{withMove(13, id, 5, 3)});
  EXPECT_EQ(bob->drain(), (std::vector<std::string>{withMove(13, id, 5, 3), withId(14, id)}));

  alice->send(request::board(id));
  const std::string board = alice->nextOf(8);
  ASSERT_EQ(board.size(), 69u);
  EXPECT_EQ(intAt(board, 1), id);
  auto cell = [&](int x, int y) { return byteAt(board, 5 + (y - 1) * 8 + (x - 1)); };
  EXPECT_EQ(cell(5, 3), -1);
  EXPECT_EQ(cell(5, 4), -1);
  EXPECT_EQ(cell(4, 4), -1);
  EXPECT_EQ(cell(5, 5), -1);
  EXPECT_EQ(cell(4, 5), 1);
  EXPECT_EQ(cell(1, 1), 0);
}

TEST_F(GameProtocol, RefusedMovesEchoTheirCoordinatesToTheSenderAlone) {
  const int32_t id = startGame(0, true);
  alice->send(request::playMove(id, 0, 5));
  EXPECT_EQ(alice->drain(), std::vector<std::string>{withMove(12, id, 0, 5)});
  alice->send(request::playMove(id, 9, 1));
  EXPECT_EQ(alice->drain(), std::vector<std::string>{withMove(12, id, 9, 1)});
  alice->send(request::playMove(id, 1, 1));
  EXPECT_EQ(alice->drain(), std::vector<std::string>{withMove(12, id, 1, 1)});
  // Not bob's turn.
  bob->send(request::playMove(id, 5, 3));
  EXPECT_EQ(bob->drain(), std::vector<std::string>{withMove(12, id, 5, 3)});
  EXPECT_TRUE(alice->drain().empty());

  auto carol = ProtocolClient::join(server.port(), "carol");
  carol->send(request::playMove(id, 5, 3));
  EXPECT_EQ(carol->nextOf(12), withMove(12, id, 5, 3));
}

TEST_F(GameProtocol, ABoardRequestForAnUnknownGameIsDropped) {
  alice->send(request::board(424242));
  EXPECT_TRUE(alice->silentFor(200));
  alice->send(request::whoAmI());
  EXPECT_EQ(codeOf(alice->next()), 17);
}

TEST_F(GameProtocol, APlayerWithoutAMoveMustPassAndTheMoverPlaysAgain) {
  const int32_t id = startGame(0, true);
  auto carol = ProtocolClient::join(server.port(), "carol");
  carol->send(request::spectate(id));
  EXPECT_EQ(carol->nextOf(21), withId(21, id));
  alice->drain();
  bob->drain();

  for (size_t i = 0; i + 1 < kGameWithAPass.size(); ++i) {
    ProtocolClient& mover = i % 2 == 0 ? *alice : *bob;
    ProtocolClient& other = i % 2 == 0 ? *bob : *alice;
    mover.send(request::playMove(id, kGameWithAPass[i].first, kGameWithAPass[i].second));
    other.nextOf(14);
  }
  alice->drain();
  bob->drain();
  carol->drain();

  // White's last move leaves black (alice) without a move.
  const Move last = kGameWithAPass.back();
  bob->send(request::playMove(id, last.first, last.second));
  EXPECT_EQ(bob->drain(), (std::vector<std::string>{withMove(13, id, last.first, last.second),
                                                    withName(15, id, "alice"), withId(14, id)}));
  EXPECT_EQ(alice->drain(), (std::vector<std::string>{withMove(13, id, last.first, last.second),
                                                      withName(15, id, "alice")}));
  EXPECT_EQ(carol->drain(), (std::vector<std::string>{withMove(13, id, last.first, last.second),
                                                      withName(15, id, "alice")}));
}

TEST_F(GameProtocol, TheGameEndsWhenNeitherSideCanMoveAndStaysListed) {
  const int32_t id = startGame(0, true);
  auto carol = ProtocolClient::join(server.port(), "carol");
  carol->send(request::spectate(id));
  carol->nextOf(21);
  for (size_t i = 0; i + 1 < kGameToTheEnd.size(); ++i) {
    ProtocolClient& mover = i % 2 == 0 ? *alice : *bob;
    ProtocolClient& other = i % 2 == 0 ? *bob : *alice;
    mover.send(request::playMove(id, kGameToTheEnd[i].first, kGameToTheEnd[i].second));
    other.nextOf(14);
  }
  alice->drain();
  bob->drain();
  carol->drain();

  const Move last = kGameToTheEnd.back();
  alice->send(request::playMove(id, last.first, last.second));
  const std::vector<std::string> end = {withMove(13, id, last.first, last.second), withId(16, id)};
  EXPECT_EQ(alice->drain(), end);
  EXPECT_EQ(bob->drain(), end);
  EXPECT_EQ(carol->drain(), end);

  alice->send(request::gameList());
  EXPECT_EQ(alice->nextOf(19), withName(19, id, "alice") + "bob" + std::string(1, '\0'));
}

TEST_F(GameProtocol, ASpectatorSeesTheMovesOfAGameThatAllowsIt) {
  const int32_t id = startGame(0, true);
  auto carol = ProtocolClient::join(server.port(), "carol");
  carol->send(request::spectate(id));
  EXPECT_EQ(carol->nextOf(21), withId(21, id));
  alice->send(request::playMove(id, 5, 3));
  EXPECT_EQ(carol->nextOf(13), withMove(13, id, 5, 3));
}

TEST_F(GameProtocol, SpectatingIsRefusedWhereNotAllowedOrForAnUnknownGame) {
  const int32_t id = startGame(0, false);
  auto carol = ProtocolClient::join(server.port(), "carol");
  carol->send(request::spectate(id));
  EXPECT_EQ(carol->nextOf(22), withId(22, id));
  carol->send(request::spectate(777777));
  EXPECT_EQ(carol->nextOf(22), withId(22, 777777));
  alice->send(request::playMove(id, 5, 3));
  alice->nextOf(13);
  EXPECT_TRUE(carol->drain().empty());
}

TEST_F(GameProtocol, AComputerPlayerAcceptsAtOnceAndAnswersAMove) {
  // Colour 0: alice plays black against Pee[Bot].
  alice->send(request::askGame(0, true, "Pee[Bot]"));
  const std::string started = alice->nextOf(7);
  const int32_t id = intAt(started, 1);
  EXPECT_EQ(alice->nextOf(14), withId(14, id));
  alice->send(request::playMove(id, 5, 3));
  EXPECT_EQ(alice->nextOf(13), withMove(13, id, 5, 3));
  const std::string answer = alice->nextOf(13);
  EXPECT_EQ(intAt(answer, 1), id);
  EXPECT_EQ(alice->nextOf(14), withId(14, id));
}

TEST_F(GameProtocol, AComputerPlayingBlackMovesFirst) {
  alice->send(request::askGame(1, true, "Chicken[Bot]"));
  const int32_t id = intAt(alice->nextOf(7), 1);
  const std::string first = alice->nextOf(13);
  EXPECT_EQ(intAt(first, 1), id);
  EXPECT_EQ(alice->nextOf(14), withId(14, id));
}
