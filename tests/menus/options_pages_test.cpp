// The settings pages without a screen: their items, the value texts of each
// stored value, the steps of Left/Right, the cursor and the keys of both players,
// and records from the loader or from long random edits.
#include "chart/random.h"
#include "media/input/input.h"
#include "menus/options_page_input.h"
#include <gtest/gtest.h>
#include <cstring>
#include <map>
#include <regex>
#include <set>
#include <string>
#include <vector>

namespace {
Settings defaults() {
  Settings s;
  Settings_Defaults(s);
  return s;
}

std::string value(const Settings& s, OptionsItemId id, const OptionsPlugins& p = {}) {
  char t[kOptionsValueSize];
  OptionsItem_Value(s, id, p, t, sizeof t);
  return t;
}

std::vector<std::string> labels(int page) {
  const OptionsPageDef& d = OptionsPage_Def(page);
  std::vector<std::string> out;
  for (int i = 0; i < d.count; i++) out.push_back(OptionsItem_Label(d.items[i]));
  return out;
}

// Every text an item may show, as the menu's tables write them.
bool validText(OptionsItemId id, const std::string& t) {
  static const std::map<std::string, std::set<std::string>> choices = {
      {"Announcer", {"OFF", "ON"}},           {"Revive (2P Mode)", {"OFF", "ON"}},
      {"Game Over", {"END OF MUSIC", "ARCADE"}}, {"Extra Stages", {"OFF", "RANDOM", "CHOICE"}},
      {"Combo Type", {"ORIGINAL", "MAX"}},    {"Auto Play", {"ON", "OFF"}},
      {"User Profiles", {"OFF", "ON"}},       {"Channels", {"MONO", "STEREO"}},
      {"Frequency", {"11KHz", "22KHz", "44KHz"}}, {"Resolution", {"8-bit", "16-bit"}},
      {"Danger Display", {"OFF", "ON"}},      {"Process BG Scripts", {"OFF", "ON"}},
      {"Random Animations", {"OFF", "AVI", "VIS", "BOTH"}}, {"Number to Use", {"SINGLE", "MULTIPLE"}},
      {"Plug-in to Use", {"(NO PLUG-INS AVAILABLE)"}}, {"Display Lyrics", {"OFF", "ON"}},
      {"Screen", {"WINDOW", "FULLSCREEN"}},   {"Sort By", {"GENRE", "FOLDER"}},
      {"Default Sort Method",
       {"All Music", "All Music (Separated)", "Difficulty", "Title", "Artist", "BPM", "Player's Best"}},
      {"Default Difficulty", {"LIGHT", "STANDARD", "HEAVY"}},
      {"Attract/Demo", {"OFF", "ON"}},        {"Show FPS", {"ON", "OFF"}},
      {"Show Beat", {"ON", "OFF"}},           {"Time Limit", {"OFF", "ON"}},
      {"DEFAULT", {"50 / 90 / 115 / 140 ms"}},
  };
  static const std::map<std::string, std::string> patterns = {
      {"Difficulty", "[0-9]"},
      {"Max Stage", "[1-5]|Unlimited"},
      {"Break Stage After", "OFF|[1-9]|10"},
      {"Volume", "(0|5|[1-9][05]|100) %"},
      {"BG Brightness", "([5-9]|10)0%"},
      {"AVI Quality", "OFF|[1-9]|10"},
      {"SVP Quality", "OFF|[1-9]|10"},
      {"PERFECT", "[0-9]+ ms"},
      {"GREAT", "[0-9]+ ms"},
      {"GOOD", "[0-9]+ ms"},
      {"BOO", "[0-9]+ ms"},
      {"Global GAP", "-?[0-9]+"},
      {"Replays Kept", "BEST ONLY|[1-9][0-9]*"},
  };
  std::string label = OptionsItem_Label(id);
  if (OptionsItem_IsHeading(id) || id == OPT_RETURN || OptionsItem_OpensScreen(id)) return t.empty();
  if (auto c = choices.find(label); c != choices.end()) return c->second.count(t) > 0;
  if (auto p = patterns.find(label); p != patterns.end()) return std::regex_match(t, std::regex(p->second));
  return false;
}

void expectAllValid(const Settings& s) {
  for (int p = 0; p < OPAGE_COUNT; p++) {
    const OptionsPageDef& d = OptionsPage_Def(p);
    for (int i = 0; i < d.count; i++)
      EXPECT_TRUE(validText(d.items[i], value(s, d.items[i]))) << OptionsItem_Label(d.items[i]) << " shows '"
                                                               << value(s, d.items[i]) << "'";
  }
}

// The texts an item shows going Right from the settings `s` until it comes back
// or stops (at most 40 steps).
std::vector<std::string> rightwards(Settings s, OptionsItemId id) {
  std::vector<std::string> seen{value(s, id)};
  for (int n = 0; n < 40 && OptionsItem_Change(s, id, 1, 0, {}); n++) {
    std::string t = value(s, id);
    if (t == seen[0]) break;
    seen.push_back(t);
  }
  return seen;
}

using Strings = std::vector<std::string>;
}  // namespace

