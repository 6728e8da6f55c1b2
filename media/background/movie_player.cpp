#include "media/background/movie_player.h"
#include "media/background/movie_decoder.h"
#include "media/render/alpha_table.h"
#include "platform/locks.h"
#include "platform/log.h"
#include <algorithm>
#include <chrono>
#include <cstring>
#include <mutex>
#include <strings.h>

struct MoviePlayer::Decoder : MovieDecoder {
  int64_t loopMs = 0;    // the length the movie loops at; shortened when the file ends early
  bool copied = false;   // the frame picture holds `pixels`
};

namespace {
// Movies larger than this are refused: decoding them on the worker could not
// keep up with the song, and a frame picture of that size is no use on a
// 640 x 480 screen.
constexpr int32_t kMaxMovieSide = 4096;
// The frame picture's largest side; a bigger frame is scaled down to it, as a
// texture limit would.
constexpr int32_t kMaxFrameSide = 2048;
// Times this far past the frame reached seek instead of decoding every frame
// in between.
constexpr int64_t kSeekAheadMs = 1000;
}  // namespace

MoviePlayer::~MoviePlayer() { Close(); }

bool MoviePlayer::Open(const char* path, int quality, bool alphaPicture) {
  Close();
  decoder_ = new Decoder;
  int64_t length = 0;
  if (!MovieDecoder_Open(*decoder_, path, &movieWidth, &movieHeight, &length)) {
    Close();
    return false;
  }
  if (movieWidth > kMaxMovieSide || movieHeight > kMaxMovieSide) {
    WriteLogf("Movie '%s': %d x %d is too large (at most %d x %d)\n", decoder_->name, movieWidth, movieHeight,
              kMaxMovieSide, kMaxMovieSide);
    Close();
    return false;
  }
  int32_t w = 0, h = 0;
  Movie_FrameSize(movieWidth, movieHeight, quality, &w, &h);
  if (w > kMaxFrameSide || h > kMaxFrameSide) {
    const double f = std::min((double)kMaxFrameSide / w, (double)kMaxFrameSide / h);
    w = std::max(8, (int32_t)(w * f));
    h = std::max(8, (int32_t)(h * f));
  }
  {
    std::lock_guard<std::timed_mutex> hold(g_movieLock);
    if (!frame.Create(w, h, alphaPicture ? IMAGE_ARGB : IMAGE_RGB)) {
      WriteLogf("Movie '%s': cannot make a frame picture of %d x %d\n", decoder_->name, w, h);
      Close();
      return false;
    }
    // Opaque black until the first frame lands; a picture with alpha keeps its
    // saved alpha at 255 so that a later fade works on opaque pixels.
    std::fill(frame.pixels, frame.pixels + (size_t)frame.surfaceWidth * frame.surfaceHeight, 0xFF000000u);
    if (frame.savedAlpha) memset(frame.savedAlpha, 255, (size_t)frame.surfaceWidth * frame.surfaceHeight);
    frame.SetAlpha(255);
  }
  frameWidth = std::min(w, frame.pictureWidth);
  frameHeight = std::min(h, frame.pictureHeight);
  stepX = (uint32_t)(((int64_t)movieWidth << 8) / frameWidth);
  stepY = (uint32_t)(((int64_t)movieHeight << 8) / frameHeight);
  lengthMs = (int32_t)length;
  decoder_->loopMs = length;
  MovieDecoder_SetOutput(*decoder_, frameWidth, frameHeight);
  open = true;
  nextFrameMs = 0;
  // A file whose first frame cannot be decoded is no movie to us.
  if (!Frame(0, true)) {
    WriteLogf("Movie '%s': no picture could be decoded\n", decoder_->name);
    Close();
    return false;
  }
  return true;
}

