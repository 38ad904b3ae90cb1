#include "import/OdsReader.h"

#include "import/ZipArchive.h"

#include <QDir>
#include <QXmlStreamReader>

#include <vector>

namespace {

// The largest sheet Calc makes: more is damage, or a file made to exhaust the memory.
constexpr qsizetype MaxSheetRows = 1'048'576;
constexpr qsizetype MaxSheetColumns = 16'384;
// Repeated rows and cells are written out; past this many cells the sheet is no class's.
constexpr qsizetype MaxSheetCells = qsizetype(1) << 25;
// How much of content.xml is unpacked at a time.
constexpr qsizetype ContentWindow = 64 * 1024;

const QLatin1StringView OdsMediaType("application/vnd.oasis.opendocument.spreadsheet");
const QString TableNs = QStringLiteral("urn:oasis:names:tc:opendocument:xmlns:table:1.0");
const QString TextNs = QStringLiteral("urn:oasis:names:tc:opendocument:xmlns:text:1.0");
const QString OfficeNs = QStringLiteral("urn:oasis:names:tc:opendocument:xmlns:office:1.0");

QString refused(const QString& name, const QString& reason)
{
    return QStringLiteral("อ่านแฟ้ม %1 ไม่ได้ครับ  %2  กรุณาเปิดแฟ้มในโปรแกรมตารางคำนวณ แล้วบันทึกใหม่เป็น .ods หรือ .csv")
        .arg(QDir::toNativeSeparators(name), reason);
}

// content.xml read as it is unpacked, a window at a time, so a large sheet is never held whole.
class Content {
public:
    explicit Content(ZipMemberReader& member) : member_(member), window_(ContentWindow, Qt::Uninitialized) {}

    // The next token, fed with more of the member whenever the reader runs out of it.
    QXmlStreamReader::TokenType next()
    {
        for (;;) {
            const QXmlStreamReader::TokenType token = xml_.readNext();
            if (xml_.error() != QXmlStreamReader::PrematureEndOfDocumentError || unpacked_)
                return token;
            const qsizetype got = member_.read(window_.data(), window_.size());
            if (got < 0) {
                damaged_ = true;
                return QXmlStreamReader::Invalid;
            }
            if (got == 0) {
                unpacked_ = true; // the last readNext() then reports the truncation as it stands
                continue;
            }
            xml_.addData(QByteArray(window_.constData(), got));
        }
    }
    // Reads on to the end of the element just started.
    bool skipElement()
    {
        for (int depth = 1; depth > 0 && ok();) {
            const QXmlStreamReader::TokenType token = next();
            depth += token == QXmlStreamReader::StartElement ? 1
                     : token == QXmlStreamReader::EndElement ? -1
                                                             : 0;
        }
        return ok();
    }
    // Moves to the next element inside the current one: true at its start; false at the current
    // element's end, or when the XML is damaged (ok() tells which).
    bool nextChild()
    {
        for (;;) {
            const QXmlStreamReader::TokenType token = next();
            if (!ok() || token == QXmlStreamReader::EndElement)
                return false;
            if (token == QXmlStreamReader::StartElement)
                return true;
        }
    }
    bool ok() const { return !damaged_ && !xml_.hasError(); }
    bool atEnd() const { return xml_.atEnd(); }
    bool is(const QString& ns, QLatin1StringView local) const
    {
        return xml_.name() == local && xml_.namespaceUri() == ns;
    }
    QString attribute(const QString& ns, QLatin1StringView local) const
    {
        return xml_.attributes().value(ns, local).toString();
    }
    QStringView text() const { return xml_.text(); }

private:
    ZipMemberReader& member_;
    QXmlStreamReader xml_;
    QByteArray window_;
    bool unpacked_ = false;
    bool damaged_ = false;
};

// How many times a row or cell stands for itself: 1 unless the attribute says more.
qsizetype repeats(QStringView written)
{
    if (written.isEmpty())
        return 1;
    bool number = false;
    const qlonglong count = written.toLongLong(&number);
    return number && count >= 1 ? qsizetype(std::min<qlonglong>(count, MaxSheetRows * MaxSheetColumns)) : 1;
}

// One table of content.xml into a Table.
class SheetBuilder {
public:
    SheetBuilder(Content& content, Table& table) : content_(content), table_(table) { table_.sparse = true; }

