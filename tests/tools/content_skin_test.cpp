// The generated Default skin: every picture the game loads exists at its size,
// every cell the image loader cuts lies inside its sheet and holds a picture,
// the arrow sets animate and keep their colour classes apart, and the skin's
// layout file carries every key.
#include <gtest/gtest.h>

#include <set>

#include "content_helpers.h"

namespace {

struct Rect {
  int x, y, w, h;
};

std::string Skin(const std::string& f) { return GamePath("Skins/Default/" + f); }

// The cells the start-up loader cuts, sheet by sheet.
std::map<std::string, std::vector<Rect>> StartupCells() {
  std::map<std::string, std::vector<Rect>> m;
  auto& st = m["rkv2-stages.png"];
  for (int i = 0; i < 10; i++) st.push_back({15 * i, 0, 15, 20});
  for (int i = 0; i < 4; i++) st.push_back({150 + 30 * i, 0, 30, 20});
  for (int i = 0; i < 4; i++) st.push_back({60 * i, 20, 60, 20});
  auto& bp = m["rkv2-bpms.png"];
  for (int i = 0; i < 10; i++) bp.push_back({20 * i, 0, 20, 20});
  bp.push_back({200, 0, 30, 20});
  for (int c = 0; c < 2; c++)
    for (int r = 0; r < 4; r++) m["rkv2-difficulties.png"].push_back({76 * c, 38 * r, 76, 38});
  m["rkv2-profile-frame.png"] = {{0, 0, 320, 68}, {320, 0, 68, 68}};
  for (int a = 0; a < 6; a++)
    for (int j = 0; j < 3; j++)
      for (int w = 0; w < 2; w++) m["rkv2-farrows.png"].push_back({64 * a, 128 * j + 64 * w, 64, 64});
  m["rkv2-icons.png"] = {{0, 0, 53, 14}, {0, 14, 53, 14}};
  for (int c = 0; c < 6; c++) {
    int x = 64 * c;
    for (Rect r : {Rect{x, 0, 64, 64}, Rect{x, 64, 64, 16}, Rect{x, 80, 64, 44}, Rect{x, 128, 64, 64},
                   Rect{x, 192, 64, 16}, Rect{x, 208, 64, 44}})
      m["rkv2-freezes.png"].push_back(r);
  }
  for (int i = 0; i < 3; i++) m["rkv2-hjudge.png"].push_back({64 * i, 0, 64, 21});
  for (int c = 0; c < 13; c++)
    for (int r = 0; r < 4; r++) m["rkv2-flash.png"].push_back({80 * c, 80 * r, 80, 80});
  for (int i = 0; i < 5; i++) m["rkv2-judge.png"].push_back({0, 35 * i, 175, 35});
  m["rkv2-options2.png"] = {{0, 32, 12, 28},  {12, 32, 40, 28}, {52, 32, 12, 28},  {0, 60, 64, 4},
                            {64, 32, 12, 28}, {76, 32, 40, 28}, {116, 32, 12, 28}, {64, 60, 64, 4}};
  for (int i = 0; i < 4; i++) m["rkv2-options2.png"].push_back({32 * i, 0, 32, 32});
  for (int i = 0; i < 10; i++) m["rkv2-combo.png"].push_back({48 * i, 0, 48, 64});
  m["rkv2-combo.png"].push_back({480, 0, 96, 64});
  m["rkv2-headlines.png"] = {{0, 0, 380, 85}, {0, 85, 380, 85}, {10, 170, 360, 80}, {10, 250, 360, 80}};
  for (int r = 0; r < 3; r++)
    for (int i = 0; i < 12; i++) m["rkv2-results2.png"].push_back({60 + 25 * i, 25 * r, 25, 25});
  m["rkv2-results2.png"].push_back({0, 0, 60, 25});
  for (int k = 0; k < 2; k++) {
    int x = 132 * k;
    m["rkv2-data.png"].push_back({x, 0, 132, 22});
    for (int i = 0; i < 5; i++) m["rkv2-data.png"].push_back({x, 34 + 23 * i, 132, 11});
    for (int i = 0; i < 4; i++) m["rkv2-data.png"].push_back({x, 22 + 23 * i, 132, 12});
  }
  for (int i = 0; i < 6; i++) m["rkv2-styles.png"].push_back({0, 42 * i, 56, 42});
  for (int i = 0; i < 10; i++) m["rkv2-timer.png"].push_back({32 * i, 0, 32, 42});
  m["rkv2-feet.png"] = {{0, 0, 15, 22}, {15, 0, 15, 22}};
  for (int i = 0; i < 8; i++) m["rkv2-grades.png"].push_back({70 * i, 0, 70, 60});
  // the modifier sheet is taller than 180, so the extra cells sit in row 180
  for (int k = 0; k < 2; k++) {
    for (int r = 0; r < 4; r++)
      for (int i = 0; i < 6; i++) m["rkv2-modifiers.png"].push_back({32 * i, 80 * k + 20 * r, 32, 20});
    m["rkv2-modifiers.png"].push_back({32 * k + 32, 160, 32, 20});
    m["rkv2-modifiers.png"].push_back({32 * k + 96, 160, 32, 20});
    for (int x : {32 * k, 32 * k + 64, 32 * k + 128}) m["rkv2-modifiers.png"].push_back({x, 180, 32, 20});
  }
  m["rkv2-modifiers.png"].push_back({0, 160, 32, 20});
  auto& g = m["rkv2-game.png"];
  g = {{0, 90, 290, 32},  {350, 90, 290, 32}, {0, 122, 290, 32}, {350, 122, 290, 32},
       {183, 154, 290, 32}, {183, 186, 290, 32}, {302, 154, 16, 32}, {302, 186, 16, 32}};
  for (int i = 0; i < 4; i++) g.push_back({0, 154 + 26 * i, 100, 26});
  for (int i = 0; i < 4; i++) g.push_back({540, 154 + 26 * i, 100, 26});
  g.push_back({100, 218, 64, 20});
  g.push_back({100, 238, 64, 20});
  g.push_back({0, 0, 640, 50});
  g.push_back({0, 298, 640, 64});
  for (int r = 0; r < 2; r++)
    for (int i = 0; i < 10; i++) g.push_back({64 * i, 258 + 20 * r, 64, 20});
  for (int i = 0; i < 13; i++) g.push_back({20 * i, 50, 20, 40});
  for (int i = 0; i < 13; i++) g.push_back({380 + 20 * i, 50, 20, 40});
  for (int i = 0; i < 5; i++) m["rkv2-wipe.png"].push_back({100 * (i % 2), 30 * (i / 2), 100, 30});
  m["rkv2-profile-players.png"] = {{0, 0, 320, 344}, {320, 0, 320, 344}, {0, 344, 320, 80}, {320, 344, 320, 80}};
  return m;
}

struct Size {
  const char* file;
  int w, h;
};

// Every picture of the skin with the size the game (or our own layout) expects.
const Size kSizes[] = {
    {"rkv2-narrows.png", 384, 1280}, {"rkv2-sarrows.png", 1152, 768}, {"rkv2-carrows.png", 1152, 768},
    {"rkv2-stages.png", 270, 40},    {"rkv2-bpms.png", 230, 20},      {"rkv2-difficulties.png", 152, 152},
    {"def-banner.png", 256, 80},     {"rkv2-profile-default.png", 64, 64}, {"rkv2-profile-frame.png", 388, 68},
    {"def-background.png", 640, 480}, {"rkv2-farrows.png", 384, 384}, {"rkv2-icons.png", 53, 28},
    {"rkv2-freezes.png", 384, 252},  {"rkv2-hjudge.png", 192, 21},    {"rkv2-flash.png", 1040, 320},
    {"rkv2-judge.png", 175, 175},    {"rkv2-options2.png", 128, 64},  {"rkv2-combo.png", 576, 64},
    {"rkv2-headlines.png", 380, 330}, {"rkv2-danger.png", 128, 128},  {"rkv2-results2.png", 360, 75},
    {"rkv2-data.png", 264, 137},     {"rkv2-styles.png", 56, 252},    {"rkv2-timer.png", 320, 42},
    {"rkv2-feet.png", 30, 22},       {"rkv2-grades.png", 560, 60},    {"rkv2-modifiers.png", 192, 200},
    {"rkv2-game.png", 640, 362},     {"rkv2-wipe.png", 200, 90},      {"rkv2-title.png", 640, 480},
    {"rkv2-selector.png", 579, 36},  {"rkv2-dtile.png", 64, 64},      {"rkv2-style.png", 640, 480},
    {"rkv2-song.png", 640, 480},     {"rkv2-plate.png", 300, 36},     {"rkv2-selplate.png", 300, 36},
    {"rkv2-platecrs.png", 300, 36},  {"rkv2-folder.png", 300, 36},    {"rkv2-lfolder.png", 300, 36},
    {"rkv2-best.png", 40, 24},       {"rkv2-slider.png", 16, 200},    {"banner-roulette.png", 256, 80},
    {"banner-title.png", 256, 80},   {"banner-artist.png", 256, 80},  {"rkv2-options.png", 640, 480},
    {"rkv2-course.png", 640, 480},   {"rkv2-profile.png", 640, 480},  {"rkv2-profile-players.png", 640, 424},
    {"rkv2-results.png", 640, 480},  {"rkv2-break.png", 640, 480},    {"rkv2-credits.png", 400, 480},
    {"rkv2-records.png", 640, 480},
    {"font-Main.png", 510, 510},
};

TEST(ContentSkin, EveryPictureExistsAtItsSizeWithAlpha) {
  for (const Size& s : kSizes) {
    Picture p;
    ASSERT_TRUE(LoadPicture(Skin(s.file), p)) << s.file;
    EXPECT_EQ(p.width, s.w) << s.file;
    EXPECT_EQ(p.height, s.h) << s.file;
    // 32-bit pictures are never colour-keyed, so no corner colour turns transparent
    EXPECT_EQ(p.bpp, 32) << s.file;
  }
}

TEST(ContentSkin, StylePagesHaveAllTheirPictures) {
  for (const char* choice : {"g0-SINGLE", "g0-VERSUS", "g0-DOUBLE", "g1-SINGLE"})
    for (const char* part : {"pad", "text", "icon"}) {
      Picture p;
      std::string f = std::string("rkv2-") + choice + "-" + part + ".png";
      ASSERT_TRUE(LoadPicture(Skin(f), p)) << f;
      EXPECT_GT(Ink(p, 0, 0, p.width, p.height), p.width * p.height / 20) << f;
    }
}

TEST(ContentSkin, EveryCutCellLiesInItsSheetAndHoldsAPicture) {
  for (auto& [file, cells] : StartupCells()) {
    Picture p;
    ASSERT_TRUE(LoadPicture(Skin(file), p)) << file;
    for (size_t i = 0; i < cells.size(); i++) {
      const Rect& r = cells[i];
      EXPECT_LE(r.x + r.w, p.width) << file << " cell " << i;
      EXPECT_LE(r.y + r.h, p.height) << file << " cell " << i;
      EXPECT_GT(Ink(p, r.x, r.y, r.w, r.h), r.w * r.h / 50) << file << " cell " << i << " is empty";
    }
  }
}

TEST(ContentSkin, ModifierSheetIsTheTallLayout) {
  Picture p;
  ASSERT_TRUE(LoadPicture(Skin("rkv2-modifiers.png"), p));
  EXPECT_GE(p.height, 181);  // the three extra cells of each group are in row 180
}

// Mean colour of a cell's opaque pixels.
void MeanColour(const Picture& p, int x, int y, double rgb[3]) {
  double n = 0;
  rgb[0] = rgb[1] = rgb[2] = 0;
  for (int j = y; j < y + 64; j++)
    for (int i = x; i < x + 64; i++)
      if (p.A(i, j) > 200) {
        for (int c = 0; c < 3; c++) rgb[c] += p.Px(i, j)[c];
        n++;
      }
  if (n > 0)
    for (int c = 0; c < 3; c++) rgb[c] /= n;
}

double CellDifference(const Picture& p, int x0, int y0, int x1, int y1) {
  double d = 0;
  for (int j = 0; j < 64; j++)
    for (int i = 0; i < 64; i++)
      for (int c = 0; c < 4; c++) d += std::abs(p.Px(x0 + i, y0 + j)[c] - p.Px(x1 + i, y1 + j)[c]);
  return d / (64 * 64 * 4);
}

TEST(ContentSkin, ArrowSetsAnimateAndKeepTheirColourClasses) {
  for (const char* f : {"rkv2-sarrows.png", "rkv2-carrows.png"}) {
    Picture p;
    ASSERT_TRUE(LoadPicture(Skin(f), p)) << f;
    for (int g = 0; g < 3; g++)
      for (int c = 0; c < 6; c++) {
        int x = 64 * (c + 6 * g);
        for (int n = 0; n < 12; n++) ASSERT_GT(Ink(p, x, 64 * n, 64, 64), 600) << f << " " << g << "/" << c << "/" << n;
        EXPECT_GT(CellDifference(p, x, 0, x, 6 * 64), 2.0) << f << ": frames 0 and 6 look the same";
        double rgb[3];
        MeanColour(p, x, 0, rgb);
        if (g == 0) { EXPECT_GT(rgb[0], rgb[2] + 40) << f << ": on-beat arrows are red"; }
        if (g == 1) { EXPECT_GT(rgb[2], rgb[0] + 40) << f << ": half-beat arrows are blue"; }
        if (g == 2) { EXPECT_GT(std::min(rgb[0], rgb[1]), rgb[2] + 40) << f << ": off-beat arrows are yellow"; }
      }
  }
  Picture n;
  ASSERT_TRUE(LoadPicture(Skin("rkv2-narrows.png"), n));
  for (int c = 0; c < 6; c++) {
    for (int y = 0; y < 1280; y += 64) EXPECT_GT(Ink(n, 64 * c, y, 64, 64), 600) << "narrows " << c << " " << y;
    // frame 15 is the on-beat colour, frame 7 the half beat
    double beat[3], half[3];
    MeanColour(n, 64 * c, 15 * 64, beat);
    MeanColour(n, 64 * c, 7 * 64, half);
    EXPECT_GT(beat[0], beat[2] + 40);
    EXPECT_GT(half[2], half[0] + 40);
  }
}

TEST(ContentSkin, ArrowsPointTheirColumnsWay) {
  // near its tip an arrow's head is wider than its stem is near the tail
  Picture p;
  ASSERT_TRUE(LoadPicture(Skin("rkv2-sarrows.png"), p));
  auto across = [&](int x0, bool vertical, int at) {  // ink on one line through the cell
    int n = 0;
    for (int k = 0; k < 64; k++)
      if (p.A(x0 + (vertical ? at : k), vertical ? k : at) > 128) n++;
    return n;
  };
  EXPECT_GT(across(0, true, 20), across(0, true, 54));        // Left
  EXPECT_GT(across(64, false, 44), across(64, false, 10));    // Down
  EXPECT_GT(across(128, false, 20), across(128, false, 54));  // Up
  EXPECT_GT(across(192, true, 44), across(192, true, 10));    // Right
}

TEST(ContentSkin, FontDefHasAWidthForEveryGlyphAndTheInkFitsIt) {
  std::string def = Slurp(Skin("font-Main.def"));
  std::vector<int> widths;
  std::stringstream ss(def);
  std::string item;
  while (std::getline(ss, item, ',')) {
    ASSERT_FALSE(item.empty());
    for (char c : item) ASSERT_TRUE(std::isdigit((unsigned char)c)) << "'" << item << "'";
    widths.push_back(std::atoi(item.c_str()));
  }
  ASSERT_EQ(widths.size(), 100u);
  Picture p;
  ASSERT_TRUE(LoadPicture(Skin("font-Main.png"), p));
  EXPECT_EQ(Ink(p, 0, 0, 51, 50), 0) << "the space draws nothing";
  for (int k = 1; k < 100; k++) {
    int cx = 51 * (k % 10), cy = 51 * (k / 10);
    int advance = widths[k] + 1;
    EXPECT_GE(advance, 8) << "glyph " << k + 32;
    EXPECT_LE(advance, 51) << "glyph " << k + 32;
    if (k + 32 == 127 || k + 32 > 127) continue;
    ASSERT_GT(Ink(p, cx, cy, 51, 50), 10) << "glyph " << k + 32 << " is empty";
    // the ink stays within the advance (with a little overhang) and inside the cell
    int right = 0, bottom = 0;
    for (int y = 0; y < 50; y++)
      for (int x = 0; x < 51; x++)
        if (p.A(cx + x, cy + y) > 24) {
          right = std::max(right, x);
          bottom = std::max(bottom, y);
        }
    EXPECT_LE(right, advance + 3) << "glyph " << (char)(k + 32);
    EXPECT_LT(bottom, 50);
    // the row gap between cells stays clear
    if (k / 10 < 9) { EXPECT_EQ(Ink(p, cx, cy + 50, 51, 1), 0) << "glyph " << k + 32; }
  }
  // glyphs are white: the game colours them
  const uint8_t* px = nullptr;
  int kA = 'A' - 32;
  for (int y = 0; y < 50 && !px; y++)
    for (int x = 0; x < 51; x++)
      if (p.A(51 * (kA % 10) + x, 51 * (kA / 10) + y) == 255) {
        px = p.Px(51 * (kA % 10) + x, 51 * (kA / 10) + y);
        break;
      }
  ASSERT_NE(px, nullptr);
  EXPECT_EQ(px[0], 255);
  EXPECT_EQ(px[1], 255);
  EXPECT_EQ(px[2], 255);
}

TEST(ContentSkin, GlyphsTakeTheLoadersOutline) {
  // Apply the font loader's outline (black copies at the listed offsets, then
  // the glyph at (1,1)) to "O" and check the result: a dark ring around white.
  Picture p;
  ASSERT_TRUE(LoadPicture(Skin("font-Main.png"), p));
  int k = 'O' - 32, cx = 51 * (k % 10), cy = 51 * (k / 10);
  std::vector<int> a(56 * 55, 0), white(56 * 55, 0);
  static const int off[17][2] = {{0, 0}, {1, 0}, {2, 0}, {0, 1}, {2, 1}, {0, 2}, {1, 2}, {2, 2}, {1, 3},
                                 {2, 3}, {3, 3}, {2, 4}, {3, 4}, {4, 4}, {3, 5}, {4, 5}, {5, 5}};
  for (auto& o : off)
    for (int y = 0; y < 50; y++)
      for (int x = 0; x < 51; x++) {
        int s = p.A(cx + x, cy + y);
        int& d = a[(y + o[1]) * 56 + x + o[0]];
        d = std::max(d, s);
      }
  for (int y = 0; y < 50; y++)
    for (int x = 0; x < 51; x++)
      if (p.A(cx + x, cy + y) > 200) white[(y + 1) * 56 + x + 1] = 1;
  int ring = 0, core = 0;
  for (int i = 0; i < 56 * 55; i++) {
    if (white[i]) core++;
    else if (a[i] > 200) ring++;
  }
  EXPECT_GT(core, 100);
  EXPECT_GT(ring, core / 4) << "the outline shows around the glyph";
}

TEST(ContentSkin, SkinConfigCarriesEveryKeyInItsSection) {
  std::string cfg = Slurp(Skin("rkv2-skin.cfg"));
  ASSERT_FALSE(cfg.empty());
  std::map<std::string, std::string> section = {
      {"Author=", "[CREDITS]"},   {"Folders=", "[COLOURS]"},       {"FolderCr=", "[COLOURS]"},
      {"FreezeMin=", "[COLOURS]"}, {"FreezeMax=", "[COLOURS]"},    {"Songs=", "[COLOURS]"},
      {"RegPerfect=", "[COLOURS]"}, {"RegGreat=", "[COLOURS]"},    {"ComboPerfect=", "[COLOURS]"},
      {"ComboGreat=", "[COLOURS]"}, {"Stages=", "[COLOURS]"},      {"SelectSong_Modifier=", "[COLOURS]"},
      {"GamePlay_PanelTop=", "[POSITIONS]"}, {"GamePlay_ModLeft=", "[POSITIONS]"},
      {"GamePlay_ModRight=", "[POSITIONS]"}, {"GamePlay_ModWidth=", "[POSITIONS]"}};
  std::istringstream in(cfg);
  std::string line, current;
  std::set<std::string> seen;
  while (std::getline(in, line)) {
    ASSERT_LT(line.size(), 256u);
    if (line.find('[') == 0) current = line;
    for (auto& [key, sec] : section) {
      if (line.find(key) != 0) continue;
      EXPECT_EQ(current, sec) << key;
      seen.insert(key);
      std::string v = line.substr(key.size());
      if (sec == "[COLOURS]") {
        // every colour has a 0x prefix, so none can be read as a decimal number
        std::stringstream vs(v);
        std::string item;
        int n = 0;
        while (std::getline(vs, item, ',')) {
          EXPECT_EQ(item.rfind("0x", 0), 0u) << key << item;
          EXPECT_EQ(item.size(), 8u) << key << item;
          n++;
        }
        if (key == "Stages=") { EXPECT_EQ(n, 6); }
      }
    }
  }
  EXPECT_EQ(seen.size(), section.size());
  auto number = [&](const std::string& key) {
    size_t at = cfg.find(key);
    return at == std::string::npos ? -1 : std::atoi(cfg.c_str() + at + key.size());
  };
  // the play-screen positions sit within the limits the game enforces
  EXPECT_LE(number("GamePlay_PanelTop="), 10);
  EXPECT_GE(number("GamePlay_ModLeft="), 242);
  EXPECT_LE(number("GamePlay_ModRight="), 400);
  EXPECT_GE(number("GamePlay_ModWidth="), 50);
}

}  // namespace
