#pragma once

#include <QString>

struct ItemDiagnostics;

// What the diagnostics advise for an item, and why.
enum class Verdict { Keep, Revise, ReplaceDistractor, CheckKey, SmallSample };
inline constexpr Verdict AllVerdicts[] = {Verdict::Keep, Verdict::Revise, Verdict::ReplaceDistractor,
                                          Verdict::CheckKey, Verdict::SmallSample};

// The rule that decided a verdict.
enum class VerdictRule {
    RestCorrelationNegative, // check the key: the item runs against the rest of the test
    DistractorAboveKey,      // check the key: a distractor correlates better with the score than the key
    SmallClass,              // too few examinees to judge the item further
    TooHard,                 // revise: p < 0.2
    TooEasy,                 // revise: p > 0.8
    WeakDiscrimination,      // revise: D < 0.2
    RarelyChosen,            // replace a distractor: fewer than 5 % chose it
    DrawsUpperGroup,         // replace a distractor: its (L − U) / G is negative
    NothingWrong,            // keep
};

struct Judgement {
    Verdict verdict = Verdict::Keep;
    VerdictRule rule = VerdictRule::NothingWrong;
    int option = 0;      // the distractor concerned (1..choices), or 0
    double value = 0;    // the figure that broke the rule
    double compared = 0; // for DistractorAboveKey: the key's point-biserial
};

// Below this many examinees the indices vary too much from class to class to revise or keep an item.
inline constexpr int SmallClassLimit = 30;

// The first rule that holds, in this order: check the key (the key's item–rest point-biserial is
// negative, or a distractor's point-biserial is above the key's); small sample (fewer than 30
// examinees); revise (p < 0.2, p > 0.8 or D < 0.2, outside the bounds of the usable items); replace a
// distractor (the first one that fewer than 5 % chose or whose (L − U) / G is negative); keep.
Judgement judgeItem(const ItemDiagnostics& item, int examinees);

// The verdict as a stable code for spreadsheets (keep, revise, replace-distractor, check-key,
// small-sample), in Thai, and its English term.
QString verdictCode(Verdict verdict);
QString verdictThai(Verdict verdict);
QString verdictEnglish(Verdict verdict);

// The reason for the item's verdict in Thai, with its numbers.
QString reasonThai(const ItemDiagnostics& item, int examinees);
