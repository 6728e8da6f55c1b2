#include "media/skin/skin_images.h"
#include "platform/log.h"
#include "chart/arrow_images.h"
#include "media/font/font.h"
#include "media/render/image_decode.h"
#include "media/skin/skin_config.h"
#include "platform/files.h"
#include <FreeImage.h>
#include <cstdio>
#include <cstring>
#include <string>

SkinImages g_skin;
Image g_background;
Image g_arrows[kArrowRecords];
Image g_arrowsSecond[6 * 16];
Image g_arrowsThird[6];
int g_arrowSet = 0;

namespace {
char g_skinName[256] = "Default";   // the skin LoadImages was given

void cut(FIBITMAP* dib, Image& img, int l, int t, int w, int h) {
  img.Free();
  if (dib) img.LoadFromBitmap(dib, l, t, w, h, 1);
}

template <size_t N>
void freeAll(Image (&a)[N]) {
  for (Image& i : a) i.Free();
}

template <size_t N, size_t M>
void freeAll(Image (&a)[N][M]) {
  for (auto& row : a) freeAll(row);
}

// Sheets the screens use, cut in the order the start-up loads them.
void cutSheets() {
  FIBITMAP* d;
  d = LoadPNGtoFI("rkv2-stages.png", 1);
  for (int i = 0; i < 10; i++) cut(d, g_skin.stageDigits[i], 15 * i, 0, 15, 20);
  for (int i = 0; i < 4; i++) cut(d, g_skin.stageWords[i], 150 + 30 * i, 0, 30, 20);
  for (int i = 0; i < 4; i++) cut(d, g_skin.stageBanners[i], 60 * i, 20, 60, 20);
  if (d) FreeImage_Unload(d);

  d = LoadPNGtoFI("rkv2-bpms.png", 1);
  for (int i = 0; i < 10; i++) cut(d, g_skin.bpmDigits[i], 20 * i, 0, 20, 20);
  cut(d, g_skin.bpmLabel, 200, 0, 30, 20);
  if (d) FreeImage_Unload(d);

  d = LoadPNGtoFI("rkv2-difficulties.png", 1);
  for (int c = 0; c < 2; c++)
    for (int r = 0; r < 4; r++) cut(d, g_skin.difficulties[c][r], 76 * c, 38 * r, 76, 38);
  if (d) FreeImage_Unload(d);

  LoadPNG("def-banner.png", g_skin.defBanner, 0, 0);
  LoadPNG("rkv2-profile-default.png", g_skin.profileDefault, 1, 1);
  d = LoadPNGtoFI("rkv2-profile-frame.png", 1);
  cut(d, g_skin.profileFrame[0], 0, 0, 320, 68);
  cut(d, g_skin.profileFrame[1], 320, 0, 68, 68);
  if (d) FreeImage_Unload(d);
  LoadPNG("def-background.png", g_skin.defBackground, 0, 0);

  WriteLog("Creating radars...\n");
  for (Image& r : g_skin.radars) r.Create(184, 184, IMAGE_ARGB);
  WriteLog("Creating overlay...\n");
  g_skin.overlay.Create(640, 480, IMAGE_ARGB);

  d = LoadPNGtoFI("rkv2-farrows.png", 1);
  for (int w = 0; w < 2; w++)
    for (int j = 0; j < 3; j++)
      for (int a = 0; a < 6; a++) cut(d, g_skin.farrows[w][j][a], 64 * a, 128 * j + 64 * w, 64, 64);
  if (d) FreeImage_Unload(d);

  d = LoadPNGtoFI("rkv2-icons.png", 1);
  for (int i = 0; i < 2; i++) cut(d, g_skin.icons[i], 0, 14 * i, 53, 14);
  if (d) FreeImage_Unload(d);

  WriteLog("Creating hold arrows...\n");
  d = LoadPNGtoFI("rkv2-freezes.png", 1);
  for (int c = 0; c < 6; c++) {
    int x = 64 * c;
    const int cells[6][2] = {{0, 64}, {64, 16}, {80, 44}, {128, 64}, {192, 16}, {208, 44}};  // top, height
    for (int k = 0; k < 6; k++) cut(d, g_skin.freezes[c][k], x, cells[k][0], 64, cells[k][1]);
  }
  if (d) FreeImage_Unload(d);

  d = LoadPNGtoFI("rkv2-hjudge.png", 1);
  for (int i = 0; i < 3; i++) cut(d, g_skin.hjudge[i], 64 * i, 0, 64, 21);
  if (d) FreeImage_Unload(d);

  d = LoadPNGtoFI("rkv2-flash.png", 1);
  for (int r = 0; r < 4; r++)
    for (int c = 0; c < 13; c++) cut(d, g_skin.flash[r][c], 80 * c, 80 * r, 80, 80);
  if (d) FreeImage_Unload(d);

  d = LoadPNGtoFI("rkv2-judge.png", 1);
  for (int i = 0; i < 5; i++) cut(d, g_skin.judge[i], 0, 35 * i, 175, 35);
  if (d) FreeImage_Unload(d);

  d = LoadPNGtoFI("rkv2-options2.png", 1);
  {
    const int cells[8][4] = {{0, 32, 12, 28},  {12, 32, 40, 28}, {52, 32, 12, 28},  {0, 60, 64, 4},
                             {64, 32, 12, 28}, {76, 32, 40, 28}, {116, 32, 12, 28}, {64, 60, 64, 4}};
    for (int i = 0; i < 8; i++) cut(d, g_skin.options2[i], cells[i][0], cells[i][1], cells[i][2], cells[i][3]);
    for (int i = 0; i < 4; i++) cut(d, g_skin.options2Icons[i], 32 * i, 0, 32, 32);
  }
  if (d) FreeImage_Unload(d);

  d = LoadPNGtoFI("rkv2-combo.png", 1);
  for (int i = 0; i < 10; i++) cut(d, g_skin.comboDigits[i], 48 * i, 0, 48, 64);
  cut(d, g_skin.comboLabel, 480, 0, 96, 64);
  if (d) FreeImage_Unload(d);

  d = LoadPNGtoFI("rkv2-headlines.png", 1);
  for (int i = 0; i < 2; i++) cut(d, g_skin.headlines[i], 0, 85 * i, 380, 85);
  for (int i = 0; i < 2; i++) cut(d, g_skin.headlinesSmall[i], 10, 170 + 80 * i, 360, 80);
  if (d) FreeImage_Unload(d);
}

void cutSheetsContinued(int dangerKey, int dangerConvert) {
  FIBITMAP* d = LoadPNGtoFI("rkv2-danger.png", dangerKey);
  if (d) {
    cut(d, g_skin.danger, 0, 0, (int)FreeImage_GetWidth(d), (int)FreeImage_GetHeight(d));
    (void)dangerConvert;
    FreeImage_Unload(d);
  }

  d = LoadPNGtoFI("rkv2-results2.png", 1);
  for (int r = 0; r < 3; r++)
    for (int i = 0; i < 12; i++) cut(d, g_skin.results2[r][i], 60 + 25 * i, 25 * r, 25, 25);
  cut(d, g_skin.results2Label, 0, 0, 60, 25);
  if (d) FreeImage_Unload(d);

  d = LoadPNGtoFI("rkv2-data.png", 1);
  for (int k = 0; k < 2; k++) {
    int x = 132 * k;
    cut(d, g_skin.data[k][0], x, 0, 132, 22);
    for (int i = 0; i < 5; i++) cut(d, g_skin.data[k][1 + i], x, 34 + 23 * i, 132, 11);
    for (int i = 0; i < 4; i++) cut(d, g_skin.data[k][6 + i], x, 22 + 23 * i, 132, 12);
  }
  if (d) FreeImage_Unload(d);

  d = LoadPNGtoFI("rkv2-styles.png", 1);
  for (int i = 0; i < 6; i++) cut(d, g_skin.styles[i], 0, 42 * i, 56, 42);
  if (d) FreeImage_Unload(d);

  d = LoadPNGtoFI("rkv2-timer.png", 1);
  for (int i = 0; i < 10; i++) cut(d, g_skin.timer[i], 32 * i, 0, 32, 42);
  if (d) FreeImage_Unload(d);

  d = LoadPNGtoFI("rkv2-feet.png", 1);
  for (int i = 0; i < 2; i++) {
    cut(d, g_skin.feet[i], 15 * i, 0, 15, 22);
    g_skin.feet[i].SetSize(12, 18, 0);
  }
  if (d) FreeImage_Unload(d);

  d = LoadPNGtoFI("rkv2-grades.png", 1);
  for (int i = 0; i < 8; i++) cut(d, g_skin.grades[i], 70 * i, 0, 70, 60);
  if (d) FreeImage_Unload(d);

  d = LoadPNGtoFI("rkv2-modifiers.png", 0);
  if (d) {
    bool tall = FreeImage_GetHeight(d) >= 181;
    for (int k = 0; k < 2; k++) {
      Image* m = g_skin.modifiers[k];
      for (int r = 0; r < 4; r++)
        for (int i = 0; i < 6; i++) cut(d, m[r * 6 + i], 32 * i, 80 * k + 20 * r, 32, 20);
      cut(d, m[24], 32 * k + 32, 160, 32, 20);
      cut(d, m[25], 32 * k + 96, 160, 32, 20);
      for (int e = 0; e < 3; e++) {
        if (tall) cut(d, m[26 + e], 32 * k + 64 * e, 180, 32, 20);
        else cut(d, m[26 + e], 32 * k + 32, 160, 32, 20);
      }
    }
    cut(d, g_skin.modifiersLast, 0, 160, 32, 20);
    FreeImage_Unload(d);
  }

  d = LoadPNGtoFI("rkv2-game.png", 1);
  {
    int n = 0;
    const int first[8][4] = {{0, 90, 290, 32},   {350, 90, 290, 32},  {0, 122, 290, 32}, {350, 122, 290, 32},
                             {183, 154, 290, 32}, {183, 186, 290, 32}, {302, 154, 16, 32}, {302, 186, 16, 32}};
    for (auto& c : first) cut(d, g_skin.game[n++], c[0], c[1], c[2], c[3]);
    for (int i = 0; i < 4; i++) cut(d, g_skin.game[n++], 0, 154 + 26 * i, 100, 26);
    for (int i = 0; i < 4; i++) cut(d, g_skin.game[n++], 540, 154 + 26 * i, 100, 26);
    cut(d, g_skin.game[n++], 100, 218, 64, 20);
    cut(d, g_skin.game[n++], 100, 238, 64, 20);
    cut(d, g_skin.game[n++], 0, 0, 640, 50);
    cut(d, g_skin.game[n++], 0, 298, 640, 64);
    for (int r = 0; r < 2; r++)
      for (int i = 0; i < 10; i++) cut(d, g_skin.game[n++], 64 * i, 258 + 20 * r, 64, 20);
    for (int i = 0; i < 13; i++) cut(d, g_skin.game[n++], 20 * i, 50, 20, 40);
    for (int i = 0; i < 13; i++) cut(d, g_skin.game[n++], 380 + 20 * i, 50, 20, 40);
  }
  if (d) FreeImage_Unload(d);

  d = LoadPNGtoFI("rkv2-wipe.png", 1);
  for (int i = 0; i < 5; i++) cut(d, g_skin.wipe[i], 100 * (i % 2), 30 * (i / 2), 100, 30);
  if (d) FreeImage_Unload(d);
}

// The picture the chart loader stores in each arrow record: the first frame of
// the column's animation for the colour class, or the column's freeze head.
const Image* arrowLookup(int colourClass, int column, bool freeze) {
  int c = column >= 6 ? column - 6 : column;
  if (c < 0 || c > 5) return nullptr;
  if (freeze) return &g_skin.freezes[c][0];
  if (g_arrowSet == 1) return &g_arrows[c * 16];
  int g = colourClass < 0 || colourClass > 2 ? 0 : colourClass;
  return &g_arrows[(g * 6 + c) * 12];
}
}

