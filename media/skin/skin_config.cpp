#include "media/skin/skin_config.h"
#include "platform/log.h"
#include "platform/files.h"
#include <algorithm>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <strings.h>

SkinConfig g_skinConfig;
std::string g_announcerCredit = "(Unknown)", g_effectCredit = "(Unknown)";
std::vector<std::string> g_skinList, g_soundSetList;
uint32_t g_freezeGradient[16];

namespace {
void one(ColourList& l, uint32_t v) {
  l.values[0] = v;
  l.count = 1;
}

std::vector<std::string> lines(const std::string& text) {
  std::vector<std::string> out;
  size_t s = 0;
  while (s < text.size()) {
    size_t e = text.find_first_of("\r\n", s);
    if (e == std::string::npos) e = text.size();
    if (e > s) out.push_back(text.substr(s, e - s));
    s = e + 1;
  }
  return out;
}

// The value after `key` on the line, or false when the key is not there.
bool valueOf(const std::string& line, const char* key, std::string& out) {
  size_t p = line.find(key);
  if (p == std::string::npos) return false;
  out = line.substr(p + strlen(key));
  // the screens draw a value as C text: what follows a zero byte is no part of it
  out.resize(strnlen(out.c_str(), out.size()));
  return true;
}

bool single(const std::string& line, const char* key, uint32_t& target) {
  std::string v;
  if (!valueOf(line, key, v)) return false;
  uint32_t vals[1];
  if (v.find_first_not_of(" \t") == std::string::npos) return true;  // empty: no change
  if (ParseValueList(v.c_str(), vals, 1) > 0) target = vals[0];
  return true;
}

void list(const std::string& line, const char* key, ColourList& target, int max, bool keepWhenEmpty, bool logIt) {
  std::string v;
  if (!valueOf(line, key, v)) return;
  if (v.find_first_not_of(" \t") == std::string::npos) {
    if (!keepWhenEmpty) target.count = 0;
    return;
  }
  uint32_t vals[kMaxColourList];
  int n = ParseValueList(v.c_str(), vals, max);
  if (keepWhenEmpty && n == 0) return;
  memcpy(target.values, vals, sizeof(uint32_t) * (size_t)n);
  target.count = n;
  if (logIt) {
    for (int i = 0; i < n; i++) WriteLogf("%d=%x,", i, vals[i]);
    WriteLog("\n");
  }
}

void number(const std::string& line, const char* key, int32_t& target, int32_t lo, int32_t hi) {
  uint32_t v = (uint32_t)target;
  if (!single(line, key, v)) return;
  int64_t n = (int32_t)v;
  target = (int32_t)std::clamp<int64_t>(n, lo, hi);
}

bool installed(const std::vector<std::string>& l, const char* name, bool caseBlind) {
  for (const std::string& s : l)
    if (caseBlind ? strcasecmp(s.c_str(), name) == 0 : s == name) return true;
  return false;
}

std::vector<std::string> listFolders(const char* root, bool needSkinFile) {
  std::vector<std::string> names;
  std::string rootPath;
  if (!Path_Resolve(root, rootPath)) rootPath = root;
  std::error_code ec;
  for (std::filesystem::directory_iterator it(rootPath, ec), end; !ec && it != end; it.increment(ec)) {
    std::error_code e2;
    if (!it->is_directory(e2)) continue;
    std::string n = it->path().filename().string();
    if (n.empty() || n[0] == '.' || strcasecmp(n.c_str(), "Default") == 0) continue;
    if (needSkinFile && File_Size(rootPath + "/" + n + "/rkv2-skin.cfg") < 0) continue;
    names.push_back(n);
  }
  // the folder listing has no order of its own: the first 63 by name are offered
  std::sort(names.begin(), names.end(), [](const std::string& a, const std::string& b) {
    int c = strcasecmp(a.c_str(), b.c_str());
    return c != 0 ? c < 0 : a < b;
  });
  if (names.size() > (size_t)kMaxInstalled - 1) names.resize(kMaxInstalled - 1);
  names.insert(names.begin(), "Default");
  return names;
}

std::string creditFrom(const std::string& text, const char* key) {
  bool credits = false;
  std::string found;
  for (const std::string& l : lines(text)) {
    if (l.find("[CREDITS]") != std::string::npos) credits = true;
    std::string v;
    if (credits && found.empty() && valueOf(l, key, v)) found = v;
  }
  return found;
}
}

void SkinConfig_Defaults(SkinConfig& c) {
  c.author = "(Unknown)";
  c.folders.count = 0;
  c.songs.count = 0;
  one(c.comboPerfect, 0x0091FF);
  one(c.comboGreat, 0x0091FF);
  for (int i = 0; i < 6; i++) c.stages.values[i] = 0xFFFFFF;
  c.stages.count = 6;
  c.folderCourse = 0;
  c.freezeMin = 0;
  c.freezeMax = 0;
  c.regPerfect = 0xFEFE56;
  c.regGreat = 0x02FB5F;
  c.selectSongModifier = 0xFFFFFF;
  c.panelTop = 6;
  c.modLeft = 262;
  c.modRight = 380;
  c.modWidth = 140;
}

