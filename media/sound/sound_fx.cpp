#include "media/sound/sound_fx.h"
#include "platform/log.h"
#include "media/audio/audio.h"
#include "media/skin/skin_config.h"
#include "platform/files.h"
#include "platform/locks.h"
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <dirent.h>
#include <algorithm>
#include <atomic>
#include <chrono>
#include <mutex>

uint32_t g_sounds[SND_COUNT];
SampleSet g_voices[VOICE_COUNT];

const char* const kVoiceFolders[VOICE_COUNT] = {
    "danger", "warning", "good", "great", "eval/aaa", "eval/aa", "eval/a", "eval/b", "eval/c",
    "eval/d", "eval/e", "eval/extra", "eval/bonus", "over/fail", "over/pass", "start/ready", "start/go"};

namespace {
struct SingleSample {
  const char* name;
  int set;       // 0 effect, 1 announcer
  uint32_t max;
  bool loop;
};

const SingleSample kSingles[SND_COUNT] = {
    {"select", 0, 3, false}, {"switch", 0, 3, false}, {"start", 0, 3, false}, {"cheer", 0, 2, false},
    {"boo", 0, 1, false}, {"tsloop", 0, 1, true}, {"stloop", 0, 1, true}, {"nsloop", 0, 1, true},
    {"loselife", 0, 1, false}, {"clap", 0, 4, false},
    {"attract/attract-00", 1, 3, false}, {"attract/attract-01", 1, 3, false}, {"attract/attract-02", 1, 3, false},
    {"timer", 1, 1, false}, {"warning", 1, 1, false},
    {"select/style", 1, 1, false}, {"select/song", 1, 1, false}, {"select/rkv2-g0-single", 1, 1, false},
    {"select/rkv2-g0-versus", 1, 1, false}, {"select/rkv2-g0-double", 1, 1, false},
    {"select/rkv2-g1-single", 1, 1, false}, {"select/profile", 1, 1, false}, {"newrecord", 1, 1, false},
    {"combo/combo-end", 1, 1, false}, {"combo/combo-0100", 1, 1, false}, {"combo/combo-0200", 1, 1, false},
    {"combo/combo-0300", 1, 1, false}, {"combo/combo-0400", 1, 1, false}, {"combo/combo-0500", 1, 1, false},
    {"combo/combo-0600", 1, 1, false}, {"combo/combo-0700", 1, 1, false}, {"combo/combo-0800", 1, 1, false},
    {"combo/combo-0900", 1, 1, false}, {"combo/combo-1000", 1, 1, false}, {"combo/combo-cont", 1, 1, false}};

constexpr uint32_t kSampleFlags = 0x20040;
constexpr uint32_t kLoopFlags = 0x20044;

uint32_t g_voiceStream = 0;
// the sets LoadSounds was given: announcer lines not preloaded are read from there later
char g_effectSet[256] = "Default";
char g_announcerSet[256] = "Default";
uint32_t g_queue[8];
std::atomic<int> g_queueCount{0};  // read without the lock to skip an empty queue

uint32_t loadFile(const std::string& path, uint32_t max, uint32_t flags) {
  std::string p;
  if (!Path_Resolve(path, p)) return 0;
  return Audio_SampleLoad(false, p.c_str(), 0, 0, max, flags);
}

int gameRandom() { return rand() % 32768; }
}

uint32_t LoadSoundSample(int setKind, const char* name, uint32_t max, uint32_t flags) {
  const char* set = setKind == 0 ? g_effectSet : g_announcerSet;
  for (const char* ext : {".mp3", ".wav"})
    if (uint32_t h = loadFile(std::string("Sounds/") + set + "/" + name + ext, max, flags)) return h;
  if (setKind != 0) return 0;
  for (const char* ext : {".mp3", ".wav"})
    if (uint32_t h = loadFile(std::string("Sounds/Default/") + name + ext, max, flags)) return h;
  return 0;
}

void SoundFX_FindFiles(const char* folder, SampleSet& set, bool preload) {
  FreeSampleSet(set);
  set.count = 0;
  std::string dirPath;
  std::string want = std::string("Sounds/") + g_announcerSet + "/" + folder;
  if (Path_Resolve(want, dirPath)) {
    if (DIR* d = opendir(dirPath.c_str())) {
      while (dirent* e = readdir(d)) {
        if (set.count >= kSampleSetMax) break;
        std::string name = e->d_name;
        std::string full = dirPath + "/" + name;
        if (name == "." || name == ".." || File_Size(full) < 0) continue;  // folders are skipped
        for (char& c : name) c = (char)tolower((unsigned char)c);
        if (name.find(".mp3") == std::string::npos && name.find(".wav") == std::string::npos) continue;
        if (name.size() > 127) continue;
        snprintf(set.files[set.count], sizeof set.files[0], "%s", name.c_str());
        set.samples[set.count] = preload ? Audio_SampleLoad(false, full.c_str(), 0, 0, 1, kSampleFlags) : 0;
        set.count++;
      }
      closedir(d);
      // the folder listing has no order of its own; variants are kept by name
      for (int i = 1; i < set.count; i++)
        for (int j = i; j > 0 && strcmp(set.files[j - 1], set.files[j]) > 0; j--) {
          char t[128];
          memcpy(t, set.files[j], 128);
          memcpy(set.files[j], set.files[j - 1], 128);
          memcpy(set.files[j - 1], t, 128);
          std::swap(set.samples[j], set.samples[j - 1]);
        }
    }
  }
  set.preload = preload;
  set.last = -1;
  WriteLogf("SoundFX_FindFiles(): %s - %d samples\n", folder, set.count);
}

