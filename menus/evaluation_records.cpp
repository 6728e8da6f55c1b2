#include "menus/evaluation_records.h"
#include "library/courses.h"
#include "library/record_notes.h"
#include "library/profiles.h"
#include "library/song_list.h"
#include "platform/log.h"
#include "play/play_record.h"
#include <algorithm>
#include <climits>
#include <cmath>
#include <cstdio>
#include <ctime>
#include <string>

namespace {
// The record of `key`, made when the table has none (a song or course added since
// the records were loaded); the song table, or the course, is pointed at it.
int recordOf(RecordTable& t, const std::string& key, int playerIndex, bool machineTable) {
  int r = findRecord(t, key.c_str());
  if (r >= 0) return r;
  t.records.push_back(Records_New(key.c_str(), (int32_t)time(nullptr)));
  t.results.emplace_back();
  r = (int)t.records.size() - 1;
  t.index.emplace(t.records[r].key, r);
  for (SongEntry& e : g_songs) {
    if (SongList_RecordKey(e) != key) continue;
    if (machineTable) e.record = r;
    else e.profileRecord[playerIndex] = r;
  }
  if (machineTable && &t == &g_records)
    for (Course& c : g_courses)
      if (Course_RecordKey(c) == key) c.recordIndex = r;
  return r;
}

Profile* profileOf(const EvalOutcome& o) {
  return o.profileSlot >= 1 && o.profileSlot <= g_profileCount ? &g_profiles[o.profileSlot - 1] : nullptr;
}

void save(RecordTable& t) {
  if (!saveRecords(t)) WriteLogf("Unable to save the records to '%s'; the old file stays\n", Records_Path(t).c_str());
}
}  // namespace

bool Evaluation_MayStore(const PlayFlags& flags) {
  if (flags.replay) WriteLog("A replay was watched: the results are not stored\n");
  else if (flags.autoplay) WriteLog("Autoplay was used: the results are not stored\n");
  else if (flags.speedAltered) WriteLog("The speed was altered: the results are not stored\n");
  return !flags.replay && !flags.autoplay && !flags.speedAltered;
}

std::string Evaluation_RecordKey(const char* group, const char* folder) {
  char key[sizeof(SongRecord::key)];
  snprintf(key, sizeof key, "%s\\%s", group ? group : "", folder ? folder : "");
  return key;
}

int Evaluation_PercentTenths(double percent) {
  if (!(percent > 0)) return 0;
  return (int)std::floor(percent * 10 + 1e-9);
}

Result Evaluation_Result(const EvalOutcome& o) {
  Result r{};
  r.styleKey = (uint8_t)o.styleKey;
  r.difficultyKey = (uint8_t)(o.course ? 0 : o.difficulty);
  r.bestScore = o.score;
  r.bestA = Evaluation_PercentTenths(o.percent);
  r.bestGrade = (uint8_t)o.grade;
  r.bestB = o.course ? o.timeMs : 0;
  r.bestC = o.course ? o.stage : 1;
  return r;
}

int Evaluation_RecordState(double score, double machineBest, bool withProfile, double profileBest) {
  if (score > machineBest) return RECORD_NEW;
  if (withProfile && score > profileBest) return RECORD_PERSONAL;
  return RECORD_NONE;
}

void Evaluation_AddStats(ProfileStats& s, const EvalOutcome& o) {
  s.steps += o.steps;
  s.perfects += o.perfects;
  if (o.course) {
    // the percentage as the screen shows it, so a course below 100 % never reads 100.0
    s.courseBestPercent = std::max(s.courseBestPercent, Evaluation_PercentTenths(o.percent) / 10.0);
    s.courseBestStage = std::max(s.courseBestStage, (int32_t)o.stage);
    s.courseLongestMs = std::max(s.courseLongestMs, (int32_t)std::min<uint32_t>(o.timeMs, INT32_MAX));
    s.courseBestScore = std::max(s.courseBestScore, o.score);
    s.courseBestCombo = std::max(s.courseBestCombo, (int32_t)o.maxCombo);
    return;
  }
  s.songs++;
  s.bestCombo = std::max(s.bestCombo, (int32_t)o.maxCombo);
  s.bestScore = std::max(s.bestScore, o.score);
}

void Evaluation_StoreResults(const std::string& key, EvalOutcome players[2], RecordTable& machine,
                             RecordTable* profileTables[2]) {
  int order[2] = {0, 1};
  if (players[1].score > players[0].score) std::swap(order[0], order[1]);

  int counterGroup = -1;
  bool anyone = false;
  for (int k = 0; k < 2; k++) {
    int i = order[k];
    EvalOutcome& o = players[i];
    if (!o.active) continue;
    WriteLogf("Storing the results of player %d...\n", o.number);
    anyone = true;
    if (counterGroup < 0 && !o.course) counterGroup = o.counterGroup;
    Result r = Evaluation_Result(o);
    int difficulty = r.difficultyKey;
    Profile* profile = profileOf(o);
    RecordTable* own = profileTables[i];

    int m = recordOf(machine, key, i, true);
    double machineBest = findResult(machine, m, o.styleKey, difficulty).bestScore;
    int p = own ? recordOf(*own, key, i, false) : -1;
    double ownBest = own ? findResult(*own, p, o.styleKey, difficulty).bestScore : 0;
    o.recordState = Evaluation_RecordState(o.score, machineBest, own != nullptr, ownBest);

    storeResult(machine, m, o.styleKey, difficulty, o.course, r);
    if (o.recordState == RECORD_NEW) setHolder(machine, m, o.styleKey, difficulty, profile ? profile->name : "");
    if (own) storeResult(*own, p, o.styleKey, difficulty, o.course, r);
    // the combo and the date the records file has no room for
    int64_t now = (int64_t)time(nullptr);
    storeNote(machine, key.c_str(), o.styleKey, difficulty, o.maxCombo, o.score > machineBest, now);
    if (own) storeNote(*own, key.c_str(), o.styleKey, difficulty, o.maxCombo, o.score > ownBest, now);
    if (profile) Evaluation_AddStats(profile->stats[o.statsGroup], o);
  }
  if (!anyone) return;
  if (counterGroup >= 0 && counterGroup < 3) {
    int m = findRecord(machine, key.c_str());
    if (m >= 0) machine.records[m].counters[counterGroup] += kPlayCounterStep;
  }
  save(machine);
  // the profiles are saved again at the end of the game; saving them now loses nothing in a crash
  for (int i = 0; i < 2; i++) {
    if (!players[i].active) continue;
    bool savedAlready = i == 1 && players[0].active && profileTables[1] == profileTables[0];
    if (profileTables[i] && !savedAlready) save(*profileTables[i]);
    Profile* profile = profileOf(players[i]);
    if (profile) saveProfile(profile->name);
  }
}

void Evaluation_StoreRecords(const char* group, const char* folder, EvalOutcome players[2], RecordTable& machine,
                             RecordTable* profileTables[2]) {
  Evaluation_StoreResults(Evaluation_RecordKey(group, folder), players, machine, profileTables);
}
