#include "school/PupilGroups.h"

#include "analysis/AnalysisRun.h"
#include "diagnostics/Chance.h"

#include <algorithm>
#include <cmath>

namespace {

// A group too small for a figure (a single pupil has no upper and lower group) leaves it undefined:
// the comparison says nothing there, rather than a message per group.
class Unheard : public AnalysisMessages {
public:
    void warning(const QString&, const QString&) override {}
};

} // namespace

TestData groupClass(const TestData& pooled, const PupilGroups& groups, int group)
{
    int count = 0;
    for (const int of : groups.groupOf)
        count += of == group;
    TestData data;
    data.setKey(pooled.AllKeys);
    if (pooled.NumChoices)
        data.setChoices(pooled.NumChoices);
    data.NumStud = count;
    data.StudID = makeTextArray(count);
    data.StudName = makeTextArray(count);
    data.StudAns = makeTextArray<AnswerText>(count);
    data.AnsMatrix.create(count, pooled.NumItems);
    int at = 0;
    for (int i = 1; i <= pooled.NumStud; ++i) {
        if (groups.groupOf[std::size_t(i) - 1] != group)
            continue;
        ++at;
        data.StudID[at] = pooled.StudID.value(i);
        data.StudName[at] = pooled.StudName.value(i);
        data.StudAns[at] = pooled.StudAns.value(i);
        data.AnsMatrix.setRow(at, pooled.AnsMatrix.row(i));
    }
    return data;
}

std::vector<GroupFigures> groupFigures(const TestData& pooled, const PupilGroups& groups)
{
    std::vector<GroupFigures> figures;
    for (int group = 0; group < groups.names.size(); ++group) {
        const TestData data = groupClass(pooled, groups, group);
        GroupFigures figure{groups.names[group], data.NumStud, {}, {}, {}, {}, {}};
        figure.difficulty.resize(std::size_t(data.NumItems));
        figure.discrimination.resize(std::size_t(data.NumItems));
        AnalysisSelection boxes{};
        for (const int box : {StatBox::RawScore, StatBox::Mean, StatBox::SD})
            boxes.chkStat[box] = true;
        for (const int box : {AnalyseBox::Reliability, AnalyseBox::Difficulty, AnalyseBox::Discrimination})
            boxes.chkAnalyse[box] = true;
        AnalysisResults run;
        Unheard messages;
        const RunOutcome outcome = runAnalysis(data, boxes, run, messages);
        if (outcome.finished) {
            figure.mean = run.Mean;
            figure.sd = run.SD;
            if (outcome.computed.chkAnalyse[AnalyseBox::Reliability])
                figure.kr20 = run.KR20;
            for (int item = 1; item <= data.NumItems; ++item) {
                figure.difficulty[std::size_t(item) - 1] = run.ItemDifficulty[std::size_t(item)];
                if (outcome.computed.chkAnalyse[AnalyseBox::Discrimination])
                    figure.discrimination[std::size_t(item) - 1] = run.ItemDiscrimination[std::size_t(item)];
            }
        }
        figures.push_back(std::move(figure));
    }
    return figures;
}

namespace {

// P(X ≥ x) for X ~ χ² with `df` degrees of freedom, by the Wilson–Hilferty cube-root approximation:
// a level to compare with 1 %, not many digits.
double chiSquareAtLeast(double x, int df)
{
    const double k = df, v = 2.0 / (9.0 * k);
    return 1.0 - normalBelow((std::cbrt(x / k) - (1.0 - v)) / std::sqrt(v));
}

} // namespace

std::vector<int> differingItems(const std::vector<GroupFigures>& figures)
{
    std::vector<int> items;
    const std::size_t count = figures.empty() ? 0 : figures.front().difficulty.size();
    for (std::size_t j = 0; j < count; ++j) {
        double right = 0, pupils = 0, low = 1, high = 0;
        int groups = 0;
        for (const GroupFigures& group : figures)
            if (group.pupils > 0 && group.difficulty[j]) {
                right += *group.difficulty[j] * group.pupils;
                pupils += group.pupils;
                low = std::min(low, *group.difficulty[j]);
                high = std::max(high, *group.difficulty[j]);
                ++groups;
            }
        const double p = pupils > 0 ? right / pupils : 0;
        if (groups < 2 || high - low < DifferingSpread - 1e-9 || p <= 0 || p >= 1)
            continue;
        double chiSquare = 0; // Σ (observed − expected)² / expected over right and wrong of every group
        for (const GroupFigures& group : figures)
            if (group.pupils > 0 && group.difficulty[j]) {
                const double deviation = (*group.difficulty[j] - p) * group.pupils;
                chiSquare += deviation * deviation / (group.pupils * p) +
                             deviation * deviation / (group.pupils * (1 - p));
            }
        if (chiSquareAtLeast(chiSquare, groups - 1) < 0.01)
            items.push_back(int(j) + 1);
    }
    return items;
}