TEST(OptionsPages, ItemsOfEachPageInOrder) {
  EXPECT_STREQ(OptionsPage_Def(OPAGE_GAME).title, "Game Options");
  EXPECT_EQ(labels(OPAGE_GAME), (Strings{"Difficulty", "Announcer", "Revive (2P Mode)", "Game Over", "Max Stage",
                                         "Extra Stages", "Combo Type", "Auto Play", "Break Stage After",
                                         "User Profiles", "Replays Kept", "Return"}));
  EXPECT_STREQ(OptionsPage_Def(OPAGE_GAME).note, "(Break Stages only occur in Nonstop Courses that Repeat)");
  EXPECT_EQ(labels(OPAGE_SOUND), (Strings{"Channels", "Frequency", "Resolution", "Volume", "Return"}));
  EXPECT_STREQ(OptionsPage_Def(OPAGE_SOUND).note, "Changes to sound quality will not take effect until restart.");
  EXPECT_EQ(labels(OPAGE_BACKGROUND),
            (Strings{"General", "Danger Display", "Process BG Scripts", "Random Animations", "BG Brightness",
                     "Movie Playback", "AVI Quality", "Visualization Playback", "SVP Quality", "Number to Use",
                     "Plug-in to Use", "Lyrics Support", "Display Lyrics", "Return"}));
  EXPECT_EQ(labels(OPAGE_SYSTEM),
            (Strings{"Screen", "Sort By", "Default Sort Method", "Default Difficulty", "Attract/Demo", "Show FPS",
                     "Show Beat", "Time Limit", "Edit Timings", "PERFECT", "GREAT", "GOOD", "BOO", "DEFAULT",
                     "Global GAP", "Timing Calibration", "Return"}));
  for (int p = 0; p < OPAGE_COUNT; p++) EXPECT_LE(OptionsPage_Def(p).count, kOptionsMaxRows);
}

