#include "library/indexer.h"
#include "platform/log.h"
#include "chart/step_analysis.h"
#include "library/dir_walker.h"
#include "library/image_header.h"
#include "library/rkv_parser.h"
#include "library/song_db.h"
#include "platform/clock.h"
#include "platform/files.h"
#include <algorithm>
#include <cstdarg>
#include <cstdio>
#include <cstring>
#include <fcntl.h>
#include <sys/stat.h>
#include <time.h>
#include <vector>

namespace {
// Database messages go to standard output and to the log.
void say(const char* text) {
  fputs(text, stdout);
  WriteLog(text);
}

void sayf(const char* fmt, ...) __attribute__((format(printf, 1, 2)));
void sayf(const char* fmt, ...) {
  char buf[1200];
  va_list ap;
  va_start(ap, fmt);
  vsnprintf(buf, sizeof buf, fmt, ap);
  va_end(ap);
  say(buf);
}

std::string lower(std::string s) {
  for (char& c : s)
    if (c >= 'A' && c <= 'Z') c = (char)(c + 32);
  return s;
}

std::string extension(const std::string& name) {
  size_t d = name.rfind('.');
  return d == std::string::npos ? std::string() : lower(name.substr(d + 1));
}

std::string fieldText(const char* f, size_t n) { return std::string(f, strnlen(f, n)); }

std::string baseName(const std::string& path) {
  size_t s = path.find_last_of('/');
  return s == std::string::npos ? path : path.substr(s + 1);
}

std::string parentName(const std::string& path) {
  size_t s = path.find_last_of('/');
  if (s == std::string::npos) return "";
  return baseName(path.substr(0, s));
}

bool hasListed(const DirWalker& w, const char* name) {
  for (const DirEntry& e : w.entries)
    if (e.name == name) return true;
  return false;
}

bool fileOpens(const std::string& path) {
  std::string p;
  return Path_Resolve(path, p) && File_Size(p) >= 0;
}

// The folder's own music file lies directly in it; anything else came from "#FILE:"
// (which may also point into a sub-folder of the song).
bool ownMusic(const std::string& m, const std::string& folderPath) {
  std::string prefix = folderPath + "/";
  return m.compare(0, prefix.size(), prefix) == 0 && m.find('/', prefix.size()) == std::string::npos;
}

// The stored music path may be the song folder's own file or a "#FILE:" path.
bool musicStillThere(const DirWalker& w, const SongEntry& r, const std::string& folderPath) {
  std::string m = fieldText(r.musicFile, sizeof r.musicFile);
  if (m.empty()) return false;
  if (ownMusic(m, folderPath)) return hasListed(w, m.substr(folderPath.size() + 1).c_str());
  return fileOpens(m);
}

void genresFrom(const RKVParser& p, const std::string& group, SongEntry& r) {
  std::string g;
  if (p.hasGenre) {
    size_t start = 0;
    while (start <= p.genre.size()) {
      size_t end = p.genre.find(',', start);
      if (end == std::string::npos) end = p.genre.size();
      std::string one = p.genre.substr(start, end - start);
      size_t a = one.find_first_not_of(" \t"), b = one.find_last_not_of(" \t");
      one = a == std::string::npos ? "" : one.substr(a, b - a + 1);
      if (!one.empty()) g += "|" + one + "|";
      start = end + 1;
    }
  }
  if (g.empty()) g = "|" + group + "|";
  SetField(r.genres, g.c_str());
}

void fillFromChart(const RKVParser& p, SongEntry& r) {
  RKVParser_FillEntry(p, r);
  r.sampleStart = p.sampleStartPlus ? p.gap + p.sampleStart : p.sampleStart;
  r.sampleLength = p.sampleLength >= 0 ? p.sampleLength : 13000;
  r.displayBpm = p.displayBpm;
  r.bpmMin = Chart_RoundHalfUp(p.bpmMin);
  r.bpmMax = Chart_RoundHalfUp(p.bpmMax);
}
}

