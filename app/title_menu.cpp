#include "app/title_menu.h"
#include "app/options_actions.h"
#include "app/replay_game.h"
#include "library/settings.h"
#include "library/song_list.h"
#include "media/audio/audio.h"
#include "media/draw_helpers.h"
#include "media/font/font.h"
#include "media/skin/skin_images.h"
#include "media/sound/sound_fx.h"
#include "menus/available_modes.h"
#include "menus/options_menu.h"
#include "menus/records_browser.h"
#include "menus/screen_loop.h"
#include "play/player.h"
#include "platform/clock.h"
#include <cstdio>

TitleStatus g_titleStatus;
uint32_t g_titleMusic = 0;

namespace {
// A replay watched from the records browser: the title's music rests meanwhile.
void watchFromRecords(const char* path) {
  if (g_titleMusic) Audio_ChannelStop(g_titleMusic);
  g_titleMusic = 0;
  ReplayGame_Watch(path, true);
  g_titleMusic = PlaySound(SND_TSLOOP);
}

const char* const kItems[5] = {"ARCADE MODE", "NONSTOP MODE", "RECORDS", "OPTIONS", "QUIT GAME"};
constexpr uint32_t kIdleMs = 15000;
constexpr int kLarge = 30, kSmall = 16;
bool g_firstMenu = true;

enum IdleAction { IDLE_NOTHING, IDLE_LINE_1, IDLE_LINE_2, IDLE_DEMO };

struct TitleState {
  Image selector;
  uint32_t idleSince = 0, messageAt = 0;
  const char* message = nullptr;
  int idleStep = 0;
  int cursor = 0;
  bool firstMenu = false;
  bool skinChanged = false;
};

// Idle: the announcer's two lines, then the attract demo.
int idle(TitleState& t, uint32_t now) {
  if (now - t.idleSince <= kIdleMs) return 0;
  int result = 0;
  bool demoSongs = g_availableModes[MODE_SINGLE] || g_availableModes[MODE_DOUBLE];
  switch (TitleMenu_IdleAction(t.idleStep, g_settings.attractDemo != 0, demoSongs)) {
    case IDLE_LINE_1: PlaySound(SND_ATTRACT0); break;
    case IDLE_LINE_2: PlaySound(SND_ATTRACT1); break;
    case IDLE_DEMO: result = TITLE_DEMO; break;
    default: break;
  }
  t.idleStep++;
  t.idleSince = now;
  return result;
}

// The input of both players.
int choose(TitleState& t, uint32_t in, uint32_t now) {
  const uint32_t next = (MENU_DOWN | MENU_RIGHT) * 0x101, previous = (MENU_UP | MENU_LEFT) * 0x101;
  const uint32_t chosen = (MENU_START | MENU_SELECT) * 0x101;
  if (in & MENU_ESCAPE) return TITLE_QUIT;
  if (in & (next | previous)) {
    t.cursor = (t.cursor + ((in & next) ? 1 : 4)) % 5;
    PlaySound(SND_SELECT);
    t.idleSince = now;
    return 0;
  }
  if (!(in & chosen)) return 0;
  t.idleSince = now;
  int who = (in & (MENU_START | MENU_SELECT)) ? 0 : 1;
  switch (t.cursor) {
    case 0:
    case 1: {
      bool none = t.cursor == 0 ? !AnyModeAvailable() : g_titleStatus.courseCount == 0;
      if (none) {
        t.message = t.cursor == 0 ? "No songs available in this mode" : "No courses available";
        t.messageAt = now;
        return 0;
      }
      PlaySound(SND_START);
      g_players[who].active = 1;
      return t.cursor == 0 ? TITLE_ARCADE : TITLE_NONSTOP;
    }
    case 2:
      PlaySound(SND_START);
      RecordsBrowser_SetWatch(watchFromRecords);
      RecordsBrowser();
      t.idleSince = Clock_Ms();
      return 0;
    case 3:
      PlaySound(SND_START);
      if (OptionsMenu(Options_Hooks()) & OPTIONS_SKIN_CHANGED) {
        t.selector.Free();
        LoadPNG("rkv2-selector.png", t.selector, 1, 1);
        t.skinChanged = true;   // the title picture behind the menu too
      }
      t.idleSince = Clock_Ms();
      return 0;
    default: return TITLE_QUIT;
  }
}

void draw(TitleState& t, ScreenFrame& f) {
  char status[128];
  TitleMenu_StatusText(f.elapsedMs, t.firstMenu, status, sizeof status);
  if (status[0]) {
    Font_DrawText(kSmall, 0xFFFFFF, 2, 2, status);
    Font_DrawText(kSmall, 0xFFFFFF, 636 - Font_TextWidth(kSmall, "v2.50.00"), 2, "v2.50.00");
    f.fpsY = 20;   // the meter goes below the status line
  }
  if (t.selector.loaded) {
    // the bar follows the item spacing, so it stays on the item it marks
    t.selector.SetPosition(30, 273 + 35 * t.cursor);
    t.selector.SetSurfaceAlpha(128);
    t.selector.Draw();
  }
  for (int i = 0; i < 5; i++)
    Draw_TextCentred(kLarge, i == t.cursor ? 0xFFFFFF : 0xC8C8D8, 320, 284 + 35 * i, kItems[i]);
  if (t.message && f.nowMs - t.messageAt < 2000) Draw_TextCentred(kSmall, 0xE64A67, 320, 445, t.message);
  Draw_TextCentred(kSmall - 2, 0xFFFF00, 320, 457, "Arrows or pad to move, Start to choose, Escape to quit");
}
}  // namespace

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
  TitleState t;
  ScreenSetup setup;
  setup.backdrop = "rkv2-title.png";
  setup.music = SND_TSLOOP;
  setup.musicChannel = &g_titleMusic;
  MenuScreen screen;
  Screen_Open(screen, setup);
  LoadPNG("rkv2-selector.png", t.selector, 1, 1);
  t.idleSince = Clock_Ms();
  t.cursor = startOnNonstop ? 1 : 0;
  t.firstMenu = g_firstMenu;
  g_firstMenu = false;

  int result = Screen_Run(screen, [&t](ScreenFrame& f) {
    int r = idle(t, f.nowMs);
    int c = choose(t, f.input, f.nowMs);
    if (t.skinChanged && f.backdrop) {
      f.backdrop->Free();
      LoadPNG("rkv2-title.png", *f.backdrop, 0, 0);
      t.skinChanged = false;
    }
    draw(t, f);
    return c ? c : r;
  });
  Screen_FadeOutMusic(g_titleMusic);
  t.selector.Free();
  return result;
}
