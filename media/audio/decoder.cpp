#include "media/audio/decoder.h"
#include "platform/log.h"
#include "platform/files.h"
#include <algorithm>
#include <cmath>
#include <cstring>

#if defined(__SANITIZE_ADDRESS__)
#define TV_AUDIO_ASAN 1
#elif defined(__has_feature)
#if __has_feature(address_sanitizer)
#define TV_AUDIO_ASAN 1
#endif
#endif
#ifdef TV_AUDIO_ASAN
// libsndfile 1.2.0 never frees libvorbis's header record of an OGG file it has
// opened (about 6 kB a file): the library's leak, not ours, so the leak checker
// of sanitizer builds is told to pass over it.
extern "C" __attribute__((weak)) const char* __lsan_default_suppressions() { return "leak:vorbis_info_init\n"; }
#endif

namespace {
// Nothing the game plays is this big; a larger "sound" is a mistake, not music.
constexpr long long kMaxFileBytes = 1ll << 30;
constexpr int kChunkFrames = 4096;

sf_count_t vLength(void* u) { return (sf_count_t)static_cast<SoundFile*>(u)->bytes.size(); }

sf_count_t vSeek(sf_count_t offset, int whence, void* u) {
  SoundFile* f = static_cast<SoundFile*>(u);
  sf_count_t size = (sf_count_t)f->bytes.size();
  sf_count_t to = whence == SEEK_SET ? offset : whence == SEEK_CUR ? f->at + offset : size + offset;
  f->at = std::clamp<sf_count_t>(to, 0, size);
  return f->at;
}

sf_count_t vRead(void* ptr, sf_count_t count, void* u) {
  SoundFile* f = static_cast<SoundFile*>(u);
  sf_count_t left = (sf_count_t)f->bytes.size() - f->at;
  sf_count_t n = std::clamp<sf_count_t>(count, 0, left);
  if (n > 0) memcpy(ptr, f->bytes.data() + f->at, (size_t)n);
  f->at += n;
  return n;
}

sf_count_t vWrite(const void*, sf_count_t, void*) { return 0; }
sf_count_t vTell(void* u) { return static_cast<SoundFile*>(u)->at; }

SF_VIRTUAL_IO g_memoryIo = {vLength, vSeek, vRead, vWrite, vTell};
}

bool Sound_ReadBytes(bool mem, const void* file, uint32_t offset, uint32_t length,
                     std::vector<uint8_t>& out, std::string& name) {
  out.clear();
  if (!file) {
    WriteLog("Audio: no file given\n");
    return false;
  }
  if (mem) {
    name = "(memory)";
    if (length == 0) {
      WriteLog("Audio: a sound in memory needs its length\n");
      return false;
    }
    const uint8_t* p = static_cast<const uint8_t*>(file) + offset;
    out.assign(p, p + length);
    return true;
  }
  name = static_cast<const char*>(file);
  std::string path = name;
  if (!File_Exists(path) && !Path_Resolve(name, path)) {
    WriteLogf("Audio: '%s' not found\n", name.c_str());
    return false;
  }
  long long size = File_Size(path);
  if (size > kMaxFileBytes) {
    WriteLogf("Audio: '%s' is too large (%lld bytes)\n", name.c_str(), size);
    return false;
  }
  if (!File_ReadAll(path, out)) {
    WriteLogf("Audio: '%s' cannot be read\n", name.c_str());
    return false;
  }
  if (offset >= out.size()) {
    WriteLogf("Audio: '%s' has nothing after offset %u\n", name.c_str(), offset);
    out.clear();
    return false;
  }
  size_t end = length ? std::min<size_t>(out.size(), (size_t)offset + length) : out.size();
  if (offset || end < out.size()) out = std::vector<uint8_t>(out.begin() + offset, out.begin() + end);
  return true;
}

