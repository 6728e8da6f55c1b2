// Replay files: what is written reads back frame for frame, and every kind of
// damage (cut short, edited by hand, a later version, counts no play makes,
// presses out of order or far from their frame) is refused with its reason.
// The folder keeps the best play of each chart per profile, and the rest to
// the player's number, oldest gone first.
#include "library/replay_course.h"
#include "library/replay_file.h"
#include "library/replay_store.h"
#include "library/tarvolen_ini.h"
#include "platform/files.h"
#include "support/test_support.h"
#include <gtest/gtest.h>
#include <cstring>

namespace {
ReplayHeader header(const char* folder = "Song 1", const char* profile = "", int dancePoints = 10,
                    int64_t playedAt = 1000) {
  ReplayHeader h;
  Replay_InitHeader(h);
  snprintf(h.group, sizeof h.group, "Group 1");
  snprintf(h.folder, sizeof h.folder, "%s", folder);
  snprintf(h.chartFile, sizeof h.chartFile, "song.rkv");
  snprintf(h.chartMd5, sizeof h.chartMd5, "0123456789abcdef0123456789abcdef");
  h.playedAt = playedAt;
  h.gapMs = -20;
  h.stage = 1;
  ReplayPlayerHeader& p = h.players[0];
  p.active = 1;
  p.panels = 4;
  snprintf(p.styleName, sizeof p.styleName, "SINGLE");
  snprintf(p.profile, sizeof p.profile, "%s", profile);
  p.dancePoints = dancePoints;
  return h;
}

// Three frames: a press of player 1, the panel held, a gap and rate change and
// an Auto Play press of player 2 aimed at record 7.
Replay sample() {
  Replay r;
  r.header = header();
  r.header.players[1] = r.header.players[0];
  ReplayFrame f{};
  f.ms = -250.5;
  f.gapMs = -20;
  f.bpmOverride = -1;
  f.rateStep = 5;
  r.frames.push_back(f);
  f.ms = 1000.25;
  f.held[0] = 1;
  f.pressCount[0] = 2;
  f.firstPress = 0;
  r.presses.push_back({995, -1, 0});
  r.presses.push_back({999, -1, 3});
  r.frames.push_back(f);
  f.ms = 1016.9;
  f.gapMs = -15;
  f.rateStep = 7;
  f.bpmOverride = 150.5;
  f.firstPress = 2;
  f.pressCount[0] = 0;
  f.pressCount[1] = 1;
  f.held[1] = 0x200;
  r.presses.push_back({1017, 7, 9});
  r.frames.push_back(f);
  return r;
}

bool decode(const std::vector<uint8_t>& bytes, Replay& out, std::string& error) {
  return Replay_Decode(bytes.data(), bytes.size(), out, error);
}

// Rewrites the body's length and check after a change, so that the damage
// meant reaches the frames' reader.
void resign(std::vector<uint8_t>& bytes) {
  ReplayHeader h;
  memcpy(&h, bytes.data(), sizeof h);
  h.bodyBytes = (uint32_t)(bytes.size() - sizeof h);
  h.bodyCrc = Crc32(bytes.data() + sizeof h, h.bodyBytes);
  memcpy(bytes.data(), &h, sizeof h);
}

std::string refusal(std::vector<uint8_t> bytes) {
  Replay r;
  std::string error;
  EXPECT_FALSE(decode(bytes, r, error));
  EXPECT_TRUE(r.frames.empty() && r.presses.empty());
  return error;
}
}  // namespace

