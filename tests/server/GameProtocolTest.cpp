// Games over the wire: invitations (oneself too), acceptance, refusal (and
// new ids after it), requests naming no game or player or a game not the sender's, abort,
// moves, passes, the end of a game and spectators.
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

std::string move(int code, int32_t id, int x, int y) {
  return withId(code, id, bytes({x, y}));
}

// Three people in the lobby: alice invites bob, carol looks on.
class GameProtocol : public testing::Test {
 protected:
  void SetUp() override {
    alice_ = ProtocolClient::join(server_.port(), "alice");
    bob_ = ProtocolClient::join(server_.port(), "bob");
    carol_ = ProtocolClient::join(server_.port(), "carol");
    drainAll();
  }

  // alice invites bob; the game id from bob's S4. All drained after.
  int32_t invite(int colour, bool spectators) {
    alice_->send(msg(4, bytes({colour, spectators}) + cstr("bob")));
    const int32_t id = intAt(bob_->nextOf(4), 1);
    drainAll();
    return id;
  }

  // A started game, alice black; carol asks to watch it and is let in only
  // when the game allows spectators.
  int32_t startGame(bool spectators) {
    const int32_t id = invite(0, spectators);
    bob_->send(withId(5, id));
    carol_->send(withId(20, id));
    const int answer = spectators ? 21 : 22;
    EXPECT_EQ(carol_->nextOf(answer), withId(answer, id));
    drainAll();
    return id;
  }

  // Plays all moves but the last of game, alice black, then drains.
  void playAllButTheLast(int32_t id, const std::vector<Move>& game) {
    for (size_t i = 0; i + 1 < game.size(); ++i) {
      (i % 2 == 0 ? alice_ : bob_)->send(move(11, id, game[i].first, game[i].second));
      (i % 2 == 0 ? bob_ : alice_)->nextOf(14);
    }
    drainAll();
  }

  void drainAll() {
    for (ProtocolClient* c : {alice_.get(), bob_.get(), carol_.get()}) c->drain();
  }

  ServerUnderTest server_;
  std::unique_ptr<ProtocolClient> alice_;
  std::unique_ptr<ProtocolClient> bob_;
  std::unique_ptr<ProtocolClient> carol_;
};

}  // namespace

TEST_F(GameProtocol, AnInvitationCarriesItsChoicesListsBlackFirstMayBeRefusedByEitherSideOrStarts) {
  std::string list;
  for (int colour : {0, 1}) {
    // Refused first: by bob when alice is to play black, by alice otherwise.
    const int32_t refused = invite(colour, true);
    ProtocolClient& refuser = colour == 0 ? *bob_ : *alice_;
    refuser.send(withId(10, refused));
    EXPECT_EQ((colour == 0 ? alice_ : bob_)->drain(),
              (Messages{msg(10, cstr(colour == 0 ? "bob" : "alice")), msg(23)}));
    EXPECT_EQ(refuser.drain(), Messages{msg(23)});
    alice_->send(msg(4, bytes({colour, colour == 0}) + cstr("bob")));
    const Messages toBob = bob_->drain();
    ASSERT_EQ(toBob.size(), 2u);
    const int32_t id = intAt(toBob[0], 1);
    EXPECT_GT(id, refused);  // the refused game's id is not taken again
    EXPECT_EQ(toBob[0], withId(4, id, bytes({colour, colour == 0}) + cstr("alice")));
    EXPECT_EQ(toBob[1], msg(23));
    EXPECT_EQ(alice_->drain(), Messages{msg(23)});
    // Colour choice 1: the invited player plays black. No refused game is listed.
    list += int32(id) + (colour == 0 ? cstr("alice") + cstr("bob") : cstr("bob") + cstr("alice"));
    alice_->send(msg(19));
    EXPECT_EQ(alice_->nextOf(19), msg(19, list));
    // Accepting starts the game; black is to move.
    bob_->send(withId(5, id));
    EXPECT_EQ(alice_->drain(), (colour == 0 ? Messages{withId(7, id), withId(14, id), msg(23)}
                                            : Messages{withId(7, id), msg(23)}));
    EXPECT_EQ(bob_->drain(), (colour == 0 ? Messages{withId(7, id), msg(23)}
                                          : Messages{withId(7, id), withId(14, id), msg(23)}));
  }
}

TEST_F(GameProtocol, APlayerMayInviteItselfAndPlayBothColours) {
  alice_->send(msg(4, bytes({0, 0}) + cstr("alice")));
  const int32_t id = intAt(alice_->nextOf(4), 1);
  alice_->send(withId(5, id));
  alice_->send(move(11, id, 5, 3));
  alice_->send(move(11, id, 4, 3));
  const std::string started = withId(7, id), turn = withId(14, id);
  const std::string first = move(13, id, 5, 3), second = move(13, id, 4, 3);
  EXPECT_EQ(alice_->drain(), (Messages{msg(23), started, started, turn, msg(23), first, first, turn,
                                       second, second, turn}));
}

