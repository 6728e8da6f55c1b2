// Loading and freeing plug-ins: which entry points run for which flags, in which
// folder, and the query object they are handed.
#include "vis_test_util.h"

namespace {
class VisLoad : public ::testing::Test {
 protected:
  void SetUp() override { Vis_Search("Vis"); }   // sets the settings path
  TempDir dir;
  LogLines log;
};
}  // namespace

TEST_F(VisLoad, UseStartsInItsFolderHandsOverTheQueryObjectAndStopsOnFree) {
  CopyPlugin("recorder", "Vis/Rec/recorder.svp");
  Recorder rec("Vis/Rec/recorder.svp");
  // the log goes to the game's folder even while the plug-in's is current
  ASSERT_TRUE(LogOpen(0));
  VisInstance vis;
  ASSERT_TRUE(vis.Load("Vis/Rec/recorder.svp", VIS_LOAD_USE));
  EXPECT_TRUE(vis.loaded);
  EXPECT_EQ(vis.folder, RealFolder("Vis/Rec"));
  EXPECT_NE(vis.query, nullptr);
  EXPECT_EQ(rec.count("tvt_read"), 1);
  EXPECT_EQ(rec.count("tvt_start"), 1);
  EXPECT_EQ(rec.count("tvt_accept"), 1);
  EXPECT_EQ(rec.text("tvt_cwd_start"), RealFolder("Vis/Rec"));
  EXPECT_EQ(RealFolder("."), RealFolder(dir.path));
  EXPECT_EQ(rec.count("tvt_position"), 1);
  EXPECT_EQ(rec.text("tvt_title"), "Tarvolen");
  EXPECT_EQ(rec.count("tvt_unknown_null"), 1);
  EXPECT_TRUE(log.inOrder({"QI:QueryInt(CurrentSongPosition,1)\n", "QI:QueryString(currentSongTitle)\n",
                           "QI:FreeString()\n", "QI:QueryString(favouriteColour)\n",
                           "Initialized Visualization 'recorder'\n"}));

  // loading again does nothing
  EXPECT_TRUE(vis.Load("Vis/Rec/recorder.svp", VIS_LOAD_USE));
  EXPECT_EQ(rec.count("tvt_start"), 1);

  vis.Free();
  EXPECT_FALSE(vis.loaded);
  EXPECT_EQ(vis.query, nullptr);
  EXPECT_EQ(rec.count("tvt_store"), 1);
  EXPECT_EQ(rec.count("tvt_stop"), 1);
  EXPECT_EQ(rec.text("tvt_settings_path"), RealFolder(".") + "/vis.ini");
  EXPECT_EQ(log.all().back(), "Freed library... ");
  vis.Free();   // twice is harmless
  EXPECT_EQ(rec.count("tvt_stop"), 1);
  LogOff();

  std::string written = ReadFile("rkv2.log");
  EXPECT_NE(written.find("QI:QueryInt(CurrentSongPosition,1)\n"), std::string::npos);
  EXPECT_NE(written.find("Freed library... "), std::string::npos);
  EXPECT_FALSE(File_Exists("Vis/Rec/rkv2.log"));
}

TEST_F(VisLoad, AnOldPluginIsStartedButGetsNoQueryObjectAndNoStop) {
  CopyPlugin("old", "Vis/old.svp");
  Recorder rec("Vis/old.svp");
  {
    VisInstance vis;
    ASSERT_TRUE(vis.Load("Vis/old.svp", VIS_LOAD_USE));
    EXPECT_EQ(vis.query, nullptr);
    EXPECT_EQ(rec.count("tvt_start"), 1);
    EXPECT_EQ(rec.count("tvt_accept"), 0);
  }   // freed by its destructor
  EXPECT_EQ(rec.count("tvt_store"), 1);
  EXPECT_EQ(rec.count("tvt_stop"), 0);
  EXPECT_TRUE(log.has("Initialized Visualization 'old'\n"));
}

