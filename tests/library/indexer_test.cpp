#include "library/indexer.h"
#include "platform/log.h"
#include "library/records.h"
#include "library/song_db.h"
#include "library/song_list.h"
#include "platform/files.h"
#include "support/test_support.h"
#include <gtest/gtest.h>
#include <cstring>
#include <ctime>
#include <sys/stat.h>
#include <thread>
#include <utime.h>

namespace {
std::string chart(const char* title, const char* extra = "") {
  return std::string("#TITLE:") + title + ";\n#ARTIST:Tester;\n#BPM:120;\n#GAP:0;\n" + extra +
         "#SINGLE:BASIC:2:\n2222 2222;\n#DOUBLE:ANOTHER:5:\n2222:8888;\n";
}

// A minimal PNG header of the given size (enough for the indexer to measure it).
std::string pngOf(int w, int h) {
  std::string s("\x89PNG\r\n\x1a\n\0\0\0\rIHDR", 16);
  for (int v : {w, h})
    for (int sh = 24; sh >= 0; sh -= 8) s += (char)((v >> sh) & 0xff);
  return s + std::string(40, '\0');
}

void makeSong(const std::string& group, const std::string& folder, const char* title, const char* extra = "") {
  std::string dir = "Songs/" + group + "/" + folder;
  Dir_Create(dir);
  WriteFile(dir + "/steps.rkv", chart(title, extra));
  WriteFile(dir + "/music.ogg", "not really music");
  WriteFile(dir + "/banner.png", pngOf(256, 80));
  WriteFile(dir + "/bg.png", pngOf(640, 480));
}

IndexProgress index() {
  IndexProgress p;
  std::timed_mutex m;
  indexSongs("Songs", "rkv2.sng", &p, &m);
  return p;
}

void ageFiles(const std::string& dir, int seconds) {
  // make everything in the folder look older than the database
  struct utimbuf t;
  t.actime = t.modtime = time(nullptr) - seconds;
  for (const char* f : {"steps.rkv", "music.ogg", "banner.png", "bg.png"}) utime((dir + "/" + f).c_str(), &t);
}
}

TEST(Indexer, ColdIndexAddsEverySongAndFillsTheEntry) {
  TempDir dir;
  makeSong("Pack A", "First", "Zulu", "#GENRE:Pop, Rock;\n#SAMPLESTART:+2.0;\n");
  makeSong("Pack A", "Second", "alpha");
  makeSong("Pack B", "Third", "Mike");
  Dir_Create("Songs/Pack B/Empty");
  IndexProgress p = index();
  EXPECT_EQ(p.state, -1);
  EXPECT_EQ(p.added, 3);
  EXPECT_EQ(p.deleted, 0);
  EXPECT_DOUBLE_EQ(p.progress, 1.0);

  SongDatabase db;
  ASSERT_EQ(SongDb_Read("rkv2.sng", db), 1);
  ASSERT_EQ(db.slots.size(), 3u);
  EXPECT_EQ(db.liveCount, 3);
  const SongEntry& e = db.slots[0];
  EXPECT_STREQ(e.group, "Pack A");
  EXPECT_STREQ(e.folder, "First");
  EXPECT_STREQ(e.genres, "|Pop||Rock|");
  EXPECT_STREQ(e.title, "Zulu");
  EXPECT_STREQ(e.chartFile, "steps.rkv");
  EXPECT_STREQ(e.musicFile, "Songs/Pack A/First/music.ogg");
  EXPECT_STREQ(e.banner, "banner.png");
  EXPECT_TRUE(e.hasBanner && e.wideBanner);
  EXPECT_STREQ(e.background, "bg.png");
  EXPECT_EQ(e.sampleStart, 2000);
  EXPECT_EQ(e.sampleLength, 13000);
  EXPECT_EQ(e.levels[0], 2);
  EXPECT_EQ(e.levels[5], 5);
  EXPECT_EQ(e.bpmMin, 120);
  EXPECT_EQ(e.songLength, 1000);  // 8 eighth notes at 120 BPM
  EXPECT_GT(e.figures[0].stream, 0);
  EXPECT_STREQ(db.slots[1].genres, "|Pack A|");

  // the four index tables follow the slots
  std::string f = ReadFile("rkv2.sng");
  ASSERT_EQ(f.size(), 12 + 3 * sizeof(SongEntry) + 4 * 3 * 4);
  const int32_t* t = (const int32_t*)(f.data() + 12 + 3 * sizeof(SongEntry));
  EXPECT_EQ(t[0], 1);  // by title: alpha, Mike, Zulu
  EXPECT_EQ(t[1], 2);
  EXPECT_EQ(t[2], 0);
}

