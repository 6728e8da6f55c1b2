// Whole test plays of the real executable, headless, on a short song the test
// writes itself (a quiet tone and a chart at 120 BPM).
#include "library/settings.h"
#include "platform/files.h"
#include "support/test_support.h"
#include <gtest/gtest.h>
#include <cmath>
#include <cstdlib>
#include <sndfile.h>
#include <sys/wait.h>
#include <vector>

namespace {
// 8 rows of eighth notes at 120 BPM are 2 s; the chart's arrows fall from 0 to 7 s.
const char* kChart =
    "#TITLE:Test Tone;\n#ARTIST:Tarvolen tests;\n#BPM:120;\n#GAP:0;\n%s"
    "#SINGLE:BASIC:5:\n0000 2424 8686 A0B0 8!8000 8000 0000 2222;\n"
    "#SINGLE:MANIAC:9:\n0000 0000 0000 0000 0000 0000 0000 2000;\n";

void writeSong(const std::string& extraTags = "") {
  Dir_Create("Songs/Tests/Tone");
  char chart[1024];
  snprintf(chart, sizeof chart, kChart, extraTags.c_str());
  WriteFile("Songs/Tests/Tone/tone.rkv", chart);
  SF_INFO info{};
  info.samplerate = 22050;
  info.channels = 1;
  info.format = SF_FORMAT_WAV | SF_FORMAT_PCM_16;
  SNDFILE* f = sf_open("Songs/Tests/Tone/tone.wav", SFM_WRITE, &info);
  std::vector<short> s(22050 * 8);
  for (size_t i = 0; i < s.size(); i++) s[i] = (short)(800 * std::sin(i * 2 * M_PI * 440 / 22050));
  sf_write_short(f, s.data(), (sf_count_t)s.size());
  sf_close(f);
}

void writeSettings(bool autoplay) {
  Settings s;
  Settings_Defaults(s);
  s.autoPlay = autoplay ? 0 : 1;  // "Auto Play": 0 is ON
  WriteFile("rkv2.cfg", std::string((const char*)&s, sizeof s));
}

int run(const std::string& args) {
  std::string cmd = std::string("SDL_VIDEODRIVER=dummy SDL_AUDIODRIVER=dummy timeout 120 '") + TV_GAME_EXE +
                    "' /log /results:r.json /test:Songs/Tests/Tone/tone.rkv " + args + " > out.txt 2>&1";
  int rc = std::system(cmd.c_str());
  return WIFEXITED(rc) ? WEXITSTATUS(rc) : -1;
}

std::vector<std::string> lines(const std::string& text) {
  std::vector<std::string> out;
  size_t s = 0;
  while (s < text.size()) {
    size_t e = text.find('\n', s);
    if (e == std::string::npos) e = text.size();
    out.push_back(text.substr(s, e - s));
    s = e + 1;
  }
  return out;
}

bool has(const std::string& line, const std::string& part) { return line.find(part) != std::string::npos; }
}

TEST(SongPlayRun, AutoplayEndsFullyPerfectWithTheExactScore) {
  TempDir dir;
  writeSong();
  writeSettings(true);
  ASSERT_EQ(run(""), 0) << ReadFile("out.txt");
  auto r = lines(ReadFile("r.json"));
  ASSERT_EQ(r.size(), 1u) << ReadFile("rkv2.log");
  // 17 notes in 15 rows (two jumps) and one freeze; rating 5: 5 x 10,000,000 exactly
  EXPECT_TRUE(has(r[0], "\"score\":\"00050000000\"")) << r[0];
  EXPECT_TRUE(has(r[0], "\"perfect\":15")) << r[0];
  EXPECT_TRUE(has(r[0], "\"miss\":0")) << r[0];
  EXPECT_TRUE(has(r[0], "\"ok\":1,\"ng\":0")) << r[0];
  EXPECT_TRUE(has(r[0], "\"maxCombo\":17")) << r[0];
  EXPECT_TRUE(has(r[0], "\"grade\":\"AAA\"")) << r[0];
  EXPECT_TRUE(has(r[0], "\"dead\":false")) << r[0];
  size_t dp = r[0].find("\"dancePoints\":"), mdp = r[0].find("\"maxDancePoints\":");
  ASSERT_NE(dp, std::string::npos);
  EXPECT_EQ(std::atoi(r[0].c_str() + dp + 14), std::atoi(r[0].c_str() + mdp + 17));

  // the play's log lines, in order
  std::string log = ReadFile("rkv2.log");
  size_t at = 0;
  for (const char* l : {"Loading Song...\n", "SINGLE:BASIC:5:\n", "Loading Background...\n",
                        "Starting AVI/Animation thread...\n", "Starting main game...\n", "Finished main game loop...\n",
                        "Unloading danger tile...\n", "Unloading fade layer...\n", "Stopping AVI/Animation thread...\n",
                        "Freeing effects...\n", "Unloading backgrounds...\n", "Freeing BPM changes and Freezes...\n",
                        "Stopping channel...\n", "Freeing music and steps...\n", "Ending Main Game function...\n"}) {
    size_t p = log.find(l, at);
    ASSERT_NE(p, std::string::npos) << "missing or out of order: " << l << "\n" << log.substr(at);
    at = p;
  }
}

TEST(SongPlayRun, NoInputMissesEverythingAndF1Restarts) {
  TempDir dir;
  writeSong();
  writeSettings(false);
  // F1 (scan code 59) one second in: the play starts again, and each play leaves its line
  WriteFile("in.txt", "1000 down 59\n1200 up 59\n");
  ASSERT_EQ(run("/input:in.txt"), 0) << ReadFile("out.txt");
  auto r = lines(ReadFile("r.json"));
  ASSERT_EQ(r.size(), 2u) << ReadFile("r.json");
  EXPECT_TRUE(has(r[1], "\"miss\":15")) << r[1];
  EXPECT_TRUE(has(r[1], "\"perfect\":0")) << r[1];
  EXPECT_TRUE(has(r[1], "\"score\":\"00000000000\"")) << r[1];
  EXPECT_TRUE(has(r[1], "\"ok\":0,\"ng\":1")) << r[1];
  EXPECT_TRUE(has(r[1], "\"maxCombo\":0")) << r[1];
}

TEST(SongPlayRun, Md5MismatchShowsItsNoticeAndThenPlays) {
  TempDir dir;
  writeSong("#MD5:00000000000000000000000000000000;\n");
  writeSettings(true);
  // Start (Space) held from early on closes the notice whenever it comes up
  WriteFile("in.txt", "200 down 57\n30000 up 57\n");
  ASSERT_EQ(run("/input:in.txt /level:MANIAC"), 0) << ReadFile("out.txt");
  auto r = lines(ReadFile("r.json"));
  ASSERT_EQ(r.size(), 1u);
  EXPECT_TRUE(has(r[0], "\"perfect\":1")) << r[0];
}

TEST(SongPlayRun, MissingMusicAndMissingChartGiveTheirNotices) {
  TempDir dir;
  writeSong();
  remove("Songs/Tests/Tone/tone.wav");
  WriteFile("in.txt", "200 down 1\n400 up 1\n2000 down 1\n2200 up 1\n");  // Escape leaves the notice
  ASSERT_EQ(run("/input:in.txt"), 0) << ReadFile("out.txt");
  EXPECT_EQ(ReadFile("r.json"), "");  // the song was not played
  EXPECT_EQ(run("/style:SOLO"), 2);   // no SOLO chart in the song
  EXPECT_TRUE(has(ReadFile("out.txt"), "Invalid style/difficulty given")) << ReadFile("out.txt");
}
