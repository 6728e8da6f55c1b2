// A contact sheet of generated pictures for looking at them (not shipped):
// each picture on a dark checkerboard, scaled down to fit, with its name.
#include <cmath>
#include <vector>

#include "gen.h"
#include "gen_draw.h"

static std::vector<std::string> g_pick;

void Gen_ContactPick(const std::string& list) {
  size_t s = 0;
  while (s <= list.size()) {
    size_t e = list.find(',', s);
    if (e == std::string::npos) e = list.size();
    if (e > s) g_pick.push_back(list.substr(s, e - s));
    s = e + 1;
  }
}

bool Gen_ContactSheet(const GenContext& ctx, const std::string& outPath) {
  std::vector<std::string> files = g_pick;
  if (files.empty())
    files = {"Skins/Default/rkv2-narrows.png", "Skins/Default/rkv2-sarrows.png",
             "Skins/Default/rkv2-carrows.png", "Skins/Default/font-Main.png",
             "Skins/Default/rkv2-title.png", "Skins/Default/rkv2-style.png"};
  const int sheetW = 1600, maxCell = 780;
  struct Item { cairo_surface_t* s; double scale; int x, y, w, h; std::string name; };
  std::vector<Item> items;
  int x = 10, y = 10, rowH = 0;
  for (auto& f : files) {
    cairo_surface_t* s = cairo_image_surface_create_from_png(JoinPath(ctx.gameDir, f).c_str());
    if (cairo_surface_status(s) != CAIRO_STATUS_SUCCESS) {
      GenFail("contact sheet: cannot read '%s'", f.c_str());
      cairo_surface_destroy(s);
      continue;
    }
    int w = cairo_image_surface_get_width(s), h = cairo_image_surface_get_height(s);
    double scale = std::min(1.0, (double)maxCell / std::max(w, h));
    if (w * scale > sheetW - 20) scale = (sheetW - 20.0) / w;
    int dw = (int)std::ceil(w * scale), dh = (int)std::ceil(h * scale);
    if (x + dw > sheetW - 10) {
      x = 10;
      y += rowH + 30;
      rowH = 0;
    }
    items.push_back({s, scale, x, y, dw, dh, f + " (" + std::to_string(w) + "x" + std::to_string(h) + ")"});
    x += dw + 16;
    rowH = std::max(rowH, dh);
  }
  int sheetH = y + rowH + 40;
  Canvas c = Canvas_New(sheetW, sheetH, true);
  cairo_t* cr = c.cr;
  cairo_set_source_rgb(cr, 0.12, 0.12, 0.15);
  cairo_paint(cr);
  for (auto& it : items) {
    for (int yy = 0; yy < it.h; yy += 8)
      for (int xx = 0; xx < it.w; xx += 8) {
        bool dark = ((xx / 8) + (yy / 8)) % 2;
        cairo_set_source_rgb(cr, dark ? 0.2 : 0.26, dark ? 0.2 : 0.26, dark ? 0.24 : 0.3);
        cairo_rectangle(cr, it.x + xx, it.y + yy, std::min(8, it.w - xx), std::min(8, it.h - yy));
        cairo_fill(cr);
      }
    cairo_save(cr);
    cairo_translate(cr, it.x, it.y);
    cairo_scale(cr, it.scale, it.scale);
    cairo_set_source_surface(cr, it.s, 0, 0);
    cairo_paint(cr);
    cairo_restore(cr);
    TextStyle st;
    st.face = Face::Sans;
    st.size = 12;
    st.fill = st.fill2 = {0.85, 0.9, 1, 1};
    TextAt(cr, st, it.x, it.y + it.h + 15, it.name);
    cairo_surface_destroy(it.s);
  }
  bool ok = Canvas_Save(c, outPath);
  Canvas_Free(c);
  return ok;
}
