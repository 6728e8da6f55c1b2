// Finding the pads to read through evdev: the readable joystick-class nodes in
// event-number order, each matched to SDL's joystick of the same name and
// button count. Keyboards too, but only when every event node may be read (the
// player is in the input group): with one keyboard left to SDL, a key paired on
// evdev would go unseen there.
#include "media/input/evdev_reader.h"
#include "media/input/input.h"
#include "media/input/input_edges.h"
#include "platform/log.h"
#include <SDL.h>
#include <algorithm>
#include <cctype>
#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>
#ifdef __linux__
#include <dirent.h>
#include <fcntl.h>
#include <linux/input.h>
#include <sys/ioctl.h>
#include <time.h>
#include <unistd.h>
#endif

namespace {
constexpr int kCodes = 0x300;   // the key codes numbered (KEY_CNT)

#ifdef __linux__
// Names compare exactly, else with case and runs of blanks ignored (SDL may tidy them).
bool sameName(const char* a, const char* b) {
  if (!strcmp(a, b)) return true;
  auto next = [](const char*& p) {
    bool blank = false;
    while (*p == ' ' || *p == '\t') { p++; blank = true; }
    return blank;
  };
  while (*a || *b) {
    bool ba = next(a), bb = next(b);
    if ((ba != bb && *a && *b)) return false;
    if (tolower((unsigned char)*a) != tolower((unsigned char)*b)) return false;
    if (*a) { a++; b++; }
  }
  return true;
}

// Opens one node; returns its fd when it is a joystick-class or keyboard-class
// device (`keyboard` says which), else -1 (-2 when the player may not read it).
int openNode(const char* path, char* name, size_t nameSize, uint8_t* bits, int bytes, bool* keyboard) {
  int fd = open(path, O_RDONLY | O_NONBLOCK | O_CLOEXEC);
  if (fd < 0) return errno == EACCES || errno == EPERM ? -2 : -1;
  memset(bits, 0, bytes);
  if (ioctl(fd, EVIOCGBIT(EV_KEY, bytes), bits) < 0) {
    close(fd);
    return -1;
  }
  *keyboard = Evdev_IsKeyboardClass(bits, bytes);
  if (!*keyboard && !Evdev_IsJoystickClass(bits, bytes)) {
    close(fd);
    return -1;
  }
  name[0] = 0;
  if (ioctl(fd, EVIOCGNAME(nameSize - 1), name) < 0) name[0] = 0;
  name[nameSize - 1] = 0;
  int clock = CLOCK_MONOTONIC;
  if (ioctl(fd, EVIOCSCLOCKID, &clock) < 0)
    WriteLogf("Input: '%s' cannot stamp events on the monotonic clock\n", name);
  return fd;
}
#endif
}  // namespace

void Evdev_Start() {
  Evdev_Stop();
  int joysticks = std::min(Joystick_Count(), (int)kEdgeJoysticks);
  bool taken[kEdgeJoysticks] = {};
  int unreadable = 0;
#ifdef __linux__
  std::vector<std::string> nodes;
  if (DIR* dir = opendir("/dev/input")) {
    while (dirent* e = readdir(dir))
      if (!strncmp(e->d_name, "event", 5)) nodes.push_back(e->d_name);
    closedir(dir);
  }
  // in event-number order, as SDL counts them
  std::sort(nodes.begin(), nodes.end(), [](const std::string& a, const std::string& b) {
    return atoi(a.c_str() + 5) < atoi(b.c_str() + 5);
  });
  struct Keyboard {
    int fd;
    std::string name, path;
  };
  std::vector<Keyboard> keyboards;
  for (const std::string& node : nodes) {
    char path[300], name[128];
    snprintf(path, sizeof path, "/dev/input/%s", node.c_str());
    uint8_t bits[kCodes / 8];
    bool keyboard = false;
    int fd = openNode(path, name, sizeof name, bits, sizeof bits, &keyboard);
    unreadable += fd == -2;
    if (fd < 0) continue;
    if (keyboard) {
      keyboards.push_back(Keyboard{fd, name, path});
      continue;
    }
    int16_t buttonOf[kCodes];
    int buttons = Evdev_ButtonNumbers(bits, sizeof bits, buttonOf, kCodes);
    int match = -1;
    for (int j = 0; j < joysticks && match < 0; j++)
      if (!taken[j] && Joystick_IsReal(j) && sameName(SDL_JoystickName(j) ? SDL_JoystickName(j) : "", name))
        match = j;
    // SDL may read a pad through another driver that numbers its buttons otherwise
    if (match < 0 || std::min(buttons, 32) != Joystick_RealButtonCount(match)) {
      close(fd);
      continue;
    }
    taken[match] = true;
    std::vector<uint16_t> codes;
    for (int c = 0; c < kCodes; c++)
      if (buttonOf[c] >= 0) codes.push_back((uint16_t)c);
    if (!Evdev_AddDevice(fd, name, match, codes.data(), (int)codes.size())) {
      close(fd);
      continue;
    }
    WriteLogf("Input: '%s' read through evdev (%s)\n", name, path);
  }
  for (const Keyboard& k : keyboards) {
    if (!unreadable && Evdev_AddKeyboard(k.fd, k.name.c_str())) {
      WriteLogf("Input: keyboard '%s' read through evdev (%s), each key once SDL has named it\n", k.name.c_str(),
                k.path.c_str());
      continue;
    }
    close(k.fd);
  }
  if (!keyboards.empty() && unreadable) WriteLog("Input: keyboards read through SDL (not every event node may be read)\n");
#endif
  bool throughSdl = false;
  for (int j = 0; j < joysticks; j++)
    if (!taken[j] && Joystick_IsReal(j)) {
      WriteLogf("Input: '%s' read through SDL\n", SDL_JoystickName(j) ? SDL_JoystickName(j) : "");
      throughSdl = true;
    }
  if (throughSdl && unreadable)
    WriteLogf("Input: %d event nodes in /dev/input may not be read; read access to a pad's node lets the game "
              "read it directly\n", unreadable);
  if (Evdev_DeviceCount()) Evdev_StartThread();
}
