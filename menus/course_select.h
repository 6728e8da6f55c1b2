#pragma once
// The course select screen of a nonstop game: the course wheel over the course
// collection, the selected course's lives, entries and records.

struct Course;

// 1 when a course was chosen (the course collection's selected group and entry),
// 0 when the players left. The caller resolves the best and worst entries first.
int CourseSelect();
// The course at the course collection's selection (index in g_courses), -1 none.
int CourseSelect_SelectedCourse();
// The course's life line: "%d lives" when it sets its lives, "Standard"
// otherwise, with ", Repeats" for a course that repeats.
void CourseSelect_LifeLine(const Course& k, char* out, int size);
