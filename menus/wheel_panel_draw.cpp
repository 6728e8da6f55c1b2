// The left of the wheel screen and its top line: the selection's banner, the
// difficulties with each player's marker, the radar, the BPM, the song's title,
// each player's records line and modifiers (or quick-modifier cursor); the
// stage, the collection's caption and the time left.
#include "library/settings.h"
#include "library/song_list.h"
#include "media/draw_helpers.h"
#include "media/font/font.h"
#include "media/skin/skin_config.h"
#include "media/skin/skin_images.h"
#include "menus/modifier_rows.h"
#include "menus/screen_loop.h"
#include "menus/wheel_banners.h"
#include "menus/wheel_look.h"
#include "menus/wheel_radar.h"
#include "play/player.h"
#include <cmath>
#include <cstdio>
#include <cstring>

namespace {
constexpr uint32_t kPlayerColour[2] = {0x2F8BFF, 0xFF7A2F};
constexpr uint32_t kArtistColour = 0xA8C8FF, kDimText = 0x9FB4E0;
constexpr int kBannerCX = 150, kBannerCY = 112, kBannerW = 256, kBannerH = 80;
constexpr int kDiffX = 38, kDiffTop = 174, kDiffStep = 27, kDiffW = 60, kDiffH = 30;
constexpr int kRadarX = 164, kRadarY = 176, kRadarSize = 116;
constexpr int kFootX = kDiffX + kDiffW + 4, kLevelX = kFootX + 15, kP2MarkerX = kLevelX + 22;
constexpr int kTextX = 24, kTextW = 252;

void drawAt(Image& img, int x, int y, int w, int h, uint32_t colour = 0xFFFFFF, int alpha = 255) {
  if (!img.loaded) return;
  img.SetSize(w, h, 0);
  img.SetPosition(x, y);
  img.SetColour(colour);
  img.SetSurfaceAlpha(alpha);
  img.Draw();
}

// Digits of the skin's number cells, from x; returns the x after them.
// Digits of the skin's number cells from x, each `step` on from the last (the
// cells have room around their digit); returns the x after them.
int drawNumber(Image* digits, int x, int y, int w, int h, int step, int value, uint32_t colour) {
  char t[16];
  snprintf(t, sizeof t, "%d", value < 0 ? 0 : value);
  for (const char* p = t; *p; p++, x += step) drawAt(digits[*p - '0'], x, y, w, h, colour);
  return x + (w - step);
}

uint32_t stageColour(int stage) {
  int maxStage = g_settings.maxStage;
  if (stage <= 0 || stage >= maxStage) return 0xFFFFFF;
  const ColourList& l = g_skinConfig.stages;
  int i = stage >= 6 ? 5 : stage - 1;
  return i < l.count ? l.values[i] : 0xFFFFFF;
}

// "1st STAGE" .. "FINAL STAGE", "EXTRA STAGE" and the second extra's "BONUS STAGE".
void drawStage(const Wheel& w) {
  int x = 392, y = 8;
  uint32_t c = stageColour(w.stage);
  enum { WORD_STAGE, WORD_FINAL, WORD_EXTRA, WORD_BONUS };
  if (w.extraStage) {
    drawAt(g_skin.stageBanners[w.extraStage == 1 ? WORD_EXTRA : WORD_BONUS], x, y, 60, 20, c);
    x += 62;
  } else if (g_settings.maxStage < 6 && w.stage == g_settings.maxStage) {
    drawAt(g_skin.stageBanners[WORD_FINAL], x, y, 60, 20, c);
    x += 62;
  } else {
    x = drawNumber(g_skin.stageDigits, x, y, 15, 20, 11, w.stage, c);
    int n = w.stage % 100, suffix = n / 10 == 1 ? 3 : n % 10 == 1 ? 0 : n % 10 == 2 ? 1 : n % 10 == 3 ? 2 : 3;
    drawAt(g_skin.stageWords[suffix], x - 7, y, 30, 20, c);   // the ending sits close to its number
    x += 26;
  }
  drawAt(g_skin.stageBanners[WORD_STAGE], x, y, 60, 20, c);
}

void drawTop(const Wheel& w, const ScreenFrame& f) {
  drawStage(w);
  Draw_TextClipped(14, 0xFFFFFF, 392, 31, 170, g_collection.caption);
  Screen_DrawTimeLeft(f.secondsLeft, 634, 3);
}

// The radar picture of player p shows the chart it plays on this song.
void updateRadar(const Wheel& w, WheelLook& look, int p, int song, int d) {
  if (look.radarSong[p] == song && look.radarDifficulty[p] == d) return;
  look.radarSong[p] = song;
  look.radarDifficulty[p] = d;
  const SongEntry& e = g_songs[song];
  if (Wheel_HasChart(w, e, d)) Radar_Paint(g_skin.radars[p], e.figures[w.style.base + d], kPlayerColour[p]);
  else Radar_Clear(g_skin.radars[p]);
}

void drawBpm(const SongEntry& e, int x, int y) {
  drawAt(g_skin.bpmLabel, x, y, 30, 20);
  x += 34;
  int lo = e.bpmMin, hi = e.bpmMax;
  if (e.displayBpm > 0) lo = hi = e.displayBpm;
  if (e.displayBpm == 0 || lo <= 0) {
    Font_DrawText(16, 0xFFF4A0, x, y + 2, "???");
    return;
  }
  x = drawNumber(g_skin.bpmDigits, x, y + 2, 14, 16, 10, lo, 0xFFFFFF);
  if (hi > lo) {
    Font_DrawText(16, 0xFFF4A0, x + 1, y + 1, "-");
    drawNumber(g_skin.bpmDigits, x + 10, y + 2, 14, 16, 10, hi, 0xFFFFFF);
  }
}

void drawSongDetails(const Wheel& w, WheelLook& look, int song) {
  const SongEntry& e = g_songs[song];
  for (int d = 0; d < w.difficulties && d < 4; d++) {
    int y = kDiffTop + kDiffStep * d;
    bool has = Wheel_HasChart(w, e, d);
    drawAt(g_skin.difficulties[has ? 0 : 1][d], kDiffX, y, kDiffW, kDiffH, 0xFFFFFF, has ? 255 : 150);
    char level[8];
    snprintf(level, sizeof level, has ? "%d" : "-", e.levels[w.style.base + d]);
    drawAt(g_skin.feet[has ? 0 : 1], kFootX, y + 6, 12, 18);
    Font_DrawText(18, has ? 0xFFFFFF : 0x808090, kLevelX, y + 6, level);
  }
  drawAt(look.radarGrid, kRadarX, kRadarY, kRadarSize, kRadarSize, 0xFFFFFF, 170);
  for (int p = 0; p < 2; p++) {
    if (!w.side[p].active) continue;
    int d = Wheel_PlayerDifficulty(w, p);
    int y = kDiffTop + kDiffStep * d + (kDiffH - 20) / 2;
    drawAt(g_skin.options2Icons[p], p == 0 ? kDiffX - 22 : kP2MarkerX, y, 20, 20);
    updateRadar(w, look, p, song, d);
    drawAt(g_skin.radars[p], kRadarX, kRadarY, kRadarSize, kRadarSize, 0xFFFFFF, 235);
  }
  drawBpm(e, 20, 287);
  const char* title = e.hasDisplayTitle && e.displayTitle[0] ? e.displayTitle : e.title;
  const char* artist = e.hasDisplayArtist && e.displayArtist[0] ? e.displayArtist : e.artist;
  Draw_TextClipped(Draw_FitSize(18, 12, kTextW, title), 0xFFFFFF, kTextX, 322, kTextW, title);
  Draw_TextClipped(Draw_FitSize(14, 10, kTextW, artist), kArtistColour, kTextX, 344, kTextW, artist);
}

void drawFolderDetails(const Collection& c, int g, bool spinning) {
  const CollectionGroup& grp = c.groups[g];
  char name[kLabelSize];
  snprintf(name, sizeof name, "%.*s", (int)strcspn(grp.label, "\n"), grp.label);
  const char* hint = "START opens this folder";
  char count[48] = "";
  if (spinning) {
    snprintf(name, sizeof name, "ROULETTE");
    hint = "The wheel picks a song...";
  } else if (Wheel_IsRouletteGroup(grp)) {
    hint = strstr(grp.label, "(Folder)") ? "START picks a song of the open folders" : "START picks any song by chance";
  } else {
    snprintf(count, sizeof count, grp.count == 1 ? "%d song" : "%d songs", (int)grp.count);
    if (grp.state == GROUP_OPEN) hint = "START closes this folder";
  }
  Draw_TextClipped(Draw_FitSize(22, 14, kTextW, name), 0xFFFFFF, kTextX, 186, kTextW, name);
  if (count[0]) Font_DrawText(16, kArtistColour, kTextX, 216, count);
  if (hint[0]) Draw_TextClipped(13, kDimText, kTextX, 280, kTextW, hint);
}

// The line under each player's records: the quick-modifier cursor's row and
// value in the skin's colour for it, else what the player has chosen.
void modifierLine(const Wheel& w, int p, char* text, int size, uint32_t& colour) {
  const Player& pl = g_players[p];
  int row = w.side[p].quickRow - 1;
  if (row >= 0 && row < kModifierRows) {
    int v = Player_Option(pl, row);
    const char* value = v < kModifierValues ? kModifierLabels[row][v] : "";
    snprintf(text, (size_t)size, "< %s: %s >", kModifierRowNames[row], value);
    colour = g_skinConfig.selectSongModifier;
    return;
  }
  uint8_t values[kModifierRows];
  for (int r = 0; r < kModifierRows; r++) values[r] = Player_Option(pl, r);
  Modifiers_SummaryText(values, text, (size_t)size);
  if (strcmp(text, " ") == 0) text[0] = 0;
  colour = kDimText;
}

void drawPlayers(const Wheel& w, int song) {
  int row = 0;
  for (int p = 0; p < 2; p++) {
    if (!w.side[p].active) continue;
    int y = 370 + 46 * row++;
    char line[128] = "", mods[kModifierTextSize + 32];
    uint32_t modColour;
    modifierLine(w, p, mods, sizeof mods, modColour);
    if (song >= 0) Wheel_RecordsLine(g_songs[song], p, g_players[p].panels, Wheel_PlayerDifficulty(w, p), line, sizeof line);
    if (!line[0] && !mods[0]) continue;
    Font_DrawText(14, kPlayerColour[p], kTextX, y, p == 0 ? "P1" : "P2");
    int x = kTextX + 28, width = kTextW - 28;
    if (line[0]) Draw_TextClipped(Draw_FitSize(14, 10, width, line), 0xFFFFFF, x, y, width, line);
    if (mods[0]) Draw_TextClipped(Draw_FitSize(14, 10, width, mods), modColour, x, line[0] ? y + 20 : y, width, mods);
  }
}
}  // namespace

