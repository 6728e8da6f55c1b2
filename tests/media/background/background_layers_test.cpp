// The layers during a play: which definition each shows after the events up to
// a position, how movement, stretch and fade follow the song, what lands on the
// screen, and how the worker's requests meet the main thread's switches.
#include "media/background/background.h"
#include "media/render/image.h"
#include "media/render/screen.h"
#include "media/vis/vis.h"
#include <gtest/gtest.h>
#include <memory>

namespace {
std::unique_ptr<Image> solid(int w, int h, uint32_t rgb) {
  auto img = std::make_unique<Image>();
  img->Create(w, h, IMAGE_RGB);
  for (int i = 0; i < img->surfaceWidth * img->surfaceHeight; i++) img->pixels[i] = 0xFF000000u | rgb;
  return img;
}

struct Layers : ::testing::Test {
  std::unique_ptr<Image> song = solid(640, 480, 0x101010);
  std::unique_ptr<Image> pics[4];
  void SetUp() override {
    ResetBackgrounds();
    for (Background& d : g_backgrounds.defs) d = Background{};
  }
  void TearDown() override {
    Backgrounds_Stop();
    for (Background& d : g_backgrounds.defs) d = Background{};
    g_backgrounds.events.clear();
  }
  Background& picture(int id, int layer, uint32_t rgb, int w = 640, int h = 480) {
    pics[id % 4] = solid(w, h, rgb);
    Background& d = g_backgrounds.defs[id];
    d = Background{};
    d.type = BG_PICTURE;
    d.layer = layer;
    d.width = w;
    d.height = h;
    d.picture = pics[id % 4].get();
    return d;
  }
  void at(double position, int id) { g_backgrounds.events.push_back({position, id, 0}); }
  void start() { Backgrounds_Start(0, 0, 0, song.get()); }
  int shown(int layer) { return g_backgrounds.layers[layer].type == BG_NONE ? -1 : g_backgrounds.layers[layer].id; }
};
}  // namespace

TEST_F(Layers, EventsSwitchTheLayerOfTheirDefinition) {
  picture(1, 0, 0x800000);
  picture(2, 1, 0x008000, 64, 64);
  g_backgrounds.defs[3].type = BG_OFF;
  g_backgrounds.defs[3].layer = 1;
  // an unused definition changes nothing
  at(12, 7);
  at(8, 3);   // out of order in the list: the start sorts them
  at(0, 1);
  at(4, 2);
  at(16, 0);
  start();
  EXPECT_EQ(shown(0), 0);   // the song's own picture before the first event
  Backgrounds_Update(0, 0);
  EXPECT_EQ(shown(0), 1);
  EXPECT_EQ(shown(1), -1);
  Backgrounds_Update(5, 100);
  EXPECT_EQ(shown(1), 2);
  EXPECT_EQ(g_backgrounds.layers[1].shownAtMs, 100);
  Backgrounds_Update(9, 200);
  EXPECT_EQ(shown(1), -1);
  Backgrounds_Update(13, 300);
  EXPECT_EQ(shown(0), 1);
  Backgrounds_Update(16, 400);
  EXPECT_EQ(shown(0), 0);
}

TEST_F(Layers, MovementStretchAndFadeFollowTheSongPosition) {
  Background& d = picture(1, 1, 0xFFFFFF, 64, 64);
  d.moving = true;
  d.dx = 2;
  d.dy = -1;
  d.x = 100;
  d.y = 100;
  d.stretch = {true, 64, 64, 128, 32, 16, 4, -2};
  d.fade = {true, 255, 55, 10, -20};
  at(0, 1);
  start();
  Backgrounds_Update(0, 0);
  Backgrounds_Update(5, 0);
  const Background& l = g_backgrounds.layers[1];
  EXPECT_DOUBLE_EQ(l.x, 110);
  EXPECT_DOUBLE_EQ(l.y, 95);
  EXPECT_EQ(l.width, 84);
  EXPECT_EQ(l.height, 54);
  EXPECT_DOUBLE_EQ(l.fade.alpha, 155);
  // ends where they end, never beyond
  Backgrounds_Update(100, 0);
  EXPECT_EQ(l.width, 128);
  EXPECT_EQ(l.height, 32);
  EXPECT_DOUBLE_EQ(l.fade.alpha, 55);
  // a song position going back (a timing edit) moves nothing
  double x = l.x;
  Backgrounds_Update(90, 0);
  EXPECT_DOUBLE_EQ(l.x, x);
}