// Each stored byte names the value the game gives it: "Auto Play" and "Show FPS"
// are ON at 0, "Show Beat" and "Game Over" ARCADE at 1.
TEST(OptionsPages, ChoicesNameWhatTheGameDoesWithTheByte) {
  struct Case {
    size_t field;
    uint8_t stored;
    OptionsItemId id;
    const char* shown;
  };
  const Case cases[] = {
      {offsetof(Settings, autoPlay), 1, OPT_AUTO_PLAY, "OFF"},   // the default: the players play
      {offsetof(Settings, autoPlay), 0, OPT_AUTO_PLAY, "ON"},
      {offsetof(Settings, showFps), 0, OPT_SHOW_FPS, "ON"},
      {offsetof(Settings, showFps), 1, OPT_SHOW_FPS, "OFF"},
      {offsetof(Settings, showBeat), 1, OPT_SHOW_BEAT, "ON"},
      {offsetof(Settings, showBeat), 0, OPT_SHOW_BEAT, "OFF"},
      {offsetof(Settings, gameOver), 0, OPT_GAME_OVER, "END OF MUSIC"},
      {offsetof(Settings, stereo), 0, OPT_CHANNELS, "MONO"},
      {offsetof(Settings, frequency), 1, OPT_FREQUENCY, "22KHz"},
      {offsetof(Settings, sixteenBit), 0, OPT_RESOLUTION, "8-bit"},
      {offsetof(Settings, fullScreen), 1, OPT_SCREEN, "FULLSCREEN"},
      {offsetof(Settings, defaultDifficulty), 2, OPT_DEFAULT_DIFFICULTY, "HEAVY"},
      {offsetof(Settings, randomAnimations), 2, OPT_RANDOM_ANIMATIONS, "VIS"},
  };
  for (const Case& c : cases) {
    Settings s = defaults();
    reinterpret_cast<uint8_t*>(&s)[c.field] = c.stored;
    EXPECT_EQ(value(s, c.id), c.shown) << OptionsItem_Label(c.id) << " at " << (int)c.stored;
  }

  // lists wrap round
  EXPECT_EQ(rightwards(defaults(), OPT_EXTRA_STAGES), (Strings{"CHOICE", "OFF", "RANDOM"}));
  EXPECT_EQ(rightwards(defaults(), OPT_RANDOM_ANIMATIONS), (Strings{"BOTH", "OFF", "AVI", "VIS"}));
  EXPECT_EQ(rightwards(defaults(), OPT_FREQUENCY), (Strings{"44KHz", "11KHz", "22KHz"}));
  Settings t = defaults();
  EXPECT_TRUE(OptionsItem_Change(t, OPT_ANNOUNCER, -1, 0, {}));
  EXPECT_EQ(t.announcer, 0);
}

TEST(OptionsPages, NumbersStopAtTheirEnds) {
  EXPECT_EQ(rightwards(defaults(), OPT_MAX_STAGE), (Strings{"3", "4", "5", "Unlimited"}));
  EXPECT_EQ(rightwards(defaults(), OPT_BREAK_AFTER), (Strings{"4", "5", "6", "7", "8", "9", "10"}));
  EXPECT_EQ(rightwards(defaults(), OPT_BG_BRIGHTNESS), (Strings{"80%", "90%", "100%"}));
  EXPECT_EQ(rightwards(defaults(), OPT_VOLUME).back(), "100 %");

  Settings s = defaults();
  s.maxStage = 1;
  EXPECT_FALSE(OptionsItem_Change(s, OPT_MAX_STAGE, -1, 0, {}));
  s.breakAfter = 1;
  ASSERT_TRUE(OptionsItem_Change(s, OPT_BREAK_AFTER, -1, 0, {}));
  EXPECT_EQ(value(s, OPT_BREAK_AFTER), "OFF");
  EXPECT_FALSE(OptionsItem_Change(s, OPT_BREAK_AFTER, -1, 0, {}));
  s.aviQuality = 0;
  s.svpQuality = 10;
  EXPECT_EQ(value(s, OPT_AVI_QUALITY), "OFF");
  EXPECT_FALSE(OptionsItem_Change(s, OPT_SVP_QUALITY, 1, 0, {}));
  s.volume = 0;
  EXPECT_EQ(value(s, OPT_VOLUME), "0 %");
  EXPECT_FALSE(OptionsItem_Change(s, OPT_VOLUME, -1, 0, {}));
  ASSERT_TRUE(OptionsItem_Change(s, OPT_VOLUME, 1, 0, {}));
  EXPECT_EQ(s.volume, 5);

  // a stored brightness off the tens shows its ten and steps onto the next
  s.bgBrightness = 85;
  EXPECT_EQ(value(s, OPT_BG_BRIGHTNESS), "80%");
  Settings up = s, down = s;
  OptionsItem_Change(up, OPT_BG_BRIGHTNESS, 1, 0, {});
  OptionsItem_Change(down, OPT_BG_BRIGHTNESS, -1, 0, {});
  EXPECT_EQ(up.bgBrightness, 90);
  EXPECT_EQ(down.bgBrightness, 80);
  s.bgBrightness = 50;
  EXPECT_FALSE(OptionsItem_Change(s, OPT_BG_BRIGHTNESS, -1, 0, {}));

  // "Difficulty" runs 1..9; a stored 0 only comes up
  s.difficulty = 0;
  EXPECT_EQ(value(s, OPT_DIFFICULTY), "0");
  EXPECT_FALSE(OptionsItem_Change(s, OPT_DIFFICULTY, -1, 0, {}));
  ASSERT_TRUE(OptionsItem_Change(s, OPT_DIFFICULTY, 1, 0, {}));
  EXPECT_EQ(s.difficulty, 1);
  EXPECT_FALSE(OptionsItem_Change(s, OPT_DIFFICULTY, -1, 0, {}));
  s.difficulty = 9;
  EXPECT_FALSE(OptionsItem_Change(s, OPT_DIFFICULTY, 1, 0, {}));
}

