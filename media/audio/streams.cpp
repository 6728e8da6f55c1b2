// Music streams: a file decoded ahead into a ring of device-rate frames by the
// decoder thread, mixed from the ring by the device callback.
#include "platform/log.h"
#include "media/audio/audio_state.h"
#include <algorithm>
#include <cmath>

namespace {
constexpr int64_t kRingFrames = 1 << 17;     // about 3 s at 44.1 kHz
constexpr int64_t kHistoryFrames = 16384;    // kept behind the mix for the listener's position and data
constexpr double kAheadSeconds = 1.5;        // decoded ahead of the mix
constexpr int kPrimeFrames = 8192;

int64_t aheadTarget() { return (int64_t)(g_audio.rate * kAheadSeconds); }
}

int64_t Stream_RingIndex(const Stream& s, int64_t fileFrame) {
  return (int64_t)std::llround((double)fileFrame * g_audio.rate / s.baseRate);
}

double Stream_FileFrame(const Stream& s, double ringPos) {
  return ringPos * s.baseRate / g_audio.rate;
}

bool Stream_Service(Stream& s, uint32_t handle, int rounds) {
  AudioState& a = g_audio;
  bool worked = false;
  for (int round = 0; round < rounds; round++) {
    uint32_t gen;
    int64_t restart;
    int64_t space;
    {
      std::lock_guard<std::mutex> lk(a.lock);
      if (s.handle != handle || !s.dec) return worked;
      gen = s.seekGen;
      restart = s.restartAt;
      s.restartAt = -1;
      if (restart < 0 && s.dec->finished) {
        s.decodedAll = true;
        return worked;
      }
      int64_t keepFrom = std::max(s.ringStart, (int64_t)std::floor(s.v.pos) - kHistoryFrames);
      space = kRingFrames - (s.ringEnd - keepFrom);
      if (restart < 0 && s.ringEnd - (int64_t)s.v.pos >= aheadTarget()) return worked;
    }
    if (restart >= 0) StreamDecoder_Seek(*s.dec, restart);
    int maxOut = (int)std::min<int64_t>(space - 2048, 8192);
    if (maxOut <= 0) return worked;
    int n = StreamDecoder_Run(*s.dec, maxOut);
    worked = true;
    std::lock_guard<std::mutex> lk(a.lock);
    if (s.handle != handle) return worked;
    if (s.seekGen != gen) continue;   // a seek came in meanwhile: this data is stale
    int ch = s.channels;
    int64_t mask = kRingFrames - 1;
    const float* in = s.dec->out.data();
    for (int i = 0; i < n; i++) {
      float* o = &s.ring[(size_t)(((s.ringEnd + i) & mask) * ch)];
      for (int c = 0; c < ch; c++) o[c] = in[i * ch + c];
    }
    s.ringEnd += n;
    s.ringStart = std::max(s.ringStart, s.ringEnd - kRingFrames);
    if (s.dec->finished) {
      s.decodedAll = true;
      // what really decodes is the length: a truncated file is shorter than its header says
      if (s.dec->nextFrame > 0 && s.dec->nextFrame != s.lengthFrames) {
        WriteLogf("Audio: '%s' holds %lld frames, not %lld\n", s.dec->file.name.c_str(),
                  (long long)s.dec->nextFrame, (long long)s.lengthFrames);
        s.lengthFrames = s.dec->nextFrame;
      }
      return worked;
    }
  }
  return worked;
}

bool Stream_SeekLocked(Stream& s, int64_t fileFrame) {
  int64_t idx = Stream_RingIndex(s, fileFrame);
  bool wasPlaying = s.v.playing;
  // Within what is decoded (history included) the jump costs nothing.
  if (idx >= s.ringStart + 2 && idx + 2 < s.ringEnd) {
    Voice_Restart(s.v, (double)idx);
    s.v.playing = wasPlaying;
    return false;
  }
  s.seekGen++;
  s.ringStart = s.ringEnd = idx;
  s.decodedAll = false;
  s.restartAt = fileFrame;
  Voice_Restart(s.v, (double)idx);
  s.v.playing = wasPlaying;
  return true;
}

void Stream_Prime(Stream& s, uint32_t handle) {
  std::lock_guard<std::mutex> dl(s.decodeMutex);
  Stream_Service(s, handle, 1);
}

void Stream_StopLocked(Stream& s) {
  if (!s.v.playing) return;
  double heard = Voice_HeardNow(s.v);
  s.v.playing = false;
  if (s.v.rate == s.v.baseRate) heard = std::floor(heard + 1e-6);
  if (heard >= s.ringStart && heard <= s.ringEnd) {
    bool drained = s.v.drained;
    Voice_Restart(s.v, heard);
    s.v.drained = drained && heard >= s.ringEnd;
  } else {
    Stream_SeekLocked(s, (int64_t)Stream_FileFrame(s, heard));
  }
}