const char* Skin_Name() { return g_skinName; }

std::string Skin_FilePath(const char* file) {
  std::string p;
  if (Path_Resolve(std::string("Skins/") + g_skinName + "/" + file, p)) return p;
  if (Path_Resolve(std::string("Skins/Default/") + file, p)) return p;
  return "";
}

bool LoadPNG(const char* file, Image& target, int keyFlag, int convert) {
  return LoadPNGFrom(g_skinName, file, target, keyFlag, convert);
}

bool LoadPNGFrom(const char* skin, const char* file, Image& target, int keyFlag, int convert) {
  WriteLogf("Loading '%s' (LoadPNG)...\n", file);
  std::string a = std::string("Skins/") + skin + "/" + file;
  std::string b = std::string("Skins/Default/") + file;
  if (!target.Load(a.data(), keyFlag, convert)) target.Load(b.data(), keyFlag, convert);
  return true;
}

bool LoadSkinFont(const char* skin) {
  if (Font_Load((std::string("Skins/") + skin).c_str(), "font-Main")) return true;
  WriteLogf("Skin '%s' has no usable font; using the Default one\n", skin);
  return Font_Load("Skins/Default", "font-Main");
}

FIBITMAP* LoadPNGtoFI(const char* file, int keyFlag) {
  WriteLogf("Loading '%s'... (LoadPNGtoFI)\n", file);
  (void)keyFlag;  // the picture layer keys bitmaps under 32 bits by their first stored pixel
  std::string p;
  std::string a = std::string("Skins/") + g_skinName + "/" + file;
  if (Path_Resolve(a, p) && File_Size(p) > 0)
    if (FIBITMAP* d = Decode_File(p.c_str(), FIF_PNG)) return d;
  std::string b = std::string("Skins/Default/") + file;
  if (Path_Resolve(b, p) && File_Size(p) > 0) return Decode_File(p.c_str(), FIF_PNG);
  return nullptr;
}

