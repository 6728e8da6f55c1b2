#include "menus/credits_screen.h"
#include "chart/random.h"
#include "library/song_list.h"
#include "library/settings.h"
#include "media/audio/audio.h"
#include "media/draw_helpers.h"
#include "media/font/font.h"
#include "media/skin/skin_config.h"
#include "media/skin/skin_images.h"
#include "media/sound/sound_fx.h"
#include "menus/credits_motion.h"
#include "menus/credits_text.h"
#include "menus/screen_loop.h"
#include "platform/files.h"
#include "platform/log.h"
#include <new>
#include <string>
#include <vector>

namespace {
constexpr int kMusicTries = 10;
constexpr int kCreditsTextWidth = 640 - kCreditsTextX - 4;
constexpr int kCreditsSmallestSize = 12;

struct Credits {
  Image picture;                        // "rkv2-credits.png" at (240, 0)
  Image overlay;                        // black, over everything
  Image slides[kCreditsSlides];         // one per distinct song picked
  int slideOf[kCreditsSlides];          // slide index -> entry of `slides`, -1 none
  CreditLine lines[kCreditsLineMax];
  int lineCount = 0;
  uint32_t closingTime = 0;             // when the last line has passed: the closing message
  uint32_t closingAt = 0;               // when the closing message began
  bool closing = false;
  bool ending = false;
  uint32_t endingAt = 0;
  uint32_t stream = 0;
};

// The whole music file of song `index` in memory, streamed from there; 0 when
// it cannot be read or decoded.
uint32_t openMusic(int index) {
  const SongEntry& e = g_songs[(size_t)index];
  std::string path;
  if (!e.musicFile[0] || !Path_Resolve(Path_FromData(e.musicFile), path)) {
    WriteLogf("Credits: no music file for '%s'\n", e.musicFile);
    return 0;
  }
  std::vector<uint8_t> music;
  try {
    if (!File_ReadAll(path, music)) music.clear();
  } catch (const std::bad_alloc&) {
    music.clear();
  }
  uint32_t s = music.empty() ? 0
                             : Audio_StreamCreateFile(true, music.data(), 0, (uint32_t)music.size(),
                                                      AUDIO_STREAM_EXACT_SEEK);
  if (!s) WriteLogf("Credits: cannot open the music '%s'\n", path.c_str());
  return s;
}

// Up to ten random songs until one's music opens.
uint32_t pickMusic() {
  int count = (int)g_songs.size();
  for (int i = 0; i < kMusicTries && count > 0; i++) {
    int index = Random_Below(count);
    if (uint32_t s = openMusic(index)) {
      WriteLogf("Credits music: '%s'\n", g_songs[(size_t)index].musicFile);
      return s;
    }
  }
  return 0;
}

// A song's background at 240 x 180: its own picture, else the skin's default.
void loadSlide(int song, Image& out) {
  const SongEntry& e = g_songs[(size_t)song];
  if (e.background[0]) {
    std::string path = std::string("Songs/") + e.group + "/" + e.folder + "/" + e.background;
    if (!out.Load(path.data(), 0, 0)) WriteLogf("Credits: background '%s' not usable\n", path.c_str());
  }
  if (!out.loaded) LoadPNG("def-background.png", out, 0, 0);
  out.SetSize(kSlideWidth, kSlideHeight, 1);
}

void loadSlides(Credits& c) {
  int songs[kCreditsSlides];
  Credits_PickSlides((int)g_songs.size(), songs);
  int loadedSong[kCreditsSlides];
  int loaded = 0;
  for (int i = 0; i < kCreditsSlides; i++) {
    c.slideOf[i] = -1;
    if (songs[i] < 0) continue;
    for (int j = 0; j < loaded; j++)
      if (loadedSong[j] == songs[i]) c.slideOf[i] = j;
    if (c.slideOf[i] >= 0) continue;
    loadSlide(songs[i], c.slides[loaded]);
    loadedSong[loaded] = songs[i];
    c.slideOf[i] = loaded++;
  }
}

void drawSlides(Credits& c, uint32_t t) {
  SlideColumn col = Credits_SlideColumn(t);
  for (int k = 0, y = col.bottomY; y > -kSlideHeight; k++, y -= kSlideHeight) {
    int slide = ((col.bottomIndex - k) % kCreditsSlides + kCreditsSlides) % kCreditsSlides;
    if (c.slideOf[slide] < 0) continue;
    Image& p = c.slides[c.slideOf[slide]];
    p.SetPosition(0, y);
    p.Draw();
  }
}

void drawText(const Credits& c, uint32_t t) {
  for (int i = 0; i < c.lineCount; i++) {
    int y = Credits_LineY(t, c.lines[i].offset);
    if (!Credits_LineShown(y)) continue;
    int alpha = Credits_TextAlpha(y);
    if (alpha > 0) Font_DrawTextAlpha(c.lines[i].size, c.lines[i].colour, kCreditsTextX, y, c.lines[i].text, alpha);
  }
}

// A credit from a skin or sound set may be longer than the column is wide: it
// is drawn smaller rather than run off the screen.
void fitLines(Credits& c) {
  for (int i = 0; i < c.lineCount; i++) {
    CreditLine& l = c.lines[i];
    l.size = Draw_FitSize(l.size, kCreditsSmallestSize, kCreditsTextWidth, l.text);
  }
}

void drawClosing(uint32_t sinceClosing) {
  int a = Credits_ClosingAlpha(sinceClosing);
  Font_DrawTextAlpha(20, 0xFFFFFF, kCreditsTextX, 150, "Thank you for playing!", a);
  Font_DrawTextAlpha(16, 0x008080, kCreditsTextX, 190, "TARVOLEN", a);
  Font_DrawTextAlpha(16, 0x808000, kCreditsTextX, 210, kCreditsAuthorLine, a);
  Font_DrawTextAlpha(16, 0x808080, kCreditsTextX, 230, "v2.50.00", a);
}

// One frame; 1 once the music has faded out.
int frame(Credits& c, ScreenFrame& f) {
  uint32_t t = f.elapsedMs;
  if (c.picture.loaded) {
    c.picture.SetPosition(240, 0);
    c.picture.Draw();
  }
  drawSlides(c, t);
  drawText(c, t);

  if (!c.closing && t >= c.closingTime) {
    c.closing = true;
    c.closingAt = t;
    if (g_settings.announcer) PlayVoice(VOICE_OVER_PASS);
  }
  if (c.closing) drawClosing(t - c.closingAt);

  if (!c.ending && ((c.closing && t - c.closingAt >= kCreditsClosingHoldMs) || (f.input & kCreditsEndMask))) {
    c.ending = true;
    c.endingAt = t;
    WriteLogf("Credits ending after %u ms\n", t);
  }
  int result = 0;
  if (c.ending) {
    double volume = Credits_EndingVolume(t - c.endingAt);
    if (volume < 0) {
      Audio_ChannelStop(c.stream);
      Audio_StreamFree(c.stream);
      c.stream = 0;
      result = 1;
    } else {
      Audio_ChannelSetAttributes(c.stream, -1, (int)volume, -101);
    }
  }
  int dark = Credits_OverlayAlpha(t, c.ending, c.ending ? t - c.endingAt : 0);
  if (dark > 0 && c.overlay.loaded) {
    c.overlay.SetSurfaceAlpha(dark);
    c.overlay.Draw();
  }
  return result;
}
}  // namespace

