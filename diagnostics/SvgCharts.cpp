#include "diagnostics/SvgCharts.h"

#include "report/NumberFormat.h"

#include <QStringList>

#include <algorithm>
#include <cmath>
#include <vector>

namespace {

QString n1(double value)
{
    return QString::number(value, 'f', 1);
}

// A step of 1, 2 or 5 times a power of ten that divides 0..top into at most `ticks` parts.
double tickStep(double top, int ticks)
{
    const double rough = std::max(top, 1.0) / ticks;
    const double power = std::pow(10.0, std::floor(std::log10(rough)));
    for (double factor : {1.0, 2.0, 5.0})
        if (factor * power >= rough)
            return factor * power;
    return 10 * power;
}

// A plot area inside an SVG of the given size, mapping data to picture coordinates.
struct Frame {
    double left, top, right, bottom; // the plot area in picture coordinates
    double xMin, xMax, yMin, yMax;   // the data range it shows

    double x(double value) const { return left + (value - xMin) / (xMax - xMin) * (right - left); }
    double y(double value) const { return bottom - (value - yMin) / (yMax - yMin) * (bottom - top); }
};

QString svgOpen(int width, int height, const QString& label)
{
    return QStringLiteral("<svg xmlns=\"http://www.w3.org/2000/svg\" viewBox=\"0 0 %1 %2\" role=\"img\" "
                          "aria-label=\"%3\" class=\"chart\">")
        .arg(width)
        .arg(height)
        .arg(label.toHtmlEscaped());
}

QString line(double x1, double y1, double x2, double y2, const QString& attributes)
{
    return QStringLiteral("<line x1=\"%1\" y1=\"%2\" x2=\"%3\" y2=\"%4\" %5/>")
        .arg(n1(x1), n1(y1), n1(x2), n1(y2), attributes);
}

QString text(double x, double y, const QString& content, const QString& attributes = {})
{
    return QStringLiteral("<text x=\"%1\" y=\"%2\" %3>%4</text>")
        .arg(n1(x), n1(y), attributes, content.toHtmlEscaped());
}

// Horizontal grid lines with their values at the left edge.
QString horizontalGrid(const Frame& f, double step, int decimals)
{
    QString svg;
    for (double value = std::ceil(f.yMin / step) * step; value <= f.yMax + step / 1000; value += step) {
        const double y = f.y(value);
        svg += line(f.left, y, f.right, y, QStringLiteral("class=\"grid\""));
        svg += text(f.left - 6, y + 4, QString::number(std::abs(value) < 1e-9 ? 0 : value, 'f', decimals),
                    QStringLiteral("text-anchor=\"end\""));
    }
    return svg;
}

// The captions of a chart's axes: the horizontal one centred at `baseline`, the vertical one turned
// up along the left edge.
QString axisCaptions(const Frame& f, double baseline, const QString& horizontal, const QString& vertical)
{
    const double middle = (f.top + f.bottom) / 2;
    return text((f.left + f.right) / 2, baseline, horizontal,
                QStringLiteral("text-anchor=\"middle\" class=\"caption\"")) +
           text(14, middle, vertical,
                QStringLiteral("text-anchor=\"middle\" class=\"caption\" transform=\"rotate(-90 14 %1)\"")
                    .arg(n1(middle)));
}
} // namespace

QString verdictColor(Verdict verdict)
{
    switch (verdict) {
    case Verdict::Keep:
        return QStringLiteral("#2e7d32");
    case Verdict::Revise:
        return QStringLiteral("#e65100");
    case Verdict::ReplaceDistractor:
        return QStringLiteral("#7b1fa2");
    case Verdict::CheckKey:
        return QStringLiteral("#c62828");
    case Verdict::SmallSample:
        return QStringLiteral("#546e7a");
    }
    return {};
}

QString optionColor(int option)
{
    static const char* const colors[] = {"#1565c0", "#ef6c00", "#2e7d32", "#ad1457", "#6d4c41"};
    return QString::fromLatin1(colors[(option - 1) % 5]);
}

