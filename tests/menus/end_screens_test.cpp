// The game-over screen and the credits, run whole on the dummy window and audio
// device over a library the test writes, with scripted keys and F11 screenshots.
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
#include "platform/files.h"
#include "platform/log.h"
#include "support/game_library.h"
#include "support/test_support.h"
#include <FreeImage.h>
#include <gtest/gtest.h>
#include <sndfile.h>
#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <filesystem>
#include <string>
#include <vector>

namespace fs = std::filesystem;

namespace {
constexpr int kF11 = 87, kEscape = 1, kSpace = 57, kDown = 31;   // Space: player 1's Start, S: Down

struct Shot {
  FIBITMAP* dib = nullptr;
  explicit Shot(const std::string& path) { dib = FreeImage_Load(FIF_PNG, path.c_str(), 0); }
  ~Shot() {
    if (dib) FreeImage_Unload(dib);
  }
  uint32_t at(int x, int y) const {
    RGBQUAD q{};
    FreeImage_GetPixelColor(dib, (unsigned)x, (unsigned)(479 - y), &q);
    return (uint32_t)q.rgbRed << 16 | (uint32_t)q.rgbGreen << 8 | q.rgbBlue;
  }
  // Whether some pixel of the area passes `test`.
  template <class F>
  bool any(int x0, int y0, int x1, int y1, F test) const {
    for (int y = y0; y < y1; y++)
      for (int x = x0; x < x1; x++)
        if (test(at(x, y))) return true;
    return false;
  }
};

int red(uint32_t c) { return (int)(c >> 16) & 0xFF; }
int green(uint32_t c) { return (int)(c >> 8) & 0xFF; }
int blue(uint32_t c) { return (int)c & 0xFF; }
bool near(uint32_t a, uint32_t b) {
  return std::abs(red(a) - red(b)) <= 4 && std::abs(green(a) - green(b)) <= 4 && std::abs(blue(a) - blue(b)) <= 4;
}

int count(const std::string& text, const std::string& part) {
  int n = 0;
  for (size_t p = text.find(part); p != std::string::npos; p = text.find(part, p + 1)) n++;
  return n;
}

// The number after `part` in the log, -1 when missing.
long numberAfter(const std::string& text, const std::string& part) {
  size_t p = text.find(part);
  return p == std::string::npos ? -1 : std::atol(text.c_str() + p + part.size());
}

// The PNG header of a picture far too large to load.
std::string enormousPng() {
  auto crc = [](const std::string& s) {
    uint32_t c = 0xFFFFFFFFu;
    for (unsigned char b : s) {
      c ^= b;
      for (int k = 0; k < 8; k++) c = (c >> 1) ^ (0xEDB88320u & (0u - (c & 1)));
    }
    return ~c;
  };
  auto be = [](uint32_t v) {
    return std::string{(char)(v >> 24), (char)(v >> 16), (char)(v >> 8), (char)v};
  };
  std::string ihdr = "IHDR" + be(9000) + be(6750) + std::string("\x08\x02\x00\x00\x00", 5);
  return std::string("\x89PNG\r\n\x1a\n", 8) + be(13) + ihdr + be(crc(ihdr)) + be(0) + "IEND" + be(crc("IEND"));
}

class EndScreens : public ::testing::Test {
 protected:
  TempDir dir;
  void SetUp() override {
    Settings_Defaults(g_settings);   // the frame-rate meter is off
    Bindings_Defaults();
    InputScript_Clear();
    Video_SelectBackend(true, false, true);
    ASSERT_EQ(Window_Init(false, 0, false, 0, false), 0);
    ASSERT_EQ(Keyboard_Init(22, true), 0);
    ASSERT_TRUE(Audio_Init(-1, 44100, 0, nullptr));
    ASSERT_TRUE(Audio_Start());
    std::string game = std::string(TV_GAME_EXE);
    game = game.substr(0, game.rfind('/'));
    fs::create_directory_symlink(game + "/Skins", "Skins");
    fs::create_directory_symlink(game + "/Sounds", "Sounds");
    ASSERT_TRUE(Font_Load("Skins/Default", "font-Main"));
    LoadSounds("Default", "Default");   // with the sets' credits
    LoadSkinConfig("Default");          // the skin's author
    LogOpen(0);
  }
  void TearDown() override {
    LogOff();
    FreeSounds();
    Font_Free();
    Draw_Free();
    InputScript_Clear();
    Audio_Free();
    Keyboard_Shutdown();
    Window_Shutdown();
    g_songs.clear();
  }
  // Presses and releases a key `atMs` from now.
  static void press(std::vector<ScriptEvent>& s, uint32_t now, uint32_t atMs, int code) {
    s.push_back(ScriptEvent{now + atMs, 0, 1, 0, (uint8_t)code});
    s.push_back(ScriptEvent{now + atMs + 60, 0, 0, 0, (uint8_t)code});
  }
  // The screenshots taken, oldest first.
  static std::vector<std::string> shots() {
    std::vector<std::string> out;
    std::error_code ec;
    for (auto& e : fs::directory_iterator("Screenshots", ec)) out.push_back(e.path().string());
    std::sort(out.begin(), out.end(),
              [](const std::string& a, const std::string& b) { return fs::last_write_time(a) < fs::last_write_time(b); });
    // kept for a look when asked for
    if (const char* keep = std::getenv("TV_SCREENSHOT_DIR"))
      for (const std::string& s : out)
        fs::copy_file(s, std::string(keep) + "/" + ::testing::UnitTest::GetInstance()->current_test_info()->name() +
                             "-" + fs::path(s).filename().string(), fs::copy_options::overwrite_existing, ec);
    return out;
  }
  static bool screenLit() {
    for (int y = 0; y < 480; y++)
      for (int x = 0; x < 640; x++)
        if (Screen_Pixel(x, y)) return true;
    return false;
  }
  static std::string log() { return ReadFile("rkv2.log"); }
};

TEST_F(EndScreens, GameOverWordsAreCentredForFourSecondsThenTheMusicStops) {
  std::vector<short> tone(22050);
  for (size_t i = 0; i < tone.size(); i++) tone[i] = (short)(2000 * std::sin(i * 0.1));
  SF_INFO info{22050, 22050, 1, SF_FORMAT_WAV | SF_FORMAT_PCM_16, 0, 0};
  SNDFILE* f = sf_open("loop.wav", SFM_WRITE, &info);
  ASSERT_TRUE(f);
  sf_write_short(f, tone.data(), (sf_count_t)tone.size());
  sf_close(f);
  uint32_t sample = Audio_SampleLoad(false, "loop.wav", 0, 0, 1, AUDIO_SAMPLE_LOOP);
  uint32_t music = Audio_SamplePlay(sample);
  ASSERT_NE(Audio_ChannelIsActive(music), AUDIO_ACTIVE_STOPPED);

  uint32_t now = Clock_Ms();
  std::vector<ScriptEvent> script;
  press(script, now, 1500, kF11);   // full opacity
  press(script, now, 2000, kEscape);   // the screen cannot be cut short
  InputScript_Set(script);
  GameOverScreen(true, music);
  uint32_t took = Clock_Ms() - now;
  EXPECT_GE(took, kGameOverMs);
  EXPECT_LT(took, kGameOverMs + 1500);
  EXPECT_EQ(Audio_ChannelIsActive(music), AUDIO_ACTIVE_STOPPED);
  EXPECT_GE(g_voices[VOICE_OVER_FAIL].last, 0);   // "over/fail" was heard
  EXPECT_FALSE(screenLit());                      // the words are gone by the end

  auto s = shots();
  ASSERT_EQ(s.size(), 1u);
  Shot shot(s[0]);
  int left = 640, right = -1, top = 480, bottom = -1;
  for (int y = 0; y < 480; y++)
    for (int x = 0; x < 640; x++)
      if (red(shot.at(x, y)) > 230 && green(shot.at(x, y)) > 230 && blue(shot.at(x, y)) > 230) {
        left = std::min(left, x), right = std::max(right, x);
        top = std::min(top, y), bottom = std::max(bottom, y);
      }
  ASSERT_GE(right, 0) << "no white words";
  EXPECT_NEAR((left + right) / 2.0, 320.0, 6.0);
  EXPECT_GT(right - left, 150);
  EXPECT_GE(top, 226);
  EXPECT_LE(bottom, 262);
}

TEST_F(EndScreens, AGameThatWasNotLostGetsTheCreditsInstead) {
  uint32_t sample = Audio_SampleLoad(false, "Sounds/Default/tsloop.wav", 0, 0, 1, AUDIO_SAMPLE_LOOP);
  uint32_t music = Audio_SamplePlay(sample);
  ASSERT_NE(Audio_ChannelIsActive(music), AUDIO_ACTIVE_STOPPED);
  uint32_t now = Clock_Ms();
  GameOverScreen(false, music);   // no songs: the credits end at once
  EXPECT_LT(Clock_Ms() - now, 1000u);
  EXPECT_EQ(Audio_ChannelIsActive(music), AUDIO_ACTIVE_STOPPED);
  std::string l = log();
  EXPECT_EQ(count(l, "Starting credits...\n"), 1) << l;
  EXPECT_EQ(count(l, "Game over"), 0) << l;
  EXPECT_EQ(g_voices[VOICE_OVER_FAIL].last, -1);
}

TEST_F(EndScreens, TenFailedTriesAtTheMusicLeaveTheCreditsAtOnceAndSilently) {
  GameLibrary lib;
  lib.songs = 3;
  auto folders = WriteGameLibrary(lib);
  ASSERT_EQ(folders.size(), 3u);
  ASSERT_EQ(IndexGameLibrary(), 3);
  // one music file gone, one empty, one that is no sound at all
  fs::remove(folders[0] + "/song.wav");
  WriteFile(folders[1] + "/song.wav", "");
  WriteFile(folders[2] + "/song.wav", std::string(5000, 'x'));

  Screen_Clear(200, 0, 0);
  uint32_t now = Clock_Ms();
  CreditsScreen();
  EXPECT_LT(Clock_Ms() - now, 1500u);
  std::string l = log();
  EXPECT_EQ(count(l, "Credits: no music file") + count(l, "Credits: cannot open the music"), 10) << l;
  EXPECT_EQ(count(l, "Credits: no music could be opened\n"), 1) << l;
  EXPECT_EQ(count(l, "Credits ending"), 0) << l;
  EXPECT_EQ(g_voices[VOICE_OVER_PASS].last, -1);   // silently
  EXPECT_EQ(Screen_Pixel(320, 240), 0xC80000u);    // not a frame was drawn
}

TEST_F(EndScreens, StartDuringTheScrollBeginsTheEndingAtOnce) {
  GameLibrary lib;
  lib.songs = 3;
  lib.seconds = 8;
  lib.backgrounds = true;
  ASSERT_EQ(WriteGameLibrary(lib).size(), 3u);
  ASSERT_EQ(IndexGameLibrary(), 3);
  uint32_t now = Clock_Ms();
  std::vector<ScriptEvent> script;
  press(script, now, 600, kDown);   // not in the mask: the credits go on
  press(script, now, 1000, kF11);
  press(script, now, 1500, kSpace);
  InputScript_Set(script);
  CreditsScreen();
  uint32_t took = Clock_Ms() - now;

  std::string l = log();
  EXPECT_EQ(count(l, "Credits music: 'Songs/Group 1/Song "), 1) << l;
  long endingAt = numberAfter(l, "Credits ending after ");
  EXPECT_GE(endingAt, 1000) << l;   // the press, less the loading before the first frame
  EXPECT_LE(endingAt, 1600) << l;
  EXPECT_GE(took, 1500u + 1450u);   // the music fades for about 1.5 s
  EXPECT_LT(took, 1500u + 1512u + 1500u);
  EXPECT_FALSE(screenLit());        // faded to black
  EXPECT_EQ(g_voices[VOICE_OVER_PASS].last, -1);   // the scroll had not ended

  auto s = shots();
  ASSERT_EQ(s.size(), 1u);
  Shot shot(s[0]);
  // the column of song pictures on the left, in the songs' own colours
  auto songColour = [](uint32_t c) {
    for (int n = 1; n <= 3; n++)
      if (near(c, GameLibrary_SongColour(n))) return true;
    return false;
  };
  EXPECT_TRUE(songColour(shot.at(120, 430))) << std::hex << shot.at(120, 430);
  EXPECT_TRUE(songColour(shot.at(120, 250))) << std::hex << shot.at(120, 250);
  EXPECT_TRUE(songColour(shot.at(120, 60))) << std::hex << shot.at(120, 60);
  // the credits picture on the right
  EXPECT_NE(shot.at(620, 470), 0u);
  // the first line, yellow, rising in from the bottom at the text's column
  EXPECT_TRUE(shot.any(300, 400, 500, 460, [](uint32_t c) { return red(c) > 150 && green(c) > 150 && blue(c) < 100; }));
  EXPECT_FALSE(shot.any(240, 0, 640, 380, [](uint32_t c) { return red(c) > 150 && green(c) > 150 && blue(c) < 100; }));
}

TEST_F(EndScreens, BrokenBackgroundsFallBackToTheSkinsPicture) {
  GameLibrary lib;
  lib.songs = 3;
  lib.seconds = 5;
  lib.backgrounds = true;
  auto folders = WriteGameLibrary(lib);
  ASSERT_EQ(folders.size(), 3u);
  ASSERT_EQ(IndexGameLibrary(), 3);
  for (const SongEntry& e : g_songs) ASSERT_STREQ(e.background, "bg.png");
  // broken after the song list was made
  WriteFile(folders[0] + "/bg.png", "");
  WriteFile(folders[1] + "/bg.png", std::string("\x89PNG\r\n\x1a\n", 8) + std::string(3000, '\x42'));
  WriteFile(folders[2] + "/bg.png", enormousPng());

  uint32_t now = Clock_Ms();
  std::vector<ScriptEvent> script;
  press(script, now, 800, kF11);
  press(script, now, 900, kEscape);
  InputScript_Set(script);
  CreditsScreen();
  std::string l = log();
  EXPECT_EQ(count(l, "Credits: background 'Songs/Group 1/Song "), 3) << l;
  EXPECT_EQ(count(l, "Credits ending after "), 1) << l;
  auto s = shots();
  ASSERT_EQ(s.size(), 1u);
  Shot shot(s[0]);
  for (int y : {60, 250, 430}) {
    uint32_t c = shot.at(120, y);
    EXPECT_NE(c, 0u) << y;
    for (int n = 1; n <= 3; n++) EXPECT_FALSE(near(c, GameLibrary_SongColour(n))) << y;
  }
}

TEST_F(EndScreens, TheClosingMessageComesAfterTheLastLineAndTheEndingFollowsByItself) {
  GameLibrary lib;
  lib.songs = 2;
  lib.seconds = 4;   // the music ends long before the credits: they go on in silence
  ASSERT_EQ(WriteGameLibrary(lib).size(), 2u);
  ASSERT_EQ(IndexGameLibrary(), 2);
  CreditLine lines[kCreditsLineMax];
  int n = Credits_ExpandText(kCreditsText, CreditSources{"", "", "Default", ""}, lines, kCreditsLineMax);
  uint32_t closing = Credits_ClosingTime(lines[n - 1].offset);

  uint32_t now = Clock_Ms();
  std::vector<ScriptEvent> script;
  press(script, now, closing / 2, kF11);      // halfway through the scroll
  press(script, now, closing + 2000, kF11);   // the closing message in full
  InputScript_Set(script);
  CreditsScreen();
  uint32_t took = Clock_Ms() - now;

  std::string l = log();
  long endingAt = numberAfter(l, "Credits ending after ");
  EXPECT_GE(endingAt, (long)(closing + kCreditsClosingHoldMs)) << l;
  EXPECT_LE(endingAt, (long)(closing + kCreditsClosingHoldMs + 150)) << l;
  EXPECT_GE(took, closing + kCreditsClosingHoldMs + 1450);
  EXPECT_LT(took, closing + kCreditsClosingHoldMs + 3500);
  EXPECT_GE(g_voices[VOICE_OVER_PASS].last, 0);   // "over/pass" with the closing
  EXPECT_FALSE(screenLit());

  auto s = shots();
  ASSERT_EQ(s.size(), 2u);
  Shot middle(s[0]), end(s[1]);
  auto white = [](uint32_t c) { return red(c) > 200 && green(c) > 200 && blue(c) > 200; };
  // halfway: lines all over the text column; the closing's place is not yet its own
  EXPECT_TRUE(middle.any(300, 30, 640, 420, white));
  // "Thank you for playing!" in white, "TARVOLEN" in teal below it, and no credits lines left
  EXPECT_TRUE(end.any(300, 150, 560, 172, white));
  EXPECT_FALSE(end.any(240, 250, 640, 480, white));
  EXPECT_TRUE(end.any(300, 190, 420, 206, [](uint32_t c) { return green(c) > 90 && blue(c) > 90 && red(c) < 60; }));
  EXPECT_TRUE(end.any(300, 210, 560, 226, [](uint32_t c) { return red(c) > 90 && green(c) > 90 && blue(c) < 60; }));
}
}  // namespace
