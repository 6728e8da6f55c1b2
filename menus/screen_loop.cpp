#include "menus/screen_loop.h"
#include "library/settings.h"
#include "media/audio/audio.h"
#include "media/font/font.h"
#include "media/render/screen.h"
#include "media/skin/skin_images.h"
#include "media/sound/sound_fx.h"
#include "media/window.h"
#include "platform/clock.h"
#include "platform/pacer.h"
#include "platform/frame_watch.h"
#include <SDL.h>
#include <cstdio>

namespace {
constexpr int kFpsSize = 16;
constexpr uint32_t kFpsPeriodMs = 500;   // the meter is measured over at least this
constexpr int kTickSeconds = 6;          // the last seconds of a time limit tick
constexpr uint32_t kUnpacedDelayMs = 2;  // without the limiter a menu still leaves the CPU some rest

void drawBackdrop(Image& b, BackdropLayout layout, uint32_t elapsedMs) {
  if (!b.loaded) return;
  if (layout == BACKDROP_PICTURE) {
    b.SetPosition(0, 0);
    b.Draw();
    return;
  }
  if (b.width <= 0 || b.height <= 0) return;
  int ox = (int)(elapsedMs / 40) % b.width, oy = (int)(elapsedMs / 40) % b.height;
  for (int y = -oy; y < 480; y += b.height)
    for (int x = -ox; x < 640; x += b.width) {
      b.SetPosition(x, y);
      b.Draw();
    }
}

struct FpsMeter {
  int frames = 0;
  uint32_t since = 0;
  double fps = 0;

  void frame(uint32_t now) {
    frames++;
    if (now - since < kFpsPeriodMs) return;
    fps = frames * 1000.0 / (now - since);
    frames = 0;
    since = now;
  }
  void draw(int y) const {
    char t[32];
    snprintf(t, sizeof t, "%.1f fps", fps);
    Font_DrawText(kFpsSize, 0xFFFFFF, 638 - Font_TextWidth(kFpsSize, t), y, t);
  }
};

}  // namespace

void ScreenTimer_Start(ScreenTimer& t, uint32_t limitMs, uint32_t nowMs) {
  t = ScreenTimer{};
  t.limitMs = limitMs;
  t.lastMs = nowMs;
}

bool ScreenTimer_Frame(ScreenTimer& t, uint32_t nowMs, bool held, ScreenFrame& f) {
  f.secondsLeft = -1;
  f.timeUp = false;
  if (!t.limitMs) return false;
  if (!held && !t.over) t.countedMs += nowMs - t.lastMs;
  t.lastMs = nowMs;
  f.secondsLeft = Screen_SecondsLeft(t.limitMs, t.countedMs);
  bool tick = f.secondsLeft != t.lastSeconds && f.secondsLeft > 0 && f.secondsLeft <= kTickSeconds;
  t.lastSeconds = f.secondsLeft;
  if (f.secondsLeft == 0 && !t.over) {
    t.over = true;
    f.timeUp = true;
  }
  return tick;
}

int Screen_SecondsLeft(uint32_t limitMs, uint32_t countedMs) {
  if (countedMs >= limitMs) return 0;
  return (int)((limitMs - countedMs + 999) / 1000);
}

void Screen_Open(MenuScreen& s, const ScreenSetup& setup) {
  s.setup = setup;
  s.backdrop.Free();
  if (setup.backdrop) LoadPNG(setup.backdrop, s.backdrop, 0, 0);
  if (setup.music >= 0 && setup.music < SND_COUNT) {
    uint32_t channel = setup.musicChannel ? *setup.musicChannel : 0;
    if (!channel) channel = PlaySound((SoundId)setup.music);
    if (setup.musicChannel) *setup.musicChannel = channel;
  }
}

int Screen_Run(const ScreenSetup& setup, const std::function<int(ScreenFrame&)>& frame) {
  MenuScreen s;
  Screen_Open(s, setup);
  return Screen_Run(s, frame);
}

int Screen_Run(MenuScreen& s, const std::function<int(ScreenFrame&)>& frame) {
  const ScreenSetup& setup = s.setup;
  Image& backdrop = s.backdrop;
  uint32_t start = Clock_Ms();
  FpsMeter meter;
  meter.since = start;
  ScreenTimer timer;
  bool limited = g_settings.timeLimit && setup.timeLimitSeconds > 0;
  ScreenTimer_Start(timer, limited ? setup.timeLimitSeconds * 1000u : 0, start);
  bool held = false;
  MenuInput_Begin();
  FrameWatch_Restart();   // what the screen loaded before its first frame is no held frame

  int result = 0;
  while (!result) {
    ScreenFrame f;
    f.nowMs = Clock_Ms();
    f.elapsedMs = f.nowMs - start;
    f.input = MenuInput_Read(setup.repeatMask, setup.onePlayer);
    if (Window_CloseRequested()) f.input |= MENU_ESCAPE;
    if (ScreenTimer_Frame(timer, f.nowMs, held, f)) PlaySound(SND_TIMER);
    f.backdrop = &backdrop;

    Screen_Clear(0, 0, 0);
    drawBackdrop(backdrop, setup.layout, f.elapsedMs);
    result = frame(f);
    held = f.holdTime;
    meter.frame(f.nowMs);
    if (setup.fpsMeter && g_settings.showFps == 0) meter.draw(f.fpsY);
    WaitFrame();
    FrameWatch_Frame(setup.backdrop);
    Screen_Present();
    if (!g_pacer.limiterOn) SDL_Delay(kUnpacedDelayMs);
  }
  backdrop.Free();
  return result;
}

void Screen_DrawTimeLeft(int secondsLeft, int rightX, int y) {
  if (secondsLeft < 0) return;
  constexpr int kDigitW = 32, kDigitH = 42;
  int s = secondsLeft > 99 ? 99 : secondsLeft;
  for (int i = 0; i < 2; i++) {
    Image& d = g_skin.timer[i == 0 ? s / 10 : s % 10];
    if (!d.loaded) continue;
    d.SetSize(kDigitW, kDigitH, 0);
    d.SetPosition(rightX - kDigitW * (2 - i), y);
    d.Draw();
  }
}

void Screen_FadeOutMusic(uint32_t& channel) {
  if (!channel) return;
  uint32_t start = Clock_Ms();
  for (;;) {
    uint32_t e = Clock_Ms() - start;
    if (e >= 1000) break;
    Audio_ChannelSetAttributes(channel, -1, (int)(100 - e / 10), -101);
    Clock_SleepMs(10);
  }
  Audio_ChannelStop(channel);
  Audio_ChannelSetAttributes(channel, -1, 100, -101);
  channel = 0;
}