void CreditsScreen() {
  WriteLog("Starting credits...\n");
  // some 45 KB of lines and pictures: kept off the stack
  Credits* c = new (std::nothrow) Credits;
  if (!c) {
    WriteLog("Credits: out of memory\n");
    return;
  }
  c->stream = pickMusic();
  if (!c->stream) {
    WriteLog("Credits: no music could be opened\n");
    delete c;
    return;
  }
  MenuScreen screen;
  Screen_Open(screen, ScreenSetup{});
  LoadPNG("rkv2-credits.png", c->picture, 0, 1);
  CreditSources sources{g_announcerCredit.c_str(), g_effectCredit.c_str(), Skin_Name(), g_skinConfig.author.c_str()};
  c->lineCount = Credits_ExpandText(kCreditsText, sources, c->lines, kCreditsLineMax);
  fitLines(*c);
  c->closingTime = c->lineCount > 0 ? Credits_ClosingTime(c->lines[c->lineCount - 1].offset) : 0;
  loadSlides(*c);
  if (c->overlay.Create(64, 48, IMAGE_RGB)) {
    c->overlay.Clear();
    c->overlay.SetSize(645, 485, 0);
    c->overlay.SetPosition(0, 0);
  }

  Audio_ChannelSetAttributes(c->stream, -1, 100, -101);
  Audio_StreamPlay(c->stream, false, 0);
  Screen_Run(screen, [c](ScreenFrame& f) { return frame(*c, f); });

  if (c->stream) Audio_StreamFree(c->stream);
  delete c;   // the pictures are freed with it
  WriteLog("Credits done\n");
}