TEST(ReplayFile, WhatIsWrittenReadsBackFrameForFrame) {
  Replay r = sample();
  std::vector<uint8_t> bytes = Replay_Encode(r);
  Replay back;
  std::string error;
  ASSERT_TRUE(decode(bytes, back, error)) << error;
  EXPECT_EQ(back.header.frameCount, 3u);
  EXPECT_EQ(back.header.pressCount, 3u);
  EXPECT_STREQ(back.header.folder, "Song 1");
  ASSERT_EQ(back.frames.size(), 3u);
  ASSERT_EQ(back.presses.size(), 3u);
  for (size_t i = 0; i < 3; i++) {
    const ReplayFrame &a = r.frames[i], &b = back.frames[i];
    EXPECT_EQ(a.ms, b.ms);   // the clock to the last bit: the scroll is advanced from it
    EXPECT_EQ(a.gapMs, b.gapMs);
    EXPECT_EQ(a.bpmOverride, b.bpmOverride);
    EXPECT_EQ(a.rateStep, b.rateStep);
    EXPECT_EQ(a.held[0], b.held[0]);
    EXPECT_EQ(a.held[1], b.held[1]);
    EXPECT_EQ(a.firstPress, b.firstPress);
    EXPECT_EQ(a.pressCount[0], b.pressCount[0]);
    EXPECT_EQ(a.pressCount[1], b.pressCount[1]);
    EXPECT_EQ(r.presses[i].ms, back.presses[i].ms);
    EXPECT_EQ(r.presses[i].note, back.presses[i].note);
    EXPECT_EQ(r.presses[i].column, back.presses[i].column);
  }
  // a frame that changes nothing costs its clock and one byte
  Replay quiet = r;
  quiet.frames.push_back(r.frames.back());
  quiet.frames.back().pressCount[1] = 0;
  quiet.frames.back().ms += 16;
  EXPECT_EQ(Replay_Encode(quiet).size(), bytes.size() + 9);

  // on disk, through the safe writer, and the header alone
  TempDir dir;
  ASSERT_TRUE(Replay_Save("Replays/a.tvr", r));
  Replay loaded;
  ASSERT_TRUE(Replay_Load("Replays/a.tvr", loaded, error)) << error;
  EXPECT_EQ(loaded.frames.size(), 3u);
  ReplayHeader h;
  ASSERT_TRUE(Replay_LoadHeader("Replays/a.tvr", h, error)) << error;
  EXPECT_EQ(h.bodyBytes, bytes.size() - sizeof(ReplayHeader));
}

TEST(ReplayFile, DamagedFilesAreRefusedWithTheirReason) {
  std::vector<uint8_t> good = Replay_Encode(sample());
  EXPECT_EQ(refusal({}), "it is not a replay");
  EXPECT_EQ(refusal(std::vector<uint8_t>(good.begin(), good.begin() + 100)), "it is cut short");
  EXPECT_EQ(refusal(std::vector<uint8_t>(good.begin(), good.end() - 1)), "it is cut short");
  std::vector<uint8_t> b = good;
  b[0] = 'X';
  EXPECT_EQ(refusal(b), "it is not a replay");
  b = good;
  b[sizeof(ReplayHeader) + 3] ^= 1;   // a frame's clock edited by hand
  EXPECT_EQ(refusal(b), "it was changed since it was written (its check fails)");
  b = good;
  b[8] = 2;
  EXPECT_EQ(refusal(b), "it was written by a later version of the game (replay version 2)");

  // a header no play has
  auto withHeader = [&](auto change) {
    std::vector<uint8_t> x = good;
    ReplayHeader h;
    memcpy(&h, x.data(), sizeof h);
    change(h);
    memcpy(x.data(), &h, sizeof h);
    return refusal(x);
  };
  EXPECT_EQ(withHeader([](ReplayHeader& h) { h.frameCount = kReplayMaxFrames + 1; }),
            "it holds more frames or presses than any play makes");
  EXPECT_EQ(withHeader([](ReplayHeader& h) { memset(h.group, 'x', sizeof h.group); }), "its header is damaged");
  EXPECT_EQ(withHeader([](ReplayHeader& h) { h.rateStep = 0; }), "its header holds values no play has");
  EXPECT_EQ(withHeader([](ReplayHeader& h) { h.players[0].panels = 5; }), "its header holds values no play has");
  EXPECT_EQ(withHeader([](ReplayHeader& h) { h.players[0].active = h.players[1].active = 0; }), "nobody plays in it");
  EXPECT_EQ(withHeader([](ReplayHeader& h) { h.frameCount = 2; }), "its body does not match its header");

  // frames and presses no play makes, with a check that fits them
  auto withFrames = [&](auto change) {
    Replay r = sample();
    change(r);
    std::vector<uint8_t> x = Replay_Encode(r);
    resign(x);
    return refusal(x);
  };
  EXPECT_EQ(withFrames([](Replay& r) { r.presses[1].ms = r.presses[0].ms - 1; }), "its presses are out of order");
  EXPECT_EQ(withFrames([](Replay& r) { r.presses[0].ms = 1000 + kReplayPressReachMs + 1; }),
            "a press lies too far from its frame");
  EXPECT_EQ(withFrames([](Replay& r) { r.presses[0].column = 10; }), "a press is on a panel no style has");
  EXPECT_EQ(withFrames([](Replay& r) { r.frames[1].ms = 1e300; }), "a frame has an impossible time");
  EXPECT_EQ(withFrames([](Replay& r) { r.frames[2].ms = r.frames[1].ms - 61000; }), "its frames are out of order");
  EXPECT_EQ(withFrames([](Replay& r) { r.frames[2].rateStep = 12; }), "a frame's rate is damaged");
  EXPECT_EQ(withFrames([](Replay& r) { r.frames[2].bpmOverride = -5; }), "a frame's tempo is damaged");
  EXPECT_EQ(withFrames([](Replay& r) { r.header.players[1].active = 0; }),
            "it holds presses of a player who did not play");
  // the clock may step back a little, as the stream's position does
  Replay back = sample();
  back.frames[2].ms = back.frames[1].ms - 30;
  Replay out;
  std::string error;
  EXPECT_TRUE(decode(Replay_Encode(back), out, error)) << error;

  // a file far larger than any replay is not read
  TempDir dir;
  FILE* f = fopen("big.tvr", "wb");
  ASSERT_TRUE(f);
  ASSERT_EQ(fseek(f, kReplayMaxFileBytes + 1, SEEK_SET), 0);
  fputc(0, f);
  fclose(f);
  EXPECT_FALSE(Replay_Load("big.tvr", out, error));
  EXPECT_EQ(error, "the file is far larger than any replay");
}

