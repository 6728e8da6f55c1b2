// The pictures the screens load themselves: backdrops, the title, menu bars,
// the song wheel's plates and folder banners, the style pages, profile
// panels, results, break and credits.
#include <cmath>

#include "gen.h"
#include "gen_arrows.h"
#include "gen_art.h"
#include "gen_draw.h"

namespace {

TextStyle Bold(double size, uint32_t top, uint32_t bottom, double outline = 2.0) {
  TextStyle st;
  st.size = size;
  st.fill = Hex(top);
  st.fill2 = Hex(bottom);
  st.outlineWidth = outline;
  return st;
}

bool Save(Canvas& c, const std::string& dir, const std::string& name) {
  bool ok = Canvas_Save(c, JoinPath(dir, name));
  Canvas_Free(c);
  return ok;
}

// A screen heading in a slanted band across the top.
void Heading(cairo_t* cr, const std::string& text, uint32_t accent) {
  cairo_move_to(cr, 0, 8);
  cairo_line_to(cr, 380, 8);
  cairo_line_to(cr, 350, 52);
  cairo_line_to(cr, 0, 52);
  cairo_close_path(cr);
  cairo_pattern_t* p = cairo_pattern_create_linear(0, 0, 380, 0);
  Rgba a = Hex(accent, 0.95), b = Hex(accent, 0.0);
  cairo_pattern_add_color_stop_rgba(p, 0, a.r, a.g, a.b, a.a);
  cairo_pattern_add_color_stop_rgba(p, 0.7, a.r, a.g, a.b, 0.6);
  cairo_pattern_add_color_stop_rgba(p, 1, b.r, b.g, b.b, 0);
  cairo_set_source(cr, p);
  cairo_fill(cr);
  cairo_pattern_destroy(p);
  TextStyle st = Bold(30, 0xFFFFFF, 0xD8E8FF, 2.5);
  st.letterSpacing = 2;
  st.shadow = 2;
  TextAt(cr, st, 18, 42, text);
}

// A translucent framed area for the game to draw into.
void Area(cairo_t* cr, double x, double y, double w, double h, uint32_t edge, double alpha = 0.45) {
  RoundedRect(cr, x + 0.5, y + 0.5, w - 1, h - 1, 10);
  cairo_set_source_rgba(cr, 0.02, 0.03, 0.1, alpha);
  cairo_fill_preserve(cr);
  SetColour(cr, Hex(edge, 0.8));
  cairo_set_line_width(cr, 1.5);
  cairo_stroke(cr);
}

void Screen(cairo_t* cr, uint64_t seed, uint32_t top = Palette::Night, uint32_t bottom = Palette::Indigo) {
  Backdrop(cr, 640, 480, top, bottom, seed);
}

bool Title(const std::string& dir) {
  Canvas c = Canvas_New(640, 480);
  cairo_t* cr = c.cr;
  Screen(cr, 11, 0x070920, 0x2A1860);
  // arrows fanned behind the logo
  for (int i = 0; i < 6; i++) {
    double a = (i - 2.5) * 0.42;
    double x = 320 + std::sin(a) * 230, y = 100 - std::cos(a) * 40;
    static const int col[6] = {0, 4, 1, 2, 5, 3};
    static const uint32_t cls[3] = {Palette::ClassBeat, Palette::ClassHalf, Palette::ClassOff};
    Arrow_Draw(cr, x, y, 1.15, Arrow_Angle(col[i]), Hex(cls[i % 3]), ArrowLook::Glossy, 0.5);
  }
  TextStyle logo = Bold(78, 0xFFFFFF, 0x60D8FF, 4);
  logo.letterSpacing = 4;
  logo.shadow = 4;
  logo.outline = Hex(0x140830);
  TextInBox(cr, logo, 0, 110, 640, 100, "TARVOLEN");
  TextStyle sub = Bold(16, 0xFFE880, 0xFFA020, 2);
  sub.letterSpacing = 6;
  TextInBox(cr, sub, 0, 205, 640, 30, "STEP  TO  THE  BEAT");
  // the menu's ground: a dark glass panel behind the five items
  Area(cr, 40, 266, 560, 186, Palette::Cyan, 0.5);
  return Save(c, dir, "rkv2-title.png");
}

// The title menu's selector bar, 579 x 36, drawn at half opacity by the menu.
bool Selector(const std::string& dir) {
  Canvas c = Canvas_New(579, 36);
  cairo_t* cr = c.cr;
  cairo_pattern_t* p = cairo_pattern_create_linear(0, 0, 579, 0);
  Rgba m = Hex(Palette::Magenta), y = Hex(Palette::Gold);
  cairo_pattern_add_color_stop_rgba(p, 0, m.r, m.g, m.b, 0);
  cairo_pattern_add_color_stop_rgba(p, 0.15, m.r, m.g, m.b, 0.9);
  cairo_pattern_add_color_stop_rgba(p, 0.5, y.r, y.g, y.b, 1);
  cairo_pattern_add_color_stop_rgba(p, 0.85, m.r, m.g, m.b, 0.9);
  cairo_pattern_add_color_stop_rgba(p, 1, m.r, m.g, m.b, 0);
  RoundedRect(cr, 1, 2, 577, 32, 14);
  cairo_set_source(cr, p);
  cairo_fill(cr);
  cairo_pattern_destroy(p);
  FillVertical(cr, 20, 4, 539, 12, {1, 1, 1, 0.55}, {1, 1, 1, 0});
  Arrow_Draw(cr, 40, 18, 0.42, Arrow_Angle(3), Hex(0xFFFFFF), ArrowLook::Flat);
  Arrow_Draw(cr, 539, 18, 0.42, Arrow_Angle(0), Hex(0xFFFFFF), ArrowLook::Flat);
  return Save(c, dir, "rkv2-selector.png");
}

// The warning screen's tile: it scrolls diagonally, so it repeats seamlessly.
bool Dtile(const std::string& dir) {
  Canvas c = Canvas_New(64, 64);
  cairo_t* cr = c.cr;
  FillVertical(cr, 0, 0, 64, 64, Hex(0x1A1F4A), Hex(0x1A1F4A));
  for (int dx = -1; dx <= 1; dx++)
    for (int dy = -1; dy <= 1; dy++) {
      Arrow_Draw(cr, 16 + 64 * dx, 16 + 64 * dy, 0.4, Arrow_Angle(2), Hex(0x3A4390), ArrowLook::Flat);
      Arrow_Draw(cr, 48 + 64 * dx, 48 + 64 * dy, 0.4, Arrow_Angle(1), Hex(0x46307F), ArrowLook::Flat);
    }
  return Save(c, dir, "rkv2-dtile.png");
}

bool StyleBackdrop(const std::string& dir) {
  Canvas c = Canvas_New(640, 480);
  cairo_t* cr = c.cr;
  Screen(cr, 21);
  Heading(cr, "SELECT STYLE", Palette::Violet);
  Area(cr, 30, 72, 340, 100, Palette::Cyan);    // the row of icons
  Area(cr, 385, 108, 240, 170, Palette::Gold);  // the description
  Area(cr, 40, 270, 304, 196, Palette::Magenta);// the pad picture
  TextStyle st = Bold(12, 0xC8D0FF, 0xA0A8E0, 1.5);
  TextAt(cr, st, 400, 300, "LEFT / RIGHT  choose");
  TextAt(cr, st, 400, 320, "UP / DOWN  more styles");
  TextAt(cr, st, 400, 340, "START  decide");
  return Save(c, dir, "rkv2-style.png");
}

// One style choice: its icon (74 x 74), text (220 x 150) and pad picture (280 x 180).
bool StyleChoice(const std::string& dir, int page, const char* name, const char* title, const char* lines[3],
                 int players, bool six, bool twoPads, uint32_t accent) {
  bool ok = true;
  {
    Canvas c = Canvas_New(74, 74);
    Panel(c.cr, 1, 1, 72, 72, 14, Hex(accent), 2);
    bool lit[9] = {0, 1, 0, 1, 0, 1, 0, 1, 0};
    if (six) lit[0] = lit[2] = 1;
    double cell = twoPads ? 10 : 13;
    if (twoPads) {
      Sheets_MiniPad(c.cr, 6, 10, cell, false, lit, Hex(0xFFFFFF));
      Sheets_MiniPad(c.cr, 38, 10, cell, false, lit, Hex(0xFFFFFF));
    } else {
      Sheets_MiniPad(c.cr, 37 - 1.5 * cell, 8, cell, six, lit, Hex(0xFFFFFF));
    }
    TextStyle st = Bold(13, 0xFFFFFF, 0xE0E0E0, 1.5);
    TextFit(c.cr, st, 2, 50, 70, 20, players == 2 ? "2 PLAYERS" : "1 PLAYER");
    ok = Save(c, dir, Fmt("rkv2-g%d-%s-icon.png", page, name)) && ok;
  }
  {
    Canvas c = Canvas_New(220, 150);
    TextStyle h = Bold(30, 0xFFFFFF, Lighter(Hex(accent), 0.3).r > 0 ? 0xFFE080 : 0xFFE080, 2.5);
    TextAt(c.cr, h, 10, 38, title);
    FillVertical(c.cr, 10, 48, 200, 3, Hex(accent), Hex(accent));
    TextStyle t = Bold(14, 0xFFFFFF, 0xD0D8FF, 1.5);
    for (int i = 0; i < 3; i++) TextAt(c.cr, t, 10, 78 + 24 * i, lines[i]);
    ok = Save(c, dir, Fmt("rkv2-g%d-%s-text.png", page, name)) && ok;
  }
  {
    Canvas c = Canvas_New(280, 180);
    cairo_t* cr = c.cr;
    auto pad = [&](double x, double y, double size, Rgba colour) {
      Panel(cr, x, y, size, size, 10, Hex(0x2A2F48), 2);
      double cell = (size - 16) / 3;
      for (int r = 0; r < 3; r++)
        for (int q = 0; q < 3; q++) {
          int i = r * 3 + q;
          double px = x + 8 + q * cell, py = y + 8 + r * cell;
          bool panel = i == 1 || i == 3 || i == 5 || i == 7 || (six && (i == 0 || i == 2));
          RoundedRect(cr, px + 2, py + 2, cell - 4, cell - 4, 6);
          SetColour(cr, panel ? Hex(0x3A4160) : Hex(0x1C2034));
          cairo_fill(cr);
          static const int colOf[9] = {4, 2, 5, 0, -1, 3, -1, 1, -1};
          if (panel && colOf[i] >= 0)
            Arrow_Draw(cr, px + cell / 2, py + cell / 2, cell / 72.0, Arrow_Angle(colOf[i]), colour,
                       ArrowLook::Glossy, 0.2);
        }
    };
    if (twoPads || players == 2) {
      pad(4, 20, 134, Hex(players == 2 ? Palette::P1 : accent));
      pad(142, 20, 134, Hex(players == 2 ? Palette::P2 : accent));
    } else {
      pad(55, 5, 170, Hex(accent));
    }
    ok = Save(c, dir, Fmt("rkv2-g%d-%s-pad.png", page, name)) && ok;
  }
  return ok;
}

bool StylePages(const std::string& dir) {
  bool ok = StyleBackdrop(dir);
  const char* single[3] = {"One player,", "one pad of", "four panels."};
  const char* versus[3] = {"Two players", "side by side,", "one pad each."};
  const char* dbl[3] = {"One player on", "both pads:", "eight panels."};
  const char* solo[3] = {"One player,", "six panels with", "the two corners."};
  ok = StyleChoice(dir, 0, "SINGLE", "SINGLE", single, 1, false, false, Palette::P1) && ok;
  ok = StyleChoice(dir, 0, "VERSUS", "VERSUS", versus, 2, false, false, 0xB060FF) && ok;
  ok = StyleChoice(dir, 0, "DOUBLE", "DOUBLE", dbl, 1, false, true, 0x30C090) && ok;
  ok = StyleChoice(dir, 1, "SINGLE", "SOLO", solo, 1, true, false, Palette::Magenta) && ok;
  return ok;
}

bool SongBackdrop(const std::string& dir) {
  Canvas c = Canvas_New(640, 480);
  cairo_t* cr = c.cr;
  Screen(cr, 31, 0x070A22, 0x1A2358);
  Heading(cr, "SELECT MUSIC", Palette::Magenta);
  Area(cr, 14, 64, 272, 96, Palette::Gold);        // banner
  Area(cr, 14, 168, 272, 140, Palette::Cyan);      // radar and details
  Area(cr, 14, 316, 272, 150, Palette::P1);        // records
  // the wheel's rail on the right
  cairo_move_to(cr, 640, 40);
  cairo_curve_to(cr, 300, 120, 300, 360, 640, 440);
  cairo_set_line_width(cr, 60);
  cairo_set_source_rgba(cr, 0.1, 0.15, 0.4, 0.35);
  cairo_stroke(cr);
  return Save(c, dir, "rkv2-song.png");
}

// Wheel items, 300 x 36: song plate, selected plate, course plate, closed and open folder.
bool Plates(const std::string& dir) {
  struct P { const char* name; uint32_t colour; bool glow; const char* tag; };
  const P plates[5] = {{"rkv2-plate.png", 0x2A3370, false, ""},
                       {"rkv2-selplate.png", 0x5A3AB0, true, ""},
                       {"rkv2-platecrs.png", 0x2A6A70, false, "COURSE"},
                       {"rkv2-folder.png", 0x8A5A10, false, "FOLDER"},
                       {"rkv2-lfolder.png", 0xB07A20, true, "OPEN"}};
  bool ok = true;
  for (auto& p : plates) {
    Canvas c = Canvas_New(300, 36);
    cairo_t* cr = c.cr;
    if (p.glow) {
      RoundedRect(cr, 0.5, 0.5, 299, 35, 12);
      cairo_set_source_rgba(cr, 1, 0.9, 0.5, 0.5);
      cairo_set_line_width(cr, 1);
      cairo_stroke(cr);
    }
    Panel(cr, 2, 2, 296, 32, 10, Hex(p.colour, 0.92), 2);
    if (*p.tag) {
      // a tab on the left for folders and courses
      cairo_move_to(cr, 8, 8);
      cairo_line_to(cr, 26, 8);
      cairo_line_to(cr, 30, 12);
      cairo_line_to(cr, 30, 28);
      cairo_line_to(cr, 8, 28);
      cairo_close_path(cr);
      SetColour(cr, Hex(0xFFE0A0, 0.9));
      cairo_fill(cr);
    }
    if (p.glow) FillVertical(cr, 6, 4, 288, 10, {1, 1, 1, 0.35}, {1, 1, 1, 0});
    ok = Save(c, dir, p.name) && ok;
  }
  return ok;
}

// The best mark: a small crown.
bool Best(const std::string& dir) {
  Canvas c = Canvas_New(40, 24);
  cairo_t* cr = c.cr;
  cairo_move_to(cr, 4, 20);
  cairo_line_to(cr, 2, 6);
  cairo_line_to(cr, 12, 13);
  cairo_line_to(cr, 20, 3);
  cairo_line_to(cr, 28, 13);
  cairo_line_to(cr, 38, 6);
  cairo_line_to(cr, 36, 20);
  cairo_close_path(cr);
  cairo_pattern_t* p = cairo_pattern_create_linear(0, 3, 0, 20);
  cairo_pattern_add_color_stop_rgba(p, 0, 1, 0.97, 0.7, 1);
  cairo_pattern_add_color_stop_rgba(p, 1, 0.85, 0.55, 0.05, 1);
  cairo_set_source(cr, p);
  cairo_fill_preserve(cr);
  cairo_pattern_destroy(p);
  cairo_set_source_rgba(cr, 0, 0, 0, 1);
  cairo_set_line_width(cr, 1.5);
  cairo_stroke(cr);
  return Save(c, dir, "rkv2-best.png");
}

// The wheel's position slider: a vertical track with its knob drawn separately
// by the game; 16 x 200, knob at the top 16 x 16.
bool Slider(const std::string& dir) {
  Canvas c = Canvas_New(16, 200);
  cairo_t* cr = c.cr;
  RoundedRect(cr, 3, 20, 10, 178, 5);
  cairo_set_source_rgba(cr, 0, 0, 0, 0.5);
  cairo_fill_preserve(cr);
  cairo_set_source_rgba(cr, 0.6, 0.7, 1, 0.8);
  cairo_set_line_width(cr, 1);
  cairo_stroke(cr);
  cairo_arc(cr, 8, 8, 7, 0, 2 * M_PI);
  cairo_pattern_t* p = cairo_pattern_create_radial(6, 6, 1, 8, 8, 7);
  cairo_pattern_add_color_stop_rgba(p, 0, 1, 1, 1, 1);
  cairo_pattern_add_color_stop_rgba(p, 1, 0.9, 0.3, 0.5, 1);
  cairo_set_source(cr, p);
  cairo_fill(cr);
  cairo_pattern_destroy(p);
  return Save(c, dir, "rkv2-slider.png");
}

bool FolderBanners(const std::string& dir) {
  struct B { const char* file; const char* title; const char* sub; double hue; };
  const B b[3] = {{"banner-roulette.png", "ROULETTE", "a song picked by chance", 300},
                  {"banner-title.png", "BY TITLE", "every song, A to Z", 200},
                  {"banner-artist.png", "BY ARTIST", "every song by its artist", 140}};
  bool ok = true;
  for (int i = 0; i < 3; i++) {
    Canvas c = Canvas_New(256, 80);
    Art_Banner(c.cr, 256, 80, b[i].title, b[i].sub, b[i].hue, 100 + i);
    ok = Save(c, dir, b[i].file) && ok;
  }
  return ok;
}

// The modifier screen: rows at y = 70 + 32 row, names left of x 170.
bool Options(const std::string& dir) {
  Canvas c = Canvas_New(640, 480);
  cairo_t* cr = c.cr;
  Screen(cr, 41);
  Heading(cr, "OPTIONS", Palette::Cyan);
  for (int r = 0; r < 10; r++) {
    double y = 66 + 32 * r + (r == 9 ? 32 : 0);
    RoundedRect(cr, 12, y, 616, 28, 8);
    cairo_set_source_rgba(cr, 0.05, 0.07, 0.2, r % 2 ? 0.45 : 0.6);
    cairo_fill(cr);
    FillVertical(cr, 12, y, 150, 28, Hex(Palette::Violet, 0.5), Hex(Palette::Indigo, 0.5));
  }
  return Save(c, dir, "rkv2-options.png");
}

bool Course(const std::string& dir) {
  Canvas c = Canvas_New(640, 480);
  cairo_t* cr = c.cr;
  Screen(cr, 51, 0x08061E, 0x123A48);
  Heading(cr, "NONSTOP COURSE", 0x20A090);
  Area(cr, 14, 64, 272, 96, Palette::Gold);
  Area(cr, 14, 168, 272, 298, Palette::Cyan);
  return Save(c, dir, "rkv2-course.png");
}

bool Profile(const std::string& dir) {
  Canvas c = Canvas_New(640, 480);
  Screen(c.cr, 61);
  Heading(c.cr, "SELECT PROFILE", Palette::P1);
  return Save(c, dir, "rkv2-profile.png");
}

// Profile panels: player 1 and 2 (320 x 344 each), then their name plates (320 x 80).
// The records browser: its list at the left, the card of the entry under the
// cursor at the right (the game draws into both), the help line below.
bool Records(const std::string& dir) {
  Canvas c = Canvas_New(640, 480);
  cairo_t* cr = c.cr;
  Screen(c.cr, 63, Palette::Night, 0x2A1450);
  Heading(cr, "RECORDS", Palette::Magenta);
  Area(cr, 12, 62, 300, 388, Palette::Cyan);
  Area(cr, 322, 62, 306, 388, Palette::Gold);
  return Save(c, dir, "rkv2-records.png");
}

bool ProfilePlayers(const std::string& dir) {
  Canvas c = Canvas_New(640, 424);
  cairo_t* cr = c.cr;
  for (int p = 0; p < 2; p++) {
    double x = 320 * p;
    Rgba col = Hex(p ? Palette::P2 : Palette::P1);
    cairo_save(cr);
    cairo_rectangle(cr, x, 0, 320, 344);
    cairo_clip(cr);
    Panel(cr, x + 8, 4, 304, 336, 16, Mix(Hex(0x151A40), col, 0.18), 2.5);
    TextStyle st = Bold(22, 0xFFFFFF, 0xE0E0E0, 2);
    TextAt(cr, st, x + 24, 36, p ? "PLAYER 2" : "PLAYER 1");
    FillVertical(cr, x + 24, 44, 272, 3, col, col);
    for (int i = 0; i < 7; i++) {
      RoundedRect(cr, x + 22, 124 + 30 * i, 276, 26, 6);
      cairo_set_source_rgba(cr, 0, 0, 0, 0.3);
      cairo_fill(cr);
    }
    cairo_restore(cr);
    cairo_save(cr);
    cairo_rectangle(cr, x, 344, 320, 80);
    cairo_clip(cr);
    Panel(cr, x + 8, 348, 304, 72, 14, col, 2.5);
    cairo_restore(cr);
  }
  return Save(c, dir, "rkv2-profile-players.png");
}

bool Results(const std::string& dir) {
  Canvas c = Canvas_New(640, 480);
  cairo_t* cr = c.cr;
  Screen(cr, 71, 0x0A0620, 0x302070);
  Heading(cr, "RESULTS", Palette::Gold);
  Area(cr, 14, 64, 300, 402, Palette::P1);
  Area(cr, 326, 64, 300, 402, Palette::P2);
  return Save(c, dir, "rkv2-results.png");
}

bool Break(const std::string& dir) {
  Canvas c = Canvas_New(640, 480);
  cairo_t* cr = c.cr;
  Backdrop(cr, 640, 480, 0x0C1A3A, 0x3A6A8A, 81);
  // a calm moon over the floor
  cairo_arc(cr, 470, 130, 60, 0, 2 * M_PI);
  cairo_pattern_t* p = cairo_pattern_create_radial(455, 115, 5, 470, 130, 60);
  cairo_pattern_add_color_stop_rgba(p, 0, 1, 1, 0.95, 1);
  cairo_pattern_add_color_stop_rgba(p, 1, 0.85, 0.88, 1, 0.9);
  cairo_set_source(cr, p);
  cairo_fill(cr);
  cairo_pattern_destroy(p);
  Area(cr, 120, 370, 400, 66, Palette::Gold, 0.5);
  return Save(c, dir, "rkv2-break.png");
}

// The credits picture sits at (240, 0), beside the column of song pictures.
bool Credits(const std::string& dir) {
  Canvas c = Canvas_New(400, 480);
  cairo_t* cr = c.cr;
  FillVertical(cr, 0, 0, 400, 480, Hex(0x05061A), Hex(0x1A1248));
  FillVertical(cr, 0, 0, 4, 480, Hex(Palette::Cyan), Hex(Palette::Magenta));
  Rng rng(91);
  for (int i = 0; i < 90; i++) {
    cairo_arc(cr, rng.Between(8, 400), rng.Between(0, 480), rng.Between(0.3, 1.2), 0, 2 * M_PI);
    cairo_set_source_rgba(cr, 1, 1, 1, rng.Between(0.2, 0.7));
    cairo_fill(cr);
  }
  return Save(c, dir, "rkv2-credits.png");
}

}  // namespace

