#include "school/TableFile.h"

#include "import/CsvReader.h"
#include "import/XlsxReader.h"
#include "model/InputFile.h"
#include "model/SystemErrorText.h"

#include <QFileInfo>

#include <cerrno>

namespace {

// Such a table has a row per item: even the longest test's is far below this.
constexpr qint64 MaxTableBytes = 64 * 1024 * 1024;

} // namespace

bool readTableBytes(const QByteArray& bytes, const QString& name, Table& table, QString& error)
{
    const bool workbook = looksLikeZip(bytes) || looksLikeCompoundFile(bytes) ||
                          QFileInfo(name).suffix().compare(u"xlsx", Qt::CaseInsensitive) == 0;
    return workbook ? readXlsx(bytes, name, QString(), table, error) : readCsv(bytes, name, table, error);
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
