#pragma once
// Readers the content tests share: the generated game folder, pictures
// through FreeImage, sound files through libsndfile, and a small reader of the
// chart format written from the format's rules (not from the generator).
#include <FreeImage.h>
#include <sndfile.h>

#include <cmath>
#include <cstdint>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <map>
#include <sstream>
#include <string>
#include <vector>

#ifndef TV_CONTENT_DIR
#error "the tools tests need TV_CONTENT_DIR, the generated game folder"
#endif

inline std::string GamePath(const std::string& rel) { return std::string(TV_CONTENT_DIR) + "/" + rel; }

inline std::string Slurp(const std::string& path) {
  std::ifstream f(path, std::ios::binary);
  std::stringstream ss;
  ss << f.rdbuf();
  return ss.str();
}

// A decoded picture as 8-bit RGBA rows, top row first.
struct Picture {
  int width = 0, height = 0, bpp = 0;
  std::vector<uint8_t> rgba;
  uint8_t A(int x, int y) const { return rgba[((size_t)y * width + x) * 4 + 3]; }
  const uint8_t* Px(int x, int y) const { return &rgba[((size_t)y * width + x) * 4]; }
};

inline bool LoadPicture(const std::string& path, Picture& pic) {
  FIBITMAP* bm = FreeImage_Load(FIF_PNG, path.c_str(), 0);
  if (!bm) return false;
  pic.width = (int)FreeImage_GetWidth(bm);
  pic.height = (int)FreeImage_GetHeight(bm);
  pic.bpp = (int)FreeImage_GetBPP(bm);
  FIBITMAP* b32 = FreeImage_ConvertTo32Bits(bm);
  pic.rgba.assign((size_t)pic.width * pic.height * 4, 0);
  for (int y = 0; y < pic.height; y++) {
    // FreeImage keeps rows bottom-up
    const BYTE* row = FreeImage_GetScanLine(b32, pic.height - 1 - y);
    for (int x = 0; x < pic.width; x++) {
      uint8_t* d = &pic.rgba[((size_t)y * pic.width + x) * 4];
      d[0] = row[x * 4 + FI_RGBA_RED];
      d[1] = row[x * 4 + FI_RGBA_GREEN];
      d[2] = row[x * 4 + FI_RGBA_BLUE];
      d[3] = row[x * 4 + FI_RGBA_ALPHA];
    }
  }
  FreeImage_Unload(b32);
  FreeImage_Unload(bm);
  return true;
}

// Pixels with alpha above a small threshold inside a rectangle.
inline int Ink(const Picture& p, int x, int y, int w, int h) {
  int n = 0;
  for (int j = y; j < y + h && j < p.height; j++)
    for (int i = x; i < x + w && i < p.width; i++)
      if (p.A(i, j) > 24) n++;
  return n;
}

struct Sound {
  int rate = 0, channels = 0;
  std::vector<float> mono;
  double Seconds() const { return rate ? (double)mono.size() / rate : 0; }
};

inline bool LoadSound(const std::string& path, Sound& s) {
  SF_INFO info;
  std::memset(&info, 0, sizeof info);
  SNDFILE* f = sf_open(path.c_str(), SFM_READ, &info);
  if (!f) return false;
  std::vector<float> inter((size_t)info.frames * info.channels);
  sf_count_t got = sf_readf_float(f, inter.data(), info.frames);
  sf_close(f);
  s.rate = info.samplerate;
  s.channels = info.channels;
  s.mono.assign((size_t)got, 0.f);
  for (sf_count_t i = 0; i < got; i++) {
    float sum = 0;
    for (int c = 0; c < info.channels; c++) sum += inter[(size_t)i * info.channels + c];
    s.mono[i] = sum / info.channels;
  }
  return got > 0;
}

// ------------------------------------------------------------ chart reading

// The value of a tag on its own line ("#TAG:value;"), or "" with found = false.
inline std::string TagLine(const std::string& text, const std::string& tag, bool* found = nullptr) {
  std::istringstream in(text);
  std::string line;
  while (std::getline(in, line)) {
    size_t p = line.find(tag);
    if (p == std::string::npos) continue;
    if (found) *found = true;
    std::string v = line.substr(p + tag.size());
    if (!v.empty()) v.pop_back();  // the closing ";"
    return v;
  }
  if (found) *found = false;
  return "";
}

// Comments blanked as the game does: "//" to the end of the line becomes spaces.
inline std::string BlankComments(std::string t) {
  for (size_t p = t.find("//"); p != std::string::npos; p = t.find("//", p)) {
    while (p < t.size() && t[p] != '\n') t[p++] = ' ';
  }
  return t;
}

struct ParsedArrow {
  double pos;
  int col;       // 0 L, 1 D, 2 U, 3 R, 4 UL, 5 UR
  double end;    // freeze end, equal to pos for taps
  bool pending;  // a freeze never closed
};

