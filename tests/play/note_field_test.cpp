// The note field drawn headless onto the screen buffer with plain one-colour
// pictures in place of the skin: where explosions, receptor flashes, freezes and
// arrows land, in which colour, and what the appearance modifiers let through.
#include <gtest/gtest.h>
#include <cmath>
#include <cstring>
#include <set>
#include <vector>
#include "chart/random.h"
#include "chart/timing.h"
#include "library/settings.h"
#include "media/render/screen.h"
#include "media/skin/skin_config.h"
#include "media/skin/skin_images.h"
#include "play/judgement.h"
#include "play/modifiers.h"
#include "play/note_field.h"

namespace {

void solid(Image& img, int w, int h, uint32_t rgb) {
  img.Create(w, h, IMAGE_RGB);
  for (int i = 0; i < w * h; i++) img.pixels[i] = 0xFF000000u | rgb;
}

// A white picture multiplied by `c`, as the compositor tints it.
uint32_t tint(uint32_t c, uint32_t by = 0xFFFFFF) {
  uint32_t out = 0;
  for (int s : {16, 8, 0}) out |= ((((c >> s) & 255) * ((by >> s) & 255)) >> 8) << s;
  return out;
}

constexpr uint32_t kHead = 0xC08040, kPiece = 0x40C080, kTailTop = 0xE0E000, kTailBottom = 0x00E0E0;
constexpr uint32_t kTap = 0x3366FF;

struct NoteFieldTest : ::testing::Test {
  Player& p = g_players[0];
  std::vector<Arrow> arrows;
  ScrollState scroll{};
  NoteFieldState field{};
  int x = 0;   // column 0

  void SetUp() override {
    Settings_Defaults(g_settings);
    g_settings.showBeat = 0;
    SkinConfig_Defaults(g_skinConfig);
    memset(g_freezeGradient, 0, sizeof(uint32_t) * 16);
    NoteField_Reset(field);
    memset(&p, 0, sizeof p);
    p.active = 1;
    Player_SetStyle(p, "SINGLE", 4, true);
    p.pixelsPerBeat = 64;
    p.options.dark = 1;
    x = NoteField_ColumnX(p, 0);
    arrows.reserve(16);
    for (int c = 0; c < 6; c++) {
      solid(g_skin.freezes[c][0], 64, 64, kHead);
      solid(g_skin.freezes[c][3], 64, 64, kHead);
      for (int k : {1, 4}) solid(g_skin.freezes[c][k], 64, 16, kPiece);
      for (int k : {2, 5}) {
        solid(g_skin.freezes[c][k], 64, 44, kTailBottom);
        for (int i = 0; i < 64 * 22; i++) g_skin.freezes[c][k].pixels[i] = 0xFF000000u | kTailTop;
      }
    }
    g_arrowSet = 3;
    for (Image& a : g_arrows) solid(a, 64, 64, kTap);
  }
  void TearDown() override {
    FreeImages();
    NoteField_Reset(field);
    memset(&p, 0, sizeof p);
  }

