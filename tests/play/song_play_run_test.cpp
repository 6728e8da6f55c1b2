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

void writeTone(int seconds) {
  SF_INFO info{};
  info.samplerate = 22050;
  info.channels = 1;
  info.format = SF_FORMAT_WAV | SF_FORMAT_PCM_16;
  SNDFILE* f = sf_open("Songs/Tests/Tone/tone.wav", SFM_WRITE, &info);
  std::vector<short> s(22050 * (size_t)seconds);
  for (size_t i = 0; i < s.size(); i++) s[i] = (short)(800 * std::sin(i * 2 * M_PI * 440 / 22050));
  sf_write_short(f, s.data(), (sf_count_t)s.size());
  sf_close(f);
}

void writeSong(const std::string& extraTags = "") {
  Dir_Create("Songs/Tests/Tone");
  char chart[1024];
  snprintf(chart, sizeof chart, kChart, extraTags.c_str());
  WriteFile("Songs/Tests/Tone/tone.rkv", chart);
  writeTone(8);
}

// A chart of the test's own over `seconds` of tone.
void writeChart(const std::string& charts, int seconds) {
  Dir_Create("Songs/Tests/Tone");
  WriteFile("Songs/Tests/Tone/tone.rkv", "#TITLE:Test Tone;\n#ARTIST:Tarvolen tests;\n#BPM:120;\n#GAP:0;\n" + charts);
  writeTone(seconds);
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

bool has(const std::string& line, const std::string& part) { return line.find(part) != std::string::npos; }

// The number after "key": in a results line.
double field(const std::string& line, const std::string& key) {
  size_t p = line.find("\"" + key + "\":");
  if (p == std::string::npos) return NAN;
  p += key.size() + 3;
  if (line[p] == '"') p++;
  return std::atof(line.c_str() + p);
}
}

TEST(SongPlayRun, AutoplayEndsFullyPerfectWithTheExactScore) {
  TempDir dir;
  writeSong();
  writeSettings(true);
  ASSERT_EQ(run(""), 0) << ReadFile("out.txt");
  auto r = SplitLines(ReadFile("r.json"));
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
  auto r = SplitLines(ReadFile("r.json"));
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
  auto r = SplitLines(ReadFile("r.json"));
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

// Presses that a script times on the music land on the notes: every step PERFECT,
// at the normal rate and at rate step 7, where the music runs at 1.2 x.
TEST(SongPlayRun, ScriptedPressesOnTheNotesAreAllPerfectAtEitherRate) {
  TempDir dir;
  // 16 empty rows (4 s), then 12 steps a quarter second apart: 4.00 .. 6.75 s
  writeChart("#SINGLE:BASIC:3:\n0000000000000000 2486 2486 2486;\n", 8);
  writeSettings(false);
  const int keys[4] = {31, 30, 17, 32};  // S A W D: Down Left Up Right, as the chart's 2 4 8 6
  std::string script;
  for (int k = 0; k < 12; k++) {
    int t = 4000 + 250 * k;
    script += "play " + std::to_string(t) + " down " + std::to_string(keys[k % 4]) + "\n";
    script += "play " + std::to_string(t + 60) + " up " + std::to_string(keys[k % 4]) + "\n";
  }
  WriteFile("in.txt", script);
  ASSERT_EQ(run("/input:in.txt"), 0) << ReadFile("out.txt");
  ASSERT_EQ(run("/input:in.txt /speed:7"), 0) << ReadFile("out.txt");
  auto r = SplitLines(ReadFile("r.json"));
  ASSERT_EQ(r.size(), 2u) << ReadFile("rkv2.log");
  double rate[2];
  for (int i = 0; i < 2; i++) {
    SCOPED_TRACE(r[i]);
    EXPECT_EQ(field(r[i], "perfect"), 12);
    EXPECT_EQ(field(r[i], "presses"), 12);
    EXPECT_LT(field(r[i], "offsetMaxMs"), 50);  // inside the PERFECT window
    EXPECT_EQ(field(r[i], "rateStep"), i == 0 ? 5 : 7);
    rate[i] = field(r[i], "musicMs") / field(r[i], "wallMs");
    printf("rate step %d: press offsets mean %.2f ms, max %.2f ms; music/wall %.4f\n", i == 0 ? 5 : 7,
           field(r[i], "offsetMeanMs"), field(r[i], "offsetMaxMs"), rate[i]);
  }
  // the music ran 1.2 x as fast as at the normal rate (the dummy sound device's own
  // pace against the wall clock is a few per cent off, so the two runs are compared)
  EXPECT_NEAR(rate[1] / rate[0], 1.2, 0.03);
}

// F1 plays again from the start, F2 from the start position.
TEST(SongPlayRun, F1RestartsFromTheStartAndF2FromTheStartPosition) {
  TempDir dir;
  writeSong();
  writeSettings(false);
  WriteFile("in.txt", "2500 down 59\n2700 up 59\n8000 down 60\n8200 up 60\n");
  ASSERT_EQ(run("/input:in.txt /startat:3000"), 0) << ReadFile("out.txt");
  auto r = SplitLines(ReadFile("r.json"));
  ASSERT_EQ(r.size(), 3u) << ReadFile("r.json");
  // the second play ran from the start: the rows before 3 s went by unpressed
  EXPECT_GE(field(r[1], "miss"), 4) << r[1];
  // the third from 3 s: only the 7 rows from there, and the freeze, count
  EXPECT_EQ(field(r[2], "miss"), 7) << r[2];
  EXPECT_EQ(field(r[2], "ng"), 1) << r[2];
  EXPECT_EQ(field(r[2], "perfect"), 0) << r[2];
}

// Charts with nothing to judge and a lyrics file full of faults play to the end.
TEST(SongPlayRun, EmptyChartsAndBrokenLyricsPlayOut) {
  TempDir dir;
  writeChart("#SINGLE:BASIC:1:\n0000 0000;\n#SINGLE:ANOTHER:2:\n00 8!8 0000;\n", 2);
  WriteFile("Songs/Tests/Tone/tone.lrc",
            "[00:00.50]first\n[99999999999:00]huge\n[00:01.00 no bracket\n\x01\x02garbage\n[COLOR]zz,\n"
            "[offset:-99999999999]\n[00:01.50]" + std::string(5000, 'x') + "\n");
  writeSettings(false);
  ASSERT_EQ(run(""), 0) << ReadFile("out.txt");
  ASSERT_EQ(run("/level:ANOTHER"), 0) << ReadFile("out.txt");
  auto r = SplitLines(ReadFile("r.json"));
  ASSERT_EQ(r.size(), 2u) << ReadFile("rkv2.log");
  for (const std::string& l : r) EXPECT_TRUE(has(l, "\"dead\":false")) << l;
  EXPECT_EQ(field(r[0], "perfect") + field(r[0], "miss") + field(r[0], "ok") + field(r[0], "ng"), 0) << r[0];
  EXPECT_EQ(field(r[0], "maxDancePoints"), 0) << r[0];
  EXPECT_EQ(field(r[0], "percent"), 0) << r[0];
  // the head of a freeze never closed is an ordinary step; the freeze is not judged
  EXPECT_EQ(field(r[1], "miss"), 1) << r[1];
  EXPECT_EQ(field(r[1], "ok") + field(r[1], "ng"), 0) << r[1];
}
