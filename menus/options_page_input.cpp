#include "menus/options_page_input.h"
#include "media/input/input.h"

namespace {
// A change in the same direction this soon after the last one is a repeat of a
// held key (the menu input repeats every 125 ms).
constexpr uint32_t kHeldGapMs = 200;

int firstItem(const OptionsPageDef& page) {
  for (int i = 0; i < page.count; i++)
    if (!OptionsItem_IsHeading(page.items[i])) return i;
  return 0;
}

OptionsPageEvent change(const OptionsPageDef& page, OptionsPageState& st, OptionsEdit& e, int dir, uint32_t now,
                        const OptionsPlugins& plugins) {
  OptionsItemId id = page.items[st.cursor];
  bool repeat = dir == st.heldDir && now - st.heldAtMs <= kHeldGapMs;
  st.repeats = repeat ? st.repeats + 1 : 0;
  st.heldDir = dir;
  st.heldAtMs = now;
  uint8_t sortBy = e.settings.sortBy;
  if (!OptionsItem_Change(e.settings, id, dir, st.repeats, plugins)) return OPEV_REFUSED;
  if (e.settings.sortBy != sortBy) e.sortByChanged = true;
  return OPEV_CHANGED;
}
}  // namespace

OptionsPageState OptionsPage_Begin(const OptionsPageDef& page) {
  OptionsPageState st;
  st.cursor = firstItem(page);
  return st;
}

OptionsPageEvent OptionsPage_Input(const OptionsPageDef& page, OptionsPageState& st, OptionsEdit& e, uint32_t input,
                                   uint32_t nowMs, const OptionsPlugins& plugins) {
  if (page.count <= 0) return OPEV_LEAVE;
  uint32_t in = (input | input >> MENU_P2_SHIFT) & 0xFF;
  if ((input & MENU_ESCAPE) || (in & MENU_SELECT)) return OPEV_LEAVE;
  if (in & (MENU_UP | MENU_DOWN)) {
    OptionsRow rows[kOptionsMaxRows];
    int count = OptionsPage_Rows(page, e.settings, plugins, rows);
    int next = OptionsLook_Step(rows, count, st.cursor, (in & MENU_UP) ? -1 : 1);
    st.heldDir = 0;
    if (next == st.cursor) return OPEV_NONE;
    st.cursor = next;
    return OPEV_MOVED;
  }
  OptionsItemId id = page.items[st.cursor];
  if (in & (MENU_LEFT | MENU_RIGHT)) {
    if (id == OPT_RETURN || OptionsItem_OpensScreen(id)) return OPEV_NONE;
    return change(page, st, e, (in & MENU_LEFT) ? -1 : 1, nowMs, plugins);
  }
  if (in & MENU_START) {
    if (id == OPT_RETURN) return OPEV_LEAVE;
    if (OptionsItem_OpensScreen(id)) return OPEV_OPEN;
    // a press of Start is never a held repeat
    st.heldDir = 0;
    return change(page, st, e, 1, nowMs, plugins);
  }
  return OPEV_NONE;
}

int OptionsPage_Rows(const OptionsPageDef& page, const Settings& s, const OptionsPlugins& plugins, OptionsRow* rows) {
  int n = page.count < kOptionsMaxRows ? page.count : kOptionsMaxRows;
  for (int i = 0; i < n; i++) {
    OptionsItemId id = page.items[i];
    OptionsRow& r = rows[i];
    r = OptionsRow{};
    r.label = OptionsItem_Label(id);
    r.heading = OptionsItem_IsHeading(id);
    r.dim = OptionsItem_Dim(id, plugins);
    OptionsItem_Value(s, id, plugins, r.value, sizeof r.value);
  }
  return n;
}

int OptionsPage_Notes(const OptionsPageDef& page, const OptionsPageState& st, const char* notes[2]) {
  int n = 0;
  if (page.note) notes[n++] = page.note;
  if (st.cursor >= 0 && st.cursor < page.count)
    if (const char* note = OptionsItem_Note(page.items[st.cursor])) notes[n++] = note;
  return n;
}
