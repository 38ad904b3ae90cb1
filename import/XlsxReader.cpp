#include "import/XlsxReader.h"

#include "import/ZipArchive.h"

#include <QDir>
#include <QXmlStreamReader>

#include <cmath>

namespace {

// The largest sheet Excel makes: a row or column reference beyond it is damage, not a place.
constexpr qsizetype MaxSheetRows = 1'048'576;
constexpr qsizetype MaxSheetColumns = 16'384;

QString refused(const QString& name, const QString& reason)
{
    return QStringLiteral("อ่านแฟ้ม %1 ไม่ได้ครับ  %2  กรุณาเปิดแฟ้มใน Excel แล้วบันทึกใหม่เป็น .xlsx หรือ .csv")
        .arg(QDir::toNativeSeparators(name), reason);
}

// The text of the current element and every element inside it, the phonetic runs (<rPh>) aside.
QString innerText(QXmlStreamReader& xml)
{
    QString text;
    int depth = 1;
    bool phonetic = false;
    while (depth > 0 && !xml.atEnd()) {
        switch (xml.readNext()) {
        case QXmlStreamReader::StartElement:
            ++depth;
            phonetic = phonetic || xml.name() == u"rPh";
            break;
        case QXmlStreamReader::EndElement:
            --depth;
            if (xml.name() == u"rPh")
                phonetic = false;
            break;
        case QXmlStreamReader::Characters:
            if (!phonetic)
                text += xml.text();
            break;
        default:
            break;
        }
    }
    return text;
}

bool readSharedStrings(const QByteArray& xmlBytes, QStringList& strings)
{
    QXmlStreamReader xml(xmlBytes);
    while (!xml.atEnd())
        if (xml.readNext() == QXmlStreamReader::StartElement && xml.name() == u"si")
            strings.append(innerText(xml));
    return !xml.hasError();
}

// The archive path of the sheet whose tab shows `sheet`, or of the first sheet when it is empty.
bool findSheet(const ZipArchive& zip, const QString& sheet, QString& path, QString& error)
{
    QByteArray workbook, relations;
    if (!zip.read(QStringLiteral("xl/workbook.xml"), workbook, error) ||
        !zip.read(QStringLiteral("xl/_rels/workbook.xml.rels"), relations, error))
        return false;
    QString relation;
    QStringList names;
    QXmlStreamReader xml(workbook);
    while (!xml.atEnd() && relation.isEmpty()) {
        if (xml.readNext() != QXmlStreamReader::StartElement || xml.name() != u"sheet")
            continue;
        const auto attributes = xml.attributes();
        names.append(attributes.value(QLatin1String("name")).toString());
        if (sheet.isEmpty() || names.last() == sheet)
            for (const auto& attribute : attributes)
                if (attribute.name() == u"id") // r:id, whatever the prefix
                    relation = attribute.value().toString();
    }
    if (relation.isEmpty()) {
        error = sheet.isEmpty() ? QStringLiteral("สมุดงานนี้ไม่มีแผ่นงานเลย")
                                : QStringLiteral("ไม่มีแผ่นงานชื่อ \"%1\"  (แผ่นงานที่มี: %2)")
                                      .arg(sheet, names.join(QStringLiteral(", ")));
        return false;
    }
    QXmlStreamReader rels(relations);
    while (!rels.atEnd()) {
        if (rels.readNext() != QXmlStreamReader::StartElement || rels.name() != u"Relationship" ||
            rels.attributes().value(QLatin1String("Id")) != relation)
            continue;
        const QString target = rels.attributes().value(QLatin1String("Target")).toString();
        path = target.startsWith(u'/') ? target.mid(1) : QStringLiteral("xl/") + target;
        return true;
    }
    error = QStringLiteral("ไม่พบแผ่นงานที่สมุดงานอ้างถึง");
    return false;
}

// A number cell as Excel shows it in a general format: a whole number as its digits.
QString numberText(QStringView written)
{
    bool ok = false;
    const double value = written.toDouble(&ok);
    if (ok && std::floor(value) == value && std::fabs(value) < 1e15)
        return QString::number(qlonglong(value));
    return written.toString();
}

// Where a cell reference such as "C12" puts the cell: its column, counted from 0; -1 without one.
qsizetype referencedColumn(QStringView reference)
{
    qsizetype letters = 0;
    while (letters < reference.size() && reference[letters].isLetter())
        ++letters;
    return letters == 0 ? -1 : columnIndex(reference.first(letters));
}

// The sheet's cells into `table`, read token by token: a class of six million cells is read without
// a string made per cell, except for the numbers and texts that are not shared.
bool readSheet(const QByteArray& xmlBytes, const QStringList& shared, Table& table)
{
    enum class Kind { Number, Shared, Text };
    QXmlStreamReader xml(xmlBytes);
    qsizetype rows = 0;    // rows ended so far
    qsizetype columns = 0; // cells of the current row so far
    bool inRow = false, inCell = false, inValue = false, valueGiven = false;
    Kind kind = Kind::Number;
    QString value; // the text of an inline string or a formula's result, which may come in pieces
    while (!xml.atEnd()) {
        switch (xml.readNext()) {
        case QXmlStreamReader::StartElement: {
            const QStringView name = xml.name();
            if (name == u"c" && inRow) {
                const QXmlStreamAttributes attributes = xml.attributes();
                const QStringView type = attributes.value(QLatin1String("t"));
                kind = type == u"s"                     ? Kind::Shared
                       : type.isEmpty() || type == u"n" ? Kind::Number
                                                        : Kind::Text;
                const qsizetype column = referencedColumn(attributes.value(QLatin1String("r")));
                if (column >= MaxSheetColumns)
                    return false;
                for (; column > columns; ++columns)
                    table.addCell({});
                inCell = true;
                valueGiven = false;
                value.resize(0); // keeps its room for the next cell, unlike clear()
            } else if (inCell && (name == u"v" || name == u"t")) {
                inValue = true;
            } else if (name == u"rPh") { // a phonetic guide is not the cell's text
                xml.skipCurrentElement();
            } else if (name == u"row") {
                if (inRow) {
                    table.endRow();
                    ++rows;
                }
                // Rows Excel leaves out are empty rows, so that the others keep their numbers.
                bool numbered = false;
                const qsizetype number = xml.attributes().value(QLatin1String("r")).toLongLong(&numbered);
                if (numbered && number > MaxSheetRows)
                    return false;
                for (; numbered && rows + 1 < number; ++rows)
                    table.endRow();
                inRow = true;
                columns = 0;
            }
            break;
        }
        case QXmlStreamReader::Characters:
            if (inValue)
                value += xml.text();
            break;
        case QXmlStreamReader::EndElement: {
            const QStringView name = xml.name();
            if (name == u"v" || name == u"t") {
                inValue = false;
                valueGiven = true;
            } else if (name == u"c" && inCell) {
                inCell = false;
                if (!valueGiven) {
                    table.addCell({});
                } else if (kind == Kind::Shared) {
                    const qsizetype index = QStringView(value).toLongLong();
                    table.addCell(index >= 0 && index < shared.size() ? QStringView(shared[index])
                                                                      : QStringView());
                } else {
                    table.addCell(kind == Kind::Number ? numberText(value) : value);
                }
                ++columns;
            }
            break;
        }
        default:
            break;
        }
    }
    if (inRow)
        table.endRow();
    table.sparse = true;
    return !xml.hasError();
}

} // namespace

