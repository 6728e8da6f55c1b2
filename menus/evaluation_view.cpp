#include "menus/evaluation_view.h"
#include "library/profiles.h"
#include "media/draw_helpers.h"
#include "media/font/font.h"
#include "media/skin/skin_images.h"
#include "menus/collection.h"
#include "menus/evaluation_graphs.h"
#include "menus/evaluation_records.h"
#include "menus/evaluation_rules.h"
#include "menus/evaluation_screen.h"
#include "play/play_record.h"
#include "play/player.h"
#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstring>

namespace {
// The backdrop's frames and the header beside its "RESULTS" band.
constexpr int kFrameX[2] = {14, 326}, kFrameY = 64;
constexpr int kHeaderX = 386, kHeaderRight = 634;

void append(char* out, int size, const char* text) {
  size_t used = strlen(out);
  if (used + 1 >= (size_t)size) return;
  snprintf(out + used, (size_t)size - used, "%s%s", used ? "  " : "", text);
}

void drawHeader(const EvalView& v, const EvalMoment& m) {
  Font_DrawText(20, 0xFFFFFF, 196, 19, "Final Tally");
  Eval_DrawFitted(18, 12, 0xFFFFFF, kHeaderX, 4, kHeaderRight - kHeaderX, v.title);
  int timeW = Font_TextWidth(12, v.time), labelW = Font_TextWidth(12, "TIME ");
  Font_DrawText(12, 0xA0A0B8, kHeaderRight - timeW - labelW, 26, "TIME ");
  Font_DrawText(12, 0xFFFFFF, kHeaderRight - timeW, 26, v.time);
  int room = kHeaderRight - timeW - labelW - 8 - kHeaderX;
  if (v.flags[0]) Eval_DrawFitted(12, 10, 0xFF7070, kHeaderX, 26, room, v.flags);
  else Eval_DrawFitted(12, 10, 0xB0B0C8, kHeaderX, 26, room, v.artist);
  if (m.awardShown && !v.card.shown) {   // with one player the card shows it
    const char* line = v.award == AWARD_BONUS ? "Try Bonus Stage!!!" : "Try Extra Stage!!!";
    int pulse = 170 + (int)(85 * std::sin(m.sinceOpenMs * 0.008));
    Font_DrawTextAlpha(19, 0xFFD23C, kHeaderX, 41, line, pulse);
  }
}

// The stored result under `key` for a style and difficulty, all zero without one.
Result storedResult(const RecordTable* t, const std::string& key, int styleKey, int difficulty) {
  if (!t) return Result{};
  auto it = t->index.find(key);
  return it == t->index.end() ? Result{} : findResult(*t, it->second, styleKey, difficulty);
}
}  // namespace

void Eval_DrawFitted(int size, int smallest, uint32_t colour, int x, int y, int width, const char* text) {
  size = Draw_FitSize(size, smallest, width, text);
  char shown[160];
  snprintf(shown, sizeof shown, "%s", text);
  for (size_t n = strlen(shown); n > 0 && Font_TextWidth(size, shown) > width; n--)
    snprintf(shown + n - 1, sizeof shown - (n - 1), "...");
  Font_DrawText(size, colour, x, y, shown);
}

void Evaluation_VisibleColumns(const Image& picture, int& left, int& width) {
  int first = picture.pictureWidth, last = -1;
  for (int x = 0; x < picture.pictureWidth; x++)
    for (int y = 0; y < picture.pictureHeight; y++)
      if (picture.PixelAt(x, y) >> 24) {
        first = std::min(first, x);
        last = x;
        break;
      }
  left = last < 0 ? 0 : first;
  width = last < 0 ? picture.pictureWidth : last - first + 1;
}

void Evaluation_TimeText(double ms, char* out, int size) {
  int64_t t = std::isfinite(ms) && ms > 0 ? (int64_t)ms : 0;
  snprintf(out, (size_t)size, "%02d:%02d:%03d", (int)std::min<int64_t>(t / 60000, 99), (int)(t / 1000 % 60),
           (int)(t % 1000));
}

void Evaluation_FlagsText(const PlayFlags& flags, char* out, int size) {
  out[0] = 0;
  if (flags.paused) append(out, size, "Song Paused");
  if (flags.autoplay) append(out, size, "Autoplay Enabled");
  if (flags.speedAltered) append(out, size, "Speed Altered");
}

