#include "menus/select_screen.h"
#include "library/settings.h"
#include "media/audio/audio.h"
#include "media/skin/skin_images.h"
#include "media/sound/sound_fx.h"
#include <cstdio>

ScreenSetup SelectScreen_Setup(const char* backdrop, uint32_t* loop) {
  ScreenSetup setup;
  setup.backdrop = backdrop;
  setup.music = SND_STLOOP;
  setup.musicChannel = loop;
  setup.timeLimitSeconds = 30;
  setup.repeatMask = 0;
  return setup;
}

void SelectScreen_StopLoop(uint32_t& loop) {
  if (loop) Audio_ChannelStop(loop);
  loop = 0;
}

void SelectScreen_Announce(int sound) {
  if (g_settings.announcer && sound >= 0 && sound < SND_COUNT) PlaySound((SoundId)sound);
}

void SelectScreen_DrawTimeLeft(int secondsLeft, int rightX, int y) {
  if (secondsLeft < 0) return;
  char digits[12];
  int n = snprintf(digits, sizeof digits, "%d", secondsLeft);
  constexpr int kDigitWidth = 32;
  int x = rightX - n * kDigitWidth;
  for (int i = 0; i < n; i++, x += kDigitWidth) {
    Image& d = g_skin.timer[digits[i] - '0'];
    d.SetPosition(x, y);
    d.Draw();
  }
}
