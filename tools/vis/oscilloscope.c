/*
 * "Oscilloscope": the two channels' waveforms as glowing traces that leave
 * fading trails (the game fades the previous frame before each draw). The
 * colours drift slowly with the song and flare with the bass.
 */
#include "tarvolen_vis.h"
#include <math.h>
#include <string.h>

static int g_songPosition;
static float g_bass;        /* smoothed low-band energy, 0..1 */

static int clampInt(int v, int lo, int hi) { return v < lo ? lo : v > hi ? hi : v; }

/* Adds a colour to a pixel, saturating each channel. */
static void add(uint32_t* p, int r, int g, int b) {
  uint32_t c = *p;
  int cr = (int)((c >> 16) & 255) + r, cg = (int)((c >> 8) & 255) + g, cb = (int)(c & 255) + b;
  *p = TV_VIS_RGB(cr > 255 ? 255 : cr, cg > 255 ? 255 : cg, cb > 255 ? 255 : cb);
}

/* A soft vertical span at column x from y0 to y1: a bright core with a dim halo
 * above and below, `halo` pixels wide. */
static void span(uint32_t* pixels, int width, int height, int pitch, int x, int y0, int y1, int halo,
                 const int rgb[3]) {
  int y, lo, hi;
  if (x < 0 || x >= width) return;
  if (y0 > y1) { int t = y0; y0 = y1; y1 = t; }
  lo = clampInt(y0 - halo, 0, height - 1);
  hi = clampInt(y1 + halo, 0, height - 1);
  for (y = lo; y <= hi; y++) {
    int d = y < y0 ? y0 - y : y > y1 ? y - y1 : 0;
    int k = d == 0 ? 256 : 256 * (halo + 1 - d) / (halo + 2) / 2;
    add(pixels + (size_t)y * pitch + x, rgb[0] * k >> 8, rgb[1] * k >> 8, rgb[2] * k >> 8);
  }
}

/* Hue 0..1 to a bright colour. */
static void hue(float h, float bright, int out[3]) {
  float r, g, b, f;
  int i;
  h = h - floorf(h);
  i = (int)(h * 6);
  f = h * 6 - i;
  switch (i) {
    case 0: r = 1, g = f, b = 0; break;
    case 1: r = 1 - f, g = 1, b = 0; break;
    case 2: r = 0, g = 1, b = f; break;
    case 3: r = 0, g = 1 - f, b = 1; break;
    case 4: r = f, g = 0, b = 1; break;
    default: r = 1, g = 0, b = 1 - f; break;
  }
  /* pastel: mix toward white so the traces never look muddy */
  out[0] = (int)((0.35f + 0.65f * r) * bright * 255);
  out[1] = (int)((0.35f + 0.65f * g) * bright * 255);
  out[2] = (int)((0.35f + 0.65f * b) * bright * 255);
}

static void trace(uint32_t* pixels, int width, int height, int pitch, const uint8_t* wave, int centre, float amp,
                  int halo, const int rgb[3]) {
  int x, prev = centre;
  for (x = 0; x < width; x++) {
    int i = x * 512 / width;
    int y = centre + (int)((wave[i] - 128) * amp);
    if (x == 0) prev = y;
    /* join to the previous column, so that steep edges stay unbroken */
    span(pixels, width, height, pitch, x, prev, y, halo, rgb);
    prev = y;
  }
}

static void Start(void) { g_bass = 0; }

static void AcceptQuery(TvVisQuery* q) {
  int position = 0;
  if (q && q->table && q->table->QueryInt && q->table->QueryInt("currentsongposition", &position))
    g_songPosition = position;
}

static int DrawFrame(uint32_t* pixels, int width, int height, int pitch, const TvVisSoundData* s) {
  int k, bass = 0, halo, rgbL[3], rgbR[3], y;
  float amp, drift;
  if (!pixels || width < 4 || height < 4 || !s) return 0;
  for (k = 1; k < 8; k++) bass += s->spectrum[0][k] + s->spectrum[1][k];
  g_bass = g_bass * 0.8f + 0.2f * (bass / (14.0f * 255.0f));

  /* one slow turn of the colour wheel every 40 s, pushed on by the bass */
  drift = (float)(s->time % 40000u) / 40000.0f + g_bass * 0.15f;
  hue(drift, 0.75f + 0.25f * g_bass, rgbL);
  hue(drift + 0.5f, 0.75f + 0.25f * g_bass, rgbR);

  halo = height >= 160 ? 2 : height >= 60 ? 1 : 0;
  /* a loud song fills its quarter of the frame; the bass swells it a little */
  amp = height / 4.0f / 128.0f * (0.85f + 0.35f * g_bass);

  /* a faint centre line under each trace keeps the picture grounded when quiet */
  for (y = 0; y < 2; y++) {
    int row = height * (1 + 2 * y) / 4, x;
    for (x = 0; x < width; x += 2) add(pixels + (size_t)row * pitch + x, 6, 8, 14);
  }
  trace(pixels, width, height, pitch, s->waveform[0], height / 4, amp, halo, rgbL);
  trace(pixels, width, height, pitch, s->waveform[1], height * 3 / 4, amp, halo, rgbR);
  return 1;
}

static const TvVisModule g_module = {
    TV_VIS_VERSION, "Oscilloscope",
    TV_VIS_NEEDS_WAVEFORM | TV_VIS_NEEDS_SPECTRUM | TV_VIS_NEEDS_FADE,
    Start, DrawFrame, NULL, NULL, NULL, NULL, AcceptQuery,
};

TV_VIS_EXPORT const TvVisModule* QueryModule(void) { return &g_module; }