    // Reads the rows up to the end of the table element just started. False when the XML is
    // damaged or the sheet is too large; `tooLarge` tells which.
    bool read()
    {
        while (content_.nextChild()) {
            const bool grouped = content_.is(TableNs, QLatin1StringView("table-header-rows")) ||
                                 content_.is(TableNs, QLatin1StringView("table-rows")) ||
                                 content_.is(TableNs, QLatin1StringView("table-row-group"));
            if (content_.is(TableNs, QLatin1StringView("table-row")) ? !readRow()
                : grouped                                            ? !read() // the group's rows
                                                                     : !content_.skipElement())
                return false;
        }
        return content_.ok();
    }
    bool tooLarge = false;

private:
    bool readRow()
    {
        const qsizetype times =
            repeats(content_.attribute(TableNs, QLatin1StringView("number-rows-repeated")));
        cells_.clear();
        qsizetype emptyCells = 0; // empty cells not written yet: dropped when they end the row
        while (content_.nextChild()) {
            if (!content_.is(TableNs, QLatin1StringView("table-cell")) &&
                !content_.is(TableNs, QLatin1StringView("covered-table-cell"))) {
                if (!content_.skipElement())
                    return false;
                continue;
            }
            const qsizetype copies =
                repeats(content_.attribute(TableNs, QLatin1StringView("number-columns-repeated")));
            QString text;
            if (!readCell(text))
                return false;
            if (text.isEmpty()) {
                emptyCells += copies;
                continue;
            }
            if (qsizetype(cells_.size()) + emptyCells + copies > MaxSheetColumns)
                return fail();
            cells_.insert(cells_.end(), std::size_t(emptyCells), QString());
            cells_.insert(cells_.end(), std::size_t(copies), text);
            emptyCells = 0;
        }
        if (!content_.ok())
            return false;
        if (cells_.empty()) { // an empty row is written only when a row with cells follows it
            emptyRows_ += times;
            return emptyRows_ <= MaxSheetRows || fail();
        }
        if (table_.rowCount() + emptyRows_ + times > MaxSheetRows ||
            cellCount_ + qsizetype(cells_.size()) * times > MaxSheetCells)
            return fail();
        for (; emptyRows_ > 0; --emptyRows_)
            table_.endRow();
        for (qsizetype copy = 0; copy < times; ++copy) {
            for (const QString& cell : cells_)
                table_.addCell(QStringView(cell));
            table_.endRow();
        }
        cellCount_ += qsizetype(cells_.size()) * times;
        return true;
    }

    // The cell's text: the value of a number, else its paragraphs, each on a line of its own.
    bool readCell(QString& text)
    {
        const QString type = content_.attribute(OfficeNs, QLatin1StringView("value-type"));
        const QString value = content_.attribute(OfficeNs, QLatin1StringView("value"));
        const bool number =
            (type == u"float" || type == u"percentage" || type == u"currency") && !value.isEmpty();
        bool paragraph = false;
        while (content_.nextChild()) {
            if (number || (!content_.is(TextNs, QLatin1StringView("p")) &&
                           !content_.is(TextNs, QLatin1StringView("h")))) {
                if (!content_.skipElement()) // comments, pictures, and a number's formatted text
                    return false;
                continue;
            }
            if (paragraph)
                text += u'\n';
            paragraph = true;
            if (!readParagraph(text))
                return false;
        }
        if (number)
            text = numberCellText(value);
        return content_.ok();
    }

