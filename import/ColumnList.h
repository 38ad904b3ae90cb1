#pragma once

#include <QList>
#include <QString>
#include <QStringView>

// Columns as a teacher writes them: spreadsheet names or numbers counted from 1, single ("B"), in
// ranges ("E-AR", "E:AR") and separated by commas ("C,D"). Columns count from 0.

// The columns the text names; empty when it names none or a part is no column.
QList<int> parseColumnList(QStringView text);
// The columns written back the same way, following columns as a range: {4, 5, 6, 9} is "E-G,J".
QString columnListText(const QList<int>& columns);
