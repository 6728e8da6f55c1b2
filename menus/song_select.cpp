// SelectSong: the wheel, then the modifier screen (back to the wheel when the
// players ask), then each player's modifier summary and the profiles of players
// whose modifiers changed.
//
// Sound: on the first stage the announcer asks for a song; the song-select loop
// plays on every stage while no preview does (from the wheel's start until the
// first preview, and again whenever the wheel rests on a folder or roulette item),
// and the preview of the chosen song goes on into the modifier screen.
#include "menus/song_wheel.h"
#include "platform/clock.h"
#include "platform/log.h"
#include "library/profiles.h"
#include "library/settings.h"
#include "media/audio/audio.h"
#include "media/sound/sound_fx.h"
#include "menus/modifier_rows.h"
#include "menus/modifier_select.h"
#include "menus/preview.h"
#include "menus/screen_loop.h"
#include "menus/wheel.h"
#include "menus/wheel_look.h"
#include "play/player.h"
#include <cstring>

namespace {
uint32_t g_selectLoop = 0;   // the song-select loop's channel, 0 while silent

void startLoop() {
  if (!g_selectLoop) g_selectLoop = PlaySound(SND_STLOOP);
}

void stopLoop() {
  if (g_selectLoop) Audio_ChannelStop(g_selectLoop);
  g_selectLoop = 0;
}

// The preview follows the selection: it stops as the wheel leaves its song and
// the next one starts once the wheel has rested on a song for 128 ms.
void previews(const Wheel& w, uint32_t nowMs) {
  int selected = w.state == WHEEL_ROULETTE ? -1 : Wheel_SongAt(g_collection, Wheel_Selection(g_collection));
  if (Preview_Song() >= 0 && Preview_Song() != selected) Preview_Stop();
  int due = Wheel_PreviewSong(w, nowMs);
  if (due >= 0 && Preview_Song() != due) {
    stopLoop();
    Preview_Start(due, nowMs);
  } else if (selected < 0 && w.state == WHEEL_IDLE && nowMs - w.restSince >= kPreviewRestMs) {
    startLoop();
  }
  Preview_Frame(nowMs);
}

// 1 a song chosen, 0 the players left.
int songWheel(int stage) {
  int players = (g_players[0].active ? 1 : 0) + (g_players[1].active ? 1 : 0);
  ScreenSetup setup;
  setup.backdrop = "rkv2-song.png";
  setup.timeLimitSeconds = kWheelTimeLimitS;
  setup.repeatMask = (MENU_LEFT | MENU_RIGHT) * 0x101;   // Up and Down count single presses
  setup.onePlayer = players <= 1;
  MenuScreen screen;
  Screen_Open(screen, setup);
  Wheel w;
  Wheel_Begin(w, stage, Clock_Ms());
  WheelLook look;
  WheelLook_Load(look);
  startLoop();
  int r = Screen_Run(screen, [&](ScreenFrame& f) {
    HotKeys_Apply(HotKeys_Read(), w.message, f.nowMs);
    Wheel_Input(w, f.input, f.nowMs);
    if (f.timeUp) Wheel_TimeUp(w, f.nowMs);
    Wheel_Update(w, f.nowMs);
    previews(w, f.nowMs);
    Wheel_Draw(w, look, f);
    f.holdTime = Wheel_Moving(w);
    f.fpsY = 462;
    return Wheel_Result(w, f.nowMs);
  });
  stopLoop();
  WheelLook_Free(look);
  return r == 1 ? 1 : 0;
}
}  // namespace

bool SelectSong_StoreModifiers(Player& p) {
  if (!p.active || p.profileSlot == 0 || p.profileSlot > g_profileCount) return false;
  Profile& profile = g_profiles[p.profileSlot - 1];
  uint8_t values[kModifierRows];
  for (int row = 0; row < kModifierRows; row++) values[row] = Player_Option(p, row);
  if (memcmp(values, profile.modifiers, sizeof values) == 0) return false;
  memcpy(profile.modifiers, values, sizeof values);
  char name[sizeof profile.name + 1];
  snprintf(name, sizeof name, "%.*s", (int)sizeof profile.name, profile.name);
  if (!saveProfile(name)) WriteLogf("The modifiers of profile '%s' could not be stored\n", name);
  return true;
}

int SelectSong(int stage) {
  WriteLog("SelectSong()...\n");
  if (stage == 1 && g_settings.announcer) PlaySound(SND_SEL_SONG);
  bool extra = g_settings.maxStage < 6 && stage > g_settings.maxStage;
  int result = 0;
  for (;;) {
    result = songWheel(stage);
    if (result != 1 || extra) break;
    if (ModifierSelect() != 1) break;
  }
  Preview_Stop();
  if (result != 1) return result;
  for (Player& p : g_players)
    if (p.active) Player_SetSummaryText(p);
  if (!extra)
    for (Player& p : g_players) SelectSong_StoreModifiers(p);
  return result;
}
