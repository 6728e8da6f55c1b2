// The preview's fade loop: full volume for the sample's length, one step down
// every 15 ms, silence, and a new start.
#include "menus/preview.h"
#include <gtest/gtest.h>

TEST(Preview, ThreeSecondsPlayFadeForOneAndAHalfAreSilentHalfASecondAndStartAgain) {
  const uint32_t len = 3000;
  EXPECT_EQ(Preview_StepAt(len, 0).volume, 100);
  EXPECT_EQ(Preview_StepAt(len, 2999).volume, 100);
  EXPECT_EQ(Preview_StepAt(len, 3000).volume, 100);
  EXPECT_EQ(Preview_StepAt(len, 3015).volume, 99);
  EXPECT_EQ(Preview_StepAt(len, 3750).volume, 50);
  EXPECT_EQ(Preview_StepAt(len, 4500).volume, 0);   // 1.5 s of fade
  EXPECT_EQ(Preview_StepAt(len, 4514).volume, 0);
  PreviewStep stopped = Preview_StepAt(len, 4515);   // below 0: the stream stops
  EXPECT_EQ(stopped.volume, -1);
  EXPECT_FALSE(stopped.restart);
  EXPECT_FALSE(Preview_StepAt(len, 5014).restart);
  EXPECT_TRUE(Preview_StepAt(len, 5015).restart);    // half a second of silence
  EXPECT_EQ(Preview_StepAt(0, 0).volume, 100);       // no length: the fade starts at once
  EXPECT_EQ(Preview_StepAt(0, 1500).volume, 0);
}

TEST(Preview, ASongOutsideTheTableOrWithoutMusicIsSilent) {
  EXPECT_FALSE(Preview_Start(-1, 0));
  EXPECT_FALSE(Preview_Start(1 << 30, 0));
  EXPECT_EQ(Preview_Channel(), 0u);
  Preview_Frame(100000);
  Preview_Stop();
  EXPECT_EQ(Preview_Song(), -1);
}
