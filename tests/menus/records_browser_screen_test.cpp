// The records browser run whole on the dummy window with the Default skin and
// scripted keys: a profile's song records browsed and one song reset through
// its confirmation, the machine's courses, and a reset whose file cannot be
// written. Screenshots taken with F11 are copied to $TV_SHOT_DIR when it is set.
#include "library/profiles.h"
#include "menus/records_browser.h"
#include "records_test_util.h"
#include "support/game_library.h"
#include "wheel_screen_util.h"
#include <unistd.h>

namespace {
using namespace key;

const std::string kNeon = "Demo\\neon-stride", kGlass = "Demo\\glass-circuit", kTour = "COURSE|Demo Tour";

class RecordsBrowserScreen : public WheelScreenRun {
 protected:
  RecordTable alice;

  void SetUp() override {
    WheelScreenRun::SetUp();
    DemoLibrary();
    std::vector<SongEntry> songs = g_songs;   // and a folder longer than the list's window
    for (int i = 1; i <= 24; i++) {
      char title[32];
      snprintf(title, sizeof title, "Track %02d", i);
      songs.push_back(MakeSong({"Pack Gamma", "", title, "Gamma Artist", "", {2, 4, 6, 8}}));
    }
    SetLibrary(songs);
    AddCourse("Demo Tour", "#LIVES:4;\n#SONG:Demo\\Neon Stride:BASIC;\n#SONG:Demo\\Glass Circuit:ANOTHER;\n"
                           "#SONG:Demo\\Starfall Run:MANIAC;\n");
    AddCourse("Endless Night", "#REPEAT:YES;\n#SONG:*:MANIAC;\n#SONG:Demo\\Paper Lanterns:BASIC;\n");
    ASSERT_TRUE(WriteProfiles({"ALICE", "BOB"}));
    ASSERT_EQ(listProfiles(), 2);
    ProfileStats& single = g_profiles[0].stats[0];   // ALICE's card
    single.songs = 42;
    single.steps = 12840;
    single.perfects = 11032;
    g_profiles[0].stats[1].songs = 3;
    g_profiles[0].stats[1].steps = 900;
    g_profiles[0].stats[1].perfects = 610;

    // the machine's records: two songs and a course
    AddResult(g_records, kNeon, {4, 2, 8123450, 934, 2, 187, 1717200000, "ALICE"});
    AddResult(g_records, kNeon, {4, 0, 9950000, 1000, 1, 64, 1717000000});
    AddResult(g_records, kGlass, {4, 1, 6400000, 712, 4, 95, 1716000000, "BOB"});
    StoredResult tour{4, 0, 21500000, 885, 3, 240, 1717300000, "ALICE"};
    tour.timeMs = 3725250;   // over an hour
    tour.stage = 4;
    AddResult(g_records, kTour, tour);
    ASSERT_TRUE(saveRecords(g_records));

    // ALICE's own: the same two songs, the second in DOUBLE too
    alice.profile = "ALICE";
    AddResult(alice, kNeon, {4, 2, 8123450, 934, 2, 187, 1717200000});
    AddResult(alice, kNeon, {4, 1, 7000000, 851, 3, 120, 1717100000});
    AddResult(alice, kGlass, {4, 1, 5000000, 655, 4, 80, 1716000000});
    AddResult(alice, kGlass, {8, 2, 4000000, 500, 5, 60, 1716100000});
    alice.records[0].counters[0] = 250;
    ASSERT_TRUE(writeRecords(alice));
    g_songListLoaded = true;   // as in the game: a save would count the play counters down
  }
  void TearDown() override {
    g_songListLoaded = false;
    WheelScreenRun::TearDown();
    g_profileCount = 0;
  }
};

// The profile list, ALICE's card, the styles, the Demo folder, Neon Stride's
// records, its confirmation and the reset: the song's results are gone from
// ALICE's file, everything else stays.
TEST_F(RecordsBrowserScreen, AProfilesSongIsResetThroughItsConfirmation) {
  std::string machineBefore = ReadFile("rkv2.rec");
  KeyScript k;
  k.tap(kF11, 400)                       // "Select Profile..."
      .hold(kDown, 200, 200).tap(kF11, 200)   // ALICE's card (the first press on a list is held)
      .tap(kStart, 200).tap(kF11, 300)   // the styles of ALICE's table
      .tap(kStart, 200).tap(kF11, 300)   // Single: the folders
      .tap(kStart, 200)                  // Demo (the first folder)
      .tap(kDown2, 200).tap(kF11, 300)   // player 2's Down acts too: Neon Stride (Glass Circuit is first)
      .tap(kStart, 200).tap(kF11, 300)   // the confirmation, on "Return"
      .tap(kLeft, 200).tap(kF11, 200)    // on "Reset"
      .tap(kStart, 200).tap(kF11, 300)   // reset; the message
      .tap(kEscape, 300).tap(kEscape, 200).tap(kEscape, 200).tap(kEscape, 200).tap(kEscape, 200);
  k.run();
  uint32_t start = Clock_Ms();
  RecordsBrowser();
  EXPECT_LT(Clock_Ms() - start, k.at + 3000) << "left by Escape, level by level";

  RecordTable back;
  back.profile = "ALICE";
  ASSERT_TRUE(loadRecords(back));
  ASSERT_EQ(back.records.size(), 2u);
  EXPECT_STREQ(back.records[0].key, kNeon.c_str());
  EXPECT_TRUE(back.results[0].empty()) << "Neon Stride's results are reset";
  EXPECT_EQ(back.records[0].counters[0], 250) << "a reset is no play: the counter stays";
  EXPECT_EQ(back.records[0].firstSeen, 1000);
  ASSERT_EQ(back.results[1].size(), 2u) << "Glass Circuit keeps both styles";
  EXPECT_EQ(findNote(back, kNeon.c_str(), 4, 2).bestCombo, 0);
  EXPECT_EQ(findNote(back, kGlass.c_str(), 8, 2).bestCombo, 60);
  EXPECT_EQ(ReadFile("rkv2.rec"), machineBefore) << "the machine's records are not touched";
  EXPECT_TRUE(File_Exists("Screenshots"));
}

// The machine's table: the Double style, then back to Single, a folder that
// scrolls, and the courses, where Demo Tour's result took more than an hour.
TEST_F(RecordsBrowserScreen, TheMachinesCoursesAndAnotherStyle) {
  AddResult(g_records, "Pack Gamma\\Track 15", {4, 2, 5500000, 702, 4, 77, 1717400000});
  KeyScript k;
  k.tap(kStart, 400)                     // "No User/System"
      .hold(kDown, 200, 200).tap(kF11, 300)   // Double
      .tap(kUp, 200).tap(kStart, 200)    // Single
      .tap(kStart, 200).tap(kF11, 300)   // Demo: Glass Circuit, held by BOB
      .tap(kEscape, 200)
      .tap(kDown, 200).tap(kDown, 200).tap(kDown, 200).tap(kStart, 200)   // Pack Gamma
      .tap(kRight, 200).tap(kDown, 200).tap(kF11, 300)                     // a page on: Track 15
      .tap(kEscape, 200)
      .tap(kDown, 200).tap(kF11, 300)    // [NONSTOP COURSES]
      .tap(kStart, 200).tap(kF11, 300)   // Demo Tour
      .tap(kDown, 200).tap(kF11, 300)    // Endless Night: no record yet
      .tap(kStart, 200).tap(kF11, 300)   // refused: nothing to reset
      .tap(kUpLeft, 300).tap(kUpLeft, 200).tap(kUpLeft, 200).tap(kUpLeft, 200);
  k.run();
  ASSERT_TRUE(saveRecords(g_records));
  std::string before = ReadFile("rkv2.rec");
  RecordsBrowser();
  EXPECT_EQ(ReadFile("rkv2.rec"), before) << "browsing writes nothing";
  EXPECT_FALSE(File_Exists("Profiles/BOB/rkv2-user.rec"));
}

// "Reset All" of the machine's table, whose file cannot be written: the screen
// says so, the file and the table stay as they were.
TEST_F(RecordsBrowserScreen, AResetThatCannotBeWrittenKeepsEverything) {
  std::string before = ReadFile("rkv2.rec");
  ASSERT_TRUE(Dir_Create("rkv2.rec.tmp" + std::to_string((long)getpid())));   // the save cannot make its file
  ASSERT_TRUE(LogOpen(0));
  KeyScript k;
  k.tap(kStart, 400)                                 // "No User/System"
      .hold(kUp, 200, 200).tap(kUp, 200).tap(kF11, 300)   // "Reset All" (above "Return", wrapping)
      .tap(kStart, 200).tap(kRight, 200).tap(kF11, 300)
      .tap(kStart, 200).tap(kF11, 700)               // the message (after the slow failing write)
      .tap(kEscape, 300).tap(kEscape, 200);
  k.run();
  RecordsBrowser();
  LogOff();
  EXPECT_EQ(ReadFile("rkv2.rec"), before);
  ASSERT_EQ(g_records.records.size(), 3u);
  EXPECT_EQ(g_records.results[0].size(), 2u) << "the table in memory keeps its results";
  EXPECT_EQ(findNote(g_records, kNeon.c_str(), 4, 2).bestCombo, 187);
  EXPECT_NE(ReadFile("rkv2.log").find("Unable to write the records to 'rkv2.rec'"), std::string::npos);
}
}  // namespace
