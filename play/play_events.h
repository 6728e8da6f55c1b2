#pragma once
// What the judgement's events of a frame become on screen and in the speakers:
// explosions and freeze marks on the note field, combo milestones on the HUD,
// announcer lines and sound effects queued for the media worker; and the assist
// tick as notes reach the receptors.
struct Play;
struct JudgeClock;

void PlayEvents_Show(Play& play, double nowMs);
// Once as each note comes within 20 ms of the receptor, while the tick is on.
void PlayEvents_AssistTicks(Play& play, const JudgeClock& jc);
