#pragma once

#include "analysis/AnalysisResults.h"
#include "analysis/Grid.h"
#include "model/TestData.h"

#include <vector>

// Item analysis: difficulty, discrimination between the upper and the lower group, the choices of
// every item, and the items fit for reuse.

// p = right answers / all examinees for every item, from the right answers per item (1..NumItems).
void ComputeDifficulty(const std::vector<int>& itemCorrect, int numStud, AnalysisResults& results);

// The size of the upper and of the lower group: 27 % of the examinees, rounded half to even
// (10 give 3, 50 give 14, 150 give 40; one examinee gives 0, and then there are no groups).
int groupSizeFor(int numStud);

// What the two groups answered, counted in one pass over each member's row. Members are taken by
// rank from the examinees' own rows, so equal identifiers never mix two examinees' answers.
struct GroupCounts {
    int size = 0;
    std::vector<int> upperCorrect; // per item
    std::vector<int> lowerCorrect;
    Grid<int> upperChoice; // per item and choice 1..NumChoices
    Grid<int> lowerChoice;
};
// Needs the ranking of ComputeScores and a group size above 0.
GroupCounts countGroups(const TestData& data, const AnalysisResults& ranking, int groupSize);

// UpperCorrect, LowerCorrect and r = (upper − lower) / group size for every item, with its grade.
void ComputeDiscrimination(const GroupCounts& groups, AnalysisResults& results);

// For every item and choice: the keyed choice's index (upper − lower) / group size, graded as
// discrimination, and every other choice's (lower − upper) / group size, graded as a distractor.
void ComputeOptionAnalysis(const GroupCounts& groups, const TestData& data, AnalysisResults& results);

// The items with 0.2 ≤ p ≤ 0.8 and r ≥ 0.2, each number followed by one space. Needs difficulty and
// discrimination of the same data.
void ListUsableItems(AnalysisResults& results);
