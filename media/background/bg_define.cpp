// One definition line of a background script: its id, layer and kind, the
// source it loads and the tags that place, move, stretch and fade it.
//
// Values are held to ranges the layers can draw without overflowing: sizes and
// spacings 0..8192 (a negative size counts as 0), durations 0..1000000 units,
// movements 10000 pixels per unit either way, positions 100000 either way,
// "STARTAT:" up to 1000000 seconds, "SIZE:" 1..32.
//
// Overlays (layers 1-3) are colour keyed, still pictures and strips alike; a
// picture with its own alpha keeps it.
//
// Drawn size: a base (layer 0) background that is not tiled fills the 640 x 480
// screen; overlays and tiled backgrounds keep their picture's own size (a
// strip's frame size times "SIZE:"). "STRETCH:" sets the size in either case.
#include "media/background/bg_script_internal.h"
#include "media/background/animation_strip.h"
#include "media/background/movie_player.h"
#include "media/render/image.h"
#include "media/vis/vis.h"
#include "platform/log.h"
#include <algorithm>
#include <cmath>
#include <cstring>
#include <vector>

namespace {
constexpr double kMaxSize = 8192, kMaxDuration = 1e6, kMaxMove = 1e4, kMaxPosition = 1e5;

char IdChar(int id) { return id < 10 ? (char)('0' + id) : (char)('A' + id - 10); }

float Brightness(const BackgroundParams& p) { return (float)std::clamp(p.brightness, 0, 100) * 0.01f; }

bool Has(std::string_view rest, const char* tag) { return rest.find(tag) != std::string_view::npos; }

// The numbers after `tag` in `rest`; 0 when the tag is not there.
int Numbers(std::string_view rest, const char* tag, double* out, int max) {
  size_t at = rest.find(tag);
  if (at == std::string_view::npos) return 0;
  return BgValue_Numbers(rest.substr(at + strlen(tag)), out, max);
}

double Clamp(double v, double lo, double hi) { return std::clamp(v, lo, hi); }

// The path after a kind's tag: up to the next ":" or ";", or a value-less tag
// written after it. The path (and its tag) is blanked in `rest` so that the
// other tags are never found inside a file name.
std::string TakePath(std::string& rest, size_t tagAt, size_t tagLength) {
  size_t from = tagAt + tagLength;
  size_t end = rest.find_first_of(":;", from);
  if (end == std::string::npos) end = rest.size();
  // "FILE:a.png KEEPPOS": a flag after a blank or comma is no part of the path
  for (const char* flag : {"KEEPPOS", "KEEPTIME"}) {
    for (size_t f = rest.find(flag, from); f != std::string::npos && f < end; f = rest.find(flag, f + 1)) {
      char before = f > from ? rest[f - 1] : 0;
      if (before == ' ' || before == '\t' || before == ',') {
        end = f;
        break;
      }
    }
  }
  std::string path(BgValue_Trim(std::string_view(rest).substr(from, end - from)));
  std::fill(rest.begin() + (long)tagAt, rest.begin() + (long)end, ' ');
  return path;
}

bool LoadPicture(Background& b, int id, const std::string& path, const BackgroundParams& params) {
  Image* img = new Image;
  std::vector<char> buf(path.begin(), path.end());
  buf.push_back(0);
  if (!img->Load(buf.data(), b.layer != 0 ? 1 : 0, 0)) {
    WriteLogf("Background %c: cannot load '%s'\n", IdChar(id), path.c_str());
    delete img;
    return false;
  }
  img->SetBrightness(Brightness(params));
  b.picture = img;
  return true;
}

bool LoadStrip(Background& b, int id, const std::string& path, std::string_view rest, std::string_view animate,
               const BackgroundParams& params) {
  uint16_t durations[255];
  int frames = BgDefine_AnimateDurations(animate, params.msPerBeat, durations);
  double size = 1;
  Numbers(rest, "SIZE:", &size, 1);
  size = Clamp(size, 1, 32);
  if (!params.loadSources) return true;
  AnimationStrip* s = new AnimationStrip;
  if (!s->Load(path.c_str(), (float)size, frames, durations, b.layer != 0)) {
    WriteLogf("Background %c: cannot load '%s'\n", IdChar(id), path.c_str());
    delete s;
    return false;
  }
  s->image.SetBrightness(Brightness(params));
  b.strip = s;
  return true;
}

// The tags shared by pictures, strips and movies.
void ReadPlacing(Background& b, std::string_view rest) {
  double v[5];
  int n;
  if ((n = Numbers(rest, "MULT:", v, 3)) > 0) {
    uint32_t c = 0;
    for (int i = 0; i < 3; i++) c = (c << 8) | (uint32_t)std::lround(Clamp(i < n ? v[i] : 1, 0, 1) * 255);
    b.colour = c;
  }
  if (Has(rest, "MOVE:")) {
    n = Numbers(rest, "MOVE:", v, 2);
    b.moving = true;
    b.dx = n > 0 ? Clamp(v[0], -kMaxMove, kMaxMove) : 0;
    b.dy = n > 1 ? Clamp(v[1], -kMaxMove, kMaxMove) : 0;
  }
  if (Has(rest, "KEEPPOS")) b.keepPosition = true;
  if ((n = Numbers(rest, "POSITION:", v, 2)) > 0) {
    b.x = Clamp(v[0], -kMaxPosition, kMaxPosition);
    b.y = n > 1 ? Clamp(v[1], -kMaxPosition, kMaxPosition) : 0;
  }
  if (Has(rest, "TILED:")) {
    n = Numbers(rest, "TILED:", v, 1);
    // a base background is tiled whatever the number says
    b.tiled = !(n > 0 && v[0] < 1 && b.layer != 0);
  }
  if (b.layer != 0 && (n = Numbers(rest, "SPACING:", v, 2)) > 0) {
    b.spacingX = v[0] > 0 ? (int32_t)Clamp(v[0], 0, kMaxSize) : 0;
    b.spacingY = n > 1 && v[1] > 0 ? (int32_t)Clamp(v[1], 0, kMaxSize) : 0;
  }
  if (Has(rest, "STRETCH:")) {
    n = Numbers(rest, "STRETCH:", v, 5);
    if (n < 4) {
      WriteLog("Background STRETCH: needs start and end sizes (w1,h1,w2,h2,t); left out\n");
    } else {
      BackgroundStretch& s = b.stretch;
      double w1 = Clamp(v[0], 0, kMaxSize), h1 = Clamp(v[1], 0, kMaxSize);
      s.endWidth = (int32_t)Clamp(v[2], 0, kMaxSize);
      s.endHeight = (int32_t)Clamp(v[3], 0, kMaxSize);
      s.duration = n > 4 ? (int32_t)Clamp(v[4], 0, kMaxDuration) : 0;
      if (s.duration < 1) w1 = s.endWidth, h1 = s.endHeight;   // no time to grow: at the end size at once
      s.width = w1;
      s.height = h1;
      s.on = s.duration >= 1 && (b.layer != 0 || b.tiled);
      s.dWidth = s.on ? (s.endWidth - w1) / s.duration : 0;
      s.dHeight = s.on ? (s.endHeight - h1) / s.duration : 0;
      b.width = (int32_t)w1;
      b.height = (int32_t)h1;
    }
  }
  if (b.layer != 0 && Has(rest, "FADE:")) {
    n = Numbers(rest, "FADE:", v, 3);
    if (n < 2) {
      WriteLog("Background FADE: needs a start and an end alpha (a1,a2,t); left out\n");
    } else {
      BackgroundFade& f = b.fade;
      double a1 = Clamp(v[0], 0, 255);
      f.endAlpha = (int32_t)Clamp(v[1], 0, 255);
      f.duration = n > 2 ? (int32_t)Clamp(v[2], 0, kMaxDuration) : 0;
      if (f.duration < 1) a1 = f.endAlpha;
      f.alpha = a1;
      f.on = f.duration >= 1;
      f.dAlpha = f.on ? (f.endAlpha - a1) / f.duration : 0;
    }
  }
}
}  // namespace