bool SoundFile_Open(SoundFile& f, std::vector<uint8_t>&& bytes, const std::string& name) {
  SoundFile_Close(f);
  f.bytes = std::move(bytes);
  f.name = name;
  f.at = 0;
  f.info = SF_INFO{};
  if (f.bytes.empty()) {
    WriteLogf("Audio: '%s' is empty\n", name.c_str());
    return false;
  }
  f.sf = sf_open_virtual(&g_memoryIo, SFM_READ, &f.info, &f);
  if (!f.sf) {
    WriteLogf("Audio: '%s' is no sound file the decoder knows (%s)\n", name.c_str(), sf_strerror(nullptr));
    return false;
  }
  if (f.info.channels < 1 || f.info.channels > 16 || f.info.samplerate < 1000 ||
      f.info.samplerate > 384000 || f.info.frames <= 0) {
    WriteLogf("Audio: '%s' has an unusable format (%d channels, %d Hz, %lld frames)\n", name.c_str(),
              f.info.channels, f.info.samplerate, (long long)f.info.frames);
    SoundFile_Close(f);
    return false;
  }
  return true;
}

void SoundFile_Close(SoundFile& f) {
  if (f.sf) sf_close(f.sf);
  f.sf = nullptr;
  f.bytes.clear();
  f.bytes.shrink_to_fit();
}

int64_t SoundFile_Read(SoundFile& f, float* out, int64_t frames, int channels) {
  if (!f.sf || frames <= 0) return 0;
  int fc = f.info.channels;
  if (fc == channels) {
    sf_count_t got = sf_readf_float(f.sf, out, frames);
    return got > 0 ? got : 0;
  }
  int64_t done = 0;
  while (done < frames) {
    int64_t n = std::min<int64_t>(frames - done, kChunkFrames);
    f.scratch.resize((size_t)(n * fc));
    sf_count_t got = sf_readf_float(f.sf, f.scratch.data(), n);
    if (got <= 0) break;
    const float* s = f.scratch.data();
    float* o = out + done * channels;
    for (sf_count_t i = 0; i < got; i++, s += fc) {
      if (channels == 1) {
        float sum = 0;
        for (int c = 0; c < fc; c++) sum += s[c];
        o[i] = sum / (float)fc;
      } else if (fc == 1) {
        o[2 * i] = o[2 * i + 1] = s[0];
      } else {
        o[2 * i] = s[0];   // more than two channels: front left and right
        o[2 * i + 1] = s[1];
      }
    }
    done += got;
    if (got < n) break;
  }
  return done;
}

bool SoundFile_Seek(SoundFile& f, int64_t frame) {
  if (!f.sf) return false;
  return sf_seek(f.sf, frame, SEEK_SET) == frame;
}

void Sound_QuantizeTo8Bits(float* data, int64_t count) {
  for (int64_t i = 0; i < count; i++) {
    float v = std::clamp(std::nearbyint(data[i] * 128.0f), -128.0f, 127.0f);
    data[i] = v / 128.0f;
  }
}

bool StreamDecoder_Init(StreamDecoder& d, int channels, bool eightBit, uint32_t deviceRate) {
  d.channels = channels;
  d.eightBit = eightBit;
  d.ratio = (double)deviceRate / d.file.info.samplerate;
  d.nextFrame = 0;
  d.inputDone = d.finished = false;
  if (d.file.info.samplerate != (int)deviceRate) {
    int err = 0;
    d.src = src_new(SRC_SINC_FASTEST, channels, &err);
    if (!d.src) {
      WriteLogf("Audio: no rate converter (%s)\n", src_strerror(err));
      return false;
    }
  }
  return true;
}

void StreamDecoder_Close(StreamDecoder& d) {
  if (d.src) src_delete(d.src);
  d.src = nullptr;
  SoundFile_Close(d.file);
}

bool StreamDecoder_Seek(StreamDecoder& d, int64_t fileFrame) {
  d.inputDone = d.finished = false;
  if (d.src) src_reset(d.src);
  if (!SoundFile_Seek(d.file, fileFrame)) {
    WriteLogf("Audio: '%s' cannot seek to frame %lld\n", d.file.name.c_str(), (long long)fileFrame);
    d.nextFrame = fileFrame;
    d.inputDone = d.finished = true;
    return false;
  }
  d.nextFrame = fileFrame;
  return true;
}

