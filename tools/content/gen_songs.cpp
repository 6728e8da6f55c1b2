// The demo songs under Songs/Demo: our own synthesized music (rendered to
// Ogg Vorbis), a chart file with every tag and all fourteen charts made from
// the music's own note events, a wide banner, a background, lyrics for one
// of them and, for another, a background script with the pictures it
// switches. The group folder gets its banner as Songs/Demo.png.
#include <cmath>

#include "gen.h"
#include "gen_art.h"
#include "gen_charts.h"
#include "gen_living.h"
#include "gen_music.h"
#include "gen_songs.h"

namespace {

const std::vector<SongDef>& Songs() {
  static std::vector<SongDef> songs;
  if (!songs.empty()) return songs;
  {
    SongDef s;
    s.folder = "neon-stride";
    s.title = "Neon Stride";
    s.artist = "Tarvolen Sound Team";
    s.genre = "House,Electronic";
    s.cdTitle = "Tarvolen Demo Tracks";
    s.displayTitle = "NEON STRIDE";
    s.displayArtist = "Tarvolen Sound Team";
    s.tempo.bpm = 128;
    s.tempo.gapMs = 1200;
    s.displayBpm = "128";
    s.sampleStart = "0:36.5";
    s.sampleLength = "15.000";
    s.status = "STATUS:NEW";
    s.arr = {0, 57, "IIIIVVVVVVVVCCCCCCCCBBBBVVVVCCCCCCCCOOOO", {}, 11};
    s.hue = 200;
    s.pattern = 0;
    s.lyrics = true;
    songs.push_back(s);
  }
  {
    SongDef s;
    s.folder = "glass-circuit";
    s.title = "Glass Circuit";
    s.artist = "Tarvolen Sound Team";
    s.genre = "Electro";
    s.cdTitle = "Tarvolen Demo Tracks";
    s.displayTitle = "GLASS CIRCUIT";
    s.displayArtist = "T.S.T. feat. the Machines";
    s.tempo.bpm = 150;
    s.tempo.gapMs = 900;
    // 150 a minute, up to 200 at bar 20, back to 150 at bar 32; a stop in bars 11 and 35
    s.tempo.changes = {{20 * 16.0, 200}, {32 * 16.0, 150}};
    s.arr = {1, 52, "IIIIVVVVVVVVCCCCCCCCBBBBCCCCCCCCVVVVCCCCCCCCOOOO", {11, 35}, 23};
    // each stop lasts two beats of the tempo in force: 800 ms at 150
    s.tempo.stops = {{11 * 16.0 + 14, 800}, {35 * 16.0 + 14, 800}};
    s.displayBpm = "150..200";
    s.sampleStart = "+30000";
    s.sampleLength = "0:14.5";
    s.status = "STATUS:NORMAL";
    s.hue = 300;
    s.pattern = 1;
    songs.push_back(s);
  }
  {
    SongDef s;
    s.folder = "paper-lanterns";
    s.title = "Paper Lanterns";
    s.artist = "Tarvolen Sound Team";
    s.genre = "Funk,Breakbeat";
    s.cdTitle = "Tarvolen Demo Tracks";
    s.displayTitle = "Paper Lanterns";
    s.displayArtist = "The Lantern Street Band";
    s.tempo.bpm = 104;
    s.tempo.gapMs = 1500;
    s.displayBpm = "104";
    s.sampleStart = "41.3";
    s.sampleLength = "14000";
    s.status = "STATUS:NEW";
    s.arr = {2, 55, "IIIIVVVVVVVVCCCCCCCCBBBBCCCCCCCCOOOO", {}, 37};
    s.hue = 30;
    s.pattern = 2;
    songs.push_back(s);
  }
  {
    SongDef s;
    s.folder = "starfall-run";
    s.title = "Starfall Run";
    s.artist = "Tarvolen Sound Team";
    s.genre = "Drum and Bass";
    s.cdTitle = "Tarvolen Demo Tracks";
    s.displayTitle = "STARFALL RUN";
    s.displayArtist = "Tarvolen Sound Team";
    s.tempo.bpm = 172;
    s.tempo.gapMs = 1000;
    s.displayBpm = "172";
    s.sampleStart = "0:33";
    s.sampleLength = "15.0";
    s.status = "STATUS:NORMAL";
    s.arr = {3, 50, "IIIIVVVVVVVVCCCCCCCCBBBBVVVVCCCCCCCCCCCCCCCCOOOO", {}, 53};
    s.hue = 250;
    s.pattern = 0;
    songs.push_back(s);
  }
  {
    SongDef s;
    s.folder = "living-colours";
    s.title = "Living Colours";
    s.artist = "Tarvolen Sound Team";
    s.genre = "House,Nu Disco";
    s.cdTitle = "Tarvolen Demo Tracks";
    s.displayTitle = "LIVING COLOURS";
    s.displayArtist = "Tarvolen Sound Team";
    s.tempo.bpm = 128;
    s.tempo.gapMs = 1100;
    s.displayBpm = "128";
    s.sampleStart = "0:57.35";  // the second chorus
    s.sampleLength = "15";
    s.status = "STATUS:NEW";
    s.arr = {0, 55, "IIIIVVVVVVVVCCCCCCCCBBBBVVVVVVCCCCCCCCCCCCCCCCOOOO", {}, 69};
    s.hue = 320;
    s.pattern = 2;
    s.livingBackground = true;
    songs.push_back(s);
  }
  return songs;
}

const char* kDiffNames[4] = {"BASIC", "ANOTHER", "MANIAC", "SMANIAC"};

std::string Num(double v) {
  std::string s = Fmt("%.3f", v);
  return s;
}

// The lyrics of Neon Stride: one line per two-bar phrase of the choruses.
std::string Lyrics(const SongDef& s) {
  static const char* lines[] = {
      "Lights along the {c1}avenue",
      "Every step I {c2}take with you",
      "Neon rain and {c1}silver shoes|{c2}we keep moving on",
      "Count to four and {c1}start again",
      "Feel the floor, the {c2}city's friend",
      "Arrows rising {c1}to the end|{c2}we keep moving on",
  };
  std::string out = "[COLOR]FFFFFF,40E0FF,FFD23C\n[offset:0]\n";
  int n = 0;
  for (size_t bar = 0; bar < s.arr.sections.size(); bar += 2) {
    if (s.arr.sections[bar] != 'C') continue;
    double ms = s.tempo.Seconds(bar * 16.0) * 1000.0 - 150;  // shown a moment before it is sung
    int m = (int)(ms / 60000);
    double sec = (ms - m * 60000) / 1000.0;
    out += Fmt("[%02d:%05.2f]%s\n", m, sec, lines[n % 6]);
    n++;
  }
  double endMs = s.tempo.Seconds(s.arr.sections.size() * 16.0) * 1000.0;
  out += Fmt("[%02d:%05.2f]{c2}Thank you for dancing!\n", (int)(endMs / 60000), (endMs - (int)(endMs / 60000) * 60000) / 1000.0);
  return out;
}

bool WriteSong(const GenContext& ctx, const std::string& songsDir, const SongDef& s) {
  std::string dir = JoinPath(songsDir, s.folder);
  if (!MakeDirs(dir)) return false;
  bool ok = true;
  std::vector<NoteEvent> ev = Music_Events(s.arr, s.tempo);
  Stereo mix = Music_Render(ev, s.tempo, s.arr.seed);
  std::string music = s.folder + ".ogg";
  ok = WriteOgg(JoinPath(dir, music), mix, 0.3) && ok;
  std::string md5 = Md5OfFile(JoinPath(dir, music));
  // pictures
  {
    Canvas c = Canvas_New(256, 80, true);
    Art_Banner(c.cr, 256, 80, s.title, s.artist, s.hue, s.arr.seed);
    ok = Canvas_Save(c, JoinPath(dir, s.folder + "-banner.png")) && ok;
    Canvas_Free(c);
    Canvas b = Canvas_New(640, 480, true);
    Art_Background(b.cr, 640, 480, s.hue, s.pattern, s.arr.seed + 1);
    ok = Canvas_Save(b, JoinPath(dir, s.folder + "-bg.png")) && ok;
    Canvas_Free(b);
  }
  if (s.livingBackground) ok = Living_Pictures(dir, s) && ok;
  // charts
  const int bars = (int)s.arr.sections.size();
  std::string charts;
  auto emit = [&](const char* style, int d, int level, const std::string& data) {
    charts += Fmt("#%s:%s:%d:\n", style, kDiffNames[d], level);
    charts += data;
    charts += ";\n\n";
  };
  int prev = 0;
  for (int d = 0; d < 4; d++) {
    auto st = Chart_Make(ev, s.arr, {Layout::Single, d, 0, s.arr.seed * 16 + d});
    std::string bad = Chart_Check(st, 4);
    if (!bad.empty()) GenFail("%s SINGLE %s: %s", s.folder.c_str(), kDiffNames[d], bad.c_str());
    int level = std::min(10, std::max(Chart_Level(st, s.tempo), prev + 1));
    prev = level;
    emit("SINGLE", d, level, Chart_StepData(st, 0, 4, bars));
  }
  prev = 0;
  for (int d = 0; d < 4; d++) {
    auto st = Chart_Make(ev, s.arr, {Layout::Double, d, 0, s.arr.seed * 16 + 4 + d});
    std::string bad = Chart_Check(st, 8);
    if (!bad.empty()) GenFail("%s DOUBLE %s: %s", s.folder.c_str(), kDiffNames[d], bad.c_str());
    int level = std::min(10, std::max(Chart_Level(st, s.tempo) + 1, prev + 1));
    prev = level;
    emit("DOUBLE", d, level, Chart_StepData(st, 0, 4, bars) + ":\n" + Chart_StepData(st, 4, 4, bars));
  }
  prev = 0;
  for (int d = 0; d < 3; d++) {
    auto p1 = Chart_Make(ev, s.arr, {Layout::Single, d, 1, s.arr.seed * 16 + 8 + d});
    auto p2 = Chart_Make(ev, s.arr, {Layout::Single, d, 2, s.arr.seed * 16 + 11 + d});
    for (auto* st : {&p1, &p2}) {
      std::string bad = Chart_Check(*st, 4);
      if (!bad.empty()) GenFail("%s COUPLE %s: %s", s.folder.c_str(), kDiffNames[d], bad.c_str());
    }
    int level = std::min(10, std::max(std::max(Chart_Level(p1, s.tempo), Chart_Level(p2, s.tempo)), prev + 1));
    prev = level;
    emit("COUPLE", d, level, Chart_StepData(p1, 0, 4, bars) + ":\n" + Chart_StepData(p2, 0, 4, bars));
  }
  prev = 0;
  for (int d = 0; d < 3; d++) {
    auto st = Chart_Make(ev, s.arr, {Layout::Solo, d, 0, s.arr.seed * 16 + 14 + d});
    std::string bad = Chart_Check(st, 6);
    if (!bad.empty()) GenFail("%s SOLO %s: %s", s.folder.c_str(), kDiffNames[d], bad.c_str());
    int level = std::min(10, std::max(Chart_Level(st, s.tempo), prev + 1));
    prev = level;
    emit("SOLO", d, level, Chart_StepData(st, 0, 6, bars));
  }
  std::string changes, stops;
  for (auto& c : s.tempo.changes) changes += (changes.empty() ? "" : ",") + Num(c.first) + "=" + Num(c.second);
  for (auto& c : s.tempo.stops) stops += (stops.empty() ? "" : ",") + Num(c.first) + "=" + Num(c.second);
  std::string t;
  t += "// " + s.title + ": music, charts and pictures made by the Tarvolen content generator.\n";
  t += "#TITLE:" + s.title + ";\n";
  t += "#ARTIST:" + s.artist + ";\n";
  t += "#GENRE:" + s.genre + ";\n";
  t += "#CDTITLE:" + s.cdTitle + ";\n";
  t += "#DISPLAYTITLE:" + s.displayTitle + ";\n";
  t += "#DISPLAYARTIST:" + s.displayArtist + ";\n";
  t += "#BPM:" + Num(s.tempo.bpm) + ";\n";
  t += "#DISPLAYBPM:" + s.displayBpm + ";\n";
  t += Fmt("#GAP:%d;\n", s.tempo.gapMs);
  t += "#CHANGEBPM:" + changes + ";\n";
  t += "#FREEZE:" + stops + ";\n";
  t += "#FILE:Songs\\Demo\\" + s.folder + "\\" + music + ";\n";
  t += "#MD5:" + md5 + ";\n";
  t += "#SAMPLESTART:" + s.sampleStart + ";\n";
  t += "#SAMPLELENGTH:" + s.sampleLength + ";\n";
  t += "#" + s.status + ";\n\n";
  t += charts;
  // the background section follows every chart, where no chart reader looks
  if (s.livingBackground) t += Living_Script(s);
  ok = WriteTextFile(JoinPath(dir, s.folder + ".rkv"), t) && ok;
  if (s.lyrics) ok = WriteTextFile(JoinPath(dir, s.folder + ".lrc"), Lyrics(s)) && ok;
  std::printf("contentgen: %s: %.1f s of music, %zu events\n", s.folder.c_str(), mix.Frames() / (double)kRate,
              ev.size());
  return ok;
}

}  // namespace

const std::vector<SongDef>& Demo_Songs() { return Songs(); }

bool Gen_Songs(const GenContext& ctx, const std::string& songsDir) {
  bool ok = true;
  for (auto& s : Songs()) ok = WriteSong(ctx, songsDir, s) && ok;
  Canvas c = Canvas_New(256, 80, true);
  Art_Banner(c.cr, 256, 80, "DEMO", "songs made for Tarvolen", 170, 5);
  ok = Canvas_Save(c, JoinPath(ctx.gameDir, "Songs/Demo.png")) && ok;
  Canvas_Free(c);
  return ok;
}