int SampleSet_PickIndex(int count, int last, int (*random)()) {
  if (count <= 0) return -1;
  if (count == 1) return 0;
  int i;
  do {
    i = (int)((int64_t)random() * count / 32768);
  } while (i == last);
  return i;
}

void PlaySampleSet(const char* folder, SampleSet& set, bool queued) {
  if (set.count <= 0) return;
  if (g_voiceStream) Audio_ChannelStop(g_voiceStream);
  g_voiceStream = 0;
  int i = SampleSet_PickIndex(set.count, set.last, gameRandom);
  set.last = i;
  if (!set.preload) {
    std::string p;
    if (!Path_Resolve(std::string("Sounds/") + g_announcerSet + "/" + folder + "/" + set.files[i], p)) return;
    g_voiceStream = Audio_StreamCreateFile(false, p.c_str(), 0, 0, AUDIO_STREAM_AUTOFREE);
    if (g_voiceStream) Audio_StreamPlay(g_voiceStream, false, 0);
  } else if (queued) {
    QueueSample(set.samples[i]);
  } else if (set.samples[i]) {
    Audio_SamplePlay(set.samples[i]);
  }
}

void PlayVoice(VoiceId v, bool queued) { PlaySampleSet(kVoiceFolders[v], g_voices[v], queued); }

uint32_t PlaySound(SoundId id) {
  if (id < 0 || id >= SND_COUNT || !g_sounds[id]) return 0;
  return Audio_SamplePlay(g_sounds[id]);
}

void FreeSampleSet(SampleSet& set) {
  for (int i = 0; i < set.count; i++) {
    if (set.samples[i]) {
      Audio_SampleStop(set.samples[i]);
      Audio_SampleFree(set.samples[i]);
    }
    set.samples[i] = 0;
  }
}

void LoadSounds(const char* effectSet, const char* announcerSet) {
  snprintf(g_effectSet, sizeof g_effectSet, "%s", effectSet ? effectSet : "Default");
  snprintf(g_announcerSet, sizeof g_announcerSet, "%s", announcerSet ? announcerSet : "Default");
  g_announcerCredit = g_effectCredit = "(Unknown)";
  WriteLog("Loading sound details...");
  LoadSoundSetConfig(g_announcerSet, g_effectSet);
  WriteLog("done\n");
  for (int i = 0; i < SND_COUNT; i++)
    g_sounds[i] = LoadSoundSample(kSingles[i].set, kSingles[i].name, kSingles[i].max,
                                  kSingles[i].loop ? kLoopFlags : kSampleFlags);
  for (int v = 0; v < VOICE_COUNT; v++) {
    bool preload = v <= VOICE_GREAT || v >= VOICE_START_READY;
    SoundFX_FindFiles(kVoiceFolders[v], g_voices[v], preload);
  }
}

void FreeSounds() {
  if (g_voiceStream) Audio_ChannelStop(g_voiceStream);
  g_voiceStream = 0;
  for (uint32_t& s : g_sounds) {
    if (s) {
      Audio_SampleStop(s);
      Audio_SampleFree(s);
    }
    s = 0;
  }
  for (SampleSet& set : g_voices) {
    FreeSampleSet(set);
    set.count = 0;
  }
}

bool QueueSample(uint32_t sample) {
  if (!g_soundQueueLock.try_lock_for(std::chrono::milliseconds(kLockWaitMs))) return false;
  g_queue[g_queueCount.load() % 8] = sample;
  g_queueCount++;
  g_soundQueueLock.unlock();
  return true;
}

void SoundQueue_Clear() {
  std::lock_guard<std::timed_mutex> l(g_soundQueueLock);
  for (uint32_t& q : g_queue) q = 0;
  g_queueCount = 0;
}

int SoundQueue_Serve() {
  if (g_queueCount.load() <= 0) return 0;
  if (!g_soundQueueLock.try_lock_for(std::chrono::milliseconds(kLockWaitMs))) return 0;
  int n = std::min(g_queueCount.load(), 8);
  int played = 0;
  for (int i = 0; i < n; i++) {
    if (g_queue[i]) {
      Audio_SamplePlay(g_queue[i]);
      played++;
    }
    g_queue[i] = 0;
  }
  g_queueCount = 0;
  g_soundQueueLock.unlock();
  return played;
}
