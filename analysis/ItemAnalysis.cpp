#include "analysis/ItemAnalysis.h"

#include "analysis/Answers.h"
#include "analysis/Grades.h"
#include "analysis/Rounding.h"

#include <cstdint>

namespace {

// A group's counts per item, 16-bit: a group holds at most 27 % of 32766 examinees. Indexed from
// item 1, while the cells start at 0.
using Counts = std::vector<std::uint16_t>;

// Adds 1 for every item whose cell holds `code`. The arrays never overlap, which lets the compiler
// compare many cells at a time: a group of thousands is counted in a few passes over each row.
template <typename Cell> void countCode(const Cells<Cell>& answers, const CellCode& choice, Counts& counts)
{
    const int code = choice.of<Cell>();
    if (code < 0)
        return; // a code of other than one character is chosen by nobody
    const Cell* __restrict const cells = answers.cells;
    std::uint16_t* __restrict const countOfItem = counts.data() + 1;
    for (int j = 0; j < answers.count; ++j)
        countOfItem[j] += cells[j] == Cell(code) ? 1 : 0;
}

template <typename Cell> void countRight(const Cells<Cell>& answers, const KeyUnits& keys, Counts& counts)
{
    const KeyCells<Cell>& key = keys.of<Cell>();
    const Cell* __restrict const cells = answers.cells;
    const Cell* __restrict const keyOfItem = key.cell.data() + 1;
    const Cell* __restrict const maskOfItem = key.mask.data() + 1;
    std::uint16_t* __restrict const countOfItem = counts.data() + 1;
    for (int j = 0; j < answers.count; ++j)
        countOfItem[j] += (cells[j] == keyOfItem[j] ? 1 : 0) & maskOfItem[j];
}

// One group's counts while its members are read: the right answers, and per choice the answers
// equal to its code, item by item.
struct Tally {
    Counts right;
    std::vector<Counts> choice; // [c][item], c = 1..NumChoices

    Tally(int items, int choices)
        : right(std::size_t(items) + 2, 0),
          choice(std::size_t(choices) + 1, Counts(std::size_t(items) + 2, 0))
    {
    }

    void add(const AnswerRow& answers, const KeyUnits& key, const std::vector<CellCode>& codes)
    {
        answers.visit([&](const auto& cells) {
            countRight(cells, key, right);
            for (std::size_t c = 1; c < choice.size(); ++c)
                countCode(cells, codes[c], choice[c]);
        });
    }

    std::vector<int> rightPerItem() const { return std::vector<int>(right.begin(), right.end()); }

    // Per item and choice, with row and column 0 empty as every result array.
    Grid<int> choiceGrid() const
    {
        const int items = int(right.size()) - 2;
        Grid<int> grid(items + 2, int(choice.size()) + 1);
        for (std::size_t c = 1; c < choice.size(); ++c)
            for (int j = 1; j <= items; ++j)
                grid(j, int(c)) = choice[c][j];
        return grid;
    }
};

// The cell code of every choice, indexed 1..NumChoices.
std::vector<CellCode> choiceCodes(const TestData& data)
{
    std::vector<CellCode> codes(std::size_t(data.NumChoices) + 1);
    for (int c = 1; c <= data.NumChoices; ++c)
        codes[c] = cellCode(data.ChoiceCodes.value(c));
    return codes;
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
    const int n = data.NumStud;
    // The members are visited in entry order, not by rank: the answers are then read front to back,
    // which memory serves far faster than rows picked at random.
    enum : std::uint8_t { Upper = 1, Lower = 2 };
    std::vector<std::uint8_t> membership(std::size_t(n) + 2, 0);
    for (int rank = 1; rank <= groupSize; ++rank) {
        membership[ranking.RankedRow[rank]] |= Upper;
        membership[ranking.RankedRow[n + 1 - rank]] |= Lower;
    }
    const KeyUnits key = keyUnits(data);
    const std::vector<CellCode> codes = choiceCodes(data);
    Tally upper(data.NumItems, data.NumChoices);
    Tally lower(data.NumItems, data.NumChoices);
    for (int row = 1; row <= n; ++row) {
        if (membership[row] & Upper)
            upper.add(answerRow(data, row), key, codes);
        if (membership[row] & Lower)
            lower.add(answerRow(data, row), key, codes);
    }
    return {groupSize, upper.rightPerItem(), lower.rightPerItem(), upper.choiceGrid(), lower.choiceGrid()};
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
    results.UpperChoice = groups.upperChoice;
    results.LowerChoice = groups.lowerChoice;
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
