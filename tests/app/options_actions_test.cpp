// What the options menu asks of the shell, run in-process on the dummy window:
// "Reset Songlist" on a small library on disk (a song added since the last
// search, a course that names it, a folder that cannot take the new database),
// a second skin taking effect, and a second sound set.
#include "app/options_actions.h"
#include "app/title_menu.h"
#include "library/courses.h"
#include "library/records.h"
#include "library/song_db.h"
#include "library/song_list.h"
#include "media/audio/audio.h"
#include "media/skin/skin_config.h"
#include "media/sound/sound_fx.h"
#include "menus/available_modes.h"
#include "menus/collection.h"
#include "menus/test_screen.h"
#include "platform/files.h"
#include "platform/log.h"
#include "support/game_library.h"
#include "support/test_support.h"
#include <gtest/gtest.h>
#include <sndfile.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {
std::vector<std::string> g_lines;
void listen(const char* line) { g_lines.push_back(line); }

// The index of the first log line from `from` on that contains `text`, -1 none.
int lineOf(const char* text, int from = 0) {
  for (size_t i = (size_t)from; i < g_lines.size(); i++)
    if (g_lines[i].find(text) != std::string::npos) return (int)i;
  return -1;
}

class ShellActions : public ::testing::Test {
 protected:
  TempDir dir;
  void SetUp() override {
    setenv("SDL_AUDIODRIVER", "dummy", 1);
    Settings_Defaults(g_settings);
    g_records = RecordTable{};
    ASSERT_TRUE(TestScreen_Open());
    std::error_code ec;
    Dir_Create("Skins");
    std::filesystem::create_directory_symlink(TestScreen_GameFolder() + "/Skins/Default", "Skins/Default", ec);
    LoadImages("Default", false);
    ASSERT_TRUE(Font_Load("Skins/Default", "font-Main"));
    g_lines.clear();
    Log_SetListener(listen);
  }
  void TearDown() override {
    Log_SetListener(nullptr);
    TestScreen_Close();
    g_songs.clear();
    g_courses.clear();
    g_titleStatus = TitleStatus{};
  }
};

TEST_F(ShellActions, ResetSonglistFindsASongAddedSinceAndEverythingThatHangsOnIt) {
  GameLibrary lib;
  lib.groups = 2;
  ASSERT_FALSE(WriteGameLibrary(lib).empty());
  ASSERT_EQ(IndexGameLibrary(), 3);
  // a fourth song (in Group 2) and a course that plays it
  lib.songs = 4;
  ASSERT_EQ(WriteGameLibrary(lib).size(), 4u);
  WriteFile("Courses/Trial/new.crs", "#COURSE:The New One;\n#SONG:Group 2\\Song 4:BASIC;\n");
  // a stored record newer than its folder: a search that trusts the database keeps it
  SongDatabase stale;
  ASSERT_EQ(SongDb_Read("rkv2.sng", stale), 1);
  for (SongEntry& e : stale.slots) snprintf(e.title, sizeof e.title, "Stale");
  ASSERT_TRUE(SongDb_Write("rkv2.sng", stale));
  g_settings.folderIndex = 5;
  g_lines.clear();

  Options_ResetSonglist();

  ASSERT_EQ(g_songs.size(), 4u);
  SongDatabase db;
  ASSERT_EQ(SongDb_Read("rkv2.sng", db), 1);
  EXPECT_EQ(db.liveCount, 4);
  for (const SongEntry& e : g_songs) EXPECT_STRNE(e.title, "Stale") << "every folder read again";
  EXPECT_GE(g_settings.folderIndex, 0);
  EXPECT_LT(g_settings.folderIndex, g_collection.groupCount) << "the selected folder lies in the new collection";
  EXPECT_LT(Collection_SelectedSong(g_collection), (int)g_songs.size());
  ASSERT_EQ(g_courses.size(), 1u);
  ASSERT_EQ(g_courses[0].entryCount, 1);
  int song = g_courses[0].entries[0].song;
  ASSERT_GE(song, 0);
  EXPECT_STREQ(g_songs[(size_t)song].title, "Song 4");
  EXPECT_EQ(g_titleStatus.courseCount, 3) << "its song has a BASIC chart in SINGLE, DOUBLE and SOLO";
  EXPECT_TRUE(g_availableModes[MODE_SINGLE] && g_availableModes[MODE_DOUBLE] && g_availableModes[MODE_SOLO]);
  EXPECT_NE(ReadFile("rkv2-songlist.html").find("Song 4"), std::string::npos);
  EXPECT_TRUE(File_Exists("rkv2.cfg")) << "the settings are saved";

  // the steps in their order
  int at = 0;
  for (const char* step : {"Using DB 'rkv2.sng'", "Adding 'Songs/Group 2/Song 4'", "CreateSongImages()...\n",
                           "Checking Courses...\n", "Finding Available modes...\n",
                           "Determining Available courses...\n", "Generating 'rkv2-songlist.html'...\n"}) {
    at = lineOf(step, at);
    ASSERT_GE(at, 0) << step;
  }
}

