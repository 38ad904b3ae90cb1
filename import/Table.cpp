#include "import/Table.h"

#include <algorithm>
#include <cmath>

void Table::grow(qsizetype atLeast)
{
    text_.resize(std::max(atLeast, 2 * text_.size() + 64));
}

bool Table::rowIsEmpty(qsizetype row) const
{
    // A row's cells lie side by side in the text: the row is empty when all of that text is blank.
    const qsizetype first = firstCell(row);
    const qsizetype start = first == 0 ? 0 : cellEnds_[first - 1];
    const qsizetype end = rowEnds_[row] == first ? start : cellEnds_[rowEnds_[row] - 1];
    return std::all_of(text_.cbegin() + start, text_.cbegin() + end, [](QChar c) { return c.isSpace(); });
}

QString numberCellText(QStringView written)
{
    bool ok = false;
    const double value = written.toDouble(&ok);
    if (ok && std::floor(value) == value && std::fabs(value) < 1e15)
        return QString::number(qlonglong(value));
    return written.toString();
}

QString columnName(qsizetype column)
{
    QString name;
    for (qsizetype rest = column + 1; rest > 0; rest = (rest - 1) / 26)
        name.prepend(QChar(char16_t(u'A' + (rest - 1) % 26)));
    return name;
}

qsizetype columnIndex(QStringView name)
{
    name = name.trimmed();
    if (name.isEmpty() || name.size() > 12)
        return -1;
    bool number = false;
    const qlonglong counted = name.toLongLong(&number);
    if (number)
        return counted >= 1 ? qsizetype(counted - 1) : -1;
    qsizetype index = 0;
    for (const QChar character : name) {
        const char16_t letter = character.toUpper().unicode();
        if (letter < u'A' || letter > u'Z')
            return -1;
        index = index * 26 + (letter - u'A' + 1);
    }
    return index - 1;
}
