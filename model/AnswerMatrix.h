#pragma once

#include <QString>
#include <QStringView>

#include <cstddef>
#include <memory>
#include <vector>

// The answer matrix: AnsMatrix(i, j) is the answer of examinee i to item j, one character or empty.
// Rows run 0..students + 1 and columns 0..items + 1, as every array of the test data; only 1..count
// are filled. A cell takes one 16-bit unit, and a row remembers how many of its cells, from item 1
// on, hold a character: the cells beyond that are empty, so no character value has to serve as an
// "empty" marker.
class AnswerMatrix {
public:
    // Re-creates the matrix for `students` examinees and `items` items, every cell empty.
    void create(int students, int items);
    bool exists() const { return !filled_.empty(); }

    int students() const { return students_; }
    int items() const { return items_; }

    // The cell as the rest of the program sees it: a one-character text, or empty.
    QString at(int student, int item) const;
    bool isEmpty(int student, int item) const { return item < 1 || item > filled_[student]; }

    // Fills row `student` from an answer text: item j takes character j; items past the text's end
    // stay empty and characters past the last item are not kept.
    void setRow(int student, QStringView answers);
    void clearRow(int student) { filled_[student] = 0; }

    // Raw access for the analysis: row(i)[j] for j = 1..filled(i) are the characters of the row.
    const char16_t* row(int student) const { return cells_.data() + offset(student); }
    int filled(int student) const { return filled_[student]; }

private:
    std::size_t offset(int student) const { return std::size_t(student) * std::size_t(items_ + 2); }

    // Cells are allocated without being cleared: the rows' counts say which of them hold answers,
    // and clearing a matrix of millions of cells costs a pass over all of its memory.
    template <class T> struct UninitializedAllocator : std::allocator<T> {
        template <class U> void construct(U* cell) noexcept { ::new (static_cast<void*>(cell)) U; }
    };

    int students_ = 0;
    int items_ = 0;
    std::vector<char16_t, UninitializedAllocator<char16_t>> cells_;
    std::vector<int> filled_;
};
