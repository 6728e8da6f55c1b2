#include "library/replay_course.h"
#include "platform/files.h"
#include "platform/log.h"
#include <cstring>

namespace {
bool terminated(const char* s, size_t n) { return memchr(s, 0, n) != nullptr; }

bool checkHeader(const CourseReplayHeader& h, std::string& error) {
  if (memcmp(h.magic, kCourseReplayMagic, sizeof h.magic) != 0) return error = "it is not a replay", false;
  if (h.version > kCourseReplayVersion) {
    error = "it was written by a later version of the game (replay version " + std::to_string(h.version) + ")";
    return false;
  }
  if (h.version == 0 || h.headerBytes != sizeof(CourseReplayHeader)) return error = "its header is damaged", false;
  if (h.songCount == 0 || h.songCount > kCourseReplayMaxSongs)
    return error = "it holds more songs than any course plays", false;
  if (!terminated(h.courseName, sizeof h.courseName) || !terminated(h.courseFolder, sizeof h.courseFolder) ||
      !terminated(h.courseFile, sizeof h.courseFile))
    return error = "its header is damaged", false;
  int active = 0;
  for (const CourseReplayPlayer& p : h.players) {
    if (!p.active) continue;
    active++;
    if ((p.panels != 4 && p.panels != 6 && p.panels != 8) || !terminated(p.styleName, sizeof p.styleName) ||
        !terminated(p.profile, sizeof p.profile))
      return error = "its header holds values no play has", false;
  }
  if (!active) return error = "nobody plays in it", false;
  return true;
}
}  // namespace

bool CourseReplay_Is(const uint8_t* data, size_t size) {
  return size >= sizeof kCourseReplayMagic && memcmp(data, kCourseReplayMagic, sizeof kCourseReplayMagic) == 0;
}

void CourseReplay_InitHeader(CourseReplayHeader& h) {
  memset(&h, 0, sizeof h);
  memcpy(h.magic, kCourseReplayMagic, sizeof h.magic);
  h.version = kCourseReplayVersion;
  h.headerBytes = sizeof(CourseReplayHeader);
}

std::vector<uint8_t> CourseReplay_Encode(const CourseReplay& r) {
  std::vector<uint8_t> body;
  for (size_t i = 0; i < r.songs.size(); i++) {
    std::vector<uint8_t> song = Replay_Encode(r.songs[i]);
    int16_t award = i < r.awards.size() ? r.awards[i] : -1;
    uint32_t size = (uint32_t)song.size();
    uint8_t head[6];
    memcpy(head, &award, 2);
    memcpy(head + 2, &size, 4);
    body.insert(body.end(), head, head + sizeof head);
    body.insert(body.end(), song.begin(), song.end());
  }
  CourseReplayHeader h = r.header;
  h.songCount = (uint32_t)r.songs.size();
  h.bodyBytes = (uint32_t)body.size();
  h.bodyCrc = Crc32(body.data(), body.size());
  return Replay_Join(&h, sizeof h, body);
}

bool CourseReplay_DecodeHeader(const uint8_t* data, size_t size, CourseReplayHeader& out, std::string& error) {
  if (size < sizeof(CourseReplayHeader)) {
    error = CourseReplay_Is(data, size) ? "it is cut short" : "it is not a replay";
    return false;
  }
  memcpy(&out, data, sizeof out);
  return checkHeader(out, error);
}

bool CourseReplay_Decode(const uint8_t* data, size_t size, CourseReplay& out, std::string& error) {
  out = CourseReplay{};
  CourseReplay r;
  if (!CourseReplay_DecodeHeader(data, size, r.header, error)) return false;
  const CourseReplayHeader& h = r.header;
  if (size - sizeof h < h.bodyBytes) return error = "it is cut short", false;
  const uint8_t* p = data + sizeof h;
  if (Crc32(p, h.bodyBytes) != h.bodyCrc) return error = "it was changed since it was written (its check fails)", false;
  size_t left = h.bodyBytes;
  for (uint32_t i = 0; i < h.songCount; i++) {
    uint32_t songBytes = 0;
    int16_t award = -1;
    if (left < 6) return error = "it is cut short", false;
    memcpy(&award, p, 2);
    memcpy(&songBytes, p + 2, 4);
    if (award < -1 || award > 255) return error = "a song's lives are damaged", false;
    r.awards.push_back(award);
    p += 6;
    left -= 6;
    if (songBytes > left) return error = "it is cut short", false;
    Replay song;
    std::string why;
    if (!Replay_Decode(p, songBytes, song, why)) return error = "song " + std::to_string(i + 1) + ": " + why, false;
    for (int pi = 0; pi < 2; pi++)
      if ((song.header.players[pi].active != 0) != (h.players[pi].active != 0))
        return error = "its songs are not played by its players", false;
    r.songs.push_back(std::move(song));
    p += songBytes;
    left -= songBytes;
  }
  if (left != 0) return error = "its body does not match its header", false;
  out = std::move(r);
  return true;
}

bool CourseReplay_Load(const std::string& path, CourseReplay& out, std::string& error) {
  long long size = File_Size(path);
  if (size < 0) return error = "the file is not there", false;
  if (size > kReplayMaxFileBytes) return error = "the file is far larger than any replay", false;
  std::vector<uint8_t> data;
  if (!File_ReadAll(path, data)) return error = "the file cannot be read", false;
  return CourseReplay_Decode(data.data(), data.size(), out, error);
}

bool CourseReplay_Save(const std::string& path, const CourseReplay& r) {
  return Replay_WriteFile(path, CourseReplay_Encode(r));
}
