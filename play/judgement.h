#pragma once
// Judgements and the per-record state the judgement keeps in the Arrow records
// of the song being played. Only play/judge* writes these words; the note field
// and the HUD read them.
#include <cstdint>

// Judgement indices, lower is better.
constexpr int JUDGE_PERFECT = 0, JUDGE_GREAT = 1, JUDGE_GOOD = 2, JUDGE_BOO = 3, JUDGE_MISS = 4;
constexpr uint8_t kNoJudgement = 255;   // Player::lastJudgement before the first row

// Arrow::status of a tap record (kind 0):
constexpr uint8_t NOTE_PENDING = 5;     // as loaded: not pressed yet
constexpr uint8_t NOTE_PRESSED = 6;     // pressed; its row waits for the rest of its notes
constexpr uint8_t NOTE_JUDGED = 7;      // its row is judged: judgement[0] holds the row's judgement
// Arrow::status of a freeze record (kind 1):
constexpr uint8_t FREEZE_WAITING = 5;   // as loaded: the head's row is not judged yet
constexpr uint8_t FREEZE_HELD = 8;      // the head was hit; the column is being held
constexpr uint8_t FREEZE_OK = 9;        // held to its end
constexpr uint8_t FREEZE_NG = 10;       // released early, or the head was not hit

// Arrow::judgement words of a tap record:
//  [0] the note's own judgement once pressed, then the row's (worst) judgement
//  [1] the signed time difference of the press in whole ms (positive: early)
//  [2] autoplay's target judgement (0 after loading: PERFECT)
constexpr int kOwnJudgement = 0, kPressOffset = 1, kAutoTarget = 2;

// Points: a fully PERFECT chart of rating r is worth min(r, 15) x 10,000,000.
constexpr int kMaxScoredRating = 15;
