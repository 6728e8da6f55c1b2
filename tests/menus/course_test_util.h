#pragma once
// A nonstop course played song by song for the course evaluation's tests: each
// song a chart of eighth notes (evaluation_test_util.h) played through the real
// judgement under the course's rules, the statistics running from song to song
// as the course keeps them, and the totals added by the play's own step at the
// end of each song. The players' records end in g_players, as the last song's
// tear-down leaves them.
#include "evaluation_test_util.h"
#include "chart/timing.h"
#include "library/courses.h"
#include "library/settings.h"
#include "play/play_record.h"
#include "play/song_play.h"
#include <vector>

struct CourseSong {
  int notes = 40;
  std::vector<int> late[2];   // as PlayInto's; player i takes part when the first song has presses for it
  bool autoplay = false;      // the song was stepped by Auto Play
};

// Plays `songs` until the last one, or the one in which every player failed with
// the course ending there (game over on, or a battery course). Each song's
// music runs from 0 to 1 s after its last note.
inline void PlayCourse(Play& play, const std::vector<CourseSong>& songs, const CourseRules& rules, int courseIndex = 0) {
  play.course = CourseRun{};
  play.course.active = true;
  play.course.rules = rules;
  play.course.index = courseIndex;
  PlaySim sim;
  for (int i = 0; i < 2; i++)
    if (!songs[0].late[i].empty()) sim.Join(i, 9, 2);
  for (size_t k = 0; k < songs.size(); k++) {
    const CourseSong& s = songs[k];
    for (Player& p : sim.p) Chart_Free(p);
    Timing_FreeLists(g_timing);
    if (!sim.Load(Chart("SINGLE:MANIAC:9:", Notes(s.notes)))) return;
    sim.Begin((int)k + 1, true, &rules);
    std::vector<Step> steps = PressesAt(0, s.late[0]);
    for (const Step& st : PressesAt(1, s.late[1])) steps.push_back(st);
    int64_t end = (int64_t)s.notes * 250 + 1000;
    sim.Run(steps, -3500, end);
    play.song.startMusicMs = 0;
    play.song.clock.ms = (double)end;
    play.song.songLengthMs = -1;
    play.flags = PlayFlags{false, s.autoplay, false};
    bool anyAlive = false;
    for (const Player& p : sim.p) anyAlive = anyAlive || (p.active && p.lifeState != LIFE_DEAD);
    bool courseEnds = !anyAlive && (g_settings.gameOver || rules.hasLives);
    // the game's records are the sim's for the moment of the step
    for (int i = 0; i < 2; i++) g_players[i] = sim.p[i];
    SongPlay_AddToCourse(play, !courseEnds);
    for (Player& p : g_players) {
      p.arrows = nullptr;
      p.arrowCount = 0;
    }
    if (courseEnds) break;
  }
  for (int i = 0; i < 2; i++) {
    g_players[i] = sim.p[i];
    sim.p[i].arrows = nullptr;
    sim.p[i].arrowCount = 0;
  }
}

// The course `name` of `songs` songs as the course table's only course.
inline void OneCourse(const char* name, int songs, bool lives = false, int count = 4) {
  g_courses.assign(1, Course{});
  Course& c = g_courses[0];
  Course_Defaults(c);
  snprintf(c.name, sizeof c.name, "%s", name);
  c.entryCount = songs;
  c.livesSet = lives ? 1 : 0;
  c.lives = count;
  c.index = 0;
  c.recordIndex = -1;
}
