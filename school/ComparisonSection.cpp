#include "school/ComparisonSection.h"

#include "report/NumberFormat.h"

#include <QStringList>

#include <algorithm>

namespace {

const char* const Style = R"(
  table.groups tr.differs td { background: #fff3e0; font-weight: bold; }
  table.groups td.spread { border-left: 2px solid #999; }
)";

QString shown(const Index& value, NumberText (*format)(double))
{
    return value ? format(*value).toString() : QStringLiteral("—");
}

QString groupTable(const std::vector<GroupFigures>& figures, const ComparisonTexts& texts)
{
    QString html = QStringLiteral("<div class=\"scroll\"><table class=\"groups\">\n<thead><tr><th>%1</th>"
                                  "<th>ผู้สอบ (คน) <span class=\"en\">(Pupils)</span></th>"
                                  "<th>ค่าเฉลี่ย <span class=\"en\">(Mean)</span></th><th>SD</th><th>KR-20</th>"
                                  "</tr></thead>\n<tbody>\n")
                       .arg(texts.group);
    for (const GroupFigures& group : figures)
        html += QStringLiteral("<tr><td>%1</td><td class=\"num\">%2</td><td class=\"num\">%3</td>"
                               "<td class=\"num\">%4</td><td class=\"num\">%5</td></tr>\n")
                    .arg(group.name.toHtmlEscaped(), QString::number(group.pupils),
                         shown(group.mean, formatTwoDecimals), shown(group.sd, formatTwoDecimals),
                         shown(group.kr20, formatThreeDecimals));
    return html + QStringLiteral("</tbody></table></div>\n");
}

QString itemTable(const std::vector<GroupFigures>& figures, const std::vector<int>& differing,
                  const ComparisonTexts& texts)
{
    QString html = QStringLiteral("<div class=\"scroll\"><table class=\"groups\">\n<thead><tr><th>ข้อ</th>");
    for (const GroupFigures& group : figures)
        html +=
            QStringLiteral("<th>p %1 %2</th><th>D %1 %2</th>").arg(texts.group, group.name.toHtmlEscaped());
    html += QStringLiteral("<th>ผลต่าง p <span class=\"en\">(Spread)</span></th></tr></thead>\n<tbody>\n");
    const std::size_t items = figures.empty() ? 0 : figures.front().difficulty.size();
    for (std::size_t j = 0; j < items; ++j) {
        const bool differs = std::binary_search(differing.begin(), differing.end(), int(j) + 1);
        html += differs ? QStringLiteral("<tr class=\"differs\"><td>◆ %1</td>").arg(j + 1)
                        : QStringLiteral("<tr><td>%1</td>").arg(j + 1);
        Index low, high;
        for (const GroupFigures& group : figures) {
            const Index& p = group.difficulty[j];
            html += QStringLiteral("<td class=\"num\">%1</td><td class=\"num\">%2</td>")
                        .arg(shown(p, formatTwoDecimals), shown(group.discrimination[j], formatTwoDecimals));
            if (p) {
                low = low ? std::min(*low, *p) : *p;
                high = high ? std::max(*high, *p) : *p;
            }
        }
        const Index spread = low ? Index(*high - *low) : Index();
        html +=
            QStringLiteral("<td class=\"num spread\">%1</td></tr>\n").arg(shown(spread, formatTwoDecimals));
    }
    return html + QStringLiteral("</tbody></table></div>\n");
}

} // namespace

void addComparisonSection(const std::vector<GroupFigures>& figures, const ComparisonTexts& texts,
                          HtmlAdditions& additions)
{
    additions.style += QLatin1String(Style);
    QString body;
    if (!texts.note.isEmpty())
        body += QStringLiteral("<p class=\"note\">%1</p>\n").arg(texts.note.toHtmlEscaped());
    body += QStringLiteral("<p>ผลของแต่ละ%1 วิเคราะห์จากผู้สอบของ%1นั้นเท่านั้น ด้วยวิธีเดียวกับรายงานผล</p>\n")
                .arg(texts.group);
    body += groupTable(figures, texts);
    const std::vector<int> differing = differingItems(figures);
    QStringList numbers;
    for (const int item : differing)
        numbers << QString::number(item);
    body +=
        differing.empty()
            ? QStringLiteral("<p>ไม่มีข้อใดที่ความยากต่างกันระหว่าง%1มากเกินกว่าที่ความบังเอิญให้ได้</p>\n").arg(texts.group)
            : QStringLiteral("<p class=\"note\">◆ ข้อที่ความยากต่างกันระหว่าง%1มาก (ผลต่างของ p ตั้งแต่ %2 "
                             "และโอกาสที่ความบังเอิญจะให้ผลต่างเท่านี้ต่ำกว่า 1 %): ข้อ %3  %4</p>\n")
                  .arg(texts.group, formatOneDecimal(DifferingSpread).toString(),
                       numbers.join(QStringLiteral(", ")), texts.why);
    body += itemTable(figures, differing, texts);
    additions.sections.push_back({texts.id, texts.title, texts.english, std::move(body)});
}
