/* A test plug-in whose QueryModule has no module to give. */
#include "tarvolen_vis.h"
#include <stddef.h>

TV_VIS_EXPORT const TvVisModule* QueryModule(void) { return NULL; }
