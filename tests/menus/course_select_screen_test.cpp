// CourseSelect runs whole on the dummy window over course files and a small
// library written to disk, driven by scripted keys.
#include "library/courses.h"
#include "library/records.h"
#include "menus/available_modes.h"
#include "menus/course_select.h"
#include "play/player.h"
#include "support/game_library.h"
#include "wheel_screen_util.h"

namespace {
class CourseScreenRun : public ::testing::Test {
 protected:
  TempDir dir;

  void SetUp() override {
    setenv("SDL_AUDIODRIVER", "dummy", 1);
    ResetCollectionWorld();
    FunctionKeys_Setup();
    ASSERT_TRUE(TestScreen_Open());
    ASSERT_TRUE(TestScreen_UseGameSkin({"Skins", "Sounds"}));
    GameLibrary lib;
    lib.songs = 6;
    lib.groups = 2;
    lib.banners = true;
    ASSERT_FALSE(WriteGameLibrary(lib).empty());
    ASSERT_EQ(IndexGameLibrary(), 6);
    FindAvailableModes(g_availableModes);   // as the start-up does: random entries need their style
    Player_SetStyle(g_players[0], "SINGLE", 4, true);
  }
  void TearDown() override {
    KeepScreenShots();
    TestScreen_Close();
    freeRecords(g_records);
    ResetCollectionWorld();
  }

