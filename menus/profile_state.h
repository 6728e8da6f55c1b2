#pragma once
// What the profile select screen decides, apart from its drawing and the files:
// each active player's cursor over "No User/System" and the profiles, the slide
// of the cursor, who is done, and what the time limit does. Pure functions over
// the screen's state and the menu input word.
#include "chart/player_record.h"
#include "library/profiles.h"
#include <cstdint>

constexpr uint32_t kProfileSlideMs = 160;
constexpr uint32_t kProfileDoneWaitMs = 250;

struct ProfilePanel {
  int cursor = 0;          // 0 "No User/System", 1..count the profile at index cursor - 1
  int slideDir = 0;        // +1 slid on to the next entry, -1 back to the previous, 0 not moved
  uint32_t slideAt = 0;    // when the slide began
  bool done = false;       // chosen (an inactive player counts as done)
};

struct ProfileState {
  ProfilePanel panel[2];
  bool active[2] = {};
  bool twoPads = false;    // DOUBLE: the second controller's buttons act for player 1
  int count = 0;           // profiles listed
  bool allDone = false;    // both done flags set ...
  uint32_t allDoneAt = 0;  // ... at this time
};

enum ProfileEvent {
  PROFILE_NOTHING,
  PROFILE_MOVED,       // the cursor slid
  PROFILE_TAKEN,       // the free profile under the cursor is chosen (the caller takes it)
  PROFILE_NO_PROFILE,  // "No User/System" is chosen
  PROFILE_REFUSED,     // Start on a profile the other player holds
  PROFILE_BACK,        // the players backed out
};

// The state on entry: the active players of the records, and the cursor each
// had at the end of the last game (`lastCursor`, out of range gives 0).
void ProfileState_Begin(ProfileState& s, const Player players[2], int profileCount, const uint8_t lastCursor[2]);
// Player `p`'s buttons (the 8 low bits) in the input word: none for an inactive
// player; on DOUBLE player 1 has both controllers.
uint32_t ProfileState_Buttons(const ProfileState& s, uint32_t input, int p);
// Player `p`'s buttons of this frame. `profiles` are the listed profiles with
// their in-use marks. A player who is done does nothing any more.
ProfileEvent ProfileState_Press(ProfileState& s, int p, uint32_t buttons, const Profile* profiles, uint32_t nowMs);
// The end of the time limit for player `p` (call for player 1 first, taking a
// profile before the next call): Start is pressed for a player not yet done, and
// a player whose cursor is on a profile in use plays without one, so that the
// time limit always ends the screen.
ProfileEvent ProfileState_TimeUp(ProfileState& s, int p, const Profile* profiles, uint32_t nowMs);
// True once both done flags are set (the first time, the wait begins at `nowMs`).
bool ProfileState_AllDone(ProfileState& s, uint32_t nowMs);
// How far the slide of a panel has gone, 0..1 (1 at rest).
double ProfileState_Slide(const ProfilePanel& panel, uint32_t nowMs);
// The profile (index in `profiles`) a cursor stands on, -1 for "No User/System".
inline int ProfileState_ProfileAt(int cursor) { return cursor - 1; }
