#pragma once
// The end of a game: "G A M E   O V E R" after a game that was lost, the
// credits after one that was not.
#include <cstdint>

// `failed`: the game was lost (the game-over text), else the credits screen runs.
// `musicChannel`: a channel still playing that the screen stops at its end (0 none).
void GameOverScreen(bool failed, uint32_t musicChannel);

// The text's opacity `n` ms after the screen began: rising for half a second,
// full until 2.5 s, gone at 3 s. The screen ends after 4 s.
int GameOver_Opacity(uint32_t n);
constexpr uint32_t kGameOverMs = 4000;
