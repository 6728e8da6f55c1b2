#include "play/judge_events.h"

void JudgeEvents_Clear(JudgeEvents& e) {
  e.count = 0;
  e.dropped = 0;
}

void JudgeEvents_Add(JudgeEvents& e, const JudgeEvent& ev) {
  if (e.count < 0 || e.count >= kMaxJudgeEvents) {
    e.dropped++;
    return;
  }
  e.list[e.count++] = ev;
}
