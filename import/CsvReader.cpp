#include "import/CsvReader.h"

#include "model/CodePage874.h"

#include <QDir>
#include <QStringDecoder>

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
QChar detectSeparator(QStringView text)
{
    qsizetype commas = 0, semicolons = 0, tabs = 0;
    bool quoted = false;
    for (const QChar character : text) {
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

} // namespace

bool readCsv(const QByteArray& bytes, const QString& name, Table& table, QString& error)
{
    QString text = decode(bytes);
    if (text.contains(QChar(0))) {
        error = QStringLiteral("แฟ้ม %1 ไม่ใช่แฟ้มข้อความ CSV  (มีข้อมูลแบบไบนารีปนอยู่)  "
                               "กรุณาเลือกแฟ้ม .csv .tsv หรือ .xlsx ที่บันทึกจากโปรแกรมตารางคำนวณครับ")
                    .arg(QDir::toNativeSeparators(name));
        return false;
    }
    const QChar separator = detectSeparator(text);
    const qsizetype size = text.size();
    table = Table(std::move(text));
    table.reserveCells(size + 1); // at most a cell per character and one more
    // Cells are copied down over the quotes and separators already read, in the same string.
    QChar* const p = table.buffer();
    qsizetype read = 0, write = 0;
    qsizetype row = 1; // as a spreadsheet numbers it, for the message
    while (read < size) {
        if (p[read] == u'"') {
            const qsizetype openedOnRow = row;
            for (++read;; ++read) {
                if (read == size) {
                    error = QStringLiteral("แฟ้ม %1 เสียหาย  เครื่องหมายคำพูด (\") ที่เปิดในแถว %2 ไม่มีตัวปิดจนจบแฟ้มครับ")
                                .arg(QDir::toNativeSeparators(name))
                                .arg(openedOnRow);
                    return false;
                }
                if (p[read] == u'"') {
                    if (read + 1 < size && p[read + 1] == u'"')
                        ++read;
                    else
                        break;
                }
                p[write++] = p[read];
            }
            ++read; // the closing quote
        }
        while (read < size && p[read] != separator && p[read] != u'\n' && p[read] != u'\r')
            p[write++] = p[read++];
        table.endCellAt(write);
        if (read == size) {
            table.endRow();
            break;
        }
        if (p[read] == separator) {
            ++read;
            if (read == size) { // a separator at the very end leaves one more, empty, cell
                table.endCellAt(write);
                table.endRow();
            }
            continue;
        }
        read += p[read] == u'\r' && read + 1 < size && p[read + 1] == u'\n' ? 2 : 1;
        table.endRow();
        ++row;
    }
    return true;
}
