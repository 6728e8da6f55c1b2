#include "library/replay_file.h"
#include "chart/chart.h"
#include "platform/files.h"
#include "platform/log.h"
#include "platform/md5.h"
#include <algorithm>
#include <bit>
#include <climits>
#include <cmath>
#include <cstdio>
#include <cstring>
#include <ctime>

static_assert(std::endian::native == std::endian::little, "replays are little-endian");

namespace {
// A frame's flags: which parts follow its clock.
constexpr uint8_t kHasPlayer1 = 1, kHasPlayer2 = 2, kHasGap = 4, kHasTempo = 8, kHasRate = 16;
constexpr uint8_t kKnownFlags = 31;
constexpr double kMaxClockMs = 1.0e9;       // some eleven days of music
constexpr int32_t kMaxGapMs = 1000000;
constexpr double kMaxTempo = 100000;

template <typename T>
void put(std::vector<uint8_t>& out, T v) {
  uint8_t b[sizeof(T)];
  memcpy(b, &v, sizeof(T));
  out.insert(out.end(), b, b + sizeof(T));
}

struct Reader {
  const uint8_t* p;
  size_t left;
  template <typename T>
  bool get(T& v) {
    if (left < sizeof(T)) return false;
    memcpy(&v, p, sizeof(T));
    p += sizeof(T);
    left -= sizeof(T);
    return true;
  }
};

bool terminated(const char* s, size_t n) { return memchr(s, 0, n) != nullptr; }

bool tempoOk(double bpm) { return bpm == -1 || (std::isfinite(bpm) && bpm > 0 && bpm <= kMaxTempo); }

bool checkHeader(const ReplayHeader& h, size_t fileSize, std::string& error) {
  if (memcmp(h.magic, kReplayMagic, sizeof h.magic) != 0) return error = "it is not a replay", false;
  if (h.version > kReplayVersion) {
    error = "it was written by a later version of the game (replay version " + std::to_string(h.version) + ")";
    return false;
  }
  if (h.version == 0 || h.headerBytes != sizeof(ReplayHeader)) return error = "its header is damaged", false;
  if (h.frameCount > kReplayMaxFrames || h.pressCount > kReplayMaxPresses)
    return error = "it holds more frames or presses than any play makes", false;
  if (fileSize != (size_t)-1 && fileSize < sizeof(ReplayHeader) + h.bodyBytes)
    return error = "it is cut short", false;
  if (!terminated(h.group, sizeof h.group) || !terminated(h.folder, sizeof h.folder) ||
      !terminated(h.chartFile, sizeof h.chartFile) || !terminated(h.chartMd5, sizeof h.chartMd5) ||
      !terminated(h.title, sizeof h.title))
    return error = "its header is damaged", false;
  if (h.rateStep < 1 || h.rateStep > 9 || h.end > REPLAY_END_FAILED || !tempoOk(h.bpmOverride) ||
      std::abs(h.gapMs) > kMaxGapMs || !std::isfinite(h.startMusicMs) || !std::isfinite(h.endMusicMs) ||
      !std::isfinite(h.wallMs) || h.stage < 0 || h.stage > 1000)
    return error = "its header holds values no play has", false;
  int active = 0;
  for (const ReplayPlayerHeader& p : h.players) {
    if (!p.active) continue;
    active++;
    if ((p.panels != 4 && p.panels != 6 && p.panels != 8) || p.difficulty < 0 || p.difficulty > 3 ||
        !terminated(p.styleName, sizeof p.styleName) || !terminated(p.modifierText, sizeof p.modifierText) ||
        !terminated(p.profile, sizeof p.profile))
      return error = "its header holds values no play has", false;
  }
  if (!active) return error = "nobody plays in it", false;
  return true;
}
}  // namespace

uint32_t Crc32(const void* data, size_t size) {
  static uint32_t table[256];
  static bool made = false;
  if (!made) {
    for (uint32_t i = 0; i < 256; i++) {
      uint32_t c = i;
      for (int k = 0; k < 8; k++) c = c & 1 ? 0xEDB88320u ^ (c >> 1) : c >> 1;
      table[i] = c;
    }
    made = true;
  }
  uint32_t c = 0xFFFFFFFFu;
  const uint8_t* p = (const uint8_t*)data;
  for (size_t i = 0; i < size; i++) c = table[(c ^ p[i]) & 0xFF] ^ (c >> 8);
  return c ^ 0xFFFFFFFFu;
}

void Replay_InitHeader(ReplayHeader& h) {
  memset(&h, 0, sizeof h);
  memcpy(h.magic, kReplayMagic, sizeof h.magic);
  h.version = kReplayVersion;
  h.headerBytes = sizeof(ReplayHeader);
  h.rateStep = 5;
  h.bpmOverride = -1;
}