int BgDefine_AnimateDurations(std::string_view value, double msPerBeat, uint16_t* durations) {
  std::string_view v = value.substr(0, std::min(value.size(), value.find_first_of(":;")));
  double nums[256];
  int n = BgValue_Numbers(v, nums, 256);
  int frames = n > 0 ? (int)Clamp(nums[0], 1, 255) : 1;
  if (v.find(',') != std::string_view::npos) {
    // a frame count and a duration per frame
    double previous = 100;
    for (int i = 0; i < frames; i++) {
      double d = i + 1 < n ? nums[i + 1] : previous;
      if (d <= 0) d = 500;
      previous = d;
      durations[i] = (uint16_t)Clamp(std::floor(d), 1, 65535);
    }
    return frames;
  }
  // n frames evenly over two beats, the last taking what is left over
  double beat = std::isfinite(msPerBeat) ? Clamp(msPerBeat, 1, 60000) : 500;
  int64_t total = (int64_t)(beat * 2);
  int64_t each = total / frames;
  for (int i = 0; i < frames; i++) {
    int64_t d = i + 1 < frames ? each : total - each * (frames - 1);
    durations[i] = (uint16_t)std::clamp<int64_t>(d, 1, 65535);   // never a frame of no time
  }
  return frames;
}

void BgDefine_Free(Background& b) {
  delete b.picture;
  delete b.strip;
  delete b.movie;
  delete b.vis;
  b = Background{};
}

bool BgDefine_Movie(Background& b, int id, const std::string& path, const BackgroundParams& params) {
  MoviePlayer* m = new MoviePlayer;
  if (!m->Open(path.c_str(), std::clamp(params.aviQuality, 0, 10) * 10, params.alphaMovies)) {
    WriteLogf("Background %c: cannot load '%s'\n", IdChar(id), path.c_str());
    delete m;
    return false;
  }
  m->frame.SetBrightness(Brightness(params));
  b.movie = m;
  return true;
}