void Stream_Destroy(int index, uint32_t handle) {
  AudioState& a = g_audio;
  Stream& s = a.streams[index];
  {
    std::lock_guard<std::mutex> lk(a.lock);
    if (s.handle != handle) return;
    s.handle = 0;
    s.reserved = true;
    s.v.playing = false;
  }
  StreamDecoder* dec;
  {
    std::lock_guard<std::mutex> dl(s.decodeMutex);
    dec = s.dec;
    s.dec = nullptr;
  }
  if (dec) {
    StreamDecoder_Close(*dec);
    delete dec;
  }
  std::vector<float> ring;
  {
    std::lock_guard<std::mutex> lk(a.lock);
    ring.swap(s.ring);
    s.reserved = false;
  }
}

void Streams_FreeAll() {
  for (int i = 0; i < kMaxStreams; i++) {
    uint32_t h;
    {
      std::lock_guard<std::mutex> lk(g_audio.lock);
      h = g_audio.streams[i].handle;
    }
    if (h) Stream_Destroy(i, h);
  }
}

uint32_t Audio_StreamCreateFile(bool mem, const void* file, uint32_t offset, uint32_t length,
                                uint32_t flags) {
  AudioState& a = g_audio;
  uint32_t deviceRate;
  {
    std::lock_guard<std::mutex> lk(a.lock);
    if (!a.open) {
      WriteLog("Audio_StreamCreateFile: the audio device is not open\n");
      return 0;
    }
    deviceRate = a.rate;
  }
  std::vector<uint8_t> bytes;
  std::string name;
  if (!Sound_ReadBytes(mem, file, offset, length, bytes, name)) return 0;
  StreamDecoder* dec = new StreamDecoder;
  if (!SoundFile_Open(dec->file, std::move(bytes), name)) {
    delete dec;
    return 0;
  }
  int channels = (dec->file.info.channels == 1 || (flags & AUDIO_SAMPLE_MONO)) ? 1 : 2;
  bool eight = (flags & AUDIO_SAMPLE_8BITS) != 0;
  if (!StreamDecoder_Init(*dec, channels, eight, deviceRate)) {
    StreamDecoder_Close(*dec);
    delete dec;
    return 0;
  }
  int index = -1;
  uint32_t h = 0;
  {
    std::lock_guard<std::mutex> lk(a.lock);
    for (int i = 0; i < kMaxStreams && index < 0; i++)
      if (!a.streams[i].handle && !a.streams[i].reserved) index = i;
    if (index >= 0) {
      Stream& s = a.streams[index];
      s.reserved = true;
      s.gen++;
      h = Handle_Make(HandleKind::Stream, s.gen, index);
    }
  }
  if (index < 0) {
    WriteLogf("Audio_StreamCreateFile: all %d streams are in use ('%s')\n", kMaxStreams, name.c_str());
    StreamDecoder_Close(*dec);
    delete dec;
    return 0;
  }
  Stream& s = a.streams[index];
  std::vector<float> ring((size_t)(kRingFrames * channels), 0.0f);
  {
    std::lock_guard<std::mutex> dl(s.decodeMutex);
    s.dec = dec;
    std::lock_guard<std::mutex> lk(a.lock);
    s.flags = flags;
    s.channels = channels;
    s.bits = eight ? 8 : 16;
    s.baseRate = (uint32_t)dec->file.info.samplerate;
    s.lengthFrames = dec->file.info.frames;
    s.ring.swap(ring);
    s.ringStart = s.ringEnd = 0;
    s.decodedAll = false;
    s.seekGen++;
    s.restartAt = -1;
    s.v = Voice{};
    s.v.rate = s.v.baseRate = s.baseRate;
    Voice_Restart(s.v, 0);
    s.handle = h;
    s.reserved = false;
  }
  {
    std::lock_guard<std::mutex> dl(s.decodeMutex);
    Stream_Service(s, h, (kPrimeFrames + 4095) / 4096);
  }
  Decoder_Wake();
  return h;
}

bool Audio_StreamPlay(uint32_t stream, bool flush, uint32_t flags) {
  AudioState& a = g_audio;
  Stream* s;
  bool prime = false;
  {
    std::lock_guard<std::mutex> lk(a.lock);
    s = Stream_Find(stream);
    if (!s) return false;
    if (s->v.playing && !s->v.drained) return true;
    bool atEnd = s->v.drained || (s->decodedAll && s->v.pos >= (double)s->ringEnd);
    if (atEnd) prime = Stream_SeekLocked(*s, 0);   // played through: from the top again
    Voice_Restart(s->v, s->v.pos);
    s->v.playing = true;
    s->v.startedAt = a.handed;
  }
  if (prime) Stream_Prime(*s, stream);
  Decoder_Wake();
  return true;
}

bool Audio_StreamFree(uint32_t stream) {
  int index;
  {
    std::lock_guard<std::mutex> lk(g_audio.lock);
    if (!Stream_Find(stream)) return false;
    index = (int)(stream & 0xFFF);
  }
  Stream_Destroy(index, stream);
  return true;
}

uint64_t Audio_StreamGetLength(uint32_t stream) {
  std::lock_guard<std::mutex> lk(g_audio.lock);
  Stream* s = Stream_Find(stream);
  if (!s) return 0;
  return (uint64_t)s->lengthFrames * (uint64_t)(s->channels * s->bits / 8);
}
