#pragma once
// The game's audio library: music streams, sound samples, the output device and
// the music clock. Every sound the game makes goes through these calls.
//
// Handles are 32-bit: a sample (a loaded effect), a stream (music), or a channel
// (a stream, or one playback of a sample). 0 is failure. A handle that was freed,
// or one of the wrong kind, makes a call fail harmlessly.
//
// Positions are bytes of the channel's own format (16-bit unless loaded 8-bit,
// mono or stereo, at the file's own rate). The position of a playing channel is
// the one the listener hears: it excludes what is still queued for the device,
// moves smoothly between device buffers and never goes backwards while playing.
//
// Every call may be made from any thread; decoding runs on the library's own
// thread and the device callback only mixes.
#include <cstddef>
#include <cstdint>

// The version the start-up checks: major in the low word, minor in the high word.
constexpr uint32_t AUDIO_VERSION = 0x00080001;   // 1.8

// Audio_Init flags.
constexpr uint32_t AUDIO_DEVICE_8BITS = 0x1;     // 8-bit output
constexpr uint32_t AUDIO_DEVICE_MONO = 0x2;      // mono output
constexpr uint32_t AUDIO_DEVICE_LATENCY = 0x100; // fill in the latency of AudioInfo

// Sample and stream flags.
constexpr uint32_t AUDIO_SAMPLE_8BITS = 0x1;     // keep the sound as 8-bit
constexpr uint32_t AUDIO_SAMPLE_MONO = 0x2;      // mix the sound down to mono
constexpr uint32_t AUDIO_SAMPLE_LOOP = 0x4;      // a sample plays round and round
constexpr uint32_t AUDIO_SAMPLE_VAM = 0x40;      // hardware voice management: accepted, no effect
constexpr uint32_t AUDIO_SAMPLE_OVER_VOL = 0x10000; // at max playbacks replace the quietest
constexpr uint32_t AUDIO_SAMPLE_OVER_POS = 0x20000; // at max playbacks replace the longest playing
constexpr uint32_t AUDIO_STREAM_EXACT_SEEK = 0x20000; // streams always seek to the exact frame
constexpr uint32_t AUDIO_STREAM_AUTOFREE = 0x40000;   // freed by the library when it has played

// Audio_ChannelGetData lengths.
constexpr uint32_t AUDIO_DATA_FFT512 = 0x80000000;      // 256 float magnitudes
constexpr uint32_t AUDIO_DATA_FFT_INDIVIDUAL = 0x10;    // with FFT512: per channel, interleaved

// Audio_ChannelIsActive results.
constexpr uint32_t AUDIO_ACTIVE_STOPPED = 0;
constexpr uint32_t AUDIO_ACTIVE_PLAYING = 1;
constexpr uint32_t AUDIO_ACTIVE_STALLED = 2;   // playing, waiting for decoded data
constexpr uint32_t AUDIO_ACTIVE_PAUSED = 3;    // playing, output paused

// Failure values where 0 is a valid answer.
constexpr uint64_t AUDIO_BAD_POSITION = ~0ull;
constexpr uint32_t AUDIO_BAD_VALUE = 0xFFFFFFFFu;

// The device record of Audio_GetInfo, 48 bytes; the caller sets `size` to 48.
struct AudioInfo {
  uint32_t size;
  uint32_t flags;          // AUDIO_DEVICE_8BITS / AUDIO_DEVICE_MONO of the open device
  uint32_t hwSize;         // no hardware mixing: 0
  uint32_t hwFree;
  uint32_t freeSam;
  uint32_t free3d;
  uint32_t minRate;        // the device rate (software mixing resamples everything to it)
  uint32_t maxRate;
  uint32_t eax;
  uint32_t a3d;
  uint32_t driverVersion;  // the SDL version, major * 100 + minor * 10 + patch
  uint32_t latency;        // ms from starting a channel to hearing it (AUDIO_DEVICE_LATENCY)
};
static_assert(sizeof(AudioInfo) == 48);
static_assert(offsetof(AudioInfo, latency) == 44);