void LoadSongBackgroundPath(const char* path, int brightness) {
  std::string p = path ? path : "";
  WriteLogf("%s\n", p.c_str());
  g_background.Free();
  if (p.empty() || !g_background.Load(p.data(), 0, 0)) LoadPNG("def-background.png", g_background, 0, 0);
  g_background.SetSize(640, 480, 1);
  g_background.SetBrightness(brightness * 0.01f);
}

void LoadSongBackground(const char* group, const char* folder, const char* file, int brightness) {
  std::string path = file && *file ? std::string("Songs/") + group + "/" + folder + "/" + file : std::string();
  LoadSongBackgroundPath(path.c_str(), brightness);
}

void LoadImages(const char* skin, bool testMode, int dangerKey, int dangerConvert) {
  snprintf(g_skinName, sizeof g_skinName, "%s", skin && *skin ? skin : "Default");
  LoadSkinConfig(g_skinName);
  SkinConfig_BuildFreezeGradient(g_skinConfig.freezeMin, g_skinConfig.freezeMax, g_freezeGradient);
  cutSheets();
  cutSheetsContinued(dangerKey, dangerConvert);
  LoadArrows(testMode ? 3 : 1);
}

void FreeImages() {
  SkinImages& s = g_skin;
  freeAll(s.stageDigits); freeAll(s.stageWords); freeAll(s.stageBanners);
  freeAll(s.bpmDigits); s.bpmLabel.Free();
  freeAll(s.difficulties);
  s.defBanner.Free(); s.profileDefault.Free(); freeAll(s.profileFrame); s.defBackground.Free();
  freeAll(s.radars); s.overlay.Free();
  for (auto& w : s.farrows) freeAll(w);
  freeAll(s.icons); freeAll(s.freezes); freeAll(s.hjudge); freeAll(s.flash); freeAll(s.judge);
  freeAll(s.options2); freeAll(s.options2Icons);
  freeAll(s.comboDigits); s.comboLabel.Free();
  freeAll(s.headlines); freeAll(s.headlinesSmall);
  s.danger.Free();
  freeAll(s.results2); s.results2Label.Free();
  freeAll(s.data); freeAll(s.styles); freeAll(s.timer); freeAll(s.feet); freeAll(s.grades);
  freeAll(s.modifiers); s.modifiersLast.Free();
  freeAll(s.game); freeAll(s.wipe);
  FreeArrows();
}