TEST_F(VisLoad, EachFlagRunsOnlyItsOwnCalls) {
  CopyPlugin("recorder", "Vis/r.svp");
  Recorder rec("Vis/r.svp");
  VisInstance vis;
  ASSERT_TRUE(vis.Load("Vis/r.svp", VIS_LOAD_STORE));
  vis.Free();
  EXPECT_EQ(rec.count("tvt_read") + rec.count("tvt_start") + rec.count("tvt_stop"), 0);
  EXPECT_EQ(rec.count("tvt_store"), 1);

  ASSERT_TRUE(vis.Load("Vis/r.svp", VIS_LOAD_START));
  vis.Free();
  EXPECT_EQ(rec.count("tvt_read"), 0);
  EXPECT_EQ(rec.count("tvt_store"), 1);
  EXPECT_EQ(rec.count("tvt_start"), 1);
  EXPECT_EQ(rec.count("tvt_stop"), 1);
  EXPECT_EQ(rec.count("tvt_query_module"), 2);
}

TEST_F(VisLoad, BadFilesFailWithTheirLogLine) {
  WriteFile("Vis/x.svp", "MZ this is text, not a library");
  WriteFile("Vis/empty.svp", "");
  CopyPlugin("noquery", "Vis/noquery.svp");
  CopyPlugin("nullmod", "Vis/nullmod.svp");
  struct Case {
    const char* path;
    const char* line;
  } cases[] = {{"Vis/x.svp", "Error loading Library\n"},
               {"Vis/empty.svp", "Error loading Library\n"},
               {"Vis/missing.svp", "Error loading Library\n"},
               {"", "Error loading Library\n"},
               {"Vis", "Error loading Library\n"},
               {"Vis/noquery.svp", "Error reading QueryModule\n"},
               {"Vis/nullmod.svp", "QueryModule returned no module\n"}};
  for (const Case& c : cases) {
    LogLines lines;
    VisInstance vis;
    EXPECT_FALSE(vis.Load(c.path, VIS_LOAD_USE)) << c.path;
    EXPECT_TRUE(lines.has(c.line)) << c.path;
    EXPECT_FALSE(vis.loaded);
    EXPECT_EQ(vis.library, nullptr);
    EXPECT_FALSE(vis.Render(0, 0));
    vis.Free();
    EXPECT_EQ(RealFolder("."), RealFolder(dir.path));
  }
  VisInstance none;
  EXPECT_FALSE(none.Load(nullptr, VIS_LOAD_USE));
}

TEST_F(VisLoad, QueryObjectAnswersKnownNamesInAnyCase) {
  CopyPlugin("recorder", "Vis/r.svp");
  VisInstance vis;
  ASSERT_TRUE(vis.Load("Vis/r.svp", VIS_LOAD_START));
  auto* q = (TvVisQuery*)vis.query;
  ASSERT_NE(q, nullptr);
  const TvVisQueryTable* t = q->table;
  for (const char* name : {"currentsonglength", "CURRENTSONGPOSITION", "Scheme_Visual_Left", "scheme_visual_right",
                           "scheme_visual_blend", "difftime", "diffTime"}) {
    int v = -7;
    EXPECT_EQ(t->QueryInt(name, &v), 1);
    EXPECT_EQ(v, 1) << name;
  }
  int v = -7;
  EXPECT_EQ(t->QueryInt("currentsong", &v), 1);   // unknown: true, value untouched
  EXPECT_EQ(v, -7);
  EXPECT_TRUE(log.has("QI:QueryInt(currentsong,-7)\n"));
  EXPECT_EQ(t->QueryInt(nullptr, nullptr), 1);

  for (const char* name : {"currentSkinName", "CURRENTSONGFILENAME", "currentsongtitle", "currentSongAuthor",
                           "currentSongDisplayString"}) {
    const char* s = t->QueryString(name);
    ASSERT_NE(s, nullptr) << name;
    EXPECT_STREQ(s, "Tarvolen");
    t->FreeString(s);
  }
  EXPECT_EQ(t->QueryString("currentSong"), nullptr);
  EXPECT_EQ(t->QueryString(nullptr), nullptr);
  t->FreeString(nullptr);
  EXPECT_TRUE(log.has("QI:QueryString(CURRENTSONGFILENAME)\n"));
  EXPECT_TRUE(log.has("QI:FreeString()\n"));
}
