#include "menus/evaluation_records.h"
#include "library/record_notes.h"
#include "library/profiles.h"
#include "library/song_list.h"
#include "platform/log.h"
#include <algorithm>
#include <cmath>
#include <cstdio>
#include <ctime>
#include <string>

namespace {
// The record of `key`, made when the table has none (a song added since the
// records were loaded); the song table is pointed at it.
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
  return r;
}

Profile* profileOf(const EvalOutcome& o) {
  return o.profileSlot >= 1 && o.profileSlot <= g_profileCount ? &g_profiles[o.profileSlot - 1] : nullptr;
}

void save(RecordTable& t) {
  if (!saveRecords(t)) WriteLogf("Unable to save the records to '%s'; the old file stays\n", Records_Path(t).c_str());
}
}  // namespace

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
  r.difficultyKey = (uint8_t)o.difficulty;
  r.bestScore = o.score;
  r.bestA = Evaluation_PercentTenths(o.percent);
  r.bestGrade = (uint8_t)o.grade;
  r.bestB = 0;
  r.bestC = 1;
  return r;
}

int Evaluation_RecordState(double score, double machineBest, bool withProfile, double profileBest) {
  if (score > machineBest) return RECORD_NEW;
  if (withProfile && score > profileBest) return RECORD_PERSONAL;
  return RECORD_NONE;
}

void Evaluation_AddStats(ProfileStats& s, const EvalOutcome& o) {
  s.songs++;
  s.bestCombo = std::max(s.bestCombo, (int32_t)o.maxCombo);
  s.steps += o.steps;
  s.perfects += o.perfects;
  s.bestScore = std::max(s.bestScore, o.score);
}

void Evaluation_StoreRecords(const char* group, const char* folder, EvalOutcome players[2], RecordTable& machine,
                             RecordTable* profileTables[2]) {
  std::string key = Evaluation_RecordKey(group, folder);
  int order[2] = {0, 1};
  if (players[1].score > players[0].score) std::swap(order[0], order[1]);

  int counterGroup = -1;
  for (int k = 0; k < 2; k++) {
    int i = order[k];
    EvalOutcome& o = players[i];
    if (!o.active) continue;
    WriteLogf("Storing the results of player %d...\n", o.number);
    if (counterGroup < 0) counterGroup = o.counterGroup;
    Result r = Evaluation_Result(o);
    Profile* profile = profileOf(o);
    RecordTable* own = profileTables[i];

    int m = recordOf(machine, key, i, true);
    double machineBest = findResult(machine, m, o.styleKey, o.difficulty).bestScore;
    int p = own ? recordOf(*own, key, i, false) : -1;
    double ownBest = own ? findResult(*own, p, o.styleKey, o.difficulty).bestScore : 0;
    o.recordState = Evaluation_RecordState(o.score, machineBest, own != nullptr, ownBest);

    storeResult(machine, m, o.styleKey, o.difficulty, false, r);
    if (o.recordState == RECORD_NEW) setHolder(machine, m, o.styleKey, o.difficulty, profile ? profile->name : "");
    if (own) storeResult(*own, p, o.styleKey, o.difficulty, false, r);
    // the combo and the date the records file has no room for
    int64_t now = (int64_t)time(nullptr);
    storeNote(machine, key.c_str(), o.styleKey, o.difficulty, o.maxCombo, o.score > machineBest, now);
    if (own) storeNote(*own, key.c_str(), o.styleKey, o.difficulty, o.maxCombo, o.score > ownBest, now);
    if (profile) Evaluation_AddStats(profile->stats[o.statsGroup], o);
  }
  if (counterGroup >= 0 && counterGroup < 3) {
    int m = findRecord(machine, key.c_str());
    if (m >= 0) machine.records[m].counters[counterGroup] += kPlayCounterStep;
  }
  if (counterGroup < 0) return;   // nobody played
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
