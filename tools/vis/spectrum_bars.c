/*
 * "Spectrum Bars": the music's spectrum as a row of glowing bars over a dark
 * floor, with a soft reflection, bars that fall back smoothly and peak caps that
 * hang for a moment before they drop. Draws the whole frame every time, at
 * whatever size the frame is given.
 */
#include "tarvolen_vis.h"
#include <math.h>
#include <string.h>

#define MAX_BARS 40
#define FIRST_BIN 1
#define HEADROOM 0.92f  /* a full bar leaves room for its cap */
#define LAST_BIN 180     /* bin 180 of 256 is near 15,500 Hz for music at 44,100 Hz: little lives above */

static float g_level[MAX_BARS];     /* shown height, 0..1 */
static float g_peak[MAX_BARS];      /* cap height, 0..1 */
static float g_peakHold[MAX_BARS];  /* ms left before the cap falls */
static float g_peakSpeed[MAX_BARS];
static uint32_t g_lastTime;
static int g_started;

static float clamp01(float v) { return v < 0 ? 0 : v > 1 ? 1 : v; }

static uint32_t rgb(float r, float g, float b) {
  return TV_VIS_RGB((int)(clamp01(r) * 255 + 0.5f), (int)(clamp01(g) * 255 + 0.5f), (int)(clamp01(b) * 255 + 0.5f));
}

/* The bar colour at height t (0 floor .. 1 top): teal, violet, then warm. */
static void barColour(float t, float across, float* r, float* g, float* b) {
  float warm = clamp01((t - 0.55f) / 0.45f);
  float mid = clamp01(t / 0.55f);
  *r = 0.10f + 0.60f * mid + 0.30f * warm + 0.15f * across;
  *g = 0.75f - 0.55f * mid + 0.35f * warm;
  *b = 0.85f + 0.10f * mid - 0.65f * warm - 0.10f * across;
}

/* The loudness of one bar: the loudest bin of its band in either channel, on a
 * soft logarithmic scale so that quiet passages still move. */
static float bandLevel(const TvVisSoundData* s, int bar, int bars) {
  float lo = FIRST_BIN * powf((float)LAST_BIN / FIRST_BIN, (float)bar / bars);
  float hi = FIRST_BIN * powf((float)LAST_BIN / FIRST_BIN, (float)(bar + 1) / bars);
  int a = (int)lo, z = (int)hi;
  int k, best = 0;
  if (z <= a) z = a + 1;
  for (k = a; k < z && k < 256; k++) {
    if (s->spectrum[0][k] > best) best = s->spectrum[0][k];
    if (s->spectrum[1][k] > best) best = s->spectrum[1][k];
  }
  /* high bands carry less energy: lift them a little */
  return clamp01(logf(1.0f + best * (1.0f + 2.0f * bar / bars) * 0.25f) / logf(1.0f + 255 * 0.25f));
}

static void Start(void) {
  memset(g_level, 0, sizeof g_level);
  memset(g_peak, 0, sizeof g_peak);
  memset(g_peakHold, 0, sizeof g_peakHold);
  memset(g_peakSpeed, 0, sizeof g_peakSpeed);
  g_lastTime = 0;
  g_started = 1;
}

static void Stop(void) { g_started = 0; }

/* The song's position, read once and left unused: our own plug-ins go through
 * the query table too, so every play that shows these bars uses that path. The
 * bars themselves need only the sound data. */
static void AcceptQuery(TvVisQuery* q) {
  int position = 0;
  if (q && q->table && q->table->QueryInt) q->table->QueryInt("currentsongposition", &position);
}