int StreamDecoder_Run(StreamDecoder& d, int maxOut) {
  if (d.finished || maxOut <= 0) return 0;
  int ch = d.channels;
  if (!d.src) {
    int n = std::min(maxOut, kChunkFrames);
    d.out.resize((size_t)n * ch);
    int64_t got = SoundFile_Read(d.file, d.out.data(), n, ch);
    d.nextFrame += got;
    if (got < n) d.inputDone = d.finished = true;
    if (d.eightBit) Sound_QuantizeTo8Bits(d.out.data(), got * ch);
    return (int)got;
  }
  int want = std::clamp((int)(maxOut / d.ratio), 1, kChunkFrames);
  int64_t got = 0;
  d.in.resize((size_t)want * ch);
  if (!d.inputDone) {
    got = SoundFile_Read(d.file, d.in.data(), want, ch);
    d.nextFrame += got;
    if (got < want) d.inputDone = true;
  }
  d.out.resize((size_t)(got * d.ratio + 1024) * ch);
  int produced = 0;
  long used = 0;
  for (;;) {
    SRC_DATA sd{};
    sd.data_in = d.in.data() + used * ch;
    sd.input_frames = (long)(got - used);
    sd.data_out = d.out.data() + (size_t)produced * ch;
    sd.output_frames = (long)(d.out.size() / ch - produced);
    sd.end_of_input = d.inputDone ? 1 : 0;
    sd.src_ratio = d.ratio;
    int err = src_process(d.src, &sd);
    if (err) {
      WriteLogf("Audio: rate conversion failed (%s)\n", src_strerror(err));
      d.finished = true;
      break;
    }
    used += sd.input_frames_used;
    produced += (int)sd.output_frames_gen;
    if (sd.input_frames_used == 0 && sd.output_frames_gen == 0 && used < got) {
      d.finished = d.inputDone = true;  // the converter is stuck: end the sound here
      break;
    }
    if (used >= got && (sd.output_frames_gen == 0 || !d.inputDone)) {
      if (d.inputDone && sd.output_frames_gen == 0) d.finished = true;
      break;
    }
    if ((size_t)produced * ch >= d.out.size()) d.out.resize(d.out.size() + 1024 * ch);
  }
  if (d.eightBit) Sound_QuantizeTo8Bits(d.out.data(), (int64_t)produced * ch);
  return produced;
}

bool Sound_DecodeWhole(SoundFile& f, int channels, bool eightBit, uint32_t deviceRate,
                       int64_t maxFrames, std::vector<float>& out, int64_t& fileFrames) {
  std::vector<float> raw;
  int64_t total = 0;
  int64_t expect = std::min<int64_t>(f.info.frames, maxFrames);
  raw.reserve((size_t)(expect * channels));
  for (;;) {
    int64_t n = std::min<int64_t>(kChunkFrames * 4, maxFrames - total);
    if (n <= 0) break;
    raw.resize((size_t)((total + n) * channels));
    int64_t got = SoundFile_Read(f, raw.data() + total * channels, n, channels);
    total += got;
    if (got < n) break;
  }
  raw.resize((size_t)(total * channels));
  fileFrames = total;
  if (total == 0) {
    WriteLogf("Audio: '%s' holds no sound that can be decoded\n", f.name.c_str());
    return false;
  }
  if (f.info.samplerate == (int)deviceRate) {
    out = std::move(raw);
  } else {
    double ratio = (double)deviceRate / f.info.samplerate;
    out.assign((size_t)((total * ratio + 64) * channels), 0.0f);
    SRC_DATA sd{};
    sd.data_in = raw.data();
    sd.input_frames = (long)total;
    sd.data_out = out.data();
    sd.output_frames = (long)(out.size() / channels);
    sd.src_ratio = ratio;
    int err = src_simple(&sd, SRC_SINC_MEDIUM_QUALITY, channels);
    if (err) {
      WriteLogf("Audio: rate conversion of '%s' failed (%s)\n", f.name.c_str(), src_strerror(err));
      return false;
    }
    out.resize((size_t)(sd.output_frames_gen * channels));
    if (out.empty()) return false;
  }
  if (eightBit) Sound_QuantizeTo8Bits(out.data(), (int64_t)out.size());
  return true;
}
