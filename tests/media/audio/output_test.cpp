// What reaches the device: SDL's disk driver writes every buffer it is handed to
// a file, so the mix can be checked frame by frame. (It writes in a format of its
// own choosing, converted by SDL: only 16-bit stereo at 44.1 kHz passes through
// unchanged, so that is what is checked here.)
#include "audio_test_util.h"
#include <gmock/gmock.h>
#include <cstdlib>

namespace {
// Switches SDL to its disk driver for one test.
struct DiskDriver {
  std::string old;
  bool had;
  explicit DiskDriver(const std::string& file) {
    const char* o = getenv("SDL_AUDIODRIVER");
    had = o != nullptr;
    if (o) old = o;
    setenv("SDL_AUDIODRIVER", "disk", 1);
    setenv("SDL_DISKAUDIOFILE", file.c_str(), 1);
  }
  ~DiskDriver() {
    Audio_Free();
    if (had) setenv("SDL_AUDIODRIVER", old.c_str(), 1);
    else unsetenv("SDL_AUDIODRIVER");
    unsetenv("SDL_DISKAUDIOFILE");
  }
};

// Frames (of the left channel) where a click starts.
std::vector<int64_t> clickStarts(const std::string& raw, int channels) {
  std::vector<int64_t> at;
  size_t n = raw.size() / (2 * channels);
  int64_t quietSince = 1000;
  for (size_t i = 0; i < n; i++) {
    int16_t v;
    memcpy(&v, raw.data() + i * 2 * channels, 2);
    if (std::abs(v) > 3000) {
      if (quietSince > 500) at.push_back((int64_t)i);
      quietSince = 0;
    } else {
      quietSince++;
    }
  }
  return at;
}

std::vector<int64_t> gaps(const std::vector<int64_t>& v) {
  std::vector<int64_t> g;
  for (size_t i = 1; i < v.size(); i++) g.push_back(v[i] - v[i - 1]);
  return g;
}
}

TEST(AudioOutput, TheMixReachesTheDeviceSampleAccurately) {
  TempDir dir;
  std::string out = dir.path + "/out.raw";
  DiskDriver disk(out);
  ASSERT_TRUE(writeSound("clicks.wav", SoundKind::Wav16, 44100, 2, clickFrames(44100, 2, 4410, 44100)));
  ASSERT_TRUE(Audio_Init(-1, 44100, AUDIO_DEVICE_LATENCY, nullptr));
  ASSERT_THAT(std::string(Audio_GetDeviceDescription(0)), ::testing::HasSubstr("disk"));
  ASSERT_TRUE(Audio_Start());
  uint32_t s = Audio_StreamCreateFile(false, "clicks.wav", 0, 0, 0);
  ASSERT_NE(s, 0u);
  ASSERT_TRUE(Audio_StreamPlay(s, false, 0));
  ASSERT_TRUE(waitFor(3000, [&] { return Audio_ChannelIsActive(s) == 0; }));
  // then the same at rate step 7
  ASSERT_TRUE(Audio_ChannelSetPosition(s, 0));
  ASSERT_TRUE(Audio_ChannelSetAttributes(s, 44100 * 12 / 10, -1, -101));
  ASSERT_TRUE(Audio_StreamPlay(s, false, 0));
  ASSERT_TRUE(waitFor(3000, [&] { return Audio_ChannelIsActive(s) == 0; }));
  sleepMs(50);
  Audio_Free();
  std::vector<int64_t> g = gaps(clickStarts(ReadFile(out), 2));
  ASSERT_GE(g.size(), 19u);
  for (int i = 0; i < 9; i++) EXPECT_EQ(g[i], 4410) << i;              // every click, to the frame
  for (size_t i = 10; i < 19; i++) EXPECT_NEAR(g[i], 3675, 1) << i;    // 4410 / 1.2
}
