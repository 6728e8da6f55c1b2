#include "menus/song_search_screen.h"
#include "media/draw_helpers.h"
#include "menus/screen_loop.h"
#include "platform/locks.h"
#include <mutex>
#include <thread>

void runSongSearch(IndexProgress& result, bool rebuild) {
  IndexProgress progress;
  progress.screenListening = true;
  std::thread worker(indexSongs, "Songs", "rkv2.sng", &progress, &g_drawLock, rebuild);
  ScreenSetup setup;
  setup.fpsMeter = false;
  Screen_Run(setup, [&progress](ScreenFrame&) {
    // the indexer changes its text and state under the drawing lock
    std::lock_guard<std::timed_mutex> l(g_drawLock);
    Draw_TextCentred(27, 0xFFFFFF, 320, 170, "Please wait - Searching for files...");
    Draw_TextCentred(20, 0xC0C0C0, 320, 210, "Examining song folders...");
    if (progress.state == 2 || progress.state == 1) Draw_TextCentred(16, 0xFFFF30, 320, 250, progress.text);
    int filled = progress.state < 0 ? 601 : 1 + (int)(progress.progress * 600);
    Draw_FillRect(20, 290, 602, 16, 0x303040);
    Draw_FillRect(21, 291, filled > 600 ? 600 : filled, 14, 0x40A0FF);
    progress.acknowledged = true;
    return progress.state < 0 ? 1 : 0;
  });
  worker.join();
  result = progress;
}
