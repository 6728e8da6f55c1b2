#include "platform/log.h"
#include "platform/files.h"
#include "support/test_support.h"
#include <gtest/gtest.h>

TEST(Log, OffWritesNothing) {
  TempDir dir;
  LogOff();
  EXPECT_TRUE(WriteLog("hello\n"));
  EXPECT_FALSE(File_Exists("rkv2.log"));
}

TEST(Log, OpenReplacesOldFileAndWritesVerbatim) {
  TempDir dir;
  WriteFile("rkv2.log", "old contents\n");
  LogOpen(0);
  WriteLog("100% done %s %d\n");
  WriteLogf("Sound Device %d: %s\n", 1, "dummy");
  WriteLog("no newline");
  WriteLog(" continues\n");
  EXPECT_EQ(ReadFile("rkv2.log"), "Starting log...\n100% done %s %d\nSound Device 1: dummy\nno newline continues\n");
  LogOff();
}

TEST(Log, Log2LinesOnlyAtLevelOne) {
  TempDir dir;
  LogOpen(0);
  WriteLog("detail LOG2 line\n");
  WriteLog("plain\n");
  EXPECT_EQ(ReadFile("rkv2.log"), "Starting log...\nplain\n");
  LogOpen(1);
  WriteLog("detail LOG2 line\n");
  EXPECT_EQ(ReadFile("rkv2.log"), "Starting log...\ndetail LOG2 line\n");
  LogOff();
}

TEST(Log, UnwritableFolderFailsQuietly) {
  TempDir dir;
  Dir_Create("rkv2.log");  // a folder where the file would be
  EXPECT_TRUE(LogOpen(0));
  EXPECT_FALSE(WriteLog("x\n"));
  LogOff();
}

TEST(Log, LongFormattedLineIsWrittenWhole) {
  TempDir dir;
  LogOpen(0);
  std::string big(5000, 'p');
  WriteLogf("Loading '%s' (LoadPNG)...\n", big.c_str());
  EXPECT_EQ(ReadFile("rkv2.log").size(), std::string("Starting log...\n").size() + big.size() + 24);
  LogOff();
}
