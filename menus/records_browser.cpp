// The records browser, run by the title menu's RECORDS item. The players walk
// down from a table (the machine's "No User/System", or a profile's) to a style,
// a folder and its songs, or the nonstop courses, and see each one's best
// results; they can clear the results of one song or course ("Reset") or of the
// whole table ("Reset All"), each behind a confirmation. The levels and what
// the keys do are in records_browse.h, what a reset clears in records_reset.h,
// the drawing in records_draw.h.
//
// Decisions of ours:
// - Both players' controls act (folded into one), Escape or Up-Left goes back.
//   There is no time limit: the title menu, which runs this screen, has none.
//   The title's music plays on; the frame-rate meter shows as on every screen.
// - A profile's records are read when it is chosen and freed when the players
//   go back to the profiles. Looking writes nothing: a profile without a records
//   file shows no results (no file is made for it); one whose file cannot be
//   read shows none and offers no reset, so the file stays as it is.
// - Select on a song watches the best replay of the table's player on that song
//   in the style shown, at the hardest difficulty that has one; on a course, the
//   best replay of the course in that style.
// - A reset is written at once. When the file cannot be written the screen says
//   so, the log has a line, the file and the table stay as they were, and the
//   players go on browsing.
#include "menus/records_browser.h"
#include "library/courses.h"
#include "library/profiles.h"
#include "library/records.h"
#include "library/replay_store.h"
#include "library/song_list.h"
#include "media/skin/skin_images.h"
#include "media/sound/sound_fx.h"
#include "menus/records_browse.h"
#include "menus/records_draw.h"
#include "menus/records_reset.h"
#include "menus/screen_loop.h"
#include "menus/wheel_banners.h"
#include "platform/files.h"
#include "platform/log.h"
#include <cstdarg>
#include <cstdio>
#include <memory>

