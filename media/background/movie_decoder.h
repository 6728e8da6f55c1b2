#pragma once
// The FFmpeg side of a movie background: one video stream read forward frame by
// frame, with a seek for going back, and the reached frame converted to 32-bit
// BGRA words (0xAARRGGBB in memory) at the frame picture's size.
//
// Times are in ms from the start of the stream. Everything here runs on one
// thread at a time and touches nothing shared: the player copies `pixels` into
// its frame picture under g_movieLock.
#include <cstdint>
#include <vector>

struct AVFormatContext;
struct AVCodecContext;
struct AVPacket;
struct AVFrame;
struct SwsContext;

struct MovieDecoder {
  AVFormatContext* format = nullptr;
  AVCodecContext* codec = nullptr;
  AVPacket* packet = nullptr;
  AVFrame* latest = nullptr;     // the last frame the decoder gave
  AVFrame* scratch = nullptr;
  SwsContext* sws = nullptr;
  int stream = -1;
  double msPerTick = 0;          // the stream's time base in ms
  int64_t startTicks = 0;        // the stream's first time stamp
  int64_t frameMs = 40;          // nominal frame length, for frames without one
  char name[256] = {};           // for log lines

  bool haveLatest = false;
  int64_t latestStartMs = 0, latestEndMs = 0;
  bool draining = false;         // the demuxer is done; the decoder gives what it holds
  bool ended = false;            // no frame after `latest`
  bool seekable = true;
  bool loggedConvert = false;

  int32_t outWidth = 0, outHeight = 0;
  std::vector<uint32_t> pixels;  // `latest` converted, outWidth x outHeight
  bool converted = false;        // pixels hold `latest`
};

// Opens the file and the decoder of its first video stream (among the first
// five). Gives the decoded size and the length (0 when unknown). Logs and
// returns false on failure; MovieDecoder_Close cleans up either way.
bool MovieDecoder_Open(MovieDecoder& d, const char* path, int32_t* width, int32_t* height, int64_t* lengthMs);
// Sets the size frames are converted to.
bool MovieDecoder_SetOutput(MovieDecoder& d, int32_t width, int32_t height);
// Goes back (or far ahead) to the key frame at or before `ms`.
bool MovieDecoder_Seek(MovieDecoder& d, int64_t ms);
// Decodes forward until `latest` is the frame shown at `ms`, or the stream ends
// (then `latest` is its last frame). False when no frame is at hand.
bool MovieDecoder_Reach(MovieDecoder& d, int64_t ms);
// Converts `latest` into `pixels` unless it is already there.
bool MovieDecoder_Convert(MovieDecoder& d);
void MovieDecoder_Close(MovieDecoder& d);

// Quiets FFmpeg's own messages (a damaged file would flood the console).
void MovieDecoder_QuietLibrary();
