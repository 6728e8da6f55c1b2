// Replay files from arbitrary bytes, a song's or a course's. Most mutations break the body's check, so
// each input is read twice: as it is, and with its header's body length and
// check made to fit, which lets the frames' reader see the damage. Whatever is
// read must write back to a file that reads back to the same frames and presses.
#include "fuzz/fuzz_support.h"
#include "library/replay_course.h"
#include "library/replay_file.h"
#include <cstring>
#include <vector>

namespace {
void check(bool ok, const char* what) { fuzz::Check(ok, "replay", what); }

void roundTrip(const Replay& r) {
  check(r.header.frameCount == r.frames.size() && r.header.pressCount == r.presses.size(), "counts");
  for (const ReplayFrame& f : r.frames)
    check(f.firstPress + f.pressCount[0] + f.pressCount[1] <= r.presses.size(), "a frame's presses past the end");
  std::vector<uint8_t> bytes = Replay_Encode(r);
  Replay again;
  std::string error;
  check(Replay_Decode(bytes.data(), bytes.size(), again, error), "the written replay is refused");
  check(again.frames.size() == r.frames.size() && again.presses.size() == r.presses.size(), "sizes differ");
  for (size_t i = 0; i < r.frames.size(); i++) {
    const ReplayFrame &a = r.frames[i], &b = again.frames[i];
    check(memcmp(&a.ms, &b.ms, sizeof a.ms) == 0 && a.gapMs == b.gapMs && a.rateStep == b.rateStep &&
              a.held[0] == b.held[0] && a.held[1] == b.held[1] && a.pressCount[0] == b.pressCount[0] &&
              a.pressCount[1] == b.pressCount[1] && a.firstPress == b.firstPress,
          "a frame differs");
  }
  for (size_t i = 0; i < r.presses.size(); i++)
    check(r.presses[i].ms == again.presses[i].ms && r.presses[i].note == again.presses[i].note &&
              r.presses[i].column == again.presses[i].column,
          "a press differs");
}

// A course's replay: whatever is read writes back to a file read the same.
void readCourse(const uint8_t* data, size_t size) {
  CourseReplay c;
  std::string error;
  if (!CourseReplay_Decode(data, size, c, error)) {
    check(!error.empty() && c.songs.empty(), "a refused course without its reason, or with songs");
    return;
  }
  check(c.songs.size() == c.header.songCount && c.awards.size() == c.songs.size(), "a course's counts");
  for (const Replay& s : c.songs) roundTrip(s);
  std::vector<uint8_t> bytes = CourseReplay_Encode(c);
  CourseReplay again;
  check(CourseReplay_Decode(bytes.data(), bytes.size(), again, error), "the written course is refused");
  check(again.songs.size() == c.songs.size() && again.awards == c.awards, "the course read back differs");
}

void readOnce(const uint8_t* data, size_t size) {
  if (CourseReplay_Is(data, size)) return readCourse(data, size);
  Replay r;
  std::string error;
  if (Replay_Decode(data, size, r, error)) {
    roundTrip(r);
  } else {
    check(!error.empty(), "a refusal without its reason");
    check(r.frames.empty() && r.presses.empty(), "a refused file leaves frames behind");
  }
}
}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  readOnce(data, size);
  std::vector<uint8_t> fitted(data, data + size);
  if (CourseReplay_Is(data, size) && size >= sizeof(CourseReplayHeader)) {
    CourseReplayHeader h;
    memcpy(&h, fitted.data(), sizeof h);
    h.bodyBytes = (uint32_t)(size - sizeof h);
    h.bodyCrc = Crc32(fitted.data() + sizeof h, h.bodyBytes);
    memcpy(fitted.data(), &h, sizeof h);
  } else if (size >= sizeof(ReplayHeader)) {
    ReplayHeader h;
    memcpy(&h, fitted.data(), sizeof h);
    h.bodyBytes = (uint32_t)(size - sizeof h);
    h.bodyCrc = Crc32(fitted.data() + sizeof h, h.bodyBytes);
    memcpy(fitted.data(), &h, sizeof h);
  } else {
    return 0;
  }
  readOnce(fitted.data(), fitted.size());
  return 0;
}
