#include "support/game_script.h"
#include "support/test_support.h"
#include <gtest/gtest.h>
#include <cstdlib>
#include <cstring>
#include <sys/wait.h>
#include <unistd.h>
#include <cstdio>
#include <vector>

void Script::at(const char* anchor) { text += std::string("@ ") + anchor + "\n"; }

void Script::tap(int ms, int code) {
  text += std::to_string(ms) + press(code, true) + std::to_string(ms + 150) + press(code, false);
}

std::string Script::press(int code, bool down) const {
  for (int b = 0; gamepad && b < 8; b++)
    if (kPadButtons[b] == code) return " joy 0 " + std::to_string(b) + (down ? " down\n" : " up\n");
  return (down ? " down " : " up ") + std::to_string(code) + "\n";
}

void Script::step(int p, int ms, int mask) {
  for (int c = 0; c < 4; c++) {
    if (!(mask & (1 << c))) continue;
    text += "play " + std::to_string(ms) + press(kPads[p][c], true);
    text += "play " + std::to_string(ms + 60) + press(kPads[p][c], false);
  }
}

void Script::basic(int p) {
  int rows[4] = {L, D, U, R};
  for (int i = 0; i < 4; i++) step(p, 1000 + 500 * i, rows[i]);
}

void Script::maniac(int p) {
  int rows[8] = {L, L | R, D, U, U | D, R, L, L | R};
  for (int i = 0; i < 8; i++) step(p, 1000 + 250 * i, rows[i]);
}

void Script::leaveModifiers(bool both) {
  at("ModifierSelect()...");
  for (int i = 0; i < 10; i++) {
    tap(300 + 220 * i, kStart1);
    if (both) tap(300 + 220 * i, kStart2);
  }
}

void Script::evaluation() {
  at("Starting evaluation screen...");
  tap(2500, kStart1);   // the numbers stand after 1.5 s; the comment has begun
}

void Script::credits() {
  at("Starting credits...");
  tap(1500, kStart1);
  at("Loading 'rkv2-title.png'");
  tap(1000, kEscape);
}

void PrepareGame(const GameSettings& settings, int songs) {
  GameLibrary lib;
  lib.songs = songs;
  PrepareGame(settings, lib);
}

void PrepareGame(const GameSettings& settings, const GameLibrary& lib, void (*beforeIndex)()) {
  if (WriteGameLibrary(lib).size() != (size_t)lib.songs || !WriteGameSettings(settings)) {
    ADD_FAILURE() << "the game library could not be written";
    return;
  }
  if (beforeIndex) beforeIndex();
  if (IndexGameLibrary() != lib.songs) {
    ADD_FAILURE() << "the game library could not be indexed";
    return;
  }
  // after the indexing, whose song list would write the records of this process
  SongRecord old = Records_New("Old\\Song", 1000);
  int32_t n = 1;
  WriteFile("rkv2.rec", std::string((const char*)&n, 4) + std::string((const char*)&old, sizeof old));
}

GameRun RunGame(const Script& s, int timeoutSeconds) {
  WriteFile("script.txt", s.text);
  return RunGameWith("/input:script.txt /results:r.json", "r.json", timeoutSeconds);
}

GameRun RunGameWith(const std::string& args, const std::string& results, int timeoutSeconds) {
  std::string cmd = std::string("SDL_VIDEODRIVER=dummy SDL_AUDIODRIVER=dummy timeout ") +
                    std::to_string(timeoutSeconds) + " '" + TV_GAME_EXE + "' /log /skipsearch /fps:60 " + args +
                    " > out.txt 2>&1";
  int rc = std::system(cmd.c_str());
  GameRun r;
  r.status = WIFEXITED(rc) ? WEXITSTATUS(rc) : -1;
  r.log = ReadFile("rkv2.log");
  r.results = ReadFile(results);
  return r;
}

pid_t StartGame(std::initializer_list<const char*> args, int timeoutSeconds,
                std::initializer_list<const char*> env) {
  std::vector<char*> argv{const_cast<char*>(TV_GAME_EXE)};
  for (const char* a : args) argv.push_back(const_cast<char*>(a));
  argv.push_back(nullptr);
  fflush(stdout);   // or the child writes what is buffered once more
  pid_t pid = fork();
  if (pid == 0) {
    setenv("SDL_VIDEODRIVER", "dummy", 1);
    setenv("SDL_AUDIODRIVER", "dummy", 1);
    for (const char* e : env) putenv(const_cast<char*>(e));
    if (!freopen("out.txt", "w", stdout) || !freopen("out.txt", "a", stderr)) _exit(126);
    alarm((unsigned)timeoutSeconds);
    execv(TV_GAME_EXE, argv.data());
    _exit(127);
  }
  return pid;
}

long ProcStatus(pid_t pid, const char* field) {
  std::string status = ReadFile("/proc/" + std::to_string(pid) + "/status");
  size_t p = status.find(field);
  return p == std::string::npos ? -1 : std::atol(status.c_str() + p + strlen(field));
}

int CountOf(const std::string& text, const std::string& part) {
  int n = 0;
  for (size_t p = text.find(part); p != std::string::npos; p = text.find(part, p + 1)) n++;
  return n;
}

std::string Field(const std::string& line, const std::string& key) {
  size_t p = line.find("\"" + key + "\":");
  if (p == std::string::npos) return "";
  p += key.size() + 3;
  bool quoted = line[p] == '"';
  size_t e = quoted ? line.find('"', p + 1) : line.find_first_of(",}", p);
  return line.substr(quoted ? p + 1 : p, e - p - (quoted ? 1 : 0));
}

bool InOrder(const std::string& log, std::initializer_list<const char*> parts) {
  size_t at = 0;
  for (const char* p : parts) {
    at = log.find(p, at);
    if (at == std::string::npos) return false;
    at++;
  }
  return true;
}

const Result* ResultOf(const RecordTable& t, const char* key) {
  for (size_t i = 0; i < t.records.size(); i++)
    if (strcmp(t.records[i].key, key) == 0) return t.results[i].empty() ? nullptr : &t.results[i][0];
  return nullptr;
}

const SongRecord* RecordOf(const RecordTable& t, const char* key) {
  for (const SongRecord& r : t.records)
    if (strcmp(r.key, key) == 0) return &r;
  return nullptr;
}