void EvalView_Build(EvalView& v, const Play& play, const Player players[2], const EvalOutcome outcomes[2], int award) {
  EvalView_Free(v);
  snprintf(v.title, sizeof v.title, "%s", (play.source.title.empty() ? play.source.folder : play.source.title).c_str());
  snprintf(v.artist, sizeof v.artist, "%s", play.source.artist.c_str());
  Evaluation_TimeText(play.song.clock.ms - play.song.startMusicMs, v.time, sizeof v.time);
  Evaluation_FlagsText(play.flags, v.flags, sizeof v.flags);
  v.award = award;
  EvalView_BuildPanels(v, players, outcomes);
  for (int i = 0; i < 2; i++) {
    EvalPanel& panel = v.panels[i];
    if (!panel.active) continue;
    Histogram_OfPlayer(panel.histogram, players[i]);
    EvalPanel_MakeLifeGraph(panel, play.song.lifeTrace[i]);
  }
  EvalView_BuildCard(v, Evaluation_RecordKey(play.source.group.c_str(), play.source.folder.c_str()), outcomes);
}

void EvalView_BuildPanels(EvalView& v, const Player players[2], const EvalOutcome outcomes[2]) {
  for (int i = 0; i < 2; i++) {
    const Player& p = players[i];
    const EvalOutcome& o = outcomes[i];
    EvalPanel& panel = v.panels[i];
    panel.active = o.active;
    if (!o.active) continue;
    panel.number = p.number == 2 ? 2 : 1;
    if (o.profileSlot >= 1 && o.profileSlot <= g_profileCount)
      snprintf(panel.name, sizeof panel.name, "%s", g_profiles[o.profileSlot - 1].name);
    else
      snprintf(panel.name, sizeof panel.name, "PLAYER %d", panel.number);
    panel.inputLabel = Evaluation_InputLabel(panel.number - 1, p.panels);
    panel.difficulty = p.difficulty >= 0 && p.difficulty <= 3 ? p.difficulty : 0;
    panel.level = p.level;
    panel.grade = o.grade;
    panel.percentTenths = Evaluation_PercentTenths(o.percent);
    panel.score = o.score;
    for (int j = 0; j < 5; j++) panel.counts[j] = p.judgementCounts[j];
    panel.ok = p.freezeOk;
    panel.ng = p.freezeNg;
    panel.maxCombo = p.maxCombo;
    panel.recordState = o.recordState;
    for (int c = 0; c < 12; c++)
      Evaluation_VisibleColumns(g_skin.results2[panel.number][c], panel.digitLeft[c], panel.digitWidth[c]);
  }
}

void EvalView_BuildCard(EvalView& v, const std::string& key, const EvalOutcome outcomes[2]) {
  int who = outcomes[0].active ? 0 : 1;
  v.card = EvalRecordCard{};
  v.card.shown = outcomes[0].active != outcomes[1].active;
  if (!v.card.shown) return;
  const EvalOutcome& o = outcomes[who];
  v.card.course = o.course;
  int difficulty = o.course ? 0 : o.difficulty;
  v.card.difficulty = v.panels[who].difficulty;
  v.card.machine = storedResult(&g_records, key, o.styleKey, difficulty);
  v.card.withProfile = g_playerRecords[who] != nullptr;
  v.card.personal = storedResult(g_playerRecords[who], key, o.styleKey, difficulty);
  v.card.withStats = o.profileSlot >= 1 && o.profileSlot <= g_profileCount;
  if (v.card.withStats) v.card.stats = g_profiles[o.profileSlot - 1].stats[o.statsGroup];
}

void EvalView_Draw(EvalView& v, const EvalMoment& m) {
  drawHeader(v, m);
  for (EvalPanel& p : v.panels)
    if (p.active) EvalPanel_Draw(p, kFrameX[p.number - 1], kFrameY, m);
  if (v.card.shown) EvalCard_Draw(v, kFrameX[2 - v.panels[v.panels[0].active ? 0 : 1].number], kFrameY, m);
}

void EvalView_Free(EvalView& v) {
  for (EvalPanel& p : v.panels) p.lifeGraph.Free();
}
