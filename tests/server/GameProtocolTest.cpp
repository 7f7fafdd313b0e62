// Games over the wire: invitations, acceptance, refusal, abort, moves,
// passes, the end of a game, spectators and games against computer players.
#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <utility>
#include <vector>

#include "server/VantorServer.h"
#include "tests/ios/TestSupport.h"
#include "tests/server/ProtocolClient.h"
#include "tests/server/ServerUnderTest.h"

namespace {

using Messages = std::vector<std::string>;
using Move = std::pair<int, int>;

// The shortest game after which black must pass (white made the last move).
const std::vector<Move> kGameWithAPass = {{5, 3}, {6, 3}, {7, 3}, {7, 2},
                                          {3, 5}, {8, 3}, {8, 1}, {6, 1}};
// The shortest game to its end (black made the last move).
const std::vector<Move> kGameToTheEnd = {{5, 3}, {4, 3}, {3, 2}, {6, 2}, {5, 2},
                                         {6, 3}, {3, 5}, {4, 2}, {7, 2}};

std::string withId(int code, int32_t id, const std::string& rest = "") {
  return msg(code, int32(id) + rest);
}

std::string move(int code, int32_t id, int x, int y) {
  return withId(code, id, bytes({x, y}));
}

// Two people in the lobby: alice invites bob.
class GameProtocol : public testing::Test {
 protected:
  void SetUp() override {
    alice = ProtocolClient::join(server.port(), "alice");
    bob = ProtocolClient::join(server.port(), "bob");
    alice->drain();
  }

  // alice invites bob; the game id from bob's S4. Both drained after.
  int32_t invite(int colour, bool spectators) {
    alice->send(msg(4, bytes({colour, spectators}) + cstr("bob")));
    const int32_t id = intAt(bob->nextOf(4), 1);
    bob->drain();
    alice->drain();
    return id;
  }

  // A started game, alice black with colour 0, bob otherwise; carol, when
  // there, watches it.
  int32_t startGame(int colour, bool spectators) {
    const int32_t id = invite(colour, spectators);
    bob->send(withId(5, id));
    if (carol) carol->send(withId(20, id));
    drainAll();
    return id;
  }

  // Plays all moves but the last of game, alice black, then drains.
  void playAllButTheLast(int32_t id, const std::vector<Move>& game) {
    for (size_t i = 0; i + 1 < game.size(); ++i) {
      (i % 2 == 0 ? alice : bob)->send(move(11, id, game[i].first, game[i].second));
      (i % 2 == 0 ? bob : alice)->nextOf(14);
    }
    drainAll();
  }

  void drainAll() {
    for (ProtocolClient* c : {alice.get(), bob.get(), carol.get()}) {
      if (c != nullptr) c->drain();
    }
  }

  ServerUnderTest server;
  std::unique_ptr<ProtocolClient> alice;
  std::unique_ptr<ProtocolClient> bob;
  std::unique_ptr<ProtocolClient> carol;
};

}  // namespace

TEST_F(GameProtocol,
       AnInvitationCarriesTheColourChoiceAndSpectatorFlagListsBlackFirstAndStartsOnAcceptance) {
  std::string list;
  for (int colour : {0, 1}) {
    alice->send(msg(4, bytes({colour, colour == 0}) + cstr("bob")));
    const Messages toBob = bob->drain();
    ASSERT_EQ(toBob.size(), 2u);
    const int32_t id = intAt(toBob[0], 1);
    EXPECT_EQ(toBob[0], withId(4, id, bytes({colour, colour == 0}) + cstr("alice")));
    EXPECT_EQ(toBob[1], msg(23));
    EXPECT_EQ(alice->drain(), Messages{msg(23)});
    // Colour choice 1: the invited player plays black.
    list += int32(id) + (colour == 0 ? cstr("alice") + cstr("bob") : cstr("bob") + cstr("alice"));
    alice->send(msg(19));
    EXPECT_EQ(alice->nextOf(19), msg(19, list));
    // Accepting starts the game; black is to move.
    bob->send(withId(5, id));
    EXPECT_EQ(alice->drain(), (colour == 0 ? Messages{withId(7, id), withId(14, id), msg(23)}
                                           : Messages{withId(7, id), msg(23)}));
    EXPECT_EQ(bob->drain(), (colour == 0 ? Messages{withId(7, id), msg(23)}
                                         : Messages{withId(7, id), withId(14, id), msg(23)}));
  }
}

