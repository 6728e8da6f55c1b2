#include "library/rkv_parser.h"
#include "platform/log.h"
#include "chart/chart_text.h"
#include "platform/files.h"
#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <cstring>

const char* const kChartKeys[kChartSlots] = {
    "SINGLE:BASIC:", "SINGLE:ANOTHER:", "SINGLE:MANIAC:", "SINGLE:SMANIAC:",
    "DOUBLE:BASIC:", "DOUBLE:ANOTHER:", "DOUBLE:MANIAC:", "DOUBLE:SMANIAC:",
    "COUPLE:BASIC:", "COUPLE:ANOTHER:", "COUPLE:MANIAC:",
    "SOLO:BASIC:",   "SOLO:ANOTHER:",   "SOLO:MANIAC:"};

void SongEntry_SetText(char* field, size_t fieldSize, const char* text) {
  if (!field || fieldSize == 0) return;
  memset(field, 0, fieldSize);
  if (!text) return;
  size_t n = strnlen(text, fieldSize - 1);
  memcpy(field, text, n);
}

int32_t Chart_RoundHalfUp(double v) {
  if (!std::isfinite(v)) return 0;
  double r = std::floor(v + 0.5);
  if (r > 2147483647.0) return 2147483647;
  if (r < -2147483648.0) return INT32_MIN;
  return (int32_t)r;
}

namespace {
int32_t toMs(double ms) {
  if (!std::isfinite(ms)) return 0;
  if (ms > 2147483647.0) return 2147483647;
  if (ms < -2147483648.0) return INT32_MIN;
  return (int32_t)ms;  // truncated toward zero
}

// Numbers in chart files are plain decimals; strtod would also take "inf" and
// "nan" and hex floats, which no chart means.
double number(const char* s) {
  while (*s == ' ' || *s == '\t') s++;
  const char* p = s;
  if (*p == '+' || *p == '-') p++;
  if (!((*p >= '0' && *p <= '9') || *p == '.')) return 0;
  double v = strtod(s, nullptr);
  return std::isfinite(v) ? v : 0;
}

// The value of `tag` on this line: the rest of the line minus its last character.
bool lineValue(const std::string& line, const char* tag, std::string& out) {
  size_t p = line.find(tag);
  if (p == std::string::npos) return false;
  out = line.substr(p + strlen(tag));
  if (!out.empty()) out.pop_back();
  return true;
}
}

int32_t Chart_ParseTime(const char* text) {
  const char* colon = strchr(text, ':');
  if (colon) return toMs(std::trunc(number(text)) * 60000.0 + number(colon + 1) * 1000.0);
  if (strchr(text, '.')) return toMs(number(text) * 1000.0);
  return toMs(std::trunc(number(text)));
}

bool RKVParser::parseFile(const char* path) {
  WriteLogf("parseFile('%s')\n", path);
  std::string text;
  if (!File_ReadText(path, text)) {
    WriteLogf("RKVParser::parseFile - Error accessing '%s'\n", path);
    return false;
  }
  parseText(std::move(text));
  if ((flags & REQUIRED) != REQUIRED) {
    WriteLogf("'%s' is missing some non-optional tags\n", path);
    return false;
  }
  return true;
}

