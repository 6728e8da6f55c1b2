// The sound settings of "Sound Options" take effect at the next start: the
// device opens at the stored frequency, resolution and channels (the dummy
// driver opens whatever is asked and the game logs what it opened).
#include "library/settings.h"
#include "support/game_script.h"
#include "support/test_support.h"
#include <gtest/gtest.h>

namespace {
// The game started on the stored sound bytes and left from the title menu at once;
// returns its log.
std::string startWith(uint8_t frequency, uint8_t sixteenBit, uint8_t stereo) {
  std::string cfg = ReadFile("rkv2.cfg");
  if (cfg.size() != sizeof(Settings)) return "no settings file";
  Settings* s = (Settings*)cfg.data();
  s->frequency = frequency;
  s->sixteenBit = sixteenBit;
  s->stereo = stereo;
  WriteFile("rkv2.cfg", cfg);
  Script k;
  k.at("Starting main loop");
  k.tap(500, kEscape);
  GameRun r = RunGame(k, 60);
  EXPECT_EQ(r.status, 0) << r.tail();
  return r.log;
}
}  // namespace

TEST(SoundSettings, TheDeviceOpensInTheStoredFormat) {
  TempDir dir;
  PrepareGame(GameSettings{}, 1);
  std::string log = startWith(0, 0, 0);
  EXPECT_NE(log.find(", 11025 Hz, 8-bit mono,"), std::string::npos) << log.substr(0, 2000);
  log = startWith(1, 1, 1);
  EXPECT_NE(log.find(", 22050 Hz, 16-bit stereo,"), std::string::npos) << log.substr(0, 2000);
  // a frequency byte past 44KHz loads as 44KHz
  log = startWith(9, 1, 0);
  EXPECT_NE(log.find(", 44100 Hz, 16-bit mono,"), std::string::npos) << log.substr(0, 2000);
  // and the game writes back what it read
  std::string cfg = ReadFile("rkv2.cfg");
  ASSERT_EQ(cfg.size(), sizeof(Settings));
  EXPECT_EQ(((const Settings*)cfg.data())->frequency, 2);
}