QString histogramSvg(const TestDiagnostics& test)
{
    // Up to 60 scores get a bar each; longer tests are binned into at most 50 bars.
    const int scores = test.items + 1;
    const int width = scores <= 60 ? 1 : (scores + 49) / 50;
    const int bins = (scores + width - 1) / width;
    std::vector<int> counts(std::size_t(bins), 0);
    for (int score = 0; score < scores; ++score)
        counts[std::size_t(score / width)] += test.histogram[std::size_t(score)];
    const int highest = std::max(1, *std::max_element(counts.begin(), counts.end()));
    const double step = tickStep(highest, 5);

    const Frame f{56, 16, 700, 214, 0, double(bins), 0, std::ceil(highest / step) * step};
    QString svg = svgOpen(720, 262, QStringLiteral("ฮิสโทแกรมของคะแนน (Score histogram)"));
    svg += horizontalGrid(f, step, 0);
    const double slot = (f.right - f.left) / bins;
    const int labelEvery = int(std::ceil(bins / 20.0));
    for (int b = 0; b < bins; ++b) {
        const int from = b * width;
        const int to = std::min(scores, from + width) - 1;
        const QString range = from == to ? QString::number(from) : QStringLiteral("%1–%2").arg(from).arg(to);
        if (counts[b] > 0) {
            const double top = f.y(counts[b]);
            svg += QStringLiteral("<rect x=\"%1\" y=\"%2\" width=\"%3\" height=\"%4\" class=\"bar\">"
                                  "<title>คะแนน %5: %6 คน</title></rect>")
                       .arg(n1(f.left + b * slot + 1), n1(top), n1(std::max(1.0, slot - 2)),
                            n1(f.bottom - top), range)
                       .arg(counts[b]);
        }
        if (b % labelEvery == 0)
            svg += text(f.left + (b + 0.5) * slot, f.bottom + 16, QString::number(from),
                        QStringLiteral("text-anchor=\"middle\""));
    }
    svg += line(f.left, f.bottom, f.right, f.bottom, QStringLiteral("class=\"axis\""));
    const double meanX = f.left + (test.mean / width + 0.5 / width) * slot;
    svg += line(meanX, f.top, meanX, f.bottom, QStringLiteral("class=\"mean\""));
    svg += text(meanX + 4, f.top + 10,
                QStringLiteral("ค่าเฉลี่ย (Mean) %1").arg(formatTwoDecimals(test.mean).toString()),
                QStringLiteral("class=\"meanlabel\""));
    return svg + axisCaptions(f, 256, QStringLiteral("คะแนน (Score)"), QStringLiteral("จำนวนผู้สอบ (คน)")) +
           QStringLiteral("</svg>");
}