TEST_F(GameProtocol, RequestsNamingNoGameOrPlayerOrAGameNotTheirsChangeNothing) {
  const int32_t id = invite(0, true);
  alice_->send(msg(4, bytes({0, 1}) + cstr("ghost")));
  alice_->send(move(11, 99999, 5, 3));
  for (int code : {5, 10}) {
    alice_->send(withId(code, 99999));
    carol_->send(withId(code, id));
  }
  for (ProtocolClient* c : {alice_.get(), bob_.get(), carol_.get()}) {
    EXPECT_TRUE(c->drain().empty());
  }
  // The invitation still stands; once it is accepted, a refusal comes too late.
  bob_->send(withId(5, id));
  bob_->send(withId(10, id));
  EXPECT_EQ(alice_->drain(), (Messages{withId(7, id), withId(14, id), msg(23)}));
}

TEST_F(GameProtocol, OnlyAPlayerAbortsAStartedGameAndAnyAbortRefreshesTheLists) {
  const int32_t id = startGame(true);
  alice_->send(withId(24, 99999));
  carol_->send(withId(24, id));  // a spectator
  for (ProtocolClient* c : {alice_.get(), bob_.get(), carol_.get()}) {
    EXPECT_EQ(c->drain(), (Messages{msg(23), msg(23)}));
  }
  alice_->send(withId(24, id));
  for (ProtocolClient* c : {alice_.get(), bob_.get(), carol_.get()}) {
    EXPECT_EQ(c->drain(), (Messages{msg(23), withId(24, id)}));
  }
}

TEST_F(GameProtocol, AMoveIsToldToBothAndARefusedOneEchoedToItsSenderAlone) {
  const int32_t id = startGame(false);
  // Off the board, on a disc, flipping nothing, out of turn, and not a
  // player of it.
  ProtocolClient *a = alice_.get(), *b = bob_.get(), *c = carol_.get();
  for (const auto& [sender, at] : std::vector<std::pair<ProtocolClient*, Move>>{{a, {0, 5}},
                                                                                {a, {9, 1}},
                                                                                {a, {-128, 127}},
                                                                                {a, {4, 4}},
                                                                                {a, {1, 1}},
                                                                                {b, {5, 3}},
                                                                                {c, {5, 3}}}) {
    sender->send(move(11, id, at.first, at.second));
    EXPECT_EQ(sender->drain(), Messages{move(12, id, at.first, at.second)});
  }
  EXPECT_TRUE(alice_->drain().empty());
  EXPECT_TRUE(bob_->drain().empty());
  alice_->send(move(11, id, 5, 3));
  EXPECT_EQ(alice_->drain(), Messages{move(13, id, 5, 3)});
  EXPECT_EQ(bob_->drain(), (Messages{move(13, id, 5, 3), withId(14, id)}));
  // Carol, refused as a spectator of this game, sees nothing of it; nor can
  // she watch a game that does not exist.
  carol_->send(withId(20, 777777));
  EXPECT_EQ(carol_->drain(), Messages{withId(22, 777777)});
  // The board: a byte a cell, row by row, -1 black and 1 white.
  alice_->send(withId(8, id));
  const std::string board = alice_->nextOf(8);
  ASSERT_EQ(board.size(), 69u);
  EXPECT_EQ(board.substr(0, 5), withId(8, id));
  EXPECT_EQ(board.substr(5 + 2 * 8, 24), bytes({0, 0, 0, 0,  -1, 0, 0, 0,  //
                                                0, 0, 0, -1, -1, 0, 0, 0,  //
                                                0, 0, 0, 1,  -1, 0, 0, 0}));
}

TEST_F(GameProtocol, APassIsToldWithS15AndTheEndWithS16ToPlayersAndSpectators) {
  // White's last move leaves black (alice) without a move.
  const int32_t passId = startGame(true);
  carol_->send(withId(20, passId));  // asked again: still told everything once
  EXPECT_EQ(carol_->nextOf(21), withId(21, passId));
  playAllButTheLast(passId, kGameWithAPass);
  Move last = kGameWithAPass.back();
  bob_->send(move(11, passId, last.first, last.second));
  const std::string played = move(13, passId, last.first, last.second);
  const std::string pass = withId(15, passId, cstr("alice"));
  EXPECT_EQ(bob_->drain(), (Messages{played, pass, withId(14, passId)}));
  EXPECT_EQ(alice_->drain(), (Messages{played, pass}));
  EXPECT_EQ(carol_->drain(), (Messages{played, pass}));
  // Black's last move leaves neither side a move; the game stays listed.
  const int32_t id = startGame(true);
  playAllButTheLast(id, kGameToTheEnd);
  last = kGameToTheEnd.back();
  alice_->send(move(11, id, last.first, last.second));
  const Messages end = {move(13, id, last.first, last.second), withId(16, id)};
  for (ProtocolClient* c : {alice_.get(), bob_.get(), carol_.get()}) EXPECT_EQ(c->drain(), end);
  alice_->send(msg(19));
  EXPECT_EQ(alice_->nextOf(19), msg(19, int32(passId) + cstr("alice") + cstr("bob") + int32(id) +
                                            cstr("alice") + cstr("bob")));
}