namespace {
constexpr uint32_t kMessageMs = 3000;
constexpr uint32_t kDoneColour = 0x80FF80, kFailColour = 0xFF6060, kRefusedColour = 0xE64A67;

RecordsWatchHook g_watch = nullptr;

struct RecordsScreen {
  RecordsBrowse browse;
  RecordTable profileTable;      // the chosen profile's records
  RecordTable* table = nullptr;  // the table shown; null before one is chosen or when it cannot be read
  RecordsLook look;
  char message[160] = "";
  uint32_t messageColour = 0, messageAt = 0;
};

void say(RecordsScreen& s, uint32_t now, uint32_t colour, const char* format, ...) {
  va_list args;
  va_start(args, format);
  vsnprintf(s.message, sizeof s.message, format, args);
  va_end(args);
  s.messageColour = colour;
  s.messageAt = now;
}

void closeTable(RecordsScreen& s) {
  freeRecords(s.profileTable);
  s.profileTable.profile.clear();
  s.table = nullptr;
}

void openTable(RecordsScreen& s) {
  closeTable(s);
  s.look.generation++;
  int i = s.browse.table;
  if (i < 0 || i >= g_profileCount) {
    s.table = &g_records;
    return;
  }
  RecordTable& t = s.profileTable;
  t.profile = g_profiles[i].name;
  std::string path = Records_Path(t);
  if (!File_Exists(path)) {
    s.table = &t;   // no results yet
    return;
  }
  if (loadRecords(t)) {
    s.table = &t;
    WriteLogf("Records browser: profile '%s', %d records\n", g_profiles[i].name, (int)t.records.size());
    return;
  }
  freeRecords(t);
  WriteLogf("Records browser: the records of profile '%s' ('%s') cannot be read; they are left as they are\n",
            g_profiles[i].name, path.c_str());
}

void reset(RecordsScreen& s, uint32_t now) {
  RecordsBrowse& b = s.browse;
  bool all = b.confirm.kind == RCONFIRM_RESET_ALL;
  char key[sizeof(SongRecord::key)];
  bool keyed = !all && RecordsBrowse_Key(b.confirm.item, key, sizeof key);
  const char* name = all ? RecordsBrowse_TableName(b.table) : RecordsBrowse_ItemName(b.confirm.item);
  if (s.table && (all || keyed) && RecordsReset_Apply(*s.table, all ? nullptr : key)) {
    PlaySound(SND_START);
    say(s, now, kDoneColour, all ? "Every record of %s was reset." : "The records of %s were reset.", name);
  } else {
    PlaySound(SND_SWITCH);
    say(s, now, kFailColour, "The records file could not be written; nothing was reset.");
  }
  s.look.generation++;
  b.confirm = RecordsConfirm{};
}

// Select on a song or a course: its best replay for the table's player, watched there and then.
void watch(RecordsScreen& s, uint32_t now) {
  const RecordsBrowse& b = s.browse;
  const RecordsItem* at = RecordsBrowse_Current(b);
  if (!at || !g_watch) return;
  const char* profile = b.table >= 0 && b.table < g_profileCount ? g_profiles[b.table].name : "";
  int panels = kRecordsStyles[b.style].styleKey;
  std::string path;
  if (at->kind == RITEM_SONG && at->index >= 0 && at->index < (int)g_songs.size()) {
    const SongEntry& e = g_songs[at->index];
    path = ReplayStore_Best(e.group, e.folder, panels, -1, profile);
  } else if (at->kind == RITEM_COURSE && at->index >= 0 && at->index < (int)g_courses.size()) {
    const Course& c = g_courses[at->index];
    path = ReplayStore_BestCourse(c.folder, c.fileName, panels, profile);
  } else {
    return;
  }
  if (path.empty()) {
    PlaySound(SND_SWITCH);
    say(s, now, kRefusedColour, "No replay of %s.", RecordsBrowse_ItemName(*at));
    return;
  }
  PlaySound(SND_START);
  g_watch(path.c_str());
  s.look.generation++;
}

int frame(RecordsScreen& s, ScreenFrame& f) {
  if (s.browse.confirm.kind == RCONFIRM_NONE && (f.input & (MENU_SELECT | MENU_SELECT << MENU_P2_SHIFT))) {
    watch(s, f.nowMs);
    return 0;
  }
  RecordsAction a = RecordsBrowse_Press(s.browse, f.input, s.table);
  switch (a) {
    case RACT_MOVED:
    case RACT_CONFIRM_MOVED:
    case RACT_BACK:
    case RACT_CANCELLED: PlaySound(SND_SELECT); break;
    case RACT_ENTERED: PlaySound(SND_START); break;
    case RACT_OPEN_TABLE:
      PlaySound(SND_START);
      openTable(s);
      break;
    case RACT_CLOSE_TABLE:
      PlaySound(SND_SELECT);
      closeTable(s);
      break;
    case RACT_REFUSED:
      PlaySound(SND_SWITCH);
      say(s, f.nowMs, kRefusedColour, "No records to reset.");
      break;
    case RACT_RESET: reset(s, f.nowMs); break;
    default: break;
  }
  if (a == RACT_LEAVE) return 1;

  RecordsDraw_Top(s.browse, s.look);
  RecordsDraw_List(s.browse, s.table, s.look, f.nowMs);
  RecordsDraw_Card(s.browse, s.table, s.look);
  bool message = s.message[0] && f.nowMs - s.messageAt < kMessageMs;
  RecordsDraw_Bottom(s.browse, message ? s.message : nullptr, s.messageColour);
  RecordsDraw_Confirm(s.browse, s.look);
  return 0;
}
}  // namespace

void RecordsBrowser_SetWatch(RecordsWatchHook hook) { g_watch = hook; }

void RecordsBrowser() {
  WriteLog("Starting records browser...\n");
  auto s = std::make_unique<RecordsScreen>();
  RecordsBrowse_Begin(s->browse, g_profileCount, kRecordsRows);
  ScreenSetup setup;
  setup.backdrop = "rkv2-records.png";
  setup.onePlayer = true;
  MenuScreen screen;
  Screen_Open(screen, setup);
  s->look.backdrop = screen.backdrop.loaded;
  RecordsLook_Load(s->look);
  Screen_Run(screen, [&s](ScreenFrame& f) { return frame(*s, f); });
  closeTable(*s);
  RecordsLook_Free(s->look);
  WheelBanners_FreeAll();
  WriteLog("Leaving records browser...\n");
}
