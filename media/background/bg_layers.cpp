// The four layers during a play: switched at the script's events, moved,
// stretched and faded by song position, drawn under the arrows, and fed with
// movie and plug-in frames by the media worker.
//
// How they behave where a script leaves it open:
// - An event makes its definition current on the definition's own layer; an
//   unused definition changes nothing, an OFF one empties its layer, "0" puts
//   the song's own picture back on layer 0.
// - A background comes back as its definition says (position, size, alpha),
//   unless it has KEEPPOS: then it goes on from where it was moved to.
// - A movie starts at its STARTAT each time it comes on, unless it has KEEPTIME:
//   then it runs with the song (song time + STARTAT), as if it had never stopped.
//   Movies loop.
// - A moving background that is not tiled wraps around the screen's edges; a
//   tiled one scrolls its tiles endlessly.
// - Movement, stretch and fade follow the song position, so they stop while a
//   freeze holds the scroll and run at the song's speed.
#include "media/background/animation_strip.h"
#include "media/background/background.h"
#include "media/background/movie_player.h"
#include "media/render/image.h"
#include "media/vis/vis.h"
#include "platform/locks.h"
#include <algorithm>
#include <chrono>
#include <cmath>

namespace {
constexpr int kScreenW = 640, kScreenH = 480;
constexpr double kVisFrameMs = 1000.0 / 60;   // plug-ins draw at most 60 frames a second
constexpr int kMaxTiles = 4096;               // tiles of one layer per frame, however small

Image* g_songPicture = nullptr;
Background g_drawn[kBackgroundLayers];        // the layers as the main thread last read them

// The worker's own bookkeeping per layer.
struct WorkerLayer {
  int32_t id = -1;
  double lastMovieMs = -1;
  double nextVisMs = 0;
};
WorkerLayer g_work[kBackgroundLayers];
// Switches made on each layer, under the layer lock: a request the worker served
// is only shown if no switch came after it.
uint32_t g_switches[kBackgroundLayers];
uint32_t g_requestSwitch[kBackgroundRequests];

using Clock = std::chrono::milliseconds;

bool lockLayers() { return g_drawLock.try_lock_for(Clock(kLockWaitMs)); }

Background songDefinition() {
  Background b;
  b.type = BG_PICTURE;
  b.layer = 0;
  b.width = kScreenW;
  b.height = kScreenH;
  b.id = 0;
  return b;
}

bool isStreamed(int type) { return type == BG_MOVIE || type == BG_VIS; }

// Movie time of a current movie background.
double movieTime(const Background& b, double clockMs) {
  double t = b.keepTime ? clockMs : clockMs - b.shownAtMs;
  return std::max(0.0, t) + (double)b.startAtMs;
}

void forgetRequests(int layer) {
  for (int s = 0; s < kBackgroundRequests; s++)
    if (g_backgrounds.requestLayer[s] == layer) g_backgrounds.requestId[s] = -1;
}

// Leaving a layer: a KEEPPOS background hands its position back to its
// definition; a visualization leaves a clear frame for the next one.
void leave(Background& current) {
  if (current.id > 0 && current.id < kBackgrounds && current.keepPosition) {
    g_backgrounds.defs[current.id].x = current.x;
    g_backgrounds.defs[current.id].y = current.y;
  }
  if (current.type == BG_VIS) Vis_ClearFrame();
}

void switchTo(int id, double clockMs) {
  if (id < 0 || id >= kBackgrounds) return;
  Background def = id == 0 ? songDefinition() : g_backgrounds.defs[id];
  if (def.type == BG_NONE) return;
  int layer = std::clamp(def.layer, 0, kBackgroundLayers - 1);
  Background& current = g_backgrounds.layers[layer];
  g_switches[layer]++;
  if (def.type == BG_OFF) {
    forgetRequests(layer);
    leave(current);
    current = Background{};
    return;
  }
  if (isStreamed(def.type)) {
    // the worker decodes its first frame and then makes it current
    for (int s = 0; s < kBackgroundRequests; s++) {
      if (g_backgrounds.requestId[s] >= 0 && g_backgrounds.requestLayer[s] != layer) continue;
      forgetRequests(layer);
      g_backgrounds.requestId[s] = id;
      g_backgrounds.requestLayer[s] = layer;
      g_requestSwitch[s] = g_switches[layer];
      return;
    }
    return;   // every slot busy with other layers: this switch is skipped
  }
  forgetRequests(layer);
  leave(current);
  current = def;
  current.id = id;
  current.shownAtMs = clockMs;
}

// Moves `value` by `delta` toward `end`, never past it.
double toward(double value, double delta, double end) {
  double v = value + delta;
  if ((delta > 0 && v > end) || (delta < 0 && v < end)) v = end;
  return v;
}

double wrap(double v, double low, double span) {
  if (span <= 0) return v;
  if (v >= low && v < low + span) return v;
  return low + std::fmod(std::fmod(v - low, span) + span, span);
}

void advance(Background& b, double units) {
  if (b.type < BG_PICTURE || b.type > BG_MOVIE) return;
  if (b.stretch.on) {
    b.stretch.width = toward(b.stretch.width, b.stretch.dWidth * units, b.stretch.endWidth);
    b.stretch.height = toward(b.stretch.height, b.stretch.dHeight * units, b.stretch.endHeight);
    b.width = std::max(1, (int32_t)std::lround(b.stretch.width));
    b.height = std::max(1, (int32_t)std::lround(b.stretch.height));
    if (b.stretch.width == b.stretch.endWidth && b.stretch.height == b.stretch.endHeight) b.stretch.on = false;
  }
  if (b.fade.on) {
    b.fade.alpha = toward(b.fade.alpha, b.fade.dAlpha * units, b.fade.endAlpha);
    if (b.fade.alpha == b.fade.endAlpha) b.fade.on = false;
  }
  if (b.moving) {
    b.x += b.dx * units;
    b.y += b.dy * units;
    if (b.tiled) {
      // only the phase of the tiles matters
      b.x = wrap(b.x, -(double)(b.width + b.spacingX), b.width + b.spacingX);
      b.y = wrap(b.y, -(double)(b.height + b.spacingY), b.height + b.spacingY);
    } else {
      b.x = wrap(b.x, -(double)b.width, kScreenW + b.width);
      b.y = wrap(b.y, -(double)b.height, kScreenH + b.height);
    }
  }
}

void drawImage(Image& img, const Background& b) {
  if (!img.loaded || b.width <= 0 || b.height <= 0) return;
  img.SetSize(b.width, b.height, 0);
  img.SetColour(b.colour);
  img.SetSurfaceAlpha(std::clamp((int)std::lround(b.fade.alpha), 0, 255));
  if (!b.tiled) {
    img.SetPosition((int32_t)std::floor(b.x), (int32_t)std::floor(b.y));
    img.Draw();
    return;
  }
  int stepX = b.width + std::max(0, b.spacingX), stepY = b.height + std::max(0, b.spacingY);
  double x0 = wrap(b.x, -(double)stepX, stepX), y0 = wrap(b.y, -(double)stepY, stepY);
  int tiles = 0;
  for (double y = y0; y < kScreenH; y += stepY)
    for (double x = x0; x < kScreenW; x += stepX) {
      if (++tiles > kMaxTiles) return;
      img.SetPosition((int32_t)std::floor(x), (int32_t)std::floor(y));
      img.Draw();
    }
}

void drawSongPicture() {
  if (!g_songPicture || !g_songPicture->loaded) return;
  g_songPicture->SetPosition(0, 0);
  g_songPicture->Draw();
}

void drawLayer(const Background& b, double clockMs) {
  switch (b.type) {
    case BG_PICTURE:
      if (b.id == 0) {
        drawSongPicture();
      } else if (b.picture) {
        drawImage(*b.picture, b);
      }
      break;
    case BG_STRIP:
      if (b.strip && b.strip->Select((int64_t)(clockMs - b.shownAtMs))) drawImage(b.strip->image, b);
      break;
    case BG_MOVIE:
    case BG_VIS: {
      Image* img = b.type == BG_MOVIE ? (b.movie ? &b.movie->frame : nullptr) : (b.vis ? &Vis_FrameImage() : nullptr);
      if (!img) break;
      // the worker may be writing the frame: skip it rather than stall the play
      if (!g_movieLock.try_lock_for(Clock(kLockWaitMs))) break;
      drawImage(*img, b);
      g_movieLock.unlock();
      break;
    }
    default: break;
  }
}

void decode(Background& b, int layer, double clockMs, bool first) {
  WorkerLayer& w = g_work[layer];
  if (b.type == BG_MOVIE && b.movie && b.movie->open) {
    // the player knows when its next frame is due, in the time it was given
    double t = movieTime(b, clockMs);
    if (first || t < w.lastMovieMs || t >= (double)b.movie->nextFrameMs) b.movie->Frame((int64_t)t, false);
    w.lastMovieMs = t;
  } else if (b.type == BG_VIS && b.vis && b.vis->loaded) {
    if (!first && clockMs < w.nextVisMs) return;
    b.vis->Render((uint32_t)std::max(0.0, clockMs), g_backgrounds.musicChannel);
    w.nextVisMs = clockMs + kVisFrameMs;
  }
}
}  // namespace