std::vector<uint8_t> Replay_Encode(const Replay& r) {
  std::vector<uint8_t> body;
  body.reserve(r.frames.size() * 12 + r.presses.size() * 9);
  int32_t gap = r.header.gapMs;
  double bpm = r.header.bpmOverride;
  uint8_t rate = r.header.rateStep;
  uint16_t held[2] = {0, 0};
  for (const ReplayFrame& f : r.frames) {
    uint8_t flags = 0;
    for (int pi = 0; pi < 2; pi++)
      if (f.pressCount[pi] || f.held[pi] != held[pi]) flags |= pi ? kHasPlayer2 : kHasPlayer1;
    if (f.gapMs != gap) flags |= kHasGap;
    if (f.bpmOverride != bpm) flags |= kHasTempo;
    if (f.rateStep != rate) flags |= kHasRate;
    put(body, f.ms);
    put(body, flags);
    if (flags & kHasGap) put(body, gap = f.gapMs);
    if (flags & kHasTempo) put(body, bpm = f.bpmOverride);
    if (flags & kHasRate) put(body, rate = f.rateStep);
    // a clock no play has is written as it is (a reader refuses it); the presses
    // are measured from the nearest clock a reader would take, without overflow
    double clock = std::isfinite(f.ms) ? std::clamp(f.ms, -kMaxClockMs, kMaxClockMs) : 0.0;
    int64_t base = (int64_t)std::floor(clock);
    uint32_t at = f.firstPress;
    for (int pi = 0; pi < 2; pi++) {
      if (!(flags & (pi ? kHasPlayer2 : kHasPlayer1))) continue;
      put(body, held[pi] = f.held[pi]);
      put(body, f.pressCount[pi]);
      for (int k = 0; k < f.pressCount[pi]; k++, at++) {
        const ReplayPress& pr = r.presses[at];
        double delta = std::clamp((double)pr.ms - (double)base, (double)INT32_MIN, (double)INT32_MAX);
        put(body, (int32_t)delta);
        put(body, pr.note);
        put(body, pr.column);
      }
    }
  }
  ReplayHeader h = r.header;
  h.frameCount = (uint32_t)r.frames.size();
  h.pressCount = (uint32_t)r.presses.size();
  h.bodyBytes = (uint32_t)body.size();
  h.bodyCrc = Crc32(body.data(), body.size());
  return Replay_Join(&h, sizeof h, body);
}

std::vector<uint8_t> Replay_Join(const void* header, size_t headerBytes, const std::vector<uint8_t>& body) {
  std::vector<uint8_t> out(headerBytes + body.size());
  memcpy(out.data(), header, headerBytes);
  if (!body.empty()) memcpy(out.data() + headerBytes, body.data(), body.size());
  return out;
}

bool Replay_DecodeHeader(const uint8_t* data, size_t size, ReplayHeader& out, std::string& error) {
  if (size < sizeof(ReplayHeader)) {
    error = size >= sizeof kReplayMagic && memcmp(data, kReplayMagic, sizeof kReplayMagic) == 0
                ? "it is cut short"
                : "it is not a replay";
    return false;
  }
  memcpy(&out, data, sizeof out);
  return checkHeader(out, (size_t)-1, error);
}

