#include "support/game_library.h"
#include "library/indexer.h"
#include "library/profiles.h"
#include "library/settings.h"
#include "library/song_list.h"
#include "platform/files.h"
#include "support/test_support.h"
#include <FreeImage.h>
#include <sndfile.h>
#include <cmath>
#include <cstdio>
#include <cstring>

namespace {
constexpr int kRate = 22050;
constexpr int kRowsPerSecond = 4;   // eighth-note rows at 120 BPM

bool writeTone(const std::string& path, double seconds, int n) {
  SF_INFO info{};
  info.samplerate = kRate;
  info.channels = 1;
  info.format = SF_FORMAT_WAV | SF_FORMAT_PCM_16;
  SNDFILE* f = sf_open(path.c_str(), SFM_WRITE, &info);
  if (!f) return false;
  std::vector<short> s((size_t)(kRate * seconds));
  double hz = 330.0 + 55.0 * (n % 8);   // each song its own note
  for (size_t i = 0; i < s.size(); i++) s[i] = (short)(1500 * std::sin(i * 2 * M_PI * hz / kRate));
  bool ok = sf_write_short(f, s.data(), (sf_count_t)s.size()) == (sf_count_t)s.size();
  sf_close(f);
  return ok;
}

bool writePicture(const std::string& path, int w, int h, uint32_t rgb) {
  FIBITMAP* d = FreeImage_Allocate(w, h, 24);
  if (!d) return false;
  for (int y = 0; y < h; y++) {
    BYTE* row = FreeImage_GetScanLine(d, y);
    for (int x = 0; x < w; x++) {
      row[x * 3 + FI_RGBA_BLUE] = rgb & 0xFF;
      row[x * 3 + FI_RGBA_GREEN] = (rgb >> 8) & 0xFF;
      row[x * 3 + FI_RGBA_RED] = (rgb >> 16) & 0xFF;
    }
  }
  bool ok = FreeImage_Save(FIF_PNG, d, path.c_str());
  FreeImage_Unload(d);
  return ok;
}

// One pad's step data: a row every `every` rows from 1 s to 1 s before the end,
// cycling through `pattern`; `offset` shifts which rows have steps.
std::string steps(int seconds, int every, const char* pattern, int offset = 0) {
  int rows = seconds * kRowsPerSecond, first = kRowsPerSecond, last = rows - kRowsPerSecond;
  size_t n = strlen(pattern);
  std::string out;
  for (int r = 0, k = 0; r < rows; r++) {
    bool step = r >= first && r < last && (r - first + offset) % every == 0;
    out += step ? pattern[k++ % n] : '0';
    if (r % 8 == 7) out += '\n';
  }
  return out;
}

std::string chart(int n, const GameLibrary& lib) {
  int s = lib.seconds;
  char head[256];
  snprintf(head, sizeof head, "#TITLE:Song %d;\n#ARTIST:Tarvolen tests;\n#BPM:120;\n#GAP:0;\n", n);
  std::string c = head;
  if (lib.single) {
    c += "#SINGLE:BASIC:3:\n" + steps(s, 2, "4286") + ";\n";
    c += "#SINGLE:ANOTHER:5:\n" + steps(s, 1, "42862486") + ";\n";
    c += "#SINGLE:MANIAC:8:\n" + steps(s, 1, "4B28A6") + ";\n";
  }
  if (lib.doubles) {
    // the pads take turns
    c += "#DOUBLE:BASIC:4:\n" + steps(s, 4, "42") + ":\n" + steps(s, 4, "86", 2) + ";\n";
    c += "#DOUBLE:MANIAC:9:\n" + steps(s, 2, "4286") + ":\n" + steps(s, 2, "8624", 1) + ";\n";
  }
  if (lib.solo) c += "#SOLO:BASIC:4:\n" + steps(s, 2, "4C28D6") + ";\n";
  return c;
}
}  // namespace

uint32_t GameLibrary_SongColour(int n) {
  static const uint32_t colours[] = {0xC03030, 0x30A040, 0x3050C0, 0xC0A020, 0x9030B0, 0x20A0A0, 0xD06020, 0x808080};
  return colours[(n - 1) % 8] + (uint32_t)((n - 1) / 8) * 0x040404;
}

std::vector<std::string> WriteGameLibrary(const GameLibrary& lib) {
  std::vector<std::string> folders;
  int groups = lib.groups > 0 ? lib.groups : 1;
  GameLibrary l = lib;
  if (l.seconds < 3) l.seconds = 3;
  for (int n = 1; n <= lib.songs; n++) {
    char folder[64];
    snprintf(folder, sizeof folder, "Songs/Group %d/Song %d", (n - 1) % groups + 1, n);
    std::string f = folder;
    double music = lib.tinyMusic && n > 1 ? 0.25 : l.seconds;
    if (!Dir_Create(f) || !writeTone(f + "/song.wav", music, n)) return {};
    WriteFile(f + "/song.rkv", chart(n, l));
    if (lib.banners && !writePicture(f + "/banner.png", 256, 80, GameLibrary_SongColour(n))) return {};
    if (lib.backgrounds && !writePicture(f + "/bg.png", 320, 240, GameLibrary_SongColour(n))) return {};
    folders.push_back(f);
  }
  return folders;
}

bool WriteGameSettings(const GameSettings& g) {
  Settings s;
  Settings_Defaults(s);
  s.autoPlay = g.autoPlay ? 0 : 1;   // stored 0 for ON
  s.timeLimit = g.timeLimit ? 1 : 0;
  s.maxStage = (uint8_t)g.maxStage;
  s.extraStages = (uint8_t)g.extraStages;
  s.userProfiles = g.userProfiles ? 1 : 0;
  s.gameOver = g.gameOver ? 1 : 0;
  s.announcer = g.announcer ? 1 : 0;
  s.showFps = g.fpsMeter ? 0 : 1;    // stored 0 for shown
  s.breakAfter = (uint8_t)g.breakAfter;
  return File_WriteSafely("rkv2.cfg", &s, sizeof s);
}

bool WriteProfiles(const std::vector<std::string>& names) {
  for (const std::string& n : names) {
    if (n.empty() || n.size() >= 16 || !Dir_Create("Profiles/" + n)) return false;
    Profile p{};
    memcpy(p.name, n.data(), n.size());
    if (!File_WriteSafely("Profiles/" + n + "/profile.dat", &p, sizeof p)) return false;
  }
  return true;
}

int IndexGameLibrary() {
  indexSongs("Songs", "rkv2.sng", nullptr, nullptr);
  return loadSongList("rkv2.sng") ? (int)g_songs.size() : 0;
}
