// The stage label of the play's top bar follows the game's "Max Stage".
#include "play/hud.h"
#include "library/settings.h"
#include "play/play_record.h"
#include <gtest/gtest.h>

TEST(Hud, StageLabelsNameTheFinalExtraAndBonusStages) {
  EXPECT_EQ(Hud_StageLabel(1, 3), 0);   // 1st
  EXPECT_EQ(Hud_StageLabel(2, 3), 1);
  EXPECT_EQ(Hud_StageLabel(3, 3), 6);   // FINAL
  EXPECT_EQ(Hud_StageLabel(4, 3), 7);   // EXTRA
  EXPECT_EQ(Hud_StageLabel(5, 3), 8);   // BONUS
  EXPECT_EQ(Hud_StageLabel(1, 1), 6);   // one stage: it is the final one
  EXPECT_EQ(Hud_StageLabel(2, 1), 7);
  EXPECT_EQ(Hud_StageLabel(5, 5), 6);
  // unlimited stages have no final stage and no label past the 6th
  EXPECT_EQ(Hud_StageLabel(1, 6), 0);
  EXPECT_EQ(Hud_StageLabel(6, 6), 5);
  EXPECT_EQ(Hud_StageLabel(7, 6), -1);
  EXPECT_EQ(Hud_StageLabel(0, 3), 17);  // DEMO
}

TEST(Hud, ACourseEndsOnItsLastSongAndARepeatingOneNever) {
  Play play;
  uint8_t maxStage = g_settings.maxStage;
  g_settings.maxStage = 3;
  EXPECT_EQ(Play_LastStage(play), 3);
  play.song.course = true;
  play.course.length = 5;   // the stage number of a course may pass "Max Stage"
  EXPECT_EQ(Hud_StageLabel(4, Play_LastStage(play)), 3);
  EXPECT_EQ(Hud_StageLabel(5, Play_LastStage(play)), 6);   // FINAL
  play.course.length = 0;
  EXPECT_EQ(Hud_StageLabel(5, Play_LastStage(play)), 4);
  EXPECT_EQ(Hud_StageLabel(9, Play_LastStage(play)), -1);
  g_settings.maxStage = maxStage;
}