TEST(Indexer, WarmRunChangesNothingAndKeepsTheFile) {
  TempDir dir;
  makeSong("G", "One", "One");
  makeSong("G", "Two", "Two");
  ageFiles("Songs/G/One", 100);
  ageFiles("Songs/G/Two", 100);
  // a file changed in the clock tick the walk begins in is looked at again: let
  // the ageing above fall before it
  std::this_thread::sleep_for(std::chrono::milliseconds(30));
  index();
  std::string before = ReadFile("rkv2.sng");
  LogOpen(1);
  IndexProgress p = index();
  LogOff();
  EXPECT_EQ(p.added + p.updated + p.deleted, 0);
  EXPECT_EQ(ReadFile("rkv2.sng"), before);
  // unchanged songs are neither parsed nor analysed again
  std::string log = ReadFile("rkv2.log");
  EXPECT_EQ(log.find("parseFile("), std::string::npos) << log;
  EXPECT_EQ(log.find("Analysing steps"), std::string::npos);
  EXPECT_NE(log.find("processSongFldr('Songs/G/Two')"), std::string::npos);
}

TEST(Indexer, RenamedFolderIsDeletedAndAddedAndMissingMusicDropsTheSong) {
  TempDir dir;
  makeSong("G", "One", "One");
  makeSong("G", "Two", "Two");
  index();
  rename("Songs/G/One", "Songs/G/Uno");
  remove("Songs/G/Two/music.ogg");
  IndexProgress p = index();
  EXPECT_EQ(p.added, 1);
  EXPECT_EQ(p.deleted, 2);
  SongDatabase db;
  ASSERT_EQ(SongDb_Read("rkv2.sng", db), 1);
  EXPECT_EQ(db.liveCount, 1);
  EXPECT_EQ(db.slots.size(), 3u);  // deleted slots stay until a rebuild
  EXPECT_EQ(db.slots[0].deleted, 1);
}

TEST(Indexer, TouchedChartIsParsedAgainAndUpdated) {
  TempDir dir;
  makeSong("G", "One", "Old Title");
  ageFiles("Songs/G/One", 100);
  index();
  WriteFile("Songs/G/One/steps.rkv", chart("New Title"));
  // file times tick coarsely: make sure the edit is later than the database
  struct utimbuf later;
  later.actime = later.modtime = time(nullptr) + 2;
  utime("Songs/G/One/steps.rkv", &later);
  IndexProgress p = index();
  EXPECT_EQ(p.updated, 1);
  SongDatabase db;
  SongDb_Read("rkv2.sng", db);
  EXPECT_STREQ(db.slots[0].title, "New Title");
}

TEST(Indexer, SlackRuleRebuildsOrUpdatesInPlace) {
  TempDir dir;
  SongDatabase db;
  db.slots.resize(100);
  for (int i = 0; i < 100; i++) {
    snprintf(db.slots[i].group, 256, "G");
    snprintf(db.slots[i].folder, 256, "S%03d", i);
    db.slots[i].deleted = i < 11;
  }
  db.liveCount = 89;
  ASSERT_TRUE(SongDb_Write("rkv2.sng", db));
  Dir_Create("Songs");
  index();  // 11 % slack: rebuilt, and no folders exist
  SongDatabase after;
  SongDb_Read("rkv2.sng", after);
  EXPECT_EQ(after.slots.size(), 0u);

  for (int i = 0; i < 100; i++) db.slots[i].deleted = i < 9;
  db.liveCount = 91;
  SongDb_Write("rkv2.sng", db);
  IndexProgress p = index();  // 9 %: updated in place, every missing folder deleted
  EXPECT_EQ(p.deleted, 91);
  SongDb_Read("rkv2.sng", after);
  EXPECT_EQ(after.slots.size(), 100u);
  EXPECT_EQ(after.liveCount, 0);
}