int processSongFldr(const std::string& folderPath, SongEntry& record, int64_t dbTime) {
  WriteLogf("processSongFldr('%s')\n", folderPath.c_str());
  DirWalker w;
  if (w.openDir(folderPath, "*", 1) <= 0) {
    WriteLogf("'%s' - Folder has no files.\n", folderPath.c_str());
    return -1;
  }
  bool known = dbTime >= 0;
  // A time equal to the database's may be an edit made in the same clock tick
  // after it, so only an older one counts as unchanged.
  if (known && w.newest < dbTime && musicStillThere(w, record, folderPath) &&
      hasListed(w, fieldText(record.chartFile, sizeof record.chartFile).c_str()) &&
      (!record.hasBanner || hasListed(w, fieldText(record.banner, sizeof record.banner).c_str())) &&
      (!record.hasBackground || hasListed(w, fieldText(record.background, sizeof record.background).c_str())))
    return 0;

  std::string chartName, musicName, fileTag, banner, background;
  bool wide = false, chartParsed = false, musicFromTag = false;
  RKVParser parser;
  for (const DirEntry& e : w.entries) {
    std::string ext = extension(e.name);
    std::string path = folderPath + "/" + e.name;
    if (ext == "rkv") {
      // An unchanged chart of a known song keeps the data already stored.
      if (known && e.changed < dbTime && chartName.empty() &&
          e.name == fieldText(record.chartFile, sizeof record.chartFile)) {
        chartName = e.name;
        continue;
      }
      if (!parser.parseFile(path.c_str())) {
        WriteLogf("Error parsing '%s'\n", path.c_str());
        return -1;
      }
      chartName = e.name;
      chartParsed = true;
      if (parser.hasFile && RKVParser_FindFile(parser.file, folderPath, fileTag)) musicFromTag = true;
    } else if (ext == "mp3" || ext == "wav" || ext == "ogg") {
      if (e.size > 0) musicName = e.name;
      else WriteLogf("'%s' - music file '%s' is empty; ignored\n", folderPath.c_str(), e.name.c_str());
    } else if (ext == "png" || ext == "bmp" || ext == "jpg") {
      int32_t iw = 0, ih = 0;
      if (!ImageHeader_Size(path.c_str(), &iw, &ih) || ih <= 50) continue;
      double ratio = (double)iw / (double)ih;
      if (ratio > 0.95 && ratio < 1.05) { banner = e.name; wide = false; }
      else if (ratio > 2.9 && ratio < 3.5) { banner = e.name; wide = true; }
      else if ((ratio > 1.7 && ratio < 1.9) || (ratio > 1.3 && ratio < 1.4)) background = e.name;
    } else {
      printf("Ignoring file: '%s'\n", e.name.c_str());
    }
  }
  if (!chartParsed && known && !chartName.empty()) {
    // the stored "#FILE:" music still counts when the folder has none of its own
    std::string m = fieldText(record.musicFile, sizeof record.musicFile);
    if (musicName.empty() && !m.empty() && !ownMusic(m, folderPath) && fileOpens(m)) {
      fileTag = m;
      musicFromTag = true;
    }
  }
  if (chartName.empty() || (musicName.empty() && !musicFromTag)) {
    WriteLogf("'%s' - Folder doesn't have all necessary files\n", folderPath.c_str());
    return -1;
  }

  SongEntry r = chartParsed ? SongEntry{} : record;
  if (!chartParsed) {
    memset(r.banner, 0, sizeof r.banner);
    memset(r.background, 0, sizeof r.background);
  }
  r.deleted = 0;
  std::string group = parentName(folderPath), folder = baseName(folderPath);
  SetField(r.group, group.c_str());
  SetField(r.folder, folder.c_str());
  SetField(r.chartFile, chartName.c_str());
  std::string music = !musicName.empty() ? folderPath + "/" + musicName : fileTag;
  SetField(r.musicFile, music.c_str());
  SetField(r.banner, banner.c_str());
  r.hasBanner = !banner.empty();
  r.wideBanner = wide;
  SetField(r.background, background.c_str());
  r.hasBackground = !background.empty();
  if (chartParsed) {
    genresFrom(parser, group, r);
    fillFromChart(parser, r);
    SongAnalysis song{r.title, r.bpmValue, r.songLength};
    analyseSong((folderPath + "/" + chartName).c_str(), r.levels, song, r.figures);
    r.songLength = song.songLength;
  }
  record = r;
  return 1;
}

