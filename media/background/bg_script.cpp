// The background script in a chart file: the text is prepared, the lines before
// the section may set up the random backgrounds, the section defines backgrounds
// and their timeline, and a song without a section gets a random timeline.
//
// A script as the loader reads it (in the chart file, after the chart's tags):
//
//   #RANDSEED:1234;                      // optional, before the section
//   #RANDSTART:32;                       // first random event (sixteenths)
//   #RANDFOLDER:.\Movies\Random;         // where random movies come from
//   #RANDLIST:drift.avi,tunnel.avi;      // or name them
//   #BACKGROUND:
//   1:LAYER:0:FILE:stage.png;
//   2:LAYER:1:FILE:sparks.png:ANIMATE:8:SIZE:1:MOVE:2,0:TILED:1:SPACING:16,16;
//   3:LAYER:2:FILE:ring.png:POSITION:192,112:STRETCH:64,64,256,256,32:FADE:255,0,32;
//   4:LAYER:0:MOVIE:.\Movies\Random\tv-drift.avi:STARTAT:2:KEEPTIME;
//   5:LAYER:0:VIS:tv-spectrum.svp;
//   6:LAYER:1:OFF;
//   7:LAYER:3:FILE:flare.png:ANIMATE:3,100,0:MULT:1,0.5,0.5:KEEPPOS;
//   SCRIPT:1.......2.......(3...)...4.......
//          [5.5.5.]6...0,1...;
//   #END;
//
// - A definition line starts with its id (1-9, A-Z) and a colon and must hold
//   "LAYER:n". Tags are separated by ":" and found anywhere on the line; a number
//   is read where its tag ends, lists are separated by ",". A path ("FILE:",
//   "MOVIE:", "VIS:") ends at the next ":" or ";" (or at "KEEPPOS"/"KEEPTIME"
//   written after it without a colon), blanks around it trimmed; "\" and "/"
//   both separate folders and case does not matter. Paths are relative to the
//   song folder; an empty one or one beginning with "." is relative to the game
//   folder. A bare "VIS:" name is looked for in "Vis", then in the song folder.
// - "SCRIPT:" runs to the next ";" and may go on over following lines (a line
//   with a ":" or "#" ends it, should its ";" be missing). Each
//   SCRIPT line starts again at position 0 and adds its events; the events are
//   kept sorted by position (in the order written at equal positions). A
//   "SCRIPT:" tag counts only as the line's first tag, so that a file called
//   "SCRIPT" on a definition line stays a path.
// - Ids are upper case: "a" is neither a definition id nor a timeline event
//   (left out, with a log line). Inside the section a line without a colon is
//   ignored, and "#END;" ends the script.
// - "0" in a timeline goes back to the song's own background picture. An event
//   for an id that has no definition (or whose file did not load) stays in the
//   list: the layers skip unused definitions, and a script that names a missing
//   file keeps the rest of its timing.
#include "media/background/background.h"
#include "media/background/bg_script_internal.h"
#include "chart/random.h"
#include "platform/files.h"
#include "platform/log.h"
#include <algorithm>
#include <cstring>
#include <string>

