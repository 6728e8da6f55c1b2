#pragma once
// The song search with its progress screen: the indexer runs on a worker thread
// while the screen shows what it is doing.
#include "library/indexer.h"

// Runs the indexer over "Songs" into "rkv2.sng"; returns when it has finished.
// The counts of what changed are left in `result`. `rebuild`: the database is
// made anew (see indexSongs).
void runSongSearch(IndexProgress& result, bool rebuild = false);
