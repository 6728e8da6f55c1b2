// Saves under a file size limit (as a full disk would refuse them): the game says
// they failed, in its result and in the log, and every old file stays as it was.
#include "library/player_files.h"
#include "platform/log.h"
#include <cstring>
#include <signal.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

namespace {
using namespace player_files;

int g_logPipe = -1;
void logToPipe(const char* line) {
  if (write(g_logPipe, line, strlen(line)) < 0) {}
}

constexpr int kAddRecords = kSteps;   // one more save: new songs added to the records

// Runs every save at version 2 in a child whose files may not grow past `limit`
// bytes; gives the saves the game said went through (a bit per step) and the log.
int saveUnderLimit(rlim_t limit, std::string& log) {
  int fds[2];
  if (pipe(fds) != 0) return -1;
  pid_t pid = fork();
  if (pid == 0) {
    close(fds[0]);
    g_logPipe = fds[1];
    Log_SetListener(logToPipe);
    signal(SIGXFSZ, SIG_IGN);
    rlimit rl{limit, limit};
    if (setrlimit(RLIMIT_FSIZE, &rl) != 0) _exit(255);
    int saved = 0;
    for (int s = 0; s < kSteps; s++)
      if (save((Step)s, 2)) saved |= 1 << s;
    g_records = records("", kMachineRecords, 1);
    SongRecord fresh = Records_New("New Pack\\New Song", 5000);
    if (addRecords(g_records, &fresh, 1)) saved |= 1 << kAddRecords;
    _exit(saved);
  }
  close(fds[1]);
  char buf[4096];
  ssize_t n;
  while ((n = read(fds[0], buf, sizeof buf)) > 0) log.append(buf, (size_t)n);
  close(fds[0]);
  int status = 0;
  waitpid(pid, &status, 0);
  return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}

void writeVersionOne() {
  ASSERT_TRUE(Dir_Create("Profiles/P1"));
  listProfiles();
  for (int s = 0; s < kSteps; s++) ASSERT_TRUE(save((Step)s, 1)) << s;
}
}  // namespace

TEST(PlayerFilesFullDisk, EverySaveFailsLoudlyAndTheOldFilesStay) {
  TempDir dir;
  writeVersionOne();
  std::string before[kKinds];
  for (int k = 0; k < kKinds; k++) before[k] = ReadFile(kPaths[k]);

  std::string log;
  // smaller than the smallest file (the profile's 288 bytes): every write is cut short
  EXPECT_EQ(saveUnderLimit(200, log), 0) << log;

  for (int k = 0; k < kKinds; k++) {
    EXPECT_EQ(ReadFile(kPaths[k]), before[k]) << kPaths[k];
    std::string why;
    EXPECT_EQ(versionOf((Kind)k, why), 1) << kPaths[k] << " " << why;
  }
  EXPECT_EQ(temporaries(), std::vector<std::string>{});
  // each file the saves tried is named in the log as not saved
  for (Kind k : {kRecords, kUserRecords, kProfile, kCfg, kInp, kIni, kSongDb})
    EXPECT_NE(log.find(std::string("'") + kPaths[k] + "'"), std::string::npos) << kPaths[k] << "\n" << log;
  EXPECT_NE(log.find("Unable to add 1 records to 'rkv2.rec'"), std::string::npos) << log;
  EXPECT_EQ(log.find("saved"), std::string::npos) << log;
}

TEST(PlayerFilesFullDisk, SettingsSaveFailsWhenOnlyTarvolenIniIsRefused) {
  TempDir dir;
  writeVersionOne();
  std::string ini = ReadFile(kPaths[kIni]);
  ASSERT_GT(ini.size(), 900u);
  std::string log;
  // room for the 832-byte settings record and the bindings, not for tarvolen.ini
  int saved = saveUnderLimit(900, log);
  ASSERT_GE(saved, 0);
  EXPECT_FALSE(saved & (1 << kSaveSettings)) << "the settings were said to be saved";
  std::string why;
  EXPECT_EQ(versionOf(kCfg, why), 2) << why;
  EXPECT_EQ(versionOf(kInp, why), 2) << why;
  EXPECT_EQ(ReadFile(kPaths[kIni]), ini);
  EXPECT_EQ(versionOf(kIni, why), 1) << why;
  EXPECT_NE(log.find("tarvolen.ini"), std::string::npos) << log;
  EXPECT_EQ(temporaries(), std::vector<std::string>{});
}