TEST_F(Layers, AMovingPictureWrapsAroundTheScreen) {
  Background& d = picture(1, 1, 0xFFFFFF, 64, 64);
  d.moving = true;
  d.dx = 10;
  d.x = 600;
  at(0, 1);
  start();
  Backgrounds_Update(0, 0);
  Backgrounds_Update(10, 0);   // to 700: past the right edge, back in from the left
  EXPECT_GE(g_backgrounds.layers[1].x, -64);
  EXPECT_LT(g_backgrounds.layers[1].x, 640);
  EXPECT_DOUBLE_EQ(g_backgrounds.layers[1].x, 700 - 704);
}

TEST_F(Layers, KeepPositionCarriesTheMovedPlaceToTheNextShowing) {
  for (int id : {1, 2}) {
    Background& d = picture(id, 1, 0xFFFFFF, 32, 32);
    d.moving = true;
    d.dx = 1;
    d.keepPosition = id == 1;
  }
  picture(3, 1, 0x00FF00, 32, 32);
  at(0, 1);
  at(10, 3);
  at(20, 1);
  at(30, 2);
  at(40, 3);
  at(50, 2);
  start();
  Backgrounds_Update(0, 0);
  Backgrounds_Update(10, 0);
  Backgrounds_Update(20, 0);
  EXPECT_DOUBLE_EQ(g_backgrounds.layers[1].x, 10);   // went on from 10
  Backgrounds_Update(30, 0);
  Backgrounds_Update(40, 0);
  Backgrounds_Update(50, 0);
  EXPECT_DOUBLE_EQ(g_backgrounds.layers[1].x, 0);    // without KEEPPOS it starts over
}

TEST_F(Layers, DrawsBaseOverlaysAndTilesWithTheirColourAndFade) {
  picture(1, 0, 0x0000FF);
  Background& tile = picture(2, 1, 0xFF0000, 20, 20);
  tile.tiled = true;
  tile.spacingX = 20;
  tile.spacingY = 20;
  Background& ring = picture(3, 2, 0xFFFFFF, 40, 40);
  ring.x = 300;
  ring.y = 200;
  ring.colour = 0x00FF00;   // "MULT:0,1,0"
  ring.fade.alpha = 255;
  at(0, 1);
  at(0, 2);
  at(0, 3);
  start();
  Backgrounds_Update(0, 0);
  Screen_Clear(0, 0, 0);
  Backgrounds_Draw();
  EXPECT_EQ(Screen_Pixel(5, 5), 0xFF0000u);        // a tile
  EXPECT_EQ(Screen_Pixel(45, 5), 0xFF0000u);       // the next one, after the spacing
  EXPECT_EQ(Screen_Pixel(25, 5), 0x0000FFu);       // the base between them
  EXPECT_NEAR((int)Screen_Pixel(310, 210), 0x00FF00, 0x100);   // the ring, multiplied to green
  // half faded: half of green over the base
  g_backgrounds.layers[2].fade.alpha = 128;
  Backgrounds_Update(0, 0);
  Screen_Clear(0, 0, 0);
  Backgrounds_Draw();
  uint32_t p = Screen_Pixel(310, 210);
  EXPECT_NEAR((int)((p >> 8) & 255), 128, 2);
  EXPECT_NEAR((int)(p & 255), 127, 2);
}

TEST_F(Layers, WithoutAnEventTheSongPictureShows) {
  start();
  Backgrounds_Update(100, 0);
  Screen_Clear(0, 0, 0);
  Backgrounds_Draw();
  EXPECT_EQ(Screen_Pixel(320, 240), 0x101010u);
}

// Movies and visualizations become current through the worker, which decodes
// their first frame; a switch the main thread makes meanwhile wins.
TEST_F(Layers, StreamedBackgroundsComeThroughTheWorker) {
  VisInstance vis;   // not loaded: the worker has nothing to draw, the layer still switches
  Background& v = g_backgrounds.defs[4];
  v.type = BG_VIS;
  v.layer = 0;
  v.width = 640;
  v.height = 480;
  v.vis = &vis;
  picture(5, 0, 0x00FF00);
  at(0, 4);
  at(8, 4);
  at(9, 5);
  start();
  Backgrounds_Update(0, 0);
  EXPECT_EQ(shown(0), 0);          // asked for, not yet shown
  Backgrounds_ServeWorker();
  EXPECT_EQ(shown(0), 4);
  EXPECT_EQ(g_backgrounds.layers[0].type, BG_VIS);
  Backgrounds_Update(4, 0);
  Backgrounds_Update(10, 0);       // the visualization asked for again, then a picture
  Backgrounds_ServeWorker();
  EXPECT_EQ(shown(0), 5);          // the picture stays
  // paused: the worker leaves requests alone
  g_backgrounds.events.push_back({20, 4, 0});
  Backgrounds_Update(20, 0);
  g_backgrounds.paused = true;
  Backgrounds_ServeWorker();
  EXPECT_EQ(shown(0), 5);
  g_backgrounds.paused = false;
  Backgrounds_ServeWorker();
  EXPECT_EQ(shown(0), 4);
}
