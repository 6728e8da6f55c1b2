#pragma once
// Interface and crowd effects from the effect set, announcer lines from the
// announcer set, random variants of voice folders, and the small play queue the
// play screen hands to the media worker.
#include <cstdint>
#include <string>

enum SoundId {
  SND_SELECT, SND_SWITCH, SND_START, SND_CHEER, SND_BOO, SND_TSLOOP, SND_STLOOP, SND_NSLOOP, SND_LOSELIFE, SND_CLAP,
  SND_ATTRACT0, SND_ATTRACT1, SND_ATTRACT2, SND_TIMER, SND_WARNING,
  SND_SEL_STYLE, SND_SEL_SONG, SND_SEL_G0_SINGLE, SND_SEL_G0_VERSUS, SND_SEL_G0_DOUBLE, SND_SEL_G1_SINGLE,
  SND_SEL_PROFILE, SND_NEWRECORD, SND_COMBO_END, SND_COMBO_100, SND_COMBO_200, SND_COMBO_300, SND_COMBO_400,
  SND_COMBO_500, SND_COMBO_600, SND_COMBO_700, SND_COMBO_800, SND_COMBO_900, SND_COMBO_1000, SND_COMBO_CONT,
  SND_COUNT
};
static_assert(SND_COUNT == 35);

enum VoiceId {
  VOICE_DANGER, VOICE_WARNING, VOICE_GOOD, VOICE_GREAT,
  VOICE_EVAL_AAA, VOICE_EVAL_AA, VOICE_EVAL_A, VOICE_EVAL_B, VOICE_EVAL_C, VOICE_EVAL_D, VOICE_EVAL_E,
  VOICE_EVAL_EXTRA, VOICE_EVAL_BONUS, VOICE_OVER_FAIL, VOICE_OVER_PASS, VOICE_START_READY, VOICE_START_GO,
  VOICE_COUNT
};
static_assert(VOICE_COUNT == 17);

constexpr int kSampleSetMax = 64;

struct SampleSet {
  char files[kSampleSetMax][128];
  uint32_t samples[kSampleSetMax];
  int count = 0;
  int last = -1;
  bool preload = false;
};

extern uint32_t g_sounds[SND_COUNT];
extern SampleSet g_voices[VOICE_COUNT];
extern const char* const kVoiceFolders[VOICE_COUNT];

// The effects of `effectSet` (each falling back to the Default set) and the
// announcer lines of `announcerSet`. Both names are kept: the lines that are not
// preloaded are read from the announcer set when they play.
void LoadSounds(const char* effectSet, const char* announcerSet);
void FreeSounds();
// 0 effect set (falls back to Default), 1 announcer set (no fallback); the sets
// LoadSounds was given.
uint32_t LoadSoundSample(int setKind, const char* name, uint32_t maxPlaybacks, uint32_t flags);
// The samples of a voice folder of the announcer set LoadSounds was given.
void SoundFX_FindFiles(const char* folder, SampleSet& set, bool preload);
void PlaySampleSet(const char* folder, SampleSet& set, bool queued);
void PlayVoice(VoiceId v, bool queued = false);
void FreeSampleSet(SampleSet& set);
uint32_t PlaySound(SoundId id);            // a direct play; 0 when not loaded
// The play queue: 8 slots; a ninth sample overwrites the first.
bool QueueSample(uint32_t sample);
// Played by the media worker about every 5 ms: the queued samples, then empty.
int SoundQueue_Serve();
// Empties the queue without playing it.
void SoundQueue_Clear();
// For the tests: the random variant after `last` among `count` (r in 0..32767).
int SampleSet_PickIndex(int count, int last, int (*random)());
