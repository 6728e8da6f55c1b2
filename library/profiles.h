#pragma once
// Player profiles: one folder per profile under "Profiles", holding "profile.dat"
// (288 bytes), the profile's records "rkv2-user.rec" and optionally "user.png".
#include <cstddef>
#include <cstdint>

// A profile's statistics for one style group (0 four panels: SINGLE and VERSUS,
// 1 DOUBLE, 2 SOLO). Arcade stages and nonstop courses count steps alike; the
// rest is kept apart for the two kinds of game.
struct ProfileStats {
  int32_t songs;            // 0: arcade stages played
  int32_t bestCombo;        // 4: arcade
  double steps;             // 8: notes stepped on (judged from a press)
  double perfects;          // 16: of them PERFECT
  double bestScore;         // 24: arcade
  double courseBestPercent; // 32: nonstop: dance-point percentage of a whole course
  int32_t courseBestStage;  // 40: nonstop: most songs of a course reached
  int32_t courseLongestMs;  // 44: nonstop: longest course played
  double courseBestScore;   // 48
  int32_t courseBestCombo;  // 56
  int32_t reserved60;       // 60
};
static_assert(sizeof(ProfileStats) == 64);
static_assert(offsetof(ProfileStats, steps) == 8 && offsetof(ProfileStats, courseBestPercent) == 32);
static_assert(offsetof(ProfileStats, courseBestCombo) == 56);

constexpr int kProfileStyleGroups = 3;

struct Profile {
  uint8_t isNew;            // 0: created without a file
  uint8_t inUse;            // 1: working, cleared at listing
  uint8_t reserved2[30];    // 2
  int32_t work32;           // 32: working, cleared at listing
  int32_t work36;           // 36: working, cleared at listing
  char name[16];            // 40: the folder name, written at each listing
  ProfileStats stats[kProfileStyleGroups];  // 56
  uint8_t modifiers[9];     // 248: the player's last modifier values, in row order
  uint8_t reserved257[31];  // 257
};
static_assert(sizeof(Profile) == 288);
static_assert(offsetof(Profile, work32) == 32 && offsetof(Profile, work36) == 36 && offsetof(Profile, name) == 40);
static_assert(offsetof(Profile, stats) == 56 && offsetof(Profile, modifiers) == 248);

constexpr int kMaxProfiles = 64;

extern Profile g_profiles[kMaxProfiles];
extern int g_profileCount;

int listProfiles();                    // number of profiles found (at most 64)
bool saveProfile(const char* name);    // writes the listed profile of that name
int Profile_Find(const char* name);    // index or -1
