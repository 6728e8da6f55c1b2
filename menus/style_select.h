#pragma once
// The style select screen: before an arcade game or a nonstop course the
// players choose SINGLE, VERSUS, DOUBLE (page 0) or SOLO (page 1). It decides
// which players are active and which style each record carries.
#include "chart/player_record.h"

// The style banner later screens draw for the chosen style (a cell of the
// skin's "rkv2-styles.png"): 0 player 1 SINGLE, 1 player 2 SINGLE, 2 VERSUS,
// 3 DOUBLE, 4 player 1 SOLO, 5 player 2 SOLO.
extern int g_styleBanner;

// `players` are the two records; their active flags on entry say who pressed
// Start on the title menu. 1 when a style was chosen, 0 when the players backed out.
int StyleSelect(Player players[2]);
