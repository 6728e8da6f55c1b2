// A child saves every player file over and over, each round with new content, and
// is killed (SIGKILL) at a random moment; every file must then load with the
// game's loaders and be, whole, the version before the save that was cut or the
// one it was writing. TV_KILL_ROUNDS sets the number of kills (tools/kill_soak.sh
// runs thousands), TV_KILL_SEED replays a run.
#include "library/player_files.h"
#include <algorithm>
#include <atomic>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <map>
#include <random>
#include <signal.h>
#include <sys/mman.h>
#include <sys/prctl.h>
#include <sys/wait.h>
#include <unistd.h>

namespace {
using namespace player_files;

// Shared between the test and its child, so that after a kill the test knows
// which versions each file may hold.
struct Shared {
  std::atomic<int> next;             // the version the child writes first
  std::atomic<int> firstStep;        // the save the child starts with
  std::atomic<int> done[kKinds];     // the last version whose save returned
  std::atomic<int> writing[kKinds];  // the version being saved (done when none)
  std::atomic<int> inside;           // 1 + the step being saved, 0 between saves
  std::atomic<int> saves;            // saves the children finished
  std::atomic<int> failed;           // saves the game said failed
};

[[noreturn]] void saveForever(Shared* sh) {
  prctl(PR_SET_PDEATHSIG, SIGKILL);
  auto until = std::chrono::steady_clock::now() + std::chrono::seconds(60);
  int first = sh->firstStep;
  for (int v = sh->next.load(); std::chrono::steady_clock::now() < until; v++) {
    for (int i = 0; i < kSteps; i++) {
      int s = (first + i) % kSteps;
      for (Kind k : kStepKinds[s]) sh->writing[k] = v;
      sh->inside = s + 1;
      bool ok = save((Step)s, v);
      sh->inside = 0;
      if (ok)
        for (Kind k : kStepKinds[s]) sh->done[k] = v;
      else
        sh->failed++;
      sh->saves++;
    }
  }
  _exit(0);
}

int envInt(const char* name, int fallback) {
  const char* s = getenv(name);
  return s && *s ? atoi(s) : fallback;
}

std::string baseOf(const std::string& temp) { return temp.substr(0, temp.rfind(".tmp")); }
}  // namespace

TEST(PlayerFilesKill, EveryFileIsWholeOldOrNewAfterAKillAtAnyMoment) {
  TempDir dir;
  ASSERT_TRUE(Dir_Create("Profiles/P1"));
  listProfiles();
  auto start = std::chrono::steady_clock::now();
  for (int s = 0; s < kSteps; s++) ASSERT_TRUE(save((Step)s, 1)) << s;
  double roundMs = std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - start).count();

  void* mem = mmap(nullptr, sizeof(Shared), PROT_READ | PROT_WRITE, MAP_SHARED | MAP_ANONYMOUS, -1, 0);
  ASSERT_NE(mem, MAP_FAILED);
  Shared* sh = new (mem) Shared{};
  sh->next = 2;
  for (int k = 0; k < kKinds; k++) sh->done[k] = sh->writing[k] = 1;

  int rounds = std::max(1, envInt("TV_KILL_ROUNDS", 300));
  unsigned seed = (unsigned)envInt("TV_KILL_SEED", (int)std::random_device{}());
  std::mt19937 rng(seed);
  // Each child starts with another save, so the kills spread over all of them
  // while each waits only about two saves' time.
  int maxDelayUs = std::clamp((int)(roundMs * 2000 / kSteps), 2000, 100000);
  std::uniform_int_distribution<int> delay(0, maxDelayUs);

  double checkMs = 0;
  int insideSave = 0, leftTemp = 0, failures = 0;
  std::map<int, int> byStep;
  for (int r = 0; r < rounds && failures < 5; r++) {
    sh->firstStep = r % kSteps;
    pid_t pid = fork();
    ASSERT_GE(pid, 0);
    if (pid == 0) saveForever(sh);
    usleep((useconds_t)delay(rng));
    kill(pid, SIGKILL);
    int status = 0;
    waitpid(pid, &status, 0);
    if (int step = sh->inside.exchange(0)) insideSave++, byStep[step - 1]++;

    std::vector<std::string> temps = temporaries();
    if (!temps.empty()) leftTemp++;
    // a cut save may leave its temporary; the next save of that file takes it away
    std::map<std::string, int> perFile;
    for (const std::string& t : temps)
      if (++perFile[baseOf(t)] > 1) {
        ADD_FAILURE() << "round " << r << ": temporaries pile up beside " << baseOf(t);
        failures++;
      }

    auto checkFrom = std::chrono::steady_clock::now();
    int next = sh->next;
    for (int k = 0; k < kKinds; k++) {
      std::string why;
      int v = versionOf((Kind)k, why);
      int was = sh->done[k], cut = sh->writing[k];
      if (v != was && v != cut) {
        ADD_FAILURE() << "round " << r << " (seed " << seed << "): " << kPaths[k] << " holds version " << v
                      << ", expected " << was << " or " << cut << "; " << why;
        failures++;
        continue;
      }
      sh->done[k] = sh->writing[k] = v;
      next = std::max(next, cut + 1);
    }
    sh->next = next;
    checkMs += std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - checkFrom).count();
  }
  EXPECT_EQ(sh->failed.load(), 0) << "a save the children made said it failed";

  // One whole save afterwards leaves the folder clean, every file at its version.
  int last = sh->next;
  for (int s = 0; s < kSteps; s++) ASSERT_TRUE(save((Step)s, last)) << s;
  EXPECT_EQ(temporaries(), std::vector<std::string>{});
  for (int k = 0; k < kKinds; k++) {
    std::string why;
    EXPECT_EQ(versionOf((Kind)k, why), last) << kPaths[k] << " " << why;
  }
  printf("[ kills    ] %d kills (seed %u, delays 0..%d us): %d inside a save (records %d, user records %d, "
         "profile %d, settings %d, song db %d), %d left a temporary; %d saves finished; checks took %.0f ms\n",
         rounds, seed, maxDelayUs, insideSave, byStep[0], byStep[1], byStep[2], byStep[3], byStep[4], leftTemp,
         sh->saves.load(), checkMs);
  munmap(mem, sizeof(Shared));
}
