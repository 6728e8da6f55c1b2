#include "menus/profile_state.h"
#include "media/input/input.h"

void ProfileState_Begin(ProfileState& s, const Player players[2], int profileCount, const uint8_t lastCursor[2]) {
  s = ProfileState{};
  s.count = profileCount < 0 ? 0 : profileCount;
  for (int p = 0; p < 2; p++) {
    s.active[p] = players[p].active != 0;
    s.panel[p].done = !s.active[p];
    s.panel[p].cursor = lastCursor[p] <= s.count ? lastCursor[p] : 0;
  }
  s.twoPads = s.active[0] && !s.active[1] && players[0].panels == 8;
}

uint32_t ProfileState_Buttons(const ProfileState& s, uint32_t input, int p) {
  if (p < 0 || p > 1 || !s.active[p]) return 0;
  uint32_t own = (input >> (p * MENU_P2_SHIFT)) & 0xFF;
  if (p == 0 && s.twoPads) own |= (input >> MENU_P2_SHIFT) & 0xFF;
  return own;
}

ProfileEvent ProfileState_Press(ProfileState& s, int p, uint32_t buttons, const Profile* profiles, uint32_t nowMs) {
  ProfilePanel& panel = s.panel[p];
  if (!s.active[p] || panel.done || !buttons) return PROFILE_NOTHING;
  if (buttons & MENU_UPLEFT) return PROFILE_BACK;
  if (buttons & (MENU_START | MENU_UPRIGHT)) {
    int i = ProfileState_ProfileAt(panel.cursor);
    if (i < 0) {
      panel.done = true;
      return PROFILE_NO_PROFILE;
    }
    if (profiles[i].inUse) return PROFILE_REFUSED;
    panel.done = true;
    return PROFILE_TAKEN;
  }
  if (buttons & (MENU_RIGHT | MENU_LEFT)) {
    int step = (buttons & MENU_RIGHT) ? 1 : -1;
    int entries = s.count + 1;
    panel.cursor = (panel.cursor + step + entries) % entries;
    panel.slideDir = step;
    panel.slideAt = nowMs;
    return PROFILE_MOVED;
  }
  return PROFILE_NOTHING;
}

ProfileEvent ProfileState_TimeUp(ProfileState& s, int p, const Profile* profiles, uint32_t nowMs) {
  ProfileEvent e = ProfileState_Press(s, p, MENU_START, profiles, nowMs);
  if (e != PROFILE_REFUSED) return e;
  s.panel[p].cursor = 0;
  s.panel[p].done = true;
  return PROFILE_NO_PROFILE;
}

bool ProfileState_AllDone(ProfileState& s, uint32_t nowMs) {
  if (s.allDone) return true;
  if (!s.panel[0].done || !s.panel[1].done) return false;
  s.allDone = true;
  s.allDoneAt = nowMs;
  return true;
}

double ProfileState_Slide(const ProfilePanel& panel, uint32_t nowMs) {
  if (!panel.slideDir) return 1.0;
  uint32_t e = nowMs - panel.slideAt;
  return e >= kProfileSlideMs ? 1.0 : (double)e / kProfileSlideMs;
}
