#include "Checks.h"

#include "analysis/AnalysisRun.h"
#include "diagnostics/CsvReport.h"
#include "diagnostics/HtmlReport.h"
#include "import/Importer.h"
#include "model/DataFileLoader.h"
#include "report/ResultReport.h"
#include "report/TextFile.h"

#include "Workbooks.h"

#include <QBuffer>
#include <QRegularExpression>
#include <QSet>

#include <algorithm>
#include <deque>
#include <optional>

namespace {

bool hasLoadedShape(const TestData& data)
{
    if (data.NumItems != data.AllKeys.size() || data.NumItems < 1 || data.NumItems > MaxCount ||
        data.Keys.size() != data.NumItems + 2 || data.NumStud < 0 || data.NumStud >= MaxCount)
        return false;
    const auto hasArrayShape = [&data](const auto& array) {
        return array.size() == data.NumStud + 2 && array.first().isEmpty() && array.last().isEmpty();
    };
    if (!hasArrayShape(data.StudID) || !hasArrayShape(data.StudAns) || !hasArrayShape(data.StudName))
        return false;
    if (data.AnsMatrix.students() != data.NumStud || data.AnsMatrix.items() != data.NumItems)
        return false;
    for (int i = 1; i <= data.NumStud; ++i) {
        const AnswerText& answers = data.StudAns[i];
        // Held as a text made from its characters would be: bytes unless a character needs more.
        if (!(AnswerText(answers.toString()) == answers))
            return false;
        if (data.AnsMatrix.filled(i) != std::min<qsizetype>(answers.size(), data.NumItems))
            return false;
        for (int j = 1; j <= data.AnsMatrix.filled(i); ++j)
            if (data.AnsMatrix.at(i, j) != QString(answers.at(j - 1)))
                return false;
    }
    return true;
}

class IgnoredMessages : public AnalysisMessages {
public:
    void warning(const QString&, const QString&) override {}
};

AnalysisSelection boxesFrom(unsigned bits)
{
    AnalysisSelection boxes;
    for (std::size_t box = 0; box < boxes.chkStat.size(); ++box)
        boxes.chkStat[box] = bits >> box & 1;
    for (std::size_t box = 0; box < boxes.chkAnalyse.size(); ++box)
        boxes.chkAnalyse[box] = bits >> (boxes.chkStat.size() + box) & 1;
    return boxes;
}

// The number of choices byte 0 asks for; 0 leaves the data's own.
int choicesFrom(unsigned setting)
{
    const int choices[] = {0, 4, 5, 4};
    return choices[setting & 3];
}

// Bytes 0 to 2 of an input: what the teacher chooses.
struct Settings {
    int choiceCount;       // byte 0; 0: the data's own
    TextEncoding encoding; // byte 0
    unsigned boxes;        // the sixteen check boxes, bytes 1 and 2
};

// Loads the data file behind the settings and gives it the choices byte 0 asks for; nothing when
// the input is too short to hold the settings or the file is refused, as neither has more to check.
std::optional<Settings> loadBehindSettings(QByteArrayView input, TestData& data)
{
    if (input.size() < 3)
        return std::nullopt;
    const auto byte = [&input](int index) { return unsigned(uchar(input[index])); };
    const Settings settings{choicesFrom(byte(0)), byte(0) & 4 ? TextEncoding::Utf8 : TextEncoding::Cp874,
                            byte(1) | byte(2) << 8};
    QString error;
    if (!loadDataBytes(input.sliced(3).toByteArray(), data, error))
        return std::nullopt;
    if (settings.choiceCount)
        data.setChoices(settings.choiceCount);
    return settings;
}

// What a number printed from a NaN or an infinity reads, in any case and with any sign.
bool readsNotANumber(QStringView text)
{
    // Most texts hold neither; only those that do are looked at closely.
    if (!text.contains(u"nan", Qt::CaseInsensitive) && !text.contains(u"inf", Qt::CaseInsensitive))
        return false;
    static const QRegularExpression notANumber(QStringLiteral("(?<![A-Za-z])(nan|inf(inity)?)(?![A-Za-z])"),
                                               QRegularExpression::CaseInsensitiveOption);
    return text.toString().contains(notANumber);
}

// `raw` as shown, its character references replaced (in a text kept in `decoded`), or nothing
// when it holds a raw '<' or '"', or an '&' that begins no reference.
std::optional<QStringView> unescaped(QStringView raw, std::deque<QString>& decoded)
{
    if (raw.contains(u'<') || raw.contains(u'"'))
        return std::nullopt;
    if (!raw.contains(u'&'))
        return raw;
    QString& text = decoded.emplace_back();
    text.reserve(raw.size());
    for (qsizetype at = 0; at < raw.size(); ++at) {
        const QChar c = raw[at];
        if (c != u'&') {
            text += c;
            continue;
        }
        const qsizetype end = raw.indexOf(u';', at);
        if (end < 0)
            return std::nullopt;
        const QStringView name = raw.sliced(at + 1, end - at - 1);
        if (name == u"amp")
            text += u'&';
        else if (name == u"lt")
            text += u'<';
        else if (name == u"gt")
            text += u'>';
        else if (name == u"quot")
            text += u'"';
        else {
            const bool hex = name.startsWith(u"#x");
            bool number = false;
            const uint code =
                name.startsWith(u'#') ? name.sliced(hex ? 2 : 1).toUInt(&number, hex ? 16 : 10) : 0;
            if (!number || code == 0 || code > 0x10FFFF)
                return std::nullopt;
            const char32_t character = code;
            text += QString::fromUcs4(&character, 1);
        }
        at = end;
    }
    return QStringView(text);
}

// The name of an element or attribute starting at `at`, which moves past it; empty when none.
QStringView nameAt(QStringView html, qsizetype& at)
{
    const qsizetype start = at;
    while (at < html.size() && (html[at].isLetter() ||
                                (at > start && (html[at].isDigit() || html[at] == u'-' || html[at] == u':'))))
        ++at;
    return html.sliced(start, at - start);
}

struct HtmlContent {
    std::deque<QString> decoded;        // the texts below that held references, with them replaced
    QList<QStringView> texts;           // each text between two tags as shown
    QList<QStringView> attributeValues; // the same for every attribute's value
};

// Reads the strict HTML the diagnostics write: every element closed in order (elements that are
// empty by nature aside), every attribute with a quoted value, style sheets as they are.
bool readHtml(QStringView html, HtmlContent& content)
{
    static const QStringView EmptyElements[] = {u"meta", u"br", u"hr", u"img", u"link", u"input"};
    const QStringView doctype = u"<!DOCTYPE html>";
    qsizetype at = html.startsWith(doctype) ? doctype.size() : 0;
    QList<QStringView> open;
    while (at < html.size()) {
        const qsizetype tag = html.indexOf(u'<', at);
        const qsizetype textEnd = tag < 0 ? html.size() : tag;
        if (textEnd > at) {
            const std::optional<QStringView> text = unescaped(html.sliced(at, textEnd - at), content.decoded);
            if (!text)
                return false;
            content.texts.append(*text);
        }
        if (tag < 0)
            break;
        at = tag + 1;
        const bool closing = at < html.size() && html[at] == u'/';
        at += closing;
        const QStringView name = nameAt(html, at);
        if (name.isEmpty())
            return false;
        if (closing) {
            if (at >= html.size() || html[at] != u'>' || open.isEmpty() || open.last() != name)
                return false;
            open.removeLast();
            ++at;
            continue;
        }
        bool closedAlready = false;
        for (;;) {
            while (at < html.size() && html[at].isSpace())
                ++at;
            if (at >= html.size())
                return false;
            if (html[at] == u'>') {
                ++at;
                break;
            }
            if (html.sliced(at).startsWith(u"/>")) {
                at += 2;
                closedAlready = true;
                break;
            }
            if (nameAt(html, at).isEmpty() || !html.sliced(at).startsWith(u"=\""))
                return false;
            const qsizetype valueEnd = html.indexOf(u'"', at + 2);
            if (valueEnd < 0)
                return false;
            const std::optional<QStringView> value =
                unescaped(html.sliced(at + 2, valueEnd - at - 2), content.decoded);
            if (!value)
                return false;
            content.attributeValues.append(*value);
            at = valueEnd + 1;
        }
        if (closedAlready ||
            std::find(std::begin(EmptyElements), std::end(EmptyElements), name) != std::end(EmptyElements))
            continue;
        if (name == u"style") {
            const QStringView end = u"</style>";
            const qsizetype styleEnd = html.indexOf(end, at);
            if (styleEnd < 0)
                return false;
            at = styleEnd + end.size();
            continue;
        }
        open.append(name);
    }
    return open.isEmpty();
}

// The records of `csv` as RFC 4180 reads them, or nothing when a quote is out of place or a line
// does not end in CR LF.
std::optional<QList<QStringList>> csvRecords(QStringView csv)
{
    QList<QStringList> records;
    QStringList record;
    qsizetype at = 0;
    while (at < csv.size()) {
        QString field;
        if (csv[at] == u'"') {
            for (++at;; ++at) {
                if (at >= csv.size())
                    return std::nullopt;
                if (csv[at] == u'"') {
                    if (at + 1 >= csv.size() || csv[at + 1] != u'"')
                        break;
                    ++at;
                }
                field += csv[at];
            }
            ++at;
        } else {
            for (; at < csv.size() && csv[at] != u',' && csv[at] != u'\r'; ++at) {
                if (csv[at] == u'"' || csv[at] == u'\n')
                    return std::nullopt;
                field += csv[at];
            }
        }
        record.append(field);
        if (at < csv.size() && csv[at] == u',') {
            ++at;
            continue;
        }
        if (!csv.sliced(at).startsWith(u"\r\n"))
            return std::nullopt;
        at += 2;
        records.append(record);
        record.clear();
    }
    if (!record.isEmpty())
        return std::nullopt;
    return records;
}

} // namespace

