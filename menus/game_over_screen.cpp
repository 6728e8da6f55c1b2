#include "menus/game_over_screen.h"
#include "library/settings.h"
#include "media/audio/audio.h"
#include "media/font/font.h"
#include "media/sound/sound_fx.h"
#include "menus/credits_screen.h"
#include "menus/screen_loop.h"
#include "platform/log.h"

namespace {
const char* const kText = "G A M E   O V E R";
constexpr int kSize = 23;
constexpr int kY = 230;
}  // namespace

int GameOver_Opacity(uint32_t n) {
  double o = n <= 499 ? n * 0.51 : n <= 2500 ? 255.0 : (3000.0 - n) * 0.51;
  return o <= 0 ? 0 : o >= 255 ? 255 : (int)o;
}

void GameOverScreen(bool failed, uint32_t musicChannel) {
  if (!failed) {
    // the credits bring a song of their own: the game's music would play under it
    if (musicChannel) Audio_ChannelStop(musicChannel);
    CreditsScreen();
    return;
  }
  WriteLog("Game over...\n");
  int x = 320 - Font_TextWidth(kSize, kText) / 2;
  if (g_settings.announcer) PlayVoice(VOICE_OVER_FAIL);
  ScreenSetup setup;
  setup.fpsMeter = false;   // nothing but the words
  Screen_Run(setup, [x](ScreenFrame& f) {
    int opacity = GameOver_Opacity(f.elapsedMs);
    // a black outline around the white words
    Font_DrawTextAlpha(kSize, 0x000000, x, kY - 2, kText, opacity);
    Font_DrawTextAlpha(kSize, 0x000000, x, kY + 2, kText, opacity);
    Font_DrawTextAlpha(kSize, 0x000000, x - 2, kY, kText, opacity);
    Font_DrawTextAlpha(kSize, 0x000000, x + 2, kY, kText, opacity);
    Font_DrawTextAlpha(kSize, 0xFFFFFF, x, kY, kText, opacity);
    return f.elapsedMs > kGameOverMs ? 1 : 0;
  });
  if (musicChannel) Audio_ChannelStop(musicChannel);
}
