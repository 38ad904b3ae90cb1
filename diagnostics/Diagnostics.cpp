#include "diagnostics/Diagnostics.h"

#include "analysis/Answers.h"
#include "analysis/ItemAnalysis.h"

#include <algorithm>
#include <cmath>
#include <cstdint>

namespace {

// The ranks cut at the score-group bounds and at the edges of the 27 % groups, so that every group is
// a run of whole segments: one pass over the answers then counts per segment, whatever the groups.
struct Segments {
    std::vector<int> cuts;           // segment s holds ranks cuts[s] + 1 to cuts[s + 1]
    std::vector<std::uint8_t> ofRow; // the segment of every examinee, by row of the answer matrix
    std::vector<int> scoreGroup;     // the score group (1..5) of every segment
    std::vector<std::uint8_t> upper; // 1 for the segments of the upper 27 % group
    std::vector<std::uint8_t> lower;

    int count() const { return int(cuts.size()) - 1; }
};

Segments segmentRanks(const AnalysisResults& run, const TestDiagnostics& test)
{
    const int n = test.examinees;
    const int g = test.groupSize;
    Segments segments;
    segments.cuts.assign(test.groupBounds.begin(), test.groupBounds.end());
    segments.cuts.push_back(g);
    segments.cuts.push_back(n - g);
    std::sort(segments.cuts.begin(), segments.cuts.end());
    segments.cuts.erase(std::unique(segments.cuts.begin(), segments.cuts.end()), segments.cuts.end());

    segments.ofRow.assign(std::size_t(n) + 2, 0);
    for (int s = 0; s < segments.count(); ++s) {
        const int first = segments.cuts[s] + 1;
        for (int rank = first; rank <= segments.cuts[s + 1]; ++rank)
            segments.ofRow[run.RankedRow[rank]] = std::uint8_t(s);
        int group = 1;
        while (test.groupBounds[group] < first)
            ++group;
        segments.scoreGroup.push_back(group);
        segments.upper.push_back(first <= g);
        segments.lower.push_back(first > n - g);
    }
    return segments;
}

// 32-bit sums suffice: at most MaxCount examinees with at most MaxCount points each.
static_assert(std::int64_t(MaxCount) * MaxCount <= std::int64_t(UINT32_MAX));

// The answers counted per segment, item and slot (slot c for the code c, slot 0 for a blank or any
// other answer), and the total scores of the examinees behind every item and slot.
struct AnswerCounts {
    int slotCount = 0;
    std::size_t segmentStride = 0;
    std::vector<std::uint32_t> counts;
    std::vector<std::uint32_t> scoreSums;

