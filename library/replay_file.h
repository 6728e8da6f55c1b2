#pragma once
// Replays: one file of ours per play under "Replays/" (a course's songs share one,
// library/replay_course.h), holding what the play was
// (the chart and an MD5 of its text, style, difficulty, modifiers, the rules in
// force) and every frame the judgement saw: the song clock of the frame, the
// panels held, each new press with its song time. Played back frame by frame
// through the judgement, a replay gives the same judgements, score, life and
// timing figures as the play it was made from, whatever the frame rate of the
// watcher. docs/replay-format.md describes the layout byte by byte.
//
// A file is a fixed 1024-byte header (ReplayHeader) and a body of frames. The
// body's length and CRC-32 are in the header: a truncated or hand-edited file is
// refused with a log line, never half played.
#include "chart/player_record.h"
#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

constexpr char kReplayMagic[8] = {'T', 'V', 'R', 'E', 'P', 'L', 'A', 'Y'};
constexpr uint32_t kReplayVersion = 1;
constexpr const char* kReplayFolder = "Replays";
constexpr const char* kReplayExtension = ".tvr";
// What a reader takes on at most: hours of play at a thousand frames a second.
constexpr uint32_t kReplayMaxFrames = 8u << 20;
constexpr uint32_t kReplayMaxPresses = 4u << 20;
constexpr long long kReplayMaxFileBytes = 256ll << 20;
constexpr int kReplayMaxFramePresses = 16;   // per player and frame, as the judgement takes them
// A press more than this far from its frame's clock is no press anyone made.
constexpr int64_t kReplayPressReachMs = 60000;

enum ReplayEnd : uint8_t {
  REPLAY_END_MUSIC = 0,    // the music played to its end
  REPLAY_END_GAVE_UP = 1,  // the player gave up
  REPLAY_END_FAILED = 2,   // everyone failed with game over on
};

#pragma pack(push, 1)
struct ReplayPlayerHeader {
  uint8_t active;            // 0: this side did not play; the rest is zero
  uint8_t panels;            // 4, 6 or 8
  int8_t difficulty;         // 0 BASIC .. 3 SMANIAC
  uint8_t level;             // the chart's foot rating
  PlayerOptions options;     // the modifiers, 9 bytes
  uint8_t pad0[3];
  char styleName[20];        // "SINGLE", "DOUBLE", "SOLO", "BATTLE"
  char modifierText[100];    // as the evaluation shows them
  char profile[16];          // the profile's name, empty without one
  int32_t inputOffsetMs;     // the controller's input offset (already in the press times)
  int32_t visualOffsetMs;
  // the outcome, for lists and for keeping the best play
  int64_t scorePoints;
  int32_t dancePoints, maxDancePoints;
  int32_t counts[5];         // PERFECT GREAT GOOD BOO MISS
  int32_t ok, ng, maxCombo;
  uint8_t dead;
  uint8_t pad1[47];
};
static_assert(sizeof(ReplayPlayerHeader) == 256);
static_assert(offsetof(ReplayPlayerHeader, options) == 4 && offsetof(ReplayPlayerHeader, styleName) == 16);
static_assert(offsetof(ReplayPlayerHeader, profile) == 136 && offsetof(ReplayPlayerHeader, scorePoints) == 160);
static_assert(offsetof(ReplayPlayerHeader, counts) == 176 && offsetof(ReplayPlayerHeader, dead) == 208);

