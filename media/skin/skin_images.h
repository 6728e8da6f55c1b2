#pragma once
// Skin graphics: the lookup with its Default-skin fallback, the start-up sprite
// sheets cut into pictures, the song background and the three arrow sets.
#include "media/render/image.h"
#include <string>

struct FIBITMAP;

struct SkinImages {
  Image stageDigits[10], stageWords[4], stageBanners[4];  // rkv2-stages.png
  Image bpmDigits[10], bpmLabel;                          // rkv2-bpms.png
  Image difficulties[2][4];                               // [column][row]
  Image defBanner, profileDefault, profileFrame[2], defBackground;
  Image radars[2], overlay;
  Image farrows[2][3][6];                                 // [w][j][a]
  Image icons[2];
  Image freezes[6][6];                                    // [column][cell]
  Image hjudge[3];
  Image flash[4][13];                                     // [row][column]
  Image judge[5];
  Image options2[8], options2Icons[4];
  Image comboDigits[10], comboLabel;
  Image headlines[2], headlinesSmall[2];
  Image danger;
  Image results2[3][12], results2Label;
  Image data[2][10];                                      // per column: title, 5 bars, 4 labels
  Image styles[6];
  Image timer[10];
  Image feet[2];
  Image grades[8];
  Image modifiers[2][29], modifiersLast;
  Image game[66];
  Image wipe[5];
  Image profilePlayers[4];
};

constexpr int kArrowRecords = 216;

extern SkinImages g_skin;
extern Image g_background;                 // the song's background, shared by the screens
extern Image g_arrows[kArrowRecords];       // the arrow set's animation frames
extern Image g_arrowsSecond[6 * 16];        // set 1 only: three cells per column
extern Image g_arrowsThird[6];              // set 1 only
extern int g_arrowSet;                      // 0 none, 1 narrows, 2 sarrows, 3 carrows

// The skin the pictures are looked up in: the one LoadImages was given last,
// "Default" before that.
const char* Skin_Name();
// "Skins/<skin>/<file>", else "Skins/Default/<file>"; always true (test the picture).
bool LoadPNG(const char* file, Image& target, int keyFlag, int convert);
// The same lookup in a skin that need not be the one loaded (a preview).
bool LoadPNGFrom(const char* skin, const char* file, Image& target, int keyFlag, int convert);
FIBITMAP* LoadPNGtoFI(const char* file, int keyFlag);
// `brightness` 0..100 percent.
void LoadSongBackground(const char* group, const char* folder, const char* file, int brightness);
// The same for a picture given by its path (test play); "" or a missing file
// gives the skin's default background.
void LoadSongBackgroundPath(const char* path, int brightness);
// The configuration and every sheet of `skin` (missing files come from the
// Default skin); later lookups use this skin.
void LoadImages(const char* skin, bool testMode, int dangerKey = 1, int dangerConvert = 1);
void FreeImages();
void LoadArrows(int set);
void FreeArrows();
int Arrows_FramesPerAnimation();            // 16 for set 1, 12 for sets 2 and 3
void LoadProfileImages();
void FreeProfileImages();
// The path of a skin file as the lookup finds it ("" when in neither folder).
std::string Skin_FilePath(const char* file);
// The main font "font-Main" from the skin's folder, else from Default's; false
// when neither loads.
bool LoadSkinFont(const char* skin);