TEST(OptionsPages, TimingWindowsKeepTheirOrderAndLimits) {
  Settings s = defaults();
  EXPECT_EQ(value(s, OPT_WINDOW_GOOD), "115 ms");
  EXPECT_FALSE(OptionsItem_Change(s, OPT_WINDOW_BOO, 1, 0, {}));   // none above its default
  // GREAT down to PERFECT and no further
  for (int i = 0; i < 60; i++) OptionsItem_Change(s, OPT_WINDOW_GREAT, -1, 0, {});
  EXPECT_EQ(s.windows[1], 50);
  // now PERFECT cannot pass GREAT either way round
  EXPECT_FALSE(OptionsItem_Change(s, OPT_WINDOW_PERFECT, 1, 0, {}));
  for (int i = 0; i < 80; i++) OptionsItem_Change(s, OPT_WINDOW_PERFECT, -1, 0, {});
  EXPECT_EQ(s.windows[0], 1);
  // a held key takes 5 ms at a time after 8 repeats
  ASSERT_TRUE(OptionsItem_Change(s, OPT_WINDOW_PERFECT, 1, 8, {}));
  EXPECT_EQ(s.windows[0], 5);
  // "DEFAULT" puts the four back, whichever way it is pressed
  EXPECT_TRUE(OptionsItem_IsAction(OPT_WINDOWS_DEFAULT));
  ASSERT_TRUE(OptionsItem_Change(s, OPT_WINDOWS_DEFAULT, -1, 0, {}));
  EXPECT_EQ(std::vector<int>(s.windows, s.windows + 4), (std::vector<int>{50, 90, 115, 140}));
  EXPECT_FALSE(OptionsItem_Change(s, OPT_WINDOWS_DEFAULT, 1, 0, {}));

  // the loader may leave GREAT below PERFECT (60, 40 load as 50, 41): each
  // steps only towards order
  s.windows[1] = 41;
  EXPECT_FALSE(OptionsItem_Change(s, OPT_WINDOW_GREAT, -1, 0, {}));
  EXPECT_TRUE(OptionsItem_Change(s, OPT_WINDOW_PERFECT, -1, 0, {}));
  EXPECT_FALSE(OptionsItem_Change(s, OPT_WINDOW_PERFECT, 1, 0, {}));
  EXPECT_TRUE(OptionsItem_Change(s, OPT_WINDOW_GREAT, 1, 0, {}));
}

TEST(OptionsPages, GlobalGapSpeedsUpWhileHeldAndStopsAtTheLimits) {
  OptionsPageDef page = OptionsPage_Def(OPAGE_SYSTEM);
  OptionsEdit e;
  Settings_Defaults(e.settings);
  OptionsPageState st = OptionsPage_Begin(page);
  while (page.items[st.cursor] != OPT_GLOBAL_GAP) OptionsPage_Input(page, st, e, MENU_DOWN, 0, {});
  // held: a change every 125 ms
  std::vector<int> gaps;
  uint32_t t = 1000;
  for (int n = 0; n < 20; n++, t += 125) {
    EXPECT_EQ(OptionsPage_Input(page, st, e, MENU_RIGHT, t, {}), OPEV_CHANGED);
    gaps.push_back(e.settings.globalGap);
  }
  EXPECT_EQ(gaps[7], 8);     // 1 at a time at first
  EXPECT_EQ(gaps[8], 10);    // then by tens
  EXPECT_EQ(gaps[15], 80);
  EXPECT_EQ(gaps[16], 100);  // then by fifties
  EXPECT_EQ(gaps[19], 250);
  // let go, then pressed again: 1 at a time
  t += 1000;
  OptionsPage_Input(page, st, e, MENU_LEFT, t, {});
  EXPECT_EQ(e.settings.globalGap, 249);
  e.settings.globalGap = 990;
  for (int n = 0; n < 30; n++, t += 125) OptionsPage_Input(page, st, e, MENU_RIGHT, t, {});
  EXPECT_EQ(e.settings.globalGap, 1000);
  EXPECT_EQ(OptionsPage_Input(page, st, e, MENU_RIGHT, t, {}), OPEV_REFUSED);
  EXPECT_EQ(value(e.settings, OPT_GLOBAL_GAP), "1000");
  e.settings.globalGap = -1000;
  EXPECT_EQ(value(e.settings, OPT_GLOBAL_GAP), "-1000");
  EXPECT_FALSE(OptionsItem_Change(e.settings, OPT_GLOBAL_GAP, -1, 30, {}));
}

