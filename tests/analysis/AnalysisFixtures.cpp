#include "AnalysisFixtures.h"

#include <algorithm>
#include <cmath>

TestData dataWithScores(const QList<int>& scores, int items)
{
    if (items == 0)
        items = std::max(1, *std::max_element(scores.begin(), scores.end()));
    QStringList answers;
    for (int score : scores)
        answers << QString(score, u'1') + QString(items - score, u'2');
    return makeTestData(QString(items, u'1'), answers);
}

AnalysisSelection only(std::initializer_list<int> statBoxes, std::initializer_list<int> analyseBoxes)
{
    AnalysisSelection boxes;
    for (int box : statBoxes)
        boxes.chkStat[box] = true;
    for (int box : analyseBoxes)
        boxes.chkAnalyse[box] = true;
    return boxes;
}

template <class T> static QList<T> usedEntries(const std::vector<T>& values)
{
    if (values.size() < 2)
        return {};
    return QList<T>(values.begin() + 1, values.end() - 1);
}

QList<double> used(const std::vector<double>& values)
{
    return usedEntries(values);
}

QList<int> used(const std::vector<int>& values)
{
    return usedEntries(values);
}

QString differences(const QList<double>& actual, const QList<double>& expected)
{
    if (actual.size() != expected.size())
        return QStringLiteral("%1 values, expected %2").arg(actual.size()).arg(expected.size());
    for (qsizetype k = 0; k < actual.size(); ++k)
        if (!(std::abs(actual[k] - expected[k]) <= 1e-6))
            return QStringLiteral("entry %1 is %2, expected %3")
                .arg(k + 1)
                .arg(actual[k], 0, 'g', 17)
                .arg(expected[k]);
    return {};
}
