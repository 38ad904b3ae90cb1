#include "school/Gradebook.h"

#include "analysis/Answers.h"
#include "analysis/StandardScores.h"
#include "diagnostics/CsvReport.h"
#include "report/NumberFormat.h"
#include "school/DifficultyIntent.h"

#include <QDir>
#include <QFileInfo>
#include <QUrl>

namespace {

SheetCell text(const QString& value)
{
    return {value, false, 0};
}

SheetCell whole(std::int64_t value)
{
    return {QString::number(value), true, 0};
}

SheetCell decimal(double value, int decimals)
{
    const NumberText shown = decimals == 1   ? formatOneDecimal(value)
                             : decimals == 2 ? formatTwoDecimals(value)
                                             : formatThreeDecimals(value);
    return {shown.toString(), true, decimals};
}

// An undefined index is an empty cell, never a number.
SheetCell decimal(Index value, int decimals)
{
    return value ? decimal(*value, decimals) : text(QString());
}

Sheet pupils(const TestData& data, const TestDiagnostics& test, const Blueprint* blueprint,
             const IndicatorScores* scores, const std::vector<PupilGroups>& groups)
{
    Sheet sheet{QStringLiteral("คะแนน"), {}, {0}};
    SheetRow header{text(QStringLiteral("เลขประจำตัว")), text(QStringLiteral("ชื่อ"))};
    for (const PupilGroups& grouping : groups)
        header.push_back(text(grouping.heading));
    header.insert(header.end(),
                  {text(QStringLiteral("คะแนนดิบ (เต็ม %1)").arg(test.items)), text(QStringLiteral("ร้อยละ")),
                   text(QStringLiteral("คะแนน Z")), text(QStringLiteral("คะแนน T")),
                   text(QStringLiteral("ตำแหน่งเปอร์เซ็นไทล์")), text(QStringLiteral("สเตไนน์"))});
    if (scores)
        for (const Indicator& indicator : blueprint->indicators)
            header.push_back(text(QStringLiteral("ร้อยละ %1").arg(indicator.code)));
    sheet.rows.push_back(std::move(header));

    for (int i = 1; i <= test.examinees; ++i) {
        const int score = test.scores[std::size_t(i) - 1];
        const double z = zScore(score, test.mean, test.sd);
        // The percentile rank is (pupils scoring below + half of those scoring the same) / n × 100,
        // and the stanine cuts it at the 4-7-12-17-20-17-12-7-4 % bands: the visual report's figures.
        SheetRow row{text(data.StudID.value(i)), text(data.StudName.value(i))};
        for (const PupilGroups& grouping : groups)
            row.push_back(text(grouping.names.value(grouping.groupOf[std::size_t(i) - 1])));
        row.insert(row.end(), {whole(score), decimal(test.items ? 100.0 * score / test.items : 0.0, 1),
                               decimal(z, 2), decimal(tScore(z), 2), decimal(test.percentileRankOf(score), 1),
                               whole(test.stanineOf(score))});
        if (scores)
            for (std::size_t k = 0; k < scores->items.size(); ++k)
                row.push_back(decimal(scores->percent(k, i), 1));
        sheet.rows.push_back(std::move(row));
    }
    return sheet;
}

// Answers that are no choice, per item: blank (a space, or nothing), several marks ("*"), and any
// other character that is no choice code.
struct NonChoices {
    std::vector<int> blank, several, invalid; // per item 1..items
};

NonChoices nonChoices(const TestData& data, int choices)
{
    const std::size_t size = std::size_t(data.NumItems) + 1;
    NonChoices counts{std::vector<int>(size, 0), std::vector<int>(size, 0), std::vector<int>(size, 0)};
    for (int i = 1; i <= data.NumStud; ++i) {
        const AnswerRow row = answerRow(data, i);
        row.visit([&]<typename Cell>(const Cells<Cell>& cells) {
            for (int item = 1; item <= data.NumItems; ++item) {
                const unsigned c = item <= cells.count ? unsigned(cells.cells[item - 1]) : unsigned(' ');
                if (c == u' ')
                    ++counts.blank[std::size_t(item)];
                else if (c == u'*')
                    ++counts.several[std::size_t(item)];
                else if (c < u'1' || c >= u'1' + unsigned(choices))
                    ++counts.invalid[std::size_t(item)];
            }
        });
    }
    return counts;
}

// The test's figures take the first seven rows; a blank row, then the items' table.
constexpr std::size_t ItemHeading = 8;

// With a blueprint, each item's row also names its indicator, intended difficulty and Bloom level.
Sheet testFigures(const TestData& data, const TestDiagnostics& test, const Blueprint* blueprint)
{
    Sheet sheet{QStringLiteral("แบบสอบ"), {}, {0, ItemHeading}};
    sheet.rows = {
        {text(QStringLiteral("รายการ")), text(QStringLiteral("ค่า"))},
        {text(QStringLiteral("จำนวนผู้สอบ (คน)")), whole(test.examinees)},
        {text(QStringLiteral("จำนวนข้อ")), whole(test.items)},
        {text(QStringLiteral("ค่าเฉลี่ย")), decimal(test.mean, 2)},
        {text(QStringLiteral("ส่วนเบี่ยงเบนมาตรฐาน (SD)")), decimal(test.sd, 2)},
        {text(QStringLiteral("ความเที่ยง KR-20")), decimal(test.kr20, 3)},
        {text(QStringLiteral("ความคลาดเคลื่อนมาตรฐานของการวัด (SEM)")), decimal(test.sem, 2)},
        {}, // ItemHeading follows
        {text(QStringLiteral("ข้อ")), text(QStringLiteral("เฉลย")), text(QStringLiteral("ความยาก p")),
         text(QStringLiteral("อำนาจจำแนก D")), text(QStringLiteral("ไม่ตอบ")),
         text(QStringLiteral("ตอบหลายตัว (*)")), text(QStringLiteral("ตอบเป็นอักขระอื่น"))},
    };
    if (blueprint)
        for (const QString& heading :
             {QStringLiteral("ตัวชี้วัด"), QStringLiteral("ความยากที่ตั้งใจ"), QStringLiteral("ระดับพฤติกรรม")})
            sheet.rows[ItemHeading].push_back(text(heading));
    const NonChoices counts = nonChoices(data, test.choices);
    for (const ItemDiagnostics& item : test.itemList) {
        const std::size_t at = std::size_t(item.number);
        SheetRow row{whole(item.number),          text(item.key),
                     decimal(item.difficulty, 3), decimal(item.discrimination, 3),
                     whole(counts.blank[at]),     whole(counts.several[at]),
                     whole(counts.invalid[at])};
        if (blueprint) {
            const int indicator = blueprint->indicatorOf[at];
            row.push_back(text(indicator < 0 ? QString() : blueprint->indicators[indicator].code));
            row.push_back(text(intendedDifficultyThai(blueprint->intent[at])));
            row.push_back(text(blueprint->bloom[at]));
        }
        sheet.rows.push_back(std::move(row));
    }
    return sheet;
}

} // namespace

