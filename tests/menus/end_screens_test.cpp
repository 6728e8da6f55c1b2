// The game-over screen and the credits, run whole on the dummy window and audio
// device over a library the test writes, with scripted keys and F11 screenshots
// (TV_SCREENSHOT_DIR=folder keeps them for a look).
#include "menus/test_screen.h"
#include "library/settings.h"
#include "library/song_list.h"
#include "media/audio/audio.h"
#include "media/draw_helpers.h"
#include "media/font/font.h"
#include "media/input/input.h"
#include "media/input_script.h"
#include "media/render/screen.h"
#include "media/skin/skin_config.h"
#include "media/sound/sound_fx.h"
#include "media/window.h"
#include "menus/credits_motion.h"
#include "menus/credits_screen.h"
#include "menus/credits_text.h"
#include "menus/game_over_screen.h"
#include "platform/clock.h"
#include "platform/log.h"
#include "support/game_library.h"
#include "support/test_support.h"
#include <FreeImage.h>
#include <gtest/gtest.h>
#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <functional>
#include <memory>
#include <string>
#include <vector>

namespace fs = std::filesystem;

namespace {
constexpr int kF11 = 87, kEscape = 1, kSpace = 57, kTab = 15;   // player 1: Space Start, Tab Select

const Pixel kWhite = [](int r, int g, int b) { return r > 200 && g > 200 && b > 200; };
const Pixel kYellow = [](int r, int g, int b) { return r > 150 && g > 150 && b < 100; };

bool near(uint32_t a, uint32_t b) {
  for (int s = 0; s <= 16; s += 8)
    if (std::abs((int)((a >> s) & 0xFF) - (int)((b >> s) & 0xFF)) > 4) return false;
  return true;
}
bool songColour(uint32_t c, int songs) {
  for (int n = 1; n <= songs; n++)
    if (near(c, GameLibrary_SongColour(n))) return true;
  return false;
}
int count(const std::string& text, const std::string& part) {
  int n = 0;
  for (size_t p = text.find(part); p != std::string::npos; p = text.find(part, p + 1)) n++;
  return n;
}
long numberAfter(const std::string& text, const std::string& part) {
  size_t p = text.find(part);
  return p == std::string::npos ? -1 : std::atol(text.c_str() + p + part.size());
}
// A BMP header of a picture far too large to load (9000 x 6750), without its pixels.
std::string enormousBmp() {
  auto le = [](uint32_t v) { return std::string{(char)v, (char)(v >> 8), (char)(v >> 16), (char)(v >> 24)}; };
  return "BM" + le(54) + le(0) + le(54) + le(40) + le(9000) + le(6750) + std::string("\x01\x00\x18\x00", 4) +
         std::string(24, '\0');
}

class EndScreens : public ::testing::Test {
 protected:
  TempDir dir;
  std::vector<ScriptEvent> script;
  uint32_t startedAt = 0;

