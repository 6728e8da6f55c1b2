// Writes the binary seeds of the fuzz targets (records, song database, settings,
// bindings, profiles, pictures, sounds) with the game's own writers, so every
// seed is ours:  seed_corpus fuzz/corpus
// The text seeds are written by hand and kept as they are.
#include "library/profiles.h"
#include "library/record_notes.h"
#include "library/records.h"
#include "library/replay_course.h"
#include "library/replay_file.h"
#include "library/settings.h"
#include "library/song_db.h"
#include "media/input_binding.h"
#include "tools/content/movie_encoder.h"
#include <FreeImage.h>
#include <cmath>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <sndfile.h>
#include <string>
#include <vector>

namespace {
std::string g_root;

bool put(const std::string& target, const std::string& name, const std::vector<uint8_t>& bytes) {
  std::filesystem::create_directories(g_root + "/" + target);
  std::string path = g_root + "/" + target + "/" + name;
  FILE* f = fopen(path.c_str(), "wb");
  if (!f) return false;
  bool ok = fwrite(bytes.data(), 1, bytes.size(), f) == bytes.size();
  return fclose(f) == 0 && ok;
}

std::vector<uint8_t> slurp(const std::string& path) {
  std::vector<uint8_t> out;
  if (FILE* f = fopen(path.c_str(), "rb")) {
    uint8_t buf[4096];
    size_t n;
    while ((n = fread(buf, 1, sizeof buf, f)) > 0) out.insert(out.end(), buf, buf + n);
    fclose(f);
  }
  return out;
}

template <class T>
std::vector<uint8_t> bytesOf(const T& v, int prefix = -1) {
  std::vector<uint8_t> out;
  if (prefix >= 0) out.push_back((uint8_t)prefix);
  const uint8_t* p = (const uint8_t*)&v;
  out.insert(out.end(), p, p + sizeof v);
  return out;
}

Result result(int style, int difficulty, double score, int grade) {
  Result r{};
  r.styleKey = (uint8_t)style;
  r.difficultyKey = (uint8_t)difficulty;
  snprintf(r.holder, sizeof r.holder, "%s", score > 5e6 ? "ALICE" : "");
  r.bestScore = score;
  r.bestA = (int32_t)(score / 10000);
  r.bestGrade = (uint8_t)grade;
  r.bestC = 1;
  return r;
}

void records() {
  RecordTable t;
  put("fuzz_records", "empty.rec", Records_Serialize(t));
  SongRecord a = Records_New("Demo\\neon-stride", 1765000000);
  a.counters[0] = 300;
  t.records.push_back(a);
  t.results.push_back({result(4, 0, 8123456, 2), result(4, 2, 6543210, 4), result(8, 1, 0, 0)});
  put("fuzz_records", "one.rec", Records_Serialize(t));
  t.records.push_back(Records_New("COURSE|Extra Stage", 1765000100));
  t.results.push_back({result(4, 0, 15000000, 1)});
  t.records.push_back(Records_New("Demo\\glass-circuit", 1765000200));
  t.results.push_back({});
  put("fuzz_records", "three.rec", Records_Serialize(t));
}

SongEntry song(const char* group, const char* folder, const char* title, const char* artist, int level) {
  SongEntry e{};
  SetField(e.group, group);
  SetField(e.folder, folder);
  SetField(e.title, title);
  SetField(e.artist, artist);
  std::string genres = std::string("|") + group + "|";
  SetField(e.genres, genres.c_str());
  std::string chart = std::string(folder) + ".rkv";
  SetField(e.chartFile, chart.c_str());
  e.newState = 2;
  e.sampleStart = 15000;
  e.sampleLength = 12000;
  e.songLength = 95000;
  e.bpmValue = 128;
  e.displayBpm = -1;
  e.bpmMin = e.bpmMax = 128;
  for (int i = 0; i < kChartSlots; i++) e.levels[i] = i < 4 ? level + i : 0;
  e.record = -1;
  return e;
}

void songDatabase() {
  std::string tmp = std::filesystem::temp_directory_path().string() + "/seed-corpus.sng";
  SongDatabase db;
  SongDb_Write(tmp, db);
  put("fuzz_song_db", "empty.sng", slurp(tmp));
  db.slots.push_back(song("Demo", "neon-stride", "Neon Stride", "Tarvolen", 3));
  db.slots.push_back(song("Demo", "glass-circuit", "glass circuit", "Tarvolen", 5));
  SongDb_Write(tmp, db);
  put("fuzz_song_db", "two.sng", slurp(tmp));
  db.slots[0].deleted = 1;
  db.slots.push_back(song("Other", "deep", "Deep Water", "Someone", 1));
  SongDb_Write(tmp, db);
  put("fuzz_song_db", "deleted.sng", slurp(tmp));
  std::filesystem::remove(tmp);
}

void settings() {
  Settings s;
  Settings_Defaults(s);
  put("fuzz_settings", "defaults.cfg", bytesOf(s, 2));
  s.bgBrightness = 70;
  s.volume = 85;
  s.visPlugin = 3;
  s.globalGap = -45;
  s.windows[0] = 20;
  snprintf(s.skin, sizeof s.skin, "Default");
  put("fuzz_settings", "changed.cfg", bytesOf(s, 5));
  InputBinding table[kBindingCount];
  Bindings_DefaultTable(table);
  put("fuzz_settings", "bindings.inp", bytesOf(table, 0));
  table[3].joystick = 1;
  table[3].button = 7;
  table[9].key2 = 200;
  put("fuzz_settings", "joystick.inp", bytesOf(table, 1));
}

void profiles() {
  Profile p{};
  put("fuzz_profiles", "fresh.dat", bytesOf(p));
  snprintf(p.name, sizeof p.name, "ALICE");
  ProfileStats& st = p.stats[0];
  st.songs = 42;
  st.bestCombo = 311;
  st.steps = 18000;
  st.perfects = 12000;
  st.bestScore = 8765432;
  st.courseBestPercent = 87.5;
  st.courseBestStage = 4;
  st.courseLongestMs = 3725000;
  st.courseBestScore = 30000000;
  st.courseBestCombo = 512;
  p.stats[1] = st;
  p.stats[1].courseLongestMs = 59000;
  const uint8_t mods[9] = {2, 0, 1, 0, 1, 0, 0, 3, 1};
  memcpy(p.modifiers, mods, sizeof mods);
  put("fuzz_profiles", "played.dat", bytesOf(p));
  std::vector<uint8_t> half = bytesOf(p);
  half.resize(100);
  put("fuzz_profiles", "short.dat", half);
}

// A small picture drawn here, saved through FreeImage in one format.
void picture(const char* name, int prefix, FREE_IMAGE_FORMAT f, int w, int h, int bpp, int flags) {
  FIBITMAP* d = FreeImage_Allocate(w, h, bpp == 8 ? 8 : bpp);
  if (!d) return;
  if (bpp == 8) {
    RGBQUAD* pal = FreeImage_GetPalette(d);
    for (int i = 0; i < 256; i++) pal[i] = RGBQUAD{(BYTE)i, (BYTE)(255 - i), (BYTE)(i * 3), 0};
  }
  for (int y = 0; y < h; y++) {
    BYTE* line = FreeImage_GetScanLine(d, y);
    for (int x = 0; x < w; x++) {
      if (bpp == 8) {
        line[x] = (BYTE)((x * 16 + y * 5) & 255);
        continue;
      }
      BYTE* px = line + x * (bpp / 8);
      px[FI_RGBA_RED] = (BYTE)(x * 255 / (w > 1 ? w - 1 : 1));
      px[FI_RGBA_GREEN] = (BYTE)(y * 255 / (h > 1 ? h - 1 : 1));
      px[FI_RGBA_BLUE] = (BYTE)((x ^ y) * 8);
      if (bpp == 32) px[FI_RGBA_ALPHA] = (BYTE)(((x + y) & 1) ? 255 : 96);
    }
  }
  FIMEMORY* m = FreeImage_OpenMemory();
  BYTE* data = nullptr;
  DWORD size = 0;
  if (FreeImage_SaveToMemory(f, d, m, flags) && FreeImage_AcquireMemory(m, &data, &size)) {
    std::vector<uint8_t> bytes{(uint8_t)prefix};
    bytes.insert(bytes.end(), data, data + size);
    put("fuzz_image", name, bytes);
  }
  FreeImage_CloseMemory(m);
  FreeImage_Unload(d);
}

void pictures() {
  // the first byte picks the file's ending (low two bits) and a cell of it
  picture("rgb.png", 0x00, FIF_PNG, 24, 16, 24, PNG_DEFAULT);
  picture("alpha.png", 0x54, FIF_PNG, 16, 16, 32, PNG_Z_BEST_COMPRESSION);
  picture("palette.png", 0x20, FIF_PNG, 12, 9, 8, PNG_DEFAULT);
  picture("wide.png", 0x0C, FIF_PNG, 64, 19, 24, PNG_INTERLACED);
  picture("rgb.bmp", 0x02, FIF_BMP, 17, 11, 24, BMP_DEFAULT);
  picture("alpha.bmp", 0x36, FIF_BMP, 8, 8, 32, BMP_DEFAULT);
  picture("palette.bmp", 0x42, FIF_BMP, 10, 6, 8, BMP_SAVE_RLE);
  picture("photo.jpg", 0x01, FIF_JPEG, 32, 24, 24, JPEG_QUALITYNORMAL);
  picture("progressive.jpg", 0x11, FIF_JPEG, 20, 20, 24, JPEG_PROGRESSIVE | JPEG_QUALITYBAD);
  picture("other.png", 0x03, FIF_PNG, 2, 2, 24, PNG_DEFAULT);
}

void sound(const char* name, int format, int channels, int rate, int frames) {
  std::string tmp = std::filesystem::temp_directory_path().string() + "/seed-corpus-sound";
  SF_INFO info{};
  info.samplerate = rate;
  info.channels = channels;
  info.format = format;
  SNDFILE* f = sf_open(tmp.c_str(), SFM_WRITE, &info);
  if (!f) {
    fprintf(stderr, "seed_corpus: %s: %s\n", name, sf_strerror(nullptr));
    return;
  }
  std::vector<float> buf((size_t)frames * channels);
  for (int i = 0; i < frames; i++)
    for (int c = 0; c < channels; c++) buf[(size_t)i * channels + c] = 0.4f * (float)sin(i * (0.05 + 0.03 * c));
  sf_writef_float(f, buf.data(), frames);
  sf_close(f);
  put("fuzz_audio_decode", name, slurp(tmp));
  std::filesystem::remove(tmp);
}

void sounds() {
  sound("mono16.wav", SF_FORMAT_WAV | SF_FORMAT_PCM_16, 1, 22050, 600);
  sound("stereo-float.wav", SF_FORMAT_WAV | SF_FORMAT_FLOAT, 2, 44100, 300);
  sound("stereo8.wav", SF_FORMAT_WAV | SF_FORMAT_PCM_U8, 2, 11025, 400);
  sound("mono.flac", SF_FORMAT_FLAC | SF_FORMAT_PCM_16, 1, 44100, 1500);
  sound("stereo.ogg", SF_FORMAT_OGG | SF_FORMAT_VORBIS, 2, 44100, 4000);
  sound("three.wav", SF_FORMAT_WAV | SF_FORMAT_PCM_24, 3, 48000, 200);
}

void movie(const char* name, int w, int h, int fps, int frames, int gop) {
  std::string tmp = std::filesystem::temp_directory_path().string() + "/seed-corpus-movie.avi";
  std::vector<uint32_t> px((size_t)w * h);
  bool ok = EncodeMovie(tmp, w, h, fps, frames, 31, gop, [&](int i, int* stride) {
    for (int y = 0; y < h; y++)
      for (int x = 0; x < w; x++) px[(size_t)y * w + x] = 0xFF000000u | (uint32_t)((x * 8 + i * 16) & 255) << 16 | (uint32_t)(y * 8) << 8;
    *stride = w * 4;
    return (const uint8_t*)px.data();
  });
  if (ok) put("fuzz_movie", name, slurp(tmp));
  std::filesystem::remove(tmp);
}

void movies() {
  movie("small.avi", 16, 16, 25, 6, 3);
  movie("wide.avi", 32, 8, 10, 4, 1);
  movie("one-frame.avi", 8, 8, 30, 1, 1);
}

void notes() {
  RecordTable t;
  storeNote(t, "Demo\\neon-stride", 4, 2, 321, true, 1765000000);
  storeNote(t, "Demo\\neon-stride", 8, 0, 55, false, 0);
  storeNote(t, "COURSE|Extra Stage", 4, 0, 1200, true, 1765000999);
  std::string text = Notes_Text(t);
  put("fuzz_record_notes", "stored.txt", std::vector<uint8_t>(text.begin(), text.end()));
}
// A play of one player with presses, a held panel and a change of rate, and one
// of two players with Auto Play's aimed presses and a changed gap and tempo.
void replays() {
  Replay one;
  Replay_InitHeader(one.header);
  ReplayHeader& h = one.header;
  snprintf(h.group, sizeof h.group, "Demo");
  snprintf(h.folder, sizeof h.folder, "neon-stride");
  snprintf(h.chartFile, sizeof h.chartFile, "neon-stride.rkv");
  snprintf(h.chartMd5, sizeof h.chartMd5, "00112233445566778899aabbccddeeff");
  h.players[0].active = 1;
  h.players[0].panels = 4;
  snprintf(h.players[0].styleName, sizeof h.players[0].styleName, "SINGLE");
  for (int i = 0; i < 40; i++) {
    ReplayFrame f{};
    f.ms = -500 + i * 16.67;
    f.gapMs = 0;
    f.bpmOverride = -1;
    f.rateStep = i < 30 ? 5 : 6;
    f.firstPress = (uint32_t)one.presses.size();
    if (i % 8 == 3) {
      f.pressCount[0] = 1;
      one.presses.push_back({(int64_t)f.ms - 3, -1, (uint8_t)(i % 4)});
    }
    f.held[0] = i % 8 >= 3 && i % 8 < 6 ? (uint16_t)(1u << (i % 4)) : 0;
    one.frames.push_back(f);
  }
  put("fuzz_replay", "one-player.tvr", Replay_Encode(one));

  Replay two = one;
  two.header.players[1] = two.header.players[0];
  two.header.autoPlay = 1;
  two.presses.clear();
  for (size_t i = 0; i < two.frames.size(); i++) {
    ReplayFrame& f = two.frames[i];
    f.firstPress = (uint32_t)two.presses.size();
    f.pressCount[0] = f.pressCount[1] = 0;
    f.gapMs = i < 20 ? 0 : 15;
    f.bpmOverride = i < 25 ? -1 : 140.5;
    if (i % 5 == 0) {
      f.pressCount[0] = f.pressCount[1] = 1;
      two.presses.push_back({(int64_t)f.ms, (int32_t)i, 1});
      two.presses.push_back({(int64_t)f.ms + 1, (int32_t)i, 2});
    }
  }
  put("fuzz_replay", "two-players.tvr", Replay_Encode(two));

  CourseReplay course;
  CourseReplay_InitHeader(course.header);
  snprintf(course.header.courseName, sizeof course.header.courseName, "Demo Course");
  snprintf(course.header.courseFolder, sizeof course.header.courseFolder, "Demo");
  snprintf(course.header.courseFile, sizeof course.header.courseFile, "demo");
  course.header.hasLives = 1;
  course.header.lives = 4;
  course.header.players[0] = {1, 4, {0, 0}, "SINGLE", "", 1234567, 20, 40, {}};
  course.songs = {one, one};
  course.awards = {2, -1};
  put("fuzz_replay", "course.tvr", CourseReplay_Encode(course));
}
}  // namespace

int main(int argc, char** argv) {
  if (argc != 2) {
    fprintf(stderr, "usage: seed_corpus FOLDER (fuzz/corpus)\n");
    return 2;
  }
  g_root = argv[1];
  FreeImage_Initialise(FALSE);
  records();
  songDatabase();
  settings();
  profiles();
  pictures();
  sounds();
  movies();
  notes();
  replays();
  FreeImage_DeInitialise();
  return 0;
}