TEST(Indexer, DamagedOrForeignDatabase) {
  TempDir dir;
  makeSong("G", "One", "One");
  WriteFile("rkv2.sng", std::string("\x0f\0\0\0", 4) + std::string(8, '\0'));
  EXPECT_EQ(index().added, 1);  // outdated: created anew
  // a header that claims more slots than the file holds
  std::string f = ReadFile("rkv2.sng");
  int32_t lie = 5000;
  memcpy(&f[8], &lie, 4);
  WriteFile("rkv2.sng", f);
  SongDatabase db;
  EXPECT_EQ(SongDb_Read("rkv2.sng", db), 1);
  EXPECT_EQ(db.slots.size(), 1u);
  EXPECT_EQ(SongDb_Read("missing.sng", db), 0);
}

TEST(SongList, FirstRunMarksNothingNewAndCreatesRecords) {
  TempDir dir;
  makeSong("G", "One", "beta");
  makeSong("G", "Two", "Alpha");
  index();
  freeRecords(g_records);
  ASSERT_EQ(loadSongList(), 1);
  ASSERT_EQ(g_songs.size(), 2u);
  EXPECT_STREQ(g_songs[0].title, "Alpha");
  EXPECT_EQ(g_songs[0].newState, 0);
  EXPECT_EQ(g_songs[1].newState, 0);
  EXPECT_EQ(g_newSongCount, 0);
  ASSERT_EQ(g_records.records.size(), 2u);
  EXPECT_LE(g_records.records[0].firstSeen, time(nullptr) - 2419200 + 5);
  EXPECT_GE(g_songs[0].record, 0);
  EXPECT_TRUE(File_Exists("rkv2.rec"));
  EXPECT_EQ(g_groupList.size(), 1u);
  freeRecords(g_records);
}

TEST(SongList, NewMarksByAgeAndStatus) {
  TempDir dir;
  makeSong("G", "A13", "a13");
  makeSong("G", "A14", "a14");
  makeSong("G", "Forced", "forced", "STATUS:NEW\n");
  makeSong("G", "Normal", "normal", "STATUS:NORMAL\n");
  makeSong("G", "Unseen", "unseen");
  index();
  int32_t now = (int32_t)time(nullptr);
  freeRecords(g_records);
  SongRecord rs[4] = {Records_New("G\\A13", now - 13 * 86400), Records_New("G\\A14", now - 14 * 86400),
                      Records_New("G\\Forced", now - 100 * 86400), Records_New("G\\Normal", now)};
  addRecords(g_records, rs, 4);
  ASSERT_EQ(loadSongList(), 1);
  auto state = [](const char* title) {
    for (auto& e : g_songs)
      if (strcmp(e.title, title) == 0) return (int)e.newState;
    return -1;
  };
  EXPECT_EQ(state("a13"), 1);
  EXPECT_EQ(state("a14"), 0);
  EXPECT_EQ(state("forced"), 1);
  EXPECT_EQ(state("normal"), 0);
  EXPECT_EQ(state("unseen"), 1);  // not a first run: a song without a record is new
  EXPECT_EQ(g_newSongCount, 1);
  EXPECT_EQ(g_records.records.size(), 5u);
  freeRecords(g_records);
}

TEST(SongList, EqualTitlesKeepDatabaseOrderAndGenreList) {
  TempDir dir;
  makeSong("G", "S1", "abc", "#GENRE:Pop,Rock;\n");
  makeSong("G", "S2", "ABC", "#GENRE:rock;\n");
  index();
  freeRecords(g_records);
  ASSERT_EQ(loadSongList(), 1);
  EXPECT_STREQ(g_songs[0].folder, "S1");
  EXPECT_STREQ(g_songs[1].folder, "S2");
  ASSERT_EQ(g_genreList.size(), 2u);
  EXPECT_EQ(g_genreList[0], "Pop");
  EXPECT_EQ(g_genreList[1], "Rock");
  freeRecords(g_records);
  WriteFile("rkv2.sng", "\x10");
  EXPECT_EQ(loadSongList(), 0);
}