void WheelLook_DrawBanner(Image* b, int cx, int cy, int w, int h, int alpha) {
  if (!b || !b->loaded || b->surfaceWidth <= 0 || b->surfaceHeight <= 0) return;
  double scale = std::fmin((double)w / b->surfaceWidth, (double)h / b->surfaceHeight);
  int dw = std::max(1, (int)std::lround(b->surfaceWidth * scale));
  int dh = std::max(1, (int)std::lround(b->surfaceHeight * scale));
  drawAt(*b, cx - dw / 2, cy - dh / 2, dw, dh, 0xFFFFFF, alpha);
}

void WheelLook_DrawPanel(const Wheel& w, WheelLook& look, const ScreenFrame& f) {
  drawTop(w, f);
  const Collection& c = g_collection;
  if (!Wheel_HasItems(c)) return;
  WheelPos sel = Wheel_Selection(c);
  bool spinning = w.state == WHEEL_ROULETTE;
  int song = spinning ? -1 : Wheel_SongAt(c, sel);
  Image* banner = spinning ? &look.rouletteBanner : song >= 0 ? WheelLook_SongBanner(song, true)
                                                              : WheelLook_GroupBanner(look, c, sel.group, true);
  WheelLook_DrawBanner(banner, kBannerCX, kBannerCY, kBannerW, kBannerH, 255);
  if (song >= 0) drawSongDetails(w, look, song);
  else drawFolderDetails(c, sel.group, spinning);
  drawPlayers(w, song);
}