bool BgDefine_Vis(Background& b, int id, const std::string& path, const BackgroundParams& params) {
  if (!Vis_CreateFrame(std::clamp(params.svpQuality, 0, 10) * 10, params.alphaMovies)) {
    WriteLogf("Background %c: no frame for the plug-in '%s'\n", IdChar(id), path.c_str());
    return false;
  }
  g_backgrounds.visFrame = true;
  VisInstance* v = new VisInstance;
  if (!v->Load(path.c_str(), VIS_LOAD_USE)) {
    WriteLogf("Background %c: cannot load '%s'\n", IdChar(id), path.c_str());
    delete v;
    return false;
  }
  b.vis = v;
  return true;
}

void BgDefine_Line(std::string_view line, const char* songFolder, const BackgroundParams& params) {
  size_t colon = line.find(':');
  int id = colon == std::string_view::npos || colon == 0 ? -1 : BgScript_Id(line[colon - 1]);
  if (id < 1) {
    WriteLogf("Background line without an id 1-9 or A-Z left out: '%.60s'\n", std::string(BgValue_Trim(line)).c_str());
    return;
  }
  std::string rest(line);
  size_t layerAt = rest.find("LAYER:");
  if (layerAt == std::string::npos) {
    WriteLogf("Background %c: no LAYER: tag, line left out\n", IdChar(id));
    return;
  }
  Background& b = g_backgrounds.defs[id];
  BgDefine_Free(b);   // a later line for the same id replaces it
  b.layer = (int32_t)Clamp(BgValue_Number(std::string_view(rest).substr(layerAt + 6), 0), 0, 3);
  const bool load = params.loadSources;

  size_t at;
  if ((at = rest.find("FILE:")) != std::string::npos) {
    std::string path = BgPath_Media(songFolder, TakePath(rest, at, 5), load);
    size_t animateAt = rest.find("ANIMATE:");
    int32_t w = 0, h = 0;
    if (animateAt != std::string::npos) {
      b.type = BG_STRIP;
      if (!LoadStrip(b, id, path, rest, std::string_view(rest).substr(animateAt + 8), params)) return BgDefine_Free(b);
      if (b.strip) w = b.strip->image.width, h = b.strip->image.height;
    } else {
      b.type = BG_PICTURE;
      if (load && !LoadPicture(b, id, path, params)) return BgDefine_Free(b);
      if (b.picture) w = b.picture->pictureWidth, h = b.picture->pictureHeight;
    }
    b.width = w;
    b.height = h;
  } else if ((at = rest.find("MOVIE:")) != std::string::npos) {
    if (params.aviQuality <= 0) {
      WriteLogf("Background %c: movies are off, left unused\n", IdChar(id));
      return BgDefine_Free(b);
    }
    std::string path = BgPath_Media(songFolder, TakePath(rest, at, 6), load);
    b.type = BG_MOVIE;
    if (load && !BgDefine_Movie(b, id, path, params)) return BgDefine_Free(b);
    double seconds = 0;
    if (Numbers(rest, "STARTAT:", &seconds, 1)) b.startAtMs = (int64_t)(Clamp(seconds, 0, 1e6) * 1000);
    if (b.movie) b.movie->startOffsetMs = b.startAtMs;
    b.keepTime = rest.find("KEEPTIME") != std::string::npos;
  } else if ((at = rest.find("VIS:")) != std::string::npos) {
    if (params.svpQuality <= 0) {
      WriteLogf("Background %c: visualizations are off, left unused\n", IdChar(id));
      return BgDefine_Free(b);
    }
    std::string path = BgPath_Vis(songFolder, TakePath(rest, at, 4), load);
    WriteLogf("Loading %s...\n", path.c_str());
    b.type = BG_VIS;
    if (load && !BgDefine_Vis(b, id, path, params)) return BgDefine_Free(b);
    b.width = 640;
    b.height = 480;
    return;   // a plug-in fills the screen: none of the placing tags apply
  } else if (rest.find("OFF") != std::string::npos) {
    if (b.layer == 0) {
      WriteLogf("Background %c: OFF is for layers 1-3, left unused\n", IdChar(id));
      return BgDefine_Free(b);
    }
    b.type = BG_OFF;
    return;
  } else {
    WriteLogf("Background %c: no FILE:, MOVIE:, VIS: or OFF, left unused\n", IdChar(id));
    return BgDefine_Free(b);
  }
  // the screen's size unless stretched: movies, and base backgrounds that are not tiled
  bool screenSized = b.type == BG_MOVIE || b.layer == 0;
  if (screenSized) b.width = 640, b.height = 480;
  ReadPlacing(b, rest);
  if (b.type != BG_MOVIE && b.layer == 0 && b.tiled && !Has(rest, "STRETCH:")) {
    // a tiled base background repeats its picture at the picture's own size
    b.width = b.picture ? b.picture->pictureWidth : b.strip ? b.strip->image.width : 0;
    b.height = b.picture ? b.picture->pictureHeight : b.strip ? b.strip->image.height : 0;
  }
}
