// The output device: SDL audio (the SDL 1.2 interface over SDL 2), opened with a
// buffer of about 10 ms, and the library's start-up and shut-down.
//
// SDL functions that wait for the device thread (pause, close) are never called
// with g_audio.lock held: the callback takes that lock to mix.
#include "platform/log.h"
#include "media/audio/audio_state.h"
#include <SDL.h>
#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstring>

namespace {
void onAudio(void*, Uint8* buffer, int bytes) { Mixer_Render(buffer, bytes); }

// A power of two near 10 ms (SDL's buffers must be powers of two here).
uint16_t bufferFramesFor(uint32_t rate) {
  uint32_t want = rate / 100, n = 64;
  while (n * 2 <= 4096 && std::abs((int)(n * 2) - (int)want) <= std::abs((int)n - (int)want)) n *= 2;
  return (uint16_t)n;
}

bool startSdlAudio() {
  AudioState& a = g_audio;
  if (a.sdlUp || SDL_WasInit(SDL_INIT_AUDIO)) {
    if (!a.driver[0]) SDL_AudioDriverName(a.driver, sizeof a.driver);
    return true;
  }
  if (SDL_InitSubSystem(SDL_INIT_AUDIO) < 0) {
    WriteLogf("Audio: SDL audio cannot start (%s)\n", SDL_GetError());
    return false;
  }
  a.sdlUp = true;
  if (!SDL_AudioDriverName(a.driver, sizeof a.driver)) snprintf(a.driver, sizeof a.driver, "unknown");
  return true;
}

// Drivers that only pretend to play use up each buffer as it is handed over;
// a real device still holds about one buffer when it asks for the next.
bool drainsAtOnce(const char* driver) { return !strcmp(driver, "dummy") || !strcmp(driver, "disk"); }

void haltOutput() {
  SDL_PauseAudio(1);
  std::lock_guard<std::mutex> lk(g_audio.lock);
  g_audio.running = false;
  MusicClock_Halt(g_audio.clock, (double)g_audio.handed);
}
}

uint32_t Audio_GetVersion() { return AUDIO_VERSION; }

const char* Audio_GetDeviceDescription(int device) {
  if (device != 0) return nullptr;
  if (!startSdlAudio()) return nullptr;
  AudioState& a = g_audio;
  snprintf(a.deviceName, sizeof a.deviceName, "Default output (SDL %.31s driver)", a.driver);
  return a.deviceName;
}

bool Audio_Init(int device, uint32_t rate, uint32_t flags, void* window) {
  (void)window;
  AudioState& a = g_audio;
  if (a.open) {
    WriteLog("Audio_Init: the device is already open\n");
    return false;
  }
  if (device < -1 || device > 0) {
    WriteLogf("Audio_Init: there is no sound device %d\n", device);
    return false;
  }
  if (rate < 8000 || rate > 96000) {
    WriteLogf("Audio_Init: %u Hz is no usable rate\n", rate);
    return false;
  }
  if (!startSdlAudio()) return false;
  SDL_AudioSpec want{}, have{};
  want.freq = (int)rate;
  want.format = (flags & AUDIO_DEVICE_8BITS) ? AUDIO_U8 : AUDIO_S16SYS;
  want.channels = (flags & AUDIO_DEVICE_MONO) ? 1 : 2;
  want.samples = bufferFramesFor(rate);
  want.callback = onAudio;
  if (SDL_OpenAudio(&want, &have) < 0) {
    WriteLogf("Audio_Init: the device cannot open (%s)\n", SDL_GetError());
    return false;
  }
  bool usable = (have.format == AUDIO_U8 || have.format == AUDIO_S16SYS) &&
                (have.channels == 1 || have.channels == 2) && have.freq > 0 && have.samples > 0;
  if (!usable) {
    // Let SDL convert to exactly what was asked for.
    SDL_CloseAudio();
    if (SDL_OpenAudio(&want, nullptr) < 0) {
      WriteLogf("Audio_Init: the device cannot open (%s)\n", SDL_GetError());
      return false;
    }
    have = want;
  }
  {
    std::lock_guard<std::mutex> lk(a.lock);
    a.initFlags = flags;
    a.rate = (uint32_t)have.freq;
    a.outChannels = have.channels;
    a.outBits = have.format == AUDIO_U8 ? 8 : 16;
    a.bufferFrames = have.samples;
    a.queuedFrames = drainsAtOnce(a.driver) ? 0 : have.samples;
    // from starting a channel to hearing it: up to one buffer until it is mixed,
    // then what the device still holds ahead of it
    double ms = 1000.0 * (a.bufferFrames + a.queuedFrames) / a.rate;
    a.latencyMs = (flags & AUDIO_DEVICE_LATENCY) ? (uint32_t)std::ceil(ms) : 0;
    a.handed = 0;
    a.noteCount = 0;
    a.mixSeconds = 0;
    a.volume = 100;
    a.mix.assign((size_t)a.bufferFrames * 2 * 2, 0.0f);
    MusicClock_Reset(a.clock, a.rate, (double)a.bufferFrames / a.rate);
    a.open = true;
    a.running = false;
  }
  Decoder_Start();
  WriteLogf("Audio: %s, %u Hz, %d-bit %s, buffer %u frames, latency %.1f ms\n", a.deviceName[0] ? a.deviceName : a.driver,
            a.rate, a.outBits, a.outChannels == 1 ? "mono" : "stereo", a.bufferFrames,
            1000.0 * (a.bufferFrames + a.queuedFrames) / a.rate);
  return true;
}