QString scatterSvg(const TestDiagnostics& test)
{
    constexpr int ScatterWidth = 720;
    double lowest = 0;
    for (const ItemDiagnostics& item : test.itemList)
        lowest = std::min(lowest, item.discrimination.value_or(0));
    const Frame f{76, 16, 700, 380, 0, 1, std::min(-0.2, std::floor(lowest * 5) / 5),
                  1}; // room for "-0.2" in large type

    QString svg =
        svgOpen(ScatterWidth, 428, QStringLiteral("ความยากและอำนาจจำแนกรายข้อ (Difficulty × discrimination)"));
    svg += QStringLiteral("<rect x=\"%1\" y=\"%2\" width=\"%3\" height=\"%4\" class=\"usable\"/>")
               .arg(n1(f.x(0.2)), n1(f.y(1)), n1(f.x(0.8) - f.x(0.2)), n1(f.y(0.2) - f.y(1)));
    svg += text(f.x(0.5), f.y(1) + 16, QStringLiteral("เขตข้อสอบที่ใช้ได้ (Usable: 0.2 ≤ p ≤ 0.8, D ≥ 0.2)"),
                QStringLiteral("text-anchor=\"middle\" class=\"region\""));
    svg += horizontalGrid(f, 0.2, 1);
    for (int tenth = 0; tenth <= 10; tenth += 2) {
        const double x = f.x(tenth / 10.0);
        svg += line(x, f.top, x, f.bottom, QStringLiteral("class=\"grid\""));
        svg += text(x, f.bottom + 16, QString::number(tenth / 10.0, 'f', 1),
                    QStringLiteral("text-anchor=\"middle\""));
    }
    svg += line(f.left, f.y(0), f.right, f.y(0), QStringLiteral("class=\"axis\""));

    // Items at the same p and D (common in a small class, where both take few values) share a place:
    // their dots sit side by side around it and one label names them all.
    std::vector<std::vector<const ItemDiagnostics*>> places;
    for (const ItemDiagnostics& item : test.itemList) {
        if (!item.discrimination)
            continue;
        const auto same = std::find_if(places.begin(), places.end(), [&item](const auto& place) {
            return place.front()->difficulty == item.difficulty &&
                   *place.front()->discrimination == *item.discrimination;
        });
        if (same == places.end())
            places.push_back({&item});
        else
            same->push_back(&item);
    }
    const bool labelled = test.items <= 80;
    constexpr double Spacing = 7; // between the centres of dots that share a place
    for (const auto& place : places) {
        const double x = f.x(place.front()->difficulty);
        const double y = f.y(*place.front()->discrimination);
        QStringList numbers;
        for (std::size_t i = 0; i < place.size(); ++i) {
            const ItemDiagnostics& item = *place[i];
            const double cx = x + (double(i) - (place.size() - 1) / 2.0) * Spacing;
            svg += QStringLiteral("<circle cx=\"%1\" cy=\"%2\" r=\"5\" fill=\"%3\" stroke=\"#fff\" "
                                  "stroke-width=\"1\"><title>ข้อ %4: p = %5, D = %6 – %7</title></circle>")
                       .arg(n1(cx), n1(y), verdictColor(item.judgement.verdict))
                       .arg(item.number)
                       .arg(formatThreeDecimals(item.difficulty).toString(),
                            formatThreeDecimals(*item.discrimination).toString(),
                            verdictThai(item.judgement.verdict));
            numbers << QString::number(item.number);
        }
        if (!labelled)
            continue;
        // Right of the dots, or left of them where the picture's edge would cut it (digits and commas
        // are about 6 units wide in the labels' type).
        const QString label = numbers.join(QStringLiteral(", "));
        const double reach = (place.size() - 1) / 2.0 * Spacing + 6;
        const bool leftward = x + reach + 6 * label.size() > ScatterWidth;
        svg += text(leftward ? x - reach : x + reach, y - 4, label,
                    leftward ? QStringLiteral("class=\"label\" text-anchor=\"end\"")
                             : QStringLiteral("class=\"label\""));
    }
    return svg +
           axisCaptions(f, 420, QStringLiteral("ความยาก (Difficulty, p)"),
                        QStringLiteral("อำนาจจำแนก (Discrimination, D)")) +
           QStringLiteral("</svg>");
}

