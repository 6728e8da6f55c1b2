#include "menus/song_search_screen.h"
#include "platform/pacer.h"
#include "media/draw_helpers.h"
#include "media/font/font.h"
#include "media/render/screen.h"
#include "media/input/input.h"
#include "media/window.h"
#include "platform/locks.h"
#include <thread>

void runSongSearch(IndexProgress& result) {
  IndexProgress progress;
  progress.screenListening = true;
  std::thread worker(indexSongs, "Songs", "rkv2.sng", &progress, &g_drawLock);
  for (;;) {
    Keyboard_Poll();
    Screen_Clear(0, 0, 0);
    bool done;
    {
      std::lock_guard<std::timed_mutex> l(g_drawLock);
      Draw_TextCentred(27, 0xFFFFFF, 320, 170, "Please wait - Searching for files...");
      Draw_TextCentred(20, 0xC0C0C0, 320, 210, "Examining song folders...");
      if (progress.state == 2 || progress.state == 1) Draw_TextCentred(16, 0xFFFF30, 320, 250, progress.text);
      int filled = progress.state < 0 ? 601 : 1 + (int)(progress.progress * 600);
      Draw_FillRect(20, 290, 602, 16, 0x303040);
      Draw_FillRect(21, 291, filled > 600 ? 600 : filled, 14, 0x40A0FF);
      progress.acknowledged = true;
      done = progress.state < 0;
    }
    WaitFrame();
    Screen_Present();
    if (done) break;
    if (!g_pacer.limiterOn) std::this_thread::sleep_for(std::chrono::milliseconds(5));
  }
  worker.join();
  result = progress;
}