  // A record at `pos` sixteenths in column 0; the array is re-pointed each time.
  Arrow& add(double pos, uint8_t kind = ARROW_TAP, double end = -1) {
    Arrow a{};
    a.kind = kind;
    a.startPos = pos;
    a.endPos = end < 0 ? pos : end;
    a.tapeY = p.pixelsPerBeat * pos / 4.0 + kReceptorY;
    if (p.options.reverse) a.tapeY = kReverseFlip - a.tapeY;
    a.x = x;
    a.status = NOTE_PENDING;
    a.chordNext = a.freezeLink = -1;
    a.image = kind == ARROW_TAP ? &g_arrows[0] : &g_skin.freezes[0][0];
    arrows.push_back(a);
    p.arrows = arrows.data();
    p.arrowCount = (int)arrows.size();
    return arrows.back();
  }
  void draw(double chartPos, double nowMs = 1000) {
    scroll.chartPos = scroll.position = chartPos;
    Screen_Clear(0, 0, 0);
    NoteField_Draw(field, p, 0, scroll, nowMs);
  }
  uint32_t at(int dx, int y) { return Screen_Pixel(x + dx, y); }
};

TEST_F(NoteFieldTest, ExplosionsTakeTheSkinColoursOnTheReceptorLine) {
  for (auto& row : g_skin.flash)
    for (Image& f : row) solid(f, 80, 80, 0xFFFFFF);
  g_skinConfig.regPerfect = 0xFF2000;
  g_skinConfig.regGreat = 0x20FF00;
  g_skinConfig.comboPerfect = {{0x0000FF, 0x00FFFF, 0xFF00FF}, 3};
  p.combo = 0;
  NoteField_Burst(field, 0, 0, JUDGE_PERFECT, 1000);
  NoteField_Burst(field, 0, 1, JUDGE_GREAT, 1000);
  draw(0, 1010);
  // 8 pixels left of the receptor, its top on the receptor line
  EXPECT_EQ(at(-8, kReceptorY), tint(0xFF2000));
  EXPECT_EQ(at(-9, kReceptorY), 0u);
  EXPECT_EQ(at(-8, kReceptorY - 1), 0u);
  EXPECT_EQ(Screen_Pixel(NoteField_ColumnX(p, 1), kReceptorY + 40), tint(0x20FF00));
  draw(0, 1000 + 13 * 20);   // the last frame is over
  EXPECT_EQ(at(0, kReceptorY + 40), 0u);

  // in a long combo each explosion draws one of the combo colours
  p.combo = kComboColoursFrom;
  Random_Seed(7);
  std::set<uint32_t> seen;
  for (int i = 0; i < 40; i++) {
    NoteField_Burst(field, 0, 0, JUDGE_PERFECT, 1000);
    draw(0, 1010);
    seen.insert(at(0, kReceptorY + 40));
  }
  std::set<uint32_t> allowed = {tint(0x0000FF), tint(0x00FFFF), tint(0xFF00FF)};
  EXPECT_GE(seen.size(), 2u);
  for (uint32_t c : seen) EXPECT_TRUE(allowed.count(c)) << std::hex << c;
  // an emptied combo list leaves the regular colour
  g_skinConfig.comboPerfect.count = 0;
  EXPECT_EQ(NoteField_ExplosionColour(p, JUDGE_PERFECT), 0xFF2000u);
  EXPECT_EQ(NoteField_ExplosionColour(p, 3), 0xFFFFFFu);   // a finished freeze keeps the sheet's colours
}

TEST_F(NoteFieldTest, ReceptorFlashesThreeFramesOf50MsAfterAPress) {
  p.options.dark = 0;
  const uint32_t idle = 0x101010, pressed[2] = {0x800000, 0x008000};
  for (int w = 0; w < 2; w++)
    for (int a = 0; a < 6; a++) {
      solid(g_skin.farrows[w][0][a], 64, 64, idle);
      solid(g_skin.farrows[w][1][a], 64, 64, pressed[w]);
      solid(g_skin.farrows[w][2][a], 64, 64, 0xFFFFFF);
    }
  NoteField_Press(field, 0, 0, 1000);
  int y = kReceptorY + 32;
  draw(0, 1010);
  EXPECT_EQ(at(32, y), pressed[0]);
  draw(0, 1060);
  EXPECT_EQ(at(32, y), pressed[1]);
  draw(0, 1110);   // letting go: the pressed picture half over the idle one
  uint32_t c = at(32, y);
  EXPECT_GT(c >> 16, idle >> 16);
  EXPECT_LT(c >> 16, pressed[0] >> 16);
  draw(0, 1160);
  EXPECT_EQ(at(32, y), idle);
  EXPECT_EQ(Screen_Pixel(NoteField_ColumnX(p, 1) + 32, y), idle);   // only the pressed column flashed
  p.options.dark = 1;
  draw(0, 1010);
  EXPECT_EQ(at(32, y), 0u);
}

TEST_F(NoteFieldTest, FreezeHeadsAreDrawnOnceAndADroppedFreezeGoesOnFromWhereItWasLetGo) {
  Arrow& f = add(4, ARROW_FREEZE, 36);   // 32 sixteenths: 512 pixels
  f.status = FREEZE_HELD;
  Arrow& head = add(4);
  head.freezeLink = 0;
  head.status = NOTE_JUDGED;
  head.judgement[kOwnJudgement] = JUDGE_GOOD;   // a GOOD head scrolls on as a tap would
  for (double pos = 4; pos <= 8; pos += 0.5) draw(pos);
  // held: the head on the receptor and nothing above it, where the tap head
  // would have scrolled to
  EXPECT_EQ(at(32, kReceptorY + 10), kHead);
  EXPECT_EQ(at(32, 10), 0u);
  EXPECT_EQ(at(32, kReceptorY + 100), kPiece);
  for (double pos = 8; pos <= 20; pos += 0.5) draw(pos);

  arrows[0].status = FREEZE_NG;   // let go at 20
  draw(22);
  // two sixteenths later the grey head sits 32 pixels above the receptor; the
  // part already held stays away
  int headTop = kReceptorY - 32;
  EXPECT_EQ(at(32, headTop + 5), tint(kHead, 0x606060));
  EXPECT_EQ(at(32, headTop - 3), 0u);
  EXPECT_EQ(at(32, 200), tint(kPiece, 0x606060));
  draw(40);
  EXPECT_EQ(at(32, 200), 0u);
}

TEST_F(NoteFieldTest, LongFreezesDrawOnlyWhatTheScreenShows) {
  p.options.effect = EFFECT_BRAKE;
  p.pixelsPerBeat = 512;   // 8x
  add(0.5, ARROW_FREEZE, 40000);
  add(0.5).freezeLink = 0;
  draw(0);
  EXPECT_GT(field.picturesDrawn, 10);
  EXPECT_LT(field.picturesDrawn, 40);
  arrows[0].endPos = 1e300;   // absurd lengths reach no int conversion
  draw(0);
  EXPECT_LT(field.picturesDrawn, 40);
  arrows[0].status = FREEZE_HELD;
  p.options.reverse = 1;
  draw(2);
  EXPECT_LT(field.picturesDrawn, 40);
}

TEST_F(NoteFieldTest, ReverseTailCapPointsAwayFromTheBody) {
  add(4, ARROW_FREEZE, 8);   // 64 pixels long
  add(4).freezeLink = 0;
  draw(0);
  // standard: head at 119, tail picture from 119 + 64 + 32 - 12 with its cap (bottom half) lowest
  int tailTop = 119 + 64 + 20;
  EXPECT_EQ(at(32, tailTop + 2), kTailTop);
  EXPECT_EQ(at(32, tailTop + 40), kTailBottom);

  arrows.clear();
  p.options.reverse = 1;
  add(4, ARROW_FREEZE, 8);
  add(4).freezeLink = 0;
  draw(0);
  // reverse: the tail at 411 - 183 = 228 is upside down, cap uppermost
  EXPECT_EQ(at(32, 228 + 2), kTailBottom);
  EXPECT_EQ(at(32, 228 + 40), kTailTop);
}

TEST_F(NoteFieldTest, JudgedNotesPutOnTheEdgeCountAsGone) {
  p.options.effect = EFFECT_BOOST;
  Arrow& a = add(4);
  a.status = NOTE_JUDGED;
  a.judgement[kOwnJudgement] = JUDGE_GOOD;
  add(40);
  draw(12);   // base offset below 0: BOOST puts it at exactly -64
  EXPECT_EQ(p.firstVisible, 1);

  arrows.clear();
  p.firstVisible = 0;
  p.options.reverse = 1;
  p.options.effect = EFFECT_BRAKE;   // reverse: exactly 480
  Arrow& b = add(4);
  b.status = NOTE_JUDGED;
  b.judgement[kOwnJudgement] = JUDGE_BOO;
  add(40);
  draw(12);
  EXPECT_EQ(p.firstVisible, 1);
}

TEST_F(NoteFieldTest, AppearanceModifiersHideArrowsByTheirDistanceFromTheReceptors) {
  // one arrow 64 pixels ahead of the receptor, one 320 ahead
  struct Case {
    uint8_t appearance;
    bool nearShown, farShown;
  } cases[] = {{APPEAR_VISIBLE, true, true},
               {APPEAR_HIDDEN, false, true},
               {APPEAR_SUDDEN, true, false},
               {APPEAR_STEALTH, false, false}};
  for (int reverse = 0; reverse < 2; reverse++) {
    p.options.reverse = (uint8_t)reverse;
    arrows.clear();
    add(4);
    add(20);
    int nearY = reverse ? 356 - 64 : 55 + 64, farY = reverse ? 356 - 320 : 55 + 320;
    for (const Case& c : cases) {
      p.options.appearance = c.appearance;
      p.firstVisible = 0;
      draw(0);
      EXPECT_EQ(at(32, nearY + 32) == kTap, c.nearShown) << int(c.appearance) << " reverse " << reverse;
      EXPECT_EQ(at(32, farY + 32) == kTap, c.farShown) << int(c.appearance) << " reverse " << reverse;
    }
  }
  // STEALTH still shows the receptors
  p.options.dark = 0;
  for (auto& w : g_skin.farrows)
    for (auto& j : w)
      for (Image& a : j) solid(a, 64, 64, 0x505050);
  draw(0);
  EXPECT_EQ(at(32, p.options.reverse ? 356 + 10 : 55 + 10), 0x505050u);
}

TEST_F(NoteFieldTest, ArrowSet1TakesTheColourOfItsPlaceAndPulsesWithTheBeat) {
  g_arrowSet = 1;
  for (int n = 0; n < 16; n++) solid(g_arrows[n], 64, 64, 0x100000u * (uint32_t)n + 0x0F);
  solid(g_arrowsSecond[0], 64, 64, 0xFF0000);   // the colour of the beat
  solid(g_arrowsThird[0], 64, 64, 0xFFFFFF);    // unlit
  Arrow& a = add(16);
  a.beatPhase = 7;   // on a half beat
  draw(0);
  EXPECT_EQ(at(32, 55 + 256 + 32), 0x70000Fu);
  draw(2);           // half a beat on: the arrow is dimmed
  uint32_t dim = at(32, 55 + 224 + 32);
  EXPECT_NE(dim, 0x70000Fu);
  EXPECT_GT(dim & 0xFF, 0x0Fu);
  p.options.arrowFilter = FILTER_FLAT;
  arrows[0].beatPhase = 0;   // as the loader leaves FLAT arrows
  draw(4);
  EXPECT_EQ(at(32, 55 + 192 + 32), 0xFF0000u);
}

}  // namespace