QString traceSvg(const ItemDiagnostics& item)
{
    const Frame f{34, 10, 250, 122, 0, ScoreGroups - 1, 0, 1};
    QString svg = svgOpen(
        260, 162, QStringLiteral("ข้อ %1: สัดส่วนผู้เลือกแต่ละตัวเลือกในกลุ่มคะแนน (Trace lines)").arg(item.number));
    svg += horizontalGrid(f, 0.5, 1);
    // Left to right from the lowest score group (5) to the highest (1).
    for (int position = 0; position < ScoreGroups; ++position)
        svg += text(f.x(position), f.bottom + 14, QString::number(ScoreGroups - position),
                    QStringLiteral("text-anchor=\"middle\""));
    svg += text(f.left, 156, QStringLiteral("← ต่ำ"), QStringLiteral("class=\"caption\""));
    svg += text((f.left + f.right) / 2, 156, QStringLiteral("กลุ่มคะแนน"),
                QStringLiteral("text-anchor=\"middle\" class=\"caption\""));
    svg +=
        text(f.right, 156, QStringLiteral("สูง →"), QStringLiteral("text-anchor=\"end\" class=\"caption\""));

    // Distractors first, so that the key's line is drawn on top.
    for (const bool keyed : {false, true}) {
        for (std::size_t c = 0; c < item.options.size(); ++c) {
            const OptionDiagnostics& option = item.options[c];
            if (option.keyed != keyed)
                continue;
            QString path;
            bool drawing = false;
            QString dots;
            for (int position = 0; position < ScoreGroups; ++position) {
                const Index share = option.groupProportion[std::size_t(ScoreGroups - 1 - position)];
                if (!share) {
                    drawing = false;
                    continue;
                }
                const double x = f.x(position);
                const double y = f.y(*share);
                path += QStringLiteral("%1%2 %3 ")
                            .arg(drawing ? QStringLiteral("L") : QStringLiteral("M"), n1(x), n1(y));
                dots += QStringLiteral("<circle cx=\"%1\" cy=\"%2\" r=\"%3\"/>")
                            .arg(n1(x), n1(y), keyed ? "3" : "2");
                drawing = true;
            }
            const QString color = optionColor(int(c) + 1);
            svg += QStringLiteral(
                       "<g stroke=\"%1\" fill=\"%1\"><path d=\"%2\" fill=\"none\" stroke-width=\"%3\"/>%4"
                       "<title>ตัวเลือก %5%6</title></g>")
                       .arg(color, path.trimmed(), keyed ? QStringLiteral("3") : QStringLiteral("1.5"), dots)
                       .arg(c + 1)
                       .arg(keyed ? QStringLiteral(" (เฉลย)") : QString());
        }
    }
    return svg + QStringLiteral("</svg>");
}

QString percentBarsSvg(const std::vector<PercentBar>& bars, double mark, const QString& markLabel,
                       const QString& label)
{
    constexpr double Row = 26; // a bar and the gap to the next
    const Frame f{170, 24, 680, 24 + Row * double(std::max<std::size_t>(bars.size(), 1)), 0, 100, 0, 1};
    QString svg = svgOpen(720, int(f.bottom) + 44, label);
    for (int percent = 0; percent <= 100; percent += 20) {
        const double x = f.x(percent);
        svg += line(x, f.top, x, f.bottom, QStringLiteral("class=\"grid\""));
        svg += text(x, f.bottom + 16, QString::number(percent), QStringLiteral("text-anchor=\"middle\""));
    }
    for (std::size_t b = 0; b < bars.size(); ++b) {
        const PercentBar& bar = bars[b];
        const double top = f.top + double(b) * Row + 4;
        const QString value = formatOneDecimal(bar.percent).toString();
        svg += text(f.left - 8, top + 13, bar.label, QStringLiteral("text-anchor=\"end\""));
        svg += QStringLiteral("<rect x=\"%1\" y=\"%2\" width=\"%3\" height=\"%4\" class=\"%5\">"
                              "<title>%6: %7 %</title></rect>")
                   .arg(n1(f.left), n1(top), n1(std::max(0.5, f.x(bar.percent) - f.left)), n1(Row - 8),
                        bar.belowMark ? QStringLiteral("bar short") : QStringLiteral("bar"),
                        bar.title.toHtmlEscaped(), value);
        svg += text(f.x(bar.percent) + 4, top + 13, value + QStringLiteral(" %"));
    }
    svg += line(f.left, f.top, f.left, f.bottom, QStringLiteral("class=\"axis\""));
    svg += line(f.x(mark), f.top - 6, f.x(mark), f.bottom, QStringLiteral("class=\"mean\""));
    svg +=
        text(f.x(mark), f.top - 10, markLabel, QStringLiteral("text-anchor=\"middle\" class=\"meanlabel\""));
    return svg +
           text((f.left + f.right) / 2, f.bottom + 36, QStringLiteral("ร้อยละเฉลี่ยของห้อง (Class mean, %)"),
                QStringLiteral("text-anchor=\"middle\" class=\"caption\"")) +
           QStringLiteral("</svg>");
}
