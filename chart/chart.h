#pragma once
// The in-memory chart: one Arrow record per arrow or freeze arrow of a player,
// the song's tempo changes and stops, and the chart loader that fills them.
// Positions are doubles in sixteenth notes (4.0 per beat) everywhere.
#include <cstddef>
#include <cstdint>

class Image;      // a picture of the rendering layer; the loader only stores references
struct Player;

// Arrow kinds.
constexpr uint8_t ARROW_TAP = 0;
constexpr uint8_t ARROW_FREEZE = 1;
constexpr uint8_t ARROW_IGNORED = 7;   // pending freeze, or removed by LITTLE or NOFREEZE

// Columns. The right pad of DOUBLE uses COL_RIGHT_PAD + Left..Right (6 to 9).
constexpr uint8_t COL_LEFT = 0, COL_DOWN = 1, COL_UP = 2, COL_RIGHT = 3;
constexpr uint8_t COL_UPLEFT = 4, COL_UPRIGHT = 5;
constexpr uint8_t COL_RIGHT_PAD = 6;
constexpr int kColumnSlots = 10;

constexpr int kArrowLoadY = 780;       // below the screen
constexpr int kReceptorY = 55;         // y of the target arrows on the tape
constexpr int kReverseFlip = 413;      // REVERSE mirrors tape and screen y about this
constexpr uint8_t kArrowLoadStatus = 5;

struct Arrow {
  int32_t x;               // screen x of the column
  int32_t y;               // current screen y
  double tapeY;            // y on the scroll tape (see the timing model)
  uint8_t visible;
  uint8_t freezeState[3];  // working flags of a freeze, cleared when it closes
  double startPos;         // sixteenths
  double endPos;           // equals startPos for a tap arrow
  int32_t judgement[3];    // working words of the song play
  int32_t chordNext;       // next member of the chord ring, -1 alone
  int32_t freezeLink;      // head: index of its freeze record; otherwise -1
  int32_t stepNumber;      // 1-based number of the judged records, 0 for ignored ones
  uint8_t kind;            // ARROW_TAP, ARROW_FREEZE, ARROW_IGNORED
  uint8_t column;
  uint8_t status;          // owned by the song play
  uint8_t flagA;           // owned by the song play
  uint8_t afterStop;       // set when a stop at or before the arrow begins
  uint8_t freezeChord;     // in a chord that holds a freeze head
  int8_t beatPhase;        // place within the beat, for the colour animation
  const Image* image;
};
static_assert(offsetof(Arrow, tapeY) == 8 && offsetof(Arrow, visible) == 16);
static_assert(offsetof(Arrow, startPos) == 24 && offsetof(Arrow, judgement) == 40);
static_assert(offsetof(Arrow, chordNext) == 52 && offsetof(Arrow, stepNumber) == 60);
static_assert(offsetof(Arrow, kind) == 64 && offsetof(Arrow, beatPhase) == 70);
static_assert(offsetof(Arrow, image) == 72 && sizeof(Arrow) == 80);

struct BpmChange {
  double position;   // sixteenths
  double bpm;
};
struct FreezeStop {
  double position;      // sixteenths
  double milliseconds;  // how long the scroll halts
};

// A chart never holds more records per player than this; a larger one fails the
// load. It keeps S * (S + 1) / 2 of the step numbers within 32 bits.
constexpr int kMaxArrows = 65535;

// What the loader takes from the game's settings and the kind of play.
struct ChartRules {
  int32_t globalGap = 0;    // ms added to the chart's own "#GAP:"
  uint8_t comboType = 0;    // the settings' combo type; each player's combo mode is this + 1
  bool bareFolder = false;  // test play: group, song and file are joined without ".\Songs\"
};

// Loads the chart at ".\Songs\<group>\<song>\<file>" (with `bareFolder` the
// three parts are joined without the prefix) for every active player among the first
// `playerCount` of `players` (two records). In BATTLE player 1's COUPLE chart
// fills both players. On success the song timing (g_timing) is set and 1 is
// returned; on failure 0, and neither the players nor the timing are touched.
// The players' previous arrays must have been freed (Chart_Free) by the caller.
int loadChart(const char* group, const char* song, const char* file, Player* players, int playerCount,
              const ChartRules& rules);

// The same from chart text already in memory; `path` is only written to the log.
int loadChartText(const char* data, size_t size, const char* path, Player* players, int playerCount,
                  const ChartRules& rules);

// Frees a player's arrow array and sets its count to 0.
void Chart_Free(Player& p);

// The chart key "%s:%s:%d:" for a player ("COUPLE" for BATTLE); false when the
// difficulty is not 0..3.
bool Chart_Key(const Player& p, char* out, size_t outSize);
