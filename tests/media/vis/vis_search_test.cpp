// The start-up search: which files count, which folders are skipped, the order
// of the list and its log lines.
#include "vis_test_util.h"

namespace {
class VisSearch : public ::testing::Test {
 protected:
  void TearDown() override { Vis_Unload(); }
  TempDir dir;
  LogLines log;
};
}  // namespace

TEST_F(VisSearch, FindsPluginsInAnyCaseSortedByNameAndSkipsDottedFolders) {
  CopyPlugin("recorder", "Vis/zeta.svp");
  CopyPlugin("recorder", "Vis/Sub/Alpha.SVP");
  CopyPlugin("old", "Vis/Sub/Deeper/mid.Svp");
  CopyPlugin("recorder", "Vis/x.y/hidden.svp");     // a dot as second character
  CopyPlugin("recorder", "Vis/.dot/hidden2.svp");   // and as first
  CopyPlugin("recorder", "Vis/Sub/notes.svp.bak");
  CopyPlugin("nullmod", "Vis/empty.svp");
  CopyPlugin("noquery", "Vis/plain.svp");
  WriteFile("Vis/x.svp", "not a library at all\n");
  WriteFile("Vis/readme.txt", "hello\n");
  Recorder alpha("Vis/Sub/Alpha.SVP");

  Vis_Search("Vis");

  ASSERT_EQ(Vis_Count(), 3);
  EXPECT_STREQ(Vis_NameAt(0), "Alpha");
  EXPECT_STREQ(Vis_NameAt(1), "mid");
  EXPECT_STREQ(Vis_NameAt(2), "zeta");
  EXPECT_STREQ(Vis_PathAt(0), "Vis/Sub/Alpha.SVP");
  EXPECT_STREQ(Vis_PathAt(1), "Vis/Sub/Deeper/mid.Svp");
  EXPECT_STREQ(Vis_PathAt(2), "Vis/zeta.svp");
  // the index counts modulo 2^24; outside the list is empty
  EXPECT_STREQ(Vis_NameAt(1 + (1u << 24)), "mid");
  EXPECT_STREQ(Vis_PathAt(3), "");
  EXPECT_STREQ(Vis_NameAt(0xFFFFFFFFu), "");
  const char* const* names = Vis_Names();
  ASSERT_NE(names, nullptr);
  EXPECT_STREQ(names[2], "zeta");
  EXPECT_EQ(names[3], nullptr);

  EXPECT_TRUE(log.inOrder({"Searching for visualizations...\n", "Vis/Sub/Alpha.SVP\n", " - found: 'Alpha' (v.1)\n",
                           "Vis/Sub/Deeper/mid.Svp\n", " - found: 'mid' (v.0)\n", "Vis/empty.svp\n",
                           "Vis/plain.svp\n", "Error reading QueryModule\n", "Vis/x.svp\n",
                           "Error loading Library\n", "Vis/zeta.svp\n", " - found: 'zeta' (v.1)\n",
                           "3 visuals...\n", "hVis=(created)\n"}));
  for (const auto& l : log.all()) {
    EXPECT_EQ(l.find("hidden"), std::string::npos) << l;
    EXPECT_EQ(l.find("notes"), std::string::npos) << l;
    EXPECT_EQ(l.find("Initialized"), std::string::npos) << l;   // probing starts nothing
    EXPECT_EQ(l.find("Freed library"), std::string::npos) << l;
  }

  // probing reads the settings in the plug-in's folder, and starts nothing
  EXPECT_EQ(alpha.count("tvt_read"), 1);
  EXPECT_EQ(alpha.count("tvt_start"), 0);
  EXPECT_EQ(alpha.count("tvt_store"), 0);
  EXPECT_EQ(alpha.count("tvt_stop"), 0);
  EXPECT_EQ(alpha.text("tvt_cwd_read"), RealFolder("Vis/Sub"));
  EXPECT_EQ(alpha.text("tvt_settings_path"), RealFolder(".") + "/vis.ini");
  EXPECT_EQ(RealFolder("."), RealFolder(dir.path));   // and the game's folder is back
}

TEST_F(VisSearch, AFolderThatCannotBeListedLeavesAnEmptyList) {
  CopyPlugin("recorder", "Vis/a.svp");
  Vis_Search("Vis");
  ASSERT_EQ(Vis_Count(), 1);

  Vis_Search("Nowhere");   // a new search forgets the old list
  EXPECT_EQ(Vis_Count(), 0);
  EXPECT_STREQ(Vis_NameAt(0), "");
  EXPECT_EQ(Vis_Names()[0], nullptr);
  EXPECT_TRUE(log.inOrder({"Searching for visualizations...\n", "Invalid path...\n", "0 visuals...\n", "hVis=NULL\n"}));

  WriteFile("File.svp", "x");
  Vis_Search("File.svp");   // a file where the folder should be
  EXPECT_EQ(Vis_Count(), 0);
}

TEST_F(VisSearch, EqualNamesKeepTheirFileOrderAndUnloadForgetsTheList) {
  CopyPlugin("recorder", "Vis/b/same.svp");
  CopyPlugin("recorder", "Vis/a/SAME.svp");
  Vis_Search("Vis");
  ASSERT_EQ(Vis_Count(), 2);
  EXPECT_STREQ(Vis_PathAt(0), "Vis/a/SAME.svp");
  EXPECT_STREQ(Vis_PathAt(1), "Vis/b/same.svp");
  Vis_Unload();
  EXPECT_EQ(Vis_Count(), 0);
}

TEST_F(VisSearch, TheListStopsAt512) {
  for (int i = 0; i < 514; i++) {
    char name[64];
    snprintf(name, sizeof name, "Vis/p%03d.svp", i);
    CopyPlugin("old", name);
  }
  Vis_Search("Vis");
  EXPECT_EQ(Vis_Count(), 512);
  EXPECT_STREQ(Vis_NameAt(511), "p511");
  EXPECT_TRUE(log.has("512 visuals...\n"));
  EXPECT_FALSE(log.has("Vis/p512.svp\n"));   // not even tried
}