void FreeArrows() {
  freeAll(g_arrows);
  freeAll(g_arrowsSecond);
  freeAll(g_arrowsThird);
  g_arrowSet = 0;
  ArrowImages_Reset();
}

void LoadArrows(int set) {
  if (set < 1 || set > 3 || set == g_arrowSet) return;
  FreeArrows();
  static const char* const kFiles[] = {"", "rkv2-narrows.png", "rkv2-sarrows.png", "rkv2-carrows.png"};
  FIBITMAP* d = LoadPNGtoFI(kFiles[set], 1);
  g_arrowSet = set;
  if (set == 1) {
    for (int c = 0; c < 6; c++) {
      for (int n = 0; n < 16; n++) cut(d, g_arrows[c * 16 + n], 64 * c, 64 * n, 64, 64);
      for (int k = 0; k < 3; k++) cut(d, g_arrowsSecond[c * 16 + k], 64 * c, 1024 + 64 * k, 64, 64);
      cut(d, g_arrowsThird[c], 64 * c, 1216, 64, 64);
    }
  } else {
    for (int g = 0; g < 3; g++)
      for (int c = 0; c < 6; c++)
        for (int n = 0; n < 12; n++) cut(d, g_arrows[(g * 6 + c) * 12 + n], 64 * (c + 6 * g), 64 * n, 64, 64);
  }
  if (d) FreeImage_Unload(d);
  ArrowImages_Install(arrowLookup, set == 1 ? 1 : 3);
}

int Arrows_FramesPerAnimation() { return g_arrowSet == 1 ? 16 : 12; }

void LoadProfileImages() {
  FIBITMAP* d = LoadPNGtoFI("rkv2-profile-players.png", 1);
  const int cells[4][4] = {{0, 0, 320, 344}, {320, 0, 320, 344}, {0, 344, 320, 80}, {320, 344, 320, 80}};
  for (int i = 0; i < 4; i++) cut(d, g_skin.profilePlayers[i], cells[i][0], cells[i][1], cells[i][2], cells[i][3]);
  if (d) FreeImage_Unload(d);
}

void FreeProfileImages() { freeAll(g_skin.profilePlayers); }