namespace {
struct DbRef {
  std::string key;
  int32_t slot;
};

void publish(IndexProgress* pr, std::timed_mutex* mu, const std::string& text, int state, double progress) {
  if (!pr) return;
  std::lock_guard<std::timed_mutex> l(*mu);
  snprintf(pr->text, sizeof pr->text, "%s", text.c_str());
  if (state) pr->state = state;
  pr->progress = progress;
}

// Lets the progress screen show the new song: the indexer waits for one drawn
// frame, but only when no frame was drawn for it in the last frame interval, so
// that a first scan of thousands of songs is not held to one song per frame.
void awaitFrame(IndexProgress* pr, std::timed_mutex* mu, uint32_t& lastAck) {
  if (!pr) return;
  {
    std::lock_guard<std::timed_mutex> l(*mu);
    if (!pr->screenListening) return;
    if (Clock_Ms() - lastAck < 16) return;
    pr->acknowledged = false;
  }
  for (int waited = 0; waited < 1000; waited++) {
    {
      std::lock_guard<std::timed_mutex> l(*mu);
      if (pr->acknowledged || !pr->screenListening) break;
    }
    Clock_SleepMs(1);
  }
  lastAck = Clock_Ms();
}
}

void indexSongs(const char* songsPath, const char* dbPath, IndexProgress* progress, std::timed_mutex* mutex,
                bool rebuild) {
  std::timed_mutex localMutex;
  if (!mutex) mutex = &localMutex;
  int added = 0, updated = 0, deleted = 0;
  bool saved = false;
  auto finish = [&](const char* text) {
    if (!progress) return;
    std::lock_guard<std::timed_mutex> l(*mutex);
    progress->progress = 1.0;
    progress->added = added;
    progress->updated = updated;
    progress->deleted = deleted;
    progress->saved = saved;
    snprintf(progress->text, sizeof progress->text, "%s", text);
    progress->state = -1;
  };

  // The database's modification time tells the next start what it has seen: every
  // change made before this walk began. Set to the walk's start (on the clock
  // that stamps files) rather than to when the file is written, so that a chart
  // edited while the walk runs is looked at again.
  struct timespec walkStart;
  clock_gettime(CLOCK_REALTIME_COARSE, &walkStart);

  // Opening the database.
  sayf("Using DB '%s'\n", dbPath);
  say(" Checking for existing DB... ");
  SongDatabase db;
  int64_t dbTime = -1;
  bool dirty = false;
  struct stat st;
  if (rebuild) {
    // the old database stays on disk until the new one has been written over it
    say("IGNORED (rebuilding)\n");
    say(" Creating new DB... OK\n");
    dirty = true;
  } else if (stat(dbPath, &st) != 0) {
    say("NOT FOUND\n");
    say(" Creating new DB... ");
    dirty = true;
    say("OK\n");
  } else {
    say("OK\n Opening current DB... ");
    int r = SongDb_Read(dbPath, db);
    if (r == 0) {
      say("Error\nCouldn't open DB for writing.\n");
      finish("(done)");
      return;
    }
    say(" Checking DB format... ");
    if (r < 0) {
      say("Error\n Outdated DB found.\n");
      db = SongDatabase{};
      say(" Creating new DB... OK\n");
      dirty = true;
    } else {
      say("OK\n");
      sayf(" %d songs in DB\n", (int)db.liveCount);
      double slack = SongDb_Slack(db.liveCount, (int32_t)db.slots.size());
      sayf(" DB slack space: %.2f%%\n", slack);
      if (slack >= 10.0) {
        say(" Slack is too high. Forcing full rebuild.\n");
        db = SongDatabase{};
        say(" Creating new DB... OK\n");
        dirty = true;
      } else {
        dbTime = (int64_t)st.st_mtim.tv_sec * 1000000000 + st.st_mtim.tv_nsec;
      }
    }
  }
  say(" Loading current songs... ");
  std::vector<DbRef> refs;
  for (size_t s = 0; s < db.slots.size(); s++) {
    SongEntry& e = db.slots[s];
    if (e.deleted) continue;
    e.group[255] = e.folder[255] = 0;
    refs.push_back({SongDb_MainKey(e.group, e.folder), (int32_t)s});
  }
  std::stable_sort(refs.begin(), refs.end(), [](const DbRef& a, const DbRef& b) { return a.key < b.key; });
  say("Done\n");

  auto removeRecord = [&](const DbRef& ref) {
    SongEntry& e = db.slots[ref.slot];
    WriteLogf("Deleting song %s\n", ref.key.c_str());
    e.deleted = 1;
    db.liveCount--;
    deleted++;
    dirty = true;
  };

  // Walking the folders.
  WriteLogf("\nProcessing songs directory '%s'...\n", songsPath);
  publish(progress, mutex, "", 1, 0);
  DirWalker groups;
  size_t next = 0;
  uint32_t lastAck = 0;
  if (groups.openDir(songsPath, "*", 2) < 0) {
    say("Error. Could not open songs folder.\n");
    finish("(done)");
    return;
  }
  for (size_t g = 0; g < groups.entries.size(); g++) {
    const DirEntry& ge = groups.entries[g];
    std::string groupPath = std::string(songsPath) + "/" + ge.name;
    DirWalker songs;
    if (songs.openDir(groupPath, "*", 2) <= 0) {
      WriteLogf("Error opening group folder '%s'\n", groupPath.c_str());
      WriteLogf("No files in group folder '%s'\n", groupPath.c_str());
      continue;
    }
    for (size_t s = 0; s < songs.entries.size(); s++) {
      const DirEntry& se = songs.entries[s];
      std::string key = SongDb_MainKey(ge.name.c_str(), se.name.c_str());
      std::string folderPath = groupPath + "/" + se.name;
      double fraction = ((double)g + (double)s / (double)songs.entries.size()) / (double)groups.entries.size();
      while (next < refs.size() && refs[next].key < key) removeRecord(refs[next++]);
      if (next < refs.size() && refs[next].key == key) {
        const DbRef& ref = refs[next++];
        SongEntry copy = db.slots[ref.slot];
        int r = processSongFldr(folderPath, copy, dbTime);
        if (r < 0) {
          WriteLogf("Error: %s\n", folderPath.c_str());
          removeRecord(ref);
        } else if (r == 1) {
          publish(progress, mutex, std::string(copy.group) + "/" + copy.title, 0, fraction);
          if (memcmp(&copy, &db.slots[ref.slot], sizeof copy) != 0) {
            WriteLogf("Updating '%s'\n", folderPath.c_str());
            db.slots[ref.slot] = copy;
            updated++;
            dirty = true;
          }
        }
        continue;
      }
      // A folder the database does not know yet.
      publish(progress, mutex, ge.name + "/" + se.name, 2, fraction);
      awaitFrame(progress, mutex, lastAck);
      SongEntry fresh{};
      if (processSongFldr(folderPath, fresh, -1) == 1) {
        WriteLogf("Adding '%s'\n", folderPath.c_str());
        db.slots.push_back(fresh);
        db.liveCount++;
        added++;
        dirty = true;
      }
    }
  }
  while (next < refs.size()) removeRecord(refs[next++]);
  WriteLog("Done!\n");

  if (dirty) {
    say("\nReindexing DB... ");
    saved = SongDb_Write(dbPath, db);
    say(saved ? "OK\n" : "Writing song failed.\n");
  }
  if (saved || !dirty) {
    struct timespec times[2] = {{0, UTIME_OMIT}, walkStart};
    if (utimensat(AT_FDCWD, dbPath, times, 0) != 0) WriteLogf("Could not set the time of '%s'\n", dbPath);
  }
  WriteLogf("\n----------\nAdded  : %d\nUpdated: %d\nDeleted: %d\n\n", added, updated, deleted);
  finish("(done)");
}