namespace {
constexpr double kScriptStep = 2;   // an eighth note

// The characters before "SCRIPT:" on a line, if it is the line's first tag.
bool IsScriptLine(std::string_view line, size_t* valueStart) {
  size_t at = line.find("SCRIPT:");
  if (at == std::string_view::npos) return false;
  if (line.find(':') != at + 6) return false;   // another tag came first
  *valueStart = at + 7;
  return true;
}

// Where a SCRIPT value ends: at its ";", which may come lines later. A line with
// a colon or a "#" is never part of a timeline: a value that reaches one has lost
// its ";" and ends before it, so that the definitions after it still count.
size_t ScriptValueEnd(const std::string& body, size_t from) {
  size_t lineEnd = body.find('\n', from);
  size_t semi = body.find(';', from);
  if (semi != std::string::npos && (lineEnd == std::string::npos || semi < lineEnd)) return semi;
  while (lineEnd != std::string::npos) {
    size_t start = lineEnd + 1;
    lineEnd = body.find('\n', start);
    size_t stop = lineEnd == std::string::npos ? body.size() : lineEnd;
    size_t other = body.find_first_of(":#;", start);
    if (other != std::string::npos && other < stop) {
      if (body[other] == ';') return other;
      WriteLog("Background script: SCRIPT line without its ';'\n");
      return start;
    }
  }
  WriteLog("Background script: SCRIPT line without its ';'\n");
  return body.size();
}

void BlankComments(std::string& text) {
  size_t pos = 0;
  while ((pos = text.find("//", pos)) != std::string::npos) {
    size_t end = text.find('\n', pos);
    if (end == std::string::npos) end = text.size();
    std::fill(text.begin() + (long)pos, text.begin() + (long)end, ' ');
    pos = end;
  }
}

bool AnythingLoaded() {
  if (!g_backgrounds.events.empty()) return true;
  for (const Background& b : g_backgrounds.defs)
    if (b.type != BG_NONE) return true;
  return false;
}

std::string_view TagValue(std::string_view line, const char* tag, bool* found) {
  size_t at = line.find(tag);
  *found = at != std::string_view::npos;
  if (!*found) return {};
  std::string_view v = line.substr(at + strlen(tag));
  size_t end = v.find(';');
  return end == std::string_view::npos ? v : v.substr(0, end);
}

void ReadRandomTag(std::string_view line, const char* songFolder, const BackgroundParams& params, BgRandom& rng) {
  bool found;
  std::string_view v = TagValue(line, "#RANDSEED:", &found);
  if (found) {
    double seed = BgValue_Number(v, 0);
    g_backgrounds.randSeed = (uint32_t)(int64_t)std::clamp(seed, -4294967295.0, 4294967295.0);
    rng.Seed(g_backgrounds.randSeed);
  }
  v = TagValue(line, "#RANDSTART:", &found);
  if (found) g_backgrounds.randStart = std::clamp(BgValue_Number(v, 32), 0.0, 1e6);
  v = TagValue(line, "#RANDFOLDER:", &found);
  if (found) {
    g_backgrounds.randomFolder = BgPath_RandomFolder(songFolder, BgValue_Trim(v), params.loadSources);
    WriteLogf("RANDOM FOLDER now: %s\n", g_backgrounds.randomFolder.c_str());
    // listing a folder named by the data is skipped when nothing is to be read
    g_backgrounds.randomSources.clear();
    if (params.loadSources && params.aviQuality > 0)
      BgRandom_ScanFolder(g_backgrounds.randomFolder, g_backgrounds.randomSources);
  }
  v = TagValue(line, "#RANDLIST:", &found);
  if (found) {
    g_backgrounds.randomSources.clear();
    while (!v.empty()) {
      size_t comma = v.find(',');
      std::string_view name = BgValue_Trim(v.substr(0, comma));
      if (!name.empty()) g_backgrounds.randomSources.emplace_back(name);
      if (comma == std::string_view::npos) break;
      v.remove_prefix(comma + 1);
    }
  }
}
}  // namespace

void BgScript_Timeline(std::string_view value, std::vector<BackgroundEvent>& events) {
  double position = 0, step = kScriptStep;
  bool advanced = false;   // the character before advanced the position
  bool warned = false;
  int unknown = 0;
  char firstUnknown = 0;
  for (char c : value) {
    if (c == ' ' || c == '\t' || c == '\n' || c == '\r') continue;   // layout only
    int id = BgScript_Id(c);
    if (id >= 0) {
      if (events.size() >= kMaxBackgroundEvents) {
        if (!warned) WriteLogf("Background script has more than %zu events; the rest are left out\n", kMaxBackgroundEvents);
        warned = true;
      } else {
        events.push_back(BackgroundEvent{position, id, 0});
      }
      position += step;
      advanced = true;
      continue;
    }
    switch (c) {
      case '.': position += step; advanced = true; continue;
      // two events at one position: "1,2" moves back over the step "1" took
      case ',': if (advanced) position = std::max(0.0, position - step); break;
      case '(': step = 1; break;
      case '[': step = 2.0 / 3; break;
      case '{': step = 0.25; break;
      case '`': step = 1.0 / 12; break;
      case '<': step = 0; break;
      case ')': case ']': case '}': case '>': case '\'': step = kScriptStep; break;
      default:
        if (!unknown++) firstUnknown = c >= 32 && c < 127 ? c : '?';
        break;
    }
    advanced = false;
  }
  if (unknown)
    WriteLogf("Background script: %d characters of a SCRIPT line (the first '%c') are not background ids, left out\n",
              unknown, firstUnknown);
}