// The new database cannot be written: the old one stays byte for byte, and the
// song table is what it held.
TEST_F(ShellActions, ResetSonglistInAFolderThatCannotTakeTheNewDatabaseKeepsTheOld) {
  GameLibrary lib;
  ASSERT_FALSE(WriteGameLibrary(lib).empty());
  ASSERT_EQ(IndexGameLibrary(), 3);
  std::string before = ReadFile("rkv2.sng");
  lib.songs = 4;
  ASSERT_EQ(WriteGameLibrary(lib).size(), 4u);

  bool root = geteuid() == 0;
  // root writes anywhere: a folder in the place of the new file's temporary name stops it
  if (root) Dir_Create("rkv2.sng.tmp" + std::to_string((long)getpid()));
  else chmod(".", 0555);
  Options_ResetSonglist();
  if (!root) chmod(".", 0755);

  EXPECT_EQ(ReadFile("rkv2.sng"), before);
  EXPECT_EQ(g_songs.size(), 3u);
  EXPECT_GE(lineOf("'rkv2.sng' is kept as it was"), 0);
  EXPECT_GE(lineOf("Generating 'rkv2-songlist.html'"), 0) << "the other steps still run";
}

constexpr uint32_t kViolet = 0xA020F0;

TEST_F(ShellActions, ReloadSkinTakesTheNewSkinsPicturesColoursAndFont) {
  WriteFile("Skins/Violet/rkv2-skin.cfg", "[CREDITS]\nAuthor=Violet Tests\n[COLOURS]\nRegPerfect=0x123456\n");
  WritePicture("Skins/Violet/rkv2-title.png", 640, 480, [](int, int) { return kViolet; });
  WritePicture("Skins/Violet/rkv2-combo.png", 576, 64, [](int, int) { return 0x00FF00u; });
  uint32_t defaultPerfect = g_skinConfig.regPerfect;

  snprintf(g_settings.skin, sizeof g_settings.skin, "Violet");
  Options_ReloadSkin();
  EXPECT_STREQ(Skin_Name(), "Violet");
  EXPECT_EQ(g_skinConfig.author, "Violet Tests");
  EXPECT_EQ(g_skinConfig.regPerfect, 0x123456u);
  Image title;
  LoadPNG("rkv2-title.png", title, 0, 0);
  ASSERT_TRUE(title.loaded);
  EXPECT_EQ(title.PixelAt(320, 240) & 0xFFFFFF, kViolet);
  ASSERT_TRUE(g_skin.comboDigits[0].loaded);
  EXPECT_EQ(g_skin.comboDigits[0].PixelAt(10, 10) & 0xFFFFFF, 0x00FF00u) << "the skin's own sheet";
  EXPECT_TRUE(g_skin.judge[0].loaded) << "a sheet the skin lacks comes from Default";
  EXPECT_EQ(g_arrowSet, 1);
  EXPECT_TRUE(g_font.loaded) << "no font in the skin: Default's";

  // and back: Default's title picture and colours again
  snprintf(g_settings.skin, sizeof g_settings.skin, "Default");
  Options_ReloadSkin();
  EXPECT_EQ(g_skinConfig.regPerfect, defaultPerfect);
  Image back;
  LoadPNG("rkv2-title.png", back, 0, 0);
  ASSERT_TRUE(back.loaded);
  EXPECT_NE(back.PixelAt(320, 240) & 0xFFFFFF, kViolet);
}

// A skin without a title picture, or with an empty file in its place, shows Default's.
TEST_F(ShellActions, ASkinWithoutATitlePictureShowsDefaults) {
  WriteFile("Skins/Plain/rkv2-skin.cfg", "[CREDITS]\nAuthor=Plain\n");
  WriteFile("Skins/Broken/rkv2-skin.cfg", "[CREDITS]\nAuthor=Broken\n");
  WriteFile("Skins/Broken/rkv2-title.png", "");
  Image fallback;
  LoadPNGFrom("Default", "rkv2-title.png", fallback, 0, 0);
  ASSERT_TRUE(fallback.loaded);
  for (const char* skin : {"Plain", "Broken"}) {
    Image own;
    LoadPNGFrom(skin, "rkv2-title.png", own, 0, 0);
    ASSERT_TRUE(own.loaded) << skin;
    EXPECT_EQ(own.pictureWidth, fallback.pictureWidth);
    EXPECT_EQ(own.PixelAt(100, 100), fallback.PixelAt(100, 100)) << skin;
  }
}

void writeWav(const std::string& path) {
  SF_INFO info{};
  info.samplerate = 22050;
  info.channels = 1;
  info.format = SF_FORMAT_WAV | SF_FORMAT_PCM_16;
  SNDFILE* f = sf_open(path.c_str(), SFM_WRITE, &info);
  std::vector<short> s(2205, 1000);
  sf_write_short(f, s.data(), (sf_count_t)s.size());
  sf_close(f);
}

TEST_F(ShellActions, ReloadSoundsTakesTheNewAnnouncerAndKeepsTheTitleMusicPlaying) {
  ASSERT_TRUE(Audio_Init(-1, 22050, 0, nullptr));
  Dir_Create("Sounds/Default");
  Dir_Create("Sounds/Voice");
  writeWav("Sounds/Default/tsloop.wav");
  writeWav("Sounds/Default/select.wav");
  writeWav("Sounds/Voice/timer.wav");
  LoadSounds("Default", "Default");
  EXPECT_EQ(g_sounds[SND_TIMER], 0u);
  g_titleMusic = PlaySound(SND_TSLOOP);
  ASSERT_NE(g_titleMusic, 0u);

  snprintf(g_settings.announcerSet, sizeof g_settings.announcerSet, "Voice");
  Options_ReloadSounds();
  EXPECT_NE(g_sounds[SND_TIMER], 0u) << "the announcer line of the new set";
  EXPECT_NE(g_sounds[SND_SELECT], 0u) << "the effects stay Default's";
  EXPECT_NE(g_titleMusic, 0u) << "the title music started again from the new samples";
  FreeSounds();
  g_titleMusic = 0;
  Audio_Free();
}

}  // namespace
