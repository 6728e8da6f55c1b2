#pragma once
// One song of the library: the 4608-byte record that is stored byte for byte in
// the song database "rkv2.sng" and kept the same way in the song table.
#include "chart/chart_figures.h"
#include <cstddef>
#include <cstdint>

#pragma pack(push, 1)
struct SongEntry {
  uint8_t deleted;            // 0 live; 1 a deleted slot of the database
  char group[256];            // 1
  char folder[256];           // 257
  char genres[256];           // 513  "|Pop||Rock|"
  char title[256];            // 769
  char artist[256];           // 1025
  char cdTitle[256];          // 1281
  char chartFile[256];        // 1537
  char background[256];       // 1793
  char banner[256];           // 2049
  char displayTitle[512];     // 2305
  char displayArtist[512];    // 2817
  char musicFile[512];        // 3329
  char md5[64];               // 3841
  uint8_t newState;           // 3905 chart: 3 STATUS:NEW, 2 STATUS:NORMAL; loaded: 1 NEW
  uint8_t hasCdTitle;         // 3906
  uint8_t hasDisplayTitle;    // 3907
  uint8_t hasDisplayArtist;   // 3908
  uint8_t hasBanner;          // 3909
  uint8_t hasBackground;      // 3910
  uint8_t wideBanner;         // 3911
  uint8_t pad3912[4];         // 3912
  int32_t sampleStart;        // 3916 ms
  int32_t sampleLength;       // 3920 ms
  int32_t songLength;         // 3924 ms, from the step analysis
  double bpmValue;            // 3928 "#BPM:"
  int32_t displayBpm;         // 3936 -1 automatic range, 0 unknown, -2 given range, else fixed
  int32_t bpmMin;             // 3940
  int32_t bpmMax;             // 3944
  uint32_t colour;            // 3948 in memory: wheel colour 0xRRGGBB
  int32_t levels[kChartSlots];        // 3952
  ChartFigures figures[kChartSlots];  // 4008
  uint8_t work4568[20];       // 4568 song wheel working space
  int32_t record;             // 4588 in memory: index in the records table, -1 none
  int32_t profileRecord[2];   // 4592 in memory: per player, index in the profile's records
  uint8_t selectable;         // 4600 in memory: 0 drawn dimmed
  uint8_t work4601[7];        // 4601
};
#pragma pack(pop)
static_assert(sizeof(SongEntry) == 4608);
static_assert(offsetof(SongEntry, group) == 1 && offsetof(SongEntry, folder) == 257);
static_assert(offsetof(SongEntry, genres) == 513 && offsetof(SongEntry, title) == 769);
static_assert(offsetof(SongEntry, artist) == 1025 && offsetof(SongEntry, cdTitle) == 1281);
static_assert(offsetof(SongEntry, chartFile) == 1537 && offsetof(SongEntry, background) == 1793);
static_assert(offsetof(SongEntry, banner) == 2049 && offsetof(SongEntry, displayTitle) == 2305);
static_assert(offsetof(SongEntry, displayArtist) == 2817 && offsetof(SongEntry, musicFile) == 3329);
static_assert(offsetof(SongEntry, md5) == 3841 && offsetof(SongEntry, newState) == 3905);
static_assert(offsetof(SongEntry, wideBanner) == 3911 && offsetof(SongEntry, sampleStart) == 3916);
static_assert(offsetof(SongEntry, songLength) == 3924 && offsetof(SongEntry, bpmValue) == 3928);
static_assert(offsetof(SongEntry, displayBpm) == 3936 && offsetof(SongEntry, bpmMax) == 3944);
static_assert(offsetof(SongEntry, colour) == 3948 && offsetof(SongEntry, levels) == 3952);
static_assert(offsetof(SongEntry, figures) == 4008 && offsetof(SongEntry, record) == 4588);
static_assert(offsetof(SongEntry, profileRecord) == 4592 && offsetof(SongEntry, selectable) == 4600);

// Bounded copy into a fixed text field; the field always ends with a zero byte.
void SongEntry_SetText(char* field, size_t fieldSize, const char* text);
template <size_t N>
inline void SetField(char (&field)[N], const char* text) {
  SongEntry_SetText(field, N, text);
}