// Items end at a comma, the end of the text or a byte of 128 or more. An item
// holding any of A-F, a-f or x is hexadecimal (x counts as a zero digit, so 0x
// prefixes work; any other character makes the item 0); the rest are decimal.
int ParseValueList(const char* text, uint32_t* out, int max) {
  int n = 0;
  const unsigned char* p = (const unsigned char*)text;
  while (n < max) {
    const unsigned char* s = p;
    while (*p && *p != ',' && *p < 128) p++;
    std::string item((const char*)s, (size_t)(p - s));
    // blanks around an item are no part of it (a hand-edited file often has them)
    size_t a = item.find_first_not_of(" \t"), b = item.find_last_not_of(" \t");
    item = a == std::string::npos ? std::string() : item.substr(a, b - a + 1);
    bool hex = item.find_first_of("ABCDEFabcdefx") != std::string::npos;
    uint32_t v = 0;
    if (hex) {
      for (char ch : item) {
        int d;
        if (ch >= '0' && ch <= '9') d = ch - '0';
        else if (ch >= 'a' && ch <= 'f') d = ch - 'a' + 10;
        else if (ch >= 'A' && ch <= 'F') d = ch - 'A' + 10;
        else if (ch == 'x') d = 0;
        else { v = 0; break; }
        v = ((v << 4) | (uint32_t)d) & 0xFFFFFF;
      }
    } else {
      double d = strtod(item.c_str(), nullptr);
      v = d >= 0 && d < 4294967296.0 ? (uint32_t)d : d < 0 && d > -2147483649.0 ? (uint32_t)(int32_t)d : 0;
    }
    out[n++] = v;
    if (*p != ',') break;
    p++;
  }
  return n;
}

void SkinConfig_Parse(const std::string& text, SkinConfig& c) {
  enum { NONE, CREDITS, COLOURS, POSITIONS } section = NONE;
  for (const std::string& l : lines(text)) {
    WriteLogf("%s\n", l.c_str());
    if (l.find("[CREDITS]") != std::string::npos) { section = CREDITS; continue; }
    if (l.find("[COLOURS]") != std::string::npos || l.find("[COLORS]") != std::string::npos) { section = COLOURS; continue; }
    if (l.find("[POSITIONS]") != std::string::npos) { section = POSITIONS; continue; }
    std::string v;
    switch (section) {
      case CREDITS:
        if (valueOf(l, "Author=", v)) c.author = v;
        break;
      case COLOURS:
        list(l, "Folders=", c.folders, kMaxColourList, false, true);
        single(l, "FolderCr=", c.folderCourse);
        single(l, "FreezeMin=", c.freezeMin);
        single(l, "FreezeMax=", c.freezeMax);
        list(l, "Songs=", c.songs, kMaxColourList, false, true);
        single(l, "RegPerfect=", c.regPerfect);
        single(l, "RegGreat=", c.regGreat);
        list(l, "ComboPerfect=", c.comboPerfect, kMaxColourList, false, false);
        list(l, "ComboGreat=", c.comboGreat, kMaxColourList, false, false);
        list(l, "Stages=", c.stages, 6, true, false);
        single(l, "SelectSong_Modifier=", c.selectSongModifier);
        break;
      case POSITIONS:
        number(l, "GamePlay_PanelTop=", c.panelTop, INT32_MIN, 10);
        number(l, "GamePlay_ModLeft=", c.modLeft, 242, INT32_MAX);
        number(l, "GamePlay_ModRight=", c.modRight, INT32_MIN, 400);
        number(l, "GamePlay_ModWidth=", c.modWidth, 50, INT32_MAX);
        break;
      default:
        break;
    }
  }
}

bool LoadSkinConfig(const char* skin) {
  SkinConfig_Defaults(g_skinConfig);
  std::string path, text;
  if (!Path_Resolve(std::string("Skins/") + skin + "/rkv2-skin.cfg", path) || !File_ReadText(path, text))
    return false;
  SkinConfig_Parse(text, g_skinConfig);
  return true;
}

void SkinConfig_BuildFreezeGradient(uint32_t lo, uint32_t hi, uint32_t out[16]) {
  for (int k = 0; k < 16; k++) {
    double t = (k <= 7 ? k : 15 - k) / 7.0;
    uint32_t c = 0;
    for (int sh = 16; sh >= 0; sh -= 8) {
      double a = (lo >> sh) & 0xFF, b = (hi >> sh) & 0xFF;
      c |= (uint32_t)(a * (1 - t) + b * t) << sh;
    }
    out[k] = c;
  }
}

bool LoadSoundSetConfig(const char* announcerSet, const char* effectSet) {
  g_announcerCredit = g_effectCredit = "(Unknown)";
  std::string path, text;
  bool any = false;
  if (Path_Resolve(std::string("Sounds/") + announcerSet + "/rkv2-sound.cfg", path) &&
      File_ReadText(path, text)) {
    any = true;
    for (const std::string& l : lines(text)) WriteLogf("%s\n", l.c_str());
    std::string a = creditFrom(text, "Announcer=");
    if (!a.empty()) g_announcerCredit = a;
    if (strcmp(announcerSet, effectSet) == 0) {
      std::string s = creditFrom(text, "SoundFX=");
      if (!s.empty()) g_effectCredit = s;
    }
  }
  if (strcmp(announcerSet, effectSet) != 0 &&
      Path_Resolve(std::string("Sounds/") + effectSet + "/rkv2-sound.cfg", path) &&
      File_ReadText(path, text)) {
    any = true;
    for (const std::string& l : lines(text)) WriteLogf("%s\n", l.c_str());
    std::string s = creditFrom(text, "SoundFX=");
    if (!s.empty()) g_effectCredit = s;
  }
  return any;
}

int ListSkins(char* skin, size_t size) {
  g_skinList = listFolders("Skins", true);
  if (!installed(g_skinList, skin, false)) snprintf(skin, size, "Default");
  return (int)g_skinList.size();
}

int ListSoundSets(char* announcerSet, size_t announcerSize, char* effectSet, size_t effectSize) {
  g_soundSetList = listFolders("Sounds", false);
  if (!installed(g_soundSetList, announcerSet, true)) snprintf(announcerSet, announcerSize, "Default");
  if (!installed(g_soundSetList, effectSet, true)) snprintf(effectSet, effectSize, "Default");
  return (int)g_soundSetList.size();
}
