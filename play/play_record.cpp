#include "play/play_record.h"
#include "library/settings.h"

Play g_play;

bool Play_IsTest(const Play& play) { return play.mode == PLAY_TEST || play.mode == PLAY_TEST_FROM; }

ChartRules Play_ChartRules(const Play& play) {
  ChartRules r;
  r.globalGap = g_settings.globalGap;
  r.comboType = g_settings.comboType;
  r.bareFolder = Play_IsTest(play);
  return r;
}
