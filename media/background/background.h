#pragma once
// Play backgrounds: 36 definitions made by a song's background script (or by
// the random timeline), four layers that show the definition current on each,
// and the events that switch them as the song plays.
//
// Positions are song positions in sixteenths (an eighth note is 2 units). The
// layer records are plain copies of definitions; the sources they point at
// (pictures, strips, movies, plug-in instances) belong to the definitions.
//
// Threads: the main thread loads, switches, advances and draws; the media worker
// decodes movie and plug-in frames and copies updated definitions into layers.
// Layers and request slots are shared under g_drawLock (the layer lock), frame
// pixels under g_movieLock.
#include <atomic>
#include <cstdint>
#include <string>
#include <vector>

class Image;
class AnimationStrip;
class MoviePlayer;
class VisInstance;

enum BackgroundType {
  BG_NONE = -1,
  BG_PICTURE = 0,
  BG_STRIP = 1,
  BG_MOVIE = 2,
  BG_VIS = 3,
  BG_OFF = 4,   // switches its layer off when it becomes current
};

constexpr int kBackgrounds = 36;
constexpr int kBackgroundLayers = 4;
constexpr int kBackgroundRequests = 8;

// "STRETCH:" and "FADE:": `on` means the value changes by its per-unit step as
// the song moves; the value now (size, alpha) holds whether or not it does. A
// stretch or fade given without a duration is at its end value at once.
struct BackgroundStretch {
  bool on = false;
  double width = 0, height = 0;     // now
  int32_t endWidth = 0, endHeight = 0;
  int32_t duration = 0;             // units
  double dWidth = 0, dHeight = 0;   // per unit
};

struct BackgroundFade {
  bool on = false;
  double alpha = 255;               // now
  int32_t endAlpha = 255;
  int32_t duration = 0;             // units
  double dAlpha = 0;                // per unit
};

struct Background {
  int32_t type = BG_NONE;
  int32_t layer = 0;                // 0 base picture, 1-3 overlays (colour keyed)
  int32_t width = 0, height = 0;    // drawn size
  double x = 0, y = 0;
  bool moving = false;
  double dx = 0, dy = 0;            // per unit
  bool keepPosition = false;
  bool tiled = false;
  int32_t spacingX = 0, spacingY = 0;
  BackgroundStretch stretch;
  BackgroundFade fade;
  bool keepTime = false;
  uint32_t colour = 0xFFFFFF;       // "MULT:"
  int64_t startAtMs = 0;            // movie: "STARTAT:" x 1000
  // the source, owned by the definition
  Image* picture = nullptr;
  AnimationStrip* strip = nullptr;
  MoviePlayer* movie = nullptr;
  VisInstance* vis = nullptr;
  // set by the layers while the background is current
  int32_t id = -1;                  // its definition
  double shownAtMs = 0;             // song time it became current (strips, movies)
};

struct BackgroundEvent {
  double position;
  int32_t id;
  int32_t unused;
};
static_assert(sizeof(BackgroundEvent) == 16);

// What the game's settings and the song tell the loader.
struct BackgroundParams {
  bool processScripts = true;       // "Process BG Scripts"
  int randomAnimations = 3;         // 0 off, 1 movies, 2 visualizations, 3 both
  int brightness = 80;              // "BG Brightness", per cent
  int aviQuality = 5;               // 0 off (no movies), 1..10
  int svpQuality = 5;               // 0 off (no visualizations), 1..10
  int visNumber = 1;                // 0 a single plug-in, 1 several
  int visPlugin = 0;                // 0 random, n: the n-th plug-in of the list
  bool alphaMovies = true;          // "/altmovie" or the SDL back-end
  double msPerBeat = 500;           // the song's first tempo, for "ANIMATE:" n
  double endPosition = 0;           // the largest last-note position of the players' charts
  bool loadSources = true;          // false: parse only (nothing opened from disk)
  // With loadSources false the plug-in list is not read: this many plug-ins stand
  // in for it in the random timeline (tests and fuzzing).
  int visCountWithoutSources = 0;
};

// A script's timeline keeps at most this many events (the rest are left out,
// with a log line).
constexpr size_t kMaxBackgroundEvents = 65536;

// defs[0] is the song's own background picture: the loader leaves it a layer-0
// still picture with no picture of its own (picture == nullptr), and the layers
// draw the song's background for it. A definition whose source failed to load is
// BG_NONE. With BackgroundParams::loadSources false every definition keeps its
// type and parameters but has no source object: the layers draw nothing for it.
struct Backgrounds {
  Background defs[kBackgrounds];
  Background layers[kBackgroundLayers];
  std::vector<BackgroundEvent> events;
  size_t nextEvent = 0;
  bool scriptUsed = false;          // a "#BACKGROUND:" section was read
  std::atomic<bool> active{false};  // the play shows the layers (worker serves them)
  std::atomic<bool> paused{false};
  // the random sources
  std::vector<std::string> randomSources;   // file names in randomFolder
  std::string randomFolder;
  double randStart = 32;
  uint32_t randSeed = 0;
  bool visFrame = false;            // a definition made the plug-in frame (freed on reset)
  // request slots: a definition the worker should decode and make current on a
  // layer; -1 when free
  int32_t requestId[kBackgroundRequests] = {-1, -1, -1, -1, -1, -1, -1, -1};
  int32_t requestLayer[kBackgroundRequests] = {-1, -1, -1, -1, -1, -1, -1, -1};
  // what the worker needs of the play
  uint32_t musicChannel = 0;
  std::atomic<double> clockMs{0};   // the play clock, set by the main thread each frame
  double lastPosition = 0;          // song position the layers were last advanced to
};

extern Backgrounds g_backgrounds;

// Resets the 36 definitions, finds the random movie sources, parses the
// background script in the chart file, and generates the random timeline when no
// script section was used and random backgrounds are on. songFolder is the
// folder holding the chart file ("Songs/<group>/<song>").
bool LoadBackgroundScript(const char* songFolder, const char* chartFile, const BackgroundParams& params);
// The same from the chart's text (already read): what the fuzz target drives.
void BackgroundScript_FromText(const char* text, size_t length, const char* songFolder,
                               const BackgroundParams& params);
// The play's side, every frame on the main thread. Start: layer 0 shows the
// song's own picture (definition 0 draws `songPicture`), the others nothing, and
// the events from `position` on are still to come.
void Backgrounds_Start(double position, double clockMs, uint32_t musicChannel, Image* songPicture);
// Switches the layers at every event up to `position`, then moves, stretches and
// fades them by the units the song has advanced since the last call.
void Backgrounds_Update(double position, double clockMs);
void Backgrounds_Draw();
void Backgrounds_Stop();
// The media worker's turn, every 5 ms: serves the request slots, else decodes
// the next due frame of each movie or visualization layer.
void Backgrounds_ServeWorker();

// Frees every definition's source and empties the layers and events.
void ResetBackgrounds();
// Decodes the first frame of every movie and visualization definition.
void PrimeBackgrounds();