uint32_t Audio_GetVersion();
// Device names: 0, 1, 2, ...; null after the last one. Device 0 is the default
// output of the SDL audio driver in use.
const char* Audio_GetDeviceDescription(int device);
// device -1 is the default; rate 11025, 22050 or 44100 (8000-96000 accepted);
// `window` is not used. Fails when the device cannot open or is already open.
bool Audio_Init(int device, uint32_t rate, uint32_t flags, void* window);
bool Audio_GetInfo(AudioInfo* info);
bool Audio_Start();              // starts, or resumes after Audio_Pause / Audio_Stop
bool Audio_Pause();              // output halts; channels keep their place
bool Audio_Stop();               // output halts and every channel stops
bool Audio_Free();               // closes the device and frees every handle
bool Audio_SetVolume(uint32_t volume);   // master volume 0-100

// Samples: decoded whole when loaded. `mem` true: `file` points at `length`
// bytes of a file in memory; else `file` is a path (offset/length select a part,
// length 0 to the end). `max` is the number of playbacks that may sound at once.
uint32_t Audio_SampleLoad(bool mem, const void* file, uint32_t offset, uint32_t length,
                          uint32_t max, uint32_t flags);
uint32_t Audio_SamplePlay(uint32_t sample);      // a channel handle, playing at once
bool Audio_SampleStop(uint32_t sample);          // stops every playback of the sample
bool Audio_SampleFree(uint32_t sample);

// Streams: decoded ahead while they play. From memory the bytes are copied, so
// the caller may free its buffer at once.
uint32_t Audio_StreamCreateFile(bool mem, const void* file, uint32_t offset, uint32_t length,
                                uint32_t flags);
// Plays from the current position (a stream that has played to its end starts
// again from the beginning). `flush` and `flags` are accepted and change nothing.
bool Audio_StreamPlay(uint32_t stream, bool flush, uint32_t flags);
bool Audio_StreamFree(uint32_t stream);
uint64_t Audio_StreamGetLength(uint32_t stream);   // bytes; 0 on failure

// Channels: a stream or one playback of a sample.
bool Audio_ChannelStop(uint32_t channel);   // a sample playback or self-freeing stream is freed
uint64_t Audio_ChannelGetPosition(uint32_t channel);          // AUDIO_BAD_POSITION on failure
float Audio_ChannelBytes2Seconds(uint32_t channel, uint64_t pos);   // negative on failure
uint64_t Audio_ChannelSeconds2Bytes(uint32_t channel, float seconds); // AUDIO_BAD_POSITION on failure
bool Audio_ChannelSetPosition(uint32_t channel, uint64_t pos);
// rate in Hz, volume 0-100, pan -100 (left) to 100 (right); any pointer may be null.
bool Audio_ChannelGetAttributes(uint32_t channel, uint32_t* rate, uint32_t* volume, int* pan);
// rate -1 keeps it, 0 restores the file's own rate, else 100-100000; volume -1
// keeps it; pan -101 keeps it. Takes effect within one device buffer.
bool Audio_ChannelSetAttributes(uint32_t channel, int rate, int volume, int pan);
uint32_t Audio_ChannelIsActive(uint32_t channel);  // AUDIO_ACTIVE_*
// AUDIO_SAMPLE_MONO / _8BITS / _LOOP and the creation flags; AUDIO_BAD_VALUE on failure.
uint32_t Audio_ChannelGetFlags(uint32_t channel);
// What the listener hears now, in the channel's format before volume and pan, at
// the device rate: `length` bytes of samples (0x200, 0x400, 0x800, ...), or with
// AUDIO_DATA_FFT512 256 float magnitudes of a 512-point FFT of the channels mixed
// (a full-scale sine on a bin reads about 1.0), or 256 per channel interleaved
// with AUDIO_DATA_FFT_INDIVIDUAL. Returns the bytes written, AUDIO_BAD_VALUE on failure.
uint32_t Audio_ChannelGetData(uint32_t channel, void* buffer, uint32_t length);
