// The style banner chosen on the style select screen, which the later screens
// of a game draw.
#include "menus/style_select.h"

int g_styleBanner = 0;