    std::uint32_t count(int segment, int item, int slot) const
    {
        return counts[segment * segmentStride + std::size_t(item) * slotCount + slot];
    }
    std::uint32_t scoreSum(int item, int slot) const
    {
        return scoreSums[std::size_t(item) * slotCount + slot];
    }
};

// Every digit code 1 to 9 is counted, not only the choices: the answers then also tell how many
// choices the test has and which answers lie beyond them.
constexpr int HighestCode = 9;

std::vector<std::uint8_t> slotOfUnit()
{
    std::vector<std::uint8_t> slot(0x10000, 0);
    for (int c = 1; c <= HighestCode; ++c)
        slot[u'0' + c] = std::uint8_t(c);
    return slot;
}

AnswerCounts countAnswers(const TestData& data, const AnalysisResults& run, const Segments& segments,
                          const std::vector<std::uint8_t>& slotOf)
{
    AnswerCounts a;
    a.slotCount = HighestCode + 1;
    a.segmentStride = std::size_t(data.NumItems + 1) * a.slotCount;
    a.counts.assign(segments.count() * a.segmentStride, 0);
    a.scoreSums.assign(a.segmentStride, 0);

    // Rows in entry order, the order of the matrix in memory; plain pointers and a local stride keep
    // the compiler from reloading them after every count.
    const std::uint8_t* const slot = slotOf.data();
    const std::size_t stride = std::size_t(a.slotCount);
    std::uint32_t* const sums = a.scoreSums.data();
    for (int row = 1; row <= data.NumStud; ++row) {
        const AnswerRow answers = answerRow(data, row);
        const std::uint32_t score = std::uint32_t(run.Score[row]);
        std::uint32_t* const counts = a.counts.data() + segments.ofRow[row] * a.segmentStride;
        // The choice codes are ASCII digits, which a narrow cell holds as the same value, so one
        // table of slots serves both cell widths.
        answers.visit([&](const auto& cells) {
            for (int j = 1; j <= cells.count; ++j) {
                const std::size_t cell = j * stride + slot[cells.cells[j - 1]];
                ++counts[cell];
                sums[cell] += score;
            }
        });
    }
    return a;
}

// One slot of one item summed over the segments of each group.
struct SlotCounts {
    MarkSums all;
    std::array<int, ScoreGroups> inScoreGroup{};
    int upper = 0;
    int lower = 0;
};

SlotCounts slotCounts(const AnswerCounts& a, const Segments& segments, int item, int slot)
{
    SlotCounts result;
    for (int s = 0; s < segments.count(); ++s) {
        const int count = int(a.count(s, item, slot));
        result.all.count += count;
        result.inScoreGroup[segments.scoreGroup[s] - 1] += count;
        result.upper += segments.upper[s] ? count : 0;
        result.lower += segments.lower[s] ? count : 0;
    }
    result.all.scoreSum = a.scoreSum(item, slot);
    return result;
}

// The right answers of an item whose key is no digit 1 to 9, from its own column: the pass over all
// items counted them with the other answers in slot 0.
SlotCounts keyColumnCounts(const TestData& data, const AnalysisResults& run, const Segments& segments,
                           int item, const KeyUnits& keys)
{
    SlotCounts result;
    for (int row = 1; row <= data.NumStud; ++row) {
        if (!isRight(answerRow(data, row), keys, item))
            continue;
        const int s = segments.ofRow[row];
        ++result.all.count;
        result.all.scoreSum += std::int64_t(run.Score[row]);
        ++result.inScoreGroup[segments.scoreGroup[s] - 1];
        result.upper += segments.upper[s];
        result.lower += segments.lower[s];
    }
    return result;
}

Index groupRatio(int difference, int groupSize)
{
    if (groupSize == 0)
        return {};
    return double(difference) / groupSize;
}

OptionDiagnostics optionDiagnostics(const SlotCounts& counts, bool keyed, const ScoreSums& scores,
                                    const TestDiagnostics& test)
{
    OptionDiagnostics o;
    o.keyed = keyed;
    o.chosen = int(counts.all.count);
    o.proportion = double(o.chosen) / test.examinees;
    for (int g = 1; g <= ScoreGroups; ++g) {
        const int size = test.groupBounds[g] - test.groupBounds[g - 1];
        if (size > 0) // a small class leaves some groups empty
            o.groupProportion[g - 1] = double(counts.inScoreGroup[g - 1]) / size;
    }
    o.pointBiserial = pointBiserial(scores, counts.all);
    o.upper = counts.upper;
    o.lower = counts.lower;
    o.groupIndex = groupRatio(keyed ? o.upper - o.lower : o.lower - o.upper, test.groupSize);
    return o;
}

// pq exactly as the run's reliability step forms it.
double itemPQ(std::int64_t right, std::int64_t n)
{
    return (double(right * n) - double(right) * double(right)) / (double(n) * double(n));
}

std::vector<int> scoreHistogram(const std::vector<int>& scores, int items)
{
    std::vector<int> histogram(std::size_t(items) + 1, 0);
    for (int score : scores)
        ++histogram[std::size_t(score)];
    return histogram;
}

// The answers with code `code`, over every item.
std::int64_t answersCoded(const AnswerCounts& a, const Segments& segments, int items, int code)
{
    std::int64_t count = 0;
    for (int s = 0; s < segments.count(); ++s)
        for (int j = 1; j <= items; ++j)
            count += a.count(s, j, code);
    return count;
}

// Five choices when the key names the fifth or the answers choose it often enough that it cannot be a
// slip of the pen (1 % of them), otherwise four.
int inferredChoices(const TestData& data, const AnswerCounts& a, const Segments& segments)
{
    const std::int64_t fives = answersCoded(a, segments, data.NumItems, 5);
    return data.AllKeys.contains(u'5') || fives * 100 >= std::int64_t(data.NumStud) * data.NumItems ? 5 : 4;
}

} // namespace

