#include "app/title_menu.h"
#include "platform/pacer.h"
#include "library/settings.h"
#include "library/song_list.h"
#include "media/audio/audio.h"
#include "media/draw_helpers.h"
#include "media/font/font.h"
#include "media/input/input.h"
#include "media/render/image.h"
#include "media/render/screen.h"
#include "media/skin/skin_images.h"
#include "media/sound/sound_fx.h"
#include "media/window.h"
#include "menus/available_modes.h"
#include "play/player.h"
#include "platform/clock.h"
#include <SDL.h>
#include <cstdio>

TitleStatus g_titleStatus;
uint32_t g_titleMusic = 0;

namespace {
const char* const kItems[5] = {"ARCADE MODE", "NONSTOP MODE", "RECORDS", "OPTIONS", "QUIT GAME"};
constexpr uint32_t kIdleMs = 15000;
constexpr int kLarge = 30, kSmall = 16;
bool g_firstMenu = true;

enum IdleAction { IDLE_NOTHING, IDLE_LINE_1, IDLE_LINE_2, IDLE_DEMO };

void fadeMusicOut() {
  if (!g_titleMusic) return;
  uint32_t start = Clock_Ms();
  for (;;) {
    uint32_t e = Clock_Ms() - start;
    if (e >= 1000) break;
    Audio_ChannelSetAttributes(g_titleMusic, -1, (int)(100 - e / 10), -101);
    Clock_SleepMs(10);
  }
  Audio_ChannelStop(g_titleMusic);
  Audio_ChannelSetAttributes(g_titleMusic, -1, 100, -101);
  g_titleMusic = 0;
}
}

int TitleMenu_IdleAction(int idleStep, bool attractDemo, bool songsForDemo) {
  if (!attractDemo) return IDLE_NOTHING;
  if (idleStep == 0) return IDLE_LINE_1;
  if (idleStep == 1) return IDLE_LINE_2;
  return songsForDemo ? IDLE_DEMO : IDLE_NOTHING;
}

void TitleMenu_StatusText(uint32_t elapsed, bool firstMenu, char* out, int size) {
  out[0] = 0;
  if (elapsed >= 5000) return;
  if (firstMenu && g_titleStatus.scanChanged && elapsed < 1500)
    snprintf(out, (size_t)size, "%d Added,  %d Updated,  %d Deleted", g_titleStatus.added, g_titleStatus.updated,
             g_titleStatus.deleted);
  else
    snprintf(out, (size_t)size, "%d songs available in %d folders.", (int)g_songs.size(), (int)g_groupList.size());
}

int TitleMenu(bool startOnNonstop) {
  Image title, selector;
  LoadPNG("rkv2-title.png", title, 0, 0);
  LoadPNG("rkv2-selector.png", selector, 1, 1);
  if (!g_titleMusic) g_titleMusic = PlaySound(SND_TSLOOP);
  uint32_t start = Clock_Ms();
  uint32_t idleSince = start, messageAt = 0;
  const char* message = nullptr;
  int idleStep = 0;
  int cursor = startOnNonstop ? 1 : 0;
  int frames = 0;
  uint32_t fpsAt = start;
  double fps = 0;
  bool firstMenu = g_firstMenu;
  g_firstMenu = false;
  int result = 0;
  MenuInput_Begin();

  while (!result) {
    uint32_t now = Clock_Ms();
    // 1. idle: the announcer, then the attract demo
    if (now - idleSince > kIdleMs) {
      bool demoSongs = g_availableModes[MODE_SINGLE] || g_availableModes[MODE_DOUBLE];
      switch (TitleMenu_IdleAction(idleStep, g_settings.attractDemo != 0, demoSongs)) {
        case IDLE_LINE_1: PlaySound(SND_ATTRACT0); break;
        case IDLE_LINE_2: PlaySound(SND_ATTRACT1); break;
        case IDLE_DEMO: result = TITLE_DEMO; break;
        default: break;
      }
      idleStep++;
      idleSince = now;
    }
    // 2. input of both players
    uint32_t in = MenuInput_Read(MENU_DIRECTIONS, false);
    if (Window_CloseRequested()) in |= MENU_ESCAPE;
    const uint32_t next = (MENU_DOWN | MENU_RIGHT) * 0x101, previous = (MENU_UP | MENU_LEFT) * 0x101;
    const uint32_t choose = (MENU_START | MENU_SELECT) * 0x101;
    if (in & MENU_ESCAPE) {
      result = TITLE_QUIT;
    } else if (in & next) {
      cursor = (cursor + 1) % 5;
      PlaySound(SND_SELECT);
      idleSince = now;
    } else if (in & previous) {
      cursor = (cursor + 4) % 5;
      PlaySound(SND_SELECT);
      idleSince = now;
    } else if (in & choose) {
      idleSince = now;
      int who = (in & (MENU_START | MENU_SELECT)) ? 0 : 1;
      switch (cursor) {
        case 0:
        case 1: {
          bool none = cursor == 0 ? !AnyModeAvailable() : g_titleStatus.courseCount == 0;
          if (none) {
            message = cursor == 0 ? "No songs available in this mode" : "No courses available";
            messageAt = now;
            break;
          }
          PlaySound(SND_START);
          g_players[who].active = 1;
          result = cursor == 0 ? TITLE_ARCADE : TITLE_NONSTOP;
          break;
        }
        case 2:
        case 3:
          // the records screen and the options menu are not part of this build yet
          PlaySound(SND_SWITCH);
          message = cursor == 2 ? "The records screen is not available yet" : "The options menu is not available yet";
          messageAt = now;
          break;
        default: result = TITLE_QUIT; break;
      }
    }

    // 3. draw
    Screen_Clear(0, 0, 0);
    if (title.loaded) {
      title.SetPosition(0, 0);
      title.Draw();
    }
    char status[128];
    TitleMenu_StatusText(now - start, firstMenu, status, sizeof status);
    if (status[0]) {
      Font_DrawText(kSmall, 0xFFFFFF, 2, 2, status);
      Font_DrawText(kSmall, 0xFFFFFF, 636 - Font_TextWidth(kSmall, "v2.50.00"), 2, "v2.50.00");
    }
    if (selector.loaded) {
      // the bar follows the item spacing, so it stays on the item it marks
      selector.SetPosition(30, 273 + 35 * cursor);
      selector.SetSurfaceAlpha(128);
      selector.Draw();
    }
    for (int i = 0; i < 5; i++) Draw_TextCentred(kLarge, i == cursor ? 0xFFFFFF : 0xC8C8D8, 320, 284 + 35 * i, kItems[i]);
    if (message && now - messageAt < 2000) Draw_TextCentred(kSmall, 0xE64A67, 320, 445, message);
    Draw_TextCentred(kSmall - 2, 0xFFFF00, 320, 457, "Arrows or pad to move, Start to choose, Escape to quit");
    // 4. the frame-rate meter
    frames++;
    if (now - fpsAt >= 500) {
      fps = frames * 1000.0 / (now - fpsAt);
      frames = 0;
      fpsAt = now;
    }
    if (g_settings.showFps == 0) {
      char t[32];
      snprintf(t, sizeof t, "%.1f fps", fps);
      Font_DrawText(kSmall, 0xFFFFFF, 638 - Font_TextWidth(kSmall, t), status[0] ? 20 : 2, t);
    }
    WaitFrame();
    Screen_Present();
    if (!g_pacer.limiterOn) SDL_Delay(2);
  }

  fadeMusicOut();
  title.Free();
  selector.Free();
  return result;
}
