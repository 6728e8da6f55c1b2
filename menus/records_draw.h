#pragma once
// The records browser on the 640 x 480 screen. Its backdrop "rkv2-records.png"
// carries the heading and two framed areas: the list of the level at the left
// (a caption, then the rows in view with the cursor's bar and a scroll bar
// when the list is longer), the card of the entry under the cursor at the
// right. The table and style being browsed stand at the top right; the help
// line, or a message for a few seconds, at the bottom; the confirmation of a
// reset over everything.
#include "library/profiles.h"
#include "media/render/image.h"
#include "menus/records_browse.h"
#include <cstdint>

constexpr int kRecordsListX = 12, kRecordsListY = 62, kRecordsListW = 300, kRecordsListH = 388;
constexpr int kRecordsCardX = 322, kRecordsCardY = 62, kRecordsCardW = 306, kRecordsCardH = 388;
constexpr int kRecordsRowsY = 96, kRecordsRowH = 26, kRecordsRows = 13;

struct RecordsLook {
  Image selector;
  bool backdrop = false;                 // the backdrop (with its heading) was found
  // each profile's own picture, loaded the first time its card shows
  Image pictures[kMaxProfiles];
  bool tried[kMaxProfiles] = {};
  // Counts the tables opened and the resets: the tallies of each style are
  // counted again only when it or the table changes.
  uint64_t generation = 0;
  const RecordTable* tallyTable = nullptr;
  uint64_t tallyGeneration = ~0ull;
  RecordsTally styleTallies[3];
};

void RecordsLook_Load(RecordsLook& look);
void RecordsLook_Free(RecordsLook& look);
// The tally of a whole table in one style (see RecordsBrowse_Tally), kept.
const RecordsTally& RecordsLook_StyleTally(RecordsLook& look, const RecordTable& t, int style);

// The difficulty colours of the list's grade columns, BASIC to SMANIAC.
extern const uint32_t kRecordsDifficultyColours[4];

// The heading (when the backdrop has none) and the table and style browsed.
void RecordsDraw_Top(const RecordsBrowse& b, const RecordsLook& look);
// `table`: the table shown, null when none is or it could not be read.
void RecordsDraw_List(const RecordsBrowse& b, const RecordTable* table, RecordsLook& look, uint32_t nowMs);
void RecordsDraw_Card(const RecordsBrowse& b, const RecordTable* table, RecordsLook& look);
void RecordsDraw_Confirm(const RecordsBrowse& b, RecordsLook& look);
// The help line of the level, or `message` in its colour.
void RecordsDraw_Bottom(const RecordsBrowse& b, const char* message, uint32_t colour);
