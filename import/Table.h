#pragma once

#include <QLatin1StringView>
#include <QString>
#include <QStringView>

#include <vector>

#include <QtGlobal>

// The cells of a spreadsheet or a CSV file, row by row, as text. Every cell's text lies in one string,
// side by side, so that a class of thirty thousand rows by two hundred items costs no allocation per
// cell: a cell is where it ends in that string.
class Table {
public:
    Table() = default;
    // A table whose cells will be written into `buffer`, in place, by a reader that never writes
    // ahead of what it has read (the CSV reader drops quotes and separators as it goes).
    explicit Table(QString buffer) : text_(std::move(buffer)) {}

    // Appends a cell to the row being built.
    void addCell(QStringView text) { append(text); }
    void addCell(QLatin1StringView text) { append(text); }
    // For a reader filling the buffer in place: the next cell ends at `end`.
    QChar* buffer() { return text_.data(); }
    void endCellAt(qsizetype end) { cellEnds_.push_back(Offset(end)); }
    // Room for `cells` cells, so that a reader that knows their number need not grow the list.
    void reserveCells(qsizetype cells) { cellEnds_.reserve(std::size_t(cells)); }
    // Ends the row being built (an empty row is a row too, so that rows keep their numbers).
    void endRow() { rowEnds_.push_back(qsizetype(cellEnds_.size())); }

    qsizetype rowCount() const { return qsizetype(rowEnds_.size()); }
    qsizetype columnCount(qsizetype row) const { return rowEnds_[row] - firstCell(row); }
    // The cell's text; empty beyond the row's last cell.
    QStringView cell(qsizetype row, qsizetype column) const
    {
        const qsizetype index = firstCell(row) + column;
        if (column < 0 || index >= rowEnds_[row])
            return {};
        const qsizetype start = index == 0 ? 0 : cellEnds_[index - 1];
        return QStringView(text_).sliced(start, cellEnds_[index] - start);
    }
    // Whether every cell of the row holds only blanks.
    bool rowIsEmpty(qsizetype row) const;

    // Rows of a spreadsheet leave out empty cells at their end; rows of a CSV file that differ in
    // length are a sign of a damaged file.
    bool sparse = false;

private:
    template <typename Text> void append(const Text& text)
    {
        const qsizetype start = used();
        if (start + text.size() > text_.size())
            grow(start + text.size());
        QChar* out = text_.data() + start;
        for (const auto character : text)
            *out++ = QChar(unit(character));
        cellEnds_.push_back(Offset(start + text.size()));
    }
    static char16_t unit(QChar character) { return character.unicode(); }
    static char16_t unit(char latin1) { return uchar(latin1); }
    void grow(qsizetype atLeast);
    qsizetype firstCell(qsizetype row) const { return row == 0 ? 0 : rowEnds_[row - 1]; }
    qsizetype used() const { return cellEnds_.empty() ? 0 : cellEnds_.back(); }

    // Where a cell ends in the text. Tables come from files of at most a few gigabytes, so 32 bits
    // hold every offset and halve the memory of a class's six million cells.
    using Offset = quint32;

    QString text_;
    std::vector<Offset> cellEnds_;
    std::vector<qsizetype> rowEnds_;
};

// A number cell as a spreadsheet shows it in its general format: a whole number as its integer digits
// (an identifier kept as a number), any other as written.
QString numberCellText(QStringView written);

// A column as a spreadsheet names it: A, B, ..., Z, AA, ...; `column` counts from 0.
QString columnName(qsizetype column);
// The column a spreadsheet name (A, b, AA) or a number counted from 1 stands for, counted from 0;
// -1 when the text is neither.
qsizetype columnIndex(QStringView name);
