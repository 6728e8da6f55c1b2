#pragma once
// The media worker: runs during play, every 5 ms serving the sound queue (and,
// once backgrounds move, their frames). Started after the backgrounds are primed,
// stopped in the play's tear-down.

bool MediaWorker_Start(int threadPriority, bool boost);
void MediaWorker_Stop();
bool MediaWorker_Running();