// Reads one half of step data by the format's rules.
inline std::vector<ParsedArrow> ParseSteps(const std::string& data, std::string* error) {
  static const std::map<char, int> rows = {
      {'1', 1 | 2}, {'2', 2},      {'3', 2 | 8},   {'4', 1},       {'6', 8},       {'7', 4 | 1},  {'8', 4},
      {'9', 4 | 8}, {'A', 4 | 2},  {'B', 1 | 8},   {'C', 16},      {'D', 32},      {'E', 16 | 1}, {'F', 16 | 2},
      {'G', 16 | 4}, {'H', 16 | 8}, {'I', 32 | 1}, {'J', 32 | 2}, {'K', 32 | 4}, {'L', 32 | 8}, {'M', 16 | 32}};
  std::vector<ParsedArrow> out;
  int open[6] = {-1, -1, -1, -1, -1, -1}, recent[6] = {-1, -1, -1, -1, -1, -1};
  double pos = 0, step = 2, saved = 2;
  for (size_t i = 0; i < data.size(); i++) {
    char c = data[i];
    if (c == '(') step = 1;
    else if (c == '[') step = 2.0 / 3.0;
    else if (c == '{') step = 0.25;
    else if (c == '`') step = 1.0 / 12.0;
    else if (c == ')' || c == ']' || c == '}' || c == '\'') step = 2;
    else if (c == '<') { saved = step; step = 0; }
    else if (c == '>') { step = saved; pos += step; }
    else if (c == '0' || c == '5') pos += step;
    else if (c == '!') {
      if (i + 1 >= data.size() || !rows.count(data[i + 1])) {
        if (error) *error = "a freeze marker without its columns";
        return out;
      }
      int m = rows.at(data[++i]);
      for (int col = 0; col < 6; col++)
        if (m & (1 << col)) {
          if (recent[col] < 0) {
            if (error) *error = "a freeze marker on a column without an arrow";
            return out;
          }
          out[recent[col]].pending = true;
          open[col] = recent[col];
        }
    } else if (rows.count(c)) {
      int m = rows.at(c);
      for (int col = 0; col < 6; col++) {
        if (!(m & (1 << col))) continue;
        if (open[col] >= 0) {
          out[open[col]].end = pos;
          out[open[col]].pending = false;
          open[col] = -1;
        } else {
          out.push_back({pos, col, pos, false});
          recent[col] = (int)out.size() - 1;
        }
      }
      pos += step;
    }
  }
  return out;
}

struct ParsedChart {
  std::string key;       // e.g. "SINGLE:BASIC"
  int level = 0;
  std::string data;      // the step data up to ";"
};

inline std::vector<ParsedChart> ChartsOf(const std::string& text) {
  static const char* keys[14] = {"SINGLE:BASIC:",  "SINGLE:ANOTHER:", "SINGLE:MANIAC:", "SINGLE:SMANIAC:",
                                 "DOUBLE:BASIC:",  "DOUBLE:ANOTHER:", "DOUBLE:MANIAC:", "DOUBLE:SMANIAC:",
                                 "COUPLE:BASIC:",  "COUPLE:ANOTHER:", "COUPLE:MANIAC:", "SOLO:BASIC:",
                                 "SOLO:ANOTHER:",  "SOLO:MANIAC:"};
  std::vector<ParsedChart> out;
  std::string t = BlankComments(text);
  for (const char* k : keys) {
    ParsedChart c;
    c.key = std::string(k, std::strlen(k) - 1);
    size_t p = t.find(std::string("#") + k);
    if (p != std::string::npos) {
      p += std::strlen(k) + 1;
      c.level = std::atoi(t.c_str() + p);
      size_t colon = t.find(':', p);
      size_t semi = t.find(';', p);
      if (colon != std::string::npos && semi != std::string::npos && colon < semi) c.data = t.substr(colon + 1, semi - colon - 1);
    }
    out.push_back(c);
  }
  return out;
}

// Music time in milliseconds of a position, by the timing model: the gap,
// each tempo segment, and every stop at or before the position.
struct Timing {
  double bpm = 0;
  int gap = 0;
  std::vector<std::pair<double, double>> changes, stops;
  double Ms(double pos) const {
    double t = gap, prev = 0, b = bpm;
    for (auto& c : changes) {
      if (c.first >= pos) break;
      t += (c.first - prev) * 15000.0 / b;
      prev = c.first;
      b = c.second;
    }
    t += (pos - prev) * 15000.0 / b;
    for (auto& s : stops)
      if (s.first <= pos) t += s.second;
    return t;
  }
};

inline std::vector<std::pair<double, double>> PairList(const std::string& v) {
  std::vector<std::pair<double, double>> out;
  std::string s = v;
  for (char& c : s)
    if (c == '=') c = ',';
  std::stringstream ss(s);
  std::string a, b;
  while (std::getline(ss, a, ',') && std::getline(ss, b, ',')) out.push_back({std::atof(a.c_str()), std::atof(b.c_str())});
  return out;
}

inline Timing TimingOf(const std::string& text) {
  Timing t;
  t.bpm = std::atof(TagLine(text, "#BPM:").c_str());
  t.gap = std::atoi(TagLine(text, "#GAP:").c_str());
  t.changes = PairList(TagLine(text, "#CHANGEBPM:"));
  t.stops = PairList(TagLine(text, "#FREEZE:"));
  return t;
}

// The song folders under Songs/Demo.
inline std::vector<std::string> DemoSongFolders() {
  std::vector<std::string> out;
  std::error_code ec;
  for (auto& e : std::filesystem::directory_iterator(GamePath("Songs/Demo"), ec))
    if (e.is_directory()) out.push_back(e.path().filename().string());
  std::sort(out.begin(), out.end());
  return out;
}