bool Audio_GetInfo(AudioInfo* info) {
  if (!info || info->size != sizeof(AudioInfo)) return false;
  AudioState& a = g_audio;
  std::lock_guard<std::mutex> lk(a.lock);
  if (!a.open) return false;
  SDL_version v;
  SDL_VERSION(&v);
  memset(info, 0, sizeof *info);
  info->size = sizeof(AudioInfo);
  info->flags = (a.outChannels == 1 ? AUDIO_DEVICE_MONO : 0) | (a.outBits == 8 ? AUDIO_DEVICE_8BITS : 0);
  info->minRate = info->maxRate = a.rate;
  info->driverVersion = v.major * 100u + v.minor * 10u + v.patch;
  info->latency = a.latencyMs;
  return true;
}

bool Audio_Start() {
  AudioState& a = g_audio;
  {
    std::lock_guard<std::mutex> lk(a.lock);
    if (!a.open) return false;
    a.running = true;
  }
  SDL_PauseAudio(0);
  return true;
}

bool Audio_Pause() {
  if (!g_audio.open) return false;
  haltOutput();
  return true;
}

bool Audio_Stop() {
  AudioState& a = g_audio;
  if (!a.open) return false;
  haltOutput();
  int autofree[kMaxStreams];
  uint32_t autofreeHandle[kMaxStreams];
  int n = 0;
  {
    std::lock_guard<std::mutex> lk(a.lock);
    for (int i = 0; i < kMaxStreams; i++) {
      Stream& s = a.streams[i];
      if (!s.handle || !s.v.playing) continue;
      Stream_StopLocked(s);
      if (s.flags & AUDIO_STREAM_AUTOFREE) {
        autofree[n] = i;
        autofreeHandle[n++] = s.handle;
      }
    }
    for (Play& p : a.plays) p.handle = 0;
  }
  for (int k = 0; k < n; k++) Stream_Destroy(autofree[k], autofreeHandle[k]);
  return true;
}

bool Audio_Free() {
  AudioState& a = g_audio;
  bool wasOpen = a.open;
  if (wasOpen) {
    SDL_PauseAudio(1);
    SDL_CloseAudio();
  }
  Decoder_Stop();
  Streams_FreeAll();
  Samples_FreeAll();
  {
    std::lock_guard<std::mutex> lk(a.lock);
    for (Play& p : a.plays) p.handle = 0;
    a.open = false;
    a.running = false;
  }
  if (a.sdlUp) {
    SDL_QuitSubSystem(SDL_INIT_AUDIO);
    a.sdlUp = false;
  }
  a.driver[0] = 0;
  if (wasOpen) WriteLog("Audio: device closed\n");
  return wasOpen;
}

bool Audio_SetVolume(uint32_t volume) {
  AudioState& a = g_audio;
  std::lock_guard<std::mutex> lk(a.lock);
  if (!a.open || volume > 100) return false;
  a.volume = volume;
  return true;
}
