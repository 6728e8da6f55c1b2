#include "menus/records_browse.h"
#include "library/courses.h"
#include "library/profiles.h"
#include "library/song_list.h"
#include "media/input/input.h"
#include "menus/records_reset.h"
#include <algorithm>
#include <cstdio>
#include <cstring>
#include <strings.h>

const RecordsStyle kRecordsStyles[3] = {
    {"Single", 0, 4, 4, 0},
    {"Double", 4, 4, 8, 1},
    {"Solo", 11, 3, 6, 2},
};

namespace {
constexpr uint32_t kChoose = MENU_START | MENU_UPRIGHT;
constexpr uint32_t kBack = MENU_UPLEFT;

void add(RecordsList& l, int kind, int index = 0, int count = 0) {
  RecordsItem i;
  i.kind = kind;
  i.index = index;
  i.count = count;
  l.items.push_back(i);
}

bool hasChart(const SongEntry& e, const RecordsStyle& s) {
  for (int d = 0; d < s.difficulties; d++)
    if (e.levels[s.base + d] > 0) return true;
  return false;
}

int groupOf(const char* group) {
  auto less = [](const std::string& a, const char* b) { return strcasecmp(a.c_str(), b) < 0; };
  auto it = std::lower_bound(g_groupList.begin(), g_groupList.end(), group, less);
  if (it == g_groupList.end() || strcasecmp(it->c_str(), group) != 0) return -1;
  return (int)(it - g_groupList.begin());
}

bool isCourseKey(const char* key) { return strncmp(key, "COURSE|", 7) == 0; }

// The first result of a style in a record: a song counts once however many
// difficulties it has.
const Result* firstOfStyle(const std::vector<Result>& rs, int styleKey) {
  for (const Result& r : rs)
    if (r.styleKey == styleKey) return &r;
  return nullptr;
}

RecordsAction back(RecordsBrowse& b) {
  switch (b.level) {
    case RLEVEL_TABLE: return RACT_LEAVE;
    case RLEVEL_STYLE: b.level = RLEVEL_TABLE; return RACT_CLOSE_TABLE;
    case RLEVEL_FOLDERS: b.level = RLEVEL_STYLE; return RACT_BACK;
    default: b.level = RLEVEL_FOLDERS; return RACT_BACK;
  }
}

RecordsAction enter(RecordsBrowse& b, int level) {
  RecordsBrowse_Build(b, level);
  b.level = level;
  return RACT_ENTERED;
}

RecordsAction askReset(RecordsBrowse& b, int kind, const RecordsItem& item, const RecordTable* table) {
  char key[sizeof(SongRecord::key)];
  const char* which = nullptr;
  if (kind == RCONFIRM_RESET) {
    if (!RecordsBrowse_Key(item, key, sizeof key)) return RACT_REFUSED;
    which = key;
  }
  if (!table || !RecordsReset_HasResults(*table, which)) return RACT_REFUSED;
  b.confirm = RecordsConfirm{};
  b.confirm.kind = kind;
  b.confirm.item = item;
  return RACT_ENTERED;
}

RecordsAction choose(RecordsBrowse& b, const RecordTable* table) {
  const RecordsItem* at = RecordsBrowse_Current(b);
  if (!at) return RACT_NOTHING;
  const RecordsItem item = *at;
  switch (item.kind) {
    case RITEM_TABLE:
      b.table = item.index;
      enter(b, RLEVEL_STYLE);
      return RACT_OPEN_TABLE;
    case RITEM_STYLE:
      b.style = item.index;
      RecordsBrowse_FolderSongs(b.style, b.folderSongs);
      return enter(b, RLEVEL_FOLDERS);
    case RITEM_FOLDER: b.folder = item.index; return enter(b, RLEVEL_SONGS);
    case RITEM_COURSES: return enter(b, RLEVEL_COURSES);
    case RITEM_SONG:
    case RITEM_COURSE: return askReset(b, RCONFIRM_RESET, item, table);
    case RITEM_RESET_ALL: return askReset(b, RCONFIRM_RESET_ALL, item, table);
    default: return back(b);
  }
}

RecordsAction confirmPress(RecordsConfirm& c, uint32_t in) {
  if (in & (MENU_ESCAPE | kBack)) {
    c = RecordsConfirm{};
    return RACT_CANCELLED;
  }
  if (in & kChoose) {
    if (c.onReset) return RACT_RESET;   // the screen clears the confirmation once it has reset
    c = RecordsConfirm{};
    return RACT_CANCELLED;
  }
  if (in & (MENU_LEFT | MENU_RIGHT | MENU_UP | MENU_DOWN)) {
    c.onReset = !c.onReset;
    return RACT_CONFIRM_MOVED;
  }
  return RACT_NOTHING;
}
}  // namespace