TEST(ReplayStore, TheBestOfEachChartPerProfileIsKeptAndTheOldestGoFirst) {
  TempDir dir;
  auto save = [](const char* name, const ReplayHeader& h) {
    Replay r;
    r.header = h;
    ASSERT_TRUE(Replay_Save(std::string("Replays/") + name, r));
  };
  // Song 1 for nobody's profile: its best (40) is the oldest of all
  save("01.tvr", header("Song 1", "", 40, 100));
  save("02.tvr", header("Song 1", "", 20, 200));
  save("03.tvr", header("Song 1", "", 40, 300));   // only as good: the first stays the best
  // Song 1 for ALICE: her only play is her best
  save("04.tvr", header("Song 1", "ALICE", 5, 400));
  // Song 2: an Auto Play play is nobody's best
  ReplayHeader autoPlay = header("Song 2", "", 90, 500);
  autoPlay.autoPlay = 1;
  save("05.tvr", autoPlay);
  save("06.tvr", header("Song 2", "", 30, 600));
  save("07.tvr", header("Song 2", "", 35, 700));
  WriteFile("Replays/notes.tvr", "not a replay");   // left alone, not counted

  std::vector<ReplayListing> list = ReplayStore_List();
  ASSERT_EQ(list.size(), 7u);
  std::vector<bool> prot = ReplayStore_Protected(list);
  EXPECT_EQ(prot, (std::vector<bool>{true, false, false, true, false, false, true}));

  // keep 4: the three oldest that are nobody's best go
  EXPECT_EQ(ReplayStore_Prune(4), 3);
  for (const char* gone : {"Replays/02.tvr", "Replays/03.tvr", "Replays/05.tvr"}) EXPECT_FALSE(File_Exists(gone));
  for (const char* kept : {"Replays/01.tvr", "Replays/04.tvr", "Replays/06.tvr", "Replays/07.tvr", "Replays/notes.tvr"})
    EXPECT_TRUE(File_Exists(kept)) << kept;
  EXPECT_EQ(ReplayStore_Best("Group 1", "Song 1", 4, 0, ""), "Replays/01.tvr");
  EXPECT_EQ(ReplayStore_Best("Group 1", "Song 1", 4, -1, "ALICE"), "Replays/04.tvr");
  EXPECT_EQ(ReplayStore_Best("Group 1", "Song 1", 8, -1, ""), "");
  EXPECT_EQ(ReplayStore_Best("Group 1", "Song 1", 4, 2, ""), "");

  // keep 0: only the best are left, however many
  EXPECT_EQ(ReplayStore_Prune(0), 1);
  EXPECT_FALSE(File_Exists("Replays/06.tvr"));
  EXPECT_EQ(ReplayStore_List().size(), 3u);

  // the player's number comes from tarvolen.ini, clamped
  TarvolenIni_LoadText("");
  EXPECT_EQ(ReplayStore_Keep(), 200);
  TarvolenIni_LoadText("replay.keep = 12\n");
  EXPECT_EQ(ReplayStore_Keep(), 12);
  TarvolenIni_LoadText("replay.keep = -5\n");
  EXPECT_EQ(ReplayStore_Keep(), 0);
  TarvolenIni_LoadText("");
}

