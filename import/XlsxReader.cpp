#include "import/XlsxReader.h"

#include "import/ZipArchive.h"

#include <QDir>
#include <QXmlStreamReader>

#include <algorithm>
#include <array>
#include <cstring>
#include <string>
#include <vector>

namespace {

// The largest sheet Excel makes: a row or column reference beyond it is damage, not a place.
constexpr qsizetype MaxSheetRows = 1'048'576;
constexpr qsizetype MaxSheetColumns = 16'384;
// How much of a sheet's XML is unpacked at a time: small enough to stay in the processor's cache.
constexpr qsizetype SheetWindow = 64 * 1024;

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

// The workbook's sheets in tab order: each one's name and its relation to its part.
struct SheetEntry {
    QString name, relation;
};
QList<SheetEntry> sheetEntries(const QByteArray& workbook)
{
    QList<SheetEntry> sheets;
    QXmlStreamReader xml(workbook);
    while (!xml.atEnd()) {
        if (xml.readNext() != QXmlStreamReader::StartElement || xml.name() != u"sheet")
            continue;
        const auto attributes = xml.attributes();
        SheetEntry entry{attributes.value(QLatin1String("name")).toString(), {}};
        for (const auto& attribute : attributes)
            if (attribute.name() == u"id") // r:id, whatever the prefix
                entry.relation = attribute.value().toString();
        sheets.append(entry);
    }
    return sheets;
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
    for (const SheetEntry& entry : sheetEntries(workbook)) {
        names.append(entry.name);
        if (sheet.isEmpty() || entry.name == sheet) {
            relation = entry.relation;
            break;
        }
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

// Where a cell reference such as "C12" puts the cell: its column, counted from 0; -1 without one.
qsizetype referencedColumn(QByteArrayView reference)
{
    // A letter's place in the alphabet, in either case, counted from 1; 0 for anything else.
    const auto letter = [](char c) {
        const char upper = char(c & ~0x20);
        return upper >= 'A' && upper <= 'Z' ? upper - 'A' + 1 : 0;
    };
    qsizetype column = 0, letters = 0;
    for (; letters < reference.size() && letter(reference[letters]); ++letters) {
        if (letters == 4) // five letters or more: beyond the last column
            return MaxSheetColumns;
        column = column * 26 + letter(reference[letters]);
    }
    return column - 1;
}

// A whole number written as plain digits, read without a string; -1 for anything else.
qint64 plainNumber(QByteArrayView text, qsizetype maxDigits)
{
    if (text.isEmpty() || text.size() > maxDigits)
        return -1;
    qint64 value = 0;
    for (const char digit : text) {
        if (digit < '0' || digit > '9')
            return -1;
        value = value * 10 + (digit - '0');
    }
    return value;
}

// What the scanner asks of every byte of a tag, looked up at once instead of compared in turn.
enum ByteClass : uchar { Space = 1, NameEnd = 2 };
constexpr std::array<uchar, 256> byteClasses = [] {
    std::array<uchar, 256> classes{};
    for (const char c : {' ', '\t', '\n', '\r'})
        classes[uchar(c)] = Space | NameEnd;
    for (const char c : {'>', '/', '='})
        classes[uchar(c)] = NameEnd;
    return classes;
}();

bool isXmlSpace(char c)
{
    return byteClasses[uchar(c)] & Space;
}

bool isNameEnd(char c)
{
    return byteClasses[uchar(c)] & NameEnd;
}

// Whether `text` is `word`; compared inline, as the scanner compares short names millions of times.
bool is(QByteArrayView text, QByteArrayView word)
{
    if (text.size() != word.size())
        return false;
    for (qsizetype at = 0; at < text.size(); ++at)
        if (text[at] != word[at])
            return false;
    return true;
}

// A tag's name without its namespace prefix: Excel writes none, other tools write "x:c".
QByteArrayView localName(QByteArrayView name)
{
    for (qsizetype at = name.size() - 1; at >= 0; --at)
        if (name[at] == ':')
            return name.sliced(at + 1);
    return name;
}

// The cells of a sheet's XML, scanned by hand as it is unpacked, piece by piece. Excel's sheets are
// tens of bytes of markup per cell and a class has six million cells: a general XML reader spends
// most of the import there. This scanner reads only what a sheet holds (rows, cells, their values
// and inline texts, the five XML entities and character references) and refuses what is not well
// formed, as a general reader would.
class SheetScanner {
public:
    SheetScanner(const QStringList& shared, Table& table) : shared_(shared), table_(table)
    {
        names_.reserve(256);
        nameEnds_.reserve(16);
    }

    // Scans the tokens `xml` holds whole: how many bytes they take, the rest (an unfinished tag or
    // text) to be scanned again with what follows; -1 when the XML is damaged. With `last`, `xml`
    // ends the document and must hold whole tokens only.
    qsizetype scan(const char* xml, qsizetype size, bool last);
    // Whether the document ended with its root element closed.
    bool finish()
    {
        table_.sparse = true;
        return rootClosed_ && nameEnds_.empty();
    }

private:
    enum class Kind { Number, Shared, Text };
    enum Step : qsizetype { Incomplete = -1, Damaged = -2 };

    // The token at `at`: where it ends, or a Step.
    qsizetype tag(const char* xml, qsizetype at, qsizetype size);
    // A comment, a CDATA section or a document type.
    qsizetype special(const char* xml, qsizetype at, qsizetype size);
    bool text(QByteArrayView text);
    bool start(QByteArrayView name, QByteArrayView row, QByteArrayView type);
    bool end(QByteArrayView name);
    void endCell();

    const QStringList& shared_;
    Table& table_;
    // The names of the open elements, outermost first, side by side, and where each ends.
    std::string names_;
    std::vector<qsizetype> nameEnds_;
    bool rootClosed_ = false;
    qsizetype rows_ = 0;    // rows ended so far
    qsizetype columns_ = 0; // cells of the current row so far
    bool inRow_ = false, inCell_ = false, inValue_ = false, valueGiven_ = false, phonetic_ = false;
    Kind kind_ = Kind::Number;
    std::string value_; // the cell's value as UTF-8, entities replaced; it may come in pieces
};

qsizetype SheetScanner::scan(const char* xml, qsizetype size, bool last)
{
    qsizetype at = 0;
    while (at < size) {
        if (xml[at] != '<') {
            qsizetype until = at; // the texts of a sheet are short: no call to memchr
            while (until < size && xml[until] != '<')
                ++until;
            if (until == size && !last)
                return at;
            if (!text(QByteArrayView(xml + at, until - at)))
                return -1;
            at = until;
            continue;
        }
        const qsizetype next = tag(xml, at, size);
        if (next == Damaged || (next == Incomplete && last))
            return -1;
        if (next == Incomplete)
            return at;
        at = next;
    }
    return at;
}

// Where a token that opens with `opening` and ends with `closing` ends, if `rest` holds it whole.
qsizetype endOf(QByteArrayView rest, QByteArrayView opening, QByteArrayView closing)
{
    const qsizetype found = rest.indexOf(closing, opening.size());
    return found < 0 ? -1 : found + closing.size();
}

qsizetype SheetScanner::special(const char* xml, qsizetype at, qsizetype size)
{
    const QByteArrayView rest(xml + at, size - at);
    static constexpr QByteArrayView comment("<!--"), cdata("<![CDATA[");
    if (rest.startsWith(comment)) {
        const qsizetype length = endOf(rest, comment, "-->");
        return length < 0 ? Incomplete : at + length;
    }
    // Excel writes no CDATA section, but a text in one is a text all the same.
    if (rest.startsWith(cdata)) {
        const qsizetype length = endOf(rest, cdata, "]]>");
        if (length < 0)
            return Incomplete;
        if (inValue_ && !phonetic_)
            value_.append(rest.data() + cdata.size(), size_t(length - cdata.size() - 3));
        return at + length;
    }
    if (cdata.startsWith(rest) || comment.startsWith(rest))
        return Incomplete;
    return Damaged; // a document type, which could define entities: no sheet has one
}

qsizetype SheetScanner::tag(const char* xml, qsizetype at, qsizetype size)
{
    const QByteArrayView rest(xml + at, size - at);
    if (rest.size() >= 2 && rest[1] == '?') {
        const qsizetype length = endOf(rest, "<?", "?>");
        return length < 0 ? Incomplete : at + length;
    }
    if (rest.size() >= 2 && rest[1] == '!')
        return special(xml, at, size);

    qsizetype i = rest.size() >= 2 && rest[1] == '/' ? 2 : 1;
    const bool closing = i == 2;
    const qsizetype nameStart = i;
    while (i < rest.size() && !isNameEnd(rest[i]))
        ++i;
    if (i == rest.size())
        return Incomplete;
    const QByteArrayView name = rest.sliced(nameStart, i - nameStart);
    if (name.isEmpty())
        return Damaged;
    QByteArrayView row, type; // the attributes the scan needs: r and t
    bool empty = false;
    for (;;) {
        while (i < rest.size() && isXmlSpace(rest[i]))
            ++i;
        if (i == rest.size())
            return Incomplete;
        if (rest[i] == '>') {
            ++i;
            break;
        }
        if (rest[i] == '/' && !closing) {
            if (i + 1 == rest.size())
                return Incomplete;
            if (rest[i + 1] != '>')
                return Damaged;
            empty = true;
            i += 2;
            break;
        }
        if (closing)
            return Damaged;
        const qsizetype attributeStart = i;
        while (i < rest.size() && !isNameEnd(rest[i]))
            ++i;
        const QByteArrayView attribute = rest.sliced(attributeStart, i - attributeStart);
        while (i < rest.size() && isXmlSpace(rest[i]))
            ++i;
        if (i == rest.size())
            return Incomplete;
        if (attribute.isEmpty() || rest[i] != '=')
            return Damaged;
        ++i;
        while (i < rest.size() && isXmlSpace(rest[i]))
            ++i;
        if (i == rest.size())
            return Incomplete;
        const char quote = rest[i];
        if (quote != '"' && quote != '\'')
            return Damaged;
        qsizetype valueEnd = i + 1;
        while (valueEnd < rest.size() && rest[valueEnd] != quote)
            ++valueEnd;
        if (valueEnd == rest.size())
            return Incomplete;
        if (is(attribute, "r"))
            row = rest.sliced(i + 1, valueEnd - i - 1);
        else if (is(attribute, "t"))
            type = rest.sliced(i + 1, valueEnd - i - 1);
        i = valueEnd + 1;
    }
    if (closing)
        return end(name) ? at + i : Damaged;
    if (!start(name, row, type) || (empty && !end(name)))
        return Damaged;
    return at + i;
}

bool SheetScanner::text(QByteArrayView text)
{
    if (nameEnds_.empty()) // outside the root only blanks may stand, and a byte-order mark
        return std::all_of(text.begin(), text.end(),
                           [](char c) { return isXmlSpace(c) || c == '\xEF' || c == '\xBB' || c == '\xBF'; });
    if (!inValue_ || phonetic_)
        return true;
    for (qsizetype at = 0; at < text.size();) {
        qsizetype amp = at;
        while (amp < text.size() && text[amp] != '&')
            ++amp;
        if (amp == text.size()) {
            value_.append(text.data() + at, size_t(text.size() - at));
            break;
        }
        value_.append(text.data() + at, size_t(amp - at));
        const qsizetype semicolon = text.indexOf(';', amp);
        if (semicolon < 0 || semicolon - amp > 10)
            return false;
        const QByteArrayView entity = text.sliced(amp + 1, semicolon - amp - 1);
        at = semicolon + 1;
        static constexpr std::pair<const char*, char> named[] = {
            {"amp", '&'}, {"lt", '<'}, {"gt", '>'}, {"quot", '"'}, {"apos", '\''}};
        const auto found = std::find_if(std::begin(named), std::end(named),
                                        [&](const auto& pair) { return is(entity, pair.first); });
        if (found != std::end(named)) {
            value_.push_back(found->second);
            continue;
        }
        if (entity.size() < 2 || entity[0] != '#')
            return false;
        const bool hex = entity[1] == 'x';
        bool ok = false;
        const uint code = QLatin1StringView(entity.sliced(hex ? 2 : 1)).toUInt(&ok, hex ? 16 : 10);
        if (!ok || code == 0 || code > 0x10FFFF || (code >= 0xD800 && code <= 0xDFFF))
            return false;
        const char32_t character = code;
        value_.append(QString::fromUcs4(&character, 1).toStdString());
    }
    return true;
}

bool SheetScanner::start(QByteArrayView name, QByteArrayView row, QByteArrayView type)
{
    if (rootClosed_) // a second root element
        return false;
    names_.append(name.data(), size_t(name.size()));
    nameEnds_.push_back(qsizetype(names_.size()));
    name = localName(name);
    if (is(name, "c") && inRow_) {
        kind_ = is(type, "s") ? Kind::Shared : type.isEmpty() || is(type, "n") ? Kind::Number : Kind::Text;
        const qsizetype column = referencedColumn(row);
        if (column >= MaxSheetColumns)
            return false;
        for (; column > columns_; ++columns_)
            table_.addCell(QStringView());
        inCell_ = true;
        valueGiven_ = false;
        value_.resize(0); // keeps its room for the next cell, unlike clear()
    } else if (inCell_ && (is(name, "v") || is(name, "t"))) {
        inValue_ = true;
    } else if (is(name, "rPh")) { // a phonetic guide is not the cell's text
        phonetic_ = true;
    } else if (is(name, "row")) {
        if (inRow_) // a row inside a row
            return false;
        // Rows Excel leaves out are empty rows, so that the others keep their numbers.
        const qint64 number = plainNumber(row, 18);
        if (number > MaxSheetRows)
            return false;
        for (; rows_ + 1 < number; ++rows_)
            table_.endRow();
        inRow_ = true;
        columns_ = 0;
    }
    return true;
}

bool SheetScanner::end(QByteArrayView name)
{
    if (nameEnds_.empty())
        return false;
    nameEnds_.pop_back();
    const qsizetype opened = nameEnds_.empty() ? 0 : nameEnds_.back();
    if (!is(name, QByteArrayView(names_).sliced(opened)))
        return false;
    names_.resize(size_t(opened));
    rootClosed_ = nameEnds_.empty();
    name = localName(name);
    if (is(name, "v") || is(name, "t")) {
        if (inValue_ && !phonetic_)
            valueGiven_ = true;
        inValue_ = false;
    } else if (is(name, "rPh")) {
        phonetic_ = false;
    } else if (is(name, "c") && inCell_) {
        endCell();
    } else if (is(name, "row") && inRow_) {
        table_.endRow();
        ++rows_;
        inRow_ = false;
    }
    return true;
}

void SheetScanner::endCell()
{
    inCell_ = false;
    ++columns_;
    const QByteArrayView value(value_.data(), qsizetype(value_.size()));
    if (!valueGiven_) {
        table_.addCell(QStringView());
    } else if (kind_ == Kind::Shared) {
        const qint64 index = plainNumber(value.trimmed(), 10);
        table_.addCell(index >= 0 && index < shared_.size() ? QStringView(shared_[index]) : QStringView());
    } else if (kind_ == Kind::Number && plainNumber(value, 15) >= 0 &&
               (value.size() == 1 || value[0] != '0')) {
        table_.addCell(QLatin1StringView(value)); // the usual whole number, already as Excel shows it
    } else if (kind_ == Kind::Number) {
        table_.addCell(numberCellText(QString::fromUtf8(value)));
    } else if (std::all_of(value.begin(), value.end(), [](char c) { return uchar(c) < 0x80; })) {
        table_.addCell(QLatin1StringView(value));
    } else {
        table_.addCell(QString::fromUtf8(value));
    }
}

// The sheet's cells into `table`, scanned as the member is unpacked: memory holds the workbook, the
// table and a small window of the XML, however large the sheet.
bool readSheet(ZipMemberReader& member, const QStringList& shared, Table& table)
{
    SheetScanner scanner(shared, table);
    // A cell takes 15 bytes of XML at the least (<c><v>1</v></c>): room for that many spares the
    // copies of growing the list of cells a class of millions needs.
    table.reserveCells(member.size() / 15);
    QByteArray window(SheetWindow, Qt::Uninitialized);
    qsizetype filled = 0;
    for (bool last = false; !last;) {
        if (filled == window.size()) // one token longer than the window: a long text
            window.resize(2 * window.size());
        const qsizetype got = member.read(window.data() + filled, window.size() - filled);
        if (got < 0)
            return false;
        filled += got;
        last = got == 0;
        const qsizetype used = scanner.scan(window.constData(), filled, last);
        if (used < 0)
            return false;
        std::memmove(window.data(), window.constData() + used, size_t(filled - used));
        filled -= used;
    }
    return scanner.finish();
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
    ZipMemberReader member;
    if (!zip.open(sheetPath, member, reason)) {
        error = refused(name, reason);
        return false;
    }
    if (!readSheet(member, shared, table)) {
        error = refused(name, QStringLiteral("แผ่นงานในแฟ้มเสียหาย"));
        return false;
    }
    return true;
}

QStringList xlsxSheetNames(const QByteArray& bytes)
{
    ZipArchive zip;
    QString reason;
    QByteArray workbook;
    QStringList names;
    if (zip.open(bytes, reason) && zip.read(QStringLiteral("xl/workbook.xml"), workbook, reason))
        for (const SheetEntry& entry : sheetEntries(workbook))
            names.append(entry.name);
    return names;
}
