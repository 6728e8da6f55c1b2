// Song packs as players drop them into Songs/: made on other systems, with names
// in other encodings and cases, other line ends, odd files and folders. Each
// song is indexed, or skipped with a log line; nothing crashes.
#include "library/courses.h"
#include "library/indexer.h"
#include "library/song_db.h"
#include "library/song_list.h"
#include "library/rkv_parser.h"
#include "platform/clock.h"
#include "platform/files.h"
#include "platform/log.h"
#include "support/test_support.h"
#include <gtest/gtest.h>
#include <FreeImage.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>
#include <cstring>
#include <thread>

namespace {
std::string chartText(const std::string& title, const std::string& extra = "") {
  return "#TITLE:" + title + ";\n#ARTIST:Pack Maker;\n#BPM:150;\n#GAP:-20;\n" + extra +
         "#SINGLE:BASIC:3:\n2222 4444 (8686) 2222;\n#SINGLE:MANIAC:9:\n<21>2!2 0000 [4444] 6;\n"
         "#DOUBLE:ANOTHER:6:\n2222:8888;\n";
}

// A song folder with a chart and some bytes of "music" (the indexer only names it).
void packSong(const std::string& dir, const std::string& chart, const char* chartName = "steps.rkv",
              const char* musicName = "music.ogg") {
  Dir_Create(dir);
  WriteFile(dir + "/" + chartName, chart);
  if (musicName) WriteFile(dir + "/" + musicName, "OggS and then some bytes");
}

std::string withLineEnds(std::string text, const char* eol) {
  std::string out;
  for (char c : text) out += c == '\n' ? std::string(eol) : std::string(1, c);
  return out;
}

std::string logText() { return ReadFile("rkv2.log"); }

// Indexes with the log on; returns the songs loaded.
int indexWithLog() {
  LogOpen(1);
  indexSongs("Songs", "rkv2.sng", nullptr, nullptr);
  int n = loadSongList("rkv2.sng") ? (int)g_songs.size() : 0;
  LogOff();
  return n;
}

const SongEntry* songTitled(const std::string& title) {
  for (const SongEntry& e : g_songs)
    if (title == e.title) return &e;
  return nullptr;
}

std::string fileBytes(FREE_IMAGE_FORMAT f, int w, int h) {
  FIBITMAP* d = FreeImage_Allocate(w, h, 24);
  FIMEMORY* m = FreeImage_OpenMemory();
  FreeImage_SaveToMemory(f, d, m, 0);
  BYTE* data = nullptr;
  DWORD n = 0;
  FreeImage_AcquireMemory(m, &data, &n);
  std::string s((const char*)data, n);
  FreeImage_CloseMemory(m);
  FreeImage_Unload(d);
  return s;
}

void setTimes(const std::string& path, const struct timespec& t) {
  struct timespec both[2] = {t, t};
  utimensat(AT_FDCWD, path.c_str(), both, 0);
}

struct timespec mtimeOf(const std::string& path) {
  struct stat st{};
  stat(path.c_str(), &st);
  return st.st_mtim;
}
}  // namespace

