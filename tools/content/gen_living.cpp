// The living background: a dim stage, a strip of sparkles, a ring and a flare
// drawn in the skin's palette, and the background script that switches them,
// the shipped movie and the spectrum plug-in along the song's sections.
#include "gen_living.h"

#include <algorithm>
#include <cctype>
#include <cmath>

#include "gen_draw.h"

namespace {

std::string Pic(const char* name) { return std::string(kLivingFolder) + "\\" + name; }

bool Save(Canvas& c, const std::string& songDir, const char* name) {
  bool ok = Canvas_Save(c, JoinPath(JoinPath(songDir, kLivingFolder), name));
  Canvas_Free(c);
  return ok;
}

void Beam(cairo_t* cr, double x, double spread, Rgba c) {
  cairo_move_to(cr, x - 6, 0);
  cairo_line_to(cr, x + 6, 0);
  cairo_line_to(cr, x + spread + 60, 330);
  cairo_line_to(cr, x + spread - 60, 330);
  cairo_close_path(cr);
  cairo_pattern_t* p = cairo_pattern_create_linear(0, 0, 0, 330);
  cairo_pattern_add_color_stop_rgba(p, 0, c.r, c.g, c.b, 0.22);
  cairo_pattern_add_color_stop_rgba(p, 1, c.r, c.g, c.b, 0.0);
  cairo_set_source(cr, p);
  cairo_fill(cr);
  cairo_pattern_destroy(p);
}

// 640 x 480, opaque: a night stage with light beams and a floor grid running to
// the horizon. Kept dark, as the arrows scroll over it.
bool Stage(const std::string& songDir, uint64_t seed) {
  Canvas c = Canvas_New(640, 480, true);
  cairo_t* cr = c.cr;
  const double horizon = 300;
  FillVertical(cr, 0, 0, 640, horizon, Hex(Palette::Night), Darker(Hex(Palette::Indigo), 0.2));
  FillVertical(cr, 0, horizon, 640, 480 - horizon, Darker(Hex(Palette::Indigo), 0.35), Hex(Palette::Night));
  Rng rng(seed);
  for (int i = 0; i < 70; i++) {
    cairo_arc(cr, rng.Between(0, 640), rng.Between(0, horizon - 30), rng.Between(0.4, 1.3), 0, 2 * M_PI);
    cairo_set_source_rgba(cr, 1, 1, 1, rng.Between(0.15, 0.5));
    cairo_fill(cr);
  }
  const uint32_t beams[4] = {Palette::Violet, Palette::Magenta, Palette::Cyan, Palette::Violet};
  for (int i = 0; i < 4; i++) Beam(cr, 80 + i * 160, (i - 1.5) * 50, Hex(beams[i]));
  // a pool of light where the dancers stand
  cairo_save(cr);
  cairo_translate(cr, 320, 410);
  cairo_scale(cr, 1, 0.3);
  cairo_pattern_t* pool = cairo_pattern_create_radial(0, 0, 0, 0, 0, 300);
  Rgba m = Hex(Palette::Magenta);
  cairo_pattern_add_color_stop_rgba(pool, 0, m.r, m.g, m.b, 0.2);
  cairo_pattern_add_color_stop_rgba(pool, 1, m.r, m.g, m.b, 0);
  cairo_set_source(cr, pool);
  cairo_arc(cr, 0, 0, 300, 0, 2 * M_PI);
  cairo_fill(cr);
  cairo_pattern_destroy(pool);
  cairo_restore(cr);
  // the floor grid: lines from the vanishing point, rows closer together far away
  cairo_save(cr);
  cairo_rectangle(cr, 0, horizon, 640, 480 - horizon);
  cairo_clip(cr);
  Rgba g = Hex(Palette::Magenta);
  cairo_set_line_width(cr, 1.5);
  for (int k = -12; k <= 12; k++) {
    cairo_move_to(cr, 320, horizon - 60);
    cairo_line_to(cr, 320 + k * 90, 480);
    cairo_set_source_rgba(cr, g.r, g.g, g.b, 0.3);
    cairo_stroke(cr);
  }
  for (double y = horizon + 4, d = 4; y < 480; d *= 1.45, y += d) {
    cairo_move_to(cr, 0, y);
    cairo_line_to(cr, 640, y);
    cairo_set_source_rgba(cr, g.r, g.g, g.b, 0.12 + 0.25 * (y - horizon) / (480 - horizon));
    cairo_stroke(cr);
  }
  cairo_restore(cr);
  // the horizon glows
  Rgba cy = Hex(Palette::Cyan);
  cairo_pattern_t* h = cairo_pattern_create_linear(0, horizon - 14, 0, horizon + 14);
  cairo_pattern_add_color_stop_rgba(h, 0, cy.r, cy.g, cy.b, 0);
  cairo_pattern_add_color_stop_rgba(h, 0.5, cy.r, cy.g, cy.b, 0.45);
  cairo_pattern_add_color_stop_rgba(h, 1, cy.r, cy.g, cy.b, 0);
  cairo_rectangle(cr, 0, horizon - 14, 640, 28);
  cairo_set_source(cr, h);
  cairo_fill(cr);
  cairo_pattern_destroy(h);
  return Save(c, songDir, "stage.png");
}

// 64 x 512 with alpha: eight 64 x 64 frames of a sparkle that swells, shrinks and
// turns a quarter turn, so the last frame leads back into the first.
bool Sparks(const std::string& songDir) {
  const int size = 64, frames = 8;
  Canvas c = Canvas_New(size, size * frames);
  cairo_t* cr = c.cr;
  Rgba cyan = Hex(Palette::Cyan), gold = Hex(Palette::Gold);
  for (int k = 0; k < frames; k++) {
    double phase = (double)k / frames;
    double pulse = 0.6 + 0.4 * std::cos(2 * M_PI * phase);
    double turn = phase * M_PI / 2;
    cairo_save(cr);
    cairo_rectangle(cr, 0, k * size, size, size);
    cairo_clip(cr);
    cairo_translate(cr, size / 2.0, k * size + size / 2.0);
    cairo_pattern_t* glow = cairo_pattern_create_radial(0, 0, 0, 0, 0, 26 * pulse + 2);
    cairo_pattern_add_color_stop_rgba(glow, 0, 1, 1, 1, 0.8);
    cairo_pattern_add_color_stop_rgba(glow, 0.35, cyan.r, cyan.g, cyan.b, 0.45);
    cairo_pattern_add_color_stop_rgba(glow, 1, cyan.r, cyan.g, cyan.b, 0);
    cairo_set_source(cr, glow);
    cairo_arc(cr, 0, 0, 26 * pulse + 2, 0, 2 * M_PI);
    cairo_fill(cr);
    cairo_pattern_destroy(glow);
    // four long rays, then four short golden ones between them
    for (int set = 0; set < 2; set++) {
      double len = (set == 0 ? 30 : 14) * pulse, waist = (set == 0 ? 3.5 : 2.5) * pulse + 0.5;
      double base = turn + (set == 0 ? 0 : M_PI / 4);
      for (int i = 0; i < 4; i++) {
        double a = base + i * M_PI / 2;
        if (i == 0) cairo_move_to(cr, len * std::cos(a), len * std::sin(a));
        else cairo_line_to(cr, len * std::cos(a), len * std::sin(a));
        double b = a + M_PI / 4;
        cairo_line_to(cr, waist * std::cos(b), waist * std::sin(b));
      }
      cairo_close_path(cr);
      Rgba col = set == 0 ? Lighter(cyan, 0.55) : gold;
      cairo_set_source_rgba(cr, col.r, col.g, col.b, set == 0 ? 0.95 : 0.75);
      cairo_fill(cr);
    }
    cairo_arc(cr, 0, 0, 2 + 2 * pulse, 0, 2 * M_PI);
    cairo_set_source_rgba(cr, 1, 1, 1, 1);
    cairo_fill(cr);
    cairo_restore(cr);
  }
  return Save(c, songDir, "sparks.png");
}

// 256 x 256, 24-bit on black: a glowing ring. The game keys overlay pictures
// of 24 bits by their bottom-left pixel, so the faint fringe is pressed to that
// exact black, or it would show as a dark square around the ring.
bool Ring(const std::string& songDir) {
  Canvas c = Canvas_New(256, 256, true);
  cairo_t* cr = c.cr;
  const double r = 104;
  Rgba mag = Hex(Palette::Magenta), gold = Hex(Palette::Gold), cyan = Hex(Palette::Cyan);
  for (int i = 0; i < 4; i++) {
    cairo_arc(cr, 128, 128, r, 0, 2 * M_PI);
    cairo_set_source_rgba(cr, mag.r, mag.g, mag.b, 0.12 + 0.06 * i);
    cairo_set_line_width(cr, 30 - 6 * i);
    cairo_stroke(cr);
  }
  cairo_pattern_t* sweep = cairo_pattern_create_linear(24, 24, 232, 232);
  cairo_pattern_add_color_stop_rgb(sweep, 0, mag.r, mag.g, mag.b);
  cairo_pattern_add_color_stop_rgb(sweep, 1, gold.r, gold.g, gold.b);
  cairo_arc(cr, 128, 128, r, 0, 2 * M_PI);
  cairo_set_source(cr, sweep);
  cairo_set_line_width(cr, 6);
  cairo_stroke(cr);
  cairo_pattern_destroy(sweep);
  cairo_arc(cr, 128, 128, r - 20, 0, 2 * M_PI);
  cairo_set_source_rgba(cr, cyan.r, cyan.g, cyan.b, 0.8);
  cairo_set_line_width(cr, 2);
  cairo_stroke(cr);
  for (int i = 0; i < 12; i++) {
    double a = i * M_PI / 6;
    cairo_arc(cr, 128 + r * std::cos(a), 128 + r * std::sin(a), 5, 0, 2 * M_PI);
    cairo_set_source_rgb(cr, 1, 0.95, 0.8);
    cairo_fill(cr);
  }
  cairo_surface_flush(c.surface);
  unsigned char* data = cairo_image_surface_get_data(c.surface);
  int stride = cairo_image_surface_get_stride(c.surface);
  for (int y = 0; y < 256; y++) {
    uint32_t* row = (uint32_t*)(data + (size_t)y * stride);
    for (int x = 0; x < 256; x++) {
      uint32_t p = row[x];
      unsigned hi = std::max((p >> 16) & 255, std::max((p >> 8) & 255, p & 255));
      if (hi < 28) row[x] = 0xFF000000u;
    }
  }
  cairo_surface_mark_dirty(c.surface);
  return Save(c, songDir, "ring.png");
}

// 320 x 96 with alpha: a wide streak of light with a few ghosts, to sweep across.
bool Flare(const std::string& songDir) {
  Canvas c = Canvas_New(320, 96);
  cairo_t* cr = c.cr;
  Rgba cyan = Hex(Palette::Cyan);
  auto blob = [&](double x, double y, double sx, double sy, double r, Rgba col, double a0, double mid) {
    cairo_save(cr);
    cairo_translate(cr, x, y);
    cairo_scale(cr, sx, sy);
    cairo_pattern_t* p = cairo_pattern_create_radial(0, 0, 0, 0, 0, r);
    cairo_pattern_add_color_stop_rgba(p, 0, 1, 1, 1, a0);
    cairo_pattern_add_color_stop_rgba(p, mid, col.r, col.g, col.b, a0 * 0.5);
    cairo_pattern_add_color_stop_rgba(p, 1, col.r, col.g, col.b, 0);
    cairo_set_source(cr, p);
    cairo_arc(cr, 0, 0, r, 0, 2 * M_PI);
    cairo_fill(cr);
    cairo_pattern_destroy(p);
    cairo_restore(cr);
  };
  blob(160, 48, 1, 0.12, 158, cyan, 0.9, 0.3);      // the streak
  blob(160, 48, 0.07, 1, 46, cyan, 0.5, 0.3);       // a short upright one
  blob(160, 48, 1, 1, 36, Lighter(cyan, 0.4), 0.95, 0.45);
  blob(62, 52, 1, 1, 14, Hex(Palette::Violet), 0.35, 0.6);
  blob(250, 42, 1, 1, 10, Hex(Palette::Magenta), 0.35, 0.6);
  blob(286, 38, 1, 1, 6, Hex(Palette::Gold), 0.4, 0.6);
  return Save(c, songDir, "flare.png");
}

// Length in sixteenths of a piece of a timeline, by the script's step rules.
double PieceLength(const std::string& piece) {
  double pos = 0, step = 2;
  char prev = 0;
  for (char ch : piece) {
    if (ch == '(') step = 1;
    else if (ch == '[') step = 2.0 / 3.0;
    else if (ch == ')' || ch == ']') step = 2;
    else if (ch == ',' && (prev == '.' || std::isalnum((unsigned char)prev))) pos -= step;
    else if (ch == '.' || std::isalnum((unsigned char)ch)) pos += step;
    prev = ch;
  }
  return pos;
}

// One bar (16 sixteenths, eight eighths) of the timeline. i is the bar's place
// in its section of n bars. Layer 0: 1 stage, 4 movie, 5 spectrum, 0 the song's
// own background; layer 1: 2 and B sparkles, 6 off; layer 2: 3 ring burst, 7
// flare, 8 off; layer 3: A ring pulse, 9 off.
std::string Bar(char section, int bar, int i, int n) {
  switch (section) {
    case 'I':
      if (i == 0) return "1.......";
      if (i == n - 1) return "....3...";
      if (i == 2) return "2.......";
      return "........";
    case 'V':
      if (i == 0) return "4,6,7.......";   // the movie, sparkles off, a flare sweeping by
      if (bar % 8 == 7) return "......(AAAA)"; // the drum fill
      if (i == n - 1) return "....3...";
      if (i == 4) return "0,8,2.......";
      return "........";
    case 'C':
      // a ring pulse on every beat, faster at the ends of the phrases
      if (i == 0) return "5,B,A.A.A.A.";
      if (i == n - 1) return "A.A.[A.A.A.A.A.A.]";
      if (i % 8 == 4) return "4,A.A.A.A.";   // the movie goes on where it was
      if (i % 8 == 0) return "5,3,A.A.A.A.";
      if (i % 8 == 6 && i >= 8) return "0,7,A.A.A.A.";
      if (bar % 8 == 7) return "A.A.(AAAAAAAA)";
      if (i % 4 == 3) return "A.A.(A.A.A.A.)";
      return "A.A.A.A.";
    case 'B':
      if (i == 0) return "1,6,9,7.......";
      if (i == n - 1) return "....3...";
      if (i == 2) return "2.......";
      return "........";
    default:  // the outro winds down to the song's own picture
      if (i == 0) return "1,6,9.......";
      if (i == 1) return "7.......";
      if (i == 2) return "0,8.......";
      return "........";
  }
}

const char* SectionName(char s) {
  switch (s) {
    case 'I': return "intro";
    case 'V': return "verse";
    case 'C': return "chorus";
    case 'B': return "break";
    default: return "outro";
  }
}

}  // namespace

