#pragma once
// The skin's "rkv2-skin.cfg" (author, colours, play-screen positions) and the
// sound sets' "rkv2-sound.cfg" credits; the lists of installed skins and sets.
#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

constexpr int kMaxColourList = 256;
constexpr int kMaxInstalled = 64;

struct ColourList {
  uint32_t values[kMaxColourList];
  int count;
};

struct SkinConfig {
  std::string author;
  ColourList folders, songs, comboPerfect, comboGreat, stages;
  uint32_t folderCourse, freezeMin, freezeMax, regPerfect, regGreat, selectSongModifier;
  int32_t panelTop, modLeft, modRight, modWidth;
};

extern SkinConfig g_skinConfig;
extern std::string g_announcerCredit, g_effectCredit;
extern std::vector<std::string> g_skinList, g_soundSetList;
extern uint32_t g_freezeGradient[16];

void SkinConfig_Defaults(SkinConfig& c);
// Reads "Skins/<skin>/rkv2-skin.cfg"; false when missing (the defaults stay).
bool LoadSkinConfig(const char* skin);
void SkinConfig_Parse(const std::string& text, SkinConfig& c);
// Comma-separated colours or numbers (see the .cpp for the hex/decimal rule).
int ParseValueList(const char* text, uint32_t* out, int max);
void SkinConfig_BuildFreezeGradient(uint32_t minColour, uint32_t maxColour, uint32_t out[16]);
// The credits of the two sound sets, with each file's lines written to the log.
bool LoadSoundSetConfig(const char* announcerSet, const char* effectSet);
// The installed skins into g_skinList; the chosen `skin` (a text field of `size`
// bytes) becomes "Default" when it is not among them.
int ListSkins(char* skin, size_t size);
// The installed sound sets into g_soundSetList; a chosen set that is not among
// them becomes "Default".
int ListSoundSets(char* announcerSet, size_t announcerSize, char* effectSet, size_t effectSize);
