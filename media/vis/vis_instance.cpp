// Placeholder until plug-in loading lands: no plug-ins are found.
#include "media/vis/vis.h"

namespace { Image g_frame; }
VisInstance::~VisInstance() { Free(); }
bool VisInstance::Load(const char*, int) { return false; }
void VisInstance::Free() { loaded = false; }
bool VisInstance::Render(uint32_t, uint32_t) { return false; }
void Vis_Search(const char*) {}
void Vis_Unload() {}
int Vis_Count() { return 0; }
const char* Vis_PathAt(uint32_t) { return ""; }
const char* Vis_NameAt(uint32_t) { return ""; }
const char* const* Vis_Names() { return nullptr; }
bool Vis_CreateFrame(int, bool) { return false; }
void Vis_FreeFrame() {}
void Vis_ClearFrame() {}
void Vis_SetFade(float) {}
Image& Vis_FrameImage() { return g_frame; }
int32_t Vis_FrameWidth() { return 0; }
int32_t Vis_FrameHeight() { return 0; }