std::vector<Sheet> gradebookSheets(const TestData& data, const TestDiagnostics& test,
                                   const Blueprint* blueprint, const IndicatorScores* scores,
                                   const std::vector<PupilGroups>& groups)
{
    std::vector<Sheet> sheets; // moved in: a braced list would copy a large class's rows
    sheets.push_back(pupils(data, test, blueprint, scores, groups));
    sheets.push_back(testFigures(data, test, blueprint));
    return sheets;
}

QString composeSheetCsv(const Sheet& sheet)
{
    QString csv = QChar(0xFEFF);
    for (const SheetRow& row : sheet.rows) {
        for (std::size_t column = 0; column < row.size(); ++column) {
            if (column > 0)
                csv += u',';
            csv += csvField(row[column].text);
        }
        csv += QStringLiteral("\r\n");
    }
    return csv;
}

bool isWorkbookName(const QString& path)
{
    return QFileInfo(path).suffix().compare(u"xlsx", Qt::CaseInsensitive) == 0;
}

QString gradebookNameProblem(const QString& path)
{
    const QString suffix = QFileInfo(path).suffix().toLower();
    if (suffix != u"csv" && suffix != u"xlsx")
        return QStringLiteral("--gradebook %1: ชื่อแฟ้มต้องลงท้ายด้วย .csv หรือ .xlsx เพื่อบอกชนิดของแฟ้ม").arg(path);
    if (suffix == u"xlsx" && !gradebookXlsxAvailable())
        return QStringLiteral("--gradebook %1: โปรแกรมรุ่นนี้เขียนแฟ้ม .xlsx ไม่ได้  กรุณาใช้ชื่อที่ลงท้ายด้วย .csv "
                              "แทน ซึ่งเปิดด้วย Excel หรือโปรแกรมตารางคำนวณอื่นได้เช่นกัน")
            .arg(path);
    return {};
}

QString gradebookLinkHtml(const QString& htmlPath, const QString& gradebookPath)
{
    const QString folder =
        htmlPath == QLatin1String("-") ? QDir::currentPath() : QFileInfo(htmlPath).absolutePath();
    const QString relative = QDir(folder).relativeFilePath(QFileInfo(gradebookPath).absoluteFilePath());
    return QStringLiteral("<p class=\"subtitle\">สมุดคะแนนของห้องนี้ (Gradebook): <a href=\"%1\">%2</a></p>\n")
        .arg(QString::fromUtf8(QUrl::toPercentEncoding(relative, "/")).toHtmlEscaped(),
             QFileInfo(gradebookPath).fileName().toHtmlEscaped());
}
