#pragma once
// Sound files through libsndfile (WAV, OGG Vorbis, MP3 and whatever else it
// knows), always read from bytes in memory: a stream keeps its own copy of the
// file, so decoding never touches the disk and the caller may free its buffer.
// The type is found from the bytes, never from the name.
#include <samplerate.h>
#include <sndfile.h>
#include <cstdint>
#include <string>
#include <vector>

struct SoundFile {
  SNDFILE* sf = nullptr;
  SF_INFO info{};
  std::vector<uint8_t> bytes;
  sf_count_t at = 0;          // read place of the virtual file
  std::string name;           // for log lines
  std::vector<float> scratch; // the file's own channels, before mixing down
};

// The bytes of a file given as a path (offset/length pick a part, length 0 to
// the end) or as memory (`file` + offset, `length` bytes). False, logged, when
// there is nothing to read.
bool Sound_ReadBytes(bool mem, const void* file, uint32_t offset, uint32_t length,
                     std::vector<uint8_t>& out, std::string& name);
// Opens decoded access to the bytes. False, logged, when they are no sound file
// or hold no frames.
bool SoundFile_Open(SoundFile& f, std::vector<uint8_t>&& bytes, const std::string& name);
void SoundFile_Close(SoundFile& f);
// Up to `frames` frames as float, mixed to `channels` (1 or 2). Fewer at the end
// of the data or at a damaged part.
int64_t SoundFile_Read(SoundFile& f, float* out, int64_t frames, int channels);
bool SoundFile_Seek(SoundFile& f, int64_t frame);

// Rounds to what an 8-bit sound can hold, so that 8-bit channels sound and read
// back as 8-bit.
void Sound_QuantizeTo8Bits(float* data, int64_t count);

// The decoding side of a stream: the file, and the conversion from the file's
// rate to the device's, run ahead of playback by the decoder thread.
struct StreamDecoder {
  SoundFile file;
  SRC_STATE* src = nullptr;   // only when the rates differ
  double ratio = 1;           // device frames per file frame
  int channels = 2;           // 1 or 2
  bool eightBit = false;
  int64_t nextFrame = 0;      // next file frame to read
  bool inputDone = false;     // the file is read to its end
  bool finished = false;      // nothing more will come out
  std::vector<float> in;      // file frames in the stream's channels
  std::vector<float> out;     // device-rate frames ready for the ring
};

bool StreamDecoder_Init(StreamDecoder& d, int channels, bool eightBit, uint32_t deviceRate);
void StreamDecoder_Close(StreamDecoder& d);
// Decodes up to `maxOut` device-rate frames into d.out and returns how many; 0
// with d.finished set at the end of the data.
int StreamDecoder_Run(StreamDecoder& d, int maxOut);
bool StreamDecoder_Seek(StreamDecoder& d, int64_t fileFrame);

// A whole file decoded at once (samples), converted to `deviceRate`. The frame
// count is capped at `maxFrames` of the file's own rate.
bool Sound_DecodeWhole(SoundFile& f, int channels, bool eightBit, uint32_t deviceRate,
                       int64_t maxFrames, std::vector<float>& out, int64_t& fileFrames);
