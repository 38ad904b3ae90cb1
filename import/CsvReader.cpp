#include "import/CsvReader.h"

#include "model/CodePage874.h"

#include <QDir>
#include <QStringDecoder>

#include <algorithm>
#include <cstring>

namespace {

QString decode(const QByteArray& bytes)
{
    if (bytes.startsWith("\xEF\xBB\xBF"))
        return QString::fromUtf8(bytes.sliced(3));
    if (bytes.startsWith("\xFF\xFE") || bytes.startsWith("\xFE\xFF")) {
        QStringDecoder utf16(bytes.startsWith("\xFF\xFE") ? QStringConverter::Utf16LE
                                                          : QStringConverter::Utf16BE);
        return utf16.decode(bytes.sliced(2));
    }
    QStringDecoder utf8(QStringConverter::Utf8, QStringConverter::Flag::Stateless);
    QString text = utf8.decode(bytes);
    // Thai text in code page 874 is never valid UTF-8: its letters are single bytes above 127.
    return utf8.hasError() ? decodeCp874(bytes) : text;
}

// The separator the first record uses most, quoted fields aside; a comma when it holds none.
template <typename Char> char16_t detectSeparator(const Char* text, qsizetype size)
{
    qsizetype commas = 0, semicolons = 0, tabs = 0;
    bool quoted = false;
    for (qsizetype at = 0; at < size; ++at) {
        const char16_t character = csvUnit(text[at]);
        if (character == u'"')
            quoted = !quoted;
        else if (!quoted && (character == u'\n' || character == u'\r'))
            break;
        else if (!quoted)
            commas += character == u',', semicolons += character == u';', tabs += character == u'\t';
    }
    if (tabs > commas && tabs >= semicolons)
        return u'\t';
    return semicolons > commas ? u';' : u',';
}

// Splits `in` into the table's cells, written to its buffer, which holds at least `size` characters
// and may be `in` itself: a cell is never written ahead of what has been read. Stops after `rows`
// rows, with `read` where the next begins; false when a quoted cell never ends.
template <typename Char>
bool splitCells(const Char* in, qsizetype size, char16_t separator, Table& table, qsizetype rows,
                qsizetype& read)
{
    QChar* const out = table.buffer();
    qsizetype write = 0;
    const auto put = [out, &write](char16_t c) { out[write++] = QChar(c); };
    read = 0;
    while (read < size && table.rowCount() < rows) {
        switch (readCsvCell(in, size, read, separator, put)) {
        case CsvCellEnd::OpenQuote:
            return false;
        case CsvCellEnd::Separator:
            table.endCellAt(write);
            if (read == size) { // a separator at the very end leaves one more, empty, cell
                table.endCellAt(write);
                table.endRow();
            }
            break;
        case CsvCellEnd::Row:
        case CsvCellEnd::File:
            table.endCellAt(write);
            table.endRow();
            break;
        }
    }
    return true;
}

template <typename Char>
bool splitAll(const Char* in, qsizetype size, const QString& name, Table& table, QString& error)
{
    table.reserveCells(size + 1); // at most a cell per character and one more
    qsizetype read = 0;
    if (splitCells(in, size, detectSeparator(in, size), table, size + 1, read))
        return true;
    error = QStringLiteral("แฟ้ม %1 เสียหาย  เครื่องหมายคำพูด (\") ที่เปิดในแถว %2 ไม่มีตัวปิดจนจบแฟ้มครับ")
                .arg(QDir::toNativeSeparators(name))
                .arg(table.rowCount() + 1);
    return false;
}

QString notText(const QString& name)
{
    return QStringLiteral("แฟ้ม %1 ไม่ใช่แฟ้มข้อความ CSV  (มีข้อมูลแบบไบนารีปนอยู่)  "
                          "กรุณาเลือกแฟ้ม .csv .tsv หรือ .xlsx ที่บันทึกจากโปรแกรมตารางคำนวณครับ")
        .arg(QDir::toNativeSeparators(name));
}

} // namespace

bool isAscii(QByteArrayView bytes)
{
    constexpr qsizetype Block = 4096;
    qsizetype at = 0;
    for (; at + Block <= bytes.size(); at += Block) {
        quint64 any = 0;
        for (qsizetype word = at; word < at + Block; word += 8) {
            quint64 eight;
            std::memcpy(&eight, bytes.data() + word, 8);
            any |= eight;
        }
        if (any & 0x8080808080808080u)
            return false;
    }
    return std::all_of(bytes.begin() + at, bytes.end(), [](char c) { return uchar(c) < 0x80; });
}

bool readCsv(const QByteArray& bytes, const QString& name, Table& table, QString& error)
{
    // Most exports of a class are ASCII (identifiers and choice letters): their cells are copied
    // straight from the bytes, without decoding the whole file first.
    const QByteArrayView ascii = QByteArrayView(bytes).sliced(bytes.startsWith("\xEF\xBB\xBF") ? 3 : 0);
    if (isAscii(ascii)) {
        if (ascii.contains('\0')) {
            error = notText(name);
            return false;
        }
        table = Table(QString(ascii.size(), Qt::Uninitialized));
        return splitAll(ascii.data(), ascii.size(), name, table, error);
    }
    QString text = decode(bytes);
    if (text.contains(QChar(0))) {
        error = notText(name);
        return false;
    }
    const qsizetype size = text.size();
    table = Table(std::move(text));
    // Cells are copied down over the quotes and separators already read, in the same string.
    return splitAll(table.buffer(), size, name, table, error);
}

bool readCsvHead(const QByteArray& bytes, qsizetype rows, CsvHead& head)
{
    const qsizetype mark = bytes.startsWith("\xEF\xBB\xBF") ? 3 : 0;
    head.text = QByteArrayView(bytes).sliced(mark);
    head.separator = detectSeparator(head.text.data(), head.text.size());
    // Where the head ends, found first so that its table is no larger than the head.
    qsizetype end = 0;
    for (qsizetype row = 0; row < rows && end < head.text.size();) {
        const CsvCellEnd cell =
            readCsvCell(head.text.data(), head.text.size(), end, head.separator, [](char16_t) {});
        if (cell == CsvCellEnd::OpenQuote)
            return false;
        row += cell != CsvCellEnd::Separator || end == head.text.size();
    }
    head.table = Table(QString(end, Qt::Uninitialized));
    splitCells(head.text.data(), end, head.separator, head.table, rows, head.restAt);
    const QByteArrayView read = head.text.first(head.restAt);
    if (read.contains('\0'))
        return false;
    if (isAscii(read))
        return true; // whether the rest is ASCII too is for its reader to see
    if (!head.text.isValidUtf8())
        return false;
    // UTF-8 text: the head decoded as the whole file is, then split again, in place.
    QString text = decode(bytes.first(mark + head.restAt));
    const qsizetype size = text.size();
    head.table = Table(std::move(text));
    qsizetype read16 = 0;
    return splitCells(head.table.buffer(), size, head.separator, head.table, rows, read16);
}