void Backgrounds_Start(double position, double clockMs, uint32_t musicChannel, Image* songPicture) {
  g_songPicture = songPicture;
  g_backgrounds.musicChannel = musicChannel;
  g_backgrounds.clockMs = clockMs;
  for (int s = 0; s < kBackgroundRequests; s++) g_backgrounds.requestId[s] = -1;
  for (int l = 0; l < kBackgroundLayers; l++) {
    g_backgrounds.layers[l] = Background{};
    g_work[l] = WorkerLayer{};
  }
  g_backgrounds.layers[0] = songDefinition();
  std::stable_sort(g_backgrounds.events.begin(), g_backgrounds.events.end(),
                   [](const BackgroundEvent& a, const BackgroundEvent& b) { return a.position < b.position; });
  g_backgrounds.nextEvent = 0;
  g_backgrounds.lastPosition = position;
  g_backgrounds.paused = false;
  g_backgrounds.active = true;
  for (int l = 0; l < kBackgroundLayers; l++) g_drawn[l] = g_backgrounds.layers[l];
}

void Backgrounds_Update(double position, double clockMs) {
  Backgrounds& bg = g_backgrounds;
  bg.clockMs = clockMs;
  if (!bg.active) return;
  // a frame that cannot have the layers in time leaves them for the next one
  if (!lockLayers()) return;
  // each background moves only from its own event on
  auto advanceTo = [&](double to) {
    double units = to - bg.lastPosition;
    if (units > 0)
      for (Background& b : bg.layers) advance(b, units);
    bg.lastPosition = std::max(bg.lastPosition, to);
  };
  while (bg.nextEvent < bg.events.size() && bg.events[bg.nextEvent].position <= position) {
    advanceTo(bg.events[bg.nextEvent].position);
    switchTo(bg.events[bg.nextEvent].id, clockMs);
    bg.nextEvent++;
  }
  advanceTo(position);
  for (int l = 0; l < kBackgroundLayers; l++) g_drawn[l] = bg.layers[l];
  g_drawLock.unlock();
}