TEST(SongList, TestModeReaderTakesTheNamedChart) {
  TempDir dir;
  makeSong("Pack", "Song", "Solo Song", "#SAMPLESTART:+1.0;\n#CHANGEBPM:8=200;\n");
  ASSERT_EQ(readSongFolder("songs/pack/song/STEPS.RKV"), 1);
  ASSERT_EQ(g_songs.size(), 1u);
  EXPECT_STREQ(g_songs[0].title, "Solo Song");
  EXPECT_STREQ(g_songs[0].group, "Pack");
  EXPECT_EQ(g_songs[0].sampleStart, 1000);
  EXPECT_EQ(g_songs[0].sampleLength, 15000);
  EXPECT_EQ(g_songs[0].bpmMax, 200);
  EXPECT_STREQ(g_songs[0].musicFile, "Songs/Pack/Song/music.ogg");
  EXPECT_EQ(readSongFolder("Songs/none/x.rkv"), 0);
}

TEST(Indexer, TouchedMusicKeepsAnUnchangedRecordAsItIs) {
  TempDir dir;
  makeSong("G", "One", "Same");
  ageFiles("Songs/G/One", 100);
  index();
  std::string before = ReadFile("rkv2.sng");
  struct utimbuf later;
  later.actime = later.modtime = time(nullptr) + 2;
  utime("Songs/G/One/music.ogg", &later);  // the folder is newer than the database now
  IndexProgress p = index();
  EXPECT_EQ(p.updated, 0);
  EXPECT_EQ(p.added + p.deleted, 0);
  EXPECT_EQ(ReadFile("rkv2.sng"), before);  // nothing written
}

TEST(Indexer, LongNamesAreCutToTheirFields) {
  TempDir dir;
  std::string longName(250, 'n');  // as long as a file name can be here
  Dir_Create("Songs/G/" + longName);
  WriteFile("Songs/G/" + longName + "/steps.rkv", chart(std::string(600, 't').c_str()));
  WriteFile("Songs/G/" + longName + "/music.ogg", "x");
  IndexProgress p = index();
  EXPECT_EQ(p.added, 1);
  SongDatabase db;
  ASSERT_EQ(SongDb_Read("rkv2.sng", db), 1);
  ASSERT_EQ(db.slots.size(), 1u);
  EXPECT_EQ(strlen(db.slots[0].folder), 250u);
  EXPECT_EQ(strlen(db.slots[0].title), 255u);  // a 600-character title is cut to its field
  // the music path "Songs/G/<250 characters>/music.ogg" fits its 512-byte field
  EXPECT_EQ(std::string(db.slots[0].musicFile), "Songs/G/" + longName + "/music.ogg");
}

// A record keeps 255 bytes of its key: a song whose group and folder names are
// longer together finds the record made for it at the next start (before, it got
// a new record at every start and its results were never found again).
TEST(SongList, LongFolderNamesFindTheirRecordAtEveryStart) {
  TempDir dir;
  SongDatabase db;
  SongEntry e{};
  std::string group(200, 'G'), folder(200, 'F');
  SetField(e.group, group.c_str());
  SetField(e.folder, folder.c_str());
  SetField(e.title, "Long");
  db.slots.push_back(e);
  ASSERT_TRUE(SongDb_Write("rkv2.sng", db));
  freeRecords(g_records);
  ASSERT_EQ(loadSongList(), 1);
  ASSERT_EQ(g_records.records.size(), 1u);
  EXPECT_EQ(g_songs[0].record, 0);
  ASSERT_TRUE(loadRecords(g_records));
  ASSERT_EQ(loadSongList(), 1);
  EXPECT_EQ(g_records.records.size(), 1u);   // no second record
  EXPECT_EQ(g_songs[0].record, 0);
  EXPECT_EQ(findRecord(g_records, (group + "\\" + folder).c_str()), 0);
  freeRecords(g_records);
}
