#include <gtest/gtest.h>

#include "menus/collection_test_util.h"
#include "support/test_support.h"

#include <cmath>
#include <set>

namespace {
using Strings = std::vector<std::string>;

class CollectionTest : public ::testing::Test {
 protected:
  void SetUp() override { ResetCollectionWorld(); }
  void TearDown() override { ResetCollectionWorld(); }
  TempDir dir;
};

SongSpec Song(const char* group, const char* title, std::vector<int> levels = {3, 5, 7}) {
  SongSpec s;
  s.group = group;
  s.title = title;
  s.artist = "Someone";
  s.levels = std::move(levels);
  return s;
}

TEST_F(CollectionTest, GenreGroupsTakeEverySongWhoseGenreHoldsTheName) {
  SongSpec a = Song("G", "Alpha"), b = Song("G", "Beta"), c = Song("G", "Gamma");
  a.genres = "|J-Pop|";
  b.genres = "|Pop||Rock|";
  c.genres = "|pop||J-Pop|";   // the same genre spelt in lower case, and twice a match
  SetLibrary({MakeSong(a), MakeSong(b), MakeSong(c)});
  g_settings.sortBy = 0;
  BuildCollection(0, nullptr, 0, 1, 0);
  ASSERT_EQ(g_collection.groupCount, 3);   // J-Pop, Pop, Rock; no roulette with filter mode 0
  EXPECT_STREQ(g_collection.caption, "All Music (Genre)");
  EXPECT_EQ(Titles(g_collection, GroupIndex(g_collection, "Pop")), (Strings{"Alpha", "Beta", "Gamma"}));
  EXPECT_EQ(Titles(g_collection, GroupIndex(g_collection, "J-Pop")), (Strings{"Alpha", "Gamma"}));
  EXPECT_EQ(Titles(g_collection, GroupIndex(g_collection, "Rock")), (Strings{"Beta"}));
  for (int g = 0; g < g_collection.groupCount; g++) EXPECT_EQ(g_collection.groups[g].state, GROUP_INLINE);
}

TEST_F(CollectionTest, FolderGroupsFollowTheFolderListAndIgnoreCase) {
  SetLibrary({MakeSong(Song("Zeta", "One")), MakeSong(Song("alpha", "Two")), MakeSong(Song("Alpha", "Three"))});
  g_settings.currentSort = SORT_ALL_SEPARATED;
  BuildCollection(0, "Zeta\n(1 song)", 0, 1, 0);
  ASSERT_EQ(g_collection.groupCount, 2);
  EXPECT_STREQ(g_collection.caption, "All Music (Folder/Separated)");
  EXPECT_STREQ(g_collection.groups[0].label, "Alpha");   // the spelling met first in title order
  // a folder that differs only in case does not lose its songs
  EXPECT_EQ(Titles(g_collection, 0), (Strings{"Three", "Two"}));
  EXPECT_EQ(g_collection.groups[0].state, GROUP_CLOSED);
  EXPECT_EQ(g_collection.groups[1].state, GROUP_OPEN);   // the open label is cut at its line break
}

TEST_F(CollectionTest, TitleLettersForLowerCaseDigitsAndPunctuation) {
  SetLibrary({MakeSong(Song("G", "apple")), MakeSong(Song("G", "Banana")), MakeSong(Song("G", "7 Seas")),
              MakeSong(Song("G", "(Intro)")), MakeSong(Song("G", "\xE9t\xE9")), MakeSong(Song("G", ""))});
  g_settings.currentSort = SORT_TITLE;
  BuildCollection(0, nullptr, 0, 1, 0);
  ASSERT_EQ(g_collection.groupCount, 37);
  EXPECT_STREQ(g_collection.groups[0].label, "A");
  EXPECT_STREQ(g_collection.groups[26].label, "0");
  EXPECT_STREQ(g_collection.groups[36].label, "?");
  EXPECT_EQ(Titles(g_collection, 0), (Strings{"apple"}));
  EXPECT_EQ(Titles(g_collection, 1), (Strings{"Banana"}));
  EXPECT_EQ(Titles(g_collection, 33), (Strings{"7 Seas"}));
  EXPECT_EQ(Titles(g_collection, 36), (Strings{"(Intro)", "\xE9t\xE9"}));
  int placed = 0;
  for (int g = 0; g < 37; g++) placed += g_collection.groups[g].count;
  EXPECT_EQ(placed, 5);   // the song without a title is in no group
  EXPECT_EQ(Collection_Letter("zoo"), 'Z');
  EXPECT_EQ(Collection_Letter(""), 0);
}

TEST_F(CollectionTest, ArtistGroupsWalkTheArtistList) {
  SongSpec a = Song("G", "A1"), b = Song("G", "B1"), c = Song("G", "C1"), d = Song("G", "D1");
  a.artist = "beta band";
  b.artist = "Alpha";
  c.artist = "ALPHA";
  d.artist = "Alpine";
  SetLibrary({MakeSong(a), MakeSong(b), MakeSong(c), MakeSong(d)});
  g_settings.currentSort = SORT_ARTIST;
  BuildCollection(0, nullptr, 0, 1, 0);
  // "Alpha" (both spellings) before "Alpine", in artist list order
  EXPECT_EQ(Titles(g_collection, 0), (Strings{"B1", "C1", "D1"}));
  EXPECT_EQ(Titles(g_collection, 1), (Strings{"A1"}));
}

TEST_F(CollectionTest, PlayersBestIsCutToTheLimitMostPlayedFirst) {
  std::vector<SongEntry> songs;
  for (int i = 0; i < 100; i++) songs.push_back(MakeSong(Song("G", Numbered("Song ", 100 + i).c_str())));
  SetLibrary(songs);
  for (int i = 0; i < 100; i++) SetPlayCount(Numbered("Song ", 100 + i).c_str(), 0, i);
  SetPlayCount("Song 150", 1, 1000);   // another style's counter does not count for SINGLE
  g_settings.currentSort = SORT_BEST;
  BuildCollection(1, nullptr, 0, 1, 64);
  ASSERT_EQ(g_collection.groupCount, 2);   // the list and one ROULETTE
  EXPECT_STREQ(g_collection.groups[0].label, "(Player's Best)");
  EXPECT_EQ(g_collection.groups[0].state, GROUP_INLINE);
  ASSERT_EQ(g_collection.groups[0].count, 64);
  EXPECT_STREQ(g_songs[g_collection.groups[0].songs[0]].title, "Song 199");
  EXPECT_STREQ(g_songs[g_collection.groups[0].songs[63]].title, "Song 136");
  EXPECT_STREQ(g_collection.groups[1].label, "ROULETTE");
  BuildCollection(1, nullptr, 0, 1, 0);
  EXPECT_EQ(g_collection.groups[0].count, 100);
}

TEST_F(CollectionTest, PlayersBestOrdersEqualCountsAtRandom) {
  SetLibrary({MakeSong(Song("G", "Left")), MakeSong(Song("G", "Right")), MakeSong(Song("G", "Top"))});
  SetPlayCount("Top", 0, 9);
  SetPlayCount("Left", 0, 2);
  SetPlayCount("Right", 0, 2);
  g_settings.currentSort = SORT_BEST;
  std::set<std::string> seconds;
  for (int i = 0; i < 40; i++) {
    BuildCollection(1, nullptr, 0, 1, 0);
    ASSERT_EQ(Titles(g_collection, 0)[0], "Top");
    seconds.insert(Titles(g_collection, 0)[1]);
  }
  EXPECT_EQ(seconds, (std::set<std::string>{"Left", "Right"}));
}

TEST_F(CollectionTest, PlayersBestLogsEachSongWithItsCount) {
  SetLibrary({MakeSong(Song("G", "Loud")), MakeSong(Song("G", "Quiet"))});
  SetPlayCount("Loud", 0, 5);
  LogOpen(0);
  g_settings.currentSort = SORT_BEST;
  BuildCollection(1, nullptr, 0, 1, 0);
  LogOff();
  std::string log = ReadFile("rkv2.log");
  EXPECT_NE(log.find("Loud = 5\nQuiet = 0\n"), std::string::npos) << log;
}

TEST_F(CollectionTest, SmaniacOnlySongsShowOnExtraStagesOrWithShowSm) {
  SetLibrary({MakeSong(Song("G", "Easy", {3, 5, 7})), MakeSong(Song("G", "Hard", {0, 0, 0, 9}))});
  BuildCollection(1, nullptr, 0, 1, 0);
  EXPECT_EQ(Titles(g_collection, 0), (Strings{"Easy"}));
  g_settings.maxStage = 3;
  BuildCollection(1, nullptr, 0, 4, 0);   // the first extra stage
  int all = 0;
  for (int g = 0; g < g_collection.groupCount; g++) all += g_collection.groups[g].count;
  EXPECT_EQ(all, 2);
  g_collectionShowSM = true;
  BuildCollection(1, nullptr, 0, 1, 0);
  EXPECT_EQ(Titles(g_collection, 0), (Strings{"Easy", "Hard"}));
}

TEST_F(CollectionTest, FilterByStyleUsesTheStyleCharts) {
  SongSpec d = Song("G", "DoubleOnly", {0, 0, 0, 0, 4, 6});
  SongSpec s = Song("G", "SoloOnly", {});
  s.levels.assign(14, 0);
  s.levels[12] = 5;
  SetLibrary({MakeSong(Song("G", "Single")), MakeSong(d), MakeSong(s)});
  Player_SetStyle(g_players[0], "DOUBLE", 8, true);
  BuildCollection(1, nullptr, 0, 1, 0);
  EXPECT_EQ(Titles(g_collection, 0), (Strings{"DoubleOnly"}));
  Player_SetStyle(g_players[0], "SOLO", 6, true);
  BuildCollection(1, nullptr, 0, 1, 0);
  EXPECT_EQ(Titles(g_collection, 0), (Strings{"SoloOnly"}));
  BuildCollection(0, nullptr, 0, 1, 0);
  EXPECT_EQ(g_collection.groups[0].count, 3);
}

TEST_F(CollectionTest, RouletteGroupsFollowTheSortMethod) {
  SetLibrary({MakeSong(Song("G", "One"))});
  struct {
    int sort;
    int groups;
  } cases[] = {{SORT_ALL_MUSIC, 2}, {SORT_ALL_SEPARATED, 3}, {SORT_DIFFICULTY, 3}, {SORT_TITLE, 39},
               {SORT_ARTIST, 39},   {SORT_BPM, 3},           {SORT_BEST, 2}};
  for (auto& k : cases) {
    g_settings.currentSort = (uint8_t)k.sort;
    BuildCollection(1, nullptr, 0, 1, 0);
    ASSERT_EQ(g_collection.groupCount, k.groups) << k.sort;
    const CollectionGroup& r = g_collection.groups[k.groups - (k.groups == 2 ? 1 : 2)];
    EXPECT_STREQ(r.label, "ROULETTE");
    EXPECT_EQ(r.state, GROUP_CLOSED);
    EXPECT_EQ(r.count, 1);
    if (k.groups != 2) {
      EXPECT_STREQ(g_collection.groups[k.groups - 1].label, "ROULETTE (Folder)");
    }
  }
}

TEST_F(CollectionTest, LabelsCountTheirSongs) {
  SetLibrary({MakeSong(Song("Duo", "A")), MakeSong(Song("Duo", "B")), MakeSong(Song("Solo", "C")),
              MakeSong(Song("Empty", "D", {0, 0, 0}))});
  g_settings.currentSort = SORT_ALL_SEPARATED;
  BuildCollection(1, nullptr, 0, 1, 0);
  EXPECT_STREQ(g_collection.groups[GroupIndex(g_collection, "Duo")].label, "Duo\n(2 songs)");
  EXPECT_STREQ(g_collection.groups[GroupIndex(g_collection, "Solo")].label, "Solo\n(1 song)");
  EXPECT_STREQ(g_collection.groups[GroupIndex(g_collection, "Empty")].label, "Empty\n(0 songs)");
  BuildCollection(0, nullptr, 0, 1, 0);
  EXPECT_STREQ(g_collection.groups[0].label, "Duo");
}

TEST_F(CollectionTest, DifficultyKeyWeighsRatingTempoAndRadar) {
  SongEntry e = MakeSong(Song("G", "K", {0, 5, 9}));
  e.figures[1] = {10, 20, 30, 40, 50};
  // the default difficulty (BASIC) has no chart: ANOTHER, rating 5, tempo 150 (factor 1)
  EXPECT_DOUBLE_EQ(Collection_DifficultyKey(e, 0, 3, 0), 5150.0);
  // average tempo 300 is 150 away, capped at 120: factor 1.12; radar values above 120 count as 120
  e.bpmValue = 300;
  e.bpmMin = e.bpmMax = 300;
  e.figures[1] = {130, 20, 30, 400, 50};
  EXPECT_NEAR(Collection_DifficultyKey(e, 0, 3, 1), 5000 + (120 + 20 + 30 + 50) * 1.12 + 120, 1e-9);
  EXPECT_NEAR(Collection_DifficultyKey(e, 0, 3, 2), 9000.0 + 0 * 1.12, 1e-9);
  e.bpmValue = NAN;
  e.figures[1].air = INFINITY;
  EXPECT_TRUE(std::isfinite(Collection_DifficultyKey(e, 0, 3, 1)));
  SongEntry none = MakeSong(Song("G", "N", {}));
  EXPECT_DOUBLE_EQ(Collection_DifficultyKey(none, 0, 3, 0), 0.0);
}

TEST_F(CollectionTest, DifficultySortOrdersEachFolderByKey) {
  SongSpec a = Song("G", "A", {0, 8}), b = Song("G", "B", {2}), c = Song("G", "C", {5}), d = Song("G", "D", {5});
  std::vector<SongEntry> songs = {MakeSong(a), MakeSong(b), MakeSong(c), MakeSong(d)};
  songs[2].figures[0].stream = 50;   // C outweighs D at the same rating
  SetLibrary(songs);
  g_settings.currentSort = SORT_DIFFICULTY;
  BuildCollection(1, nullptr, 0, 1, 0);
  EXPECT_STREQ(g_collection.caption, "Difficulty (Folder)");
  EXPECT_EQ(Titles(g_collection, 0), (Strings{"B", "D", "C", "A"}));
  EXPECT_STREQ(g_collection.groups[0].label, "G\n(4 songs)");
}

TEST_F(CollectionTest, BpmSortsByTheLargestTempo) {
  SongSpec a = Song("G", "A"), b = Song("G", "B"), c = Song("H", "C");
  a.bpmMax = 200;
  b.bpmMax = 90;
  c.bpmMax = 140;
  SetLibrary({MakeSong(a), MakeSong(b), MakeSong(c)});
  g_settings.currentSort = SORT_BPM;
  BuildCollection(1, nullptr, 0, 1, 0);
  EXPECT_STREQ(g_collection.groups[0].label, "(BPM)");
  EXPECT_EQ(Titles(g_collection, 0), (Strings{"B", "C", "A"}));
  EXPECT_EQ(g_collection.groups[0].state, GROUP_INLINE);
}

TEST_F(CollectionTest, TheSelectedSongComesBackAfterASortChange) {
  SetLibrary({MakeSong(Song("Pack", "Moon")), MakeSong(Song("Pack", "Sun")), MakeSong(Song("Other", "Rain"))});
  BuildCollection(1, nullptr, 0, 1, 0);
  // choose "Sun" in its folder
  g_collection.selectedGroup = GroupIndex(g_collection, "Pack");
  g_settings.folderIndex = g_collection.selectedGroup;
  g_collection.selectedIndex = 1;
  ASSERT_STREQ(g_songs[Collection_SelectedSong(g_collection)].title, "Sun");
  snprintf(g_currentFolder[0], kLabelSize, "Pack");
  for (int sort : {SORT_TITLE, SORT_ARTIST, SORT_ALL_SEPARATED, SORT_DIFFICULTY, SORT_ALL_MUSIC}) {
    g_settings.currentSort = (uint8_t)sort;
    BuildCollection(1, nullptr, 0, 1, 0);
    int s = Collection_SelectedSong(g_collection);
    ASSERT_GE(s, 0) << sort;
    EXPECT_STREQ(g_songs[s].title, "Sun") << sort;
    EXPECT_TRUE(g_collection.found);
    EXPECT_EQ(g_settings.folderIndex, g_collection.selectedGroup);
    if (sort != SORT_ALL_MUSIC) {
      EXPECT_EQ(g_collection.groups[g_collection.selectedGroup].state, GROUP_OPEN) << sort;
    }
  }
  // the lists do not look for it: the first song of the list is selected
  g_settings.currentSort = SORT_BPM;
  BuildCollection(1, nullptr, 0, 1, 0);
  EXPECT_EQ(g_collection.selectedGroup, 0);
  EXPECT_EQ(g_collection.selectedIndex, 0);
}

TEST_F(CollectionTest, OnlyOneFolderStaysOpen) {
  SetLibrary({MakeSong(Song("A", "x")), MakeSong(Song("B", "y")), MakeSong(Song("C", "z"))});
  g_settings.currentSort = SORT_TITLE;
  g_collection.selectedIndex = ENTRY_FOLDER_ITEM;
  BuildCollection(1, "Y", 1, 1, 0);
  EXPECT_EQ(g_collection.restoreMode, RESTORE_NONE);
  EXPECT_EQ(g_collection.selectedGroup, GroupIndex(g_collection, "Y"));
  EXPECT_EQ(g_collection.selectedIndex, ENTRY_FOLDER_ITEM);
  int open = 0;
  for (int g = 0; g < g_collection.groupCount; g++) open += g_collection.groups[g].state == GROUP_OPEN;
  EXPECT_EQ(open, 1);
}

TEST_F(CollectionTest, FilterModeTwoReopensThePlayersFolder) {
  SetLibrary({MakeSong(Song("A", "x")), MakeSong(Song("B", "y")), MakeSong(Song("B", "w"))});
  g_settings.currentSort = SORT_ALL_SEPARATED;
  snprintf(g_currentFolder[0], kLabelSize, "B\n(2 songs)");
  g_collection.selectedIndex = ENTRY_NONE_YET;
  BuildCollection(2, nullptr, 0, 1, 64);
  int b = GroupIndex(g_collection, "B");
  EXPECT_EQ(g_collection.selectedGroup, b);
  EXPECT_EQ(g_collection.groups[b].state, GROUP_OPEN);
  EXPECT_EQ(g_collection.groups[GroupIndex(g_collection, "A")].state, GROUP_CLOSED);
}

TEST_F(CollectionTest, SeparatedWithoutAFolderOpensTheSelectedGroup) {
  SetLibrary({MakeSong(Song("A", "x")), MakeSong(Song("B", "y"))});
  g_settings.currentSort = SORT_ALL_SEPARATED;
  g_settings.folderIndex = 1;
  BuildCollection(1, nullptr, 0, 1, 0);
  EXPECT_EQ(g_collection.selectedGroup, 1);
  EXPECT_EQ(g_collection.selectedIndex, 0);
  EXPECT_EQ(g_collection.groups[1].state, GROUP_OPEN);
}

TEST_F(CollectionTest, AnEmptyLibraryKeepsTheSelectionInsideTheTable) {
  g_settings.folderIndex = 7;
  g_collection.selectedIndex = 3;
  for (int sort = 0; sort < SORT_COUNT; sort++) {
    g_settings.currentSort = (uint8_t)sort;
    EXPECT_EQ(BuildCollection(1, nullptr, 0, 1, 0), 1);
    ASSERT_GE(g_collection.selectedGroup, 0);
    ASSERT_LT(g_collection.selectedGroup, std::max(1, g_collection.groupCount));
    EXPECT_LT(g_collection.selectedIndex, std::max(1, (int)g_collection.groups[g_collection.selectedGroup].count));
    EXPECT_EQ(Collection_SelectedSong(g_collection), -1);
  }
  g_settings.currentSort = SORT_ALL_MUSIC;
  BuildCollection(0, nullptr, 0, 1, 0);
  EXPECT_EQ(g_collection.groupCount, 0);
  EXPECT_EQ(g_collection.selectedGroup, 0);
}

TEST_F(CollectionTest, SkinColoursForSongsAndGroups) {
  SetLibrary({MakeSong(Song("A", "x")), MakeSong(Song("B", "y")), MakeSong(Song("C", "z"))});
  g_skinConfig.songs.count = 2;
  g_skinConfig.songs.values[0] = 0x111111;
  g_skinConfig.songs.values[1] = 0x222222;
  g_skinConfig.folders.count = 1;
  g_skinConfig.folders.values[0] = 0x333333;
  g_settings.currentSort = SORT_ALL_SEPARATED;
  BuildCollection(1, nullptr, 0, 1, 0);
  EXPECT_EQ(g_songs[FindSong("x")].colour, 0x111111u);
  EXPECT_EQ(g_songs[FindSong("y")].colour, 0x222222u);
  EXPECT_EQ(g_songs[FindSong("z")].colour, 0x111111u);   // wraps to the first colour
  EXPECT_EQ(g_collection.groups[2].colour, 0x333333u);
  EXPECT_EQ(g_collection.groups[3].colour, 0xFFFFFFu);   // ROULETTE
  g_skinConfig.songs.count = 0;
  BuildCollection(1, nullptr, 0, 1, 0);
  EXPECT_EQ(g_songs[FindSong("z")].colour, 0xFFFFFFu);
  EXPECT_EQ(g_collection.groups[0].colour, 0xFFFFFFu);
}

TEST_F(CollectionTest, RecordsAreLinkedByGroupAndFolder) {
  SetLibrary({MakeSong(Song("Pack", "Known")), MakeSong(Song("Pack", "New"))});
  SetPlayCount("Known", 0, 1);
  RecordTable profile;
  profile.profile = "someone";
  profile.records.push_back(Records_New("Pack\\New", 0));
  profile.results.emplace_back();
  profile.index["Pack\\New"] = 0;
  g_playerRecords[1] = &profile;
  g_records.records[0].used = 0;
  BuildCollection(0, nullptr, 0, 1, 0);
  const SongEntry& known = g_songs[FindSong("Known")];
  EXPECT_EQ(known.record, 0);
  EXPECT_EQ(g_records.records[0].used, 1);
  EXPECT_EQ(known.profileRecord[0], -1);
  EXPECT_EQ(known.profileRecord[1], -1);
  EXPECT_EQ(g_songs[FindSong("New")].record, -1);
  EXPECT_EQ(g_songs[FindSong("New")].profileRecord[1], 0);
  g_playerRecords[1] = nullptr;
}

TEST_F(CollectionTest, AGroupHoldsAtMostItsBoundOfSongs) {
  std::vector<SongEntry> songs;
  for (int i = 0; i < kGroupEntries + 5; i++) songs.push_back(MakeSong(Song("Big", Numbered("T", i).c_str())));
  SetLibrary(songs);
  LogOpen(0);
  BuildCollection(1, nullptr, 0, 1, 0);
  LogOff();
  EXPECT_EQ(g_collection.groups[0].count, kGroupEntries);
  std::string cut = "Group 'Big' holds more than " + std::to_string(kGroupEntries) + " songs";
  EXPECT_NE(ReadFile("rkv2.log").find(cut), std::string::npos);
}

TEST_F(CollectionTest, NewGameResetsSortFolderAndSelection) {
  g_settings.defaultSort = SORT_BPM;
  g_settings.folderIndex = 4;
  g_collection.selectedIndex = 2;
  snprintf(g_currentFolder[1], kLabelSize, "X");
  Collection_NewGame();
  EXPECT_EQ(g_settings.currentSort, SORT_BPM);
  EXPECT_EQ(g_settings.folderIndex, 0);
  EXPECT_EQ(g_collection.selectedIndex, ENTRY_NONE_YET);
  EXPECT_STREQ(g_currentFolder[1], " ");
}
}  // namespace
