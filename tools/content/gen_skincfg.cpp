// rkv2-skin.cfg of the Default skin: its credit, the colours the game uses
// for folders, songs, judgements, combos, stages and freezes, and the play
// screen positions (the defaults, written out so skin authors see them).
#include "gen.h"

bool Gen_SkinConfig(const GenContext& ctx, const std::string& dir) {
  std::string t;
  t += "// Default skin of Tarvolen: every picture drawn by the content generator.\n";
  t += "[CREDITS]\n";
  t += "Author=Tarvolen (generated Default skin)\n";
  t += "[COLOURS]\n";
  // colours carry a 0x prefix so that no value can be read as decimal
  t += "Folders=0xFFD23C,0x2FD3F0,0xE0307A,0x7CF060,0xB060FF,0xFF7A2F\n";
  t += "FolderCr=0x30E0C0\n";
  t += "FreezeMin=0x30C060\n";
  t += "FreezeMax=0xB0FFC0\n";
  t += "Songs=0xFFFFFF,0xC8F0FF,0xFFF0C8,0xE0FFD8,0xF0E0FF\n";
  t += "RegPerfect=0xFEFE56\n";
  t += "RegGreat=0x02FB5F\n";
  t += "ComboPerfect=0xFFE040,0xFFB020,0xFF8020\n";
  t += "ComboGreat=0x40C0FF,0x2080FF\n";
  t += "Stages=0x80FF80,0x80FFFF,0xFFFF80,0xFFC080,0xFF80C0,0xFF5050\n";
  t += "SelectSong_Modifier=0xFFE890\n";
  t += "[POSITIONS]\n";
  t += "GamePlay_PanelTop=6\n";
  t += "GamePlay_ModLeft=262\n";
  t += "GamePlay_ModRight=380\n";
  t += "GamePlay_ModWidth=140\n";
  return WriteTextFile(JoinPath(dir, "rkv2-skin.cfg"), t);
}