bool loaderKeepsItsPromises(QByteArrayView file)
{
    TestData data;
    data.DataFile = QStringLiteral("before");
    QString error;
    const bool loaded = loadDataBytes(file.toByteArray(), data, error);
    if (data.DataFile != QLatin1String("before"))
        return false;
    if (loaded)
        return error.isEmpty() && hasLoadedShape(data);
    return !error.isEmpty() && data.NumItems == 0 && data.NumStud == 0 && data.StudID.isEmpty();
}

bool reportKeepsItsPromises(QByteArrayView input)
{
    TestData data;
    const std::optional<Settings> settings = loadBehindSettings(input, data);
    if (!settings)
        return true;
    const TextEncoding encoding = settings->encoding;
    const AnalysisSelection ticked = boxesFrom(settings->boxes);

    // The analysis gets the boxes as the page would leave them; the report any selection at all,
    // as it prints zeros for whatever no run computed.
    AnalysisSelection boxes = applyBoxRules(ticked);
    AnalysisResults results;
    IgnoredMessages messages;
    runAnalysis(data, boxes, results, messages);
    const ReportSelection selection = reportSelection(ticked);

    const QString report = composeReport(data, results, selection);
    const QByteArray whole = encodeText(report, encoding);
    QBuffer pieces;
    pieces.open(QIODevice::WriteOnly);
    if (!streamReport(pieces, data, results, selection, encoding) || pieces.data() != whole)
        return false;
    // The columns are counted in characters, so code page 874 must give each one byte.
    return encoding != TextEncoding::Cp874 || whole.size() == report.toUcs4().size();
}