    // A paragraph's text with its spans, its runs of blanks (<text:s text:c="3"/>), tabs and line breaks.
    bool readParagraph(QString& text)
    {
        for (int depth = 1; depth > 0;) {
            const QXmlStreamReader::TokenType token = content_.next();
            if (!content_.ok())
                return false;
            if (token == QXmlStreamReader::Characters) {
                text += content_.text();
            } else if (token == QXmlStreamReader::EndElement) {
                --depth;
            } else if (token == QXmlStreamReader::StartElement) {
                if (content_.is(TextNs, QLatin1StringView("s"))) {
                    text += QString(
                        std::min<qsizetype>(repeats(content_.attribute(TextNs, QLatin1StringView("c"))),
                                            MaxSheetColumns),
                        u' ');
                } else if (content_.is(TextNs, QLatin1StringView("tab"))) {
                    text += u'\t';
                } else if (content_.is(TextNs, QLatin1StringView("line-break"))) {
                    text += u'\n';
                } else if (content_.is(OfficeNs, QLatin1StringView("annotation")) ||
                           content_.is(TextNs, QLatin1StringView("note"))) {
                    if (!content_.skipElement())
                        return false;
                    continue;
                } else {
                    ++depth; // a span or a link: its text is the paragraph's
                    continue;
                }
                if (!content_.skipElement())
                    return false;
            }
        }
        return true;
    }

    bool fail()
    {
        tooLarge = true;
        return false;
    }

    Content& content_;
    Table& table_;
    std::vector<QString> cells_;
    qsizetype emptyRows_ = 0;
    qsizetype cellCount_ = 0;
};

bool isEncrypted(const ZipArchive& zip)
{
    QByteArray manifest;
    QString ignored;
    return zip.read(QStringLiteral("META-INF/manifest.xml"), manifest, ignored) &&
           manifest.contains("encryption-data");
}

} // namespace

bool isOdsArchive(const QByteArray& bytes)
{
    ZipArchive zip;
    QString ignored;
    QByteArray mediaType;
    return zip.open(bytes, ignored) && zip.read(QStringLiteral("mimetype"), mediaType, ignored) &&
           mediaType.trimmed() == OdsMediaType;
}

bool readOds(const QByteArray& bytes, const QString& name, const QString& sheet, Table& table, QString& error,
             QStringList* sheets)
{
    ZipArchive zip;
    QString reason;
    if (!zip.open(bytes, reason)) {
        error = refused(name, QStringLiteral("แฟ้มนี้ไม่ใช่แฟ้มตารางคำนวณ (.ods) หรือเสียหาย: %1").arg(reason));
        return false;
    }
    if (isEncrypted(zip)) {
        error = refused(name, QStringLiteral("แฟ้มนี้ถูกตั้งรหัสผ่านไว้  ให้เอารหัสผ่านออกก่อน"));
        return false;
    }
    ZipMemberReader member;
    if (!zip.open(QStringLiteral("content.xml"), member, reason)) {
        error = refused(name, reason);
        return false;
    }
    Content content(member);
    QStringList names;
    bool found = false;
    while (!content.atEnd()) {
        const QXmlStreamReader::TokenType token = content.next();
        if (!content.ok())
            break;
        if (token != QXmlStreamReader::StartElement || !content.is(TableNs, QLatin1StringView("table")))
            continue;
        names.append(content.attribute(TableNs, QLatin1StringView("name")));
        if (!found && (sheet.isEmpty() || names.last() == sheet)) {
            found = true;
            SheetBuilder builder(content, table);
            if (!builder.read()) {
                if (sheets)
                    *sheets = names;
                error =
                    refused(name, builder.tooLarge ? QStringLiteral("แผ่นงานใหญ่เกินกว่าตารางคะแนนของชั้นเรียนใด ๆ")
                                                   : QStringLiteral("แผ่นงานในแฟ้มเสียหาย"));
                return false;
            }
            if (!sheets)
                return true;
        } else if (!content.skipElement()) {
            break;
        }
    }
    if (sheets)
        *sheets = names;
    if (!content.ok()) {
        error = refused(name, QStringLiteral("แผ่นงานในแฟ้มเสียหาย"));
        return false;
    }
    if (!found) {
        error = refused(name, sheet.isEmpty() ? QStringLiteral("แฟ้มนี้ไม่มีแผ่นงานเลย")
                                              : QStringLiteral("ไม่มีแผ่นงานชื่อ \"%1\"  (แผ่นงานที่มี: %2)")
                                                    .arg(sheet, names.join(QStringLiteral(", "))));
        return false;
    }
    return true;
}
