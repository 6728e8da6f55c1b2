// The real SDL screen, with the dummy video driver: set-up, drawing through to
// the screen surface, presenting, window events and screenshots.
#include "media/input/input.h"
#include "media/input_script.h"
#include "media/render/image.h"
#include "media/render/render_state.h"
#include "media/window.h"
#include "support/test_support.h"
#include <FreeImage.h>
#include <SDL.h>
#include <gtest/gtest.h>
#include <filesystem>
#include <string>

namespace {
ScriptEvent keyDown(uint8_t code) { return ScriptEvent{0, 0, 1, 0, code}; }

uint32_t screenWord(int x, int y) {
  SDL_Surface* s = SDL_GetVideoSurface();
  return ((const uint32_t*)((const uint8_t*)s->pixels + y * s->pitch))[x];
}

class WindowTest : public ::testing::Test {
 protected:
  TempDir dir;
  void SetUp() override {
    setenv("SDL_VIDEODRIVER", "dummy", 1);
    InputScript_Clear();
    Video_SelectBackend(true, false, true);
  }
  void TearDown() override {
    InputScript_Clear();
    Keyboard_Shutdown();
    Window_Shutdown();
  }
};
}  // namespace

TEST_F(WindowTest, OpensThe640By480ScreenWithItsCaption) {
  setenv("SDL_VIDEO_ALLOW_SCREENSAVER", "1", 1);
  ASSERT_EQ(Window_Init(false, 0, false, 2, true), 0);
  SDL_Surface* s = SDL_GetVideoSurface();
  ASSERT_NE(s, nullptr);
  EXPECT_EQ(s->w, 640);
  EXPECT_EQ(s->h, 480);
  EXPECT_EQ(s->format->BitsPerPixel, 32);
  char* title = nullptr;
  char* icon = nullptr;
  SDL_WM_GetCaption(&title, &icon);
  EXPECT_STREQ(title, "Tarvolen (SDL)");
  EXPECT_STREQ(icon, "IDI_DANCEICON");
  EXPECT_EQ(g_renderBackend, BACKEND_SDL);
  EXPECT_EQ(g_textureLimits.minWidth, 4);  // "/minsize:2" still gives 4
  EXPECT_EQ(g_textureLimits.margin, 1);
  EXPECT_STREQ(getenv("SDL_VIDEO_ALLOW_SCREENSAVER"), "0");  // screen saver off for the run
  EXPECT_TRUE(Window_HasFocus());
  EXPECT_EQ(Window_Init(false, 0, false, 0, false), 0);  // a second call keeps the screen
  Window_Shutdown();
  EXPECT_STREQ(getenv("SDL_VIDEO_ALLOW_SCREENSAVER"), "1");  // the player's own setting is back
  EXPECT_FALSE(Window_IsOpen());
  unsetenv("SDL_VIDEO_ALLOW_SCREENSAVER");
}

TEST_F(WindowTest, AFrameDrawnWithEveryKindOfDrawReachesTheScreen) {
  ASSERT_EQ(Window_Init(false, 0, false, 0, false), 0);
  Image solid, sprite, tinted;
  ASSERT_TRUE(solid.Create(20, 10, IMAGE_RGB));
  ASSERT_TRUE(sprite.Create(4, 4, IMAGE_ARGB));
  uint32_t half = 0x80FF0000u;
  for (int y = 0; y < 4; y++) sprite.DrawLine(0, y, 3, y, &half, 1, 0);
  ASSERT_TRUE(tinted.Create(2, 2, IMAGE_RGB));
  tinted.SetColour(0x00FF00);
  tinted.SetSize(10, 10, 0);

  Screen_Clear(0, 0, 64);
  solid.SetPosition(10, 10);
  solid.DrawFast();
  sprite.SetPosition(100, 100);
  sprite.Draw();
  tinted.SetPosition(200, 200);
  tinted.Draw();
  solid.SetPosition(300, 300);
  solid.DrawClipped(305, 0, 310, 480);
  Screen_Present();

  EXPECT_EQ(screenWord(0, 0) & 0xFFFFFF, 0x000040u);
  EXPECT_EQ(screenWord(29, 19) & 0xFFFFFF, 0xFFFFFFu);
  EXPECT_EQ(screenWord(30, 19) & 0xFFFFFF, 0x000040u);
  EXPECT_EQ(screenWord(101, 101) & 0xFFFFFF, comp::Blend(0x000040, 0xFF0000, 128));
  EXPECT_EQ(screenWord(209, 209) & 0xFFFFFF, 0x00FE00u);  // 255 * 255 >> 8
  EXPECT_EQ(screenWord(304, 305) & 0xFFFFFF, 0x000040u);
  EXPECT_EQ(screenWord(305, 305) & 0xFFFFFF, 0xFFFFFFu);
  EXPECT_EQ(screenWord(310, 305) & 0xFFFFFF, 0x000040u);
}

