#include "play/judge_frame.h"
#include "play/player.h"

void PlayerInput_Clear(PlayerInput& in) {
  in.count = 0;
  in.held = 0;
}

bool PlayerInput_Add(PlayerInput& in, int column, int64_t ms, int32_t note) {
  if (in.count < 0 || in.count >= kMaxFramePresses || column < 0 || column > 255) return false;
  in.presses[in.count++] = Press{ms, note, (uint8_t)column};
  return true;
}

void Judge_Frame(JudgePlay& jp, const JudgeClock& clock, const PlayerInput input[2]) {
  JudgeEvents_Clear(jp.events);
  if (!JudgeClock_Usable(clock)) return;
  for (int pi = 0; pi < 2; pi++) {
    if (!jp.players[pi]) continue;
    const PlayerInput& in = input[pi];
    int count = in.count < 0 ? 0 : in.count > kMaxFramePresses ? kMaxFramePresses : in.count;
    for (int k = 0; k < count; k++) {
      const Press& pr = in.presses[k];
      if (pr.note >= 0)
        Judge_PressNote(jp, pi, pr.note, pr.ms, clock);
      else
        JudgePress(jp, pi, pr.column, pr.ms, clock);
    }
    JudgeMisses(jp, pi, clock);
    Judge_Holds(jp, pi, in.held, clock);
  }
}