void Art_Banner(cairo_t* cr, int w, int h, const std::string& title, const std::string& subtitle, double hue,
                uint64_t seed) {
  Rgba a = HueColour(hue, 0.75, 0.35), b = HueColour(hue + 40, 0.8, 0.75);
  FillVertical(cr, 0, 0, w, h, a, Darker(a, 0.5));
  Rng rng(seed);
  for (int i = 0; i < 14; i++) {
    double x = rng.Between(0, w), y = rng.Between(0, h), r = rng.Between(6, 40);
    cairo_arc(cr, x, y, r, 0, 2 * M_PI);
    Rgba c = HueColour(hue + rng.Between(-30, 60), 0.7, 0.9);
    cairo_set_source_rgba(cr, c.r, c.g, c.b, rng.Between(0.08, 0.25));
    cairo_fill(cr);
  }
  for (int i = 0; i < 5; i++) {
    double y = rng.Between(0, h);
    cairo_move_to(cr, 0, y);
    cairo_line_to(cr, w, y + rng.Between(-30, 30));
    cairo_set_source_rgba(cr, b.r, b.g, b.b, 0.35);
    cairo_set_line_width(cr, rng.Between(1, 4));
    cairo_stroke(cr);
  }
  TextStyle t;
  t.size = 30;
  t.fill = {1, 1, 1, 1};
  t.fill2 = Lighter(b, 0.5);
  t.outlineWidth = 2.5;
  t.outline = Darker(a, 0.6);
  t.shadow = 2;
  TextFit(cr, t, 6, 8, w - 12, h * 0.55, title);
  TextStyle s;
  s.face = Face::Sans;
  s.size = 12;
  s.fill = s.fill2 = {1, 1, 1, 0.95};
  s.outlineWidth = 1.5;
  s.outline = Darker(a, 0.7);
  TextFit(cr, s, 6, h * 0.6, w - 12, h * 0.32, subtitle);
  cairo_rectangle(cr, 0.5, 0.5, w - 1, h - 1);
  cairo_set_source_rgba(cr, 1, 1, 1, 0.6);
  cairo_set_line_width(cr, 1);
  cairo_stroke(cr);
}

