#pragma once

#include "model/TestData.h"

#include <algorithm>
#include <vector>

// How the analysis reads the answers: straight from the matrix's rows, one code unit per cell.

// The key of every item as a code unit, indexed 1..NumItems, with a mask that is all ones where the
// key is exactly one character and 0 where it is not: a cell is right when it equals the unit and the
// mask is set, so nothing matches a key of another length. Both in code units, as the cells, so that
// the counting loops compare eight cells at a time.
struct KeyUnits {
    std::vector<char16_t> unit;
    std::vector<char16_t> mask;
    bool has(int item) const { return mask[item] != 0; }
};
KeyUnits keyUnits(const TestData& data);

// The answered cells of one examinee: item j is cells[j - 1], j = 1..count. The count stops at the
// last item and at the end of the row, so a short answer text reads as empty cells, which match nothing.
struct AnswerRow {
    const char16_t* cells = nullptr;
    int count = 0;
};
inline AnswerRow answerRow(const TestData& data, int student)
{
    const AnswerMatrix& matrix = data.AnsMatrix;
    if (!matrix.exists() || student > matrix.students())
        return {};
    return {matrix.cells(student), std::min(matrix.filled(student), data.NumItems)};
}