TEST(SongPacks, NamesInOtherEncodingsCasesAndSeparatorsAreFound) {
  TempDir dir;
  const std::string latin = "Chansons d'\xE9t\xE9";          // Latin-1, not valid UTF-8
  const std::string sjis = "\x83\x5E\x83\x8B\x83\x94\x83\x49\x83\x93";  // Shift-JIS katakana
  packSong("Songs/" + latin + "/Caf\xE9", chartText("Caf\xE9 au lait"), "CAFE.RKV", "Caf\xE9.OGG");
  packSong("Songs/" + latin + "/" + sjis, chartText(sjis), "steps.rkv", "music.mp3");
  // the chart names its music from the game folder with "\" and other case
  packSong("Songs/" + latin + "/Tagged", chartText("Tagged", "#FILE:SONGS\\" + latin + "\\TAGGED\\Audio\\MUSIC.OGG;\n"),
           "steps.rkv", nullptr);
  packSong("Songs/" + latin + "/Tagged/audio", "", "readme.txt", "Music.ogg");
  // and one pack names it from its song folder, as some editors write it
  packSong("Songs/" + latin + "/Near", chartText("Near", "#FILE:sub\\Music.OGG;\n"), "steps.rkv", nullptr);
  packSong("Songs/" + latin + "/Near/SUB", "", "readme.txt", "music.ogg");
  // pictures in upper case, a JPEG named .png and a PNG named .jpg
  packSong("Songs/" + latin + "/Pictures", chartText("Pictures"));
  WriteFile("Songs/" + latin + "/Pictures/BANNER.PNG", fileBytes(FIF_JPEG, 300, 100));
  WriteFile("Songs/" + latin + "/Pictures/bg.JPG", fileBytes(FIF_PNG, 320, 240));

  // file times move in clock ticks: let the files fall before the walk
  std::this_thread::sleep_for(std::chrono::milliseconds(30));
  ASSERT_EQ(indexWithLog(), 5) << logText();
  const SongEntry* cafe = songTitled("Caf\xE9 au lait");
  ASSERT_NE(cafe, nullptr);
  EXPECT_STREQ(cafe->group, latin.c_str());
  EXPECT_STREQ(cafe->chartFile, "CAFE.RKV");
  EXPECT_STREQ(cafe->musicFile, ("Songs/" + latin + "/Caf\xE9/Caf\xE9.OGG").c_str());
  EXPECT_EQ(cafe->levels[2], 9);
  ASSERT_NE(songTitled(sjis), nullptr);
  EXPECT_STREQ(songTitled(sjis)->folder, sjis.c_str());
  EXPECT_EQ(g_groupList.size(), 1u);

  // every stored music path leads to the file on disk
  for (const SongEntry& e : g_songs) {
    std::string onDisk;
    EXPECT_TRUE(Path_Resolve(e.musicFile, onDisk) && File_Size(onDisk) > 0) << e.title << ": " << e.musicFile;
  }
  const SongEntry* near = songTitled("Near");
  ASSERT_NE(near, nullptr) << logText();
  EXPECT_STREQ(near->musicFile, ("Songs/" + latin + "/Near/sub/Music.OGG").c_str());
  const SongEntry* pics = songTitled("Pictures");
  ASSERT_NE(pics, nullptr);
  EXPECT_STREQ(pics->banner, "BANNER.PNG");
  EXPECT_EQ(pics->wideBanner, 1);
  EXPECT_STREQ(pics->background, "bg.JPG");

  // a second start with nothing changed keeps every song, those whose music
  // lies in a sub-folder too, without reading a chart again
  ASSERT_EQ(indexWithLog(), 5) << logText();
  EXPECT_EQ(logText().find("parseFile("), std::string::npos);
  EXPECT_NE(songTitled("Near"), nullptr);
  EXPECT_NE(songTitled("Tagged"), nullptr);

  // the test-mode reader finds the same music
  ASSERT_EQ(readSongFolder(("Songs/" + latin + "/Near/steps.rkv").c_str()), 1);
  EXPECT_STREQ(g_songs[0].musicFile, ("Songs/" + latin + "/Near/SUB/music.ogg").c_str());
}

