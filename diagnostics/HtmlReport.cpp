#include "diagnostics/HtmlReport.h"

#include "diagnostics/SvgCharts.h"
#include "report/NumberFormat.h"

#include <algorithm>
#include <array>

namespace {

const QString Undefined = QStringLiteral("—");

QString index3(Index value)
{
    return value ? formatThreeDecimals(*value).toString() : Undefined;
}

QString index2(Index value)
{
    return value ? formatTwoDecimals(*value).toString() : Undefined;
}

QString escaped(const QString& text)
{
    return text.toHtmlEscaped();
}

QString badge(Verdict verdict)
{
    return QStringLiteral("<span class=\"verdict %1\">%2 <span class=\"en\">(%3)</span></span>")
        .arg(verdictCode(verdict), verdictThai(verdict), verdictEnglish(verdict));
}

// Badges carry their colour in a border and their verdict in its pattern as well, and the options'
// swatches are borders, so a page printed without background graphics (the browsers' default) still
// tells them apart.
const char* const Style = R"(
  :root { --ink: #1f2328; --muted: #57606a; --accent: #1a5f7a; --line: #d0d7de; --soft: #f3f6f8; }
  * { -webkit-print-color-adjust: exact; print-color-adjust: exact; }
  html { font-size: 16px; -webkit-text-size-adjust: 100%; text-size-adjust: 100%; }
  body { margin: 0; color: var(--ink); background: #fff; line-height: 1.6;
         font-family: "Sarabun", "TH Sarabun New", "Leelawadee UI", "Leelawadee", "Noto Sans Thai", "Tahoma",
                      "Loma", "Garuda", "Waree", sans-serif; }
  main { max-width: 72em; margin: 0 auto; padding: 1.2em 1.5em 3em; }
  h1 { font-size: 1.8em; margin: 0.2em 0 0; color: var(--accent); }
  h2 { font-size: 1.35em; margin: 2em 0 0.6em; padding-bottom: 0.2em; color: var(--accent);
       border-bottom: 2px solid var(--accent); }
  .subtitle { color: var(--muted); margin: 0 0 1em; }
  .en { color: var(--muted); font-size: 0.9em; }
  table { border-collapse: collapse; margin: 0.5em 0 1em; }
  th, td { border: 1px solid var(--line); padding: 0.25em 0.55em; vertical-align: top; text-align: left; }
  th { background: var(--soft); }
  thead { display: table-header-group; }
  tr { break-inside: avoid; }
  td.num { text-align: right; white-space: nowrap; font-variant-numeric: tabular-nums; }
  .scroll { overflow-x: auto; max-width: 100%; }
  table.items { width: 100%; }
  table.items th { font-size: 0.9em; }
  table.items td.reason { min-width: 16em; }
  .verdict { display: inline-block; padding: 0 0.4em; border-radius: 4px; color: #fff; white-space: nowrap;
             background: var(--badge); border: 2px solid var(--badge); }
  .verdict .en { color: inherit; opacity: 0.85; }
  .keep { --badge: #2e7d32; border-style: solid; } .revise { --badge: #e65100; border-style: dashed; }
  .replace-distractor { --badge: #7b1fa2; border-style: dotted; }
  .check-key { --badge: #c62828; border-style: double; border-width: 3px; }
  .small-sample { --badge: #546e7a; border-style: solid; border-width: 1px; }
  .note { margin: 0.8em 0; padding: 0.6em 1em; border-radius: 6px; background: #fff8e1; border: 1px solid #f0d98c; }
  svg.chart { width: 100%; max-width: 720px; height: auto; display: block; font-size: 12px; }
  svg.chart text { fill: var(--ink); font-family: inherit; }
  svg.chart .caption { fill: var(--muted); font-size: 13px; }
  svg.chart .meanlabel { fill: #b71c1c; }
  svg.chart .region { fill: #2e7d32; font-size: 13px; }
  svg.chart .label { font-size: 10px; fill: var(--muted); }
  svg.chart .grid { stroke: #e3e7eb; stroke-width: 1; }
  svg.chart .axis { stroke: #8c959f; stroke-width: 1.2; }
  svg.chart .bar { fill: #5b8fb0; }
  svg.chart .mean { stroke: #b71c1c; stroke-width: 1.5; stroke-dasharray: 5 3; }
  svg.chart .usable { fill: #e8f5e9; stroke: #a5d6a7; }
  .legend span.verdict { margin-right: 0.4em; }
  .cards { display: grid; grid-template-columns: repeat(auto-fill, minmax(16em, 1fr)); gap: 0.9em; }
  figure.card { margin: 0; padding: 0.5em 0.7em; border: 1px solid var(--line); border-radius: 8px;
                break-inside: avoid; min-width: 0; }
  figure.card figcaption { font-weight: bold; margin-bottom: 0.2em; }
  figure.card figcaption .verdict { white-space: normal; max-width: 100%; box-sizing: border-box;
                                   font-weight: normal; font-size: 0.9em; margin: 0.15em 0; }
  figure.card svg.chart { font-size: 11px; }
  figure.card table { width: 100%; margin: 0.3em 0 0; font-size: 0.9em; }
  tr.keyed td { font-weight: bold; }
  .swatch { display: inline-block; width: 1.4em; height: 0; vertical-align: middle; margin-right: 0.3em;
            border-top: 0.3em solid; }
  .o1 { border-color: #1565c0; } .o2 { border-color: #ef6c00; } .o3 { border-color: #2e7d32; }
  .o4 { border-color: #ad1457; } .o5 { border-color: #6d4c41; }
  dl.definitions dt { font-weight: bold; margin-top: 0.6em; }
  dl.definitions dd { margin-left: 1.5em; }
  @media (max-width: 40em) {
    main { padding: 0.8em 0.8em 2em; }
    h1 { font-size: 1.5em; }
    /* A chart drawn 720 wide shrinks to half on a phone: its text grows to stay readable. */
    svg.chart { font-size: 24px; }
    svg.chart .caption, svg.chart .region { font-size: 20px; }
    svg.chart .label { font-size: 20px; }
    figure.card svg.chart, figure.card svg.chart .caption { font-size: 12px; } /* cards keep their size */
    table.summary .verdict { white-space: normal; } /* the item table scrolls instead */
    th, td { padding: 0.2em 0.35em; }
  }
  @page { size: A4; margin: 12mm 11mm; }
  @media print {
    html { font-size: 9pt; }
    body { line-height: 1.35; }
    main { max-width: none; padding: 0; }
    h2 { margin: 1em 0 0.4em; break-after: avoid; }
    table { margin: 0.3em 0 0.6em; }
    th, td { padding: 0.1em 0.35em; }
    .scroll { overflow: visible; }
    table.items td.reason { min-width: 30em; font-size: 0.92em; }
    /* Where background graphics are not printed after all, the badge is its border and its text. */
    .verdict { background: #fff; color: var(--badge); }
    .verdict .en { opacity: 1; }
    svg.chart { max-width: 15cm; }
    .cards { grid-template-columns: repeat(5, 1fr); gap: 0.4em; }
    figure.card { padding: 0.2em 0.3em; border-radius: 4px; }
    figure.card table { font-size: 0.85em; }
    figure.card th, figure.card td { padding: 0 0.2em; }
  }
)";

QString summaryRow(const QString& name, const QString& value, const QString& note)
{
    return QStringLiteral("<tr><th>%1</th><td class=\"num\">%2</td><td>%3</td></tr>\n")
        .arg(name, value, note);
}

QString summary(const TestDiagnostics& test)
{
    QString html =
        QStringLiteral("<h2 id=\"summary\">1. ภาพรวมของแบบสอบ <span class=\"en\">(Test summary)</span></h2>\n"
                       "<div class=\"scroll\"><table class=\"summary\">\n");
    html += summaryRow(QStringLiteral("จำนวนผู้สอบ (Examinees, n)"), QString::number(test.examinees), {});
    html += summaryRow(QStringLiteral("จำนวนข้อ (Items, K)"), QString::number(test.items),
                       QStringLiteral("ตัวเลือก %1 ตัวต่อข้อ (Choices)").arg(test.choices));
    html += summaryRow(QStringLiteral("ค่าเฉลี่ย (Mean)"), index2(test.mean), {});
    html += summaryRow(QStringLiteral("ส่วนเบี่ยงเบนมาตรฐาน (SD)"), index2(test.sd),
                       QStringLiteral("ตัวหาร n − 1 เหมือนรายงานผล"));
    html += summaryRow(QStringLiteral("ความเที่ยง KR-20 (Reliability)"), index3(test.kr20),
                       QStringLiteral("สูตรเดียวกับรายงานผล: pq หารด้วย n แต่ SD² หารด้วย n − 1"));
    html += summaryRow(QStringLiteral("สัมประสิทธิ์แอลฟา (Cronbach's α)"), index3(test.alpha),
                       QStringLiteral("ความแปรปรวนรายข้อและของคะแนนรวมใช้ตัวหารเดียวกัน "
                                      "ข้อสอบถูก-ผิดจึงได้ค่าเท่ากับ KR-20 ที่ใช้ตัวหารเดียวกันทั้งสูตร"));
    html += summaryRow(QStringLiteral("ความเที่ยง KR-21 (Reliability)"), index3(test.kr21),
                       QStringLiteral("ใช้เพียงค่าเฉลี่ยและ SD² (ตัวหาร n − 1) ถือว่าทุกข้อยากเท่ากัน"));
    html += summaryRow(QStringLiteral("ความคลาดเคลื่อนมาตรฐานของการวัด (SEM)"), index2(test.sem),
                       QStringLiteral("หน่วยเป็นคะแนน: SD × √(1 − KR-20) "
                                      "คะแนนจริงของผู้สอบมักอยู่ในช่วงคะแนนที่ได้ ± 1 SEM"));
    html += summaryRow(QStringLiteral("ขนาดกลุ่มสูงและกลุ่มต่ำ 27 % (G)"), QString::number(test.groupSize),
                       QStringLiteral("กลุ่มเดียวกับที่ใช้หาอำนาจจำแนก D"));

    std::array<int, std::size(AllVerdicts)> counts{};
    for (const ItemDiagnostics& item : test.itemList)
        ++counts[std::size_t(item.judgement.verdict)];
    QString verdicts;
    for (Verdict v : AllVerdicts) {
        if (counts[std::size_t(v)] > 0)
            verdicts += QStringLiteral("%1 %2 ข้อ ").arg(badge(v)).arg(counts[std::size_t(v)]);
    }
    html += summaryRow(QStringLiteral("ผลการพิจารณา (Verdicts)"), {}, verdicts.trimmed());
    html += QStringLiteral("</table></div>\n");
    if (test.examinees < SmallClassLimit)
        html +=
            QStringLiteral("<p class=\"note\">ผู้สอบมี %1 คน น้อยกว่า %2 คน ค่าดัชนีรายข้อจึงยังไม่คงที่พอจะตัดสินว่าควรเก็บ "
                           "ปรับปรุง หรือเปลี่ยนตัวลวง ข้อเหล่านี้แสดงเป็น “ผู้สอบน้อยเกินไป” "
                           "ส่วนข้อที่ควรตรวจสอบเฉลยยังแสดงตามปกติ</p>\n")
                .arg(test.examinees)
                .arg(SmallClassLimit);
    if (const QString warning = choiceCodesWarning(test); !warning.isEmpty())
        html += QStringLiteral("<p class=\"note\">%1</p>\n").arg(escaped(warning));
    return html;
}

QString charts(const TestDiagnostics& test)
{
    QString html = QStringLiteral(
        "<h2 id=\"histogram\">2. การกระจายของคะแนน <span class=\"en\">(Score distribution)</span></h2>\n");
    html += histogramSvg(test) + u'\n';
    html += QStringLiteral("<h2 id=\"scatter\">3. ความยากและอำนาจจำแนกรายข้อ "
                           "<span class=\"en\">(Difficulty × discrimination)</span></h2>\n");
    html += scatterSvg(test) + u'\n';
    html += QStringLiteral("<p class=\"legend\">สีของจุด: ");
    for (Verdict v : AllVerdicts)
        html += badge(v) + u' ';
    return html + QStringLiteral("</p>\n");
}

QString itemTable(const TestDiagnostics& test)
{
    QString html = QStringLiteral(
        "<h2 id=\"items\">4. ผลรายข้อ <span class=\"en\">(Items)</span></h2>\n"
        "<div class=\"scroll\"><table class=\"items\">\n"
        "<thead><tr><th>ข้อ <span class=\"en\">(Item)</span></th><th>เฉลย <span class=\"en\">(Key)</span></th>"
        "<th>ความยาก <span class=\"en\">(p)</span></th><th>อำนาจจำแนก <span class=\"en\">(D)</span></th>"
        "<th>สหสัมพันธ์กับคะแนนข้ออื่น <span class=\"en\">(Item–rest r<sub>pb</sub>)</span></th>"
        "<th>ไบซีเรียล <span class=\"en\">(r<sub>bis</sub>)</span></th>"
        "<th>KR-20 ถ้าตัดข้อนี้ <span class=\"en\">(If deleted)</span></th>"
        "<th>ผลการพิจารณา <span class=\"en\">(Verdict)</span></th><th>เหตุผล <span "
        "class=\"en\">(Reason)</span></th></tr></thead>\n<tbody>\n");
    for (const ItemDiagnostics& item : test.itemList) {
        html +=
            QStringLiteral(
                "<tr id=\"row-%1\"><td class=\"num\"><a href=\"#item-%1\">%1</a></td><td>%2</td>"
                "<td class=\"num\">%3</td><td class=\"num\">%4</td><td class=\"num\">%5</td>"
                "<td class=\"num\">%6</td><td class=\"num\">%7</td><td>%8</td><td class=\"reason\">%9</td></tr>\n")
                .arg(QString::number(item.number), escaped(item.key), index3(item.difficulty),
                     index3(item.discrimination), index3(item.pointBiserialRest), index3(item.biserial),
                     index3(item.kr20IfDeleted), badge(item.judgement.verdict),
                     escaped(reasonThai(item, test.examinees)));
    }
    return html + QStringLiteral("</tbody></table></div>\n");
}

QString optionCard(const ItemDiagnostics& item)
{
    QString html =
        QStringLiteral("<figure class=\"card\" id=\"item-%1\"><figcaption>ข้อ %1 เฉลย %2 %3</figcaption>\n")
            .arg(QString::number(item.number), escaped(item.key), badge(item.judgement.verdict));
    html += traceSvg(item);
    html += QStringLiteral("\n<table><tr><th>ตัวเลือก</th><th>ผู้เลือก <span class=\"en\">(p)</span></th>"
                           "<th>r<sub>pb</sub></th><th>ดัชนี 27 %</th></tr>\n");
    for (std::size_t c = 0; c < item.options.size(); ++c) {
        const OptionDiagnostics& o = item.options[c];
        html +=
            QStringLiteral("<tr%1><td><span class=\"swatch o%2\"></span>%2%3</td><td class=\"num\">%4</td>"
                           "<td class=\"num\">%5</td><td class=\"num\">%6</td></tr>\n")
                .arg(o.keyed ? QStringLiteral(" class=\"keyed\"") : QString(), QString::number(c + 1),
                     o.keyed ? QStringLiteral(" (เฉลย)") : QString(), index3(o.proportion),
                     index3(o.pointBiserial), index3(o.groupIndex));
    }
    return html + QStringLiteral("</table></figure>\n");
}

QString optionCards(const TestDiagnostics& test)
{
    QString html = QStringLiteral(
        "<h2 id=\"options\">5. ตัวเลือกในแต่ละกลุ่มคะแนน <span class=\"en\">(Option trace lines)</span></h2>\n"
        "<p>แต่ละเส้นคือสัดส่วนผู้เลือกตัวเลือกนั้นในกลุ่มคะแนน 5 กลุ่ม จากกลุ่มคะแนนต่ำสุด (5) ทางซ้ายถึงกลุ่มคะแนนสูงสุด (1) "
        "ทางขวา เส้นหนาคือตัวเลือกที่เฉลย ข้อที่ดีเส้นเฉลยจะขึ้นจากซ้ายไปขวา และเส้นตัวลวงจะลง "
        "ในตาราง ดัชนี 27 % ของตัวเลือกที่เฉลยคือ (U − L)/G และของตัวลวงคือ (L − U)/G "
        "โดย U และ L คือจำนวนผู้เลือกในกลุ่มสูงและกลุ่มต่ำ 27 % และ G คือขนาดของแต่ละกลุ่ม</p>\n"
        "<div class=\"cards\">\n");
    for (const ItemDiagnostics& item : test.itemList)
        html += optionCard(item);
    return html + QStringLiteral("</div>\n");
}

QString examineeTable(const TestData& data, const TestDiagnostics& test)
{
    const bool names = std::any_of(data.StudName.begin(), data.StudName.end(),
                                   [](const QString& name) { return !name.isEmpty(); });
    QString html = QStringLiteral(
        "<h2 id=\"examinees\">6. ผลรายบุคคล <span class=\"en\">(Examinees)</span></h2>\n"
        "<div class=\"scroll\"><table class=\"examinees\">\n<thead><tr><th>ลำดับที่</th><th>เลขประจำตัว <span "
        "class=\"en\">(ID)</span></th>");
    if (names)
        html += QStringLiteral("<th>ชื่อ <span class=\"en\">(Name)</span></th>");
    html += QStringLiteral("<th>คะแนน <span class=\"en\">(Score)</span></th><th>ช่วง ± 1 SEM</th>"
                           "<th>ตำแหน่งเปอร์เซ็นไทล์ <span class=\"en\">(Percentile rank)</span></th>"
                           "<th>สเตไนน์ <span class=\"en\">(Stanine)</span></th></tr></thead>\n<tbody>\n");
    const double sem = test.sem.value_or(0);
    for (int i = 1; i <= test.examinees; ++i) {
        const int score = test.scores[std::size_t(i) - 1];
        html += QStringLiteral("<tr><td class=\"num\">%1</td><td>%2</td>")
                    .arg(QString::number(i), escaped(data.StudID.value(i)));
        if (names)
            html += QStringLiteral("<td>%1</td>").arg(escaped(data.StudName.value(i)));
        const QString band = test.sem
                                 ? QStringLiteral("%1 – %2").arg(
                                       formatOneDecimal(std::max(0.0, score - sem)).toString(),
                                       formatOneDecimal(std::min(double(test.items), score + sem)).toString())
                                 : Undefined;
        html +=
            QStringLiteral("<td class=\"num\">%1</td><td class=\"num\">%2</td><td class=\"num\">%3</td>"
                           "<td class=\"num\">%4</td></tr>\n")
                .arg(QString::number(score), band, formatOneDecimal(test.percentileRankOf(score)).toString(),
                     QString::number(test.stanineOf(score)));
    }
    return html + QStringLiteral("</tbody></table></div>\n");
}

QString sectionHeading(int number, const QString& id, const QString& title, const QString& english)
{
    return QStringLiteral("<h2 id=\"%1\">%2. %3 <span class=\"en\">(%4)</span></h2>\n")
        .arg(id, QString::number(number), title, english);
}

// The definitions close the page, after the sections others added.
QString definitions(int number)
{
    return QStringLiteral(
               "<h2 id=\"definitions\">%1. นิยามและสูตร <span class=\"en\">(Definitions)</span></h2>\n<dl "
               "class=\"definitions\">\n"
               "<dt>ความยาก (p)</dt><dd>จำนวนผู้ตอบถูก ÷ จำนวนผู้สอบทั้งหมด n</dd>\n"
               "<dt>อำนาจจำแนก (D)</dt><dd>(ผู้ตอบถูกในกลุ่มสูง U − ผู้ตอบถูกในกลุ่มต่ำ L) ÷ G "
               "โดยกลุ่มสูงและกลุ่มต่ำคือผู้สอบ 27 % ที่ได้คะแนนสูงสุดและต่ำสุด G คน เหมือนในรายงานผล</dd>\n"
               "<dt>สหสัมพันธ์กับคะแนนข้ออื่น (Corrected item–rest point-biserial)</dt><dd>สหสัมพันธ์ของเพียร์สันระหว่างการตอบถูก "
               "(1) "
               "หรือผิด (0) กับคะแนนรวมของข้ออื่นทั้งหมด (ไม่นับข้อนี้) ค่าติดลบแปลว่าผู้ตอบถูกกลับได้คะแนนข้ออื่นต่ำกว่าผู้ตอบผิด</dd>\n"
               "<dt>r<sub>pb</sub> ของตัวเลือก (Point-biserial)</dt><dd>สหสัมพันธ์ระหว่างการเลือก (1) หรือไม่เลือก (0) "
               "ตัวเลือกนั้น "
               "กับคะแนนรวม</dd>\n"
               "<dt>ไบซีเรียล (Biserial, r<sub>bis</sub>)</dt><dd>r<sub>bis</sub> = r<sub>pb</sub> × √(pq) ÷ y "
               "โดย r<sub>pb</sub> คือสหสัมพันธ์ของการตอบถูกกับคะแนนรวม และ y คือความสูงของโค้งปกติมาตรฐานที่ตำแหน่งควอนไทล์ "
               "p</dd>\n"
               "<dt>KR-20 ถ้าตัดข้อนี้ (If deleted)</dt><dd>KR-20 สูตรเดียวกับรายงานผล คำนวณจากข้ออื่นที่เหลือ K − 1 "
               "ข้อและคะแนนรวมของข้อเหล่านั้น "
               "ถ้าค่านี้สูงกว่า KR-20 ของทั้งฉบับ การตัดข้อนี้จะทำให้แบบสอบเที่ยงขึ้น</dd>\n"
               "<dt>กลุ่มคะแนน 5 กลุ่ม (Score groups)</dt><dd>เรียงผู้สอบตามคะแนนจากมากไปน้อย (คะแนนเท่ากันเรียงตามลำดับที่ป้อน) "
               "กลุ่มที่ g คือลำดับที่ ⌊(g − 1)n/5⌋ + 1 ถึง ⌊gn/5⌋ กลุ่ม 1 จึงเป็นกลุ่มคะแนนสูงสุด</dd>\n"
               "<dt>ตำแหน่งเปอร์เซ็นไทล์ (Percentile rank)</dt><dd>(จำนวนผู้ได้คะแนนต่ำกว่า + ครึ่งหนึ่งของผู้ได้คะแนนเท่ากัน) ÷ n × "
               "100</dd>\n"
               "<dt>สเตไนน์ (Stanine)</dt><dd>แบ่งตำแหน่งเปอร์เซ็นไทล์ที่ 4, 11, 23, 40, 60, 77, 89 และ 96 "
               "(สัดส่วน 4-7-12-17-20-17-12-7-4 %) ได้ระดับ 1 ถึง 9 ตำแหน่งที่ตรงจุดแบ่งพอดีอยู่ระดับที่สูงกว่า</dd>\n"
               "<dt>ผลการพิจารณา (Verdict)</dt><dd>ใช้เกณฑ์แรกที่เป็นจริงตามลำดับ: "
               "<b>ตรวจสอบเฉลย</b> เมื่อแทบไม่มีผู้เลือกตัวเลือกที่เฉลย (ไม่เกิน 1 คน หรือน้อยกว่า 2 %) แต่มีตัวลวงที่ r<sub>pb</sub> "
               "เป็นบวก หรือสหสัมพันธ์กับคะแนนข้ออื่นติดลบ หรือมีตัวลวงที่ r<sub>pb</sub> สูงกว่าตัวเลือกที่เฉลย "
               "ทั้งนี้ต้องเกินกว่าที่ความบังเอิญให้ได้ (โอกาสต่ำกว่า 10 %); "
               "<b>ผู้สอบน้อยเกินไป</b> เมื่อผู้สอบน้อยกว่า 30 คน; "
               "<b>ควรปรับปรุง</b> เมื่อ p &lt; 0.2 หรือ p &gt; 0.8 หรือ D &lt; 0.2 เกินกว่าที่ความบังเอิญให้ได้; "
               "<b>ควรเปลี่ยนตัวลวง</b> เมื่อมีตัวลวงที่ไม่มีผู้เลือกเลย "
               "หรือกลุ่มสูงเลือกมากกว่ากลุ่มต่ำอย่างน้อย 2 คนและเกินกว่าที่ความบังเอิญให้ได้ (โอกาสต่ำกว่า 5 %); "
               "นอกนั้น <b>เก็บไว้ใช้ได้</b> โดยเหตุผลจะบอกตัวลวงที่ผู้เลือกน้อยกว่า 5 % หรือ (L − U)/G ติดลบไว้ให้ปรับ "
               "ท้ายเหตุผลบอกว่ามั่นใจได้เพียงใด: โอกาสที่ข้อสอบซึ่งอยู่ในเกณฑ์พอดีจะให้ตัวเลขเช่นนี้โดยบังเอิญ "
               "ต่ำกว่า 1 % (มั่นใจได้) ต่ำกว่า 10 % (ค่อนข้างมั่นใจ) หรือมากกว่านั้น (ยังไม่แน่ชัด)</dd>\n"
               "<dt>—</dt><dd>ค่าที่คำนวณไม่ได้ เช่น สหสัมพันธ์ของข้อที่ทุกคนตอบถูก (ความแปรปรวนเป็น 0) หรือกลุ่มที่ไม่มีผู้สอบ</dd>\n"
               "</dl>\n")
        .arg(number);
}

} // namespace

QString composeHtmlReport(const TestData& data, const TestDiagnostics& test, const QString& source,
                          const HtmlAdditions& additions)
{
    QString html =
        QStringLiteral("<!DOCTYPE html>\n<html lang=\"th\">\n<head>\n<meta charset=\"utf-8\"/>\n"
                       // Nothing may be loaded: the page must read the same on any computer, offline.
                       "<meta http-equiv=\"Content-Security-Policy\" "
                       "content=\"default-src 'none'; style-src 'unsafe-inline'\"/>\n"
                       "<meta name=\"viewport\" content=\"width=device-width, initial-scale=1\"/>\n"
                       "<title>ผลการวิเคราะห์ข้อสอบรายข้อ – %1</title>\n<style>")
            .arg(escaped(source));
    html += QLatin1String(Style);
    html += additions.style;
    html += QStringLiteral("</style>\n</head>\n<body>\n<main>\n<header>\n"
                           "<h1>ผลการวิเคราะห์ข้อสอบรายข้อ <span class=\"en\">(Item diagnostics)</span></h1>\n"
                           "<p class=\"subtitle\">แฟ้มข้อมูล %1, ผู้สอบ %2 คน, %3 ข้อ, %4 ตัวเลือก</p>\n")
                .arg(escaped(source), QString::number(test.examinees), QString::number(test.items),
                     QString::number(test.choices));
    html += additions.header + QStringLiteral("</header>\n");
    html += summary(test);
    html += charts(test);
    html += itemTable(test);
    html += optionCards(test);
    html += examineeTable(data, test);
    int number = 7;
    for (const HtmlSection& section : additions.sections) {
        html += sectionHeading(number++, section.id, section.title, section.english);
        html += section.body;
    }
    html += definitions(number);
    // Appended, not added with +, which would copy a large class's whole page.
    html += QStringLiteral("</main>\n</body>\n</html>\n");
    return html;
}