void Art_Background(cairo_t* cr, int w, int h, double hue, int pattern, uint64_t seed) {
  Rgba top = HueColour(hue, 0.8, 0.12), bottom = HueColour(hue + 50, 0.7, 0.4);
  FillVertical(cr, 0, 0, w, h, top, bottom);
  Rng rng(seed);
  double cx = w / 2.0, cy = h / 2.0;
  switch (pattern % 3) {
    case 0:  // concentric rings
      for (int i = 14; i >= 1; i--) {
        cairo_arc(cr, cx, cy * 1.1, i * 28, 0, 2 * M_PI);
        Rgba c = HueColour(hue + i * 9, 0.7, 0.7);
        cairo_set_source_rgba(cr, c.r, c.g, c.b, 0.07 + 0.02 * (i % 3));
        cairo_set_line_width(cr, 10);
        cairo_stroke(cr);
      }
      break;
    case 1:  // rising diamonds
      for (int i = 0; i < 60; i++) {
        double x = rng.Between(0, w), y = rng.Between(0, h), s = rng.Between(6, 40);
        cairo_move_to(cr, x, y - s);
        cairo_line_to(cr, x + s * 0.6, y);
        cairo_line_to(cr, x, y + s);
        cairo_line_to(cr, x - s * 0.6, y);
        cairo_close_path(cr);
        Rgba c = HueColour(hue + rng.Between(-40, 40), 0.6, 0.9);
        cairo_set_source_rgba(cr, c.r, c.g, c.b, rng.Between(0.05, 0.22));
        cairo_fill(cr);
      }
      break;
    default:  // waves
      for (int k = 0; k < 12; k++) {
        double base = h * (0.2 + 0.07 * k), amp = rng.Between(10, 40), ph = rng.Between(0, 6.28);
        cairo_move_to(cr, 0, base);
        for (int x = 0; x <= w; x += 8) cairo_line_to(cr, x, base + amp * std::sin(x * 0.015 + ph));
        Rgba c = HueColour(hue + k * 12, 0.7, 0.85);
        cairo_set_source_rgba(cr, c.r, c.g, c.b, 0.18);
        cairo_set_line_width(cr, 3 + k % 3);
        cairo_stroke(cr);
      }
      break;
  }
  // a few soft glints
  for (int i = 0; i < 40; i++) {
    cairo_arc(cr, rng.Between(0, w), rng.Between(0, h), rng.Between(0.5, 2), 0, 2 * M_PI);
    cairo_set_source_rgba(cr, 1, 1, 1, rng.Between(0.2, 0.7));
    cairo_fill(cr);
  }
}

bool Gen_ScreenPictures(const GenContext& ctx, const std::string& dir) {
  bool ok = true;
  ok = Title(dir) && ok;
  ok = Selector(dir) && ok;
  ok = Dtile(dir) && ok;
  ok = StylePages(dir) && ok;
  ok = SongBackdrop(dir) && ok;
  ok = Plates(dir) && ok;
  ok = Best(dir) && ok;
  ok = Slider(dir) && ok;
  ok = FolderBanners(dir) && ok;
  ok = Options(dir) && ok;
  ok = Course(dir) && ok;
  ok = Profile(dir) && ok;
  ok = ProfilePlayers(dir) && ok;
  ok = Records(dir) && ok;
  ok = Results(dir) && ok;
  ok = Break(dir) && ok;
  ok = Credits(dir) && ok;
  return ok;
}