void RKVParser::parseText(std::string text) {
  *this = RKVParser{};
  ChartText_Prepare(text);
  bool displaySeen = false;
  std::string v;
  size_t start = 0;
  while (start <= text.size()) {
    size_t end = text.find('\n', start);
    if (end == std::string::npos) end = text.size();
    std::string line = text.substr(start, end - start);
    start = end + 1;
    if (line.find("STATUS:NEW") != std::string::npos) status = 3;
    if (line.find("STATUS:NORMAL") != std::string::npos) status = 2;
    if (line.find('#') == std::string::npos) continue;  // step data lines carry no tags
    if (lineValue(line, "#TITLE:", v)) { title = v; flags |= HAS_TITLE; }
    if (lineValue(line, "#ARTIST:", v)) { artist = v; flags |= HAS_ARTIST; }
    if (lineValue(line, "#GENRE:", v)) { genre = v; hasGenre = true; }
    if (lineValue(line, "#CDTITLE:", v)) { cdTitle = v; hasCdTitle = !v.empty(); }
    if (lineValue(line, "#DISPLAYTITLE:", v)) { displayTitle = v; hasDisplayTitle = !v.empty(); }
    if (lineValue(line, "#DISPLAYARTIST:", v)) { displayArtist = v; hasDisplayArtist = !v.empty(); }
    if (lineValue(line, "#FILE:", v)) { file = v; hasFile = true; }
    if (lineValue(line, "#MD5:", v)) { md5 = v.substr(0, 63); }
    if (lineValue(line, "#GAP:", v)) { gap = (int32_t)strtol(v.c_str(), nullptr, 10); flags |= HAS_GAP; }
    if (lineValue(line, "#BPM:", v)) {
      bpm = number(v.c_str());
      flags |= HAS_BPM;
      displayBpm = -1;
      displaySeen = false;
      bpmMin = bpmMax = bpm;
      tempoMin = tempoMax = bpm;
    }
    if (lineValue(line, "#DISPLAYBPM:", v)) {
      displaySeen = true;
      size_t dots = v.find("..");
      if (v.find('*') != std::string::npos) {
        displayBpm = 0;
      } else if (dots != std::string::npos) {
        double a = number(v.c_str()), b = number(v.c_str() + dots + 2);
        displayBpm = -2;
        bpmMin = a;
        bpmMax = b > a ? b : a;
      } else {
        double f = std::trunc(number(v.c_str()));
        displayBpm = (f > 0 && f < 1e9) ? (int32_t)f : 0;
      }
    }
    if (lineValue(line, "#CHANGEBPM:", v)) {
      // "pos=bpm,pos=bpm": every value after an "=" is a tempo
      for (size_t p = v.find('='); p != std::string::npos; p = v.find('=', p + 1)) {
        double b = number(v.c_str() + p + 1);
        if (b <= 0) continue;
        tempoMin = std::min(tempoMin, b);
        tempoMax = std::max(tempoMax, b);
        if (displaySeen) continue;  // a given display tempo is not widened
        bpmMin = std::min(bpmMin, b);
        bpmMax = std::max(bpmMax, b);
      }
    }
    if (lineValue(line, "#SAMPLESTART:", v)) {
      const char* s = v.c_str();
      while (*s == ' ') s++;
      sampleStartPlus = *s == '+';
      sampleStart = Chart_ParseTime(sampleStartPlus ? s + 1 : s);
    }
    if (lineValue(line, "#SAMPLELENGTH:", v)) sampleLength = Chart_ParseTime(v.c_str());
    for (int k = 0; k < kChartSlots; k++) {
      std::string key = std::string("#") + kChartKeys[k];
      size_t p = line.find(key);
      if (p == std::string::npos) continue;
      long lv = strtol(line.c_str() + p + key.size(), nullptr, 10);
      levels[k] = lv < 0 ? 0 : lv > 255 ? 255 : (int32_t)lv;
    }
  }
}

void RKVParser_FillEntry(const RKVParser& p, SongEntry& e) {
  SetField(e.title, p.title.c_str());
  SetField(e.artist, p.artist.c_str());
  SetField(e.displayTitle, p.displayTitle.c_str());
  e.hasDisplayTitle = p.hasDisplayTitle;
  SetField(e.displayArtist, p.displayArtist.c_str());
  e.hasDisplayArtist = p.hasDisplayArtist;
  SetField(e.cdTitle, p.cdTitle.c_str());
  e.hasCdTitle = p.hasCdTitle;
  SetField(e.md5, p.md5.c_str());
  e.newState = p.status;
  e.bpmValue = p.bpm;
  for (int i = 0; i < kChartSlots; i++) e.levels[i] = p.levels[i] < 0 ? 0 : p.levels[i];
}

bool RKVParser_FindFile(const std::string& value, const std::string& songFolder, std::string& out) {
  out.clear();
  std::string v = Path_FromData(value), onDisk;
  if (v.empty()) return false;
  for (const std::string& p : {v, songFolder.empty() || v[0] == '/' ? std::string() : songFolder + "/" + v}) {
    if (p.empty()) continue;
    if (Path_Resolve(p, onDisk) && File_Size(onDisk) >= 0) {
      out = p;
      return true;
    }
  }
  return false;
}
