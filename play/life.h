#pragma once
// The life gauge: the gain table of the stage, the change of one judgement, the
// alive / dead / revived states and the announcer cues the gauge gives.
#include <cstdint>

struct Player;

constexpr int kLifeMin = -100, kLifeMax = 1700;
constexpr int kLifeStartNormal = 850;     // life type 0 starts half full
constexpr int kLifeDangerLine = 500;
constexpr int kLifeReviveLine = 100;
constexpr int kSuddenDeathLoss = -1701;
constexpr int LIFETYPE_NORMAL = 0, LIFETYPE_NO_RECOVERY = 1, LIFETYPE_SUDDEN_DEATH = 2;

// Gains and losses by judgement index, recomputed at the start of every stage.
struct LifeTable {
  int32_t gain[5];
};
extern LifeTable g_lifeTable;

// The table for a stage (0 the demo, 1 the first) of a game of `maxStage`
// stages (6 or more: unlimited) at the settings' game difficulty.
LifeTable Life_ComputeTable(int stage, int maxStage, int difficulty);

// The life change of one judgement for a player of `lifeType` at recovery level
// `recoveryLevel` (taken within 0..9), from g_lifeTable or from `table`.
int LifeDelta(int judgement, int lifeType, int recoveryLevel);
int LifeDelta(const LifeTable& table, int judgement, int lifeType, int recoveryLevel);

// Who else plays: revive needs two players and the setting.
struct LifeRules {
  bool twoPlayer;
  bool revive;             // the "Revive (2P Mode)" setting
  const Player* other;     // the other player in 2-player play, else null
};

// What a life change did.
constexpr int LIFE_CHANGE_DIED = 1;      // the player failed
constexpr int LIFE_CHANGE_REVIVED = 2;   // a dead player came back above 100
constexpr int LIFE_CHANGE_FULL = 4;      // the gauge reached 1700 from below
constexpr int LIFE_CHANGE_DANGER = 8;    // the gauge fell below 500 from 500 or more (and the player lives)

// Whether judgements move the gauge: alive or revived, or dead with revive on in
// 2-player play (unless the revive chance was lost).
bool Life_Applies(const Player& p, const LifeRules& rules);
// Adds `delta` to the gauge with the state rules and the clamp; returns LIFE_CHANGE_* flags.
int Life_Apply(Player& p, int delta, const LifeRules& rules);
// The last battery life is gone: the player fails and cannot be revived.
int Life_Fail(Player& p);
