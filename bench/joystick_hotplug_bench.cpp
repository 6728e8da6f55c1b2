// What the joystick hot-plug watch costs a frame: the once-a-second look at the
// device nodes, and a whole count (SDL's joystick subsystem restarted, every
// joystick opened again), with no joystick and with SDL 2 virtual joysticks
// plugged in. Reports milliseconds per operation.
#include "media/input/input.h"
#include "media/input/joystick_hotplug.h"
#include <benchmark/benchmark.h>
#include <SDL.h>
#include <cstdlib>
#include <dlfcn.h>
#include <string>
#include <vector>

namespace {
struct Sdl2 {
  void* lib = nullptr;
  int (*initSub)(uint32_t) = nullptr;
  void (*quitSub)(uint32_t) = nullptr;
  int (*attach)(int, int, int, int) = nullptr;
  int (*detach)(int) = nullptr;
  bool load() {
    lib = dlopen("libSDL2-2.0.so.0", RTLD_NOW | RTLD_GLOBAL);
    if (!lib) return false;
    initSub = (int (*)(uint32_t))dlsym(lib, "SDL_InitSubSystem");
    quitSub = (void (*)(uint32_t))dlsym(lib, "SDL_QuitSubSystem");
    attach = (int (*)(int, int, int, int))dlsym(lib, "SDL_JoystickAttachVirtual");
    detach = (int (*)(int))dlsym(lib, "SDL_JoystickDetachVirtual");
    return initSub && quitSub && attach && detach;
  }
};
}  // namespace

static void BM_LookAtDeviceNodes(benchmark::State& state) {
  for (auto _ : state) benchmark::DoNotOptimize(JoystickHotplug_DeviceNodes());
}
BENCHMARK(BM_LookAtDeviceNodes)->Unit(benchmark::kMicrosecond);

// SDL 2 itself restarts too: what a player's machine does on a plug.
static void BM_CountAgainNoJoystick(benchmark::State& state) {
  setenv("SDL_VIDEODRIVER", "dummy", 0);
  Joystick_Init();
  std::vector<std::string> names;
  for (auto _ : state) Joystick_Reopen(names);
  Joystick_Shutdown();
}
BENCHMARK(BM_CountAgainNoJoystick)->Unit(benchmark::kMillisecond);

// With virtual joysticks that stay plugged in (SDL 2's subsystem is held up, so
// this is our side: closing and opening each one through sdl12-compat).
static void BM_CountAgainVirtualJoysticks(benchmark::State& state) {
  Sdl2 sdl;
  if (!sdl.load()) {
    state.SkipWithError("SDL 2 virtual joysticks unavailable");
    return;
  }
  sdl.initSub(0x200);
  for (int i = 0; i < state.range(0); i++) sdl.attach(0, 6, 16, 1);
  Joystick_Init();
  std::vector<std::string> names;
  for (auto _ : state) Joystick_Reopen(names);
  state.counters["joysticks"] = (double)names.size();
  Joystick_Shutdown();
  for (int i = (int)state.range(0) - 1; i >= 0; i--) sdl.detach(i);
  sdl.quitSub(0x200);
}
BENCHMARK(BM_CountAgainVirtualJoysticks)->Arg(1)->Arg(4)->Unit(benchmark::kMillisecond);
