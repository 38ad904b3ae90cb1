#pragma once

#include "Examinees.h"
#include "analysis/AnalysisResults.h"
#include "analysis/Selection.h"
#include "model/TestData.h"

#include <QList>
#include <QMetaType>
#include <QString>
#include <QStringList>

#include <initializer_list>
#include <vector>

// Examinees with the given raw scores on a test keyed all "1", of `items` items or as many as the
// highest score: examinee i answers "1" to its first score items and "2" to the rest, so the answers
// form a ladder.
TestData dataWithScores(const QList<int>& scores, int items = 0);

// The boxes listed ticked, every other box clear.
AnalysisSelection only(std::initializer_list<int> statBoxes, std::initializer_list<int> analyseBoxes = {});

// Entries 1..count of a result array, as the report reads them.
QList<double> used(const std::vector<double>& values);
QList<int> used(const std::vector<int>& values);

// Empty when every value is within 1e-6 of the expected one, otherwise a message naming the first
// difference.
QString differences(const QList<double>& actual, const QList<double>& expected);

Q_DECLARE_METATYPE(AnalysisSelection)
