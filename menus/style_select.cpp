// The style select screen: the icons of the page's choices in a row, the text
// and pad pictures of the one under the cursor, the "no songs" message. The
// rules are in style_state.cpp; this file draws and makes the sounds.
//
// Sound: the style-select loop ("stloop") plays while the screen is up and the
// announcer's "select/style" line greets the players; Left/Right and a joining
// player play the cursor sound, a page switch the switch sound. On a choice the
// loop stops, the start sound and the choice's announcer line play, and the
// screen stays 750 ms with the choice lit. Announcer lines follow the
// "Announcer" setting.
#include "menus/style_select.h"
#include "media/draw_helpers.h"
#include "media/font/font.h"
#include "media/skin/skin_images.h"
#include "media/sound/sound_fx.h"
#include "menus/select_screen.h"
#include "menus/style_state.h"
#include "platform/log.h"
#include <cstdio>

namespace {
constexpr int kIconY = 84, kIconHalf = 37, kIconRowWidth = 300, kIconRowLeft = 40;
constexpr int kTextX = 395, kTextY = 118;
constexpr int kPadCentreX = 192, kPadY = 278;
constexpr uint32_t kMessageColour = 0xE64A67;
constexpr uint32_t kOutOfReach = 0x404040, kOther = 0x808080;

enum { PIC_ICON, PIC_TEXT, PIC_PAD, PIC_KINDS };

struct StyleScreen {
  StyleState state;
  Image pictures[kStyleMaxChoices][PIC_KINDS];
  int loadedPage = -1;
  bool chosen = false;
  uint32_t chosenAt = 0;
  int who = 0;
  uint32_t loop = 0;   // the loop sample's channel
};

void loadPage(StyleScreen& s, int page) {
  if (s.loadedPage == page) return;
  static const char* const kKinds[PIC_KINDS] = {"icon", "text", "pad"};
  for (auto& choice : s.pictures)
    for (Image& i : choice) i.Free();
  for (int c = 0; c < StylePage_Choices(page); c++)
    for (int k = 0; k < PIC_KINDS; k++) {
      char file[64];
      snprintf(file, sizeof file, "rkv2-g%d-%s-%s.png", page, StylePage_ChoiceName(page, c), kKinds[k]);
      LoadPNG(file, s.pictures[c][k], 1, 1);
    }
  s.loadedPage = page;
}

void freePictures(StyleScreen& s) {
  for (auto& choice : s.pictures)
    for (Image& i : choice) i.Free();
  s.loadedPage = -1;
}

void draw(StyleScreen& s, ScreenFrame& f) {
  const StyleState& st = s.state;
  int n = StylePage_Choices(st.page);
  int w = kIconRowWidth / n;
  for (int i = 0; i < n; i++) {
    Image& icon = s.pictures[i][PIC_ICON];
    bool outOfReach = st.page == 0 && i < st.lowest;
    icon.SetColour(i == st.cursor ? 0xFFFFFF : outOfReach ? kOutOfReach : kOther);
    icon.SetPosition((i + 1) * w - w / 2 - kIconHalf + kIconRowLeft, kIconY);
    icon.Draw();
  }
  if (st.cursor >= 0 && st.cursor < n) {
    Image& text = s.pictures[st.cursor][PIC_TEXT];
    text.SetPosition(kTextX, kTextY);
    text.Draw();
    Image& pad = s.pictures[st.cursor][PIC_PAD];
    pad.SetPosition(kPadCentreX - pad.width / 2, kPadY);
    pad.Draw();
  }
  // the player who has not joined yet is told how (under the skin's help lines)
  if (!s.chosen && st.joined[0] != st.joined[1]) {
    char hint[48];
    snprintf(hint, sizeof hint, "PLAYER %d  START  join", st.joined[0] ? 2 : 1);
    Font_DrawText(14, 0xFFE080, 400, 352, hint);
  }
  if (StyleState_MessageShown(st, f.nowMs))
    Draw_TextCentred(16, kMessageColour, 320, 445, "No songs available in this mode");
  if (f.secondsLeft >= 0 && !s.chosen) {
    Screen_DrawTimeLeft(f.secondsLeft, 630, 6);
    f.fpsY = 50;
  }
}

// The frame's decision, with its sounds and pictures. 1 chosen (after the
// wait), 2 backed out, 0 go on.
int frame(StyleScreen& s, ScreenFrame& f, Player players[2]) {
  if (s.chosen) {
    f.holdTime = true;
    draw(s, f);
    if (f.nowMs - s.chosenAt < kStyleChosenWaitMs) return 0;
    g_styleBanner = StyleChoice_Banner(s.state.page, s.state.cursor, s.who);
    return 1;
  }
  int who = 0;
  StyleEvent e = f.timeUp ? StyleState_TimeUp(s.state, g_availableModes, f.nowMs, who)
                          : StyleState_Input(s.state, f.input, g_availableModes, f.nowMs, who);
  loadPage(s, s.state.page);   // a page switch, or the time limit's fallback to another page
  switch (e) {
    case STYLE_MOVED:
    case STYLE_JOINED: PlaySound(SND_SELECT); break;
    case STYLE_PAGE: PlaySound(SND_SWITCH); break;
    case STYLE_BACK: return 2;
    case STYLE_CHOSEN:
      StyleChoice_Apply(s.state.page, s.state.cursor, who, players);
      s.chosen = true;
      s.chosenAt = f.nowMs;
      s.who = who;
      SelectScreen_StopLoop(s.loop);
      PlaySound(SND_START);
      SelectScreen_Announce(StyleChoice_Announcer(s.state.page, s.state.cursor));
      WriteLogf("Style chosen: %s (player %d)\n", players[0].active ? players[0].styleName : players[1].styleName,
                who + 1);
      break;
    default: break;
  }
  draw(s, f);
  return 0;
}
}  // namespace

int StyleSelect(Player players[2]) {
  StyleScreen s;
  StyleState_Begin(s.state, players);
  MenuScreen screen;
  Screen_Open(screen, SelectScreen_Setup("rkv2-style.png", &s.loop));
  loadPage(s, 0);
  SelectScreen_Announce(SND_SEL_STYLE);
  int r = Screen_Run(screen, [&](ScreenFrame& f) { return frame(s, f, players); });
  SelectScreen_StopLoop(s.loop);
  freePictures(s);
  return r == 1 ? 1 : 0;
}