bool htmlKeepsItsPromises(const QString& html, const QStringList& identifiers, const QString& source)
{
    HtmlContent content;
    if (!readHtml(html, content))
        return false;
    const QSet<QStringView> texts(content.texts.begin(), content.texts.end());
    for (const QString& identifier : identifiers)
        if (!identifier.isEmpty() && !texts.contains(identifier))
            return false;
    if (std::none_of(texts.begin(), texts.end(), [&](QStringView text) { return text.contains(source); }))
        return false;
    // An identifier or the file's name may read "nan" as it likes.
    for (QStringView text : texts)
        if (readsNotANumber(text) && !identifiers.contains(text) && !text.contains(source))
            return false;
    return std::none_of(content.attributeValues.begin(), content.attributeValues.end(), readsNotANumber);
}

bool csvKeepsItsPromises(const QString& csv, int rows)
{
    if (!csv.startsWith(QChar(0xFEFF)))
        return false;
    const std::optional<QList<QStringList>> records = csvRecords(QStringView(csv).sliced(1));
    if (!records || records->size() != rows + 1)
        return false;
    for (const QStringList& record : *records) {
        if (record.size() != records->first().size())
            return false;
        if (std::any_of(record.begin(), record.end(), readsNotANumber))
            return false;
    }
    return true;
}