TEST(SongPacks, LineEndsAndByteOrderMarksReadAlike) {
  TempDir dir;
  const std::string extra = "#GENRE:Trance,Pop;\n#SAMPLESTART:1.5;\n#DISPLAYBPM:100..200;\n";
  const char* kinds[][2] = {{"LF", "\n"}, {"CRLF", "\r\n"}, {"CR", "\r"}};
  for (auto& k : kinds) {
    for (int bom = 0; bom < 2; bom++) {
      std::string name = std::string(k[0]) + (bom ? " BOM" : "");
      std::string text = withLineEnds(chartText(name, extra), k[1]);
      if (bom) text = "\xEF\xBB\xBF" + text;
      packSong("Songs/Ends/" + name, text);
    }
  }
  ASSERT_EQ(indexWithLog(), 6) << logText();
  const SongEntry* lf = songTitled("LF");
  ASSERT_NE(lf, nullptr);
  for (const char* name : {"LF BOM", "CRLF", "CRLF BOM", "CR", "CR BOM"}) {
    SCOPED_TRACE(name);
    const SongEntry* e = songTitled(name);
    ASSERT_NE(e, nullptr);   // the title holds neither a CR nor the mark
    EXPECT_STREQ(e->artist, "Pack Maker");
    EXPECT_STREQ(e->genres, "|Trance||Pop|");
    EXPECT_EQ(e->sampleStart, 1500);
    EXPECT_EQ(e->displayBpm, -2);
    EXPECT_EQ(e->bpmMax, 200);
    EXPECT_EQ(memcmp(e->levels, lf->levels, sizeof e->levels), 0);
    EXPECT_EQ(memcmp(e->figures, lf->figures, sizeof e->figures), 0);   // the steps read the same
    EXPECT_EQ(e->songLength, lf->songLength);
  }

  // a course written on another system
  for (auto& k : kinds) {
    SCOPED_TRACE(k[0]);
    std::string crs = withLineEnds("#COURSE:Night Run;\n#LIVES:3;\n#SONG:Ends:CR:MANIAC;\n#SONG:Ends:LF BOM:BASIC:MIRROR;\n", k[1]);
    Course c{};
    Course_Defaults(c);
    EXPECT_EQ(Course_ParseText("\xEF\xBB\xBF" + crs, c), 2);
    EXPECT_STREQ(c.name, "Night Run");
    EXPECT_EQ(c.lives, 3);
    EXPECT_EQ(c.entries[0].difficulty, 2);
    EXPECT_EQ(c.entries[1].turn, 2);
  }
}

TEST(SongPacks, BrokenFilesAreSkippedWithALogLineOrIndexedWithoutThem) {
  TempDir dir;
  packSong("Songs/Odd/Silent", chartText("Silent"), "steps.rkv", nullptr);
  WriteFile("Songs/Odd/Silent/music.mp3", "");                        // zero bytes
  packSong("Songs/Odd/Blank Banner", chartText("Blank Banner"));
  WriteFile("Songs/Odd/Blank Banner/banner.png", "");                 // zero-byte picture
  WriteFile("Songs/Odd/Blank Banner/bg.png", "\x89PNG\r\n\x1a\n");   // cut after its signature
  packSong("Songs/Odd/Empty Chart", "", "steps.rkv");
  packSong("Songs/Odd/No Tags", "#TITLE:Only a title;\n");

  ASSERT_EQ(indexWithLog(), 1) << logText();
  const SongEntry& e = g_songs[0];
  EXPECT_STREQ(e.title, "Blank Banner");
  EXPECT_EQ(e.hasBanner, 0);
  EXPECT_EQ(e.hasBackground, 0);
  std::string log = logText();
  EXPECT_NE(log.find("'Songs/Odd/Silent' - music file 'music.mp3' is empty; ignored"), std::string::npos) << log;
  EXPECT_NE(log.find("'Songs/Odd/Silent' - Folder doesn't have all necessary files"), std::string::npos);
  EXPECT_NE(log.find("'Songs/Odd/Empty Chart/steps.rkv' is missing some non-optional tags"), std::string::npos);
  EXPECT_NE(log.find("Error parsing 'Songs/Odd/No Tags/steps.rkv'"), std::string::npos);
}