TEST(ReplayFile, NewNamesSortByDateAndNeverOverwrite) {
  TempDir dir;
  std::string a = Replay_NewPath(1796803502, 7);   // 2026-12-09 08:05:02 UTC
  EXPECT_EQ(a, "Replays/20261209-080502-007.tvr");
  ASSERT_TRUE(Dir_Create("Replays"));
  WriteFile(a, "x");
  EXPECT_EQ(Replay_NewPath(1796803502, 7), "Replays/20261209-080502-007-2.tvr");
  EXPECT_LT(Replay_NewPath(1796803502, 8), Replay_NewPath(1796803503, 0));
}

// A course's replay: its songs and the lives given after each read back whole;
// a damaged song refuses the whole course; the best course play per profile
// and style is kept beside the songs' best.
TEST(ReplayFile, ACourseReadsBackWholeAndItsBestIsKept) {
  CourseReplay c;
  CourseReplay_InitHeader(c.header);
  snprintf(c.header.courseName, sizeof c.header.courseName, "Replay Trial");
  snprintf(c.header.courseFolder, sizeof c.header.courseFolder, "Trial");
  snprintf(c.header.courseFile, sizeof c.header.courseFile, "two");
  c.header.players[0].active = 1;
  c.header.players[0].panels = 4;
  c.header.players[0].dancePoints = 50;
  c.songs = {sample(), sample()};
  c.songs[1].header.stage = 2;
  c.header.players[1] = c.header.players[0];
  c.awards = {3, -1};
  std::vector<uint8_t> bytes = CourseReplay_Encode(c);
  ASSERT_TRUE(CourseReplay_Is(bytes.data(), bytes.size()));
  CourseReplay back;
  std::string error;
  ASSERT_TRUE(CourseReplay_Decode(bytes.data(), bytes.size(), back, error)) << error;
  ASSERT_EQ(back.songs.size(), 2u);
  EXPECT_EQ(back.awards, (std::vector<int16_t>{3, -1}));
  EXPECT_EQ(back.songs[1].header.stage, 2);
  EXPECT_EQ(back.songs[1].frames.size(), 3u);
  EXPECT_STREQ(back.header.courseName, "Replay Trial");

  auto refused = [&](std::vector<uint8_t> b) {
    CourseReplay r;
    std::string why;
    EXPECT_FALSE(CourseReplay_Decode(b.data(), b.size(), r, why));
    EXPECT_TRUE(r.songs.empty());
    return why;
  };
  EXPECT_EQ(refused(std::vector<uint8_t>(bytes.begin(), bytes.end() - 5)), "it is cut short");
  std::vector<uint8_t> b = bytes;
  b[8] = 4;
  EXPECT_EQ(refused(b), "it was written by a later version of the game (replay version 4)");
  // the second song's own check fails: the course's is made to fit
  b = bytes;
  b[b.size() - 2] ^= 1;
  CourseReplayHeader h;
  memcpy(&h, b.data(), sizeof h);
  h.bodyCrc = Crc32(b.data() + sizeof h, h.bodyBytes);
  memcpy(b.data(), &h, sizeof h);
  EXPECT_EQ(refused(b), "song 2: it was changed since it was written (its check fails)");
  // a song played by someone the course does not have
  CourseReplay odd = c;
  odd.header.players[1].active = 0;
  EXPECT_EQ(refused(CourseReplay_Encode(odd)), "its songs are not played by its players");

  TempDir dir;
  ASSERT_TRUE(CourseReplay_Save("Replays/c1.tvr", c));
  c.header.players[0].dancePoints = 20;
  c.header.players[1].dancePoints = 20;
  c.header.playedAt = 5;
  ASSERT_TRUE(CourseReplay_Save("Replays/c2.tvr", c));
  Replay song;
  song.header = header("Song 1", "", 10, 7);
  ASSERT_TRUE(Replay_Save("Replays/s1.tvr", song));
  std::vector<ReplayListing> list = ReplayStore_List();
  ASSERT_EQ(list.size(), 3u);
  EXPECT_TRUE(list[0].course && list[1].course && !list[2].course);   // by time played
  EXPECT_EQ(ReplayStore_Protected(list), (std::vector<bool>{true, false, true}));
  EXPECT_EQ(ReplayStore_BestCourse("Trial", "two", 4, ""), "Replays/c1.tvr");
  EXPECT_EQ(ReplayStore_BestCourse("Trial", "two", 8, ""), "");
  EXPECT_EQ(ReplayStore_Prune(0), 1);
  EXPECT_FALSE(File_Exists("Replays/c2.tvr"));
}
