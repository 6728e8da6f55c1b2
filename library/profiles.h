#pragma once
// Player profiles: one folder per profile under "Profiles", holding "profile.dat"
// (288 bytes), the profile's records "rkv2-user.rec" and optionally "user.png".
#include <cstddef>
#include <cstdint>

struct Profile {
  uint8_t isNew;            // 0: created without a file
  uint8_t inUse;            // 1: working, cleared at listing
  uint8_t data2[30];        // 2: statistics kept by the profile screens
  int32_t work32;           // 32: working, cleared at listing
  int32_t work36;           // 36: working, cleared at listing
  char name[16];            // 40: the folder name, written at each listing
  uint8_t data56[232];      // 56: statistics and last modifiers, kept by the profile screens
};
static_assert(sizeof(Profile) == 288);
static_assert(offsetof(Profile, work32) == 32 && offsetof(Profile, work36) == 36 && offsetof(Profile, name) == 40);

constexpr int kMaxProfiles = 64;

extern Profile g_profiles[kMaxProfiles];
extern int g_profileCount;

int listProfiles();                    // number of profiles found (at most 64)
bool saveProfile(const char* name);    // writes the listed profile of that name
int Profile_Find(const char* name);    // index or -1
