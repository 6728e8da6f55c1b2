// The desktop icon: a glossy up arrow on a dark rounded square with the game's
// violet-to-blue glow, drawn at each size desktops ask for (small sizes drop the
// glow so that the arrow stays sharp).
#include "gen.h"
#include "gen_arrows.h"
#include "gen_draw.h"

bool Gen_Icons(const GenContext& ctx, const std::string& iconDir) {
  (void)ctx;
  bool ok = true;
  for (int size : {16, 24, 32, 48, 64, 128, 256, 512}) {
    Canvas c = Canvas_New(size, size);
    cairo_t* cr = c.cr;
    double s = size, r = s * 0.2, m = s >= 32 ? s * 0.04 : 0;
    RoundedRect(cr, m, m, s - 2 * m, s - 2 * m, r);
    cairo_clip(cr);
    FillVertical(cr, 0, 0, s, s, Hex(0x2A1250), Hex(0x0C1E4A));
    if (size >= 48) {   // a soft floor light behind the arrow
      cairo_pattern_t* glow = cairo_pattern_create_radial(s / 2, s * 0.62, 0, s / 2, s * 0.62, s * 0.55);
      cairo_pattern_add_color_stop_rgba(glow, 0, 0.55, 0.35, 1.0, 0.55);
      cairo_pattern_add_color_stop_rgba(glow, 1, 0.55, 0.35, 1.0, 0.0);
      cairo_set_source(cr, glow);
      cairo_paint(cr);
      cairo_pattern_destroy(glow);
    }
    cairo_reset_clip(cr);
    Arrow_Draw(cr, s / 2, s * 0.52, s / 64.0 * 0.66, Arrow_Angle(2), Hex(0xFF3D7F),
               size >= 32 ? ArrowLook::Glossy : ArrowLook::Flat, size >= 64 ? 0.35 : 0);
    std::string dir = JoinPath(iconDir, "hicolor/" + std::to_string(size) + "x" + std::to_string(size) + "/apps");
    MakeDirs(dir);
    ok = Canvas_Save(c, JoinPath(dir, "tarvolen.png")) && ok;
    Canvas_Free(c);
  }
  return ok;
}