QString choiceCodesWarning(const TestDiagnostics& test)
{
    if (test.answersBeyondChoices == 0)
        return {};
    QStringList codes;
    for (const int code : test.codesBeyondChoices)
        codes << QString::number(code);
    return QStringLiteral("มีคำตอบ %1 คำตอบที่ใช้รหัส %2 ซึ่งเกินจำนวนตัวเลือก %3 ตัว%4  "
                          "การวิเคราะห์รายข้อนับคำตอบเหล่านี้เป็นคำตอบอื่นที่ไม่ใช่ตัวเลือกใด")
        .arg(test.answersBeyondChoices)
        .arg(codes.join(QStringLiteral(", ")))
        .arg(test.choices)
        .arg(test.choicesInferred ? QStringLiteral(" (ไม่ได้ระบุจำนวนตัวเลือก จึงถือตามเฉลยและคำตอบ)") : QString());
}

TestDiagnostics diagnoseTest(const TestData& data, const AnalysisResults& run, int choices)
{
    TestDiagnostics test;
    const int n = data.NumStud;
    const int items = data.NumItems;
    test.examinees = n;
    test.items = items;
    test.groupSize = groupSizeFor(n);
    test.groupBounds = scoreGroupBounds(n);
    test.mean = run.Mean;
    test.sd = run.SD;
    test.scores.assign(run.Score.begin() + 1, run.Score.begin() + 1 + n);
    test.histogram = scoreHistogram(test.scores, items);
    test.percentileRank = percentileRanks(test.histogram, n);

    const ScoreSums scores{n, run.SumScore, run.SumSquare};
    const Segments segments = segmentRanks(run, test);
    const std::vector<std::uint8_t> slotOf = slotOfUnit();
    const AnswerCounts answers = countAnswers(data, run, segments, slotOf);
    const KeyUnits keys = keyUnits(data);
    test.choicesInferred = choices == 0;
    test.choices = choices == 0 ? inferredChoices(data, answers, segments) : choices;
    for (int code = test.choices + 1; code <= HighestCode; ++code) {
        if (const std::int64_t count = answersCoded(answers, segments, items, code)) {
            test.answersBeyondChoices += count;
            test.codesBeyondChoices.push_back(code);
        }
    }

    test.itemList.resize(std::size_t(items));
    std::vector<SlotCounts> rightCounts(std::size_t(items) + 1);
    double sumPQ = 0;
    std::int64_t itemVariances = 0;
    for (int j = 1; j <= items; ++j) {
        ItemDiagnostics& item = test.itemList[j - 1];
        item.number = j;
        item.key = data.Keys.value(j);
        const int keySlot = keys.has(j) ? slotOf[keys.wide.cell[j]] : 0;
        for (int c = 1; c <= test.choices; ++c)
            item.options.push_back(
                optionDiagnostics(slotCounts(answers, segments, j, c), c == keySlot, scores, test));
        SlotCounts& right = rightCounts[j];
        if (keySlot > 0)
            right = slotCounts(answers, segments, j, keySlot);
        else if (keys.has(j))
            right = keyColumnCounts(data, run, segments, j, keys);
        item.right = int(right.all.count);
        item.difficulty = double(item.right) / n;
        item.discrimination = groupRatio(right.upper - right.lower, test.groupSize);
        item.rightUpper = right.upper;
        item.rightLower = right.lower;
        item.pointBiserialRest = restPointBiserial(scores, right.all);
        item.pointBiserialTotal = pointBiserial(scores, right.all);
        item.biserial = biserialFromPointBiserial(item.pointBiserialTotal, item.difficulty);
        sumPQ += itemPQ(item.right, n);
        itemVariances += std::int64_t(n) * item.right - std::int64_t(item.right) * item.right;
    }
    for (ItemDiagnostics& item : test.itemList) {
        const Index restVariance = restSampleVariance(scores, rightCounts[item.number].all);
        if (restVariance)
            item.kr20IfDeleted =
                programKr20(items - 1, sumPQ - itemPQ(item.right, n), std::sqrt(*restVariance));
        item.judgement = judgeItem(item, n);
    }

    test.kr20 = programKr20(items, sumPQ, test.sd);
    test.alpha = cronbachAlpha(items, itemVariances, scores);
    test.kr21 = kr21(items, test.mean, test.sd);
    test.sem = standardError(test.sd, test.kr20);
    return test;
}
