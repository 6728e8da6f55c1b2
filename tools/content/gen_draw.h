#pragma once
// Drawing helpers over cairo for the skin pictures: surfaces, DejaVu faces
// loaded straight from their files (no font matching, so every machine draws
// the same glyphs), outlined text, rounded shapes, gradients and the colour
// scheme of the Default skin.
#include <cairo.h>

#include <cstdint>
#include <string>

struct GenContext;

struct Rgba {
  double r, g, b, a;
};
Rgba Hex(uint32_t rgb, double alpha = 1.0);
Rgba Mix(Rgba a, Rgba b, double t);
Rgba Lighter(Rgba c, double t);   // towards white
Rgba Darker(Rgba c, double t);    // towards black
Rgba HueColour(double hueDegrees, double sat, double val);

// The Default skin's palette.
namespace Palette {
constexpr uint32_t Night = 0x0B0E24;     // deepest background
constexpr uint32_t Indigo = 0x1C2260;
constexpr uint32_t Violet = 0x5B2A9B;
constexpr uint32_t Magenta = 0xE0307A;
constexpr uint32_t Cyan = 0x2FD3F0;
constexpr uint32_t Gold = 0xFFD23C;
constexpr uint32_t Lime = 0x7CF060;
constexpr uint32_t Steel = 0x8A93B8;
constexpr uint32_t P1 = 0x2F8BFF;        // player 1 accent
constexpr uint32_t P2 = 0xFF7A2F;        // player 2 accent
// Arrow colour classes: on the beat, on the half beat, off the beat.
constexpr uint32_t ClassBeat = 0xF0303C;
constexpr uint32_t ClassHalf = 0x3070FF;
constexpr uint32_t ClassOff = 0xF5D21E;
}  // namespace Palette

enum class Face { SansBold, Sans, CondBold, MonoBold, SerifBold };

bool Draw_Init(const GenContext& ctx);   // loads the faces; false when a file is missing
void Draw_Shutdown();
std::string Draw_FontPath(Face f);

// A new transparent ARGB32 surface with its context; free with Canvas_Free.
// Canvases are saved as RGBA PNGs, except opaque ones (song banners and
// backgrounds), which are saved as RGB.
struct Canvas {
  cairo_surface_t* surface = nullptr;
  cairo_t* cr = nullptr;
  int width = 0, height = 0;
  bool keepRgb = false;
};
Canvas Canvas_New(int width, int height, bool opaque = false);
void Canvas_Free(Canvas& c);
// Writes the PNG and checks its size; logs a failure when it cannot.
bool Canvas_Save(Canvas& c, const std::string& path);

void SetColour(cairo_t* cr, Rgba c);
void RoundedRect(cairo_t* cr, double x, double y, double w, double h, double r);
void FillVertical(cairo_t* cr, double x, double y, double w, double h, Rgba top, Rgba bottom);
// A glossy panel: vertical gradient, light rim, dark outline.
void Panel(cairo_t* cr, double x, double y, double w, double h, double r, Rgba base, double outline = 2.0);

struct TextStyle {
  Face face = Face::SansBold;
  double size = 16;
  Rgba fill = {1, 1, 1, 1};
  Rgba fill2 = {1, 1, 1, 1};  // bottom colour of a vertical gradient (same as fill for flat)
  Rgba outline = {0, 0, 0, 1};
  double outlineWidth = 0;   // 0: none
  double shadow = 0;         // drop shadow offset, 0: none
  double letterSpacing = 0;
};
double TextWidth(cairo_t* cr, const TextStyle& st, const std::string& text);
// Draws text with its baseline at y; x is the left edge.
void TextAt(cairo_t* cr, const TextStyle& st, double x, double y, const std::string& text);
// Centred in the box (ink box of the text, so capitals sit in the middle).
void TextInBox(cairo_t* cr, const TextStyle& st, double x, double y, double w, double h,
               const std::string& text);
// As TextInBox, shrinking the size until the text fits the box width.
void TextFit(cairo_t* cr, TextStyle st, double x, double y, double w, double h,
             const std::string& text);

// A starry night backdrop with soft light beams: the common ground of the screens.
void Backdrop(cairo_t* cr, int w, int h, uint32_t topColour, uint32_t bottomColour, uint64_t seed);