namespace {
bool decodeAll(const uint8_t* data, size_t size, Replay& out, std::string& error) {
  if (!Replay_DecodeHeader(data, size, out.header, error)) return false;
  const ReplayHeader& h = out.header;
  if (!checkHeader(h, size, error)) return false;
  const uint8_t* body = data + sizeof(ReplayHeader);
  if (Crc32(body, h.bodyBytes) != h.bodyCrc) return error = "it was changed since it was written (its check fails)", false;
  Reader rd{body, h.bodyBytes};
  int32_t gap = h.gapMs;
  double bpm = h.bpmOverride;
  uint8_t rate = h.rateStep;
  uint16_t held[2] = {0, 0};
  double lastMs = -kMaxClockMs;
  out.frames.reserve(h.frameCount);
  out.presses.reserve(h.pressCount);
  for (uint32_t i = 0; i < h.frameCount; i++) {
    ReplayFrame f{};
    uint8_t flags = 0;
    if (!rd.get(f.ms) || !rd.get(flags)) return error = "it is cut short", false;
    if (!std::isfinite(f.ms) || std::fabs(f.ms) > kMaxClockMs) return error = "a frame has an impossible time", false;
    // the clock may step back a little (the stream's position is read anew each
    // frame, and the gap keys move the music), never by a minute
    if (f.ms < lastMs - kReplayPressReachMs) return error = "its frames are out of order", false;
    lastMs = f.ms;
    if (flags & ~kKnownFlags) return error = "a frame holds what this version does not know", false;
    if ((flags & kHasGap) && (!rd.get(gap) || std::abs(gap) > kMaxGapMs)) return error = "a frame's gap is damaged", false;
    if ((flags & kHasTempo) && (!rd.get(bpm) || !tempoOk(bpm))) return error = "a frame's tempo is damaged", false;
    if ((flags & kHasRate) && (!rd.get(rate) || rate < 1 || rate > 9)) return error = "a frame's rate is damaged", false;
    f.gapMs = gap;
    f.bpmOverride = bpm;
    f.rateStep = rate;
    f.firstPress = (uint32_t)out.presses.size();
    int64_t base = (int64_t)std::floor(f.ms);
    for (int pi = 0; pi < 2; pi++) {
      if (flags & (pi ? kHasPlayer2 : kHasPlayer1)) {
        uint8_t n = 0;
        if (!rd.get(held[pi]) || !rd.get(n)) return error = "it is cut short", false;
        if (!h.players[pi].active) return error = "it holds presses of a player who did not play", false;
        if (n > kReplayMaxFramePresses) return error = "a frame holds more presses than the judgement takes", false;
        if (held[pi] >> kColumnSlots) return error = "a frame holds a panel no style has", false;
        f.pressCount[pi] = n;
        int64_t before = INT64_MIN;
        for (int k = 0; k < n; k++) {
          int32_t delta = 0;
          ReplayPress pr{};
          if (!rd.get(delta) || !rd.get(pr.note) || !rd.get(pr.column)) return error = "it is cut short", false;
          if (std::abs((int64_t)delta) > kReplayPressReachMs)
            return error = "a press lies too far from its frame", false;
          if (pr.column >= kColumnSlots || pr.note < -1) return error = "a press is on a panel no style has", false;
          pr.ms = base + delta;
          if (pr.ms < before) return error = "its presses are out of order", false;
          before = pr.ms;
          if (out.presses.size() >= h.pressCount) return error = "it holds more presses than it says", false;
          out.presses.push_back(pr);
        }
      }
      f.held[pi] = held[pi];
    }
    out.frames.push_back(f);
  }
  if (rd.left != 0 || out.presses.size() != h.pressCount) return error = "its body does not match its header", false;
  return true;
}
}  // namespace

bool Replay_Decode(const uint8_t* data, size_t size, Replay& out, std::string& error) {
  out = Replay{};
  if (decodeAll(data, size, out, error)) return true;
  out = Replay{};   // a refused file leaves nothing half read
  return false;
}

bool Replay_Load(const std::string& path, Replay& out, std::string& error) {
  long long size = File_Size(path);
  if (size < 0) return error = "the file is not there", false;
  if (size > kReplayMaxFileBytes) return error = "the file is far larger than any replay", false;
  std::vector<uint8_t> data;
  if (!File_ReadAll(path, data)) return error = "the file cannot be read", false;
  return Replay_Decode(data.data(), data.size(), out, error);
}

bool Replay_LoadHeader(const std::string& path, ReplayHeader& out, std::string& error) {
  std::vector<uint8_t> data;
  if (!File_ReadUpTo(path, sizeof(ReplayHeader), data)) return error = "the file cannot be read", false;
  if (!Replay_DecodeHeader(data.data(), data.size(), out, error)) return false;
  long long size = File_Size(path);
  if (size < (long long)(sizeof(ReplayHeader) + out.bodyBytes)) return error = "it is cut short", false;
  return true;
}

bool Replay_Save(const std::string& path, const Replay& r) { return Replay_WriteFile(path, Replay_Encode(r)); }

bool Replay_WriteFile(const std::string& path, const std::vector<uint8_t>& bytes) {
  size_t slash = path.find_last_of('/');
  if (slash != std::string::npos) Dir_Create(path.substr(0, slash));
  if (!File_WriteSafely(path, bytes.data(), bytes.size())) {
    WriteLogf("Unable to write the replay '%s'\n", path.c_str());
    return false;
  }
  return true;
}

std::string Replay_ChartMd5(const std::string& chartPath) {
  std::vector<uint8_t> text;
  if (File_Size(chartPath) < 0 || !File_ReadAll(chartPath, text)) return "";
  return Md5_Hex(text.data(), text.size());
}

std::string Replay_NewPath(int64_t unixSeconds, int millis) {
  time_t t = (time_t)unixSeconds;
  struct tm tm {};
  gmtime_r(&t, &tm);
  char stamp[40];
  snprintf(stamp, sizeof stamp, "%04d%02d%02d-%02d%02d%02d-%03d", tm.tm_year + 1900, tm.tm_mon + 1, tm.tm_mday,
           tm.tm_hour, tm.tm_min, tm.tm_sec, millis % 1000);
  // two plays ending in the same millisecond (two games on one folder) get a number
  std::string path = std::string(kReplayFolder) + "/" + stamp + kReplayExtension;
  for (int n = 2; File_Exists(path) && n < 10000; n++)
    path = std::string(kReplayFolder) + "/" + stamp + "-" + std::to_string(n) + kReplayExtension;
  return path;
}
