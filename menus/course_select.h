#pragma once
// The course select screen of a nonstop game: the course wheel over the course
// collection, the selected course's lives, entries and records.

// 1 when a course was chosen (the course collection's selected group and entry),
// 0 when the players left. The caller resolves the best and worst entries first.
int CourseSelect();
