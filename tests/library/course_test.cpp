// Course files: the tags, the entry forms, the modifier words, the folders of
// "Courses", the bonus files, the course records and the random pick.
#include <gtest/gtest.h>

#include "library/rkv_parser.h"
#include "menus/collection_test_util.h"
#include "platform/files.h"
#include "support/test_support.h"

#include <filesystem>
#include <map>

namespace fs = std::filesystem;

namespace {
class CourseTest : public ::testing::Test {
 protected:
  void SetUp() override {
    ResetCollectionWorld();
    auto song = [](const char* group, const char* folder, const char* title, std::vector<int> levels) {
      SongSpec s;
      s.group = group;
      s.folder = folder;
      s.title = title;
      s.artist = "A";
      s.levels = std::move(levels);
      return MakeSong(s);
    };
    SetLibrary({song("Demo", "neon-stride", "Neon Stride", {2, 4, 6, 8}),
                song("Demo", "glass", "Glass Circuit", {1, 3, 5, 7}),
                song("Other", "deep", "Deep Water", {3, 3, 9}),
                song("Empty Pack", "silent", "Silent", {0, 0, 0})});
  }
  void TearDown() override { ResetCollectionWorld(); }

  Course Parse(const std::string& text) {
    Course c;
    Course_Defaults(c);
    Course_ParseText(text, c);
    return c;
  }
  std::string Log() { return ReadFile("rkv2.log"); }
  TempDir dir;
};

TEST_F(CourseTest, TagsAndTheirDefaults) {
  g_settings.comboType = 0;
  Course c = Parse("#SONG:Demo\\Glass Circuit:BASIC;\n");
  EXPECT_EQ(c.lives, 4);
  EXPECT_EQ(c.livesSet, 0);
  EXPECT_EQ(c.comboMode, 1);   // the settings' combo type 0, plus 1
  EXPECT_EQ(c.repeat + c.randomize + c.comboPerfect + c.hasDisplay, 0);
  c = Parse(
      "// a comment #REPEAT:YES;\n#COURSE:Night Run; // trailing comment\r\n#DISPLAYCOURSE:night.png;\n"
      "#COMBOMODE:2;\n#COMBO:PERFECT\n#REPEAT:YES;\n#RANDOMIZE:YES;\n#LIVES:12;\n#SONG:Demo\\Glass Circuit:BASIC;\n");
  EXPECT_STREQ(c.name, "Night Run");
  EXPECT_STREQ(c.displayName, "night.png");
  EXPECT_EQ(c.hasDisplay, 1);
  EXPECT_EQ(c.comboMode, 2);
  EXPECT_EQ(c.comboPerfect, 1);
  EXPECT_EQ(c.repeat, 1);
  EXPECT_EQ(c.randomize, 1);
  EXPECT_EQ(c.livesSet, 1);
  EXPECT_EQ(c.lives, 10);   // at most 10
  EXPECT_EQ(Parse("#LIVES:0;\n").lives, 1);
  EXPECT_EQ(Parse("#LIVES:3;\n").lives, 3);
  // several tags on one line
  c = Parse("#COURSE:Short;#LIVES:2;#SONG:Demo\\glass:ANOTHER;\n");
  EXPECT_STREQ(c.name, "Short");
  EXPECT_EQ(c.lives, 2);
  EXPECT_EQ(c.entryCount, 1);
  g_settings.comboType = 1;   // the default
  EXPECT_EQ(Parse("").comboMode, 2);
}

TEST_F(CourseTest, NamedSongsMatchTitleOrFolderWithoutRegardToCase) {
  LogOpen(0);
  Course c = Parse(
      "#SONG:Demo\\NEON STRIDE:MANIAC;\n#SONG:demo\\glass:SMANIAC;\n#SONG:Demo\\Nowhere:BASIC;\n"
      "#SONG:Other\\Deep Water:something else;\n#SONG:Missing\\Deep Water:BASIC;\n");
  LogOff();
  ASSERT_EQ(c.entryCount, 3);
  EXPECT_STREQ(g_songs[c.entries[0].song].title, "Neon Stride");
  EXPECT_EQ(c.entries[0].difficulty, 2);
  EXPECT_EQ(c.entries[0].selector, SELECT_NAMED);
  EXPECT_EQ(c.entries[0].random, 0);
  EXPECT_STREQ(g_songs[c.entries[1].song].title, "Glass Circuit");
  EXPECT_EQ(c.entries[1].difficulty, 3);
  EXPECT_STREQ(g_songs[c.entries[2].song].title, "Deep Water");
  EXPECT_EQ(c.entries[2].difficulty, 0);   // no difficulty word: BASIC
  EXPECT_EQ(c.entries[2].group, Course_FindGroup("Other"));
  EXPECT_NE(Log().find("- Could not find song Demo\\Nowhere\n"), std::string::npos);
  EXPECT_NE(Log().find("- Could not find song Missing\\Deep Water\n"), std::string::npos);
}

TEST_F(CourseTest, DifficultyWordsInTheirOrder) {
  EXPECT_EQ(Course_DifficultyWord("TRICK"), 1);
  EXPECT_EQ(Course_DifficultyWord("STANDARD"), 1);
  EXPECT_EQ(Course_DifficultyWord("SMANIAC"), 3);
  EXPECT_EQ(Course_DifficultyWord("HEAVY"), 2);
  EXPECT_EQ(Course_DifficultyWord("LIGHT"), 0);
  EXPECT_EQ(Course_DifficultyWord("ANOTHER SMANIAC"), 1);   // the first word looked for wins
  EXPECT_EQ(Course_DifficultyWord("3..5"), -1);
}

TEST_F(CourseTest, RandomEntriesAndLevelRanges) {
  LogOpen(0);
  Course c = Parse(
      "#SONG:*:3..1;\n#SONG:*:0;\n#SONG:*:150;\n#SONG:Demo\\*:4..7:HIDDEN;\n#SONG:*:ANOTHER;\n"
      "#SONG:Nope\\*:BASIC;\n#SONG:Empty Pack\\*:3;\n");
  LogOff();
  ASSERT_EQ(c.entryCount, 6);   // a folder that is not there adds no entry
  const CourseEntry* e = c.entries;
  EXPECT_EQ(e[0].random, 1);
  EXPECT_EQ(e[0].difficulty, kDifficultyRange);
  EXPECT_EQ(e[0].levelMin, 3);
  EXPECT_EQ(e[0].levelMax, 3);
  EXPECT_EQ(e[1].levelMin, 1);
  EXPECT_EQ(e[1].levelMax, 1);
  EXPECT_EQ(e[2].levelMin, 99);
  EXPECT_STREQ(e[3].randomFolder, "Demo");
  EXPECT_EQ(e[3].levelMin, 4);
  EXPECT_EQ(e[3].levelMax, 7);
  EXPECT_EQ(e[3].appearance, 1);
  EXPECT_EQ(e[4].difficulty, 1);
  EXPECT_EQ(e[4].levelMin, 1);    // the defaults stay
  EXPECT_EQ(e[4].levelMax, 10);
  EXPECT_EQ(e[5].song, -1);       // the folder is there (its songs have no charts, which the pick sorts out)
  std::string log = Log();
  EXPECT_NE(log.find("RANDOM: *, (range)\n"), std::string::npos);
  EXPECT_NE(log.find("RANDOM (from folder): Demo, (range)\n"), std::string::npos);
  EXPECT_NE(log.find("RANDOM: *, (deslevel=1)\n"), std::string::npos);
  EXPECT_NE(log.find("- No songs in folder Nope\n"), std::string::npos);
}

TEST_F(CourseTest, BestAndWorstEntries) {
  LogOpen(0);
  Course c = Parse("#SONG:BEST3:MANIAC:REVERSE;\n#SONG:WORST:SMANIAC;\n#SONG:BEST0;\n");
  LogOff();
  ASSERT_EQ(c.entryCount, 3);
  EXPECT_EQ(c.entries[0].selector, SELECT_BEST);
  EXPECT_EQ(c.entries[0].bestIndex, 3);
  EXPECT_EQ(c.entries[0].difficulty, 2);
  EXPECT_EQ(c.entries[0].reverse, 1);
  EXPECT_EQ(c.entries[0].song, -1);
  EXPECT_EQ(c.entries[1].selector, SELECT_WORST);
  EXPECT_EQ(c.entries[1].bestIndex, 1);
  EXPECT_EQ(c.entries[2].bestIndex, 1);   // BEST 0 would point before the list
  EXPECT_NE(Log().find("BEST: 3\nWORST: 1\n"), std::string::npos);
}

TEST_F(CourseTest, ModifierWordsGroupOrderAndText) {
  CourseEntry e;
  Course_ParseModifiers("SUDDEN,1.5x,MIRROR", e);
  EXPECT_EQ(e.turn, 2);
  EXPECT_EQ(e.appearance, 2);
  EXPECT_EQ(e.speed, 1);
  EXPECT_STREQ(e.modifierText, "MIRROR,SUDDEN,1.5x");
  EXPECT_EQ(e.hasModifiers, 1);
  Course_ParseModifiers("1.5x MIRROR SUDDEN", e);
  EXPECT_STREQ(e.modifierText, "MIRROR,SUDDEN,1.5x");

  Course_ParseModifiers("CLASSICAL,SHUFFLE,STEALTH,REVERSE,0.75x,NOFREEZE,WAVE,POWER-DROP,DARK,7RANDOM,AWARD3", e);
  EXPECT_STREQ(e.modifierText, "ALTETERNATE,SHUFFLE,STEALTH,REVERSE,0.75x,NOFREEZE,WAVE,POWER DROP,DARK,7 RANDOM");
  EXPECT_EQ(e.arrowFilter, 4);
  EXPECT_EQ(e.turn, 4);
  EXPECT_EQ(e.appearance, 3);
  EXPECT_EQ(e.reverse, 1);
  EXPECT_EQ(e.speed, 9);
  EXPECT_EQ(e.noFreeze, 1);
  EXPECT_EQ(e.scroll, 3);
  EXPECT_EQ(e.life, 1);
  EXPECT_EQ(e.dark, 1);
  EXPECT_EQ(e.randomArrows, 7);
  EXPECT_EQ(e.award, 3);
  uint8_t o[9];
  CourseEntry_Options(e, o);
  EXPECT_EQ((std::vector<uint8_t>(o, o + 9)), (std::vector<uint8_t>{9, 3, 3, 4, 4, 1, 1, 1, 1}));

  // BRAKE keeps the names after it whole
  Course_ParseModifiers("BRAKE,DEATH", e);
  EXPECT_STREQ(e.modifierText, "BRAKE,DEATH");
  EXPECT_EQ(e.scroll, 2);
  EXPECT_EQ(e.life, 2);
  Course_ParseModifiers("BRAKE", e);
  EXPECT_STREQ(e.modifierText, "BRAKE");

  // in each group the first word of the table wins; unknown words do nothing
  Course_ParseModifiers("RIGHT,LEFT,SPARKLE,2.0x,8.0x", e);
  EXPECT_EQ(e.turn, 1);
  EXPECT_EQ(e.speed, 2);
  EXPECT_STREQ(e.modifierText, "LEFT,2x");
  Course_ParseModifiers("NOTHING", e);
  EXPECT_STREQ(e.modifierText, "");
  EXPECT_EQ(e.hasModifiers, 0);
  EXPECT_EQ(e.award, kNoAward);
}

TEST_F(CourseTest, AtMost64EntriesAreTaken) {
  std::string text = "#COURSE:Long;\n";
  for (int i = 0; i < 200; i++) text += "#SONG:Demo\\Glass Circuit:BASIC;\n";
  LogOpen(0);
  Course c = Parse(text);
  LogOff();
  EXPECT_EQ(c.entryCount, 64);
  EXPECT_NE(Log().find("More than 64 songs in this course"), std::string::npos);
}

TEST_F(CourseTest, ReadCourseFromItsFolderAndLinkItsRecord) {
  fs::create_directories("Courses/Pack");
  WriteFile("Courses/Pack/night.run.crs", "#COURSE:Night;\n#SONG:Demo\\glass:BASIC;\n");
  WriteFile("Courses/Pack/empty.crs", "#COURSE:Empty;\n#SONG:Demo\\Nobody:BASIC;\n");
  LogOpen(0);
  Course c;
  ASSERT_EQ(readCourse("Pack", "night.run.crs", c, 0), 1);
  EXPECT_EQ(c.valid, 1);
  EXPECT_STREQ(c.fileName, "night");
  EXPECT_STREQ(c.folder, "Pack");
  ASSERT_GE(c.recordIndex, 0);
  EXPECT_STREQ(g_records.records[c.recordIndex].key, "COURSE|Night");
  EXPECT_EQ(g_records.records[c.recordIndex].used, 1);
  // the new record is in the records file
  RecordTable again;
  ASSERT_TRUE(loadRecords(again));
  EXPECT_GE(findRecord(again, "COURSE|Night"), 0);
  // a second read finds the record and adds none
  size_t n = g_records.records.size();
  Course d;
  ASSERT_EQ(readCourse("Pack", "night.run.crs", d, 1), 1);
  EXPECT_EQ(d.recordIndex, c.recordIndex);
  EXPECT_EQ(g_records.records.size(), n);

  Course e;
  EXPECT_EQ(readCourse("Pack", "empty.crs", e, 2), 0);
  EXPECT_EQ(e.valid, 1);
  Course f;
  EXPECT_EQ(readCourse("Pack", "gone.crs", f, 3), 0);
  EXPECT_EQ(f.valid, 0);
  LogOff();
  std::string log = Log();
  EXPECT_NE(log.find("Analysing CRS file: Pack/night.run.crs\n"), std::string::npos);
  EXPECT_NE(log.find("- No songs found for this course - ignoring.\n"), std::string::npos);
}

TEST_F(CourseTest, LoadCoursesSortsByNameAndListsTheirFolders) {
  fs::create_directories("Courses/b-pack");
  fs::create_directories("Courses/A-pack");
  fs::create_directories("Courses/empty");
  fs::create_directories("Courses/nothing-usable");
  WriteFile("Courses/b-pack/one.crs", "#COURSE:zebra;\n#SONG:Demo\\glass:BASIC;\n");
  WriteFile("Courses/b-pack/two.CRS", "#COURSE:Apple;\n#SONG:*:BASIC;\n");
  WriteFile("Courses/b-pack/notes.txt", "#COURSE:Not a course;\n#SONG:*:BASIC;\n");
  WriteFile("Courses/A-pack/x.crs", "#COURSE:mango;\n#SONG:Other\\Deep Water:MANIAC;\n");
  WriteFile("Courses/nothing-usable/x.crs", "#COURSE:Broken;\n#SONG:Gone\\Gone:MANIAC;\n");
  WriteFile("Courses/A-pack/unnamed.crs", "#SONG:Other\\deep:BASIC;\n");
  EXPECT_EQ(loadCourses(), 4);
  std::vector<std::string> names;
  for (const Course& c : g_courses) names.push_back(c.name);
  EXPECT_EQ(names, (std::vector<std::string>{"Apple", "mango", "unnamed", "zebra"}));
  for (size_t i = 0; i < g_courses.size(); i++) {
    EXPECT_EQ(g_courses[i].index, (int)i);
    ASSERT_GE(g_courses[i].recordIndex, 0);
    EXPECT_EQ(std::string(g_records.records[g_courses[i].recordIndex].key), "COURSE|" + names[i]);
  }
  EXPECT_EQ(g_courseFolders, (std::vector<std::string>{"A-pack", "b-pack"}));
  // all four records were written in one go and are in the file
  RecordTable again;
  ASSERT_TRUE(loadRecords(again));
  EXPECT_EQ(again.records.size(), 4u);
}

TEST_F(CourseTest, AtMost512CoursesAreLoaded) {
  fs::create_directories("Courses/Many");
  for (int i = 0; i < 600; i++)
    WriteFile(Numbered("Courses/Many/c", 1000 + i) + ".crs", Numbered("#COURSE:C", 1000 + i) + ";\n#SONG:*:BASIC;\n");
  LogOpen(0);
  EXPECT_EQ(loadCourses(), 512);
  LogOff();
  EXPECT_STREQ(g_courses.back().name, "C1511");
  EXPECT_NE(Log().find("More than 512 courses; the rest are not loaded\n"), std::string::npos);
  EXPECT_EQ(g_records.records.size(), 512u);
}

TEST_F(CourseTest, NoCoursesFolderGivesNoCourses) {
  EXPECT_EQ(loadCourses(), 0);
  EXPECT_TRUE(g_courseFolders.empty());
}

TEST_F(CourseTest, TheSecondBonusNeedsTheFirst) {
  WriteFile("bonus-2.crs", "#COURSE:Second;\n#SONG:Demo\\glass:MANIAC;\n");
  LogOpen(0);
  loadBonusCourses();
  EXPECT_EQ(g_bonusCourses[0].entryCount, 0);
  EXPECT_EQ(g_bonusCourses[1].entryCount, 0);
  EXPECT_EQ(g_bonusCourses[1].valid, 0);
  EXPECT_NE(Log().find("Bonus stages defined\n"), std::string::npos);

  WriteFile("bonus-1.crs", "#COURSE:First;\n#SONG:Demo\\Gone:MANIAC;\n");   // read, but empty
  loadBonusCourses();
  EXPECT_EQ(g_bonusCourses[0].entryCount, 0);
  EXPECT_EQ(g_bonusCourses[1].entryCount, 0);

  WriteFile("bonus-1.crs", "#COURSE:First;\n#SONG:Demo\\glass:MANIAC;\n");
  loadBonusCourses();
  LogOff();
  EXPECT_EQ(g_bonusCourses[0].entryCount, 1);
  EXPECT_EQ(g_bonusCourses[0].index, -1);
  EXPECT_STREQ(g_bonusCourses[0].folder, "BONUS");
  EXPECT_EQ(g_bonusCourses[0].recordIndex, -1);   // bonus files have no record
  EXPECT_EQ(g_bonusCourses[1].entryCount, 1);
  EXPECT_EQ(g_bonusCourses[1].index, -2);
  EXPECT_TRUE(g_records.records.empty());
  EXPECT_NE(Log().find("Analysing bonus song file: bonus-2.crs\n"), std::string::npos);
}

TEST_F(CourseTest, RandomPickAmongTheSongsThatFit) {
  CourseEntry e;
  ASSERT_TRUE(Course_ParseEntry("*:MANIAC", e));
  std::map<int, int> seen;
  for (int i = 0; i < 3000; i++) {
    int s, d;
    ASSERT_TRUE(Course_PickRandomSong(e, 1, 3, s, d));
    EXPECT_EQ(d, 2);
    seen[s]++;
  }
  // Neon Stride, Glass Circuit and Deep Water have MANIAC charts; Silent none
  ASSERT_EQ(seen.size(), 3u);
  for (auto& [s, n] : seen) EXPECT_NEAR(n, 1000, 130) << g_songs[s].title;

  ASSERT_TRUE(Course_ParseEntry("Demo\\*:6..8", e));
  std::map<std::pair<int, int>, int> charts;
  for (int i = 0; i < 2000; i++) {
    int s, d;
    ASSERT_TRUE(Course_PickRandomSong(e, 1, 4, s, d));
    charts[{s, d}]++;
  }
  // Neon Stride MANIAC 6 and SMANIAC 8, Glass Circuit SMANIAC 7; never the other folder
  EXPECT_EQ(charts.size(), 3u);
  EXPECT_EQ(charts.count({FindSong("Neon Stride"), 2}), 1u);
  EXPECT_EQ(charts.count({FindSong("Glass Circuit"), 3}), 1u);
  int s, d;
  EXPECT_FALSE(Course_PickRandomSong(e, 1, 3, s, d) && d == 3);   // SMANIAC only with four difficulties
  ASSERT_TRUE(Course_ParseEntry("*:BASIC", e));
  EXPECT_FALSE(Course_PickRandomSong(e, 4, 3, s, d));   // no SOLO charts at all
  EXPECT_EQ(s, -1);
}

// The demo content of the build: every course and bonus file loads against the demo songs.
TEST_F(CourseTest, TheGeneratedDemoCoursesLoad) {
  fs::path game = fs::path(TV_GAME_EXE).parent_path();
  ASSERT_TRUE(fs::exists(game / "Courses")) << game;
  std::vector<SongEntry> songs;
  for (const auto& group : fs::directory_iterator(game / "Songs")) {
    if (!group.is_directory()) continue;
    for (const auto& folder : fs::directory_iterator(group.path())) {
      for (const auto& f : fs::directory_iterator(folder.path())) {
        if (f.path().extension() != ".rkv") continue;
        RKVParser p;
        ASSERT_TRUE(p.parseFile(f.path().c_str())) << f.path();
        SongSpec s;
        s.group = group.path().filename().string();
        s.folder = folder.path().filename().string();
        s.title = p.title;
        s.artist = p.artist;
        s.levels.assign(p.levels, p.levels + kChartSlots);
        songs.push_back(MakeSong(s));
      }
    }
  }
  ASSERT_FALSE(songs.empty());
  SetLibrary(songs);
  fs::copy(game / "Courses", "Courses", fs::copy_options::recursive);
  fs::copy_file(game / "bonus-1.crs", "bonus-1.crs");
  fs::copy_file(game / "bonus-2.crs", "bonus-2.crs");
  LogOpen(0);
  int n = loadCourses();
  loadBonusCourses();
  LogOff();
  EXPECT_GE(n, 1);
  EXPECT_EQ(Log().find("Could not find song"), std::string::npos) << Log();
  for (const Course& c : g_courses) {
    EXPECT_GT(c.entryCount, 0) << c.name;
    std::string text;
    ASSERT_TRUE(File_ReadText("Courses/" + std::string(c.folder) + "/" + c.fileName + ".crs", text));
    size_t songLines = 0;
    for (size_t p = 0; (p = text.find("#SONG:", p)) != std::string::npos; p++) songLines++;
    EXPECT_EQ((size_t)c.entryCount, songLines) << c.name;   // every line resolved
  }
  EXPECT_GT(g_bonusCourses[0].entryCount, 0);
  EXPECT_GT(g_bonusCourses[1].entryCount, 0);
  BuildCourseCollection(true);
  int placed = 0;
  for (int g = 5; g < g_courseCollection.groupCount - 5; g++) placed += g_courseCollection.groups[g].count;
  EXPECT_EQ(placed, n);
}
}  // namespace
