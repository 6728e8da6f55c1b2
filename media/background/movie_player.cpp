// Placeholder until the FFmpeg decoder lands: every movie fails to open.
#include "media/background/movie_player.h"
#include <algorithm>
#include <cstring>
#include <strings.h>

MoviePlayer::~MoviePlayer() { Close(); }
bool MoviePlayer::Open(const char*, int, bool) { return false; }
bool MoviePlayer::Frame(int64_t, bool) { return false; }
void MoviePlayer::Close() { open = false; }
void Movie_FrameSize(int32_t w, int32_t h, int, int32_t* fw, int32_t* fh) {
  *fw = std::max(8, w);
  *fh = std::max(8, h);
}
bool Movie_IsMovieFile(const char* name) {
  size_t n = strlen(name);
  return n > 4 && strcasecmp(name + n - 4, ".avi") == 0;
}
void Movie_Init() {}
void Movie_Shutdown() {}