void Backgrounds_Draw() {
  if (!g_backgrounds.active) {
    drawSongPicture();
    return;
  }
  double clockMs = g_backgrounds.clockMs;
  for (const Background& b : g_drawn) drawLayer(b, clockMs);
}

void Backgrounds_Stop() {
  g_backgrounds.active = false;
  g_songPicture = nullptr;
  for (Background& b : g_drawn) b = Background{};
}

void Backgrounds_ServeWorker() {
  Backgrounds& bg = g_backgrounds;
  if (!bg.active || bg.paused) return;
  double clockMs = bg.clockMs;
  // the requests and the layers as they are, under one wait for the lock
  struct Request {
    int id, layer;
    uint32_t switchNo;
  } requests[kBackgroundRequests];
  Background current[kBackgroundLayers];
  if (!lockLayers()) return;
  for (int s = 0; s < kBackgroundRequests; s++) {
    requests[s] = {bg.requestId[s], bg.requestLayer[s], g_requestSwitch[s]};
    bg.requestId[s] = -1;
  }
  for (int l = 0; l < kBackgroundLayers; l++) current[l] = bg.layers[l];
  g_drawLock.unlock();
  bool served = false;
  for (const Request& r : requests) {
    int id = r.id, layer = r.layer;
    uint32_t switchNo = r.switchNo;
    if (id <= 0 || id >= kBackgrounds || layer < 0 || layer >= kBackgroundLayers) continue;
    Background next = bg.defs[id];
    next.id = id;
    next.shownAtMs = clockMs;
    g_work[layer] = WorkerLayer{};
    g_work[layer].id = id;
    decode(next, layer, clockMs, true);
    if (!lockLayers()) continue;   // given up: the layer keeps what it showed
    // a switch made by the main thread meanwhile wins over this request
    if (g_switches[layer] == switchNo) {
      leave(bg.layers[layer]);
      bg.layers[layer] = next;
    }
    g_drawLock.unlock();
    served = true;
  }
  if (served) return;
  for (int l = 0; l < kBackgroundLayers; l++) {
    Background& b = current[l];
    if (!isStreamed(b.type)) continue;
    if (g_work[l].id != b.id) {
      g_work[l] = WorkerLayer{};
      g_work[l].id = b.id;
    }
    decode(b, l, clockMs, false);
  }
}
