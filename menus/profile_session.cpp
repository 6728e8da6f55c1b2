// The players' hold on their profiles for the length of a game: taken on the
// profile select screen, written back and given up when the game ends.
#include "library/profiles.h"
#include "library/settings.h"
#include "menus/collection.h"
#include "menus/profile_select.h"
#include "platform/log.h"
#include "menus/modifier_rows.h"
#include "play/player.h"
#include <filesystem>

RecordTable g_profileRecords[2];

namespace {
bool validPlayer(int player) { return player == 0 || player == 1; }

// A records file that exists but does not load would be overwritten by the save
// at the end of the game: it is moved aside first, so that nothing is lost.
void setAsideUnreadable(const std::string& path) {
  std::string aside = path + ".unreadable";
  std::error_code ec;
  std::filesystem::rename(path, aside, ec);
  if (ec)
    WriteLogf("Records file '%s' could not be read or moved aside (%s)\n", path.c_str(), ec.message().c_str());
  else
    WriteLogf("Records file '%s' could not be read; kept as '%s'\n", path.c_str(), aside.c_str());
}
}  // namespace

bool ProfileSelect_Take(int player, int index) {
  if (!validPlayer(player) || index < 0 || index >= g_profileCount) return false;
  ProfileSelect_Release(player);
  Profile& pr = g_profiles[index];
  pr.inUse = 1;
  g_players[player].profileSlot = (uint8_t)(index + 1);
  // the profile brings back the modifiers its player chose last, those this
  // style offers (a turn of four panels is no turn on DOUBLE or SOLO)
  Player& p = g_players[player];
  for (int row = 0; row < kModifierRows; row++) {
    int v = pr.modifiers[row];
    bool offered = v < ModifierRow_Count(row) && ModifierRow_Offered(row, v, ModifierRow_FourPanels(p));
    Player_SetOption(p, row, (uint8_t)(offered ? v : 0));
  }
  g_settings.profileFlags[player] = (uint8_t)(index + 1);
  RecordTable& t = g_profileRecords[player];
  freeRecords(t);
  t.profile = pr.name;
  std::string path = Records_Path(t);
  std::error_code ec;
  bool existed = std::filesystem::is_regular_file(path, ec);
  if (!loadRecords(t) && existed) setAsideUnreadable(path);
  g_playerRecords[player] = &t;
  WriteLogf("Player %d: profile '%s' (%d records)\n", player + 1, pr.name, (int)t.records.size());
  return true;
}

void ProfileSelect_TakeNone(int player) {
  if (!validPlayer(player)) return;
  ProfileSelect_Release(player);
  g_settings.profileFlags[player] = 0;
}

void ProfileSelect_Release(int player) {
  if (!validPlayer(player)) return;
  RecordTable& t = g_profileRecords[player];
  if (!t.profile.empty()) {
    int i = Profile_Find(t.profile.c_str());
    if (i >= 0) g_profiles[i].inUse = 0;
  }
  freeRecords(t);
  t.profile.clear();
  g_players[player].profileSlot = 0;
  g_playerRecords[player] = nullptr;
}

void Profiles_EndGame() {
  for (int p = 0; p < 2; p++) {
    RecordTable& t = g_profileRecords[p];
    // The table's name, not the player's slot, says who holds a profile: the
    // records are written even when the player records were reset first.
    if (!t.profile.empty()) {
      std::string name = t.profile;
      if (!saveRecords(t))
        WriteLogf("Unable to write the records of profile '%s' ('%s'); the old file is kept\n", name.c_str(),
                  Records_Path(t).c_str());
      int i = Profile_Find(name.c_str());
      if (i >= 0) {
        g_profiles[i].inUse = 0;
        saveProfile(name.c_str());   // logs a file it cannot write
      }
    }
    freeRecords(t);
    t.profile.clear();
    g_players[p].profileSlot = 0;
    g_playerRecords[p] = nullptr;
  }
}
