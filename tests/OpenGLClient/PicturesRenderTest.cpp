// The menu pictures drawn full-screen with the texts the menus put on them:
// the rows where those texts go must be clear and dark enough for white
// text. The screenshots are kept as artefacts for a person to look at.
#include <GL/gl.h>
#include <gtest/gtest.h>

#include <algorithm>
#include <memory>
#include <string>
#include <vector>

#include "OpenGLClient/Texture.h"
#include "OpenGLClient/TextureFont.h"
#include "tests/OpenGLClient/RenderWindow.h"

namespace {

const std::string kDataDir = VANTOR_TEST_DATA_DIR;

struct Rect {
  int x0, y0, x1, y1;
};

struct Label {
  const wchar_t* text;
  float x;
  float y;
  bool centred;
  int font;  // 0 the 20-point display font, 1 its 14-point field size, 2 the list font
};

class PicturesRender : public ::testing::Test {
 protected:
  static void SetUpTestSuite() {
    if (!RenderWindow::open()) return;
    fonts_[0] = new TextureFont;
    fonts_[0]->init(kDataDir + "/TTF/matisse.ttf", 20);
    fonts_[1] = new TextureFont;
    fonts_[1]->init(kDataDir + "/TTF/matisse.ttf", 14);
    fonts_[2] = new TextureFont;
    fonts_[2]->init(kDataDir + "/TTF/FreeSans.ttf", 11);
  }
  static void TearDownTestSuite() {
    for (TextureFont*& font : fonts_) {
      delete font;
      font = nullptr;
    }
  }
  void SetUp() override { ASSERT_TRUE(RenderWindow::open()) << RenderWindow::error(); }

  // Draws the picture alone, checks the text rows, then draws the labels
  // (the first one as hovered) and keeps the screenshot.
  void check(const std::string& name, const std::vector<Rect>& rows,
             const std::vector<Label>& labels) {
    glLoadIdentity();
    glClearColor(0, 0, 0, 0);
    glClear(GL_COLOR_BUFFER_BIT);
    glDisable(GL_BLEND);
    const vgl::Texture picture(kDataDir + "/PNG/" + name + ".png", vgl::Texture::kOpaque);
    ASSERT_EQ(picture.width(), 512);
    ASSERT_EQ(picture.height(), 512);
    picture.drawFullScreen();
    const Screenshot bare;
    for (const Rect& r : rows) {
      const Rgb first = bare.at(r.x0, r.y0);
      for (int y = r.y0; y <= r.y1; ++y) {
        for (int x = r.x0; x <= r.x1; ++x) {
          const Rgb p = bare.at(x, y);
          ASSERT_LE(distance(p, first), 12) << name << ": row not clear at " << x << ", " << y;
          ASSERT_LT(p.luminance(), 90)
              << name << ": too light for white text at " << x << ", " << y;
        }
      }
    }
    bool hovered = true;
    for (const Label& label : labels) {
      glColor4f(1, 1, 1, hovered ? 1.0f : 0.25f);
      hovered = false;
      if (label.centred) {
        fonts_[label.font]->printCentred(label.x, label.y, L"%ls", label.text);
      } else {
        fonts_[label.font]->print(label.x, label.y, L"%ls", label.text);
      }
    }
    glColor4f(1, 1, 1, 1);
    const Screenshot shot;
    EXPECT_TRUE(shot.save("picture-" + name + ".png"));
    EXPECT_EQ(glGetError(), static_cast<GLenum>(GL_NO_ERROR));
  }

  static TextureFont* fonts_[3];
};

TextureFont* PicturesRender::fonts_[3] = {nullptr, nullptr, nullptr};

const std::vector<Rect> kThreeButtons = {
    {70, 326, 250, 354}, {70, 376, 250, 404}, {70, 425, 250, 453}};

TEST_F(PicturesRender, MainMenuLeavesItsButtonRowsClear) {
  check("mainmenu", kThreeButtons,
        {{L"Jouer en local", 160, 320, true, 0},
         {L"Jouer sur internet", 160, 369, true, 0},
         {L"Quitter", 160, 418, true, 0}});
}

TEST_F(PicturesRender, ColourSelectionLeavesItsButtonRowsClear) {
  check("colorselect", kThreeButtons,
        {{L"Jouer les noirs", 160, 320, true, 0},
         {L"Jouer les blancs", 160, 369, true, 0},
         {L"Retour", 160, 418, true, 0}});
}

TEST_F(PicturesRender, LocalCentreLeavesItsRowsClear) {
  std::vector<Rect> rows = {{70, 45, 250, 73}};
  const wchar_t* names[7] = {L"Pee",        L"Chicken", L"Baby",   L"Britney",
                             L"Desdemonia", L"Cassio",  L"William"};
  std::vector<Label> labels = {{L"Deux joueurs", 160, 39, true, 0}};
  for (int k = 0; k < 7; ++k) {
    rows.push_back({100, 130 + 49 * k, 240, 158 + 49 * k});
    labels.push_back({names[k], 110, 124.0f + 49 * k, false, 0});
  }
  check("localcenter", rows, labels);
}

TEST_F(PicturesRender, JoinServerMenuLeavesItsFieldsClear) {
  check("netmenu", {{128, 328, 298, 353}, {128, 377, 298, 402}, {112, 425, 230, 453}},
        {{L"Guest1234|", 130, 326, false, 1},
         {L"vantor.example.org", 130, 375, false, 1},
         {L"Se connecter", 110, 418, false, 0}});
}

TEST_F(PicturesRender, LobbyLeavesItsListStatusAndButtonsClear) {
  std::vector<Rect> rows;
  std::vector<Label> labels;
  const wchar_t* players[14] = {
      L"Pee[Bot]",    L"Chicken[Bot]", L"Baby[Bot]", L"Britney[Bot]", L"Desdemonia[Bot]",
      L"Cassio[Bot]", L"William[Bot]", L"Guest42",   L"Amandine",     L"Bruno",
      L"Chlo\xe9",    L"Dimitri",      L"Elodie",    L"Fran\xe7ois"};
  for (int k = 0; k < 12; ++k) {
    rows.push_back({30, 58 + 19 * k, 160, 74 + 19 * k});
    rows.push_back({170, 58 + 19 * k, 292, 74 + 19 * k});
  }
  for (int k = 0; k < 14; ++k) {
    labels.push_back(
        {players[k], k < 12 ? 30.0f : 170.0f, 55.0f + 19 * (k < 12 ? k : k - 12), false, 2});
  }
  rows.push_back({20, 322, 300, 360});
  rows.push_back({20, 372, 300, 457});
  labels.push_back({L"Amandine invites you!", 160, 320, true, 0});
  labels.push_back({L"Accept", 160, 369, true, 0});
  labels.push_back({L"Decline", 160, 418, true, 0});
  check("netcenter", rows, labels);
}

TEST_F(PicturesRender, GameBackgroundLeavesItsStatusAndCountsClear) {
  check("gamebg", {{34, 326, 286, 358}, {106, 392, 152, 446}, {246, 392, 292, 446}}, {});
}

}  // namespace
