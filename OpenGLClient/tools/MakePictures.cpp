// Draws the game's pictures into a folder, with libpng, FreeType and code,
// and the desktop icon at the sizes the icon theme asks for into another:
//   make-pictures <png folder> <display font> <text font> <icon folder>
// Every picture is 512 x 512; the 320 x 480 window shows its left 320
// columns and bottom 480 rows. The menus leave their button rows and the
// lobby its list clear for the texts the game draws over them.
#include <ft2build.h>
#include FT_FREETYPE_H

#include <cmath>
#include <cstdio>
#include <exception>
#include <string>

#include "OpenGLClient/tools/Canvas.h"

namespace {

// The palette: night blue, gold, ivory, felt green.
const Colour kSkyTop = rgb(0x1f3d5c);
const Colour kSkyBottom = rgb(0x091420);
const Colour kGold = rgb(0xf2c14e);
const Colour kIvory = rgb(0xf4efe2);
const Colour kNight = rgb(0x0a1623);
const Colour kFelt = rgb(0x2e7a4b);
const Colour kFeltEdge = rgb(0x24633c);
const Colour kGrid = rgb(0x123821);

// The pixel size that matches the game's fonts: sizes in points at 96 dpi.
int pixels(int points) {
  return static_cast<int>(std::lround(points * 96.0 / 72.0));
}
// The baseline of a line the game draws with its top at y.
float baselineBelow(float y, int points) {
  return y + points / 0.63f;
}

struct Fonts {
  FT_Face display;
  FT_Face text;
};

void background(Canvas& c) {
  c.verticalGradient(kSkyTop, kSkyBottom);
  c.softCircle(160, 95, 70, 110, rgb(0xf2c14e, 0.07f));
}

// The title with a row of discs under it, black and white by turns.
void title(Canvas& c, const Fonts& f, float baseline, int px) {
  c.textCentred(f.display, px, L"Vantor", 162, baseline + 3, rgb(0x000000, 0.45f));
  c.textCentred(f.display, px, L"Vantor", 160, baseline, kGold);
  const float y = baseline + px * 0.32f;
  for (int k = 0; k < 4; ++k) c.disc(160 - 27 + 18 * k, y, 6.5f, k % 2 == 1);
}

void buttonBand(Canvas& c, float x0, float top, float x1, float bottom) {
  c.softRect(x0, top + 2, x1, bottom + 2, 17, 4, rgb(0x000000, 0.35f));
  c.roundedRect(x0, top, x1, bottom, 17, rgb(0xffffff, 0.07f));
  c.roundedRectOutline(x0, top, x1, bottom, 17, 1.5f, rgb(0xf2c14e, 0.45f));
}

void threeButtons(Canvas& c) {
  buttonBand(c, 36, 322, 284, 358);
  buttonBand(c, 36, 372, 284, 408);
  buttonBand(c, 36, 421, 284, 457);
}

// A small felt board holding the four starting discs.
void emblem(Canvas& c, float cx, float cy, float cell) {
  const float half = cell * 2;
  c.softRect(cx - half, cy - half + 4, cx + half, cy + half + 4, 8, 8, rgb(0x000000, 0.5f));
  c.roundedRect(cx - half - 5, cy - half - 5, cx + half + 5, cy + half + 5, 9, kNight);
  c.roundedRectOutline(cx - half - 5, cy - half - 5, cx + half + 5, cy + half + 5, 9, 1.5f,
                       rgb(0xf2c14e, 0.6f));
  c.roundedRect(cx - half, cy - half, cx + half, cy + half, 4, kFelt);
  for (int k = 1; k < 4; ++k) {
    const float t = cx - half + k * cell;
    c.roundedRect(t - 0.75f, cy - half, t + 0.75f, cy + half, 0, kGrid);
    const float u = cy - half + k * cell;
    c.roundedRect(cx - half, u - 0.75f, cx + half, u + 0.75f, 0, kGrid);
  }
  c.disc(cx - cell / 2, cy - cell / 2, cell * 0.4f, true);
  c.disc(cx + cell / 2, cy - cell / 2, cell * 0.4f, false);
  c.disc(cx - cell / 2, cy + cell / 2, cell * 0.4f, false);
  c.disc(cx + cell / 2, cy + cell / 2, cell * 0.4f, true);
}

void mainMenu(const Fonts& f, const std::string& dir) {
  Canvas c;
  background(c);
  title(c, f, 108, 72);
  c.textCentred(f.display, 20, L"Reversi", 160, 160, rgb(0xf4efe2, 0.7f));
  emblem(c, 160, 240, 27);
  threeButtons(c);
  c.save(dir + "/mainmenu.png", false);
}

void colourSelect(const Fonts& f, const std::string& dir) {
  Canvas c;
  background(c);
  title(c, f, 84, 56);
  c.textCentred(f.display, 24, L"Choisissez votre couleur", 160, 150, rgb(0xf4efe2, 0.85f));
  c.softCircle(160, 235, 50, 40, rgb(0xf2c14e, 0.06f));
  c.disc(118, 232, 36, false);
  c.disc(202, 232, 36, true);
  c.textCentred(f.text, 14, L"Les noirs commencent", 160, 298, rgb(0xf4efe2, 0.45f));
  // Wider buttons here, with room for a small disc before each colour.
  buttonBand(c, 14, 322, 306, 358);
  buttonBand(c, 14, 372, 306, 408);
  buttonBand(c, 14, 421, 306, 457);
  c.disc(34, 339, 9, false);
  c.disc(34, 389, 9, true);
  c.save(dir + "/colorselect.png", false);
}

void localCentre(const Fonts& f, const std::string& dir) {
  Canvas c;
  background(c);
  c.textCentred(f.display, 22, L"Partie locale", 160, 28, kGold);
  buttonBand(c, 14, 41, 306, 77);
  // Between the two-player button and the list of computer players.
  const float y = 106;
  c.textCentred(f.display, 19, L"Contre l'ordinateur", 160, y, rgb(0xf4efe2, 0.8f));
  const float w = c.textWidth(f.display, 19, L"Contre l'ordinateur");
  c.roundedRect(24, y - 6, 160 - w / 2 - 10, y - 5, 0.5f, rgb(0xf2c14e, 0.5f));
  c.roundedRect(160 + w / 2 + 10, y - 6, 296, y - 5, 0.5f, rgb(0xf2c14e, 0.5f));
  // The three players of the first kind search 1, 3, 5 moves ahead, the
  // four of the second kind 1, 3, 5, 7: a pip for every two moves.
  const int pips[7] = {1, 2, 3, 1, 2, 3, 4};
  for (int k = 0; k < 7; ++k) {
    const float top = 126 + 49 * k;
    const float bottom = 162 + 49 * k;
    buttonBand(c, 14, top, 306, bottom);
    c.disc(72, (top + bottom) / 2, 11, k >= 3);
    for (int p = 0; p < 4; ++p) {
      const float px = 264 + 9 * p;
      const float py = (top + bottom) / 2;
      c.circle(px, py, 3.2f, p < pips[k] ? kGold : rgb(0xffffff, 0.12f));
    }
  }
  c.save(dir + "/localcenter.png", false);
}

void field(Canvas& c, float top, float bottom) {
  c.roundedRect(122, top, 304, bottom, 9, rgb(0x000000, 0.35f));
  c.roundedRectOutline(122, top, 304, bottom, 9, 1.2f, rgb(0xf4efe2, 0.3f));
}

void netMenu(const Fonts& f, const std::string& dir) {
  Canvas c;
  background(c);
  title(c, f, 100, 64);
  c.textCentred(f.display, 22, L"Jouer sur internet", 160, 158, rgb(0xf4efe2, 0.8f));
  // Players linked across a network, as discs on lines.
  const float nodes[6][2] = {{70, 250}, {125, 205}, {190, 240}, {250, 200}, {160, 290}, {255, 280}};
  const int links[7][2] = {{0, 1}, {1, 2}, {2, 3}, {2, 4}, {0, 4}, {3, 5}, {4, 5}};
  for (const auto& link : links) {
    const float x0 = nodes[link[0]][0], y0 = nodes[link[0]][1];
    const float x1 = nodes[link[1]][0], y1 = nodes[link[1]][1];
    c.draw(
        std::fmin(x0, x1) - 2, std::fmin(y0, y1) - 2, std::fmax(x0, x1) + 2, std::fmax(y0, y1) + 2,
        [=](float x, float y) {
          const float dx = x1 - x0, dy = y1 - y0;
          const float t = std::fmax(
              0.0f, std::fmin(1.0f, ((x - x0) * dx + (y - y0) * dy) / (dx * dx + dy * dy)));
          const float d = std::hypot(x - (x0 + t * dx), y - (y0 + t * dy));
          return std::fmax(0.0f, std::fmin(1.0f, 1.5f - d));
        },
        [](float, float) { return rgb(0xf2c14e, 0.45f); });
  }
  for (int k = 0; k < 6; ++k) c.disc(nodes[k][0], nodes[k][1], k == 2 ? 15 : 10, k % 2 == 0);

  const float nickBaseline = baselineBelow(326, 14);
  const float hostBaseline = baselineBelow(375, 14);
  const int label = pixels(15);
  c.text(f.display, label, L"Pseudo", 114 - c.textWidth(f.display, label, L"Pseudo"), nickBaseline,
         rgb(0xf4efe2, 0.85f));
  c.text(f.display, label, L"Serveur", 114 - c.textWidth(f.display, label, L"Serveur"),
         hostBaseline, rgb(0xf4efe2, 0.85f));
  field(c, 324, 357);
  field(c, 373, 406);
  const float w = c.textWidth(f.display, pixels(20), L"Se connecter");
  buttonBand(c, 94, 421, 110 + w + 16, 457);
  c.save(dir + "/netmenu.png", false);
}

// The keys of a screen, faint at the bottom, as small as it takes to fit.
void helpLine(Canvas& c, const Fonts& f, const std::wstring& text) {
  int px = 12;
  while (px > 9 && c.textWidth(f.text, px, text) > 308) --px;
  c.textCentred(f.text, px, text, 160, 474, rgb(0xf4efe2, 0.4f));
}

// A screen's dark panel under its title, from y 48 down to bottom, framed in
// gold with a soft shadow.
void panel(Canvas& c, float bottom) {
  c.softRect(20, 50, 300, bottom + 4, 12, 6, rgb(0x000000, 0.35f));
  c.roundedRect(20, 48, 300, bottom, 12, rgb(0x06101a, 0.7f));
  c.roundedRectOutline(20, 48, 300, bottom, 12, 1.5f, rgb(0xf2c14e, 0.4f));
}

// The lobby's screens: the sky, a title and a panel under it.
void titledPanel(Canvas& c, const Fonts& f, const wchar_t* text, float bottom) {
  background(c);
  c.textCentred(f.display, 22, text, 160, 34, kGold);
  panel(c, bottom);
}

void netCentre(const Fonts& f, const std::string& dir) {
  Canvas c;
  titledPanel(c, f, L"Joueurs en ligne", 304);
  // Twelve rows of 19 pixels per column, striped by turns.
  for (int k = 0; k < 12; ++k) {
    if (k % 2 == 1) continue;
    const float top = 57 + 19 * k;
    c.roundedRect(26, top, 162, top + 19, 4, rgb(0xffffff, 0.035f));
    c.roundedRect(166, top, 294, top + 19, 4, rgb(0xffffff, 0.035f));
  }
  c.roundedRect(163.5f, 60, 164.5f, 290, 0, rgb(0xf2c14e, 0.2f));
  c.roundedRect(40, 311, 280, 312, 0, rgb(0xf2c14e, 0.25f));
  helpLine(c, f,
           L"Clic : inviter  \x2022  Tab : discussion  \x2022  P : parties  \x2022  \xc9"
           L"chap : menu");
  c.save(dir + "/netcenter.png", false);
}

// The lines of the chat in a panel like the lobby's list, the input line
// in a field under it, and "Retour".
void chat(const Fonts& f, const std::string& dir) {
  Canvas c;
  titledPanel(c, f, L"Discussion", 352);
  c.roundedRect(20, 370, 300, 406, 9, rgb(0x000000, 0.35f));
  c.roundedRectOutline(20, 370, 300, 406, 9, 1.2f, rgb(0xf4efe2, 0.3f));
  buttonBand(c, 36, 421, 284, 457);
  helpLine(c, f,
           L"Entr\xe9"
           L"e : envoyer  \x2022  @Pseudo texte : priv\xe9  \x2022  \xc9"
           L"chap : retour");
  c.save(dir + "/chat.png", false);
}

// The server's games, one per striped row of a panel like the chat's, and
// "Retour".
void games(const Fonts& f, const std::string& dir) {
  Canvas c;
  titledPanel(c, f, L"Parties du serveur", 352);
  for (int k = 0; k < 15; k += 2) {
    const float top = 57 + 19 * k;
    c.roundedRect(26, top, 294, top + 19, 4, rgb(0xffffff, 0.035f));
  }
  buttonBand(c, 36, 421, 284, 457);
  helpLine(c, f,
           L"Clic ou \x2191\x2193 Entr\xe9"
           L"e : regarder  \x2022  \xc9"
           L"chap : retour");
  c.save(dir + "/games.png", false);
}

void gameBackground(const Fonts& f, const std::string& dir) {
  Canvas c;
  c.verticalGradient(kSkyTop, kSkyBottom);
  // The frame and the felt: 8 x 8 squares of 35 pixels from (20, 20) to (300, 300).
  c.softRect(8, 12, 312, 316, 12, 8, rgb(0x000000, 0.55f));
  c.roundedRect(7, 7, 313, 313, 12, kNight);
  c.roundedRectOutline(7, 7, 313, 313, 12, 1.5f, rgb(0xf2c14e, 0.55f));
  c.draw(
      20, 20, 300, 300, [](float x, float y) { return x >= 20 && x < 300 && y >= 20 && y < 300; },
      [](float x, float y) {
        const float d = std::hypot(x - 160, y - 160) / 200;
        return mix(kFelt, kFeltEdge, d * d);
      });
  for (int k = 0; k <= 8; ++k) {
    const float t = 20 + 35 * k;
    const float half = (k == 0 || k == 8) ? 1.0f : 0.75f;
    c.roundedRect(t - half, 20 - half, t + half, 300 + half, 0, kGrid);
    c.roundedRect(20 - half, t - half, 300 + half, t + half, 0, kGrid);
  }
  for (float x : {90.0f, 230.0f}) {
    for (float y : {90.0f, 230.0f}) c.circle(x, y, 3.5f, kGrid);
  }
  // The status line and the two count plates.
  c.roundedRect(20, 322, 300, 362, 14, rgb(0x000000, 0.28f));
  // Badges at x 70 and 210, counts from x 110 and 250.
  for (float x0 : {22.0f, 164.0f}) {
    c.softRect(x0, 384, x0 + 134, 460, 16, 5, rgb(0x000000, 0.35f));
    c.roundedRect(x0, 381, x0 + 134, 457, 16, rgb(0xffffff, 0.05f));
    c.roundedRectOutline(x0, 381, x0 + 134, 457, 16, 1.2f, rgb(0xf2c14e, 0.35f));
  }
  (void)f;
  c.save(dir + "/gamebg.png", false);
}

// A round blob of the given darkness filling the picture, transparent at
// its edges so linear filtering never brings in the opposite border.
void blob(const std::string& path, const Colour& colour, float inner, float outer) {
  Canvas c;
  c.clear(rgb(0x000000, 0));
  c.draw(
      0, -Canvas::kHidden, Canvas::kSize, Canvas::kSize - Canvas::kHidden,
      [=](float x, float y) {
        const float d = std::hypot(x - 256, y + Canvas::kHidden - 256);
        return 1 - smoothStep(inner, outer, d);
      },
      [=](float, float) { return colour; });
  c.save(path, true);
}

void overlay(const std::string& dir) {
  Canvas c;
  c.clear(rgb(0x000000, 0.22f));
  // The message is drawn with its top at y 120 in the 35-point font: its
  // letters stand between about 143 and 186.
  const float top = 128;
  const float bottom = 202;
  c.draw(
      0, top - 12, 512, bottom + 12,
      [=](float, float y) {
        return 1 - smoothStep(0, 10, std::fabs(y - (top + bottom) / 2) - (bottom - top) / 2 + 5);
      },
      [](float, float) { return rgb(0x091420, 0.88f); });
  c.roundedRect(0, top - 1, 512, top + 0.5f, 0, rgb(0xf2c14e, 0.7f));
  c.roundedRect(0, bottom - 0.5f, 512, bottom + 1, 0, rgb(0xf2c14e, 0.7f));
  c.save(dir + "/overlay.png", true);
}

void gameOver(const Fonts& f, const std::string& dir) {
  Canvas c;
  c.clear(rgb(0x000000, 0));
  // A light veil on the board: the final position stays readable.
  c.roundedRect(7, 7, 313, 313, 12, rgb(0x050b12, 0.2f));
  const float top = 124;
  const float bottom = 196;
  c.softRect(-20, top + 3, 540, bottom + 3, 0, 6, rgb(0x000000, 0.4f));
  c.roundedRect(-20, top, 540, bottom, 0, rgb(0x0a1623, 0.82f));
  c.roundedRect(-20, top + 4, 540, top + 5.5f, 0, rgb(0xf2c14e, 0.8f));
  c.roundedRect(-20, bottom - 5.5f, 540, bottom - 4, 0, rgb(0xf2c14e, 0.8f));
  c.textCentred(f.display, 40,
                L"Partie termin\xe9"
                L"e",
                161.5f, 173.5f, rgb(0x000000, 0.5f));
  c.textCentred(f.display, 40,
                L"Partie termin\xe9"
                L"e",
                160, 172, kGold);
  c.roundedRect(0, 462, 512, 480, 0, rgb(0x000000, 0.45f));
  c.textCentred(f.text, 13, L"Cliquez pour continuer", 160, 475, rgb(0xf4efe2, 0.85f));
  c.save(dir + "/gameover.png", true);
}

// Four discs in their starting square on a felt board, on a transparent
// ground: vantor-48.png ... vantor-512.png. Drawn in picture pixels, which are
// window points kHidden rows lower.
void icons(const std::string& dir) {
  Canvas c;
  c.clear(rgb(0x000000, 0));
  const float top = -Canvas::kHidden;
  c.softRect(20, top + 28, 492, top + 500, 76, 14, rgb(0x000000, 0.45f));
  c.roundedRect(16, top + 16, 496, top + 496, 76, kNight);
  c.roundedRectOutline(16, top + 16, 496, top + 496, 76, 8, rgb(0xf2c14e, 0.8f));
  c.draw(
      52, top + 52, 460, top + 460,
      [=](float x, float y) { return x >= 52 && x < 460 && y >= top + 52 && y < top + 460; },
      [=](float x, float y) {
        const float d = std::hypot(x - 256, y - top - 256) / 300;
        return mix(kFelt, kFeltEdge, d * d);
      });
  for (int k = 1; k < 4; ++k) {
    const float t = 52 + 102 * k;
    c.roundedRect(t - 3, top + 52, t + 3, top + 460, 0, kGrid);
    c.roundedRect(52, top + t - 3, 460, top + t + 3, 0, kGrid);
  }
  for (int k = 0; k < 4; ++k) {
    const float x = 256 + (k % 2 == 0 ? -51.0f : 51.0f);
    const float y = top + 256 + (k < 2 ? -51.0f : 51.0f);
    c.disc(x, y, 42, k == 0 || k == 3);
  }
  for (int size : {48, 128, 256, 512}) {
    c.save(dir + "/vantor-" + std::to_string(size) + ".png", true, size);
  }
}

FT_Face openFace(FT_Library library, const char* path) {
  FT_Face face = nullptr;
  if (FT_New_Face(library, path, 0, &face) != 0) {
    std::fprintf(stderr, "make-pictures: cannot open font %s\n", path);
    return nullptr;
  }
  return face;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc != 5) {
    std::fprintf(stderr,
                 "usage: make-pictures <png folder> <display font> <text font> <icon folder>\n");
    return 2;
  }
  const std::string dir = argv[1];
  FT_Library library = nullptr;
  if (FT_Init_FreeType(&library) != 0) {
    std::fprintf(stderr, "make-pictures: FreeType failed to start\n");
    return 1;
  }
  Fonts fonts{openFace(library, argv[2]), openFace(library, argv[3])};
  int status = 1;
  if (fonts.display != nullptr && fonts.text != nullptr) {
    try {
      mainMenu(fonts, dir);
      localCentre(fonts, dir);
      colourSelect(fonts, dir);
      netMenu(fonts, dir);
      netCentre(fonts, dir);
      chat(fonts, dir);
      games(fonts, dir);
      gameBackground(fonts, dir);
      blob(dir + "/shadow.png", rgb(0x000000, 0.85f), 80, 250);
      blob(dir + "/white-shadow.png", rgb(0x1a2630, 0.35f), 90, 245);
      overlay(dir);
      gameOver(fonts, dir);
      icons(argv[4]);
      status = 0;
    } catch (const std::exception& e) {
      std::fprintf(stderr, "make-pictures: %s\n", e.what());
    }
  }
  if (fonts.display != nullptr) FT_Done_Face(fonts.display);
  if (fonts.text != nullptr) FT_Done_Face(fonts.text);
  FT_Done_FreeType(library);
  return status;
}
