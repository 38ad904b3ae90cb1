#pragma once

#include "model/AnswerText.h"

#include <QString>

#include <algorithm>
#include <vector>

// The answer matrix: AnsMatrix(i, j) is the answer of examinee i to item j, one character or empty.
// Rows run 0..students + 1 and items 0..items + 1, as every array of the test data; only 1..count are
// used. A row holds the examinee's answer text itself (shared with StudAns, not copied): item j is its
// character j, and the items past the text's end, or past the last item, are empty. So a cell costs
// nothing beyond the answers already held, and no character value has to serve as an "empty" marker.
class AnswerMatrix {
public:
    // Re-creates the matrix for `students` examinees and `items` items, every cell empty.
    void create(int students, int items);
    bool exists() const { return !rows_.empty(); }

    int students() const { return students_; }
    int items() const { return items_; }

    // The cell as the rest of the program sees it: a one-character text, or empty.
    QString at(int student, int item) const;
    bool isEmpty(int student, int item) const { return item < 1 || item > filled(student); }

    // Fills row `student` from an answer text: item j takes character j.
    void setRow(int student, const AnswerText& answers) { rows_[student] = answers; }
    void clearRow(int student) { rows_[student] = AnswerText(); }

    // The answered cells of a row for the analysis, item j at index j - 1, j = 1..filled(i): bytes
    // of code page 874, or UTF-16 units when the row is wide.
    const AnswerText& row(int student) const { return rows_[student]; }
    int filled(int student) const { return int(std::min<qsizetype>(rows_[student].size(), items_)); }

private:
    int students_ = 0;
    int items_ = 0;
    std::vector<AnswerText> rows_;
};
