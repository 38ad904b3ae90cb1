#include "school/IndicatorSection.h"

#include "diagnostics/SvgCharts.h"
#include "report/NumberFormat.h"

#include <QStringList>

#include <algorithm>

namespace {

// At or above this an indicator is mastered well, beyond merely passing.
constexpr double HighMastery = 80;

// The bands carry their meaning in the border's pattern as well as in the colour, so that a page
// printed in black and white, or without background graphics, still tells them apart.
const char* const Style = R"(
  svg.chart .bar.short { fill: #e57373; }
  table.indicators th { white-space: nowrap; }
  table.mastery td.band { min-width: 3.5em; }
  .band.low { background: #ffebee; border-left: 4px double #c62828; }
  .band.pass { background: #fff8e1; border-left: 4px dashed #f9a825; }
  .band.high { background: #e8f5e9; border-left: 4px solid #2e7d32; }
  p.legend .band { display: inline-block; padding: 0 0.5em; margin-right: 0.5em; }
  @media print {
    table.mastery { font-size: 0.9em; }
  }
)";

QString percentText(double percent)
{
    return formatOneDecimal(percent).toString();
}

QLatin1StringView bandOf(double percent, double passMark)
{
    if (percent < passMark)
        return QLatin1StringView("low");
    return percent >= HighMastery ? QLatin1StringView("high") : QLatin1StringView("pass");
}

QString itemList(const QList<int>& items)
{
    QStringList numbers;
    for (const int item : items)
        numbers << QString::number(item);
    return numbers.join(QStringLiteral(", "));
}

QString overview(const Blueprint& blueprint, const IndicatorScores& scores, int items)
{
    const QString mark = QString::number(scores.passMark);
    QString html = QStringLiteral("<p>แผนผังข้อสอบ %1: %2 ตัวชี้วัด  คะแนนตามตัวชี้วัดคือจำนวนข้อที่ตอบถูกในข้อของตัวชี้วัดนั้น "
                                  "คิดเป็นร้อยละของจำนวนข้อ  ผ่านเกณฑ์เมื่อได้อย่างน้อย %3&nbsp;%</p>\n")
                       .arg(blueprint.name.toHtmlEscaped())
                       .arg(blueprint.indicators.size())
                       .arg(mark);
    QList<int> outside;
    for (int item = 1; item <= items; ++item)
        if (blueprint.indicatorOf[std::size_t(item)] < 0)
            outside.append(item);
    if (!outside.isEmpty())
        html += QStringLiteral("<p class=\"note\">ข้อ %1 ไม่อยู่ในตัวชี้วัดใดของแผนผัง จึงไม่นับในคะแนนตามตัวชี้วัด</p>\n")
                    .arg(itemList(outside));

    std::vector<PercentBar> bars;
    for (qsizetype k = 0; k < blueprint.indicators.size(); ++k) {
        const Indicator& indicator = blueprint.indicators[k];
        bars.push_back(
            {indicator.code,
             indicator.description.isEmpty() ? indicator.code
                                             : indicator.code + QStringLiteral(" ") + indicator.description,
             scores.meanPercent[std::size_t(k)], scores.meanPercent[std::size_t(k)] < scores.passMark});
    }
    html += percentBarsSvg(bars, scores.passMark, QStringLiteral("เกณฑ์ผ่าน %1 %").arg(mark),
                           QStringLiteral("ร้อยละเฉลี่ยของห้องตามตัวชี้วัด (Class mastery per indicator)")) +
            u'\n';

    html += QStringLiteral(
        "<div class=\"scroll\"><table class=\"indicators\">\n<thead><tr><th>ตัวชี้วัด <span "
        "class=\"en\">(Indicator)</span></th><th>คำอธิบาย</th><th>ข้อ <span class=\"en\">(Items)</span></th>"
        "<th>คะแนนเฉลี่ย <span class=\"en\">(Mean score)</span></th>"
        "<th>ร้อยละเฉลี่ย <span class=\"en\">(Mean %)</span></th><th>KR-20</th>"
        "<th>ผ่านเกณฑ์ <span class=\"en\">(Passing)</span></th></tr></thead>\n<tbody>\n");
    for (qsizetype k = 0; k < blueprint.indicators.size(); ++k) {
        const Indicator& indicator = blueprint.indicators[k];
        const std::size_t at = std::size_t(k);
        const Index kr20 = scores.kr20[at];
        const QString passing = scores.examinees
                                    ? QStringLiteral("%1 คน (%2 %)")
                                          .arg(scores.passing[at])
                                          .arg(percentText(100.0 * scores.passing[at] / scores.examinees))
                                    : QStringLiteral("—");
        const QString meanScore =
            QStringLiteral("%1 จาก %2")
                .arg(formatTwoDecimals(scores.meanPercent[at] * scores.items[at] / 100).toString(),
                     QString::number(scores.items[at]));
        html += QStringLiteral(
                    "<tr><td>%1</td><td>%2</td><td>%3</td><td class=\"num\">%4</td><td class=\"num\">%5</td>"
                    "<td class=\"num\">%6</td><td class=\"num\">%7</td></tr>\n")
                    .arg(indicator.code.toHtmlEscaped(), indicator.description.toHtmlEscaped(),
                         itemList(indicator.items), meanScore, percentText(scores.meanPercent[at]),
                         kr20 ? formatThreeDecimals(*kr20).toString() : QStringLiteral("—"), passing);
    }
    return html + QStringLiteral("</tbody></table></div>\n");
}

// Appends to `html`, as a large class's table runs to tens of megabytes that a copy would double.
void appendMasteryTable(const TestData& data, const Blueprint& blueprint, const IndicatorScores& scores,
                        QString& html)
{
    const bool names = std::any_of(data.StudName.begin(), data.StudName.end(),
                                   [](const QString& name) { return !name.isEmpty(); });
    const QString mark = QString::number(scores.passMark);
    html +=
        QStringLiteral(
            "<p class=\"legend\">คะแนนของแต่ละคนตามตัวชี้วัด (ร้อยละในวงเล็บ): <span class=\"band low\">ต่ำกว่า %1&nbsp;% "
            "ยังไม่ผ่าน</span><span class=\"band pass\">%1&nbsp;% ขึ้นไป ผ่าน</span>"
            "<span class=\"band high\">%2&nbsp;% ขึ้นไป ดีมาก</span></p>\n")
            .arg(mark, QString::number(std::max(HighMastery, scores.passMark)));
    html += QStringLiteral("<div class=\"scroll\"><table class=\"mastery\">\n<thead><tr><th>ลำดับที่</th>"
                           "<th>เลขประจำตัว <span class=\"en\">(ID)</span></th>");
    if (names)
        html += QStringLiteral("<th>ชื่อ <span class=\"en\">(Name)</span></th>");
    for (const Indicator& indicator : blueprint.indicators)
        html += QStringLiteral("<th title=\"%2\">%1 <span class=\"en\">(เต็ม %3)</span></th>")
                    .arg(indicator.code.toHtmlEscaped(), indicator.description.toHtmlEscaped(),
                         QString::number(indicator.items.size()));
    html += QStringLiteral("</tr></thead>\n<tbody>\n");
    for (int i = 1; i <= data.NumStud; ++i) {
        html += QStringLiteral("<tr><td class=\"num\">%1</td><td>%2</td>")
                    .arg(QString::number(i), data.StudID.value(i).toHtmlEscaped());
        if (names)
            html += QStringLiteral("<td>%1</td>").arg(data.StudName.value(i).toHtmlEscaped());
        // Appended piece by piece: a large class has hundreds of thousands of these cells.
        for (std::size_t k = 0; k < std::size_t(blueprint.indicators.size()); ++k) {
            const double percent = scores.percent(k, i);
            html += QLatin1String("<td class=\"num band ");
            html += bandOf(percent, scores.passMark);
            html += QLatin1String("\">");
            html += QString::number(scores.scores[k][std::size_t(i) - 1]);
            html += QLatin1String(" (");
            html += formatOneDecimal(percent).view();
            html += QLatin1String(")</td>");
        }
        html += QStringLiteral("</tr>\n");
    }
    html += QStringLiteral("</tbody></table></div>\n");
}

QString explanation()
{
    return QStringLiteral(
               "<p>KR-20 ของตัวชี้วัดคำนวณจากข้อของตัวชี้วัดนั้นเสมือนเป็นแบบสอบชุดหนึ่ง ด้วยสูตรเดียวกับของทั้งฉบับ "
               "เฉพาะตัวชี้วัดที่มีอย่างน้อย %1 ข้อ  ตัวชี้วัดที่มีข้อน้อยความเที่ยงจะต่ำ ควรอ่านผลรายคนอย่างระมัดระวัง  "
               "ข้อที่แผนผังระบุความยากที่ตั้งใจไว้ จะมีหมายเหตุในเหตุผลของผลรายข้อเมื่อความยากที่ได้ห่างจากที่ตั้งใจสองระดับขึ้นไป: "
               "ตั้งใจให้ง่ายแต่ p &lt; 0.4, ตั้งใจให้ยากแต่ p ≥ 0.6, ตั้งใจให้ยากปานกลางแต่ p &lt; 0.2 หรือ p ≥ 0.8</p>\n")
        .arg(IndicatorKr20MinItems);
}

} // namespace

void addIndicatorSection(const TestData& data, const Blueprint& blueprint, const IndicatorScores& scores,
                         HtmlAdditions& additions)
{
    additions.style += QLatin1String(Style);
    QString body = overview(blueprint, scores, data.NumItems);
    appendMasteryTable(data, blueprint, scores, body);
    body += explanation();
    additions.sections.push_back({QStringLiteral("indicators"), QStringLiteral("ผลตามตัวชี้วัด"),
                                  QStringLiteral("Indicators"), std::move(body)});
}
