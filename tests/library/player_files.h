#pragma once
// Every file the game keeps for its players, written by the game's own savers at a
// numbered version whose content follows from the number alone, and checked back
// through the game's own loaders. The kill and full-disk tests share it.
#include "library/profiles.h"
#include "library/record_notes.h"
#include "library/records.h"
#include "library/settings.h"
#include "library/song_db.h"
#include "library/tarvolen_ini.h"
#include "media/input_binding.h"
#include "platform/files.h"
#include "support/test_support.h"
#include <gtest/gtest.h>
#include <cstring>
#include <filesystem>
#include <string>
#include <vector>

namespace player_files {

enum Kind { kRecords, kNotes, kUserRecords, kUserNotes, kProfile, kCfg, kInp, kIni, kSongDb, kKinds };
inline const char* const kPaths[kKinds] = {
    "rkv2.rec",   "tarvolen-records.txt", "Profiles/P1/rkv2-user.rec", "Profiles/P1/tarvolen-user.txt",
    "Profiles/P1/profile.dat", "rkv2.cfg", "rkv2.inp", "tarvolen.ini", "rkv2.sng"};

// One save call of the game and the files it writes.
enum Step { kSaveRecords, kSaveUserRecords, kSaveProfile, kSaveSettings, kSaveSongDb, kSteps };
inline const std::vector<Kind> kStepKinds[kSteps] = {
    {kRecords, kNotes}, {kUserRecords, kUserNotes}, {kProfile}, {kCfg, kInp, kIni}, {kSongDb}};

// Sizes large enough that a save takes a while (so kills land inside writes).
constexpr int kMachineRecords = 1500, kUserRecordCount = 300, kSongSlots = 300, kIniPads = 80;

inline RecordTable records(const char* profile, int count, int v) {
  RecordTable t;
  t.profile = profile;
  for (int i = 0; i < count; i++) {
    std::string key = "Pack " + std::to_string(i % 17) + "\\Song " + std::to_string(i);
    t.records.push_back(Records_New(key.c_str(), 1000 + i));
    Result r{};
    r.styleKey = 4;
    r.difficultyKey = (uint8_t)(i % 4);
    r.bestGrade = (uint8_t)(1 + i % 7);
    r.bestScore = i == 0 ? v : 1000.0 * i + v % 7;
    r.bestA = i;
    t.results.push_back({r, r});
    t.results.back()[1].styleKey = 8;
    t.records.back().resultCount = 2;
    t.records.back().counters[0] = v;
    t.records.back().used = 0;
  }
  for (int i = 0; i < 12; i++) {
    ResultNote n;
    n.bestCombo = v + i;
    n.bestScoreAt = 1700000000LL + v;
    t.notes["Pack 0\\Song " + std::to_string(i) + "\t4\t" + std::to_string(i % 4)] = n;
  }
  return t;
}

inline Profile profile(int v) {
  Profile p{};
  snprintf(p.name, sizeof p.name, "P1");
  for (int g = 0; g < kProfileStyleGroups; g++) {
    p.stats[g].songs = v + g;
    p.stats[g].steps = v * 3.0 + g;
    p.stats[g].bestScore = v * 11.0;
  }
  p.modifiers[0] = (uint8_t)v;
  return p;
}

inline void setSettings(int v) {
  Settings_Defaults(g_settings);
  g_settings.folderIndex = v;
  Bindings_Defaults();
  g_bindings[0].key2 = v;
}

inline void setIni(int v) {
  TarvolenIni_LoadText("", kTarvolenIniFile);
  TarvolenIni_SetInt("kill.version", v);
  for (int i = 0; i < kIniPads; i++) TarvolenIni_SetString(("pad." + std::to_string(i)).c_str(), std::to_string(v * 1000 + i));
}

inline SongDatabase songDb(int v) {
  SongDatabase db;
  db.slots.resize(kSongSlots);
  for (int i = 0; i < kSongSlots; i++) {
    SongEntry& e = db.slots[i];
    memset(&e, 0, sizeof e);
    snprintf(e.group, sizeof e.group, "Pack %d", i % 9);
    snprintf(e.folder, sizeof e.folder, "Song %d", i);
    snprintf(e.title, sizeof e.title, "Title %d of %d", (i * 37) % kSongSlots, v);
    snprintf(e.artist, sizeof e.artist, "Artist %d", i % 5);
    e.sampleStart = i == 0 ? v : i;
  }
  db.liveCount = kSongSlots;
  return db;
}

// Runs one save of version `v` as the game does; true when the game said it saved.
inline bool save(Step s, int v) {
  switch (s) {
    case kSaveRecords: {
      g_records = records("", kMachineRecords, v);
      return writeRecords(g_records);
    }
    case kSaveUserRecords: return writeRecords(records("P1", kUserRecordCount, v));
    case kSaveProfile: {
      if (Profile_Find("P1") < 0) listProfiles();
      int i = Profile_Find("P1");
      if (i < 0) return false;
      g_profiles[i] = profile(v);
      return saveProfile("P1");
    }
    case kSaveSettings:
      setSettings(v);
      setIni(v);
      return saveSettings();
    case kSaveSongDb: return SongDb_Write(kPaths[kSongDb], songDb(v));
    default: return false;
  }
}

inline std::string bytes(const void* p, size_t n) { return std::string((const char*)p, n); }

// The version the file holds, read with the game's loader, after checking that it
// loads and is exactly what that version wrote; 0 when missing, -1 when it is not
// one of the versions (a torn or foreign file), with the reason in `why`.
inline int versionOf(Kind k, std::string& why) {
  const char* path = kPaths[k];
  if (!File_Exists(path)) return 0;
  std::string raw = ReadFile(path);
  auto bad = [&](const std::string& reason) {
    why = std::string(path) + ": " + reason + " (" + std::to_string(raw.size()) + " bytes)";
    return -1;
  };
  switch (k) {
    case kRecords:
    case kUserRecords: {
      RecordTable t;
      t.profile = k == kRecords ? "" : "P1";
      int count = k == kRecords ? kMachineRecords : kUserRecordCount;
      if (!loadRecords(t)) return bad("does not load");
      if ((int)t.records.size() != count || t.results[0].empty()) return bad("wrong record count");
      int v = (int)t.results[0][0].bestScore;
      std::vector<uint8_t> want = Records_Serialize(records(t.profile.c_str(), count, v));
      if (raw != bytes(want.data(), want.size())) return bad("differs from version " + std::to_string(v));
      return v;
    }
    case kNotes:
    case kUserNotes: {
      RecordTable t;
      t.profile = k == kNotes ? "" : "P1";
      if (!Notes_Load(t)) return bad("does not load");
      auto it = t.notes.find("Pack 0\\Song 0\t4\t0");
      if (it == t.notes.end()) return bad("no first note");
      int v = it->second.bestCombo;
      RecordTable want = records("", 1, v);
      if (t.notes.size() != want.notes.size()) return bad("wrong note count");
      for (auto& [key, n] : want.notes) {
        auto f = t.notes.find(key);
        if (f == t.notes.end() || f->second.bestCombo != n.bestCombo || f->second.bestScoreAt != n.bestScoreAt)
          return bad("differs from version " + std::to_string(v));
      }
      return v;
    }
    case kProfile: {
      listProfiles();
      int i = Profile_Find("P1");
      if (i < 0 || g_profiles[i].isNew) return bad("does not load");
      int v = g_profiles[i].stats[0].songs;
      Profile want = profile(v);
      if (raw != bytes(&want, sizeof want)) return bad("differs from version " + std::to_string(v));
      return v;
    }
    case kCfg:
    case kInp: {
      loadSettings(0);
      int v = k == kCfg ? g_settings.folderIndex : g_bindings[0].key2;
      setSettings(v);
      std::string want = k == kCfg ? bytes(&g_settings, sizeof g_settings) : bytes(g_bindings, sizeof g_bindings);
      if (raw != want) return bad("differs from version " + std::to_string(v));
      return v;
    }
    case kIni: {
      if (!TarvolenIni_Load(path)) return bad("does not load");
      int v = TarvolenIni_GetInt("kill.version", -1, 0, 1 << 30);
      if (v < 0) return bad("no version");
      setIni(v);
      if (raw != TarvolenIni_Text()) return bad("differs from version " + std::to_string(v));
      return v;
    }
    case kSongDb: {
      SongDatabase db;
      if (SongDb_Read(path, db) != 1) return bad("does not load");
      if ((int)db.slots.size() != kSongSlots) return bad("wrong slot count");
      int v = db.slots[0].sampleStart;
      SongDatabase want = songDb(v);
      std::vector<int32_t> tables[4];
      SongDb_BuildIndexes(want, tables);
      size_t tablesAt = sizeof(SongDbHeader) + want.slots.size() * sizeof(SongEntry);
      if (raw.size() != tablesAt + 4 * kSongSlots * sizeof(int32_t) ||
          memcmp(raw.data() + sizeof(SongDbHeader), want.slots.data(), want.slots.size() * sizeof(SongEntry)) != 0)
        return bad("slots differ from version " + std::to_string(v));
      for (int t = 0; t < 4; t++)
        if (memcmp(raw.data() + tablesAt + t * kSongSlots * sizeof(int32_t), tables[t].data(),
                   kSongSlots * sizeof(int32_t)) != 0)
          return bad("index tables differ from version " + std::to_string(v));
      return v;
    }
    default: return bad("unknown");
  }
}

// The leftover temporaries in the game folder and the profile's, by name.
inline std::vector<std::string> temporaries() {
  std::vector<std::string> out;
  for (const char* dir : {".", "Profiles/P1"}) {
    std::error_code ec;
    for (std::filesystem::directory_iterator it(dir, ec), end; !ec && it != end; it.increment(ec)) {
      std::string name = it->path().filename().string();
      if (name.find(".tmp") != std::string::npos) out.push_back(it->path().string());
    }
  }
  return out;
}

}  // namespace player_files
