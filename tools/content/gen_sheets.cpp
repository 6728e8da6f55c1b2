// The sprite sheets the game cuts at start-up. Each sheet is drawn cell by
// cell at the rectangles the image loader cuts, so a cell never bleeds into
// its neighbour. What each cell shows is noted beside it.
#include <cmath>

#include "gen.h"
#include "gen_arrows.h"
#include "gen_art.h"
#include "gen_draw.h"

namespace {

TextStyle Bold(double size, uint32_t top, uint32_t bottom, double outline = 2.0) {
  TextStyle st;
  st.face = Face::SansBold;
  st.size = size;
  st.fill = Hex(top);
  st.fill2 = Hex(bottom);
  st.outline = Hex(0x000000);
  st.outlineWidth = outline;
  return st;
}

// Draws text to fill a cell, clipped to it.
void CellText(cairo_t* cr, TextStyle st, double x, double y, double w, double h, const std::string& t) {
  cairo_save(cr);
  cairo_rectangle(cr, x, y, w, h);
  cairo_clip(cr);
  TextFit(cr, st, x, y, w, h, t);
  cairo_restore(cr);
}

bool Save(Canvas& c, const std::string& dir, const char* name) {
  bool ok = Canvas_Save(c, JoinPath(dir, name));
  Canvas_Free(c);
  return ok;
}

const char* kDifficulty[4] = {"BASIC", "ANOTHER", "MANIAC", "SMANIAC"};
const uint32_t kDiffColour[4] = {0x40E070, 0xF0C020, 0xF04060, 0xC050FF};

// Stage numbers: digits 0-9 (15 x 20), the ordinal endings st nd rd th (30 x 20),
// and the words STAGE, FINAL, EXTRA, BONUS (60 x 20).
bool Stages(const std::string& dir) {
  Canvas c = Canvas_New(270, 40);
  TextStyle st = Bold(18, 0xFFFFFF, 0xB8C8FF, 1.5);
  for (int i = 0; i < 10; i++) CellText(c.cr, st, 15 * i, 0, 15, 20, std::to_string(i));
  const char* suffix[4] = {"st", "nd", "rd", "th"};
  for (int i = 0; i < 4; i++) CellText(c.cr, Bold(15, 0xFFFFFF, 0xB8C8FF, 1.5), 150 + 30 * i, 0, 30, 20, suffix[i]);
  const char* words[4] = {"STAGE", "FINAL", "EXTRA", "BONUS"};
  const uint32_t wc[4] = {0xFFFFFF, 0xFF6080, 0xFFD040, 0x60F0FF};
  for (int i = 0; i < 4; i++) CellText(c.cr, Bold(15, wc[i], Darker(Hex(wc[i]), 0.2).r > 0 ? wc[i] : wc[i], 1.5), 60 * i, 20, 60, 20, words[i]);
  return Save(c, dir, "rkv2-stages.png");
}

// Tempo digits 0-9 and the word BPM.
bool Bpms(const std::string& dir) {
  Canvas c = Canvas_New(230, 20);
  TextStyle st = Bold(18, 0xFFF4A0, 0xFFB020, 1.5);
  for (int i = 0; i < 10; i++) CellText(c.cr, st, 20 * i, 0, 20, 20, std::to_string(i));
  CellText(c.cr, Bold(12, 0xFFFFFF, 0xC0C0C0, 1.5), 200, 0, 30, 20, "BPM");
  return Save(c, dir, "rkv2-bpms.png");
}

// Difficulty plates: column 0 lit, column 1 dimmed; rows BASIC, ANOTHER, MANIAC, SMANIAC.
bool Difficulties(const std::string& dir) {
  Canvas c = Canvas_New(152, 152);
  for (int col = 0; col < 2; col++)
    for (int row = 0; row < 4; row++) {
      double x = 76 * col, y = 38 * row;
      Rgba base = Hex(kDiffColour[row], col ? 0.45 : 1.0);
      if (col) base = Mix(base, Hex(0x303040, 0.6), 0.5);
      Panel(c.cr, x + 2, y + 3, 72, 32, 8, base, 2);
      CellText(c.cr, Bold(14, 0xFFFFFF, col ? 0xA0A0A0 : 0xE8E8E8, 1.5), x + 4, y + 3, 68, 32, kDifficulty[row]);
    }
  return Save(c, dir, "rkv2-difficulties.png");
}

// The banner shown for songs without one: a wide 256 x 80 picture.
bool DefBanner(const std::string& dir) {
  Canvas c = Canvas_New(256, 80);
  Backdrop(c.cr, 256, 80, Palette::Indigo, Palette::Violet, 71);
  Arrow_Draw(c.cr, 36, 40, 0.9, Arrow_Angle(0), Hex(Palette::ClassBeat), ArrowLook::Glossy, 0.2);
  Arrow_Draw(c.cr, 220, 40, 0.9, Arrow_Angle(3), Hex(Palette::ClassHalf), ArrowLook::Glossy, 0.2);
  TextFit(c.cr, Bold(26, 0xFFFFFF, 0x9FE8FF, 2.5), 64, 10, 128, 38, "NO BANNER");
  TextStyle small = Bold(11, 0xFFD23C, 0xFFA020, 1.5);
  TextFit(c.cr, small, 64, 48, 128, 20, "TARVOLEN");
  cairo_rectangle(c.cr, 0.5, 0.5, 255, 79);
  cairo_set_source_rgba(c.cr, 1, 1, 1, 0.5);
  cairo_set_line_width(c.cr, 1);
  cairo_stroke(c.cr);
  return Save(c, dir, "def-banner.png");
}

// The picture of a profile without its own: a stylised dancer's head.
bool ProfileDefault(const std::string& dir) {
  Canvas c = Canvas_New(64, 64);
  cairo_t* cr = c.cr;
  Panel(cr, 0, 0, 64, 64, 8, Hex(0x3A4390), 2);
  cairo_arc(cr, 32, 24, 11, 0, 2 * M_PI);
  SetColour(cr, Hex(0xD8E0FF));
  cairo_fill(cr);
  cairo_move_to(cr, 12, 58);
  cairo_curve_to(cr, 14, 40, 50, 40, 52, 58);
  cairo_close_path(cr);
  cairo_fill(cr);
  return Save(c, dir, "rkv2-profile-default.png");
}

// Profile frame: a 320 x 68 name panel and a 68 x 68 frame for the picture.
bool ProfileFrame(const std::string& dir) {
  Canvas c = Canvas_New(388, 68);
  cairo_t* cr = c.cr;
  Panel(cr, 2, 4, 316, 60, 10, Hex(0x27306E, 0.92), 2.5);
  FillVertical(cr, 12, 12, 4, 44, Hex(Palette::Cyan), Hex(Palette::P1));
  // the picture frame: a ring with a transparent middle
  cairo_rectangle(cr, 320, 0, 68, 68);
  cairo_rectangle(cr, 325, 5, 58, 58);  // the window the picture shows through
  cairo_set_fill_rule(cr, CAIRO_FILL_RULE_EVEN_ODD);
  Rgba g = Hex(Palette::Gold);
  cairo_pattern_t* p = cairo_pattern_create_linear(0, 0, 0, 68);
  cairo_pattern_add_color_stop_rgba(p, 0, 1, 0.95, 0.7, 1);
  cairo_pattern_add_color_stop_rgba(p, 1, g.r * 0.6, g.g * 0.6, g.b * 0.3, 1);
  cairo_set_source(cr, p);
  cairo_fill(cr);
  cairo_pattern_destroy(p);
  cairo_set_fill_rule(cr, CAIRO_FILL_RULE_WINDING);
  cairo_rectangle(cr, 320.5, 0.5, 67, 67);
  cairo_rectangle(cr, 324.5, 4.5, 59, 59);
  cairo_set_source_rgba(cr, 0, 0, 0, 1);
  cairo_set_line_width(cr, 1);
  cairo_stroke(cr);
  return Save(c, dir, "rkv2-profile-frame.png");
}

// The background used when a song has none.
bool DefBackground(const std::string& dir) {
  Canvas c = Canvas_New(640, 480);
  Backdrop(c.cr, 640, 480, Palette::Night, Palette::Indigo, 7);
  TextStyle st = Bold(54, 0xFFFFFF, 0x80D8FF, 3);
  st.fill.a = st.fill2.a = 0.25;
  st.outline.a = 0.25;
  TextInBox(c.cr, st, 0, 170, 640, 80, "TARVOLEN");
  return Save(c, dir, "def-background.png");
}

// Small marks on the song wheel: "NEW!" and "BEST".
bool Icons(const std::string& dir) {
  Canvas c = Canvas_New(53, 28);
  Panel(c.cr, 1, 1, 51, 12, 5, Hex(0xE02040), 1);
  CellText(c.cr, Bold(10, 0xFFFF80, 0xFFFF00, 1), 1, 1, 51, 12, "NEW!");
  Panel(c.cr, 1, 15, 51, 12, 5, Hex(0xC09010), 1);
  CellText(c.cr, Bold(10, 0xFFFFFF, 0xFFF0C0, 1), 1, 15, 51, 12, "BEST");
  return Save(c, dir, "rkv2-icons.png");
}

// Freeze judgements: OK, NG, and the HOLD prompt.
bool HoldJudge(const std::string& dir) {
  Canvas c = Canvas_New(192, 21);
  CellText(c.cr, Bold(18, 0xFFFFA0, 0xFFC020, 2), 0, 0, 64, 21, "OK");
  CellText(c.cr, Bold(18, 0xFFB0B0, 0xE02030, 2), 64, 0, 64, 21, "NG");
  CellText(c.cr, Bold(15, 0xC0FFD0, 0x30E060, 2), 128, 0, 64, 21, "HOLD");
  return Save(c, dir, "rkv2-hjudge.png");
}

// Step judgements: PERFECT, GREAT, GOOD, BOO, MISS.
bool Judge(const std::string& dir) {
  Canvas c = Canvas_New(175, 175);
  const char* words[5] = {"PERFECT", "GREAT", "GOOD", "BOO", "MISS"};
  const uint32_t top[5] = {0xFFFFFF, 0xE0FFE0, 0xE0F0FF, 0xFFE0F0, 0xFFD0D0};
  const uint32_t bot[5] = {0xFFD020, 0x20E060, 0x3090FF, 0xC040C0, 0xE02020};
  for (int i = 0; i < 5; i++) {
    TextStyle st = Bold(30, top[i], bot[i], 2.5);
    st.letterSpacing = 1;
    CellText(c.cr, st, 0, 35 * i, 175, 35, words[i]);
  }
  return Save(c, dir, "rkv2-judge.png");
}

// Modifier screen cursor: per player a frame in three pieces (left end,
// stretchable middle, right end) and an underline; then four 32 x 32 markers
// (player 1 value, player 2 value, both players, the EXIT marker).
bool Options2(const std::string& dir) {
  Canvas c = Canvas_New(128, 64);
  cairo_t* cr = c.cr;
  for (int p = 0; p < 2; p++) {
    double x = 64 * p;
    Rgba col = Hex(p ? Palette::P2 : Palette::P1);
    cairo_save(cr);
    cairo_rectangle(cr, x, 32, 64, 32);
    cairo_clip(cr);
    // one rounded frame 64 wide, cut into 12 + 40 + 12: the middle tiles sideways
    RoundedRect(cr, x + 1.5, 33.5, 61, 25, 8);
    cairo_set_line_width(cr, 3);
    SetColour(cr, col);
    cairo_stroke_preserve(cr);
    cairo_set_source_rgba(cr, col.r, col.g, col.b, 0.18);
    cairo_fill(cr);
    RoundedRect(cr, x + 3.5, 35.5, 57, 21, 6);
    cairo_set_line_width(cr, 1);
    cairo_set_source_rgba(cr, 1, 1, 1, 0.6);
    cairo_stroke(cr);
    FillVertical(cr, x, 60, 64, 4, Lighter(col, 0.4), col);
    cairo_restore(cr);
  }
  const uint32_t mk[4] = {Palette::P1, Palette::P2, 0xB060FF, Palette::Gold};
  for (int i = 0; i < 4; i++) {
    double cx = 32 * i + 16;
    cairo_move_to(cr, cx, 4);
    cairo_line_to(cr, cx + 11, 16);
    cairo_line_to(cr, cx, 28);
    cairo_line_to(cr, cx - 11, 16);
    cairo_close_path(cr);
    cairo_pattern_t* p = cairo_pattern_create_linear(0, 4, 0, 28);
    Rgba a = Lighter(Hex(mk[i]), 0.5), b = Hex(mk[i]);
    cairo_pattern_add_color_stop_rgba(p, 0, a.r, a.g, a.b, 1);
    cairo_pattern_add_color_stop_rgba(p, 1, b.r, b.g, b.b, 1);
    cairo_set_source(cr, p);
    cairo_fill_preserve(cr);
    cairo_pattern_destroy(p);
    cairo_set_source_rgba(cr, 0, 0, 0, 1);
    cairo_set_line_width(cr, 2);
    cairo_stroke(cr);
    const char* lab[4] = {"1", "2", "", ""};
    if (*lab[i]) CellText(cr, Bold(10, 0xFFFFFF, 0xFFFFFF, 1), 32 * i, 8, 32, 16, lab[i]);
  }
  return Save(c, dir, "rkv2-options2.png");
}

// Combo digits 0-9 (48 x 64) and the word COMBO (96 x 64).
bool Combo(const std::string& dir) {
  Canvas c = Canvas_New(576, 64);
  TextStyle st = Bold(60, 0xFFFFFF, 0xFFC830, 3);
  for (int i = 0; i < 10; i++) CellText(c.cr, st, 48 * i, 0, 48, 64, std::to_string(i));
  TextStyle w = Bold(26, 0xFFFFFF, 0xFFC830, 2.5);
  CellText(c.cr, w, 480, 16, 96, 44, "COMBO");
  return Save(c, dir, "rkv2-combo.png");
}

// Headlines: READY? and HERE WE GO! (380 x 85), CLEARED and FAILED (360 x 80).
bool Headlines(const std::string& dir) {
  Canvas c = Canvas_New(380, 330);
  TextStyle a = Bold(58, 0xFFFFFF, 0x70D0FF, 3.5);
  a.letterSpacing = 3;
  CellText(c.cr, a, 0, 0, 380, 85, "READY?");
  TextStyle b = Bold(58, 0xFFFFA0, 0xFF8020, 3.5);
  CellText(c.cr, b, 0, 85, 380, 85, "HERE WE GO!");
  TextStyle d = Bold(54, 0xE0FFE0, 0x30E060, 3.5);
  d.letterSpacing = 2;
  CellText(c.cr, d, 10, 170, 360, 80, "CLEARED");
  TextStyle e = Bold(54, 0xFFD0D0, 0xE02030, 3.5);
  e.letterSpacing = 2;
  CellText(c.cr, e, 10, 250, 360, 80, "FAILED");
  return Save(c, dir, "rkv2-headlines.png");
}

// The danger tile: red warning stripes laid over the field when life is low.
bool Danger(const std::string& dir) {
  Canvas c = Canvas_New(128, 128);
  cairo_t* cr = c.cr;
  cairo_set_source_rgba(cr, 0.6, 0, 0.05, 0.35);
  cairo_paint(cr);
  for (int k = -2; k < 4; k++) {
    // diagonal stripes that meet across the tile's edges
    cairo_move_to(cr, k * 64, 128);
    cairo_line_to(cr, k * 64 + 32, 128);
    cairo_line_to(cr, k * 64 + 32 + 128, 0);
    cairo_line_to(cr, k * 64 + 128, 0);
    cairo_close_path(cr);
  }
  cairo_set_source_rgba(cr, 1, 0.1, 0.15, 0.35);
  cairo_fill(cr);
  return Save(c, dir, "rkv2-danger.png");
}

// Result digits: three colour rows of 0-9, "." and "%" (25 x 25), and the
// label "TOTAL" (60 x 25).
bool Results2(const std::string& dir) {
  Canvas c = Canvas_New(360, 75);
  const uint32_t top[3] = {0xFFFFFF, 0xE0F4FF, 0xFFF4D0};
  const uint32_t bot[3] = {0xC0C8E0, 0x40B0FF, 0xFFB020};
  const char* ch[12] = {"0", "1", "2", "3", "4", "5", "6", "7", "8", "9", ".", "%"};
  for (int r = 0; r < 3; r++)
    for (int i = 0; i < 12; i++) CellText(c.cr, Bold(22, top[r], bot[r], 2), 60 + 25 * i, 25 * r, 25, 25, ch[i]);
  CellText(c.cr, Bold(16, 0xFFFFFF, 0xC0C0FF, 2), 0, 0, 60, 25, "TOTAL");
  return Save(c, dir, "rkv2-results2.png");
}

// Song data labels per player column: a header, five radar names (132 x 11)
// and four record labels (132 x 12) in the rows between them.
bool DataSheet(const std::string& dir) {
  Canvas c = Canvas_New(264, 137);
  const char* radar[5] = {"STREAM", "VOLTAGE", "AIR", "FREEZE", "CHAOS"};
  const char* rec[4] = {"BEST SCORE", "MAX COMBO", "GRADE", "PLAYED"};
  for (int k = 0; k < 2; k++) {
    double x = 132 * k;
    Rgba col = Hex(k ? Palette::P2 : Palette::P1);
    Panel(c.cr, x + 1, 1, 130, 20, 6, col, 1.5);
    CellText(c.cr, Bold(13, 0xFFFFFF, 0xE0E0E0, 1.5), x + 1, 1, 130, 20, k ? "PLAYER 2" : "PLAYER 1");
    for (int i = 0; i < 5; i++) {
      TextStyle st = Bold(10, 0xFFFFFF, 0xD0E8FF, 1);
      cairo_save(c.cr);
      cairo_rectangle(c.cr, x, 34 + 23 * i, 132, 11);
      cairo_clip(c.cr);
      TextAt(c.cr, st, x + 4, 34 + 23 * i + 9.5, radar[i]);
      cairo_restore(c.cr);
    }
    for (int i = 0; i < 4; i++) {
      TextStyle st = Bold(10, 0xFFE890, 0xFFC040, 1);
      cairo_save(c.cr);
      cairo_rectangle(c.cr, x, 22 + 23 * i, 132, 12);
      cairo_clip(c.cr);
      TextAt(c.cr, st, x + 4, 22 + 23 * i + 10, rec[i]);
      cairo_restore(c.cr);
    }
  }
  return Save(c, dir, "rkv2-data.png");
}

// A small dance pad drawn in a box: which panels exist and which are lit.
void MiniPad(cairo_t* cr, double x, double y, double cell, bool six, const bool lit[9], Rgba litColour) {
  for (int r = 0; r < 3; r++)
    for (int q = 0; q < 3; q++) {
      int i = r * 3 + q;
      bool panel = (i == 1 || i == 3 || i == 5 || i == 7) || (six && (i == 0 || i == 2));
      double px = x + q * cell, py = y + r * cell;
      RoundedRect(cr, px + 0.8, py + 0.8, cell - 1.6, cell - 1.6, cell * 0.2);
      if (panel && lit[i])
        SetColour(cr, litColour);
      else if (panel)
        SetColour(cr, Hex(0x505878));
      else
        SetColour(cr, Hex(0x22263A));
      cairo_fill(cr);
    }
}

// Style banners: SINGLE player 1, SINGLE player 2, VERSUS, DOUBLE, SOLO player 1, SOLO player 2.
bool Styles(const std::string& dir) {
  Canvas c = Canvas_New(56, 252);
  const char* name[6] = {"1P", "2P", "VS", "DBL", "SOLO", "SOLO"};
  for (int i = 0; i < 6; i++) {
    double y = 42 * i;
    Rgba col = Hex(i == 1 || i == 5 ? Palette::P2 : i == 2 ? 0xB060FF : i == 3 ? 0x30C090 : Palette::P1);
    Panel(c.cr, 1, y + 1, 54, 40, 6, Darker(col, 0.3), 1.5);
    bool lit4[9] = {0, 1, 0, 1, 0, 1, 0, 1, 0};
    MiniPad(c.cr, 4, y + 9, 8, i >= 4, lit4, Lighter(col, 0.3));
    if (i >= 4) {
      bool all[9] = {1, 1, 1, 1, 0, 1, 0, 1, 0};
      MiniPad(c.cr, 4, y + 9, 8, true, all, Lighter(col, 0.3));
    }
    CellText(c.cr, Bold(12, 0xFFFFFF, 0xE0E0E0, 1.5), 29, y + 2, 26, 38, name[i]);
  }
  return Save(c, dir, "rkv2-styles.png");
}

// Time-limit digits 0-9.
bool Timer(const std::string& dir) {
  Canvas c = Canvas_New(320, 42);
  TextStyle st = Bold(40, 0xFFFFFF, 0xFF5060, 2.5);
  for (int i = 0; i < 10; i++) CellText(c.cr, st, 32 * i, 0, 32, 42, std::to_string(i));
  return Save(c, dir, "rkv2-timer.png");
}

// Foot rating marks: lit and unlit.
bool Feet(const std::string& dir) {
  Canvas c = Canvas_New(30, 22);
  for (int i = 0; i < 2; i++) {
    cairo_t* cr = c.cr;
    double x = 15 * i;
    // a sole: big rounded front, narrower heel
    cairo_save(cr);
    cairo_translate(cr, x + 7.5, 11);
    cairo_new_path(cr);
    cairo_save(cr);
    cairo_scale(cr, 5.5, 6.2);
    cairo_arc(cr, 0, -0.55, 1, 0, 2 * M_PI);
    cairo_restore(cr);
    cairo_new_sub_path(cr);
    cairo_save(cr);
    cairo_scale(cr, 3.8, 3.2);
    cairo_arc(cr, 0, 2.1, 1, 0, 2 * M_PI);
    cairo_restore(cr);
    SetColour(cr, i == 0 ? Hex(0xFFD040) : Hex(0x505868));
    cairo_fill_preserve(cr);
    cairo_set_source_rgba(cr, 0, 0, 0, 1);
    cairo_set_line_width(cr, 1.2);
    cairo_stroke(cr);
    cairo_restore(cr);
  }
  return Save(c, dir, "rkv2-feet.png");
}

// Grades AAA, AA, A, B, C, D, E and F (failed).
bool Grades(const std::string& dir) {
  Canvas c = Canvas_New(560, 60);
  const char* g[8] = {"AAA", "AA", "A", "B", "C", "D", "E", "F"};
  const uint32_t top[8] = {0xFFFFFF, 0xFFFFE0, 0xFFF0C0, 0xE0F0FF, 0xE0FFE0, 0xF0E0FF, 0xE0E0E0, 0xFFD0D0};
  const uint32_t bot[8] = {0xFFD020, 0xFFC030, 0xF0A020, 0x4090FF, 0x40D060, 0xA060E0, 0x8088A0, 0xE02020};
  for (int i = 0; i < 8; i++) {
    TextStyle st = Bold(i == 0 ? 34 : 50, top[i], bot[i], 3);
    st.face = Face::SerifBold;
    CellText(c.cr, st, 70 * i, 0, 70, 60, g[i]);
  }
  return Save(c, dir, "rkv2-grades.png");
}

// Modifier badges, two variants (player 1 blue, player 2 orange): four rows of
// six (1.5x 2x 3x 4x 5x 8x / .25x .5x .75x BOOST BRAKE WAVE / HIDDEN SUDDEN
// STEALTH LEFT MIRROR RIGHT / SHUFFLE LITTLE FLAT SOLO CLASSIC DARK), then in
// row 160 REVERSE and NO FREEZE, in row 180 P.DROP, DEATH and RANDOM; the cell
// at (0, 160) is an empty badge.
bool Modifiers(const std::string& dir) {
  Canvas c = Canvas_New(192, 200);
  static const char* grid[4][6] = {{"1.5x", "2x", "3x", "4x", "5x", "8x"},
                                   {".25x", ".5x", ".75x", "BOOST", "BRAKE", "WAVE"},
                                   {"HIDDEN", "SUDDEN", "STEALTH", "LEFT", "MIRROR", "RIGHT"},
                                   {"SHUFFLE", "LITTLE", "FLAT", "SOLO", "CLASSIC", "DARK"}};
  auto badge = [&](double x, double y, const char* text, int k) {
    Rgba col = Hex(k ? Palette::P2 : Palette::P1);
    Panel(c.cr, x + 1, y + 1, 30, 18, 4, Darker(col, 0.25), 1);
    if (*text) CellText(c.cr, Bold(9, 0xFFFFFF, 0xE8E8E8, 1), x + 2, y + 1, 28, 18, text);
  };
  for (int k = 0; k < 2; k++) {
    for (int r = 0; r < 4; r++)
      for (int i = 0; i < 6; i++) badge(32 * i, 80 * k + 20 * r, grid[r][i], k);
    badge(32 * k + 32, 160, "REVERSE", k);
    badge(32 * k + 96, 160, "NO FRZ", k);
    badge(32 * k, 180, "P.DROP", k);
    badge(32 * k + 64, 180, "DEATH", k);
    badge(32 * k + 128, 180, "RANDOM", k);
  }
  // the empty badge
  Panel(c.cr, 1, 161, 30, 18, 4, Hex(0x404858), 1);
  return Save(c, dir, "rkv2-modifiers.png");
}

// The play screen's HUD parts. Cells, as the loader cuts them:
//  (0,0,640,50) top bar; (0,298,640,64) bottom bar;
//  (0,90,290,32) / (350,90,290,32) life gauge frames, player 1 / 2;
//  (0,122,290,32) / (350,122,290,32) life gauge fills, player 1 / 2;
//  (183,154,290,32) full-gauge fill, (183,186,290,32) danger fill, with the
//  16-pixel gauge tips (302,154) and (302,186) inside them;
//  4 + 4 difficulty labels (100 x 26) at the left and right edges;
//  (100,218) "1P" and (100,238) "2P" tags;
//  two rows of ten 64 x 20 labels from y 258: 1st..6th STAGE, FINAL, EXTRA,
//  BONUS, NONSTOP / SCORE, COMBO, LIFE, LIVES, SPEED, TIME, AUTO, DEMO, PAUSE, READY;
//  13 score glyphs (0-9 , . x) of 20 x 40 for player 1 at (0,50) and player 2 at (380,50).
bool Game(const std::string& dir) {
  Canvas c = Canvas_New(640, 362);
  cairo_t* cr = c.cr;
  // top bar
  cairo_save(cr);
  cairo_rectangle(cr, 0, 0, 640, 50);
  cairo_clip(cr);
  FillVertical(cr, 0, 0, 640, 44, Hex(0x1A2050, 0.92), Hex(0x0A0C24, 0.75));
  FillVertical(cr, 0, 42, 640, 3, Hex(Palette::Cyan), Hex(Palette::P1));
  cairo_move_to(cr, 250, 0);
  cairo_line_to(cr, 270, 40);
  cairo_line_to(cr, 370, 40);
  cairo_line_to(cr, 390, 0);
  cairo_close_path(cr);
  SetColour(cr, Hex(0x2A3370, 0.95));
  cairo_fill(cr);
  cairo_restore(cr);
  // score glyphs
  const char* glyph[13] = {"0", "1", "2", "3", "4", "5", "6", "7", "8", "9", ",", ".", "x"};
  for (int p = 0; p < 2; p++)
    for (int i = 0; i < 13; i++) {
      TextStyle st = Bold(32, 0xFFFFFF, p ? 0xFFC090 : 0x90D0FF, 2);
      st.face = Face::MonoBold;
      CellText(cr, st, (p ? 380 : 0) + 20 * i, 50, 20, 40, glyph[i]);
    }
  // gauge frames and fills
  for (int p = 0; p < 2; p++) {
    double x = p ? 350 : 0;
    Rgba col = Hex(p ? Palette::P2 : Palette::P1);
    cairo_save(cr);
    cairo_rectangle(cr, x, 90, 290, 32);
    cairo_clip(cr);
    RoundedRect(cr, x + 2, 92, 286, 28, 6);
    cairo_set_line_width(cr, 3);
    SetColour(cr, Lighter(col, 0.3));
    cairo_stroke_preserve(cr);
    cairo_set_source_rgba(cr, 0, 0, 0, 0.45);
    cairo_fill(cr);
    for (int t = 1; t < 10; t++) {
      cairo_move_to(cr, x + 2 + t * 28.6, 95);
      cairo_line_to(cr, x + 2 + t * 28.6, 117);
    }
    cairo_set_source_rgba(cr, 1, 1, 1, 0.15);
    cairo_set_line_width(cr, 1);
    cairo_stroke(cr);
    cairo_restore(cr);
    cairo_save(cr);
    cairo_rectangle(cr, x, 122, 290, 32);
    cairo_clip(cr);
    cairo_pattern_t* g = cairo_pattern_create_linear(x + (p ? 290 : 0), 0, x + (p ? 0 : 290), 0);
    Rgba a = Darker(col, 0.3), b = Lighter(col, 0.5);
    cairo_pattern_add_color_stop_rgba(g, 0, a.r, a.g, a.b, 1);
    cairo_pattern_add_color_stop_rgba(g, 1, b.r, b.g, b.b, 1);
    cairo_rectangle(cr, x + 5, 127, 280, 22);
    cairo_set_source(cr, g);
    cairo_fill(cr);
    cairo_pattern_destroy(g);
    FillVertical(cr, x + 5, 127, 280, 8, {1, 1, 1, 0.45}, {1, 1, 1, 0.0});
    cairo_restore(cr);
  }
  // full-gauge and danger fills; their middles hold the gauge tips
  const uint32_t fills[2][2] = {{0xFFF080, 0xFF9020}, {0xFF6070, 0xA00010}};
  for (int k = 0; k < 2; k++) {
    double y = 154 + 32 * k;
    cairo_save(cr);
    cairo_rectangle(cr, 183, y, 290, 32);
    cairo_clip(cr);
    cairo_pattern_t* g = cairo_pattern_create_linear(183, 0, 473, 0);
    for (int s = 0; s <= 8; s++) {
      Rgba cc = Hex(fills[k][s % 2]);
      cairo_pattern_add_color_stop_rgba(g, s / 8.0, cc.r, cc.g, cc.b, 1);
    }
    cairo_rectangle(cr, 183, y + 5, 290, 22);
    cairo_set_source(cr, g);
    cairo_fill(cr);
    cairo_pattern_destroy(g);
    FillVertical(cr, 183, y + 5, 290, 8, {1, 1, 1, 0.5}, {1, 1, 1, 0});
    // the tip: a bright leading edge
    FillVertical(cr, 302, y + 3, 16, 26, {1, 1, 1, 0.95}, Lighter(Hex(fills[k][0]), 0.4));
    cairo_restore(cr);
  }
  // difficulty labels
  for (int p = 0; p < 2; p++)
    for (int i = 0; i < 4; i++) {
      double x = p ? 540 : 0, y = 154 + 26 * i;
      Panel(cr, x + 1, y + 1, 98, 24, 6, Hex(kDiffColour[i]), 1.5);
      CellText(cr, Bold(14, 0xFFFFFF, 0xF0F0F0, 1.5), x + 3, y + 1, 94, 24, kDifficulty[i]);
    }
  Panel(cr, 101, 219, 62, 18, 6, Hex(Palette::P1), 1.5);
  CellText(cr, Bold(13, 0xFFFFFF, 0xE0E0E0, 1.5), 101, 219, 62, 18, "1P");
  Panel(cr, 101, 239, 62, 18, 6, Hex(Palette::P2), 1.5);
  CellText(cr, Bold(13, 0xFFFFFF, 0xE0E0E0, 1.5), 101, 239, 62, 18, "2P");
  // labels
  const char* labels[20] = {"1st STAGE", "2nd STAGE", "3rd STAGE", "4th STAGE", "5th STAGE", "6th STAGE",
                            "FINAL",     "EXTRA",     "BONUS",     "NONSTOP",   "SCORE",     "COMBO",
                            "LIFE",      "LIVES",     "SPEED",     "TIME",      "AUTO",      "DEMO",
                            "PAUSE",     "READY"};
  for (int i = 0; i < 20; i++) {
    int row = i / 10, col = i % 10;
    CellText(cr, Bold(12, 0xFFFFFF, row ? 0xA8E0FF : 0xFFE080, 1.5), 64 * col, 258 + 20 * row, 64, 20, labels[i]);
  }
  // bottom bar
  cairo_save(cr);
  cairo_rectangle(cr, 0, 298, 640, 64);
  cairo_clip(cr);
  FillVertical(cr, 0, 304, 640, 58, Hex(0x0A0C24, 0.75), Hex(0x1A2050, 0.92));
  FillVertical(cr, 0, 302, 640, 3, Hex(Palette::P1), Hex(Palette::Cyan));
  for (int p = 0; p < 2; p++) {
    RoundedRect(cr, (p ? 400 : 20) + 0.5, 312.5, 220, 40, 8);
    cairo_set_source_rgba(cr, 0, 0, 0, 0.45);
    cairo_fill_preserve(cr);
    SetColour(cr, Hex(p ? Palette::P2 : Palette::P1, 0.9));
    cairo_set_line_width(cr, 1.5);
    cairo_stroke(cr);
  }
  cairo_restore(cr);
  return Save(c, dir, "rkv2-game.png");
}

// Screen-change wipe pieces: five 100 x 30 chevron bars.
bool Wipe(const std::string& dir) {
  Canvas c = Canvas_New(200, 90);
  cairo_t* cr = c.cr;
  const uint32_t cols[5] = {Palette::Magenta, Palette::Cyan, Palette::Violet, Palette::Gold, Palette::Indigo};
  for (int i = 0; i < 5; i++) {
    double x = 100 * (i % 2), y = 30 * (i / 2);
    cairo_save(cr);
    cairo_rectangle(cr, x, y, 100, 30);
    cairo_clip(cr);
    FillVertical(cr, x, y, 100, 30, Lighter(Hex(cols[i]), 0.2), Darker(Hex(cols[i]), 0.3));
    for (int k = -1; k < 6; k++) {
      cairo_move_to(cr, x + k * 20, y);
      cairo_line_to(cr, x + k * 20 + 10, y + 15);
      cairo_line_to(cr, x + k * 20, y + 30);
    }
    cairo_set_source_rgba(cr, 1, 1, 1, 0.25);
    cairo_set_line_width(cr, 4);
    cairo_stroke(cr);
    cairo_restore(cr);
  }
  return Save(c, dir, "rkv2-wipe.png");
}

}  // namespace

