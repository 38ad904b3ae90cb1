#include "import/ColumnList.h"

#include "import/Table.h"
#include "model/TestData.h"

QList<int> parseColumnList(QStringView text)
{
    QList<int> columns;
    for (const QStringView part : text.split(u',')) {
        const qsizetype dash = part.indexOf(u'-') >= 0 ? part.indexOf(u'-') : part.indexOf(u':');
        const qsizetype first = columnIndex(dash < 0 ? part : part.first(dash));
        const qsizetype last = dash < 0 ? first : columnIndex(part.sliced(dash + 1));
        if (first < 0 || last < first || last - first >= MaxCount)
            return {};
        for (qsizetype column = first; column <= last; ++column)
            columns.append(int(column));
    }
    return columns;
}

QString columnListText(const QList<int>& columns)
{
    QStringList parts;
    for (qsizetype start = 0, end = 0; start < columns.size(); start = end) {
        end = start + 1;
        while (end < columns.size() && columns[end] == columns[end - 1] + 1)
            ++end;
        parts.append(end - start == 1 ? columnName(columns[start])
                                      : columnName(columns[start]) + u'-' + columnName(columns[end - 1]));
    }
    return parts.join(u',');
}
