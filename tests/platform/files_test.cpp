#include "platform/files.h"
#include "support/test_support.h"
#include <gtest/gtest.h>
#include <filesystem>

TEST(Files, ResolveIgnoresCaseComponentByComponent) {
  TempDir dir;
  Dir_Create("Songs/Demo Pack/First");
  WriteFile("Songs/Demo Pack/First/Steps.RKV", "x");
  std::string out;
  EXPECT_TRUE(Path_Resolve("songs\\demo pack\\FIRST\\steps.rkv", out));
  EXPECT_EQ(out, "Songs/Demo Pack/First/Steps.RKV");
  EXPECT_TRUE(Path_Resolve("Songs/Demo Pack/First/Steps.RKV", out));
  EXPECT_FALSE(Path_Resolve("songs/other/steps.rkv", out));
  EXPECT_TRUE(Path_Resolve(dir.path + "/SONGS/demo PACK", out));
  EXPECT_EQ(out, dir.path + "/Songs/Demo Pack");
  EXPECT_FALSE(Path_Resolve("", out));
}

TEST(Files, SafeWriteReplacesWholeFileAndLeavesNoTemporaries) {
  TempDir dir;
  WriteFile("data.bin", "old");
  ASSERT_TRUE(File_WriteSafely("data.bin", "new contents", 12));
  EXPECT_EQ(ReadFile("data.bin"), "new contents");
  int n = 0;
  for (auto& e : std::filesystem::directory_iterator(".")) (void)e, n++;
  EXPECT_EQ(n, 1);
  EXPECT_FALSE(File_WriteSafely("missing/dir/data.bin", "x", 1));
  EXPECT_EQ(File_Size("data.bin"), 12);
  EXPECT_EQ(File_Size("nothing"), -1);
}

TEST(Files, ReadAll) {
  TempDir dir;
  std::string big(200000, '\0');
  for (size_t i = 0; i < big.size(); i++) big[i] = (char)(i * 7);
  WriteFile("b", big);
  std::vector<uint8_t> v;
  ASSERT_TRUE(File_ReadAll("b", v));
  EXPECT_EQ(std::string(v.begin(), v.end()), big);
  EXPECT_FALSE(File_ReadAll("none", v));
}

#include "platform/md5.h"

TEST(Md5, KnownDigests) {
  EXPECT_EQ(Md5_Hex("", 0), "d41d8cd98f00b204e9800998ecf8427e");
  EXPECT_EQ(Md5_Hex("abc", 3), "900150983cd24fb0d6963f7d28e17f72");
  std::string q = "The quick brown fox jumps over the lazy dog";
  EXPECT_EQ(Md5_Hex(q.data(), q.size()), "9e107d9d372bb6826bd81d3542a419d6");
}
