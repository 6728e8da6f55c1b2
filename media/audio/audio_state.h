#pragma once
// The audio library's process-wide record: the device, the fixed tables of
// streams, samples and sample playbacks, and the lock they share with the device
// callback. Only the files of media/audio use this header (and its tests).
#include "media/audio/audio.h"
#include "media/audio/decoder.h"
#include "media/audio/music_clock.h"
#include <atomic>
#include <cmath>
#include <condition_variable>
#include <mutex>
#include <thread>
#include <vector>

constexpr int kMaxStreams = 64;
constexpr int kMaxSamples = 1024;
constexpr int kMaxPlays = 256;
constexpr int kSegments = 16;

// What one device buffer did with one voice: from device frame `devStart` on,
// `frames` device frames were mixed from data position `pos` on, moving `ratio`
// data frames per device frame.
struct Segment {
  uint64_t devStart = 0;
  double pos = 0;
  double ratio = 1;
  uint32_t frames = 0;
};

// One sound being mixed: a stream, or one playback of a sample. Positions are in
// frames of the voice's data, which is held at the device rate.
struct Voice {
  bool playing = false;    // started and not stopped
  bool drained = false;    // the mixer has used the last frame
  bool stalled = false;    // the last buffer ran out of decoded data
  bool loop = false;
  double wrapFrames = 0;   // a looping voice's data length: positions wrap at it
  double pos = 0;          // next data frame to mix
  uint32_t rate = 44100;   // playback rate, Hz of the file
  uint32_t baseRate = 44100;
  int volume = 100;
  int pan = 0;
  uint64_t startedAt = 0;  // device frame count when started (longest playing goes first)
  uint64_t firstDev = 0;   // device frame and data position of the first mix since the
  double firstPos = -1;    //   start or a seek (-1 none yet): the reference for measuring
  double heardBase = 0;    // heard until the first segment since the start or a seek
  Segment seg[kSegments];
  int segCount = 0;
  int segHead = 0;         // where the next segment goes
};

struct Stream {
  uint32_t handle = 0;     // 0: free slot
  bool reserved = false;   // being created or torn down: not free, not live
  uint16_t gen = 0;
  uint32_t flags = 0;
  int channels = 2;
  int bits = 16;
  uint32_t baseRate = 44100;
  int64_t lengthFrames = 0;   // file frames (shrinks to what decodes at the end)
  Voice v;
  // decoded frames at the device rate, frame indexes ringStart..ringEnd-1
  std::vector<float> ring;
  int64_t ringStart = 0;
  int64_t ringEnd = 0;
  bool decodedAll = false;    // ringEnd is the end of the sound
  uint32_t seekGen = 0;       // bumped by every seek; older decoded data is dropped
  int64_t restartAt = -1;     // file frame the decoder must continue from, -1 none
  // the decoder side: only with decodeMutex held
  std::mutex decodeMutex;
  StreamDecoder* dec = nullptr;
};

struct Sample {
  uint32_t handle = 0;
  uint16_t gen = 0;
  uint32_t flags = 0;
  uint32_t maxPlays = 1;
  int channels = 2;
  int bits = 16;
  uint32_t baseRate = 44100;
  int64_t fileFrames = 0;
  std::vector<float> data;    // at the device rate
  int64_t frames = 0;
};

struct Play {
  uint32_t handle = 0;
  uint16_t gen = 0;
  int sample = -1;
  Voice v;
};

// When each callback ran and how much had been handed over before it: the
// record against which the clock's accuracy is measured.
struct CallbackNote {
  double t = 0;
  uint64_t handed = 0;
};
constexpr int kCallbackNotes = 4096;
// The device frames heard at time t by the notes: each buffer heard evenly from
// its callback to the next (the reference the clock is measured against).
double Notes_HeardAt(const std::vector<CallbackNote>& notes, double queued, double t);
std::vector<CallbackNote> Mixer_Notes();   // the notes in order, oldest first

struct AudioState {
  std::mutex lock;          // everything below, and the device callback's mixing
  bool sdlUp = false;       // the SDL audio subsystem was started by us
  bool open = false;
  bool running = false;     // output started and not paused/stopped
  uint32_t initFlags = 0;
  uint32_t rate = 44100;
  int outChannels = 2;
  int outBits = 16;
  uint32_t bufferFrames = 512;
  uint32_t queuedFrames = 0;   // still ahead of the listener when the callback is asked
  uint32_t latencyMs = 0;
  char driver[32] = {0};
  char deviceName[96] = {0};
  uint32_t volume = 100;
  uint64_t handed = 0;         // device frames handed to the device
  MusicClock clock;
  Stream streams[kMaxStreams];
  Sample samples[kMaxSamples];
  Play plays[kMaxPlays];
  std::vector<float> mix;
  CallbackNote notes[kCallbackNotes];
  uint64_t noteCount = 0;
  double mixSeconds = 0;       // time spent inside the callback
  // the decoder thread
  std::thread decoder;
  std::condition_variable wake;
  std::mutex wakeLock;
  bool wakeFlag = false;
  std::atomic<bool> quit{false};
};

extern AudioState g_audio;

double Audio_Now();   // seconds of the monotonic clock

// Handles: kind in the top four bits, a generation, the slot in the low 12 bits.
enum class HandleKind : uint32_t { Stream = 1, Sample = 2, Play = 3 };
uint32_t Handle_Make(HandleKind kind, uint16_t gen, int index);
HandleKind Handle_Kind(uint32_t h);
// With g_audio.lock held; null for 0, freed, stale or other-kind handles.
Stream* Stream_Find(uint32_t h);
Sample* Sample_Find(uint32_t h);
Play* Play_Find(uint32_t h);
Voice* Voice_Find(uint32_t h, Stream** stream, Play** play);

// Mixer (mixer.cpp)
void Mixer_Render(uint8_t* out, int bytes);   // the device callback's work
void Voice_Restart(Voice& v, double pos);     // lock held: forget what was mixed
double Voice_Heard(const Voice& v, double deviceFrames);  // data frame heard
double Mixer_HeardDevice();                   // lock held: device frames heard now
// Where the voice is as the listener hears it (data frames); lock held.
double Voice_HeardNow(const Voice& v);

// Streams (streams.cpp) and the decoder thread (decode_thread.cpp)
int64_t Stream_RingIndex(const Stream& s, int64_t fileFrame);
double Stream_FileFrame(const Stream& s, double ringPos);
// Decodes ahead into the ring: at most `rounds` chunks, fewer once it is full
// enough. decodeMutex held, lock not held. True if anything was done.
bool Stream_Service(Stream& s, uint32_t handle, int rounds);
// Lock held: jump to a file frame (within the decoded data when it is there,
// else the decoder restarts there). True when the decoder has to restart.
bool Stream_SeekLocked(Stream& s, int64_t fileFrame);
void Stream_Prime(Stream& s, uint32_t handle);     // lock not held: decode the first chunk now
void Stream_StopLocked(Stream& s);                 // lock held: stop where the listener is
void Stream_Destroy(int index, uint32_t handle);   // lock not held
void Decoder_Start();
void Decoder_Stop();
void Decoder_Wake();
void Samples_FreeAll();
void Streams_FreeAll();