// "Replays Kept" edits the menu's working number, not the settings record.
TEST(OptionsPages, ReplaysKeptByTensThenHundredsAndBestOnlyAtZero) {
  Settings s;
  Settings_Defaults(s);
  Settings before = s;
  g_optionsReplayKeep = 200;
  EXPECT_EQ(value(s, OPT_REPLAYS_KEPT), "200");
  EXPECT_TRUE(OptionsItem_Change(s, OPT_REPLAYS_KEPT, 1, 0, {}));
  EXPECT_EQ(g_optionsReplayKeep, 210);
  EXPECT_TRUE(OptionsItem_Change(s, OPT_REPLAYS_KEPT, 1, 8, {}));   // held: by hundreds
  EXPECT_EQ(g_optionsReplayKeep, 300);
  g_optionsReplayKeep = 15;   // a hand-set number steps onto the grid
  EXPECT_TRUE(OptionsItem_Change(s, OPT_REPLAYS_KEPT, -1, 0, {}));
  EXPECT_EQ(g_optionsReplayKeep, 10);
  EXPECT_TRUE(OptionsItem_Change(s, OPT_REPLAYS_KEPT, -1, 0, {}));
  EXPECT_EQ(value(s, OPT_REPLAYS_KEPT), "BEST ONLY");
  EXPECT_FALSE(OptionsItem_Change(s, OPT_REPLAYS_KEPT, -1, 0, {}));
  g_optionsReplayKeep = 10000;
  EXPECT_FALSE(OptionsItem_Change(s, OPT_REPLAYS_KEPT, 1, 0, {}));
  EXPECT_EQ(memcmp(&s, &before, sizeof s), 0);
  EXPECT_STREQ(OptionsItem_Note(OPT_REPLAYS_KEPT), "The best play of each song is always kept.");
  g_optionsReplayKeep = 200;
}

TEST(OptionsPages, SortMethodNeverAllMusicByGenre) {
  Settings s = defaults();   // FOLDER, "All Music"
  EXPECT_EQ(value(s, OPT_DEFAULT_SORT), "All Music");
  EXPECT_EQ(rightwards(s, OPT_DEFAULT_SORT),
            (Strings{"All Music", "All Music (Separated)", "Difficulty", "Title", "Artist", "BPM", "Player's Best"}));
  // turning "Sort By" to GENRE takes the method on, as the loader would
  ASSERT_TRUE(OptionsItem_Change(s, OPT_SORT_BY, 1, 0, {}));
  EXPECT_EQ(value(s, OPT_SORT_BY), "GENRE");
  EXPECT_EQ(value(s, OPT_DEFAULT_SORT), "All Music (Separated)");
  Strings genre = rightwards(s, OPT_DEFAULT_SORT);
  EXPECT_EQ(genre.size(), 6u);
  EXPECT_EQ(std::count(genre.begin(), genre.end(), "All Music"), 0);
  ASSERT_TRUE(OptionsItem_Change(s, OPT_DEFAULT_SORT, -1, 0, {}));
  EXPECT_EQ(value(s, OPT_DEFAULT_SORT), "Player's Best");
}

