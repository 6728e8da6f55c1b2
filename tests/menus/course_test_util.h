#pragma once
// A nonstop course played song by song for the course evaluation's tests: each
// song a chart of eighth notes (evaluation_test_util.h) played through the real
// judgement under the course's rules, the statistics running on from song to
// song, the totals added by the play's own step at the end of each song.
#include "evaluation_test_util.h"
#include "chart/timing.h"
#include "library/courses.h"
#include "play/song_play.h"

struct CourseSong {
  int notes = 40;
  std::vector<int> late[2];   // as PlayInto's; a player takes part when the first song has presses for it
  bool autoplay = false;
};

// Plays `songs` into g_players and play.course, up to the song in which every
// player failed when that ends the course. Each song's music runs to 1 s after its last note.
inline void PlayCourse(Play& play, const std::vector<CourseSong>& songs, const CourseRules& rules) {
  play.course = CourseRun{};
  play.course.active = true;
  play.course.rules = rules;
  play.course.index = 0;
  PlaySim sim;
  for (int i = 0; i < 2; i++)
    if (!songs[0].late[i].empty()) sim.Join(i, 9, 2);
  for (size_t k = 0; k < songs.size(); k++) {
    for (Player& p : sim.p) Chart_Free(p);
    Timing_FreeLists(g_timing);
    if (!sim.Load(Chart("SINGLE:MANIAC:9:", Notes(songs[k].notes)))) return;
    sim.Begin((int)k + 1, true, &rules);
    std::vector<Step> steps = PressesAt(0, songs[k].late[0]);
    for (const Step& st : PressesAt(1, songs[k].late[1])) steps.push_back(st);
    sim.Run(steps, -3500, songs[k].notes * 250 + 1000);
    play.song.startMusicMs = 0;
    play.song.clock.ms = songs[k].notes * 250 + 1000;
    play.flags = PlayFlags{false, songs[k].autoplay, false};
    bool alive = false;
    for (const Player& p : sim.p) alive = alive || (p.active && p.lifeState != LIFE_DEAD);
    for (int i = 0; i < 2; i++) g_players[i] = sim.p[i];   // the game's records, for the moment of the step
    SongPlay_AddToCourse(play, alive || !Play_EndsWhenAllFail(play));
    for (int i = 0; i < 2; i++) g_players[i].arrows = nullptr;
    if (!alive && Play_EndsWhenAllFail(play)) break;
  }
  for (int i = 0; i < 2; i++) g_players[i] = sim.p[i];
  for (Player& p : sim.p) p.arrows = nullptr;
}

// The course `name` of `songs` songs, with `lives` lives or none, as the course table's only course.
inline void OneCourse(const char* name, int songs, bool withLives = false, int lives = 4) {
  g_courses.assign(1, Course{});
  Course_Defaults(g_courses[0]);
  snprintf(g_courses[0].name, sizeof g_courses[0].name, "%s", name);
  g_courses[0].entryCount = songs;
  g_courses[0].livesSet = withLives;
  g_courses[0].lives = lives;
  g_courses[0].recordIndex = -1;
}
