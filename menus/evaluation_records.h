#pragma once
// The evaluation's results in the records: each active player's result of a song
// or a nonstop course goes into the machine's table and the table of the player's
// profile, with the record state the screen shows, a song's play counter and the
// profile's statistics. The tables are saved at once.
#include "library/records.h"
#include "menus/evaluation_rules.h"
#include <string>

struct PlayFlags;
struct ProfileStats;

// A play adds this to the song's play counter of its style group. Every save of
// the records lowers each positive counter by 1, so a play weighs for about a
// hundred saves: "Player's Best" follows what is played often and lately.
constexpr int64_t kPlayCounterStep = 100;

// Whether a play goes into the records: one the game stepped itself (Auto Play),
// or at another speed or tempo than the song's, is shown but not recorded (logged).
bool Evaluation_MayStore(const PlayFlags& flags);
// The records' key of a song: "group\folder", cut to the key's field.
std::string Evaluation_RecordKey(const char* group, const char* folder);
// The dance-point percentage in whole tenths, cut rather than rounded, so that a
// play below 100 % never shows or stores 100.0 (934 is 93.4 %).
int Evaluation_PercentTenths(double percent);
// The result as it is stored (see library/records.h). A course's: difficulty 0,
// bestB its time in ms, bestC the stage reached.
Result Evaluation_Result(const EvalOutcome& o);
// The record state of a score against the machine's best and, with a profile
// table, the profile's best for the same style and difficulty.
int Evaluation_RecordState(double score, double machineBest, bool withProfile, double profileBest);
// One arcade stage, or one whole course, added to a profile's statistics of the
// outcome's group. Both count their steps; the rest is kept apart.
void Evaluation_AddStats(ProfileStats& s, const EvalOutcome& o);

// Stores the results of the active players under the records key `key` (a song's
// or a course's): sets each outcome's recordState, the machine's holders, the
// record notes, a song's play counter and the profiles' statistics, and saves the
// machine's table, the profiles' tables (`profileTables[i]` of player i, null
// without) and the profiles. The players are taken best score first, so a record
// beaten by the other player in the same play is not announced. A file that
// cannot be saved keeps its old contents (logged).
void Evaluation_StoreResults(const std::string& key, EvalOutcome players[2], RecordTable& machine,
                             RecordTable* profileTables[2]);
// The same for the song "group\folder".
void Evaluation_StoreRecords(const char* group, const char* folder, EvalOutcome players[2], RecordTable& machine,
                             RecordTable* profileTables[2]);
