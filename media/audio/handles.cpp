// Handles name a slot of a fixed table and the generation of its occupant, so a
// handle kept after its sound was freed no longer matches and fails harmlessly.
#include "media/audio/audio_state.h"
#include <chrono>

AudioState g_audio;

double Audio_Now() {
  return std::chrono::duration<double>(std::chrono::steady_clock::now().time_since_epoch()).count();
}

uint32_t Handle_Make(HandleKind kind, uint16_t gen, int index) {
  return ((uint32_t)kind << 28) | ((uint32_t)gen << 12) | ((uint32_t)index & 0xFFF);
}

HandleKind Handle_Kind(uint32_t h) { return (HandleKind)(h >> 28); }

namespace {
template <typename T, int N>
T* findIn(T (&table)[N], HandleKind kind, uint32_t h) {
  if (h == 0 || Handle_Kind(h) != kind) return nullptr;
  int i = (int)(h & 0xFFF);
  if (i >= N || table[i].handle != h) return nullptr;
  return &table[i];
}
}

Stream* Stream_Find(uint32_t h) { return findIn(g_audio.streams, HandleKind::Stream, h); }
Sample* Sample_Find(uint32_t h) { return findIn(g_audio.samples, HandleKind::Sample, h); }
Play* Play_Find(uint32_t h) { return findIn(g_audio.plays, HandleKind::Play, h); }

Voice* Voice_Find(uint32_t h, Stream** stream, Play** play) {
  if (stream) *stream = nullptr;
  if (play) *play = nullptr;
  if (Stream* s = Stream_Find(h)) {
    if (stream) *stream = s;
    return &s->v;
  }
  if (Play* p = Play_Find(h)) {
    if (play) *play = p;
    return &p->v;
  }
  return nullptr;
}
