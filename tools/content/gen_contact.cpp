// A contact sheet of generated pictures for looking at them (not shipped):
// each picture on a dark checkerboard, scaled down to fit, with its name.
#include <algorithm>
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

// A mock of the title menu as the game would draw it: the title picture, the
// selector bar at half opacity and the menu items in font-Main, each glyph
// outlined the way the font loader outlines it.
bool Gen_TitleMock(const GenContext& ctx, const std::string& outPath) {
  std::string skin = JoinPath(ctx.gameDir, "Skins/Default/");
  cairo_surface_t* title = cairo_image_surface_create_from_png((skin + "rkv2-title.png").c_str());
  cairo_surface_t* sel = cairo_image_surface_create_from_png((skin + "rkv2-selector.png").c_str());
  cairo_surface_t* font = cairo_image_surface_create_from_png((skin + "font-Main.png").c_str());
  std::vector<uint8_t> defBytes;
  ReadBinaryFile(skin + "font-Main.def", defBytes);
  std::vector<int> adv;
  std::string def(defBytes.begin(), defBytes.end());
  for (size_t s = 0; s <= def.size();) {
    size_t e = def.find(',', s);
    if (e == std::string::npos) e = def.size();
    adv.push_back(std::atoi(def.substr(s, e - s).c_str()) + 1);
    s = e + 1;
  }
  bool ok = cairo_surface_status(title) == CAIRO_STATUS_SUCCESS && cairo_surface_status(font) == CAIRO_STATUS_SUCCESS &&
            adv.size() == 100;
  if (!ok) {
    GenFail("mock: the skin is incomplete");
    return false;
  }
  Canvas c = Canvas_New(640, 480, true);
  cairo_t* cr = c.cr;
  cairo_set_source_surface(cr, title, 0, 0);
  cairo_paint(cr);
  auto text = [&](double size, uint32_t colour, double x, double y, const std::string& t) {
    double scale = (size + 1) * 0.02, pen = x;
    static const int off[17][2] = {{0, 0}, {1, 0}, {2, 0}, {0, 1}, {2, 1}, {0, 2}, {1, 2}, {2, 2}, {1, 3},
                                   {2, 3}, {3, 3}, {2, 4}, {3, 4}, {4, 4}, {3, 5}, {4, 5}, {5, 5}};
    for (char ch : t) {
      int k = (unsigned char)ch - 32;
      if (k < 0 || k >= 100) k = 0;
      int gx = 51 * (k % 10), gy = 51 * (k / 10);
      for (int pass = 0; pass < 18; pass++) {
        cairo_save(cr);
        cairo_translate(cr, (int)pen, y - 1);
        cairo_scale(cr, scale, scale);
        int ox = pass < 17 ? off[pass][0] : 1, oy = pass < 17 ? off[pass][1] : 1;
        cairo_rectangle(cr, ox, oy, 51, 50);
        cairo_clip(cr);
        Rgba col = pass < 17 ? Rgba{0, 0, 0, 1} : Hex(colour);
        cairo_set_source_rgba(cr, col.r, col.g, col.b, col.a);
        cairo_mask_surface(cr, font, ox - gx, oy - gy);
        cairo_restore(cr);
      }
      pen += adv[k] * scale;
    }
    return pen - x;
  };
  auto width = [&](double size, const std::string& t) {
    double w = 0;
    for (char ch : t) w += adv[std::clamp((unsigned char)ch - 32, 0, 99)];
    return w * (size + 1) * 0.02;
  };
  cairo_set_source_surface(cr, sel, 30, 273 + 30 * 1);
  cairo_paint_with_alpha(cr, 0.5);
  const char* items[5] = {"ARCADE MODE", "NONSTOP MODE", "RECORDS", "OPTIONS", "QUIT GAME"};
  for (int i = 0; i < 5; i++) text(27, 0xFFFFFF, 320 - width(27, items[i]) / 2, 284 + 35 * i - 8, items[i]);
  text(15, 0xFFFFFF, 2, 2, "4 songs available in 1 folders.");
  text(15, 0xFFFFFF, 636 - width(15, "v2.50.00"), 2, "v2.50.00");
  text(17, 0xFFFF00, 320 - width(17, "Press START to play") / 2, 457, "Press START to play");
  ok = Canvas_Save(c, outPath);
  Canvas_Free(c);
  cairo_surface_destroy(title);
  cairo_surface_destroy(sel);
  cairo_surface_destroy(font);
  return ok;
}
