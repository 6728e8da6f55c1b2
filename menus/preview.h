#pragma once
// The preview of a song's music on the song wheel and the modifier screen: it
// plays from the song's sample start at full volume, and after the sample's
// length fades by one step of volume every 15 ms; at the bottom of the fade it
// stops, and 500 ms later it starts again from the sample start. A song whose
// music does not open leaves the screen silent.
#include <cstdint>

constexpr uint32_t kPreviewFadeStepMs = 15;   // one step of volume (of 100)
constexpr uint32_t kPreviewSilenceMs = 500;   // between the fade's end and the next start

// Where a preview stands `sinceStartMs` after it last started, for a sample of
// `lengthMs`: its volume 0..100, or -1 once it has stopped; `restart` when the
// silence after the fade is over.
struct PreviewStep {
  int volume;
  bool restart;
};
PreviewStep Preview_StepAt(uint32_t lengthMs, uint32_t sinceStartMs);

// Starts the preview of song `song` (index in the song table), replacing any
// preview playing. False (and silence) when its music cannot be opened.
bool Preview_Start(int song, uint32_t nowMs);
// The fade loop; call once a frame.
void Preview_Frame(uint32_t nowMs);
// Stops and frees the preview.
void Preview_Stop();
// The song whose preview plays or waits to restart, -1 none.
int Preview_Song();
// The music stream's channel, 0 while silent.
uint32_t Preview_Channel();
