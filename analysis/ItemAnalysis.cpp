#include "analysis/ItemAnalysis.h"

#include "analysis/Answers.h"
#include "analysis/Grades.h"
#include "analysis/Rounding.h"

#include <cstdint>

namespace {

// For every code unit the choice whose code it is, or 0.
std::vector<std::uint8_t> choiceOfUnit(const TestData& data)
{
    std::vector<std::uint8_t> choice(0x10000, 0);
    for (int c = 1; c <= data.NumChoices; ++c) {
        const QString code = data.ChoiceCodes.value(c);
        if (code.size() == 1)
            choice[code.front().unicode()] = std::uint8_t(c);
    }
    return choice;
}

// Adds one row's answers to a group's counts: the right answers and the choices of every item.
// Plain pointers and a local stride, because through the containers the compiler would reload the
// stride after every count (the counts are ints as well).
void countRow(const AnswerRow& answers, const int* keys, const std::uint8_t* choiceOf,
              std::vector<int>& correct, Grid<int>& choices)
{
    int* const correctCounts = correct.data();
    int* const choiceCounts = &choices(0, 0);
    const std::size_t stride = std::size_t(choices.columns());
    for (int j = 1; j <= answers.count; ++j) {
        const char16_t answer = answers.cells[j];
        correctCounts[j] += answer == keys[j];
        ++choiceCounts[j * stride + choiceOf[answer]];
    }
}

// Copies choices 1..count of every item, leaving column 0 empty as every result array.
Grid<int> choiceColumns(const Grid<int>& counts)
{
    Grid<int> result(counts.rows(), counts.columns());
    for (int i = 1; i + 1 < counts.rows(); ++i)
        for (int c = 1; c + 1 < counts.columns(); ++c)
            result(i, c) = counts(i, c);
    return result;
}

} // namespace

void ComputeDifficulty(const std::vector<int>& itemCorrect, int numStud, AnalysisResults& results)
{
    const int items = int(itemCorrect.size()) - 2;
    results.ItemCorrect = itemCorrect;
    results.ItemDifficulty.assign(itemCorrect.size(), 0.0);
    results.DifficultyGrade = makeTextArray(items);
    for (int j = 1; j <= items; ++j) {
        const double p = double(itemCorrect[j]) / numStud;
        results.ItemDifficulty[j] = p;
        results.DifficultyGrade[j] = difficultyGrade(p);
    }
}

int groupSizeFor(int numStud)
{
    return int(roundHalfEven(numStud * 0.27));
}

GroupCounts countGroups(const TestData& data, const AnalysisResults& ranking, int groupSize)
{
    const std::size_t itemSlots = std::size_t(data.NumItems) + 2;
    const int n = data.NumStud;
    GroupCounts groups;
    groups.size = groupSize;
    groups.upperCorrect.assign(itemSlots, 0);
    groups.lowerCorrect.assign(itemSlots, 0);
    groups.upperChoice = Grid<int>(data.NumItems + 2, data.NumChoices + 2);
    groups.lowerChoice = Grid<int>(data.NumItems + 2, data.NumChoices + 2);

    // The members are visited in entry order, not by rank: the matrix is then read front to back,
    // which memory serves far faster than rows picked at random.
    enum : std::uint8_t { Upper = 1, Lower = 2 };
    std::vector<std::uint8_t> membership(std::size_t(n) + 2, 0);
    for (int rank = 1; rank <= groupSize; ++rank) {
        membership[ranking.RankedRow[rank]] |= Upper;
        membership[ranking.RankedRow[n + 1 - rank]] |= Lower;
    }
    const std::vector<int> key = keyUnits(data);
    const std::vector<std::uint8_t> choiceOf = choiceOfUnit(data);
    for (int row = 1; row <= n; ++row) {
        if (membership[row] & Upper)
            countRow(answerRow(data, row), key.data(), choiceOf.data(), groups.upperCorrect,
                     groups.upperChoice);
        if (membership[row] & Lower)
            countRow(answerRow(data, row), key.data(), choiceOf.data(), groups.lowerCorrect,
                     groups.lowerChoice);
    }
    return groups;
}

void ComputeDiscrimination(const GroupCounts& groups, AnalysisResults& results)
{
    const int items = int(groups.upperCorrect.size()) - 2;
    results.GroupSize = groups.size;
    results.UpperCorrect = groups.upperCorrect;
    results.LowerCorrect = groups.lowerCorrect;
    results.ItemDiscrimination.assign(groups.upperCorrect.size(), 0.0);
    results.DiscriminationGrade = makeTextArray(items);
    for (int j = 1; j <= items; ++j) {
        const double r = double(groups.upperCorrect[j] - groups.lowerCorrect[j]) / groups.size;
        results.ItemDiscrimination[j] = r;
        results.DiscriminationGrade[j] = discriminationGrade(r);
    }
}

void ComputeOptionAnalysis(const GroupCounts& groups, const TestData& data, AnalysisResults& results)
{
    const int items = groups.upperChoice.rows() - 2;
    const int choices = groups.upperChoice.columns() - 2;
    results.GroupSize = groups.size;
    results.UpperChoice = choiceColumns(groups.upperChoice);
    results.LowerChoice = choiceColumns(groups.lowerChoice);
    results.OptionIndex = Grid<double>(items + 2, choices + 2);
    results.OptionGrade = Grid<QString>(items + 2, choices + 2);
    for (int j = 1; j <= items; ++j) {
        const QString key = data.Keys.value(j);
        for (int c = 1; c <= choices; ++c) {
            const int upper = results.UpperChoice(j, c);
            const int lower = results.LowerChoice(j, c);
            if (data.ChoiceCodes.value(c) == key) {
                const double index = double(upper - lower) / groups.size;
                results.OptionIndex(j, c) = index;
                results.OptionGrade(j, c) = discriminationGrade(index);
            } else {
                const double index = double(lower - upper) / groups.size;
                results.OptionIndex(j, c) = index;
                results.OptionGrade(j, c) = distractorGrade(index);
            }
        }
    }
}

void ListUsableItems(AnalysisResults& results)
{
    const int items = int(results.ItemDifficulty.size()) - 2;
    results.UsableItems.clear();
    for (int j = 1; j <= items; ++j) {
        const double p = results.ItemDifficulty[j];
        if (p >= 0.2 && p <= 0.8 && results.ItemDiscrimination[j] >= 0.2)
            results.UsableItems += QString::number(j) + u' ';
    }
}