void RecordsBrowse_Begin(RecordsBrowse& b, int profileCount, int rows) {
  b = RecordsBrowse{};
  b.rows = rows < 1 ? 1 : rows;
  RecordsList& l = b.lists[RLEVEL_TABLE];
  add(l, RITEM_TABLE, -1);
  for (int i = 0; i < profileCount; i++) add(l, RITEM_TABLE, i);
  add(l, RITEM_RETURN);
}

RecordsList& RecordsBrowse_List(RecordsBrowse& b) { return b.lists[b.level]; }

const RecordsItem* RecordsBrowse_Current(const RecordsBrowse& b) {
  const RecordsList& l = b.lists[b.level];
  if (l.cursor < 0 || l.cursor >= (int)l.items.size()) return nullptr;
  return &l.items[l.cursor];
}

RecordsAction RecordsBrowse_Press(RecordsBrowse& b, uint32_t input, const RecordTable* table) {
  uint32_t in = (input | input >> MENU_P2_SHIFT) & 0xFF;
  in |= input & MENU_ESCAPE;
  if (b.confirm.kind != RCONFIRM_NONE) return confirmPress(b.confirm, in);
  if (in & (MENU_ESCAPE | kBack)) return back(b);
  if (in & kChoose) return choose(b, table);
  RecordsList& l = RecordsBrowse_List(b);
  int delta = (in & MENU_UP) ? -1 : (in & MENU_DOWN) ? 1 : (in & MENU_LEFT) ? -b.rows : (in & MENU_RIGHT) ? b.rows : 0;
  return delta && RecordsList_Move(l, delta, b.rows) ? RACT_MOVED : RACT_NOTHING;
}

bool RecordsList_Move(RecordsList& l, int delta, int rows) {
  int n = (int)l.items.size();
  if (n == 0 || delta == 0) return false;
  int was = l.cursor;
  if (delta == 1 || delta == -1)
    l.cursor = ((l.cursor + delta) % n + n) % n;
  else
    l.cursor = std::clamp(l.cursor + delta, 0, n - 1);
  RecordsList_Scroll(l, rows);
  return l.cursor != was;
}

void RecordsList_Scroll(RecordsList& l, int rows) {
  int n = (int)l.items.size();
  if (rows < 1) rows = 1;
  l.cursor = n ? std::clamp(l.cursor, 0, n - 1) : 0;
  if (l.cursor < l.top) l.top = l.cursor;
  if (l.cursor >= l.top + rows) l.top = l.cursor - rows + 1;
  l.top = std::clamp(l.top, 0, std::max(0, n - rows));
}

void RecordsBrowse_FolderSongs(int style, std::vector<std::vector<int>>& out) {
  out.assign(g_groupList.size(), {});
  const RecordsStyle& s = kRecordsStyles[std::clamp(style, 0, 2)];
  for (size_t i = 0; i < g_songs.size(); i++) {
    const SongEntry& e = g_songs[i];
    if (e.deleted || !hasChart(e, s)) continue;
    int g = groupOf(e.group);
    if (g >= 0) out[g].push_back((int)i);
  }
}

void RecordsBrowse_Build(RecordsBrowse& b, int level) {
  RecordsList& l = b.lists[level];
  l = RecordsList{};
  switch (level) {
    case RLEVEL_STYLE:
      for (int s = 0; s < 3; s++) add(l, RITEM_STYLE, s);
      add(l, RITEM_RESET_ALL);
      break;
    case RLEVEL_FOLDERS:
      for (size_t g = 0; g < b.folderSongs.size(); g++)
        if (!b.folderSongs[g].empty()) add(l, RITEM_FOLDER, (int)g, (int)b.folderSongs[g].size());
      if (!g_courses.empty()) add(l, RITEM_COURSES, 0, (int)g_courses.size());
      break;
    case RLEVEL_SONGS:
      if (b.folder >= 0 && b.folder < (int)b.folderSongs.size())
        for (int s : b.folderSongs[b.folder]) add(l, RITEM_SONG, s);
      break;
    case RLEVEL_COURSES:
      for (size_t c = 0; c < g_courses.size(); c++) add(l, RITEM_COURSE, (int)c);
      break;
    default: return;   // the table level is made once, at the start
  }
  add(l, RITEM_RETURN);
}