TEST_F(GameProtocol, EitherSideMayRefuseAnInvitation) {
  for (bool byBob : {true, false}) {
    const int32_t id = invite(0, true);
    ProtocolClient& refuser = byBob ? *bob : *alice;
    refuser.send(withId(10, id));
    EXPECT_EQ((byBob ? alice : bob)->drain(),
              (Messages{msg(10, cstr(byBob ? "bob" : "alice")), msg(23)}));
    EXPECT_EQ(refuser.drain(), Messages{msg(23)});
    alice->send(msg(19));
    EXPECT_EQ(alice->nextOf(19), msg(19));
  }
}

TEST_F(GameProtocol, AbortOrDepartureClosesAStartedGameAndAnUnknownIdStillRefreshesTheLists) {
  alice->send(withId(24, 99999));
  EXPECT_EQ(alice->drain(), Messages{msg(23)});
  EXPECT_EQ(bob->drain(), Messages{msg(23)});
  int32_t id = startGame(0, true);
  alice->send(withId(24, id));
  EXPECT_EQ(alice->drain(), (Messages{msg(23), withId(24, id)}));
  EXPECT_EQ(bob->drain(), (Messages{msg(23), withId(24, id)}));
  id = startGame(0, true);
  alice.reset();
  const Messages got = bob->drain();
  ASSERT_GE(got.size(), 2u);
  EXPECT_EQ(got[0], msg(23));
  EXPECT_EQ(got[1], withId(24, id));
}

TEST_F(GameProtocol, AClientMayInviteItselfAndPlayBothColours) {
  alice->send(msg(4, bytes({0, 1}) + cstr("alice")));
  const std::string ask = alice->nextOf(4);
  const int32_t id = intAt(ask, 1);
  EXPECT_EQ(ask, withId(4, id, bytes({0, 1}) + cstr("alice")));
  alice->drain();
  alice->send(withId(5, id));
  alice->drain();
  alice->send(move(11, id, 5, 3));
  EXPECT_EQ(alice->nextOf(13), move(13, id, 5, 3));
  alice->drain();
  alice->send(move(11, id, 4, 3));
  EXPECT_EQ(alice->nextOf(13), move(13, id, 4, 3));
}

TEST_F(GameProtocol, AMoveIsToldToBothAndARefusedOneEchoedToItsSenderAlone) {
  carol = ProtocolClient::join(server.port(), "carol");
  const int32_t id = startGame(0, false);
  // Off the board, flipping nothing, out of turn, and not a player of it.
  struct Refused {
    ProtocolClient* sender;
    int x, y;
  };
  for (Refused r :
       {Refused{alice.get(), 0, 5}, Refused{alice.get(), 9, 1}, Refused{alice.get(), 1, 1},
        Refused{bob.get(), 5, 3}, Refused{carol.get(), 5, 3}}) {
    r.sender->send(move(11, id, r.x, r.y));
    EXPECT_EQ(r.sender->drain(), Messages{move(12, id, r.x, r.y)});
  }
  EXPECT_TRUE(alice->drain().empty());
  EXPECT_TRUE(bob->drain().empty());
  alice->send(move(11, id, 5, 3));
  EXPECT_EQ(alice->drain(), Messages{move(13, id, 5, 3)});
  EXPECT_EQ(bob->drain(), (Messages{move(13, id, 5, 3), withId(14, id)}));
  // The board: a byte a cell, row by row, -1 black and 1 white.
  alice->send(withId(8, id));
  const std::string board = alice->nextOf(8);
  ASSERT_EQ(board.size(), 69u);
  EXPECT_EQ(board.substr(0, 5), withId(8, id));
  EXPECT_EQ(board.substr(5 + 2 * 8, 24), bytes({0, 0, 0, 0,  -1, 0, 0, 0,  //
                                                0, 0, 0, -1, -1, 0, 0, 0,  //
                                                0, 0, 0, 1,  -1, 0, 0, 0}));
}

TEST_F(GameProtocol, APlayerWithoutAMoveGetsS15AndTheMoverPlaysAgain) {
  carol = ProtocolClient::join(server.port(), "carol");
  const int32_t id = startGame(0, true);
  playAllButTheLast(id, kGameWithAPass);
  // White's last move leaves black (alice) without a move.
  const Move last = kGameWithAPass.back();
  bob->send(move(11, id, last.first, last.second));
  const std::string played = move(13, id, last.first, last.second);
  EXPECT_EQ(bob->drain(), (Messages{played, withId(15, id, cstr("alice")), withId(14, id)}));
  EXPECT_EQ(alice->drain(), (Messages{played, withId(15, id, cstr("alice"))}));
  EXPECT_EQ(carol->drain(), (Messages{played, withId(15, id, cstr("alice"))}));
}

