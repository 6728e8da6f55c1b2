#include "play/notice_screen.h"
#include "platform/pacer.h"
#include "media/draw_helpers.h"
#include "media/input/input.h"
#include "media/render/screen.h"
#include "media/sound/sound_fx.h"
#include "media/window.h"
#include <SDL.h>

bool NoticeScreen(const char* const* lines, int count) {
  MenuInput_Begin();
  for (;;) {
    uint32_t in = MenuInput_Read(0, false);
    if ((in & MENU_ESCAPE) || Window_CloseRequested()) return false;
    if (in & (MENU_START | (MENU_START << MENU_P2_SHIFT))) {
      PlaySound(SND_START);
      return true;
    }
    Screen_Clear(0, 0, 0);
    int top = 240 - count * 13;
    Draw_FillRect(30, top - 20, 580, count * 26 + 40, 0x1A1A30, 230);
    for (int i = 0; i < count; i++)
      Draw_TextCentred(i == 0 ? 24 : 18, i == 0 ? 0xFFFF30 : 0xFFFFFF, 320, top + i * 26, lines[i]);
    Draw_TextCentred(14, 0xA0A0A0, 320, 440, "Press Start to continue, Escape to leave");
    WaitFrame();
    Screen_Present();
    if (!g_pacer.limiterOn) SDL_Delay(2);
  }
}
