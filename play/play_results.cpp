#include "play/play_results.h"
#include "platform/files.h"
#include "platform/log.h"
#include "play/grades.h"
#include "play/judgement.h"
#include "play/score.h"
#include "play/play_record.h"
#include "play/player.h"
#include <algorithm>
#include <cmath>
#include <cstdio>

namespace {
// Titles and paths may hold any bytes: quote, backslash and control characters are
// escaped; other bytes pass through (the files are UTF-8 or Latin-1 as the pack has them).
std::string quote(const std::string& s) {
  std::string o = "\"";
  for (unsigned char c : s) {
    switch (c) {
      case '"': o += "\\\""; break;
      case '\\': o += "\\\\"; break;
      case '\n': o += "\\n"; break;
      case '\r': o += "\\r"; break;
      case '\t': o += "\\t"; break;
      default:
        if (c < 0x20 || c == 0x7f) {
          char b[8];
          snprintf(b, sizeof b, "\\u%04x", c);
          o += b;
        } else {
          o += (char)c;
        }
    }
  }
  return o + "\"";
}

// The steps judged from a press (their rows PERFECT to BOO), with the mean and
// largest distance of press from note.
void pressOffsets(const Player& p, PlayResult& r) {
  double sum = 0, sumAbs = 0, worst = 0;
  int n = 0;
  for (int32_t i = 0; i < p.arrowCount; i++) {
    double late;
    if (!Results_PressLateMs(p.arrows[i], late)) continue;
    sum += late;
    sumAbs += std::fabs(late);
    worst = std::max(worst, std::fabs(late));
    n++;
  }
  r.presses = n;
  r.offsetMeanMs = n ? sum / n : 0;
  r.offsetMeanAbsMs = n ? sumAbs / n : 0;
  r.offsetMaxMs = worst;
}

std::string number(double v) {
  if (!std::isfinite(v)) return "0";
  char b[64];
  snprintf(b, sizeof b, "%.4f", v);
  return b;
}
}

bool Results_PressLateMs(const Arrow& a, double& lateMs) {
  if (a.kind != ARROW_TAP || a.status != NOTE_JUDGED || a.judgement[kOwnJudgement] >= JUDGE_MISS) return false;
  lateMs = -(double)a.judgement[kPressOffset];
  return true;
}

int Results_SteppedNotes(const Player& p, int* perfects) {
  int steps = 0, perfect = 0;
  for (int32_t i = 0; i < p.arrowCount && p.arrows; i++) {
    double late;
    if (!Results_PressLateMs(p.arrows[i], late)) continue;
    steps++;
    if (p.arrows[i].judgement[kOwnJudgement] == JUDGE_PERFECT) perfect++;
  }
  if (perfects) *perfects = perfect;
  return steps;
}

std::string Results_ToJson(const PlayResult& r) {
  std::string j = "{";
  auto field = [&](const char* k, const std::string& v) {
    if (j.size() > 1) j += ",";
    j += "\"";
    j += k;
    j += "\":";
    j += v;
  };
  field("player", std::to_string(r.player));
  field("chart", quote(r.chart));
  field("style", quote(r.style));
  field("difficulty", quote(r.difficulty));
  field("level", std::to_string(r.level));
  field("score", quote(r.score));
  field("perfect", std::to_string(r.perfect));
  field("great", std::to_string(r.great));
  field("good", std::to_string(r.good));
  field("boo", std::to_string(r.boo));
  field("miss", std::to_string(r.miss));
  field("ok", std::to_string(r.ok));
  field("ng", std::to_string(r.ng));
  field("maxCombo", std::to_string(r.maxCombo));
  field("dancePoints", std::to_string(r.dancePoints));
  field("maxDancePoints", std::to_string(r.maxDancePoints));
  field("percent", number(r.percent));
  field("grade", quote(r.grade));
  field("life", number(r.life));
  field("dead", r.dead ? "true" : "false");
  field("rateStep", std::to_string(r.rateStep));
  field("musicMs", number(r.musicMs));
  field("wallMs", number(r.wallMs));
  field("presses", std::to_string(r.presses));
  field("offsetMeanMs", number(r.offsetMeanMs));
  field("offsetMeanAbsMs", number(r.offsetMeanAbsMs));
  field("offsetMaxMs", number(r.offsetMaxMs));
  return j + "}";
}

bool Results_Append(const std::string& path, const PlayResult& r) {
  if (path.empty()) return false;
  if (!File_AppendText(path, Results_ToJson(r) + "\n")) {
    WriteLogf("Unable to append results to '%s'\n", path.c_str());
    return false;
  }
  return true;
}

PlayResult Results_Of(const Play& play, const Player& p) {
  static const char* const kDifficulties[4] = {"BASIC", "ANOTHER", "MANIAC", "SMANIAC"};
  const SongRun& song = play.song;
  PlayResult r;
  r.player = p.number;
  r.chart = play.source.displayPath;
  r.style = p.styleName;
  r.difficulty = p.difficulty >= 0 && p.difficulty < 4 ? kDifficulties[p.difficulty] : "";
  r.level = p.level;
  char text[32];
  Score_Format(p.scorePoints - p.scoreBase, text, sizeof text);   // the song's own, in a course too
  std::string s = text;
  size_t first = s.find_first_not_of(' ');
  r.score = first == std::string::npos ? "0" : s.substr(first);
  // the song's own figures: in a course the player's run on from the songs before
  // (the combo alone is the course's, as the play showed it)
  const SongRun::Figures& f = song.atStart[p.number == 2 ? 1 : 0];
  int32_t counts[kJudgementKinds];
  for (int k = 0; k < kJudgementKinds; k++) counts[k] = p.judgementCounts[k] - f.counts[k];
  r.perfect = counts[JUDGE_PERFECT];
  r.great = counts[JUDGE_GREAT];
  r.good = counts[JUDGE_GOOD];
  r.boo = counts[JUDGE_BOO];
  r.miss = counts[JUDGE_MISS];
  r.ok = p.freezeOk - f.ok;
  r.ng = p.freezeNg - f.ng;
  r.maxCombo = p.maxCombo;
  r.dancePoints = p.dancePoints - f.dancePoints;
  r.maxDancePoints = p.maxDancePoints;
  r.percent = Grade_Percent(r.dancePoints, p.maxDancePoints);
  r.grade = Grade_Name(Grade_Of(r.percent));
  r.life = p.life <= 0 ? 0.0 : p.life / 1700.0;
  r.dead = p.lifeState == LIFE_DEAD;
  r.rateStep = song.clock.rateStep;
  r.musicMs = song.clock.ms - song.startMusicMs;
  r.wallMs = song.wallMs - song.startWallMs;
  pressOffsets(p, r);
  return r;
}

void Results_WritePlay(const Play& play) {
  if (play.rules.resultsPath.empty()) return;
  for (const Player& p : g_players)
    if (p.active) Results_Append(play.rules.resultsPath, Results_Of(play, p));
}
