#include "menus/style_state.h"
#include "media/input/input.h"
#include "media/sound/sound_fx.h"
#include "play/player.h"

namespace {
enum { CHOICE_SINGLE, CHOICE_VERSUS, CHOICE_DOUBLE };

// The lowest choice the cursor may stand on: the page-0 limit means nothing on
// page 1, whose one choice is always reachable.
int lowestOn(const StyleState& s) { return s.page == 0 ? s.lowest : 0; }

// The player's buttons (0..0xFF) in the word.
uint32_t buttonsOf(uint32_t input, int player) { return (input >> (player * MENU_P2_SHIFT)) & 0xFF; }

StyleEvent choose(StyleState& s, const bool available[MODE_COUNT], uint32_t nowMs) {
  if (!available[StyleChoice_Mode(s.page, s.cursor)]) {
    s.message = true;
    s.messageAt = nowMs;
    return STYLE_UNAVAILABLE;
  }
  return STYLE_CHOSEN;
}
}  // namespace

int StylePage_Choices(int page) { return page == 0 ? 3 : 1; }

const char* StylePage_ChoiceName(int page, int choice) {
  static const char* const kNames[3] = {"SINGLE", "VERSUS", "DOUBLE"};
  if (page != 0 || choice < 0 || choice > 2) return kNames[0];
  return kNames[choice];
}

int StyleChoice_Mode(int page, int choice) {
  if (page != 0) return MODE_SOLO;
  return choice == CHOICE_DOUBLE ? MODE_DOUBLE : MODE_SINGLE;
}

void StyleState_Begin(StyleState& s, const Player players[2]) {
  s = StyleState{};
  s.joined[0] = players[0].active != 0;
  s.joined[1] = players[1].active != 0;
  if (!s.joined[0] && !s.joined[1]) s.joined[0] = true;
  if (s.joined[0] && s.joined[1]) s.lowest = s.cursor = CHOICE_VERSUS;
}

StyleEvent StyleState_Input(StyleState& s, uint32_t input, const bool available[MODE_COUNT], uint32_t nowMs,
                            int& who) {
  who = 0;
  if (input & MENU_ESCAPE) return STYLE_BACK;
  for (int p = 0; p < 2; p++) {
    uint32_t b = buttonsOf(input, p);
    if (!b) continue;
    who = p;
    if (!s.joined[p]) {
      // a second player's Start joins both; any other button of theirs is nothing
      if (!(b & MENU_START)) continue;
      s.joined[0] = s.joined[1] = true;
      s.lowest = CHOICE_VERSUS;
      if (s.page == 0 && s.cursor < CHOICE_VERSUS) s.cursor = CHOICE_VERSUS;
      return STYLE_JOINED;
    }
    if (b & MENU_UPLEFT) return STYLE_BACK;
    if (b & (MENU_START | MENU_UPRIGHT)) return choose(s, available, nowMs);
    if (b & MENU_RIGHT) {
      if (s.cursor + 1 >= StylePage_Choices(s.page)) continue;
      s.cursor++;
      return STYLE_MOVED;
    }
    if (b & MENU_LEFT) {
      if (s.cursor - 1 < lowestOn(s)) continue;
      s.cursor--;
      return STYLE_MOVED;
    }
    if (b & (MENU_UP | MENU_DOWN)) {
      s.page = 1 - s.page;
      s.cursor = s.page == 0 ? s.lowest : 0;
      return STYLE_PAGE;
    }
  }
  return STYLE_NOTHING;
}

uint32_t StyleState_TimeUpPress(const StyleState& s) {
  return s.joined[0] ? MENU_START : MENU_START << MENU_P2_SHIFT;
}

StyleEvent StyleState_TimeUp(StyleState& s, const bool available[MODE_COUNT], uint32_t nowMs, int& who) {
  StyleEvent e = StyleState_Input(s, StyleState_TimeUpPress(s), available, nowMs, who);
  if (e != STYLE_UNAVAILABLE) return e;
  for (int page = 0; page < kStylePages; page++)
    for (int c = page == 0 ? s.lowest : 0; c < StylePage_Choices(page); c++)
      if (available[StyleChoice_Mode(page, c)]) {
        s.page = page;
        s.cursor = c;
        return STYLE_CHOSEN;
      }
  return STYLE_UNAVAILABLE;
}

bool StyleState_MessageShown(const StyleState& s, uint32_t nowMs) {
  return s.message && nowMs - s.messageAt < kStyleMessageMs;
}

void StyleChoice_Apply(int page, int choice, int who, Player players[2]) {
  int other = 1 - who;
  if (page != 0) {
    Player_SetStyle(players[who], "SOLO", 6, true);
    players[who].active = 1;
    players[other].active = 0;
    return;
  }
  switch (choice) {
    case CHOICE_VERSUS:
      for (int p = 0; p < 2; p++) {
        Player_SetStyle(players[p], "SINGLE", 4, false);
        players[p].active = 1;
      }
      break;
    case CHOICE_DOUBLE:
      // both pads belong to player 1, whoever pressed
      Player_SetStyle(players[0], "DOUBLE", 8, true);
      players[0].active = 1;
      players[1].active = 0;
      break;
    default:
      Player_SetStyle(players[who], "SINGLE", 4, true);
      players[who].active = 1;
      players[other].active = 0;
      break;
  }
}

int StyleChoice_Banner(int page, int choice, int who) {
  if (page != 0) return who == 0 ? 4 : 5;
  if (choice == CHOICE_DOUBLE) return 3;
  if (choice == CHOICE_VERSUS) return 2;
  return who == 0 ? 0 : 1;
}

int StyleChoice_Announcer(int page, int choice) {
  if (page != 0) return SND_SEL_G1_SINGLE;
  static const int kLines[3] = {SND_SEL_G0_SINGLE, SND_SEL_G0_VERSUS, SND_SEL_G0_DOUBLE};
  return kLines[choice >= 0 && choice < 3 ? choice : 0];
}