void BackgroundScript_FromText(const char* text, size_t length, const char* songFolder,
                               const BackgroundParams& params) {
  if (!songFolder) songFolder = "";
  if (AnythingLoaded()) ResetBackgrounds();
  Backgrounds& g = g_backgrounds;
  for (Background& b : g.defs) b = Background{};
  g.events.clear();
  g.nextEvent = 0;
  g.scriptUsed = false;
  g.randomSources.clear();
  g.randomFolder.clear();
  g.randStart = 32;
  // the song's own background picture
  g.defs[0].type = BG_PICTURE;
  g.defs[0].layer = 0;
  g.defs[0].width = 640;
  g.defs[0].height = 480;

  std::string body(text ? text : "", text ? length : 0);
  Text_NormaliseLines(body);
  BlankComments(body);
  BgRandom rng;
  g.randSeed = (uint32_t)Random_Next();
  rng.Seed(g.randSeed);

  if (params.randomAnimations == 1 || params.randomAnimations == 3) BgRandom_FindSources(songFolder, params);

  int state = 0;   // 0 before the section, 1 inside it, 2 done
  size_t pos = 0;
  while (state < 2 && pos < body.size()) {
    size_t end = body.find('\n', pos);
    if (end == std::string::npos) end = body.size();
    std::string_view line(body.data() + pos, end - pos);
    size_t next = end + 1;
    if (state == 0) {
      ReadRandomTag(line, songFolder, params, rng);
      if (line.find("#BACKGROUND:") != std::string_view::npos) {
        if (params.processScripts) {
          state = 1;
          g.scriptUsed = true;
        } else {
          WriteLog("Background script left out (Process BG Scripts is off)\n");
        }
      }
    } else if (line.find("#END;") != std::string_view::npos) {
      state = 2;
    } else if (line.find(':') != std::string_view::npos) {
      size_t valueAt;
      if (IsScriptLine(line, &valueAt)) {
        size_t from = pos + valueAt;
        size_t stop = ScriptValueEnd(body, from);
        BgScript_Timeline(std::string_view(body.data() + from, stop - from), g.events);
        next = stop < body.size() && body[stop] == ';' ? body.find('\n', stop) : stop;
        next = next == std::string::npos ? body.size() : next + (next < body.size() && body[next] == '\n');
      } else {
        BgDefine_Line(line, songFolder, params);
      }
    }
    pos = next;
  }
  if (state == 1) WriteLog("Background script has no #END; line\n");
  std::stable_sort(g.events.begin(), g.events.end(),
                   [](const BackgroundEvent& a, const BackgroundEvent& b) { return a.position < b.position; });

  if (!g.scriptUsed && params.randomAnimations != 0) BgRandom_Timeline(params, rng);
  WriteLog("defined background...\n");
}

bool LoadBackgroundScript(const char* songFolder, const char* chartFile, const BackgroundParams& params) {
  std::string path;
  Path_Resolve(Path_Join(songFolder ? songFolder : "", chartFile ? chartFile : ""), path);
  std::string text;
  bool ok = File_ReadText(path, text);
  // without its chart the song still gets the random backgrounds
  if (!ok) WriteLogf("Background script: cannot read '%s'\n", path.c_str());
  BackgroundScript_FromText(text.data(), text.size(), songFolder, params);
  return ok;
}
