// The whole game on a library as packs from other systems leave it: a group and
// song named in Latin-1 and Shift-JIS bytes, a chart and lyrics with other line
// ends and a byte-order mark, names in other case, music cut short, and a song
// folder that went away after the index.
#include "library/records.h"
#include "platform/files.h"
#include "support/game_script.h"
#include "support/test_support.h"
#include <gtest/gtest.h>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <string>

namespace fs = std::filesystem;

namespace {
// Start down the modifier rows to EXIT, spread wide: a slow machine takes long
// to draw the screen's first frame, and presses before it are not read.
void leaveModifiersSlowly(Script& s) {
  s.at("ModifierSelect()...");
  for (int i = 0; i < 10; i++) s.tap(1000 + 400 * i, kStart1);
}

std::string lineEnds(const std::string& text, const char* eol) {
  std::string out;
  for (char c : text) out += c == '\n' ? std::string(eol) : std::string(1, c);
  return out;
}
}  // namespace

TEST(SongPacksGame, AGoneFolderIsPassedOverAndAForeignPackPlays) {
  TempDir dir;
  GameSettings settings;
  settings.autoPlay = true;
  settings.maxStage = 1;
  GameLibrary lib;
  ASSERT_EQ(WriteGameLibrary(lib).size(), 3u);
  ASSERT_TRUE(WriteGameSettings(settings));

  // Song 2 as a pack from elsewhere: the group and song folders in other
  // encodings, the names in capitals, the chart in CR LF with a byte-order mark,
  // the lyrics in lone CRs, and the music cut mid-sample
  const std::string group = "Songs/Gr\xFC\x83\x5E\x83\x8B", song = group + "/Caf\xE9 2";
  fs::rename("Songs/Group 1", group);
  fs::rename(group + "/Song 2", song);
  std::string chart = ReadFile(song + "/song.rkv");
  fs::remove(song + "/song.rkv");
  WriteFile(song + "/SONG.RKV", "\xEF\xBB\xBF" + lineEnds(chart, "\r\n"));
  WriteFile(song + "/SONG.lrc", "\xEF\xBB\xBF[00:01.00]Caf\xE9|line\r[00:02.00]second\r");
  std::string music = ReadFile(song + "/song.wav");
  fs::remove(song + "/song.wav");
  WriteFile(song + "/Song.WAV", music.substr(0, music.size() * 3 / 4 + 1));
  ASSERT_EQ(IndexGameLibrary(), 3);
  SongRecord old = Records_New("Old\\Song", 1000);   // not a first run
  int32_t n = 1;
  WriteFile("rkv2.rec", std::string((const char*)&n, 4) + std::string((const char*)&old, sizeof old));
  // and Song 1 goes away after the index
  fs::remove_all(group + "/Song 1");

  Script s;
  s.at("Loading 'rkv2-title.png'");
  s.tap(400, kStart1);
  s.at("Loading 'rkv2-style.png'");
  s.tap(500, kStart1);
  s.at("Starting Song Select");      // on Song 1, whose folder is gone
  s.tap(1400, kStart1);
  leaveModifiersSlowly(s);
  s.at("Can't open the chart file");
  s.at("Starting Song Select");      // back on the wheel, the same stage
  s.tap(600, kRight1);
  s.tap(1400, kStart1);
  leaveModifiersSlowly(s);
  s.at("Starting main game...");
  s.evaluation();
  s.credits();
  GameRun r = RunGame(s);
  ASSERT_EQ(r.status, 0) << r.tail();

  EXPECT_NE(r.log.find("Preview: music '" + group + "/Song 1/song.wav' not found"), std::string::npos) << r.tail();
  std::string lyrics = "Reading lyrics file '" + song + "/SONG.lrc'...";
  EXPECT_TRUE(InOrder(r.log, {"Can't open the chart file", "Starting Song Select", lyrics.c_str(),
                              "Starting main game...", "Starting evaluation screen..."}))
      << r.tail();
  std::vector<std::string> res = SplitLines(r.results);
  ASSERT_EQ(res.size(), 1u) << r.results;
  EXPECT_EQ(Field(res[0], "chart"), song + "/SONG.RKV");
  EXPECT_EQ(Field(res[0], "difficulty"), "BASIC");
  // every step judged, though the music ends early (how well depends on the machine's pace)
  int judged = 0;
  for (const char* k : {"perfect", "great", "good", "boo", "miss"}) judged += std::atoi(Field(res[0], k).c_str());
  EXPECT_EQ(judged, 4) << res[0];

  RecordTable rec;
  ASSERT_TRUE(loadRecords(rec));
  EXPECT_NE(RecordOf(rec, "Gr\xFC\x83\x5E\x83\x8B\\Caf\xE9 2"), nullptr);
}