bool MoviePlayer::Frame(int64_t timeMs, bool wait) {
  if (!open || !decoder_) return false;
  Decoder& d = *decoder_;
  const int64_t loop = d.loopMs;
  // A movie of unknown or zero length shows its first frame.
  const int64_t t = loop > 0 ? ((timeMs % loop) + loop) % loop : 0;

  if (d.haveLatest && (t < d.latestStartMs || (t >= d.latestEndMs + kSeekAheadMs && !d.ended)))
    MovieDecoder_Seek(d, t);
  else if (!d.haveLatest && t >= kSeekAheadMs)
    MovieDecoder_Seek(d, t);
  if (!MovieDecoder_Reach(d, t)) return false;
  // The frame reached covers this time, even when it starts a little later
  // (a seek that landed after it, or a stream starting late): without this,
  // every later call before its start would seek again.
  if (d.latestStartMs > t) d.latestStartMs = t;
  if (!d.converted) d.copied = false;  // a new frame was reached
  // A file that ends before its stated length loops at its last frame.
  if (d.ended && d.latestEndMs < d.loopMs) d.loopMs = std::max<int64_t>(d.latestEndMs, 1);

  int64_t due = (d.loopMs > 0 ? std::min(d.latestEndMs, d.loopMs) : t + 1000) - t;
  if (d.ended && d.latestEndMs <= t) due = d.loopMs > t ? d.loopMs - t : d.frameMs;
  nextFrameMs = timeMs + std::max<int64_t>(due, 1);

  if (d.copied) return true;
  if (!MovieDecoder_Convert(d)) return false;
  // The pixels are ready; the lock is held only for the copy.
  std::unique_lock<std::timed_mutex> hold(g_movieLock, std::defer_lock);
  if (wait) hold.lock();
  else if (!hold.try_lock_for(std::chrono::milliseconds(kLockWaitMs))) return false;  // the next call copies
  if (!frame.pixels) return false;
  const int32_t w = std::min(frameWidth, frame.surfaceWidth), h = std::min(frameHeight, frame.surfaceHeight);
  // Opaque pixels, as any fade already folded into the picture would make them.
  const uint32_t a = (uint32_t)AlphaTable[frame.savedAlpha ? frame.appliedAlpha : 255][255] << 24;
  for (int32_t r = 0; r < h; r++) {
    const uint32_t* src = d.pixels.data() + (size_t)r * d.outWidth;
    uint32_t* dst = frame.pixels + (size_t)r * frame.surfaceWidth;
    for (int32_t c = 0; c < w; c++) dst[c] = (src[c] & 0xFFFFFFu) | a;
  }
  d.copied = true;
  return true;
}

void MoviePlayer::Close() {
  {
    std::lock_guard<std::timed_mutex> hold(g_movieLock);
    frame.Free();
  }
  if (decoder_) {
    MovieDecoder_Close(*decoder_);
    delete decoder_;
    decoder_ = nullptr;
  }
  open = false;
  lengthMs = movieWidth = movieHeight = frameWidth = frameHeight = 0;
  stepX = stepY = 0;
  nextFrameMs = 0;
}

void Movie_FrameSize(int32_t w, int32_t h, int quality, int32_t* frameW, int32_t* frameH) {
  const int64_t q = std::clamp(quality, 0, 100);
  const int64_t pixels = (int64_t)std::max(w, 0) * std::max(h, 0);
  int64_t scale = q;
  if (pixels <= 1200) scale = 100;  // tiny movies are cheap at full size
  else if (pixels < 76800) scale = std::min<int64_t>(100, q + (75600 - (pixels - 1200)) * (100 - q) / 75600);
  *frameW = (int32_t)std::max<int64_t>(8, (int64_t)std::max(w, 0) * scale / 100);
  *frameH = (int32_t)std::max<int64_t>(8, (int64_t)std::max(h, 0) * scale / 100);
}

// The endings FFmpeg reads that people keep movies in: AVI and MPEG from the old
// days, MP4/M4V/MOV, Matroska and WebM, Ogg video, Windows Media and Flash video.
bool Movie_IsMovieFile(const char* name) {
  static const char* const kEndings[] = {".avi", ".mpg", ".mpeg", ".mp4", ".m4v", ".mkv",
                                         ".webm", ".ogv", ".mov", ".wmv", ".flv"};
  if (!name) return false;
  const size_t n = strlen(name);
  for (const char* e : kEndings) {
    const size_t k = strlen(e);
    if (n > k && strcasecmp(name + n - k, e) == 0) return true;
  }
  return false;
}

void Movie_Init() { MovieDecoder_QuietLibrary(); }
void Movie_Shutdown() {}