TEST_F(GameProtocol, TheGameEndsWithS16WhenNeitherSideCanMoveAndStaysListed) {
  carol = ProtocolClient::join(server.port(), "carol");
  const int32_t id = startGame(0, true);
  playAllButTheLast(id, kGameToTheEnd);
  const Move last = kGameToTheEnd.back();
  alice->send(move(11, id, last.first, last.second));
  const Messages end = {move(13, id, last.first, last.second), withId(16, id)};
  EXPECT_EQ(alice->drain(), end);
  EXPECT_EQ(bob->drain(), end);
  EXPECT_EQ(carol->drain(), end);
  alice->send(msg(19));
  EXPECT_EQ(alice->nextOf(19), withId(19, id, cstr("alice") + cstr("bob")));
}

TEST_F(GameProtocol, SpectatingIsAllowedOrRefusedAsTheGameSays) {
  const int32_t open = startGame(0, true);
  const int32_t closed = startGame(0, false);
  carol = ProtocolClient::join(server.port(), "carol");
  carol->send(withId(20, closed));
  EXPECT_EQ(carol->nextOf(22), withId(22, closed));
  carol->send(withId(20, 777777));
  EXPECT_EQ(carol->nextOf(22), withId(22, 777777));
  carol->send(withId(20, open));
  EXPECT_EQ(carol->nextOf(21), withId(21, open));
  alice->send(move(11, closed, 5, 3));
  alice->send(move(11, open, 5, 3));
  EXPECT_EQ(carol->drain(), Messages{move(13, open, 5, 3)});
}

TEST_F(GameProtocol, AComputerPlayerAcceptsAtOnceAndPlaysItsTurns) {
  // Colour 0: alice plays black against Pee[Bot]; it answers her move.
  alice->send(msg(4, bytes({0, 1}) + cstr("Pee[Bot]")));
  const int32_t id = intAt(alice->nextOf(7), 1);
  EXPECT_EQ(alice->nextOf(14), withId(14, id));
  alice->send(move(11, id, 5, 3));
  EXPECT_EQ(alice->nextOf(13), move(13, id, 5, 3));
  EXPECT_EQ(intAt(alice->nextOf(13), 1), id);
  EXPECT_EQ(alice->nextOf(14), withId(14, id));
  // Colour 1: Chicken[Bot] plays black and moves first.
  alice->send(msg(4, bytes({1, 1}) + cstr("Chicken[Bot]")));
  const int32_t second = intAt(alice->nextOf(7), 1);
  EXPECT_EQ(intAt(alice->nextOf(13), 1), second);
  EXPECT_EQ(alice->nextOf(14), withId(14, second));
}

TEST(GameBounds, ThirtyTwoGamesAPersonAndAGameListAtTheServersBoundStillInOneFrame) {
  ServerUnderTest server;
  VantorServer* lobby = server.factory().getServer();
  // Twelve people with 32 games each against Pee[Bot], which any number may
  // play: the server's bound of 384 games.
  std::vector<std::unique_ptr<ProtocolClient>> people;
  std::string invitations;
  for (int i = 0; i < 32; ++i) invitations += frame(msg(4, bytes({0, 0}) + cstr("Pee[Bot]")));
  for (int i = 0; i < 13; ++i) {
    people.emplace_back(ProtocolClient::join(server.port(), "p" + std::to_string(i)));
  }
  for (int i = 0; i < 12; ++i) people[i]->sendRaw(invitations);
  ASSERT_TRUE(eventually([&] { return lobby->getGameCount() == VantorServer::kMaxGames; }));
  testing::internal::CaptureStderr();
  people[0]->send(msg(4, bytes({0, 0}) + cstr("Pee[Bot]")));
  people[12]->send(msg(4, bytes({0, 0}) + cstr("Pee[Bot]")));
  people[12]->send(msg(19));
  const std::string list = people[12]->nextOf(19);
  const std::string log = testing::internal::GetCapturedStderr();
  EXPECT_NE(log.find("ERROR in initiateGameFromXWithY: p0 has 32 games already\n"),
            std::string::npos)
      << log;
  EXPECT_NE(log.find("ERROR in initiateGameFromXWithY: the server holds 384 games already\n"),
            std::string::npos)
      << log;
  EXPECT_EQ(lobby->getGameCount(), VantorServer::kMaxGames);
  // 384 entries: id, "pN" and "Pee[Bot]".
  EXPECT_GT(list.size(), 384u * (4 + 3 + 9));
}