TEST(OptionsPages, PluginsOnceThereAreAny) {
  Settings s = defaults();
  OptionsPlugins none;
  EXPECT_EQ(value(s, OPT_VIS_PLUGIN, none), "(NO PLUG-INS AVAILABLE)");
  EXPECT_TRUE(OptionsItem_Dim(OPT_VIS_PLUGIN, none));
  EXPECT_FALSE(OptionsItem_Change(s, OPT_VIS_PLUGIN, 1, 0, none));

  const char* names[2] = {"Aurora", "Pulse Grid"};
  OptionsPlugins two{2, names};
  EXPECT_FALSE(OptionsItem_Dim(OPT_VIS_PLUGIN, two));
  EXPECT_EQ(value(s, OPT_VIS_PLUGIN, two), "(RANDOM)");
  Strings seen;
  for (int i = 0; i < 3; i++) {
    ASSERT_TRUE(OptionsItem_Change(s, OPT_VIS_PLUGIN, 1, 0, two));
    seen.push_back(value(s, OPT_VIS_PLUGIN, two));
  }
  EXPECT_EQ(seen, (Strings{"Aurora", "Pulse Grid", "(RANDOM)"}));
  ASSERT_TRUE(OptionsItem_Change(s, OPT_VIS_PLUGIN, -1, 0, two));
  EXPECT_EQ(s.visPlugin, 2);
  s.visPlugin = 7;   // stored when more plug-ins were there
  EXPECT_EQ(value(s, OPT_VIS_PLUGIN, two), "(RANDOM)");
}

TEST(OptionsPages, CursorPassesHeadingsAndBothPlayersDriveThePage) {
  const OptionsPageDef& page = OptionsPage_Def(OPAGE_BACKGROUND);
  OptionsEdit e;
  Settings_Defaults(e.settings);
  OptionsPageState st = OptionsPage_Begin(page);
  EXPECT_EQ(page.items[st.cursor], OPT_DANGER);   // not the heading "General"
  // up from the first item wraps to "Return"
  EXPECT_EQ(OptionsPage_Input(page, st, e, MENU_UP, 0, {}), OPEV_MOVED);
  EXPECT_EQ(page.items[st.cursor], OPT_RETURN);
  // player 2's Down (the second byte) steps over "Lyrics Support" ... and wraps
  EXPECT_EQ(OptionsPage_Input(page, st, e, MENU_DOWN << MENU_P2_SHIFT, 0, {}), OPEV_MOVED);
  EXPECT_EQ(page.items[st.cursor], OPT_DANGER);
  std::vector<OptionsItemId> visited;
  for (int i = 0; i < 9; i++) {
    OptionsPage_Input(page, st, e, MENU_DOWN, 0, {});
    visited.push_back(page.items[st.cursor]);
  }
  EXPECT_EQ(visited, (std::vector<OptionsItemId>{OPT_BG_SCRIPTS, OPT_RANDOM_ANIMATIONS, OPT_BG_BRIGHTNESS,
                                                 OPT_AVI_QUALITY, OPT_SVP_QUALITY, OPT_VIS_NUMBER, OPT_VIS_PLUGIN,
                                                 OPT_LYRICS, OPT_RETURN}));
  // Left/Right on "Return" do nothing; Start there leaves
  EXPECT_EQ(OptionsPage_Input(page, st, e, MENU_RIGHT, 0, {}), OPEV_NONE);
  EXPECT_EQ(OptionsPage_Input(page, st, e, MENU_START << MENU_P2_SHIFT, 0, {}), OPEV_LEAVE);
  // Start on a value changes it as Right does; player 2's Left changes it back
  st = OptionsPage_Begin(page);
  EXPECT_EQ(OptionsPage_Input(page, st, e, MENU_START, 0, {}), OPEV_CHANGED);
  EXPECT_EQ(e.settings.dangerDisplay, 0);
  EXPECT_EQ(OptionsPage_Input(page, st, e, MENU_LEFT << MENU_P2_SHIFT, 500, {}), OPEV_CHANGED);
  EXPECT_EQ(e.settings.dangerDisplay, 1);
  EXPECT_FALSE(e.sortByChanged);
  // Escape, or either player's Select, backs out
  EXPECT_EQ(OptionsPage_Input(page, st, e, MENU_ESCAPE, 0, {}), OPEV_LEAVE);
  EXPECT_EQ(OptionsPage_Input(page, st, e, MENU_SELECT << MENU_P2_SHIFT, 0, {}), OPEV_LEAVE);
  // "Plug-in to Use" without plug-ins refuses
  while (page.items[st.cursor] != OPT_VIS_PLUGIN) OptionsPage_Input(page, st, e, MENU_DOWN, 0, {});
  EXPECT_EQ(OptionsPage_Input(page, st, e, MENU_RIGHT, 0, {}), OPEV_REFUSED);
}

