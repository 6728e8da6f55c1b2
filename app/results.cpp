#include "app/results.h"
#include "app/log.h"
#include "platform/files.h"
#include <cmath>
#include <cstdio>

namespace {
// Titles and paths may hold any bytes: quote, backslash and control characters are
// escaped; other bytes pass through (the files are UTF-8 or Latin-1 as the pack has them).
std::string quote(const std::string& s) {
  std::string o = "\"";
  for (unsigned char c : s) {
    switch (c) {
      case '"': o += "\\\""; break;
      case '\\': o += "\\\\"; break;
      case '\n': o += "\\n"; break;
      case '\r': o += "\\r"; break;
      case '\t': o += "\\t"; break;
      default:
        if (c < 0x20 || c == 0x7f) {
          char b[8];
          snprintf(b, sizeof b, "\\u%04x", c);
          o += b;
        } else {
          o += (char)c;
        }
    }
  }
  return o + "\"";
}

std::string number(double v) {
  if (!std::isfinite(v)) return "0";
  char b[64];
  snprintf(b, sizeof b, "%.4f", v);
  return b;
}
}

std::string Results_ToJson(const PlayResult& r) {
  std::string j = "{";
  auto field = [&](const char* k, const std::string& v) {
    if (j.size() > 1) j += ",";
    j += "\"";
    j += k;
    j += "\":";
    j += v;
  };
  field("player", std::to_string(r.player));
  field("chart", quote(r.chart));
  field("style", quote(r.style));
  field("difficulty", quote(r.difficulty));
  field("level", std::to_string(r.level));
  field("score", quote(r.score));
  field("perfect", std::to_string(r.perfect));
  field("great", std::to_string(r.great));
  field("good", std::to_string(r.good));
  field("boo", std::to_string(r.boo));
  field("miss", std::to_string(r.miss));
  field("ok", std::to_string(r.ok));
  field("ng", std::to_string(r.ng));
  field("maxCombo", std::to_string(r.maxCombo));
  field("dancePoints", std::to_string(r.dancePoints));
  field("maxDancePoints", std::to_string(r.maxDancePoints));
  field("percent", number(r.percent));
  field("grade", quote(r.grade));
  field("life", number(r.life));
  field("dead", r.dead ? "true" : "false");
  field("rateStep", std::to_string(r.rateStep));
  field("musicMs", number(r.musicMs));
  field("wallMs", number(r.wallMs));
  field("presses", std::to_string(r.presses));
  field("offsetMeanMs", number(r.offsetMeanMs));
  field("offsetMeanAbsMs", number(r.offsetMeanAbsMs));
  field("offsetMaxMs", number(r.offsetMaxMs));
  return j + "}";
}

bool Results_Append(const std::string& path, const PlayResult& r) {
  if (path.empty()) return false;
  if (!File_AppendText(path, Results_ToJson(r) + "\n")) {
    WriteLogf("Unable to append results to '%s'\n", path.c_str());
    return false;
  }
  return true;
}