TEST(SongPacks, LinksLoopsAndFoldersWhereFilesBelong) {
  TempDir dir;
  packSong("Songs/Links/Real", chartText("Real"));
  ASSERT_EQ(symlink(".", "Songs/Links/Loop"), 0);              // the group folder again, inside itself
  ASSERT_EQ(symlink("..", "Songs/Up"), 0);                     // a group that is the game folder
  ASSERT_EQ(symlink("Real", "Songs/Links/Again"), 0);           // a second name for a song
  ASSERT_EQ(symlink("nowhere", "Songs/Links/Gone"), 0);         // dangling
  ASSERT_EQ(symlink("Gone", "Songs/Links/Real/banner.png"), 0);  // dangling inside a song
  packSong("Songs/Links/Chart Folder", "", "readme.txt");        // the chart is a folder
  Dir_Create("Songs/Links/Chart Folder/steps.rkv");
  packSong("Songs/Links/Named.rkv", chartText("In a folder named like a chart"));
  WriteFile("Songs/Links/stray.rkv", chartText("A chart where a song folder belongs"));

  ASSERT_EQ(indexWithLog(), 3) << logText();
  EXPECT_NE(songTitled("In a folder named like a chart"), nullptr);
  int real = 0;
  for (const SongEntry& e : g_songs) real += strcmp(e.title, "Real") == 0;
  EXPECT_EQ(real, 2);   // "Real" and "Again"
  std::string log = logText();
  EXPECT_NE(log.find("Skipping 'Songs/Links/Gone' (No such file or directory)"), std::string::npos) << log;
  EXPECT_NE(log.find("Skipping 'Songs/Links/Real/banner.png'"), std::string::npos);
  EXPECT_NE(log.find("'Songs/Links/Chart Folder' - Folder doesn't have all necessary files"), std::string::npos);
  // the loop is a song folder holding the group's stray chart and no music
  EXPECT_NE(log.find("'Songs/Links/Loop' - Folder doesn't have all necessary files"), std::string::npos);
  EXPECT_NE(log.find("'Songs/Up/Songs' - Folder has no files."), std::string::npos);
}

TEST(SongPacks, UnreadableFolderIsSkippedWithALogLine) {
  TempDir dir;
  packSong("Songs/Locks/Open", chartText("Open"));
  packSong("Songs/Locks/Locked", chartText("Locked"));
  packSong("Songs/Shut/Inside", chartText("Inside"));
  // root reads any folder: the index then runs in a child that has given up root
  bool root = geteuid() == 0;
  if (root) {
    for (const char* p : {".", "Songs", "Songs/Locks", "Songs/Locks/Open", "Songs/Locks/Locked", "Songs/Shut",
                          "Songs/Shut/Inside"})
      chmod(p, 0777);
    for (const char* p : {"Songs/Locks/Open/steps.rkv", "Songs/Locks/Open/music.ogg"}) chmod(p, 0666);
  }
  chmod("Songs/Locks/Locked", 0);
  chmod("Songs/Shut", 0);
  int songs = -1;
  if (root) {
    pid_t child = fork();
    ASSERT_GE(child, 0);
    if (child == 0) {
      if (setgid(65534) != 0 || setuid(65534) != 0) _exit(100);
      _exit(indexWithLog());
    }
    int status = 0;
    waitpid(child, &status, 0);
    ASSERT_TRUE(WIFEXITED(status));
    ASSERT_NE(WEXITSTATUS(status), 100) << "could not give up root";
    songs = WEXITSTATUS(status);
  } else {
    songs = indexWithLog();
  }
  chmod("Songs/Locks/Locked", 0755);
  chmod("Songs/Shut", 0755);
  EXPECT_EQ(songs, 1) << logText();
  std::string log = logText();
  EXPECT_NE(log.find("Cannot list folder 'Songs/Locks/Locked' (Permission denied)"), std::string::npos) << log;
  EXPECT_NE(log.find("Cannot list folder 'Songs/Shut' (Permission denied)"), std::string::npos);
  EXPECT_NE(log.find("Error opening group folder 'Songs/Shut'"), std::string::npos);
}