bool diagnosticsKeepTheirPromises(QByteArrayView input)
{
    TestData data;
    const std::optional<Settings> settings = loadBehindSettings(input, data);
    if (!settings)
        return true;
    const int choiceCount = settings->choiceCount;

    // As qlt runs it: the diagnostics follow any run that finished, whatever its boxes.
    AnalysisSelection boxes = applyBoxRules(boxesFrom(settings->boxes));
    AnalysisResults results;
    IgnoredMessages messages;
    if (!runAnalysis(data, boxes, results, messages).finished)
        return true;
    const TestDiagnostics test = diagnoseTest(data, results, choiceCount);

    // A file name with every character that needs escaping.
    const QString source = QStringLiteral("<ห้อง 1> & \"ม.3\".txt");
    const QStringList identifiers = data.StudID.mid(1, data.NumStud) + data.StudName.mid(1, data.NumStud);
    return htmlKeepsItsPromises(composeHtmlReport(data, test, source), identifiers, source) &&
           csvKeepsItsPromises(composeCsv(test), test.items);
}

QString csvImportDifference(const QByteArray& csv, const ImportOverrides& overrides,
                            std::initializer_list<int> headRows, int* quickRuns)
{
    const QString name = QStringLiteral("class.csv");
    const ImportResult whole = importCsvThroughTable(csv, name, overrides);
    for (const int rows : headRows) {
        ImportResult quick;
        if (!importCsvQuickly(csv, name, overrides, quick, rows))
            continue;
        if (quickRuns)
            ++*quickRuns;
        const std::pair<const char*, bool> fields[] = {
            {"ok", quick.ok == whole.ok},
            {"error", quick.error == whole.error},
            {"preview", quick.preview == whole.preview},
            {"layout", quick.layout == whole.layout},
            {"columns", quick.columns == whole.columns},
            {"headers", quick.headers == whole.headers},
            {"sheets", quick.sheets == whole.sheets},
            {"key source", quick.keySource == whole.keySource},
            {"key row", quick.keyRow == whole.keyRow},
            {"key", quick.key == whole.key},
            {"ids", quick.ids == whole.ids},
            {"names", quick.names == whole.names},
            {"rooms", quick.rooms == whole.rooms},
            {"forms", quick.forms == whole.forms},
            {"summary", quick.summary == whole.summary},
            {"data file", quick.dataFile == whole.dataFile},
        };
        for (const auto& [field, same] : fields)
            if (!same)
                return QStringLiteral("with %1 rows read first, the quick import's %2 differs")
                    .arg(rows)
                    .arg(QLatin1StringView(field));
    }
    return {};
}

bool importKeepsItsPromises(QByteArrayView input)
{
    const QByteArray bytes = input.toByteArray();
    const auto kept = [](const QByteArray& file, const QString& name) {
        const ImportResult result = importSpreadsheetBytes(file, name);
        if (!result.ok)
            return !result.error.isEmpty() && result.dataFile.isEmpty();
        TestData data;
        QString error;
        return loadDataBytes(result.dataFile, data, error) && data.NumStud == result.summary.students &&
               data.NumItems == result.summary.items && result.ids.size() == data.NumStud;
    };
    // Small heads, so that the quick way meets the input's rows and not only its head.
    return csvImportDifference(bytes, {}, {1, 2, 3, 5}).isEmpty() &&
           kept(bytes, QStringLiteral("fuzz.csv")) && kept(bytes, QStringLiteral("fuzz.xlsx")) &&
           kept(workbook(bytes, {QStringLiteral("KEY"), QStringLiteral("A")}, ZipMembers::Deflated),
                QStringLiteral("fuzz.xlsx")) &&
           kept(odsSpreadsheet(bytes), QStringLiteral("fuzz.ods"));
}