  void SetUp() override {
    Settings_Defaults(g_settings);   // the frame-rate meter is off
    ASSERT_TRUE(TestScreen_Open());
    ASSERT_TRUE(Audio_Init(-1, 44100, 0, nullptr) && Audio_Start());
    ASSERT_TRUE(TestScreen_UseGameSkin({"Skins", "Sounds"}));
    LoadSounds("Default", "Default");   // with the sets' credits
    LoadSkinConfig("Default");          // the skin's author
    LogOpen(0);
    startedAt = Clock_Ms();
  }
  void TearDown() override {
    LogOff();
    FreeSounds();
    Draw_Free();
    Audio_Free();
    TestScreen_Close();
    g_songs.clear();
  }
  void library(int songs, int seconds, bool backgrounds) {
    GameLibrary lib;
    lib.songs = songs;
    lib.seconds = seconds;
    lib.backgrounds = backgrounds;
    ASSERT_EQ((int)WriteGameLibrary(lib).size(), songs);
    ASSERT_EQ(IndexGameLibrary(), songs);
    startedAt = Clock_Ms();   // the keys' times count from here
  }
  // A key pressed `atMs` after the test began.
  void press(uint32_t atMs, int code) {
    script.push_back(ScriptEvent{startedAt + atMs, 0, 1, 0, (uint8_t)code});
    script.push_back(ScriptEvent{startedAt + atMs + 60, 0, 0, 0, (uint8_t)code});
    InputScript_Set(script);
  }
  uint32_t sinceStart() const { return Clock_Ms() - startedAt; }
  static std::vector<std::string> shots() { return TestScreen_Shots(); }
  static bool screenLit() {
    for (int y = 0; y < 480; y++)
      for (int x = 0; x < 640; x++)
        if (Screen_Pixel(x, y)) return true;
    return false;
  }
};

TEST_F(EndScreens, GameOverWordsAreCentredForFourSecondsThenTheMusicStops) {
  uint32_t music = Audio_SamplePlay(Audio_SampleLoad(false, "Sounds/Default/tsloop.wav", 0, 0, 1, AUDIO_SAMPLE_LOOP));
  ASSERT_NE(Audio_ChannelIsActive(music), AUDIO_ACTIVE_STOPPED);
  press(1500, kF11);      // full opacity
  press(2000, kEscape);   // the screen is not cut short
  GameOverScreen(true, music);
  EXPECT_GE(sinceStart(), kGameOverMs);
  EXPECT_LT(sinceStart(), kGameOverMs + 1500);
  EXPECT_EQ(Audio_ChannelIsActive(music), AUDIO_ACTIVE_STOPPED);
  EXPECT_GE(g_voices[VOICE_OVER_FAIL].last, 0);   // "over/fail" was heard
  EXPECT_FALSE(screenLit());                      // the words are gone by the end

  auto s = shots();
  ASSERT_EQ(s.size(), 1u);
  Shot shot(s[0]);
  // white words centred on x 320 from y 230, nothing white elsewhere
  EXPECT_TRUE(shot.any(226, 230, 240, 252, kWhite) && shot.any(400, 230, 414, 252, kWhite));
  EXPECT_FALSE(shot.any(0, 0, 640, 226, kWhite) || shot.any(0, 262, 640, 480, kWhite));
  EXPECT_FALSE(shot.any(0, 0, 220, 480, kWhite) || shot.any(420, 0, 640, 480, kWhite));
}

TEST_F(EndScreens, AGameNotLostGetsTheCreditsWhichLeaveAtOnceAndSilentlyAfterTenFailedTries) {
  GameLibrary lib;
  auto folders = WriteGameLibrary(lib);
  ASSERT_EQ(IndexGameLibrary(), 3);
  // one music file gone, one empty, one that is no sound at all
  fs::remove(folders[0] + "/song.wav");
  WriteFile(folders[1] + "/song.wav", "");
  WriteFile(folders[2] + "/song.wav", std::string(5000, 'x'));
  uint32_t music = Audio_SamplePlay(Audio_SampleLoad(false, "Sounds/Default/tsloop.wav", 0, 0, 1, AUDIO_SAMPLE_LOOP));

  Screen_Clear(200, 0, 0);
  GameOverScreen(false, music);
  EXPECT_LT(sinceStart(), 1500u);
  EXPECT_EQ(Audio_ChannelIsActive(music), AUDIO_ACTIVE_STOPPED);   // the game's music does not play on
  std::string l = ReadFile("rkv2.log");
  EXPECT_EQ(count(l, "Credits: no music file") + count(l, "Credits: cannot open the music"), 10) << l;
  EXPECT_EQ(count(l, "Credits: no music could be opened\n"), 1) << l;
  EXPECT_EQ(count(l, "Game over") + count(l, "Credits ending"), 0) << l;
  EXPECT_EQ(g_voices[VOICE_OVER_PASS].last, -1);   // silently
  EXPECT_EQ(g_voices[VOICE_OVER_FAIL].last, -1);
  EXPECT_EQ(Screen_Pixel(320, 240), 0xC80000u);    // not a frame was drawn
}

TEST_F(EndScreens, StartDuringTheScrollBeginsTheEndingAtOnce) {
  library(3, 8, true);
  press(600, kTab);   // Select is not in the mask: the credits go on
  press(1000, kF11);
  press(1500, kSpace);
  CreditsScreen();
  std::string l = ReadFile("rkv2.log");
  EXPECT_EQ(count(l, "Credits music: 'Songs/Group 1/Song "), 1) << l;
  long endingAt = numberAfter(l, "Credits ending after ");   // the press, less the loading before the first frame
  EXPECT_TRUE(endingAt >= 1000 && endingAt <= 1600) << l;
  EXPECT_GE(sinceStart(), 1500u + 1450u);   // the music fades for about 1.5 s
  EXPECT_LT(sinceStart(), 1500u + 1512u + 1500u);
  EXPECT_FALSE(screenLit());                // to black
  EXPECT_EQ(g_voices[VOICE_OVER_PASS].last, -1);

  auto s = shots();
  ASSERT_EQ(s.size(), 1u);
  Shot shot(s[0]);
  // the column of the songs' pictures, the credits picture beside it, and the
  // first line (yellow) rising in at the bottom of the text column
  for (int y : {60, 250, 430}) EXPECT_TRUE(songColour(shot.at(120, y), 3)) << y << " " << std::hex << shot.at(120, y);
  EXPECT_NE(shot.at(620, 470), 0u);
  EXPECT_TRUE(shot.any(300, 400, 500, 460, kYellow));
  EXPECT_FALSE(shot.any(240, 0, 640, 380, kYellow));
}

TEST_F(EndScreens, TheClosingMessageComesAfterTheLastLineAndTheEndingFollowsByItself) {
  library(3, 4, true);   // the music ends long before the credits: they go on in silence
  // backgrounds broken after the song list was made: empty, corrupt, enormous
  WriteFile("Songs/Group 1/Song 1/bg.png", "");
  WriteFile("Songs/Group 1/Song 2/bg.png", std::string("\x89PNG\r\n\x1a\n", 8) + std::string(3000, 'B'));
  WriteFile("Songs/Group 1/Song 3/bg.png", enormousBmp());
  CreditLine lines[kCreditsLineMax];
  int n = Credits_ExpandText(kCreditsText, CreditSources{}, lines, kCreditsLineMax);
  uint32_t closing = Credits_ClosingTime(lines[n - 1].offset);
  press(closing / 2, kF11);      // halfway through the scroll
  press(closing + 2000, kF11);   // the closing message in full
  CreditsScreen();
  std::string l = ReadFile("rkv2.log");
  EXPECT_EQ(count(l, "Credits: background 'Songs/Group 1/Song "), 3) << l;
  long endingAt = numberAfter(l, "Credits ending after ");
  EXPECT_GE(endingAt, (long)(closing + kCreditsClosingHoldMs));
  EXPECT_LE(endingAt, (long)(closing + kCreditsClosingHoldMs + 150));
  EXPECT_GE(sinceStart(), closing + kCreditsClosingHoldMs + 1450);
  EXPECT_LT(sinceStart(), closing + kCreditsClosingHoldMs + 3500);
  EXPECT_GE(g_voices[VOICE_OVER_PASS].last, 0);   // "over/pass" with the closing
  EXPECT_FALSE(screenLit());

  auto s = shots();
  ASSERT_EQ(s.size(), 2u);
  Shot middle(s[0]), end(s[1]);
  EXPECT_TRUE(middle.any(300, 30, 640, 420, kWhite));
  for (int y : {60, 250, 430}) {   // the skin's picture in place of each song's
    EXPECT_NE(middle.at(120, y), 0u) << y;
    EXPECT_FALSE(songColour(middle.at(120, y), 3)) << y;
  }
  // "Thank you for playing!" in white, "TARVOLEN" in teal and the author in olive below
  // it, and no credits lines left
  EXPECT_TRUE(end.any(300, 150, 560, 172, kWhite));
  EXPECT_FALSE(end.any(240, 250, 640, 480, kWhite));
  EXPECT_TRUE(end.any(300, 190, 420, 206, [](int r, int g, int b) { return g > 90 && b > 90 && r < 60; }));
  EXPECT_TRUE(end.any(300, 210, 560, 226, [](int r, int g, int b) { return r > 90 && g > 90 && b < 60; }));
}
}  // namespace