TEST_F(WindowTest, SixteenBitsWhenAsked) {
  ASSERT_EQ(Window_Init(false, 16, false, 0, false), 0);
  SDL_Surface* s = SDL_GetVideoSurface();
  ASSERT_EQ(s->format->BitsPerPixel, 16);
  Screen_Clear(255, 0, 0);
  Image im;
  ASSERT_TRUE(im.Create(1, 1, IMAGE_RGB));
  im.SetColour(0x0000FF);
  im.SetPosition(5, 0);
  im.Draw();
  Screen_Present();
  const uint16_t* row = (const uint16_t*)s->pixels;
  EXPECT_EQ(row[0], 0xF800);  // 5-6-5 red
  EXPECT_EQ(row[5], 0x001F);  // 254 blue keeps the top five bits
  EXPECT_EQ(Screen_Pixel(0, 0), 0xFF0000u);
}

TEST_F(WindowTest, FullScreenHidesTheCursorAndHardwareSurfacesStillDraw) {
  ASSERT_EQ(Window_Init(true, 0, true, 0, false), 0);
  EXPECT_EQ(SDL_ShowCursor(SDL_QUERY), SDL_DISABLE);
  EXPECT_TRUE(SDL_GetVideoSurface()->flags & SDL_FULLSCREEN);
  EXPECT_EQ(SDL_GetVideoSurface()->format->BitsPerPixel, 32);
  Screen_Clear(1, 2, 3);
  Screen_Present();
  Screen_Present();  // both buffers of a double-buffered screen show the frame
  EXPECT_EQ(screenWord(639, 479) & 0xFFFFFF, 0x010203u);
  Window_Shutdown();
  ASSERT_EQ(Window_Init(false, 0, false, 0, false), 0);
  EXPECT_EQ(SDL_ShowCursor(SDL_QUERY), SDL_ENABLE);
}

TEST_F(WindowTest, FailsWithTheFailureCodeWhenVideoCannotStart) {
  setenv("SDL_VIDEODRIVER", "no-such-driver", 1);
  EXPECT_EQ(Window_Init(false, 0, false, 0, false), kVideoInitFailed);
  EXPECT_LT(kVideoInitFailed, 0);
  EXPECT_FALSE(Window_IsOpen());
  setenv("SDL_VIDEODRIVER", "dummy", 1);
  EXPECT_EQ(Window_Init(false, 0, false, 0, false), 0);
}

TEST_F(WindowTest, CloseButtonIsRecordedForTheScreens) {
  ASSERT_EQ(Window_Init(false, 0, false, 0, false), 0);
  EXPECT_FALSE(Window_CloseRequested());
  SDL_Event e{};
  e.type = SDL_QUIT;
  ASSERT_EQ(SDL_PushEvent(&e), 0);
  Window_PumpMessages();
  EXPECT_TRUE(Window_CloseRequested());
  Window_ClearCloseRequest();
  EXPECT_FALSE(Window_CloseRequested());
}

TEST_F(WindowTest, AKeyTappedBetweenPollsReadsDownOnce) {
  ASSERT_EQ(Window_Init(false, 0, false, 0, false), 0);
  ASSERT_EQ(Keyboard_Init(22, true), 0);
  SDL_Event e{};
  e.type = SDL_KEYDOWN;
  e.key.type = SDL_KEYDOWN;
  e.key.state = SDL_PRESSED;
  e.key.keysym.sym = SDLK_a;
  ASSERT_EQ(SDL_PushEvent(&e), 0);
  Keyboard_Poll();
  EXPECT_TRUE(Keyboard_IsDown(30));
  Keyboard_Poll();
  EXPECT_FALSE(Keyboard_IsDown(30));
}

TEST_F(WindowTest, F11SavesThePresentedFrame) {
  ASSERT_EQ(Window_Init(false, 0, false, 0, false), 0);
  ASSERT_EQ(Keyboard_Init(22, true), 0);
  Screen_Clear(10, 200, 30);
  InputScript_Set({keyDown(87)});
  Keyboard_Poll();
  Screen_Present();
  Screen_Clear(0, 0, 0);
  Keyboard_Poll();
  Screen_Present();  // still held: no second picture
  namespace fs = std::filesystem;
  std::vector<fs::path> shots;
  for (auto& e : fs::directory_iterator("Screenshots")) shots.push_back(e.path());
  ASSERT_EQ(shots.size(), 1u);
  EXPECT_EQ(shots[0].extension(), ".png");
  FIBITMAP* dib = FreeImage_Load(FIF_PNG, shots[0].c_str(), 0);
  ASSERT_NE(dib, nullptr);
  EXPECT_EQ(FreeImage_GetWidth(dib), 640u);
  EXPECT_EQ(FreeImage_GetHeight(dib), 480u);
  RGBQUAD c;
  FreeImage_GetPixelColor(dib, 7, 7, &c);
  EXPECT_EQ(c.rgbRed, 10);
  EXPECT_EQ(c.rgbGreen, 200);
  EXPECT_EQ(c.rgbBlue, 30);
  FreeImage_Unload(dib);
}

TEST_F(WindowTest, ScreenshotPathThatCannotBeWrittenFails) {
  EXPECT_FALSE(Screen_SaveScreenshot("no/such/folder/x.png"));
  EXPECT_FALSE(Screen_SaveScreenshot(""));
  EXPECT_TRUE(Screen_SaveScreenshot("ok.png"));  // no window: the layer's own buffer
}
