#include "play/modifiers.h"
#include <cmath>
#include <cstdio>
#include <cstring>
#include "play/player.h"

const char kModifierNames[kModifierNameRows][kModifierNameValues][kModifierNameSize] = {
    {"", "1.5x", "2x", "3x", "4x", "5x", "8x", ".25x", ".5x", ".75x"},
    {"", "BOOST", "BRAKE", "WAVE"},
    {},
    {"", "LEFT", "MIRROR", "RIGHT", "SHUFFLE"},
    {"", "LITTLE", "FLAT"},
    {},
    {},
    {},
    {},
};

void Modifiers_JoinNames(const char (*names)[kModifierNameValues][kModifierNameSize],
                         const uint8_t values[kModifierNameRows], char* out, size_t size) {
  if (!out || size == 0) return;
  char text[kModifierTextSize] = "";
  for (int i = 0; i < kModifierNameRows; i++) {
    int v = values[i];
    if (v == 0 || v >= kModifierNameValues) continue;
    const char* name = names[i][v];
    if (!name[0]) continue;
    size_t len = strlen(text);
    snprintf(text + len, sizeof text - len, "%s,", name);
  }
  size_t len = strlen(text);
  if (len > 0 && text[len - 1] == ',') text[len - 1] = 0;
  snprintf(out, size, "%s", text[0] ? text : " ");
}

void Player_BuildModifierText(Player& p) {
  uint8_t values[kModifierNameRows];
  for (int i = 0; i < kModifierNameRows; i++) values[i] = Player_Option(p, i);
  Modifiers_JoinNames(kModifierNames, values, p.modifierText, sizeof p.modifierText);
}

namespace {
double WaveOffset(double y, double songPosition) {
  double turns = songPosition / 16.0;
  double phase = (turns - std::trunc(turns)) * 360.0;
  return std::sin(phase * M_PI / 180.0) * (y - 55.0) * 0.00111111 * 340.0;
}
}  // namespace

double Note_ScreenY(double y, int effect, bool reverse, bool pending, double songPosition) {
  if (!reverse) {
    switch (effect) {
      case EFFECT_BOOST:
        if (y <= 0) return -64.0;
        return 56.0 + 192.0 * std::log(y * 0.0181818);
      case EFFECT_BRAKE:
        if (pending && y > 55.0) {
          double d = y - 55.0;
          return 56.0 + 0.2 * d + 0.002 * d * d;
        }
        return y;
      case EFFECT_WAVE:
        if (pending && y > 55.0) return y + WaveOffset(y, songPosition);
        return y;
      default:
        return y;
    }
  }
  switch (effect) {
    case EFFECT_BOOST:
      if (y <= 0) return kScreenBottom;
      return kReverseReceptorY - 192.0 * std::log(y * 0.0181818);
    case EFFECT_BRAKE: {
      if (y <= 0) return kScreenBottom;
      if (y < 56.0 || !pending) return 411.0 - y;
      double d = y - 55.0;
      return kReverseReceptorY - (0.2 * d + 0.002 * d * d);
    }
    case EFFECT_WAVE:
      if (y <= 0) return kScreenBottom;
      if (y < 56.0) return 411.0 - y;
      return 411.0 - (y + WaveOffset(y, songPosition));
    default:
      return 411.0 - y;
  }
}

bool Note_BeyondScreen(double screenY, int effect, bool reverse) {
  if (!reverse) return screenY > (effect == EFFECT_WAVE ? 820.0 : kScreenBottom);
  return screenY < (effect == EFFECT_WAVE ? -404.0 : -64.0);
}

double Note_BaseOffset(double tapeY, bool reverse, double tapeScroll) {
  return (reverse ? kReverseFlip - tapeY : tapeY) - tapeScroll;
}
