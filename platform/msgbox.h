#pragma once
// Message boxes for fatal start-up failures and notices. The text always goes to
// standard error as "caption: text" and to the log. When a real display is up the
// screen layer registers a hook that also shows the text until a key is pressed;
// with the dummy video driver or no display nothing ever waits.

using MessageBoxHook = void (*)(const char* text, const char* caption);

void MessageBox_Show(const char* text, const char* caption);
void MessageBox_SetHook(MessageBoxHook hook);   // nullptr removes it
