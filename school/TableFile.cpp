#include "school/TableFile.h"

#include "import/SheetReader.h"
#include "model/InputFile.h"
#include "model/SystemErrorText.h"

#include <QDir>
#include <QFileInfo>

#include <cerrno>

namespace {

// Such a table has a row per item: even the longest test's is far below this.
constexpr qint64 MaxTableBytes = 64 * 1024 * 1024;

} // namespace

bool readTableBytes(const QByteArray& bytes, const QString& name, Table& table, QString& error)
{
    return readSheetBytes(bytes, name, QString(), table, error);
}

bool readTableFile(const QString& path, const QString& what, Table& table, QString& error)
{
    const QString name = QFileInfo(path).fileName();
    const auto cannotRead = [&](const QString& reason) {
        error = QStringLiteral("อ่าน%1 %2 ไม่ได้ครับ  %3").arg(what, name, reason);
        return false;
    };
    InputFile file;
    if (QString reason; !file.open(path, reason))
        return cannotRead(reason);
    if (file.size() > MaxTableBytes)
        return cannotRead(QStringLiteral("แฟ้มใหญ่เกินกว่า%1ใด ๆ").arg(what));
    const QByteArray bytes = file.device().readAll();
    if (file.device().error() != QFileDevice::NoError || !file.unchanged())
        return cannotRead(systemErrorText(EIO));
    return readTableBytes(bytes, name, table, error);
}

qsizetype headerRow(const Table& table)
{
    qsizetype header = 0;
    while (header < table.rowCount() && table.rowIsEmpty(header))
        ++header;
    return header;
}

std::vector<qsizetype> findColumns(const Table& table, qsizetype header,
                                   const std::vector<QStringList>& names)
{
    std::vector<qsizetype> columns(names.size(), -1);
    for (qsizetype at = 0; at < table.columnCount(header); ++at) {
        const QString text = matchText(table.cell(header, at));
        for (std::size_t column = 0; column < names.size(); ++column)
            if (columns[column] < 0 && names[column].contains(text))
                columns[column] = at;
    }
    return columns;
}

QString tableBeside(const QString& dataFile, QLatin1StringView kind)
{
    if (dataFile.isEmpty())
        return {};
    const QFileInfo data(dataFile);
    for (const QLatin1StringView ending : {QLatin1StringView(".csv"), QLatin1StringView(".xlsx"), QLatin1StringView(".ods")}) {
        const QString path = data.dir().filePath(data.completeBaseName() + u'.' + kind + ending);
        if (QFileInfo::exists(path))
            return path;
    }
    return {};
}

QString matchText(QStringView text)
{
    return text.toString().simplified().toLower();
}

std::optional<qint64> cellNumber(QStringView text)
{
    QStringView digits = text.trimmed();
    const bool negative = digits.startsWith(u'-');
    if (negative)
        digits = digits.sliced(1);
    if (digits.isEmpty() || digits.size() > 12)
        return std::nullopt;
    qint64 number = 0;
    for (const QChar c : digits) {
        const int digit = c.digitValue();
        if (digit < 0)
            return std::nullopt;
        number = number * 10 + digit;
    }
    return negative ? -number : number;
}
