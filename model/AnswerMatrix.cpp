#include "model/AnswerMatrix.h"

#include <algorithm>

void AnswerMatrix::create(int students, int items)
{
    students_ = students;
    items_ = items;
    // A row's `filled` count guards its cells, so emptying the rows empties the matrix.
    cells_.resize(std::size_t(students + 2) * std::size_t(items + 2));
    filled_.assign(std::size_t(students + 2), 0);
}

QString AnswerMatrix::at(int student, int item) const
{
    if (isEmpty(student, item))
        return {};
    return QString(QChar(row(student)[item]));
}

void AnswerMatrix::setRow(int student, QStringView answers)
{
    const int count = int(std::min<qsizetype>(answers.size(), items_));
    std::copy_n(answers.utf16(), count, cells_.data() + offset(student) + 1);
    filled_[student] = count;
}