TEST(OptionsPages, NotesOfThePageAndOfTheItemUnderTheCursor) {
  const char* notes[2];
  const OptionsPageDef& game = OptionsPage_Def(OPAGE_GAME);
  OptionsPageState st = OptionsPage_Begin(game);
  ASSERT_EQ(OptionsPage_Notes(game, st, notes), 1);
  EXPECT_STREQ(notes[0], "(Break Stages only occur in Nonstop Courses that Repeat)");

  const OptionsPageDef& sys = OptionsPage_Def(OPAGE_SYSTEM);
  OptionsEdit e;
  Settings_Defaults(e.settings);
  st = OptionsPage_Begin(sys);
  ASSERT_EQ(OptionsPage_Notes(sys, st, notes), 1);
  EXPECT_STREQ(notes[0], "Changing screen mode requires program restart.");
  OptionsPage_Input(sys, st, e, MENU_DOWN, 0, {});
  EXPECT_EQ(OptionsPage_Notes(sys, st, notes), 0);
  OptionsPage_Input(sys, st, e, MENU_DOWN, 0, {});
  OptionsPage_Input(sys, st, e, MENU_DOWN, 0, {});
  ASSERT_EQ(OptionsPage_Notes(sys, st, notes), 1);
  EXPECT_STREQ(notes[0], "Default is also used when sorting by difficulty.");
  // and "Sort By" changed through the page is marked for the collection
  OptionsPage_Input(sys, st, e, MENU_UP, 0, {});
  OptionsPage_Input(sys, st, e, MENU_UP, 0, {});
  OptionsPage_Input(sys, st, e, MENU_RIGHT, 0, {});
  EXPECT_EQ(e.settings.sortBy, 0);
  EXPECT_TRUE(e.sortByChanged);
}

// A settings file of random bytes: the loader brings it into range, and every
// page shows a proper text for every item.
TEST(OptionsPages, ALoadedRecordOfAnyBytesShowsProperTexts) {
  Random_Seed(77);
  for (int n = 0; n < 300; n++) {
    uint8_t bytes[sizeof(Settings)];
    for (uint8_t& b : bytes) b = (uint8_t)Random_Below(256);
    bytes[0] = kSettingsVersion;
    ASSERT_TRUE(Settings_LoadRecord(bytes, sizeof bytes, 0));
    SCOPED_TRACE(n);
    expectAllValid(g_settings);
  }
  Settings_Defaults(g_settings);
}

// Random presses over every page: each edit leaves a record the loader keeps
// byte for byte, so what is written is what will be read.
TEST(OptionsPages, EditsAlwaysGiveARecordTheLoaderKeeps) {
  Random_Seed(5);
  const uint32_t keys[] = {MENU_UP, MENU_DOWN, MENU_LEFT, MENU_RIGHT, MENU_START, MENU_RIGHT, MENU_LEFT};
  OptionsEdit e;
  Settings_Defaults(e.settings);
  uint32_t t = 0;
  for (int p = 0; p < OPAGE_COUNT; p++) {
    const OptionsPageDef& page = OptionsPage_Def(p);
    OptionsPageState st = OptionsPage_Begin(page);
    for (int n = 0; n < 3000; n++) {
      t += Random_Below(2) ? 125 : 400;
      if (OptionsPage_Input(page, st, e, keys[Random_Below(7)], t, {}) == OPEV_LEAVE) continue;
      Settings loaded = e.settings;
      Settings_ApplyLoadRules(loaded, 0);
      ASSERT_EQ(memcmp(&loaded, &e.settings, sizeof loaded), 0) << "page " << p << " press " << n;
    }
  }
  expectAllValid(e.settings);
}