struct ReplayHeader {
  char magic[8];             // "TVREPLAY"
  uint32_t version;          // kReplayVersion
  uint32_t headerBytes;      // 1024
  int64_t playedAt;          // seconds since 1970 (UTC) when the play ended
  uint32_t frameCount, pressCount;
  uint32_t bodyBytes, bodyCrc;
  // the chart: "Songs/<group>/<folder>/<chartFile>", and the MD5 of its text
  char group[128], folder[128], chartFile[64];
  char chartMd5[33];
  char title[52];            // as shown, for lists
  uint8_t speedAltered;      // the rate or tempo was changed (the records were not stored)
  uint8_t paused;            // the play was paused
  uint8_t pad0;
  // the rules in force
  uint32_t seed;             // the generator's seed as the chart was loaded (SHUFFLE)
  int32_t stage;             // the stage number (life table)
  uint8_t maxStage;          // settings: Max Stage, 6 unlimited
  uint8_t lifeDifficulty;    // settings: difficulty of the life gauge
  uint8_t comboType;         // settings
  uint8_t gameOver;          // settings
  uint8_t revive;            // settings
  uint8_t autoPlay;          // Auto Play stepped on the notes
  uint8_t rateStep;          // the rate step the play began with, 1..9 (5 normal)
  uint8_t end;               // ReplayEnd
  uint16_t windows[4];       // PERFECT GREAT GOOD BOO (ms)
  int32_t globalGap;         // settings: Global GAP (ms)
  int32_t gapMs;             // the gap in force when the play began (chart's and global)
  double bpmOverride;        // the play keys' tempo as the play began, -1 off
  double startMusicMs;       // music time where the play began
  double endMusicMs;         // the song clock of the last frame
  double wallMs;             // how long the play took on the wall clock
  ReplayPlayerHeader players[2];
};
#pragma pack(pop)
static_assert(sizeof(ReplayHeader) == 1024);
static_assert(offsetof(ReplayHeader, group) == 40 && offsetof(ReplayHeader, chartMd5) == 360);
static_assert(offsetof(ReplayHeader, title) == 393 && offsetof(ReplayHeader, seed) == 448);
static_assert(offsetof(ReplayHeader, windows) == 464 && offsetof(ReplayHeader, bpmOverride) == 480);
static_assert(offsetof(ReplayHeader, wallMs) == 504 && offsetof(ReplayHeader, players) == 512);

struct ReplayPress {
  int64_t ms;        // song clock of the press (input offset taken off)
  int32_t note;      // Auto Play's press: the record it aims at; -1 a player's press
  uint8_t column;
};

// One frame the judgement saw. The gap, tempo and rate are the ones in force in
// that frame (the play keys may change them during a play).
struct ReplayFrame {
  double ms;             // the song clock
  int32_t gapMs;
  double bpmOverride;    // -1 off
  uint8_t rateStep;
  uint16_t held[2];      // bit per column: the panels held
  uint32_t firstPress;   // the frame's presses in Replay::presses, player 1's first
  uint8_t pressCount[2];
};

struct Replay {
  ReplayHeader header{};
  std::vector<ReplayFrame> frames;
  std::vector<ReplayPress> presses;
};

// Header fields set from the game; the counts, body size and CRC are the writer's.
void Replay_InitHeader(ReplayHeader& h);
// The file's bytes: the header, then the body.
std::vector<uint8_t> Replay_Encode(const Replay& r);
// Reads a whole file. False with `error` set (a sentence for the player and the
// log) for a file that is not a replay, is of a later version, is cut short, was
// changed by hand, or holds frames or presses no play could make.
bool Replay_Decode(const uint8_t* data, size_t size, Replay& out, std::string& error);
// Only the header, for lists and for keeping: checked like a whole file's.
bool Replay_DecodeHeader(const uint8_t* data, size_t size, ReplayHeader& out, std::string& error);

bool Replay_Load(const std::string& path, Replay& out, std::string& error);
bool Replay_LoadHeader(const std::string& path, ReplayHeader& out, std::string& error);
// Written safely; false with a log line.
bool Replay_Save(const std::string& path, const Replay& r);
// A header and its body as one file's bytes (the header's sizes and check already set).
std::vector<uint8_t> Replay_Join(const void* header, size_t headerBytes, const std::vector<uint8_t>& body);
// The bytes of a replay file written safely, its folder made; false with a log line.
bool Replay_WriteFile(const std::string& path, const std::vector<uint8_t>& bytes);

// The MD5 of a chart file's text; empty when it cannot be read.
std::string Replay_ChartMd5(const std::string& chartPath);
// "Replays/20261209-081502-123.tvr" for a play ended at `unixSeconds`, made
// unique against the files already there.
std::string Replay_NewPath(int64_t unixSeconds, int millis);

uint32_t Crc32(const void* data, size_t size);
