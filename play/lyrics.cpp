#include "play/lyrics.h"
#include "platform/log.h"
#include "media/font/font.h"
#include "platform/files.h"
#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <cstring>


namespace {
std::string chopCr(std::string s) {
  if (!s.empty() && s.back() == '\r') s.pop_back();
  return s;
}

uint32_t hexColour(const std::string& item) {
  uint32_t v = 0;
  for (char c : item) {
    int d;
    if (c >= '0' && c <= '9') d = c - '0';
    else if (c >= 'a' && c <= 'f') d = c - 'a' + 10;
    else if (c >= 'A' && c <= 'F') d = c - 'A' + 10;
    else if (c == 'x' || c == 'X') d = 0;
    else return 0;  // any other character makes the entry black
    v = ((v << 4) | (uint32_t)d) & 0xFFFFFF;
  }
  return v;
}

uint32_t scaled(uint32_t c, int b) {
  uint32_t out = 0;
  for (int sh = 0; sh <= 16; sh += 8) out |= (uint32_t)((double)((c >> sh) & 0xFF) * b * 0.01) << sh;
  return out;
}

// "[mm:ss.xx]": the first character stands for the "[" whatever it is; then a
// ":" before the first "]", and only digits, ":" and "." up to the "]". -1 when
// the tag is not valid.
int64_t timeTag(const std::string& line, size_t& textStart) {
  size_t close = line.find(']', 1);
  if (close == std::string::npos) return -1;
  size_t colon = line.find(':', 1);
  if (colon == std::string::npos || colon > close) return -1;
  for (size_t i = 1; i < close; i++) {
    char c = line[i];
    if (!((c >= '0' && c <= '9') || c == ':' || c == '.')) return -1;
  }
  std::string mm = line.substr(1, colon - 1), ss = line.substr(colon + 1, close - colon - 1);
  long long minutes = strtoll(mm.c_str(), nullptr, 10);  // saturates on overflow
  double seconds = strtod(ss.c_str(), nullptr);
  // no song lasts a million minutes; such tags are rubbish, not times
  if (minutes < 0 || minutes > 999999 || seconds < 0 || !std::isfinite(seconds) || seconds > 1e7) return -1;
  textStart = close + 1;
  int64_t t = (int64_t)((double)minutes * 60000.0 + seconds * 1000.0);
  return t == 0 ? 1 : t;  // 0 means "no time tag"
}

// The entry in force after `row`, read as the font reads its marks: the text ends
// at a NUL, a byte above 127 or an unclosed "{".
int colourAfter(const std::string& row, int colour, int count) {
  for (const unsigned char* p = (const unsigned char*)row.c_str(); *p && *p < 128; p++) {
    if (*p != '{') continue;
    const char* close = Font_ReadMark((const char*)p, count, colour);
    if (!close) break;
    p = (const unsigned char*)close;
  }
  return colour;
}

constexpr int kPalette = 10;
// Far beyond any time a line can hold, and small enough that sums of tags and
// offsets never leave 64 bits.
constexpr int64_t kOffsetLimit = int64_t(1) << 40;
}  // namespace

