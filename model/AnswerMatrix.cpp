#include "model/AnswerMatrix.h"

void AnswerMatrix::create(int students, int items)
{
    students_ = students;
    items_ = items;
    rows_.assign(std::size_t(students + 2), AnswerText());
}

QString AnswerMatrix::at(int student, int item) const
{
    if (isEmpty(student, item))
        return {};
    return QString(rows_[student].at(item - 1));
}