TEST(SongPacks, EditedChartIsSeenAtTheNextStartHoweverItsTimesLook) {
  TempDir dir;
  packSong("Songs/Edits/Kept Date", chartText("Before 1"));
  packSong("Songs/Edits/Same Tick", chartText("Before 2"));
  packSong("Songs/Edits/Unchanged", chartText("Unchanged"));
  struct timespec old = {time(nullptr) - 1000, 0};
  for (const char* s : {"Kept Date", "Same Tick", "Unchanged"})
    for (const char* f : {"/steps.rkv", "/music.ogg"}) setTimes(std::string("Songs/Edits/") + s + f, old);
  // file times move in clock ticks: let the ones just set fall before the walk
  std::this_thread::sleep_for(std::chrono::milliseconds(30));
  ASSERT_EQ(indexWithLog(), 3);

  // an edit of the same size whose file keeps its old date, as an unpacker or
  // "cp -p" leaves it
  WriteFile("Songs/Edits/Kept Date/steps.rkv", chartText("After! 1"));
  setTimes("Songs/Edits/Kept Date/steps.rkv", old);
  // an edit stamped with the very time of the database
  WriteFile("Songs/Edits/Same Tick/steps.rkv", chartText("After! 2"));
  setTimes("Songs/Edits/Same Tick/steps.rkv", mtimeOf("rkv2.sng"));
  std::this_thread::sleep_for(std::chrono::milliseconds(30));
  ASSERT_EQ(indexWithLog(), 3);
  EXPECT_NE(songTitled("After! 1"), nullptr);
  EXPECT_NE(songTitled("After! 2"), nullptr);
  std::string log = logText();
  EXPECT_EQ(log.find("parseFile('Songs/Edits/Unchanged/steps.rkv')"), std::string::npos) << log;

  // and a start after that parses nothing again
  ASSERT_EQ(indexWithLog(), 3);
  EXPECT_EQ(logText().find("parseFile("), std::string::npos) << logText();
}

TEST(SongPacks, ChartEditedWhileTheWalkRunsIsSeenAtTheNextStart) {
  TempDir dir;
  // the walk waits for the screen only once the program clock has run a frame:
  // start it now, so that it has by the time the walk runs
  Clock_Ms();
  packSong("Songs/Walk/A First", chartText("First before"));
  std::this_thread::sleep_for(std::chrono::milliseconds(30));
  ASSERT_EQ(indexWithLog(), 1);
  // the first song changes and a second one comes: the walk reads the first,
  // then waits on the progress screen for the new one
  WriteFile("Songs/Walk/A First/steps.rkv", chartText("First middle"));
  packSong("Songs/Walk/B Second", chartText("Second"));
  std::this_thread::sleep_for(std::chrono::milliseconds(30));
  IndexProgress progress;
  progress.screenListening = true;
  std::timed_mutex mutex;
  std::thread worker(indexSongs, "Songs", "rkv2.sng", &progress, &mutex, false);
  bool edited = false;
  for (int i = 0; i < 5000; i++) {
    {
      std::lock_guard<std::timed_mutex> l(mutex);
      if (progress.state == -1) break;
      if (!edited && progress.state == 2 && strcmp(progress.text, "Walk/B Second") == 0) {
        WriteFile("Songs/Walk/A First/steps.rkv", chartText("First after!"));
        edited = true;
      }
      progress.acknowledged = edited;
    }
    std::this_thread::sleep_for(std::chrono::milliseconds(1));
  }
  worker.join();
  ASSERT_TRUE(edited);
  ASSERT_EQ(loadSongList("rkv2.sng"), 1);
  EXPECT_NE(songTitled("First middle"), nullptr);   // what the walk read
  ASSERT_EQ(indexWithLog(), 2);
  EXPECT_NE(songTitled("First after!"), nullptr) << logText();
}
