#pragma once

#include <QString>

struct ItemDiagnostics;

// What the diagnostics advise for an item, and why.
enum class Verdict { Keep, Revise, ReplaceDistractor, CheckKey, SmallSample };
inline constexpr Verdict AllVerdicts[] = {Verdict::Keep, Verdict::Revise, Verdict::ReplaceDistractor,
                                          Verdict::CheckKey, Verdict::SmallSample};

// The rule that decided a verdict.
enum class VerdictRule {
    KeyShunned,              // check the key: (almost) nobody chose it, a distractor draws the high scorers
    RestCorrelationNegative, // check the key: the item runs against the rest of the test
    DistractorAboveKey,      // check the key: a distractor correlates better with the score than the key
    SmallClass,              // too few examinees to judge the item further
    TooHard,                 // revise: p < 0.2
    TooEasy,                 // revise: p > 0.8
    WeakDiscrimination,      // revise: D < 0.2
    UnchosenDistractor,      // replace a distractor: nobody chose it
    DrawsUpperGroup,         // replace a distractor: clearly more of the upper 27 % group chose it
    NothingWrong,            // keep
    RarelyChosen,            // keep, though fewer than 5 % chose a distractor
    LeansToUpperGroup,       // keep, though a distractor's (L − U) / G is negative
};

// How sure a verdict is, from the chance that luck alone gives its figures (see judgeItem): under 1 %,
// under 10 %, or more.
enum class Sureness { Sure, Likely, Unsure };

struct Judgement {
    Verdict verdict = Verdict::Keep;
    VerdictRule rule = VerdictRule::NothingWrong;
    int option = 0;      // the distractor concerned (1..choices), or 0
    double value = 0;    // the figure that broke the rule
    double compared = 0; // for DistractorAboveKey: the key's point-biserial
    double chance = 1;   // how likely luck alone gives the figures to an item on the right side of the rule
    Sureness sureness() const;
};

// A verdict that questions the key or the discrimination needs figures that luck alone gives an item on
// the sound side of its rule less often than this.
inline constexpr double DoubtfulChance = 0.1;

// Below this many examinees the indices vary too much from class to class to revise or keep an item.
inline constexpr int SmallClassLimit = 30;

// The first rule that holds, in this order:
// - check the key: at most one examinee (or fewer than 2 %) chose the key while a distractor's
//   point-biserial is positive (a key slip onto a choice nobody takes); the key's item–rest
//   point-biserial is negative; or a distractor's point-biserial is above the key's. Each only beyond
//   luck (DoubtfulChance): in a class of 35 a correlation of ±0.2 is still within it;
// - small sample: fewer than 30 examinees;
// - revise: p < 0.2 or p > 0.8 (what this class found, whatever the luck); D < 0.2 beyond luck;
// - replace a distractor: nobody chose it, so the item has a choice fewer than it seems; or at least
//   two more of the upper 27 % group than of the lower chose it, beyond an even split at 5 %;
// - keep, naming the first distractor that fewer than 5 % chose or whose (L − U) / G is negative: a
//   weak distractor leaves the item usable.
// The chance of a verdict is the one-sided probability of its figures for an item just on the sound
// side of the rule: a binomial tail for p at its bound, for a distractor drawing 5 % and for an even
// split between the groups; a normal approximation for D at 0.2 and, through Fisher's z, for
// correlations at 0 or at the key's. It says how sure the verdict is (Judgement::sureness).
Judgement judgeItem(const ItemDiagnostics& item, int examinees);

// The verdict as a stable code for spreadsheets (keep, revise, replace-distractor, check-key,
// small-sample), in Thai, and its English term.
QString verdictCode(Verdict verdict);
QString verdictThai(Verdict verdict);
QString verdictEnglish(Verdict verdict);

// The reason for the item's verdict in Thai, with its numbers and how sure it is, then the item's
// remark, if any.
QString reasonThai(const ItemDiagnostics& item, int examinees);
