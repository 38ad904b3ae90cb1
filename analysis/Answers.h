#pragma once

#include "model/TestData.h"

#include <algorithm>
#include <cstdint>
#include <vector>

// How the analysis reads the answers: straight from the matrix's rows. A row is narrow, a byte of
// code page 874 per cell, or, when it holds a character outside the code page, wide, a UTF-16 unit
// per cell; every counting loop is written once for both cell types.

// The key of every item as a cell of either width, indexed 1..NumItems, with a mask that is all
// ones where the key is exactly one character (and, for the narrow cells, in the code page) and 0
// where it is not: a cell is right when it equals the key and the mask is set, so nothing matches a
// key of another length. In the cells' own width, so that the counting loops compare many at a time.
template <typename Cell> struct KeyCells {
    std::vector<Cell> cell;
    std::vector<Cell> mask;
    bool has(int item) const { return mask[item] != 0; }
};
struct KeyUnits {
    KeyCells<std::uint8_t> narrow;
    KeyCells<char16_t> wide;
    bool has(int item) const { return wide.has(item); }
    template <typename Cell> const KeyCells<Cell>& of() const
    {
        if constexpr (sizeof(Cell) == 1)
            return narrow;
        else
            return wide;
    }
};
KeyUnits keyUnits(const TestData& data);

// A character as a cell of either width: -1 when it cannot be one (a text of another length, or a
// character outside the code page for a narrow cell), so that it matches no cell.
struct CellCode {
    int narrow = -1;
    int wide = -1;
    template <typename Cell> int of() const { return sizeof(Cell) == 1 ? narrow : wide; }
};
CellCode cellCode(const QString& text);

// The answered cells of one examinee: item j is cells[j - 1], j = 1..count. The count stops at the
// last item and at the end of the row, so a short answer text reads as empty cells, which match nothing.
template <typename Cell> struct Cells {
    const Cell* cells = nullptr;
    int count = 0;
};
struct AnswerRow {
    const AnswerText* text = nullptr;
    int count = 0;
    bool isWide() const { return text && text->isWide(); }
    // Calls `f` with the row as Cells<std::uint8_t> or Cells<char16_t>.
    template <typename F> decltype(auto) visit(F&& f) const
    {
        if (isWide())
            return f(Cells<char16_t>{text->units(), count});
        return f(Cells<std::uint8_t>{text ? text->bytes() : nullptr, count});
    }
};
inline AnswerRow answerRow(const TestData& data, int student)
{
    const AnswerMatrix& matrix = data.AnsMatrix;
    if (!matrix.exists() || student > matrix.students())
        return {};
    return {&matrix.row(student), std::min(matrix.filled(student), data.NumItems)};
}

// Whether the row's answer to `item` is the item's key.
inline bool isRight(const AnswerRow& row, const KeyUnits& keys, int item)
{
    return item <= row.count && row.visit([&]<typename Cell>(const Cells<Cell>& cells) {
        const KeyCells<Cell>& key = keys.of<Cell>();
        return key.has(item) && cells.cells[item - 1] == key.cell[item];
    });
}
