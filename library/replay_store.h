#pragma once
// The "Replays/" folder: listing the replays and keeping it to the number the
// player sets ("replay.keep" in tarvolen.ini, 200 unless set). The best play of
// each chart (song, style and difficulty) and of each course (in each style) per
// profile is always kept, whatever its age; of the rest, the oldest go first. Auto Play's plays are never anyone's
// best. Files that are not replays, or cannot be read, are left alone and do not
// count.
#include "library/replay_course.h"
#include "library/replay_file.h"
#include <string>
#include <vector>

constexpr const char* kReplayKeepKey = "replay.keep";
constexpr int kReplayKeepDefault = 200;
constexpr int kReplayKeepMax = 100000;

struct ReplayListing {
  std::string path;      // "Replays/<name>"
  bool course = false;   // a course's replay: `courseHeader`, else `header`
  ReplayHeader header{};
  CourseReplayHeader courseHeader{};
  int64_t playedAt() const { return course ? courseHeader.playedAt : header.playedAt; }
};

// The setting, within 0..kReplayKeepMax.
int ReplayStore_Keep();
// Every readable replay, oldest first (by the time it was played, then by name).
std::vector<ReplayListing> ReplayStore_List(const std::string& folder = kReplayFolder);
// The replays the rule keeps whatever their age: per chart and profile, the best.
std::vector<bool> ReplayStore_Protected(const std::vector<ReplayListing>& list);
// Removes the oldest unprotected replays until at most `keep` are left. Returns
// how many were removed.
int ReplayStore_Prune(int keep, const std::string& folder = kReplayFolder);
// The best replay of a song on `panels` (4, 6 or 8) for `profile` (empty: plays
// without a profile), at `difficulty` or, with -1, the hardest that has one; an
// empty path when there is none.
std::string ReplayStore_Best(const char* group, const char* folder, int panels, int difficulty, const char* profile);
// The best replay of a course ("Courses/<folder>/<file>.crs") on `panels` for
// `profile`, or an empty path.
std::string ReplayStore_BestCourse(const char* courseFolder, const char* courseFile, int panels, const char* profile);
