#pragma once
// What the judgement did in one frame, for the screen to show and the sounds to
// queue. The judgement itself draws and plays nothing.
#include <cstdint>

enum JudgeEventKind : uint8_t {
  JEV_ROW,             // a row was judged: judgement, note = one of its records, value = its notes.
                       // PERFECT and GREAT rows leave the field with an explosion (walk chordNext)
  JEV_FREEZE_OK,       // note = the freeze record, value = its column
  JEV_FREEZE_NG,       // note = the freeze record, value = its column: show the NG mark
  JEV_COMBO_MILESTONE, // value = the hundreds picture, 1..10
  JEV_COMBO_BROKEN,    // value = the combo that was broken (50 or more sets the long-combo flag)
  JEV_LIFE_LOST,       // a battery life went ("loselife"); value = lives left
  JEV_DIED,            // the player failed
  JEV_REVIVED,         // a dead player came back (2-player revive)
  JEV_CUE_FULL_GAUGE,  // announcer: the gauge is full (at most once in 10 seconds)
  JEV_CUE_DANGER,      // announcer: the gauge fell into danger (at most once in 10 seconds)
};

struct JudgeEvent {
  uint8_t kind;        // JudgeEventKind
  uint8_t player;      // 0 or 1
  int8_t judgement;    // JEV_ROW: 0..4; else -1
  int32_t note;        // a record index, or -1
  int32_t value;
  int64_t ms;          // the song clock of the press or the frame
};

constexpr int kMaxJudgeEvents = 128;

struct JudgeEvents {
  JudgeEvent list[kMaxJudgeEvents];
  int count;
  int dropped;         // events that did not fit (the statistics are complete all the same)
};

void JudgeEvents_Clear(JudgeEvents& e);
void JudgeEvents_Add(JudgeEvents& e, const JudgeEvent& ev);
