// The process-wide background record.
#include "media/background/background.h"

Backgrounds g_backgrounds;
