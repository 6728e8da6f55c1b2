#include "menus/options_sets.h"
#include "media/draw_helpers.h"
#include "media/render/image.h"
#include "media/skin/skin_config.h"
#include "media/skin/skin_images.h"
#include "media/sound/sound_fx.h"
#include "menus/options_edit.h"
#include "platform/log.h"
#include <cstdio>
#include <cstring>
#include <functional>
#include <strings.h>

namespace {
constexpr uint32_t kUp = MENU_UP * 0x101, kDown = MENU_DOWN * 0x101, kStart = MENU_START * 0x101;
constexpr uint32_t kBack = MENU_ESCAPE | MENU_SELECT * 0x101;

// What a list page does beyond moving its cursor.
struct ListPage {
  const char* heading = "";
  std::vector<OptionsRow> rows;
  int sets = 0;                                      // rows before "Return"
  std::vector<const char*> notes;
  std::function<void(int item)> choose;              // Start on a set
  std::function<void()> refresh;                     // the values after a choice
  std::function<void(int cursor)> behind;            // drawn before the page (the skin page's preview)
  std::function<void(int cursor)> front;             // drawn over it
};

// Runs the page until the players back out or choose "Return".
void runList(ListPage& p, const ScreenSetup& setup) {
  int cursor = 0;
  p.refresh();
  Screen_Run(setup, [&p, &cursor](ScreenFrame& f) {
    int count = (int)p.rows.size();
    uint32_t in = f.input;
    int result = 0;
    if (in & kBack) {
      PlaySound(SND_SWITCH);
      result = 1;
    } else if (in & (kUp | kDown)) {
      cursor = OptionsLook_Step(p.rows.data(), count, cursor, (in & kDown) ? 1 : -1);
      PlaySound(SND_SELECT);
    } else if (in & kStart) {
      PlaySound(SND_START);
      if (cursor >= p.sets) {
        result = 1;
      } else {
        p.choose(cursor);
        p.refresh();
      }
    }
    if (p.behind) p.behind(cursor);
    OptionsLook_DrawPage(p.heading, p.rows.data(), count, cursor, p.notes.data(), (int)p.notes.size(), nullptr,
                         nullptr);
    if (p.front) p.front(cursor);
    return result;
  });
}

void copyName(char* field, size_t size, const char* name) { snprintf(field, size, "%s", name); }

constexpr int kThumbW = 160, kThumbH = 120;

// A picture shown at a size of our choosing, whatever its own.
void drawPicture(Image& picture, int x, int y, int w, int h) {
  if (!picture.loaded) return;
  picture.SetSize(w, h, 0);
  picture.SetPosition(x, y);
  picture.Draw();
}

// A set's value; a blank for none, so that every set keeps the indent of a row with a value.
void setValue(OptionsRow& row, const char* value) { copyName(row.value, kOptionsValueSize, value[0] ? value : " "); }
}  // namespace

void SetsPage_Rows(const std::vector<std::string>& names, const char* defaultLabel, std::vector<OptionsRow>& rows) {
  rows.assign(names.size() + 1, OptionsRow{});
  for (size_t i = 0; i < names.size(); i++) rows[i].label = i == 0 ? defaultLabel : names[i].c_str();
  rows.back().label = "Return";
}

const char* SkinPage_Value(const char* name, const Settings& s) {
  // the skin list holds the folder names as they are; the setting must match exactly
  return strcmp(name, s.skin) == 0 ? "SELECTED" : "";
}

const char* SoundSetMode_Label(int mode) {
  switch (mode) {
    case SOUNDSET_BOTH: return "FX + Announcer";
    case SOUNDSET_FX: return "FX Only";
    case SOUNDSET_ANNOUNCER: return "Announcer Only";
    default: return "";
  }
}

int SoundSetCycle_Choose(SoundSetCycle& c, int item, const char* name, Settings& s) {
  if (item != c.item) {
    c.item = item;
    c.mode = SOUNDSET_BOTH;
    copyName(c.effectBefore, sizeof c.effectBefore, s.effectSet);
    copyName(c.announcerBefore, sizeof c.announcerBefore, s.announcerSet);
  } else {
    c.mode = (c.mode + 1) % SOUNDSET_MODES;
  }
  bool fx = c.mode != SOUNDSET_ANNOUNCER, announcer = c.mode != SOUNDSET_FX;
  copyName(s.effectSet, sizeof s.effectSet, fx ? name : c.effectBefore);
  copyName(s.announcerSet, sizeof s.announcerSet, announcer ? name : c.announcerBefore);
  return c.mode;
}

