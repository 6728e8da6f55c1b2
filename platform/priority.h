#pragma once
// Process and thread priority, best effort: a refusal (no privilege) is no error.

void Priority_RaiseProcess();
// 1 above normal, 2 the highest the system allows.
void Priority_RaiseThread(int level);
