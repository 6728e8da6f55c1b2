// The decoder thread: keeps every stream's ring decoded well ahead of the mix,
// the emptiest first, and frees self-freeing streams that have played out. The
// device callback never waits for it; a stream it falls behind on goes quiet
// (stalled) instead of glitching the others.
#include "media/audio/audio_state.h"
#include <chrono>

namespace {
constexpr double kAheadSeconds = 1.5;

void decoderLoop() {
  AudioState& a = g_audio;
  while (!a.quit.load()) {
    int pick = -1;
    uint32_t pickHandle = 0;
    double bestAhead = 1e30;
    int dead[kMaxStreams];
    uint32_t deadHandle[kMaxStreams];
    int deadCount = 0;
    {
      std::lock_guard<std::mutex> lk(a.lock);
      for (int i = 0; i < kMaxStreams; i++) {
        Stream& s = a.streams[i];
        if (!s.handle) continue;
        if ((s.flags & AUDIO_STREAM_AUTOFREE) && s.v.playing && s.v.drained) {
          dead[deadCount] = i;
          deadHandle[deadCount++] = s.handle;
          continue;
        }
        bool restart = s.restartAt >= 0;
        double ahead = ((double)s.ringEnd - s.v.pos) / a.rate;
        if (!restart && (s.decodedAll || ahead >= kAheadSeconds)) continue;
        if (restart) ahead = -1;
        if (s.v.playing) ahead -= 10;   // playing streams before pre-buffering ones
        if (ahead < bestAhead) {
          bestAhead = ahead;
          pick = i;
          pickHandle = s.handle;
        }
      }
    }
    for (int k = 0; k < deadCount; k++) Stream_Destroy(dead[k], deadHandle[k]);
    bool worked = false;
    if (pick >= 0) {
      Stream& s = a.streams[pick];
      std::lock_guard<std::mutex> dl(s.decodeMutex);
      worked = Stream_Service(s, pickHandle, 4);
    }
    if (worked) continue;
    std::unique_lock<std::mutex> wl(a.wakeLock);
    a.wake.wait_for(wl, std::chrono::milliseconds(5), [&] { return a.wakeFlag || a.quit.load(); });
    a.wakeFlag = false;
  }
}
}

void Decoder_Start() {
  AudioState& a = g_audio;
  if (a.decoder.joinable()) return;
  a.quit = false;
  a.decoder = std::thread(decoderLoop);
}

void Decoder_Stop() {
  AudioState& a = g_audio;
  if (!a.decoder.joinable()) return;
  {
    std::lock_guard<std::mutex> wl(a.wakeLock);
    a.quit = true;
  }
  a.wake.notify_all();
  a.decoder.join();
}

void Decoder_Wake() {
  AudioState& a = g_audio;
  {
    std::lock_guard<std::mutex> wl(a.wakeLock);
    a.wakeFlag = true;
  }
  a.wake.notify_one();
}
