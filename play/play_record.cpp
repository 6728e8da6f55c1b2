#include "play/play_record.h"
#include "library/settings.h"
#include "library/song_entry.h"
#include <cstring>

Play g_play;

bool Play_IsTest(const Play& play) { return play.mode == PLAY_TEST || play.mode == PLAY_TEST_FROM; }

namespace {
template <size_t N>
std::string text(const char (&field)[N]) {
  return std::string(field, strnlen(field, N));
}
}  // namespace

PlaySource PlaySource_OfSong(const SongEntry& e) {
  PlaySource src;
  src.group = text(e.group);
  src.folder = text(e.folder);
  src.chartFile = text(e.chartFile);
  src.background = text(e.background);
  src.musicFile = text(e.musicFile);
  src.md5 = text(e.md5);
  src.displayPath = "Songs/" + src.group + "/" + src.folder + "/" + src.chartFile;
  src.title = e.hasDisplayTitle && e.displayTitle[0] ? text(e.displayTitle) : text(e.title);
  src.artist = e.hasDisplayArtist && e.displayArtist[0] ? text(e.displayArtist) : text(e.artist);
  return src;
}

bool Play_EndsWhenAllFail(const Play& play) {
  return g_settings.gameOver || (play.course.active && play.course.rules.hasLives);
}

int Play_LastStage(const Play& play) {
  if (!play.song.course) return g_settings.maxStage;
  return play.course.length > 0 ? play.course.length : 6;
}

ChartRules Play_ChartRules(const Play& play) {
  ChartRules r;
  r.globalGap = g_settings.globalGap;
  r.comboType = g_settings.comboType;
  r.bareFolder = Play_IsTest(play);
  return r;
}
