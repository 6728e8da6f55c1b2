#pragma once
// Shows message boxes on the game screen when a real display is up: the caption
// and the text until a key is pressed. With the dummy video driver nothing waits.
void MessageScreen_Install();
