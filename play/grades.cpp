#include "play/grades.h"

double Grade_Percent(int32_t dp, int32_t maxDp) { return maxDp > 0 ? dp * 100.0 / maxDp : 0; }

int Grade_Of(double p) {
  if (p > 99.999) return 1;
  if (p >= 93) return 2;
  if (p >= 80) return 3;
  if (p >= 65) return 4;
  if (p >= 45) return 5;
  if (p > 20) return 6;
  return 7;
}

const char* Grade_Name(int grade) {
  static const char* const names[8] = {"", "AAA", "AA", "A", "B", "C", "D", "E"};
  return grade >= 1 && grade <= 7 ? names[grade] : "";
}
