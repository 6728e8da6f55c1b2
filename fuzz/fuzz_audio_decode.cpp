// Sound files from memory, as music streams and effects are opened: whatever the
// bytes, opening, decoding (with and without rate conversion), seeking and
// whole-file decoding must end without a crash or a hang.
#include "media/audio/decoder.h"
#include <cstddef>
#include <cstdint>

// libsndfile 1.2.0 leaves libvorbis's header record of every OGG file behind;
// that is the library's leak, not ours.
extern "C" __attribute__((weak)) const char* __lsan_default_suppressions() { return "leak:vorbis_info_init\n"; }

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  if (size == 0) return 0;
  uint32_t deviceRate = (data[0] & 1) ? 22050 : 44100;
  {
    StreamDecoder d;
    if (SoundFile_Open(d.file, std::vector<uint8_t>(data, data + size), "fuzz") &&
        StreamDecoder_Init(d, d.file.info.channels == 1 ? 1 : 2, (data[0] & 2) != 0, deviceRate)) {
      int64_t total = 0;
      for (int round = 0; round < 64 && !d.finished; round++) total += StreamDecoder_Run(d, 4096);
      StreamDecoder_Seek(d, d.file.info.frames / 2);
      for (int round = 0; round < 4 && !d.finished; round++) StreamDecoder_Run(d, 4096);
      StreamDecoder_Seek(d, 0);
      StreamDecoder_Run(d, 1024);
      (void)total;
    }
    StreamDecoder_Close(d);
  }
  {
    SoundFile f;
    std::vector<float> out;
    int64_t frames = 0;
    if (SoundFile_Open(f, std::vector<uint8_t>(data, data + size), "fuzz"))
      Sound_DecodeWhole(f, 1, false, deviceRate, 1 << 18, out, frames);
    SoundFile_Close(f);
  }
  return 0;
}
