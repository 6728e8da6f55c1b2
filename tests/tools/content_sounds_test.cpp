// The Default sound set: every effect sample and announcer file the game
// loads decodes and is audible, the menu loops join end to start, the voice
// folders hold speech exactly when espeak-ng made it, and a run without a
// voice still makes every effect. Also: the generator makes the same bytes
// every time.
#include <gtest/gtest.h>

#include <cstdlib>

#include "content_helpers.h"
#include "support/test_support.h"

namespace {

std::string Snd(const std::string& f) { return GamePath("Sounds/Default/" + f); }

float Peak(const Sound& s) {
  float p = 0;
  for (float v : s.mono) p = std::max(p, std::fabs(v));
  return p;
}

TEST(ContentSounds, EveryEffectDecodesAndIsAudible) {
  const char* effects[] = {"select", "switch", "start", "cheer", "boo", "tsloop", "stloop", "nsloop",
                           "loselife", "clap", "timer", "warning"};
  for (const char* e : effects) {
    Sound s;
    ASSERT_TRUE(LoadSound(Snd(std::string(e) + ".wav"), s)) << e;
    EXPECT_EQ(s.rate, 44100) << e;
    EXPECT_GT(Peak(s), 0.3f) << e;
    EXPECT_LE(Peak(s), 1.0f) << e;
    EXPECT_LT(s.Seconds(), 10.0) << e;
  }
}

TEST(ContentSounds, MenuLoopsAreBarsLongAndJoinSmoothly) {
  for (const char* e : {"tsloop", "stloop", "nsloop"}) {
    Sound s;
    ASSERT_TRUE(LoadSound(Snd(std::string(e) + ".wav"), s));
    EXPECT_NEAR(s.Seconds(), 8.0, 0.01) << e;  // four bars at 120 a minute
    // the wrap from the end to the start sounds like the bar line half way
    // through: no jump larger than the one there (both start with a kick)
    size_t half = s.mono.size() / 2;
    double mid = std::fabs(s.mono[half] - s.mono[half - 1]);
    EXPECT_LT(std::fabs(s.mono.front() - s.mono.back()), 1.5 * mid + 0.02) << e;
  }
}

TEST(ContentSounds, VoiceFoldersHoldSpeechWhenThereIsAVoice) {
  std::string cfg = Slurp(Snd("rkv2-sound.cfg"));
  ASSERT_NE(cfg.find("[CREDITS]"), std::string::npos);
  ASSERT_NE(cfg.find("Announcer="), std::string::npos);
  ASSERT_NE(cfg.find("SoundFX="), std::string::npos);
  bool voiced = cfg.find("espeak-ng)") != std::string::npos && cfg.find("not installed") == std::string::npos;
  const char* folders[] = {"danger", "warning", "good", "great", "eval/aaa", "eval/aa", "eval/a", "eval/b", "eval/c",
                           "eval/d", "eval/e", "eval/extra", "eval/bonus", "over/fail", "over/pass", "start/ready",
                           "start/go"};
  for (const char* f : folders) {
    ASSERT_TRUE(std::filesystem::is_directory(Snd(f))) << f;
    int n = 0;
    for (auto& e : std::filesystem::directory_iterator(Snd(f))) {
      ASSERT_EQ(e.path().extension(), ".wav");
      Sound s;
      ASSERT_TRUE(LoadSound(e.path().string(), s)) << e.path();
      EXPECT_GT(s.Seconds(), 0.2);
      EXPECT_LT(s.Seconds(), 5.0);
      n++;
    }
    if (voiced) EXPECT_GE(n, 1) << f;
    else EXPECT_EQ(n, 0) << f;
  }
  const char* singles[] = {"attract/attract-00", "attract/attract-01", "attract/attract-02", "select/style",
                           "select/song", "select/rkv2-g0-single", "select/rkv2-g0-versus", "select/rkv2-g0-double",
                           "select/rkv2-g1-single", "select/profile", "newrecord", "combo/combo-end",
                           "combo/combo-0100", "combo/combo-0500", "combo/combo-1000", "combo/combo-cont"};
  for (const char* f : singles) EXPECT_EQ(std::filesystem::exists(Snd(std::string(f) + ".wav")), voiced) << f;
}

// Runs the generator on a part of the content into the current folder.
int RunGenerator(const std::string& args) {
  std::string cmd = std::string("\"") + TV_CONTENTGEN_EXE + "\" . " + args + " > gen.log 2>&1";
  return std::system(cmd.c_str());
}

bool SameFile(const std::string& a, const std::string& b) {
  std::string x = Slurp(a), y = Slurp(b);
  return !x.empty() && x == y;
}

TEST(ContentSounds, WithoutAVoiceEveryEffectIsStillMadeAndTheFoldersStayEmpty) {
  TempDir tmp;
  ASSERT_EQ(RunGenerator("--only=sounds --no-voice"), 0) << Slurp("gen.log");
  for (const char* e : {"select", "start", "cheer", "clap", "tsloop", "timer", "warning"}) {
    EXPECT_TRUE(SameFile("Sounds/Default/" + std::string(e) + ".wav", Snd(std::string(e) + ".wav"))) << e;
  }
  EXPECT_TRUE(std::filesystem::is_directory("Sounds/Default/start/go"));
  EXPECT_TRUE(std::filesystem::is_empty("Sounds/Default/start/go"));
  EXPECT_FALSE(std::filesystem::exists("Sounds/Default/newrecord.wav"));
  EXPECT_NE(Slurp("Sounds/Default/rkv2-sound.cfg").find("Announcer="), std::string::npos);
}

TEST(ContentGenerator, MakesTheSameSkinAndFontBytesEveryRun) {
  TempDir tmp;
  ASSERT_EQ(RunGenerator("--only=skin,font"), 0) << Slurp("gen.log");
  int files = 0;
  for (auto& e : std::filesystem::directory_iterator("Skins/Default")) {
    std::string name = e.path().filename().string();
    EXPECT_TRUE(SameFile(e.path().string(), GamePath("Skins/Default/" + name))) << name;
    files++;
  }
  EXPECT_GT(files, 60);
}

TEST(ContentGenerator, RefusesToRunWithoutAGameFolder) {
  TempDir tmp;
  std::string cmd = std::string("\"") + TV_CONTENTGEN_EXE + "\" > gen.log 2>&1";
  EXPECT_NE(std::system(cmd.c_str()), 0);
  EXPECT_NE(Slurp("gen.log").find("no game folder"), std::string::npos);
  // a missing font folder is a failure, not a skin without text
  EXPECT_NE(RunGenerator("--only=font --fonts=/nonexistent"), 0);
}

}  // namespace
