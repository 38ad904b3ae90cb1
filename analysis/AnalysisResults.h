#pragma once

#include "analysis/Grid.h"

#include <QString>
#include <QStringList>

#include <cstdint>
#include <vector>

// Everything one analysis run computes. Arrays are indexed like the test data: examinee arrays
// 0..NumStud + 1, item arrays 0..NumItems + 1, choice columns 0..NumChoices + 1; only 1..count are
// used. A step that does not run leaves its results as an earlier run left them.
struct AnalysisResults {
    // Scoring and score statistics
    std::vector<double> Score;       // raw score of examinee i, entry order
    std::vector<double> RankedScore; // the raw scores, highest first; equal scores keep entry order
    QStringList RankedID;            // the identifiers in the order of RankedScore
    std::vector<int> RankedRow;      // the examinee (row of the answer matrix) at each rank
    std::int64_t SumScore = 0;
    std::int64_t SumSquare = 0;
    double Mean = 0;
    double SD = 0; // sample standard deviation, divisor n - 1
    int Median = 0;
    int Mode = 0; // estimated as 3 Median - 2 Mean
    int MaxScore = 0;
    int MinScore = 0;
    int ScoreRange = 0;
    // Running sums of the deviations' powers, rounded after every addition.
    std::int64_t SumDev2 = 0;
    std::int64_t SumDev3 = 0;
    __int128 SumDev4 = 0; // can pass 64 bits at the largest class and test
    double Skewness = 0;
    double Kurtosis = 0;

    // Standard scores and reliability
    std::vector<double> ZScore;
    std::vector<double> TScore;
    std::vector<double> ItemPQ;
    double SumPQ = 0;
    double KR20 = 0;
    double SEM = 0;

    // Item analysis
    std::vector<int> ItemCorrect;
    std::vector<double> ItemDifficulty;
    QStringList DifficultyGrade;
    int GroupSize = 0;
    std::vector<int> UpperCorrect;
    std::vector<int> LowerCorrect;
    std::vector<double> ItemDiscrimination;
    QStringList DiscriminationGrade;
    Grid<int> UpperChoice;
    Grid<int> LowerChoice;
    Grid<double> OptionIndex;
    Grid<QString> OptionGrade;
    QString UsableItems; // item numbers fit for reuse, each followed by one space
};