static int DrawFrame(uint32_t* pixels, int width, int height, int pitch, const TvVisSoundData* s) {
  int bars, bar, x, y;
  float dt, floorY, barW, gap;
  if (!pixels || width < 4 || height < 4 || !s) return 0;
  if (!g_started) Start();
  /* the song clock may jump (a new song, a seek): treat that as one frame */
  dt = (float)(s->time - g_lastTime);
  if (s->time < g_lastTime || dt > 250) dt = 16;
  g_lastTime = s->time;

  bars = width / 8;
  if (bars > MAX_BARS) bars = MAX_BARS;
  if (bars < 2) bars = 2;
  for (bar = 0; bar < bars; bar++) {
    float want = bandLevel(s, bar, bars);
    /* rise at once, fall back smoothly (about one height a second, easing) */
    if (want > g_level[bar]) g_level[bar] = want;
    else g_level[bar] -= (g_level[bar] - want) * (1.0f - powf(0.02f, dt / 1000.0f)) + 0.0002f * dt;
    if (g_level[bar] < 0) g_level[bar] = 0;
    if (g_level[bar] >= g_peak[bar]) {
      g_peak[bar] = g_level[bar];
      g_peakHold[bar] = 350;
      g_peakSpeed[bar] = 0;
    } else if ((g_peakHold[bar] -= dt) < 0) {
      g_peakSpeed[bar] += 0.000004f * dt;   /* gravity */
      g_peak[bar] -= g_peakSpeed[bar] * dt;
      if (g_peak[bar] < g_level[bar]) g_peak[bar] = g_level[bar];
    }
  }

  floorY = height * 0.78f;
  barW = (float)width / bars;
  gap = barW * 0.22f;
  for (y = 0; y < height; y++) {
    uint32_t* row = pixels + (size_t)y * pitch;
    float fromFloor = (floorY - y) / floorY;   /* 1 top .. 0 floor .. negative below */
    /* the backdrop: deep blue at the top into black, a faint grid above the floor */
    float bgR = 0.02f, bgG = 0.02f + 0.03f * (1 - (float)y / height), bgB = 0.06f + 0.10f * (1 - (float)y / height);
    int gridLine = fromFloor > 0 && ((int)(y * 12 / floorY) != (int)((y + 1) * 12 / floorY));
    for (x = 0; x < width; x++) {
      float fx = x / barW;
      int b = (int)fx;
      float inBar = fx - b;
      float r = bgR, g = bgG, bl = bgB;
      if (gridLine) { r += 0.03f; g += 0.04f; bl += 0.07f; }
      if (b < bars && inBar * barW >= gap * 0.5f && inBar * barW <= barW - gap * 0.5f) {
        float level = g_level[b] * HEADROOM, across = (float)b / bars;
        float cr, cg, cb;
        if (fromFloor >= 0 && fromFloor <= level) {
          /* the bar: brighter toward its edges' centre line, shaded by height */
          /* kept below full brightness: the arrows go on top */
          float shade = 0.80f * (0.55f + 0.45f * (1.0f - fabsf(inBar - 0.5f) * 1.2f));
          barColour(fromFloor, across, &cr, &cg, &cb);
          r = cr * shade;
          g = cg * shade;
          bl = cb * shade;
        } else if (fromFloor < 0 && -fromFloor * floorY / (height - floorY + 1) <= level) {
          /* the reflection: the same bar, dimmer the further from the floor */
          float depth = -fromFloor * floorY / (height - floorY + 1);
          float k = 0.35f * (1.0f - depth);
          barColour(depth * level, across, &cr, &cg, &cb);
          r += cr * k;
          g += cg * k;
          bl += cb * k;
        }
        /* the cap, two pixels tall at full size */
        if (fromFloor > 0 && g_peak[b] > 0.01f && fabsf(fromFloor - g_peak[b] * HEADROOM) * floorY < (height >= 120 ? 1.5f : 0.75f)) {
          r = 0.95f;
          g = 0.90f;
          bl = 0.80f;
        }
      }
      row[x] = rgb(r, g, bl);
    }
  }
  return 1;
}

static const TvVisModule g_module = {
    TV_VIS_VERSION, "Spectrum Bars", TV_VIS_NEEDS_SPECTRUM,
    Start, DrawFrame, NULL, NULL, Stop, NULL, AcceptQuery,
};

TV_VIS_EXPORT const TvVisModule* QueryModule(void) { return &g_module; }
