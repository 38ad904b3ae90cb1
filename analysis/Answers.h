#pragma once

#include "model/TestData.h"

#include <algorithm>
#include <vector>

// How the analysis reads the answers: straight from the matrix's rows, one code unit per cell.

// The key of every item as a code unit, indexed 1..NumItems; -1 (which no cell holds) where the key
// is not exactly one character, so that nothing matches it.
std::vector<int> keyUnits(const TestData& data);

// The answered cells of one examinee: cells[1..count], item 1 first. The count stops at the last item
// and at the end of the row, so a short answer text reads as empty cells, which match nothing.
struct AnswerRow {
    const char16_t* cells = nullptr;
    int count = 0;
};
inline AnswerRow answerRow(const TestData& data, int student)
{
    const AnswerMatrix& matrix = data.AnsMatrix;
    if (!matrix.exists() || student > matrix.students())
        return {};
    return {matrix.row(student), std::min(matrix.filled(student), data.NumItems)};
}
