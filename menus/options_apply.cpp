#include "menus/options_apply.h"
#include "library/records.h"
#include "library/replay_store.h"
#include "library/song_list.h"
#include "library/tarvolen_ini.h"
#include "media/audio/audio.h"
#include "menus/collection.h"
#include "menus/options_pages.h"
#include "platform/log.h"
#include <cstring>

namespace {
// A binding as the player set it, without the state of the keys in play.
bool sameBinding(const InputBinding& a, const InputBinding& b) {
  return a.key1 == b.key1 && a.key2 == b.key2 && a.joystick == b.joystick && a.button == b.button;
}

// The parts of the record that belong to the run, not to the menu.
void keepRunState(Settings& s) {
  s.folderIndex = g_settings.folderIndex;
  s.currentSort = g_settings.currentSort;
  s.assistTick = g_settings.assistTick;
  memcpy(s.profileFlags, g_settings.profileFlags, sizeof s.profileFlags);
}
}  // namespace

void Options_Begin(OptionsEdit& e) {
  e.settings = g_settings;
  g_optionsReplayKeep = ReplayStore_Keep();
  memcpy(e.bindings, g_bindings, sizeof e.bindings);
  e.sortByChanged = false;
  e.message = nullptr;
  e.messageAt = 0;
}

namespace {
// "Replays Kept" lives in tarvolen.ini; a smaller number takes effect at once.
bool applyReplayKeep() {
  int keep = g_optionsReplayKeep;
  if (keep == ReplayStore_Keep()) return true;
  if (!TarvolenIni_SetInt(kReplayKeepKey, keep) || !TarvolenIni_Save()) {
    WriteLogf("Replays Kept %d could not be written to '%s'\n", keep, kTarvolenIniFile);
    return false;
  }
  WriteLogf("Replays Kept: %d\n", keep);
  ReplayStore_Prune(keep);
  return true;
}
}  // namespace

bool Options_Apply(OptionsEdit& e) {
  bool replaysOk = applyReplayKeep();
  Settings next = e.settings;
  keepRunState(next);
  bool changed = memcmp(&next, &g_settings, sizeof next) != 0;
  for (int i = 0; i < kBindingCount; i++) {
    if (sameBinding(e.bindings[i], g_bindings[i])) continue;
    changed = true;
    g_bindings[i].key1 = e.bindings[i].key1;
    g_bindings[i].key2 = e.bindings[i].key2;
    g_bindings[i].joystick = e.bindings[i].joystick;
    g_bindings[i].button = e.bindings[i].button;
  }
  bool sortBy = e.sortByChanged || next.sortBy != g_settings.sortBy;
  g_settings = next;
  Audio_SetVolume(g_settings.volume);
  if (sortBy) {
    g_storedSortBy = g_settings.sortBy;
    WriteLogf("Sort By %s: rebuilding the song collection\n", g_settings.sortBy ? "FOLDER" : "GENRE");
    BuildCollection(0, nullptr, 0, 1, 0);
  }
  e.sortByChanged = false;
  if (!changed) return replaysOk;
  WriteLog("Saving settings...\n");
  return saveSettings() && replaysOk;
}

void Options_ResetPlayersBest() {
  int reset = 0;
  // found by key: the songs' record references are only as fresh as the last build
  for (const SongEntry& s : g_songs) {
    auto it = g_records.index.find(SongList_RecordKey(s));
    if (it == g_records.index.end() || it->second < 0 || it->second >= (int)g_records.records.size()) continue;
    memset(g_records.records[it->second].counters, 0, sizeof g_records.records[it->second].counters);
    reset++;
  }
  if (writeRecords(g_records))
    WriteLogf("Player's Best Reset: the play counts of %d songs cleared\n", reset);
  else
    WriteLogf("Player's Best Reset: the play counts of %d songs cleared, but the records file could not be written\n",
              reset);
}
