#include "import/SheetReader.h"

#include "import/CsvReader.h"
#include "import/OdsReader.h"
#include "import/XlsxReader.h"

#include <QFileInfo>

bool isTextSheet(const QByteArray& bytes, const QString& name)
{
    const QString ending = QFileInfo(name).suffix().toLower();
    return !looksLikeZip(bytes) && !looksLikeCompoundFile(bytes) && ending != u"xlsx" && ending != u"ods";
}

bool readSheetBytes(const QByteArray& bytes, const QString& name, const QString& sheet, Table& table,
                    QString& error, QStringList* sheets)
{
    const QString ending = QFileInfo(name).suffix().toLower();
    if (looksLikeZip(bytes) ? isOdsArchive(bytes) : ending == u"ods")
        return readOds(bytes, name, sheet, table, error, sheets);
    if (looksLikeZip(bytes) || looksLikeCompoundFile(bytes) || ending == u"xlsx") {
        const bool read = readXlsx(bytes, name, sheet, table, error);
        if (sheets)
            *sheets = xlsxSheetNames(bytes);
        return read;
    }
    return readCsv(bytes, name, table, error);
}
