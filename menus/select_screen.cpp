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