  static void Banner(const std::string& path, uint32_t from, uint32_t to) {
    WritePicture(path, 256, 80, [=](int x, int) {
      uint32_t c = 0;
      for (int shift = 0; shift <= 16; shift += 8) {
        int a = (int)(from >> shift & 255), b = (int)(to >> shift & 255);
        c |= (uint32_t)(a + (b - a) * x / 255) << shift;
      }
      return c;
    });
  }
  const Course& Named(const char* name) {
    for (const Course& k : g_courses)
      if (strcmp(k.name, name) == 0) return k;
    ADD_FAILURE() << name;
    return g_courses[0];
  }
};

// Marathons: a course with lives that repeats, with RANDOM and BEST entries, and
// a 64-entry course with a broken banner; Tours: fixed songs with records, a
// title picture, and a title picture that is not a picture.
void WriteCourses() {
  Dir_Create("Courses/Marathons");
  Dir_Create("Courses/Tours");
  WriteFile("Courses/Marathons/endless.crs",
            "#COURSE:Endless;\n#LIVES:3;\n#REPEAT:YES;\n#SONG:*:ANOTHER;\n#SONG:Group 2\\*:3..5:HIDDEN;\n"
            "#SONG:BEST1:MANIAC;\n#SONG:WORST1:BASIC:REVERSE;\n#SONG:*:8;\n");
  std::string longHaul = "#COURSE:Long Haul;\n";
  for (int i = 0; i < 70; i++)   // six past the most a course holds
    longHaul += i % 3 ? "#SONG:Group " + std::to_string(1 + i % 2) + "\\Song " + std::to_string(1 + i % 6) + ":BASIC;\n"
                      : std::string("#SONG:*:2..7;\n");
  WriteFile("Courses/Marathons/long.crs", longHaul);
  WriteFile("Courses/Marathons/long.png", "");
  WriteFile("Courses/Tours/fixed.crs",
            "#COURSE:Fixed Tour;\n#SONG:Group 1\\Song 1:BASIC;\n#SONG:Group 2\\Song 2:ANOTHER:MIRROR;\n"
            "#SONG:Group 1\\Song 3:MANIAC:1.5x,SUDDEN;\n");
  WriteFile("Courses/Tours/titled.crs",
            "#COURSE:Title Course;\n#DISPLAYCOURSE:title.png;\n#SONG:Group 1\\Song 5:BASIC;\n");
  WriteFile("Courses/Tours/broken.crs", "#COURSE:Broken Title;\n#DISPLAYCOURSE:title.txt;\n#SONG:*:BASIC;\n");
  WriteFile("Courses/Tours/title.txt", "this is not a picture");
  WritePicture("Courses/Tours/title.png", 240, 28, [](int x, int y) {
    bool letter = (x / 12) % 2 == 0 && y > 6 && y < 22;
    return letter ? 0xFFE060u : 0x203060u + (uint32_t)(x / 2);
  });
}

TEST_F(CourseScreenRun, BrowsesFoldersAndCoursesAndChoosesOne) {
  WriteCourses();
  Banner("Courses/Tours.png", 0x103080, 0x40C0FF);
  WritePicture("Courses/Marathons.png", 2100, 4, [](int, int) { return 0x808080u; });
  Banner("Courses/Marathons/endless.png", 0x801040, 0xFFA040);
  Banner("Courses/Tours/fixed.png", 0x106030, 0xA0FF60);
  LogOpen(0);
  ASSERT_EQ(loadCourses(), 5);
  EXPECT_EQ(Named("Long Haul").entryCount, kMaxCourseEntries);
  // a machine record and one of the player's own for Fixed Tour
  const Course& fixed = Named("Fixed Tour");
  Result r = CourseResultOf(1234567, 912, 3, 4 * 60000 + 7 * 1000 + 89, 3);
  ASSERT_TRUE(storeResult(g_records, fixed.recordIndex, 4, 0, true, r));
  ASSERT_TRUE(setHolder(g_records, fixed.recordIndex, 4, 0, "KIT"));
  RecordTable mine;
  mine.profile = "KIT";
  r.bestScore = 1111111;
  ASSERT_TRUE(storeResult(mine, TestRecord(mine, "COURSE|Fixed Tour"), 4, 0, true, r));
  g_playerRecords[0] = &mine;
  ResolveBestCourseEntries();
  g_settings.timeLimit = 1;   // shown, never reached

  KeyScript k;
  k.tap(key::kF11, 500)         // Marathons open on Endless
      .hold(key::kRight, 200, 140)
      .tap(key::kF11, 300)      // Long Haul, its list at the top
      .tap(key::kF11, 5000)     // and scrolled
      .tap(key::kRight, 200)
      .tap(key::kF11, 300)      // on the Tours folder item
      .tap(key::kStart, 200)
      .tap(key::kF11, 300)      // Tours open, Marathons closed
      .tap(key::kRight, 200)
      .tap(key::kF11, 300)      // Broken Title: its name stands for the picture
      .tap(key::kRight, 200)
      .tap(key::kF11, 300)      // Fixed Tour with its records
      .tap(key::kRight, 200)
      .tap(key::kF11, 300)      // Title Course with its picture
      .tap(key::kRight, 200)    // the last course: the wheel stays
      .tap(key::kStart, 300);
  k.run();
  EXPECT_EQ(CourseSelect(), 1);
  g_playerRecords[0] = nullptr;
  LogOff();
  EXPECT_STREQ(g_courses[CourseSelect_SelectedCourse()].name, "Title Course");
  EXPECT_EQ(std::distance(std::filesystem::directory_iterator("Screenshots"), {}), 8);
  std::string log = ReadFile("rkv2.log");
  for (const char* line : {"Setting up courses...\n", "Load song images...\n", "Starting Course Select\n",
                           "Banner 'Courses/Marathons/long.png' cannot be read\n",
                           "Banner 'Courses/Marathons.png' is too large to show (2100 x 4)\n",
                           "Banner 'Courses/Tours/broken.png' not found\n",
                           "Title picture 'Courses/Tours/title.txt' cannot be read\n"})
    EXPECT_NE(log.find(line), std::string::npos) << line;
}

TEST_F(CourseScreenRun, EscapeLeaves) {
  WriteCourses();
  ASSERT_EQ(loadCourses(), 5);
  KeyScript k;
  k.hold(key::kRight, 300, 140).tap(key::kEscape, 200);
  k.run();
  EXPECT_EQ(CourseSelect(), 0);
  EXPECT_STREQ(g_courses[CourseSelect_SelectedCourse()].name, "Long Haul");
}
}  // namespace
