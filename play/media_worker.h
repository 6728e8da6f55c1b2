#pragma once
// The media worker: runs during play, every 5 ms decoding the background layers' movie and
// plug-in frames and serving the sound queue. Started after the backgrounds are primed,
// stopped in the play's tear-down.

bool MediaWorker_Start(int threadPriority, bool boost);
void MediaWorker_Stop();
bool MediaWorker_Running();
