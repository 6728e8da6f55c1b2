#include "platform/log.h"
#include "library/courses.h"
#include "library/dir_walker.h"
#include "library/records.h"
#include "platform/files.h"
#include <algorithm>
#include <cstdio>
#include <cstring>
#include <ctime>
#include <memory>
#include <strings.h>

std::vector<Course> g_courses;
std::vector<std::string> g_courseFolders;
Course g_bonusCourses[2];

namespace {
// While loadCourses runs, the records of new courses are gathered and added in one
// write of the records file instead of one rewrite per course.
std::vector<SongRecord>* g_pendingRecords = nullptr;

void linkRecord(Course& c) {
  std::string key = Course_RecordKey(c);
  c.recordIndex = findRecord(g_records, key.c_str());
  if (c.recordIndex >= 0) return;
  SongRecord r = Records_New(key.c_str(), (int32_t)time(nullptr));
  if (g_pendingRecords) {
    for (const SongRecord& p : *g_pendingRecords)
      if (strcmp(p.key, r.key) == 0) return;   // two courses of one name share a record
    g_pendingRecords->push_back(r);
    return;
  }
  addRecords(g_records, &r, 1);
  c.recordIndex = findRecord(g_records, key.c_str());
}

template <size_t N>
void copyText(char (&field)[N], const std::string& s) {
  snprintf(field, N, "%s", s.c_str());
}
}  // namespace

std::string Course_RecordKey(const Course& c) {
  std::string k = std::string("COURSE|") + c.name;
  if (k.size() > 255) k.resize(255);   // the record's key field holds 255 bytes
  return k;
}

int readCourse(const char* folder, const char* fileName, Course& course, int index) {
  Course_Defaults(course);
  std::string path;
  if (index < 0) {
    WriteLogf("Analysing bonus song file: %s\n", fileName);
    path = fileName;
  } else {
    WriteLogf("Analysing CRS file: %s/%s\n", folder, fileName);
    path = std::string("Courses/") + folder + "/" + fileName;
  }
  std::string onDisk;
  long long size = -1;
  if (Path_Resolve(path, onDisk)) size = File_Size(onDisk);
  std::string text;
  if (size < 0 || !File_ReadText(onDisk, text)) {
    WriteLogf("- Cannot open '%s'\n", path.c_str());
    course.valid = 0;
    return 0;
  }
  if (size > kMaxCourseFileBytes) {
    WriteLogf("- '%s' is %lld bytes, too big for a course file; ignored\n", path.c_str(), size);
    course.valid = 0;
    return 0;
  }
  course.valid = 1;
  course.index = index;
  std::string base = fileName;
  base = base.substr(0, base.find('.'));
  copyText(course.fileName, base);
  copyText(course.folder, index < 0 ? std::string("BONUS") : std::string(folder));
  if (Course_ParseText(std::move(text), course) == 0) {
    WriteLog("- No songs found for this course - ignoring.\n");
    return 0;
  }
  // a course without "#COURSE:" is named after its file rather than left blank
  if (!course.name[0]) copyText(course.name, base);
  if (index >= 0) linkRecord(course);
  return 1;
}

int loadCourses() {
  g_courses.clear();
  g_courseFolders.clear();
  std::string root;
  DirWalker folders;
  if (!Path_Resolve("Courses", root) || folders.openDir(root, "*", 2) < 0) {
    WriteLog("No 'Courses' folder: no courses\n");
    return 0;
  }
  CourseLookupScope lookup;
  std::vector<SongRecord> pending;
  g_pendingRecords = &pending;
  bool full = false;
  auto c = std::make_unique<Course>();
  std::vector<std::string> listed;
  for (const DirEntry& d : folders.entries) {
    if (full) break;
    if (d.name.empty() || d.name[0] == '.') continue;
    DirWalker files;
    if (files.openDir(root + "/" + d.name, "*.crs", 1) <= 0) continue;
    listed.push_back(d.name);
    for (const DirEntry& f : files.entries) {
      if ((int)g_courses.size() >= kMaxCourses) {
        WriteLogf("More than %d courses; the rest are not loaded\n", kMaxCourses);
        full = true;
        break;
      }
      if (readCourse(d.name.c_str(), f.name.c_str(), *c, (int)g_courses.size())) g_courses.push_back(*c);
    }
  }
  g_pendingRecords = nullptr;
  if (!pending.empty()) addRecords(g_records, pending.data(), (int)pending.size());
  // by name without regard to case; equal names keep their order
  std::stable_sort(g_courses.begin(), g_courses.end(),
                   [](const Course& a, const Course& b) { return strcasecmp(a.name, b.name) < 0; });
  for (size_t i = 0; i < g_courses.size(); i++) {
    Course& k = g_courses[i];
    k.index = (int32_t)i;
    if (k.recordIndex < 0) k.recordIndex = findRecord(g_records, Course_RecordKey(k).c_str());
  }
  for (const std::string& name : listed)
    for (const Course& k : g_courses)
      if (name == k.folder) {
        g_courseFolders.push_back(name);
        break;
      }
  return (int)g_courses.size();
}

void loadBonusCourses() {
  CourseLookupScope lookup;
  Course_Defaults(g_bonusCourses[0]);
  Course_Defaults(g_bonusCourses[1]);
  if (readCourse("", "bonus-1.crs", g_bonusCourses[0], -1)) readCourse("", "bonus-2.crs", g_bonusCourses[1], -2);
  // a bonus file that failed is not kept half-read
  for (Course& b : g_bonusCourses)
    if (!b.valid) b.entryCount = 0;
  WriteLog("Bonus stages defined\n");
}
