#include "platform/files.h"
#include "platform/log.h"
#include "support/test_support.h"
#include <gtest/gtest.h>
#include <algorithm>
#include <atomic>
#include <filesystem>
#include <mutex>
#include <signal.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <thread>
#include <unistd.h>

namespace {
std::mutex g_logMutex;
std::string g_log;
void keepLine(const char* line) {
  std::lock_guard<std::mutex> lock(g_logMutex);
  g_log += line;
}
struct LogCapture {
  LogCapture() {
    g_log.clear();
    Log_SetListener(keepLine);
  }
  ~LogCapture() { Log_SetListener(nullptr); }
};

// A process number nobody holds: a child that has come and gone.
pid_t deadPid() {
  pid_t pid = fork();
  if (pid == 0) _exit(0);
  waitpid(pid, nullptr, 0);
  return pid;
}

std::vector<std::string> names() {
  std::vector<std::string> out;
  for (auto& e : std::filesystem::directory_iterator(".")) out.push_back(e.path().filename().string());
  std::sort(out.begin(), out.end());
  return out;
}
}  // namespace

TEST(SafeWrite, TemporaryOfAStoppedSaveGoesAtTheNextSaveOfThatFile) {
  TempDir dir;
  LogCapture capture;
  std::string dead = std::to_string((long)deadPid());
  std::string live = std::to_string((long)getppid());
  WriteFile("data.bin", "old");
  WriteFile("data.bin.tmp" + dead, "half a fi");      // a save killed halfway
  WriteFile("data.bin.tmp" + live, "busy");           // another game still saving
  WriteFile("data.bin.tmp", "not one of ours");
  WriteFile("other.bin.tmp" + dead, "another file's");
  ASSERT_TRUE(File_WriteSafely("data.bin", "new", 3));
  EXPECT_EQ(ReadFile("data.bin"), "new");
  std::vector<std::string> want = {"data.bin", "data.bin.tmp", "data.bin.tmp" + live, "other.bin.tmp" + dead};
  std::sort(want.begin(), want.end());
  EXPECT_EQ(names(), want);
  EXPECT_NE(g_log.find("data.bin.tmp" + dead), std::string::npos) << g_log;

  // the same in a sub-folder, named with its path
  ASSERT_TRUE(Dir_Create("sub"));
  WriteFile("sub/x.dat.tmp" + dead, "cut");
  ASSERT_TRUE(File_WriteSafely("sub/x.dat", "whole", 5));
  EXPECT_FALSE(File_Exists("sub/x.dat.tmp" + dead));
  EXPECT_EQ(ReadFile("sub/x.dat"), "whole");
}

TEST(SafeWrite, TwoThreadsSavingOneFileLeaveItWhole) {
  TempDir dir;
  const size_t size = 1 << 18;
  std::string a(size, 'a'), b(size, 'b');
  WriteFile("shared.bin", a);
  std::atomic<int> failed{0}, torn{0};
  std::atomic<bool> stop{false};
  auto saver = [&](const std::string& text) {
    for (int i = 0; i < 25; i++)
      if (!File_WriteSafely("shared.bin", text.data(), text.size())) failed++;
  };
  std::thread reader([&] {
    while (!stop) {
      std::string now = ReadFile("shared.bin");
      if (now != a && now != b) torn++;
    }
  });
  std::thread one(saver, a), two(saver, b);
  one.join();
  two.join();
  stop = true;
  reader.join();
  EXPECT_EQ(failed.load(), 0);
  EXPECT_EQ(torn.load(), 0);
  std::string last = ReadFile("shared.bin");
  EXPECT_TRUE(last == a || last == b);
  EXPECT_EQ(names(), std::vector<std::string>{"shared.bin"});
}

TEST(SafeWrite, FailedSaveSaysWhyAndKeepsTheOldFile) {
  TempDir dir;
  {
    LogCapture capture;
    EXPECT_FALSE(File_WriteSafely("missing/dir/data.bin", "x", 1));
    EXPECT_NE(g_log.find("'missing/dir/data.bin'"), std::string::npos) << g_log;
    EXPECT_FALSE(File_WriteSafely("", "x", 1));
    EXPECT_FALSE(File_WriteSafely("dir/", "x", 1));
  }

  // A file size limit cuts the write short halfway: the save fails, the old file
  // and no temporary remain, and the log names the cause.
  std::string old(1000, 'o');
  WriteFile("data.bin", old);
  int fds[2];
  ASSERT_EQ(pipe(fds), 0);
  pid_t pid = fork();
  if (pid == 0) {
    close(fds[0]);
    signal(SIGXFSZ, SIG_IGN);
    rlimit rl{4096, 4096};
    setrlimit(RLIMIT_FSIZE, &rl);
    LogCapture capture;
    std::string big(10000, 'n');
    bool ok = File_WriteSafely("data.bin", big.data(), big.size());
    if (write(fds[1], g_log.data(), g_log.size()) < 0) {}
    _exit(ok ? 1 : 0);
  }
  close(fds[1]);
  std::string log;
  char buf[1024];
  ssize_t n;
  while ((n = read(fds[0], buf, sizeof buf)) > 0) log.append(buf, (size_t)n);
  close(fds[0]);
  int status = 0;
  waitpid(pid, &status, 0);
  ASSERT_TRUE(WIFEXITED(status));
  EXPECT_EQ(WEXITSTATUS(status), 0) << "the cut save said it went through";
  EXPECT_EQ(ReadFile("data.bin"), old);
  EXPECT_EQ(names(), std::vector<std::string>{"data.bin"});
  EXPECT_NE(log.find("'data.bin' (write failed: File too large)"), std::string::npos) << log;
}
