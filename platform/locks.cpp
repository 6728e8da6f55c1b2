#include "platform/locks.h"

std::timed_mutex g_drawLock;
std::timed_mutex g_soundQueueLock;
std::timed_mutex g_movieLock;
std::timed_mutex g_pluginLock;
