#include "library/record_notes.h"
#include "platform/files.h"
#include "platform/log.h"
#include <cstdio>
#include <cstdlib>
#include <cstring>

namespace {
std::string noteKey(const char* key, int styleKey, int difficultyKey) {
  return std::string(key ? key : "") + '\t' + std::to_string(styleKey) + '\t' + std::to_string(difficultyKey);
}

// The fields of one line; false when it has not exactly five, or bad numbers.
bool readLine(const std::string& line, std::string& key, ResultNote& n) {
  size_t tabs[4], at = 0;
  for (size_t& t : tabs) {
    t = line.find('\t', at);
    if (t == std::string::npos) return false;
    at = t + 1;
  }
  if (line.find('\t', at) != std::string::npos || tabs[0] == 0) return false;
  // a key cut short at a zero byte would be another song's, or none the writer can write
  if (line.find('\0') < tabs[0]) return false;
  auto number = [&](int i, long long lo, long long hi, long long& v) {
    size_t from = tabs[i] + 1, to = i < 3 ? tabs[i + 1] : line.size();
    std::string s = line.substr(from, to - from);
    if (s.empty() || s.size() > 20) return false;
    char* end = nullptr;
    v = strtoll(s.c_str(), &end, 10);
    return *end == 0 && v >= lo && v <= hi;
  };
  long long style, difficulty, combo, date;
  if (!number(0, 0, 255, style) || !number(1, 0, 255, difficulty) || !number(2, 0, INT32_MAX, combo) ||
      !number(3, 0, INT64_MAX, date))
    return false;
  key = noteKey(line.substr(0, tabs[0]).c_str(), (int)style, (int)difficulty);
  n.bestCombo = (int32_t)combo;
  n.bestScoreAt = date;
  return true;
}
}  // namespace

std::string Notes_Path(const RecordTable& t) {
  return t.profile.empty() ? std::string("tarvolen-records.txt") : "Profiles/" + t.profile + "/tarvolen-user.txt";
}

int Notes_Parse(RecordTable& t, const std::string& text) {
  t.notes.clear();
  int read = 0, skipped = 0;
  size_t s = 0;
  while (s < text.size()) {
    size_t e = text.find('\n', s);
    if (e == std::string::npos) e = text.size();
    std::string line = text.substr(s, e - s);
    s = e + 1;
    if (!line.empty() && line.back() == '\r') line.pop_back();
    if (line.empty()) continue;
    std::string key;
    ResultNote n;
    if (readLine(line, key, n)) {
      t.notes[key] = n;
      read++;
    } else {
      skipped++;
    }
  }
  if (skipped) WriteLogf("Record notes '%s': %d lines not understood, skipped\n", Notes_Path(t).c_str(), skipped);
  return read;
}

std::string Notes_Text(const RecordTable& t) {
  std::string out;
  for (const auto& [key, n] : t.notes) {
    if (n.bestCombo == 0 && n.bestScoreAt == 0) continue;
    out += key + '\t' + std::to_string(n.bestCombo) + '\t' + std::to_string(n.bestScoreAt) + '\n';
  }
  return out;
}

bool Notes_Load(RecordTable& t) {
  std::string text;
  if (!File_ReadText(Notes_Path(t), text)) {
    t.notes.clear();
    return false;
  }
  Notes_Parse(t, text);
  return true;
}

bool Notes_Save(const RecordTable& t) {
  std::string text = Notes_Text(t);
  bool ok = File_WriteSafely(Notes_Path(t), text.data(), text.size());
  if (!ok) WriteLogf("Unable to write the record notes '%s'; the old file stays\n", Notes_Path(t).c_str());
  return ok;
}

ResultNote findNote(const RecordTable& t, const char* key, int styleKey, int difficultyKey) {
  auto it = t.notes.find(noteKey(key, styleKey, difficultyKey));
  return it == t.notes.end() ? ResultNote{} : it->second;
}

void storeNote(RecordTable& t, const char* key, int styleKey, int difficultyKey, int32_t maxCombo, bool newBestScore,
               int64_t nowSeconds) {
  ResultNote& n = t.notes[noteKey(key, styleKey, difficultyKey)];
  if (maxCombo > n.bestCombo) n.bestCombo = maxCombo;
  if (newBestScore) n.bestScoreAt = nowSeconds;
}

void clearNotes(RecordTable& t, const char* key) {
  if (!key) {
    t.notes.clear();
    return;
  }
  std::string prefix = std::string(key) + '\t';
  for (auto it = t.notes.begin(); it != t.notes.end();)
    it = it->first.compare(0, prefix.size(), prefix) == 0 ? t.notes.erase(it) : std::next(it);
}
