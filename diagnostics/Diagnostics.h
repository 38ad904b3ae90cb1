#pragma once

#include "analysis/AnalysisResults.h"
#include "diagnostics/Index.h"
#include "diagnostics/TestIndices.h"
#include "diagnostics/Verdicts.h"
#include "model/TestData.h"

#include <QString>

#include <array>
#include <cstdint>
#include <vector>

// Item diagnostics: indices beyond those of the analysis run, to find miskeyed and weak items, and
// what the visual and the spreadsheet reports show. They read the test data and the run's scores and
// ranking and change neither. Groups: the upper and lower 27 % groups of the run (size G), and five
// score groups of the same ranking (see scoreGroupBounds).

struct OptionDiagnostics {
    bool keyed = false;
    int chosen = 0;                                 // examinees who chose the option
    double proportion = 0;                          // chosen / n
    std::array<Index, ScoreGroups> groupProportion; // share of score group g (at g − 1) choosing it
    Index pointBiserial;                            // chose it (1) or not (0) against the total score
    int upper = 0;                                  // choosers in the upper 27 % group
    int lower = 0;                                  // choosers in the lower 27 % group
    Index groupIndex;                               // keyed: (U − L) / G; a distractor: (L − U) / G
};

struct ItemDiagnostics {
    int number = 0;
    QString key;
    int right = 0;                          // examinees whose answer is the key
    double difficulty = 0;                  // p = right / n
    Index discrimination;                   // D = (U − L) / G of the right answers
    int rightUpper = 0;                     // U: right answers in the upper 27 % group
    int rightLower = 0;                     // L: right answers in the lower 27 % group
    Index pointBiserialRest;                // right/wrong against the rest score (total less this item)
    Index pointBiserialTotal;               // right/wrong against the total score
    Index biserial;                         // from the total-score point-biserial
    Index kr20IfDeleted;                    // the run's KR-20 formula on the other items and their scores
    std::vector<OptionDiagnostics> options; // choice c at index c − 1
    Judgement judgement;
    QString remark; // in Thai, what a caller knowing more of the item adds to its reason (its intent)
};

struct TestDiagnostics {
    int examinees = 0;
    int items = 0;
    int choices = 0;
    bool choicesInferred = false;                   // not given: read from the key and the answers
    std::int64_t answersBeyondChoices = 0;          // answers coded with a digit above the choices
    std::vector<int> codesBeyondChoices;            // those digits, in ascending order
    int groupSize = 0;                              // G, as the run's discrimination
    std::array<int, ScoreGroups + 1> groupBounds{}; // see scoreGroupBounds
    double mean = 0;
    double sd = 0;                         // sample standard deviation (divisor n − 1), as the run's
    Index kr20;                            // the run's formula: pq on divisor n, SD² on n − 1
    Index alpha;                           // Cronbach's α, one divisor throughout
    Index kr21;                            // on SD² (n − 1)
    Index sem;                             // in score points, SD × √(1 − KR-20)
    std::vector<int> scores;               // examinee i's total score at i − 1, entry order
    std::vector<int> histogram;            // examinees per score 0..items
    std::vector<double> percentileRank;    // per score 0..items
    std::vector<ItemDiagnostics> itemList; // item j at index j − 1

    double percentileRankOf(int score) const { return percentileRank[std::size_t(score)]; }
    int stanineOf(int score) const { return stanine(percentileRankOf(score)); }
};

// Diagnoses every item of `data` with `choices` choices (4 or 5; codes "1" to "5"), or, with 0, as many
// as the key and the answers show: 5 when the key holds the code "5" or at least 1 % of the answers
// are "5", otherwise 4. `run` must hold a finished run's Score, SD and RankedRow for the same data;
// every other result is computed afresh, whichever boxes the run had.
TestDiagnostics diagnoseTest(const TestData& data, const AnalysisResults& run, int choices);

// In Thai, the answers coded beyond the choices and what the diagnostics made of them; empty when
// every answer is a choice, a blank or no digit at all.
QString choiceCodesWarning(const TestDiagnostics& test);