bool looksLikeZip(const QByteArray& bytes)
{
    return bytes.startsWith("PK\x03\x04");
}

bool looksLikeCompoundFile(const QByteArray& bytes)
{
    return bytes.startsWith("\xD0\xCF\x11\xE0\xA1\xB1\x1A\xE1");
}

bool readXlsx(const QByteArray& bytes, const QString& name, const QString& sheet, Table& table,
              QString& error)
{
    if (looksLikeCompoundFile(bytes)) {
        error = refused(name, QStringLiteral("แฟ้มนี้ถูกตั้งรหัสผ่านไว้ หรือเป็นแฟ้ม Excel รุ่นเก่า (.xls)  "
                                             "ถ้าตั้งรหัสผ่านไว้ ให้เอารหัสผ่านออกก่อน"));
        return false;
    }
    ZipArchive zip;
    QString reason;
    if (!zip.open(bytes, reason)) {
        error = refused(name, QStringLiteral("แฟ้มนี้ไม่ใช่แฟ้ม Excel (.xlsx) หรือเสียหาย: %1").arg(reason));
        return false;
    }
    QString sheetPath;
    if (!findSheet(zip, sheet, sheetPath, reason)) {
        error = refused(name, reason);
        return false;
    }
    QStringList shared;
    QByteArray part;
    const QString sharedPath = QStringLiteral("xl/sharedStrings.xml");
    if (zip.contains(sharedPath) &&
        (!zip.read(sharedPath, part, reason) || !readSharedStrings(part, shared))) {
        error = refused(name, reason.isEmpty() ? QStringLiteral("ข้อความในแฟ้มเสียหาย") : reason);
        return false;
    }
    if (!zip.read(sheetPath, part, reason)) {
        error = refused(name, reason);
        return false;
    }
    if (!readSheet(part, shared, table)) {
        error = refused(name, QStringLiteral("แผ่นงานในแฟ้มเสียหาย"));
        return false;
    }
    return true;
}
