#pragma once
// The replay of a nonstop course: its songs' replays in the order they were
// played, each with the lives its entry gave after it, under a header of the
// course's own. A course's songs run on from one another (score, combo, life,
// lives), so they are only ever watched together, from the first. Kept under
// "Replays/" with the songs' replays, in the same ".tvr" files told apart by
// their first eight bytes; docs/replay-format.md describes the layout.
#include "library/replay_file.h"
#include <cstdint>
#include <string>
#include <vector>

constexpr char kCourseReplayMagic[8] = {'T', 'V', 'C', 'O', 'U', 'R', 'S', 'E'};
constexpr uint32_t kCourseReplayVersion = 1;
constexpr uint32_t kCourseReplayMaxSongs = 1000;

#pragma pack(push, 1)
struct CourseReplayPlayer {
  uint8_t active;
  uint8_t panels;
  uint8_t pad0[2];
  char styleName[20];
  char profile[16];          // empty without one
  int64_t scorePoints;       // the course's
  int32_t dancePoints, maxDancePoints;
  uint8_t pad1[8];
};
static_assert(sizeof(CourseReplayPlayer) == 64);
static_assert(offsetof(CourseReplayPlayer, profile) == 24 && offsetof(CourseReplayPlayer, scorePoints) == 40);

struct CourseReplayHeader {
  char magic[8];             // "TVCOURSE"
  uint32_t version;          // kCourseReplayVersion
  uint32_t headerBytes;      // 512
  int64_t playedAt;          // seconds since 1970 (UTC) when the course ended
  uint32_t songCount;
  uint32_t bodyBytes, bodyCrc;
  uint8_t autoPlay;          // Auto Play stepped in some song: nobody's best
  uint8_t pad0[3];
  char courseName[64];       // "#COURSE:" of the course file
  char courseFolder[64];     // its folder under "Courses"
  char courseFile[64];       // its file name without ".crs"
  uint8_t hasLives, comboMode, comboPerfect, repeat;
  int32_t lives;
  int32_t length;            // songs of a course that does not repeat, 0 for one that does
  uint8_t pad1[52];
  CourseReplayPlayer players[2];
  uint8_t pad2[88];
};
#pragma pack(pop)
static_assert(sizeof(CourseReplayHeader) == 512);
static_assert(offsetof(CourseReplayHeader, courseName) == 40 && offsetof(CourseReplayHeader, hasLives) == 232);
static_assert(offsetof(CourseReplayHeader, players) == 296);

struct CourseReplay {
  CourseReplayHeader header{};
  std::vector<Replay> songs;
  // per song: the award of its entry whose lives were given after it (battery
  // courses, while the course went on), -1 when none were given
  std::vector<int16_t> awards;
};

void CourseReplay_InitHeader(CourseReplayHeader& h);
// The header, then per song: i16 award, u32 size, the song's replay as its own file.
std::vector<uint8_t> CourseReplay_Encode(const CourseReplay& r);
// False with `error` set, as Replay_Decode; a song that is damaged refuses the whole.
bool CourseReplay_Decode(const uint8_t* data, size_t size, CourseReplay& out, std::string& error);
bool CourseReplay_DecodeHeader(const uint8_t* data, size_t size, CourseReplayHeader& out, std::string& error);
bool CourseReplay_Load(const std::string& path, CourseReplay& out, std::string& error);
bool CourseReplay_Save(const std::string& path, const CourseReplay& r);
// Whether the bytes begin as a course's replay.
bool CourseReplay_Is(const uint8_t* data, size_t size);