void Lyrics_Parse(const std::string& packText, int brightness, Lyrics& out) {
  out = Lyrics{};
  std::string text = packText;
  Text_NormaliseLines(text);
  brightness = std::clamp(brightness, 0, 100);  // a percentage; beyond it the channels would spill
  uint32_t grey = (uint32_t)(brightness * 255 * 0.01);
  uint32_t colours[10];
  for (uint32_t& c : colours) c = grey << 16 | grey << 8 | grey;
  int colourCount = 1;
  int64_t offset = 0;
  size_t s = 0;
  while (s <= text.size()) {
    size_t e = text.find('\n', s);
    if (e == std::string::npos) e = text.size();
    std::string line = chopCr(text.substr(s, e - s));
    s = e + 1;
    if (line.rfind("[COLOR]", 0) == 0 || line.rfind("[COLOUR]", 0) == 0) {
      std::string list = line.substr(line.find(']') + 1);
      int n = 0;
      size_t a = 0;
      while (a <= list.size()) {
        size_t b = list.find(',', a);
        if (b == std::string::npos) b = list.size();
        std::string item = list.substr(a, b - a);
        int slot = n < 10 ? n : 9;  // an eleventh and later entry overwrites the tenth
        colours[slot] = scaled(hexColour(item), brightness);
        n++;
        a = b + 1;
      }
      colourCount = n < 10 ? n : 10;
      continue;
    }
    if (line.rfind("[offset:", 0) == 0 && line.find(']') != std::string::npos) {
      long long v = std::clamp<long long>(strtoll(line.c_str() + 8, nullptr, 10), -kOffsetLimit, kOffsetLimit);
      offset = std::clamp<int64_t>(offset - v, -kOffsetLimit, kOffsetLimit);
      continue;
    }
    if (line.empty()) continue;
    size_t textStart = 0;
    int64_t t = timeTag(line, textStart);
    if (t < 0) continue;
    int64_t shown = std::clamp<int64_t>(t + offset, INT32_MIN, INT32_MAX);
    LyricLine l;
    l.time = (int32_t)shown;
    l.text = line.substr(textStart, 255);
    l.rowCount = 1;
    for (char c : l.text)
      if (c == '|') l.rowCount++;
    memcpy(l.colours, colours, sizeof colours);
    l.colourCount = colourCount;
    out.lines.push_back(std::move(l));
  }
}

bool Lyrics_Load(Lyrics& out, const char* group, const char* songFolder, const char* chartFile, int brightness,
                 bool testMode) {
  out = Lyrics{};
  std::string path = testMode ? std::string(group) + "/" + songFolder + "/" + chartFile
                              : std::string("Songs/") + group + "/" + songFolder + "/" + chartFile;
  if (path.size() >= 3) path.replace(path.size() - 3, 3, "lrc");
  WriteLogf("Reading lyrics file '%s'...\n", path.c_str());
  std::string resolved, text;
  if (!Path_Resolve(path, resolved) || !File_ReadText(resolved, text) || text.empty()) return false;
  Lyrics_Parse(text, brightness, out);
  return true;
}

const LyricLine* Lyrics_Current(Lyrics& l, int32_t t) {
  if (l.lines.empty()) return nullptr;
  if (!l.started) {
    l.cursor = 0;
    l.started = true;
  }
  while (l.cursor + 1 < l.lines.size() && l.lines[l.cursor + 1].time <= t) l.cursor++;
  const LyricLine& cur = l.lines[l.cursor];
  return t < cur.time ? nullptr : &cur;
}

void Lyrics_Style(int64_t e, int& size, int& alpha) {
  if (e > 254) {
    size = 27;
    alpha = 255;
  } else {
    size = alpha = e < 0 ? 0 : (int)std::floor(e * 2 / 19.0);
  }
}

std::vector<LyricRow> Lyrics_Layout(const LyricLine& line, int size, int centreY) {
  std::vector<LyricRow> rows;
  double top = centreY - (double)size * line.rowCount * 0.5;
  int colour = 0;
  size_t s = 0;
  while (s <= line.text.size()) {
    size_t e = line.text.find('|', s);
    if (e == std::string::npos) e = line.text.size();
    LyricRow r;
    r.text = line.text.substr(s, e - s);
    r.x = 320 - Font_MarkedTextWidth(size, r.text.c_str()) / 2;
    r.y = (int)top;
    r.colour = colour;
    colour = colourAfter(r.text, colour, kPalette);
    rows.push_back(std::move(r));
    top += size;
    s = e + 1;
  }
  return rows;
}

void Lyrics_Draw(Lyrics& l, int32_t t, int centreY) {
  const LyricLine* line = Lyrics_Current(l, t);
  if (!line) return;
  int size, alpha;
  Lyrics_Style((int64_t)t - line->time, size, alpha);
  if (size <= 0) return;
  for (const LyricRow& r : Lyrics_Layout(*line, size, centreY)) {
    int colour = r.colour;
    Font_DrawMarkedText(size, line->colours, kPalette, &colour, r.x, r.y, r.text.c_str(), alpha);
  }
}

void Lyrics_Free(Lyrics& l) { l = Lyrics{}; }