bool RecordsBrowse_Key(const RecordsItem& item, char* out, size_t size) {
  if (item.kind == RITEM_SONG && item.index >= 0 && item.index < (int)g_songs.size()) {
    const SongEntry& e = g_songs[item.index];
    snprintf(out, size, "%.*s\\%.*s", (int)sizeof e.group, e.group, (int)sizeof e.folder, e.folder);
    return true;
  }
  if (item.kind == RITEM_COURSE && item.index >= 0 && item.index < (int)g_courses.size()) {
    snprintf(out, size, "COURSE|%.*s", (int)sizeof g_courses[item.index].name, g_courses[item.index].name);
    return true;
  }
  return false;
}

int RecordsBrowse_Find(const RecordTable& t, const char* key) {
  auto it = t.index.find(key ? key : "");
  return it == t.index.end() ? -1 : it->second;
}

const char* RecordsBrowse_TableName(int table) {
  if (table >= 0 && table < g_profileCount) return g_profiles[table].name;
  return "No User/System";
}

RecordsTally RecordsBrowse_Tally(const RecordTable& t, int styleKey, const std::vector<int>* songs, bool courses) {
  RecordsTally tally;
  auto count = [&](int record, bool course) {
    if (record < 0 || record >= (int)t.results.size()) return;
    for (const Result& r : t.results[record]) {
      if (r.styleKey != styleKey) continue;
      if (r.bestGrade >= 1 && r.bestGrade <= 7) tally.grades[r.bestGrade]++;
      if (&r == firstOfStyle(t.results[record], styleKey)) (course ? tally.courses : tally.songs)++;
    }
  };
  char key[sizeof(SongRecord::key)];
  RecordsItem item;
  if (songs) {
    item.kind = RITEM_SONG;
    for (int s : *songs) {
      item.index = s;
      if (RecordsBrowse_Key(item, key, sizeof key)) count(RecordsBrowse_Find(t, key), false);
    }
  } else if (courses) {
    item.kind = RITEM_COURSE;
    for (size_t c = 0; c < g_courses.size(); c++) {
      item.index = (int)c;
      if (RecordsBrowse_Key(item, key, sizeof key)) count(RecordsBrowse_Find(t, key), true);
    }
  } else {
    for (size_t i = 0; i < t.records.size(); i++) count((int)i, isCourseKey(t.records[i].key));
  }
  return tally;
}

const char* RecordsBrowse_ItemName(const RecordsItem& item) {
  if (item.kind == RITEM_SONG && item.index >= 0 && item.index < (int)g_songs.size()) {
    const SongEntry& e = g_songs[item.index];
    return e.title[0] ? e.title : e.folder;
  }
  if (item.kind == RITEM_COURSE && item.index >= 0 && item.index < (int)g_courses.size())
    return g_courses[item.index].name;
  return "";
}

void RecordsBrowse_Question(const RecordsBrowse& b, char* question, size_t qSize, char* detail, size_t dSize) {
  const RecordsConfirm& c = b.confirm;
  if (c.kind == RCONFIRM_RESET_ALL) {
    snprintf(question, qSize, "Reset all the records of %s?", RecordsBrowse_TableName(b.table));
    snprintf(detail, dSize, "Every song and course, in every style.");
  } else if (c.kind == RCONFIRM_RESET) {
    snprintf(question, qSize, "Reset the records of %s?", RecordsBrowse_ItemName(c.item));
    snprintf(detail, dSize, c.item.kind == RITEM_COURSE ? "Its results in every style." :
                                                          "Its results in every style and difficulty.");
  } else {
    snprintf(question, qSize, "%s", "");
    snprintf(detail, dSize, "%s", "");
  }
}
