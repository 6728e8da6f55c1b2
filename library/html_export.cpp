#include "library/html_export.h"
#include "platform/log.h"
#include "library/song_list.h"
#include <cstdarg>
#include <cstdio>
#include <cstring>
#include <string>
#include <unistd.h>

namespace {
void appendf(std::string& out, const char* fmt, ...) __attribute__((format(printf, 2, 3)));
void appendf(std::string& out, const char* fmt, ...) {
  char buf[512];
  va_list ap;
  va_start(ap, fmt);
  int n = vsnprintf(buf, sizeof buf, fmt, ap);
  va_end(ap);
  if (n < 0) return;
  if (n < (int)sizeof buf) {
    out.append(buf, (size_t)n);
    return;
  }
  std::string big((size_t)n + 1, '\0');
  va_start(ap, fmt);
  vsnprintf(big.data(), big.size(), fmt, ap);
  va_end(ap);
  out.append(big.data(), (size_t)n);
}

// Titles, artists and collection names are written as they are.
void appendText(std::string& out, const char* field, size_t size) { out.append(field, strnlen(field, size)); }

void appendLevels(std::string& out, const char* name, const int32_t* levels, int n, bool lineBreak) {
  int sum = 0;
  for (int i = 0; i < n; i++) sum += levels[i];
  if (sum <= 0) return;
  out += name;
  for (int i = 0; i < n; i++) {
    if (levels[i] < 1)
      out += " - ";
    else
      appendf(out, " <B>%d</B> ", (int)levels[i]);
    if (i < n - 1) out += '/';
  }
  if (lineBreak) out += "<BR>        \n";
}

void appendSong(std::string& out, const SongEntry& e) {
  std::string path;
  appendText(path, e.group, sizeof e.group);
  path += '/';
  appendText(path, e.folder, sizeof e.folder);
  path += '/';
  appendText(path, e.banner, sizeof e.banner);
  out += "<TR><TD width=200 align=right valign=top><IMG src='Songs/";
  SongList_AppendPath(out, path);
  out += "' width=128 height=96 border=1></TD>\n";
  out += "    <TD nowrap><P><B>";
  appendText(out, e.title, sizeof e.title);
  out += "<BR>\n        <SMALL>";
  appendText(out, e.artist, sizeof e.artist);
  out += "</SMALL></B><BR>\n";
  appendf(out, "        <SMALL>BPM: %.2f</SMALL></P>\n", e.bpmValue);
  out += "        <P><SMALL>";
  appendLevels(out, "SINGLE: ", &e.levels[0], 4, true);
  appendLevels(out, "DOUBLE: ", &e.levels[4], 4, true);
  appendLevels(out, "SOLO: ", &e.levels[11], 3, false);
  out += "</SMALL></P></TD></TR>\n";
  out += "<TR><TD colspan=2><SMALL>&nbsp;</SMALL></TD></TR>\n";
}
}  // namespace

void SongList_AppendPath(std::string& out, const std::string& path) {
  for (unsigned char c : path) {
    bool plain = (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9') || c == '-' || c == '.' ||
                 c == '_' || c == '/' || c == '+';
    if (plain)
      out += (char)c;
    else
      appendf(out, "&#%d;", (int)c);
  }
}

std::string SongList_HtmlText(const std::vector<SongListGroup>& groups) {
  std::string out;
  out.reserve(4096 + g_songs.size() * 700);
  out += "<HTML>\n<HEAD>\n<TITLE>RKV2 Songlist</TITLE>\n</HEAD>\n";
  out += "<BODY><FONT face='verdana, geneva, arial, sans-serif'>\n";
  out += "<P><H3>RKV2 Songlist</H3></P>\n";
  out += "<P>Collections:<UL>\n";
  for (size_t n = 0; n < groups.size(); n++) {
    appendf(out, "<LI> <A href='#col%d'>", (int)n);
    appendText(out, groups[n].label, groups[n].labelSize);
    out += "</A>\n";
  }
  out += "</UL></P>\n";
  appendf(out, "<P>%d Songs total</P>\n", (int)g_songs.size());
  for (size_t n = 0; n < groups.size(); n++) {
    const SongListGroup& g = groups[n];
    appendf(out, "<P><B><FONT size='+1'><A name='col%d'>", (int)n);
    appendText(out, g.label, g.labelSize);
    appendf(out, "</A></FONT></B><BR><SMALL>(%d songs)<BR>&nbsp;</SMALL><BR>\n", (int)g.count);
    out += "<TABLE cellspacing=0 cellpadding=3 border=0>\n";
    for (int i = 0; i < g.count; i++) {
      int s = g.songs[i];
      if (s >= 0 && s < (int)g_songs.size()) appendSong(out, g_songs[s]);
    }
    out += "</TABLE></P>\n";
  }
  out += "</FONT>\n</HTML>\n";
  return out;
}

bool SongList_WriteHtml(std::vector<SongListGroup> (*collect)()) {
  // The page is written beside its final name and moved over the old one only
  // when complete; when even that file cannot be made nothing else happens.
  std::string temp = std::string(kSongListPage) + ".tmp";
  FILE* f = fopen(temp.c_str(), "w");
  if (!f) {
    WriteLogf("Could not create '%s'; the song list is not written\n", kSongListPage);
    return false;
  }
  std::string page = SongList_HtmlText(collect());
  bool ok = fwrite(page.data(), 1, page.size(), f) == page.size();
  ok = fflush(f) == 0 && ok;
  ok = fclose(f) == 0 && ok;
  if (ok) ok = rename(temp.c_str(), kSongListPage) == 0;
  if (!ok) {
    unlink(temp.c_str());
    WriteLogf("Could not write '%s'; the old page is kept\n", kSongListPage);
  }
  return ok;
}