bool Living_Pictures(const std::string& songDir, const SongDef& s) {
  if (!MakeDirs(JoinPath(songDir, kLivingFolder))) return false;
  bool ok = Stage(songDir, s.arr.seed + 2);
  ok = Sparks(songDir) && ok;
  ok = Ring(songDir) && ok;
  ok = Flare(songDir) && ok;
  return ok;
}

std::string Living_Script(const SongDef& s) {
  std::string t;
  t += "// The living background: switched on the beat along the song's sections.\n";
  t += "#BACKGROUND:\n";
  t += "1:LAYER:0:FILE:" + Pic("stage.png") + ";\n";
  t += "2:LAYER:1:FILE:" + Pic("sparks.png") + ":ANIMATE:8:SIZE:1:MOVE:1,-1:TILED:1:SPACING:48,48:FADE:160,160,0;\n";
  // the ring bursts from the middle: its final 256 x 256 is centred on the screen
  t += "3:LAYER:2:FILE:" + Pic("ring.png") + ":POSITION:192,112:STRETCH:64,64,256,256,32:FADE:200,0,32;\n";
  t += "4:LAYER:0:MOVIE:.\\Movies\\Random\\tv-drift.avi:STARTAT:2:KEEPTIME;\n";
  t += "5:LAYER:0:VIS:tv-spectrum.svp;\n";
  t += "6:LAYER:1:OFF;\n";
  t += "7:LAYER:2:FILE:" + Pic("flare.png") + ":POSITION:-320,96:MOVE:12,1:FADE:170,170,0;\n";
  t += "8:LAYER:2:OFF;\n";
  t += "9:LAYER:3:OFF;\n";
  t += "A:LAYER:3:FILE:" + Pic("ring.png") + ":POSITION:224,144:STRETCH:128,128,192,192,4:FADE:150,0,4;\n";
  t += "B:LAYER:1:FILE:" + Pic("sparks.png") +
       ":ANIMATE:8,60:SIZE:2:MOVE:0,-3:TILED:1:SPACING:64,32:MULT:1,0.8,1:FADE:120,120,0;\n";
  // One line of the timeline for every section, or every four bars of a long
  // one; the value runs on over the lines up to its ";".
  const std::string& sec = s.arr.sections;
  const int bars = (int)sec.size();
  std::string lines;
  int start = 0;
  while (start < bars) {
    int end = start;
    while (end < bars && sec[end] == sec[start]) end++;
    for (int from = start; from < end; from += 4) {
      std::string line = from == 0 ? "SCRIPT:" : "";
      int to = std::min(end, from + 4);
      for (int b = from; b < to; b++) {
        std::string piece = Bar(sec[b], b, b - start, end - start);
        if (std::fabs(PieceLength(piece) - 16) > 1e-9)
          GenFail("%s: the background of bar %d is not a bar long", s.folder.c_str(), b + 1);
        line += piece;
      }
      if (to == bars) line += ";";
      lines += line;
      lines.append(line.size() < 64 ? 64 - line.size() : 1, ' ');
      lines += Fmt("// bars %d-%d: %s\n", from + 1, to, SectionName(sec[start]));
    }
    start = end;
  }
  t += lines;
  t += "#END;\n";
  return t;
}