int SoundSet_ModeIn(const char* name, const Settings& s) {
  bool fx = strcasecmp(name, s.effectSet) == 0, announcer = strcasecmp(name, s.announcerSet) == 0;
  if (fx && announcer) return SOUNDSET_BOTH;
  if (fx) return SOUNDSET_FX;
  if (announcer) return SOUNDSET_ANNOUNCER;
  return -1;
}

const char* SoundSetPage_Value(const SoundSetCycle& c, int item, const char* name, const Settings& s) {
  // a set cycled back onto what the fields held anyway still tells what its choice set
  return SoundSetMode_Label(item == c.item ? c.mode : SoundSet_ModeIn(name, s));
}

int OptionsPage_Skin(OptionsEdit& e) {
  WriteLog("Skin Selection\n");
  char before[sizeof e.settings.skin];
  copyName(before, sizeof before, e.settings.skin);
  ListSkins(e.settings.skin, sizeof e.settings.skin);   // folders may have come or gone since start-up
  const std::vector<std::string> names = g_skinList;

  ListPage p;
  p.heading = "Skin Selection";
  SetsPage_Rows(names, "(Default Graphics)", p.rows);
  p.sets = (int)names.size();
  p.notes = {"Skin will take effect when menu is exited"};
  p.choose = [&](int item) {
    copyName(e.settings.skin, sizeof e.settings.skin, names[item].c_str());
    WriteLogf("Skin chosen: '%s'\n", e.settings.skin);
  };
  p.refresh = [&]() {
    for (int i = 0; i < p.sets; i++) setValue(p.rows[i], SkinPage_Value(names[i].c_str(), e.settings));
  };
  // The title picture of the skin under the cursor (on "Return", the chosen one):
  // behind the page, and small in the panel when the list leaves room for it.
  Image preview;
  std::string shown;
  p.behind = [&](int cursor) {
    std::string skin = cursor < p.sets ? names[cursor] : std::string(e.settings.skin);
    if (skin != shown) {
      shown = skin;
      preview.Free();
      LoadPNGFrom(skin.c_str(), "rkv2-title.png", preview, 0, 0);
    }
    drawPicture(preview, 0, 0, 640, 480);
  };
  p.front = [&](int) {
    int top = 0, bottom = 0;
    OptionsLook_FreeSpace((int)p.rows.size(), p.notes.data(), (int)p.notes.size(), top, bottom);
    if (!preview.loaded || bottom - top < kThumbH + 8) return;
    int y = bottom - kThumbH - 2;
    Draw_FillRect(320 - kThumbW / 2 - 2, y - 2, kThumbW + 4, kThumbH + 4, 0x4060C0);
    drawPicture(preview, 320 - kThumbW / 2, y, kThumbW, kThumbH);
  };
  ScreenSetup setup = OptionsLook_Setup();
  setup.backdrop = nullptr;   // the preview is the backdrop
  runList(p, setup);
  return strcmp(before, e.settings.skin) != 0;
}

int OptionsPage_SoundSet(OptionsEdit& e) {
  WriteLog("Announcer/Sound Selection\n");
  Settings& s = e.settings;
  char effectBefore[sizeof s.effectSet], announcerBefore[sizeof s.announcerSet];
  copyName(effectBefore, sizeof effectBefore, s.effectSet);
  copyName(announcerBefore, sizeof announcerBefore, s.announcerSet);
  ListSoundSets(s.announcerSet, sizeof s.announcerSet, s.effectSet, sizeof s.effectSet);
  const std::vector<std::string> names = g_soundSetList;

  ListPage p;
  p.heading = "Announcer/Sound Selection";
  SetsPage_Rows(names, "(Default Sound Set)", p.rows);
  p.sets = (int)names.size();
  char summary[160] = "";
  p.notes = {"Select multiple times to cycle options.", "Sound set will take effect when menu is exited", summary};
  SoundSetCycle cycle;
  p.choose = [&](int item) {
    int mode = SoundSetCycle_Choose(cycle, item, names[item].c_str(), s);
    WriteLogf("Sound set '%s': %s\n", names[item].c_str(), SoundSetMode_Label(mode));
  };
  p.refresh = [&]() {
    for (int i = 0; i < p.sets; i++) setValue(p.rows[i], SoundSetPage_Value(cycle, i, names[i].c_str(), s));
    snprintf(summary, sizeof summary, "Effects: %.60s     Announcer: %.60s", s.effectSet, s.announcerSet);
  };
  runList(p, OptionsLook_Setup());
  return strcmp(effectBefore, s.effectSet) != 0 || strcmp(announcerBefore, s.announcerSet) != 0;
}