void Sheets_MiniPad(cairo_t* cr, double x, double y, double cell, bool six, const bool lit[9], Rgba col) {
  MiniPad(cr, x, y, cell, six, lit, col);
}

bool Gen_StartupSheets(const GenContext& ctx, const std::string& dir) {
  bool ok = true;
  ok = Stages(dir) && ok;
  ok = Bpms(dir) && ok;
  ok = Difficulties(dir) && ok;
  ok = DefBanner(dir) && ok;
  ok = ProfileDefault(dir) && ok;
  ok = ProfileFrame(dir) && ok;
  ok = DefBackground(dir) && ok;
  ok = Icons(dir) && ok;
  ok = HoldJudge(dir) && ok;
  ok = Judge(dir) && ok;
  ok = Options2(dir) && ok;
  ok = Combo(dir) && ok;
  ok = Headlines(dir) && ok;
  ok = Danger(dir) && ok;
  ok = Results2(dir) && ok;
  ok = DataSheet(dir) && ok;
  ok = Styles(dir) && ok;
  ok = Timer(dir) && ok;
  ok = Feet(dir) && ok;
  ok = Grades(dir) && ok;
  ok = Modifiers(dir) && ok;
  ok = Game(dir) && ok;
  ok = Wipe(dir) && ok;
  return ok;
}
