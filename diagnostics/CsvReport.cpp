#include "diagnostics/CsvReport.h"

#include "report/NumberFormat.h"

QString csvField(const QString& text)
{
    if (!text.contains(u',') && !text.contains(u'"') && !text.contains(u'\r') && !text.contains(u'\n'))
        return text;
    return u'"' + QString(text).replace(u'"', QStringLiteral("\"\"")) + u'"';
}

namespace {

QString number(Index value)
{
    return value ? formatThreeDecimals(*value).toString() : QString();
}

QStringList header(int choices)
{
    QStringList columns{QStringLiteral("item"),     QStringLiteral("key"),
                        QStringLiteral("p"),        QStringLiteral("d"),
                        QStringLiteral("rpb_rest"), QStringLiteral("rpb_total"),
                        QStringLiteral("rbis"),     QStringLiteral("kr20_if_deleted"),
                        QStringLiteral("verdict"),  QStringLiteral("verdict_th"),
                        QStringLiteral("reason_th")};
    for (int k = 1; k <= choices; ++k) {
        const QString option = QStringLiteral("opt%1_").arg(k);
        columns << option + u'p' << option + QStringLiteral("rpb") << option + QStringLiteral("index");
        for (int g = 1; g <= ScoreGroups; ++g)
            columns << option + u'g' + QString::number(g);
    }
    return columns;
}

QStringList row(const ItemDiagnostics& item, int examinees)
{
    QStringList fields{QString::number(item.number),
                       csvField(item.key),
                       number(item.difficulty),
                       number(item.discrimination),
                       number(item.pointBiserialRest),
                       number(item.pointBiserialTotal),
                       number(item.biserial),
                       number(item.kr20IfDeleted),
                       verdictCode(item.judgement.verdict),
                       csvField(verdictThai(item.judgement.verdict)),
                       csvField(reasonThai(item, examinees))};
    for (const OptionDiagnostics& option : item.options) {
        fields << number(option.proportion) << number(option.pointBiserial) << number(option.groupIndex);
        for (const Index& share : option.groupProportion)
            fields << number(share);
    }
    return fields;
}

} // namespace

QString composeCsv(const TestDiagnostics& test)
{
    const QString lineEnd = QStringLiteral("\r\n");
    QString csv = QChar(0xFEFF) + header(test.choices).join(u',') + lineEnd;
    for (const ItemDiagnostics& item : test.itemList)
        csv += row(item, test.examinees).join(u',') + lineEnd;
    return csv;
}
