// The profile select screen: one panel per active player (side by side for two,
// centred for one) with the picture and name of the entry under the cursor, its
// statistics for the player's style, and a plate below that says whether the
// player is done. The rules are in profile_state.cpp, the taking of profiles in
// profile_session.cpp; this file draws and makes the sounds.
//
// Sound: the selection loop ("stloop") plays while the screen is up and the
// announcer's "select/profile" line greets the players (announcer lines follow
// the "Announcer" setting). Left/Right play the cursor sound, a choice the start
// sound, Start on a profile the other player holds the switch sound.
#include "menus/profile_select.h"
#include "library/profiles.h"
#include "library/settings.h"
#include "media/draw_helpers.h"
#include "media/font/font.h"
#include "media/skin/skin_images.h"
#include "media/sound/sound_fx.h"
#include "menus/profile_picture.h"
#include "menus/profile_state.h"
#include "menus/profile_stats.h"
#include "menus/select_screen.h"
#include "play/player.h"
#include "platform/log.h"
#include <cstdio>

namespace {
constexpr int kPanelY = 50, kPlateY = 396;
constexpr int kFrameX = 22, kFrameY = 52, kFrameSide = 68, kWindowInset = 5, kPictureSide = 58;
constexpr int kNameX = 102, kRowsY = 124, kRowStep = 30, kRowLeft = 30, kRowRight = 290;
constexpr int kSlidePixels = 40;
constexpr uint32_t kNoProfileColour = 0x80FFFF, kInUseColour = 0xFF4040, kReadyColour = 0xFFE040;

struct ProfileScreen {
  ProfileState state;
  int mode = 0;
  // each profile's own picture, loaded the first time it is shown
  Image pictures[kMaxProfiles];
  bool tried[kMaxProfiles] = {};
  uint32_t loop = 0;
};

int panelX(const ProfileState& s, int p) { return s.active[0] && s.active[1] ? 320 * p : 160; }

Image& pictureOf(ProfileScreen& s, int index) {
  if (!s.tried[index]) {
    s.tried[index] = true;
    ProfilePicture_Load(g_profiles[index].name, kPictureSide, s.pictures[index]);
  }
  return s.pictures[index].loaded ? s.pictures[index] : g_skin.profileDefault;
}

void drawPicture(ProfileScreen& s, int index, int wx, int wy, int dx, int alpha) {
  Image& pic = index >= 0 ? pictureOf(s, index) : g_skin.profileDefault;
  bool shared = &pic == &g_skin.profileDefault;
  if (shared) pic.SetSize(kPictureSide, kPictureSide, 0);
  pic.SetPosition(wx + dx, wy);
  pic.SetSurfaceAlpha(alpha);
  pic.DrawClipped(wx, wy, wx + kPictureSide, wy + kPictureSide);
  pic.SetSurfaceAlpha(255);
  if (shared) pic.ResetSize();   // the skin's picture keeps its own size for other screens
}

void drawPanel(ProfileScreen& s, int p, uint32_t now) {
  const ProfilePanel& panel = s.state.panel[p];
  int px = panelX(s.state, p), py = kPanelY;
  Image& back = g_skin.profilePlayers[p];
  back.SetPosition(px, py);
  back.Draw();

  // whose statistics: the player's style and the kind of game
  char kind[40];
  snprintf(kind, sizeof kind, "%s  %s", g_players[p].styleName, s.mode ? "NONSTOP" : "ARCADE");
  Font_DrawText(13, 0xD8E0FF, px + 296 - Font_TextWidth(13, kind), py + 22, kind);

  int index = ProfileState_ProfileAt(panel.cursor);
  double t = ProfileState_Slide(panel, now);
  int dx = (int)((1.0 - t) * panel.slideDir * kSlidePixels);
  int alpha = (int)(96 + 159 * t);
  int wx = px + kFrameX + kWindowInset, wy = py + kFrameY + kWindowInset;
  drawPicture(s, index, wx, wy, dx, alpha);
  // held by the other player: the player who holds it sees it as their own
  bool inUse = index >= 0 && g_profiles[index].inUse && g_players[p].profileSlot != index + 1;
  if (inUse) {
    Draw_FillRect(wx, wy, kPictureSide, kPictureSide, 0x000000, 150);
    Draw_TextCentred(20, kInUseColour, wx + kPictureSide / 2, wy + 7, "IN");
    Draw_TextCentred(20, kInUseColour, wx + kPictureSide / 2, wy + 30, "USE");
  }
  Image& frame = g_skin.profileFrame[1];
  frame.SetPosition(px + kFrameX, py + kFrameY);
  frame.Draw();

  const char* name = index >= 0 ? g_profiles[index].name : "No User/System";
  uint32_t colour = index >= 0 ? 0xFFFFFF : kNoProfileColour;
  Font_DrawTextAlpha(20, colour, px + kNameX + dx, py + kFrameY + 10, name, alpha);
  char where[32];
  snprintf(where, sizeof where, "%d / %d", panel.cursor, s.state.count);
  Font_DrawText(13, 0xB8C0E0, px + kNameX, py + kFrameY + 40, s.state.count ? where : "no profiles");

  int row = py + kRowsY;
  if (index >= 0) {
    ProfileStatLine lines[kProfileStatLines];
    int group = Profile_StyleGroup(g_players[p].panels);
    int n = ProfileStats_Lines(g_profiles[index].stats[group], s.mode, lines);
    for (int i = 0; i < n; i++) {
      int y = row + kRowStep * i + 5;
      Font_DrawText(15, 0xFFFFFF, px + kRowLeft, y, lines[i].label);
      Font_DrawText(15, 0xFFFFFF, px + kRowRight - Font_TextWidth(15, lines[i].value), y, lines[i].value);
    }
  } else {
    Font_DrawText(15, 0xB8C0E0, px + kRowLeft, row + 5, "Play without a profile:");
    Font_DrawText(15, 0xB8C0E0, px + kRowLeft, row + kRowStep + 5, "results go to the system records.");
  }

  Image& plate = g_skin.profilePlayers[2 + p];
  plate.SetPosition(px, kPlateY);
  plate.Draw();
  int cx = px + 160;
  if (panel.done) {
    Draw_TextCentred(28, kReadyColour, cx, kPlateY + 22, "READY!");
  } else {
    Draw_TextCentred(15, 0xFFFFFF, cx, kPlateY + 16, "LEFT / RIGHT  choose");
    Draw_TextCentred(15, 0xFFFFFF, cx, kPlateY + 38, "START  decide");
  }
}

// What a player's event does beyond the state: sounds and the profile itself.
void apply(ProfileScreen& s, int p, ProfileEvent e) {
  switch (e) {
    case PROFILE_MOVED: PlaySound(SND_SELECT); break;
    case PROFILE_TAKEN:
      ProfileSelect_Take(p, ProfileState_ProfileAt(s.state.panel[p].cursor));
      PlaySound(SND_START);
      break;
    case PROFILE_NO_PROFILE:
      ProfileSelect_TakeNone(p);
      PlaySound(SND_START);
      break;
    case PROFILE_REFUSED: PlaySound(SND_SWITCH); break;
    default: break;
  }
}

// 1 all chosen (after the wait), 2 backed out, 0 go on.
int frame(ProfileScreen& s, ScreenFrame& f) {
  ProfileState& st = s.state;
  if (!st.allDone) {
    if (f.timeUp) {
      for (int p = 0; p < 2; p++) apply(s, p, ProfileState_TimeUp(st, p, g_profiles, f.nowMs));
    } else {
      if (f.input & MENU_ESCAPE) return 2;
      for (int p = 0; p < 2; p++) {
        ProfileEvent e = ProfileState_Press(st, p, ProfileState_Buttons(st, f.input, p), g_profiles, f.nowMs);
        if (e == PROFILE_BACK) return 2;
        apply(s, p, e);
      }
    }
    ProfileState_AllDone(st, f.nowMs);
  }
  if (st.allDone) f.holdTime = true;
  for (int p = 0; p < 2; p++)
    if (st.active[p]) drawPanel(s, p, f.nowMs);
  if (f.secondsLeft >= 0 && !st.allDone) {
    Screen_DrawTimeLeft(f.secondsLeft, 630, 6);
    f.fpsY = 50;
  }
  return st.allDone && f.nowMs - st.allDoneAt >= kProfileDoneWaitMs ? 1 : 0;
}
}  // namespace

int ProfileSelect(int mode) {
  if (!g_settings.userProfiles) {
    for (int p = 0; p < 2; p++) ProfileSelect_Release(p);
    return 1;
  }
  ProfileScreen s;
  s.mode = mode == 1 ? 1 : 0;
  ProfileState_Begin(s.state, g_players, g_profileCount, g_settings.profileFlags);
  MenuScreen screen;
  Screen_Open(screen, SelectScreen_Setup("rkv2-profile.png", &s.loop));
  LoadProfileImages();
  SelectScreen_Announce(SND_SEL_PROFILE);
  WriteLogf("Profile select: %d profiles\n", g_profileCount);
  int r = Screen_Run(screen, [&s](ScreenFrame& f) { return frame(s, f); });
  SelectScreen_StopLoop(s.loop);
  FreeProfileImages();
  for (Image& i : s.pictures) i.Free();
  if (r == 1) return 1;
  for (int p = 0; p < 2; p++) ProfileSelect_Release(p);
  return 0;
}
