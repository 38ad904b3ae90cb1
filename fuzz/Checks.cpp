#include "Checks.h"

#include "analysis/AnalysisRun.h"
#include "model/DataFileLoader.h"
#include "report/ResultReport.h"
#include "report/TextFile.h"

#include <QBuffer>

#include <algorithm>

namespace {

bool hasLoadedShape(const TestData& data)
{
    if (data.NumItems != data.AllKeys.size() || data.NumItems < 1 || data.NumItems > MaxCount ||
        data.Keys.size() != data.NumItems + 2 || data.NumStud < 0 || data.NumStud >= MaxCount)
        return false;
    for (const QStringList* array : {&data.StudID, &data.StudAns, &data.StudName})
        if (array->size() != data.NumStud + 2 || !array->first().isEmpty() || !array->last().isEmpty())
            return false;
    if (data.AnsMatrix.students() != data.NumStud || data.AnsMatrix.items() != data.NumItems)
        return false;
    for (int i = 1; i <= data.NumStud; ++i) {
        const QString& answers = data.StudAns[i];
        if (data.AnsMatrix.filled(i) != std::min<qsizetype>(answers.size(), data.NumItems))
            return false;
        for (int j = 1; j <= data.AnsMatrix.filled(i); ++j)
            if (data.AnsMatrix.cells(i)[j - 1] != answers[j - 1].unicode())
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
    if (input.size() < 3)
        return true;
    const auto settings = [&input](int index) { return unsigned(uchar(input[index])); };
    const int choices[] = {0, 4, 5, 4};
    const int choiceCount = choices[settings(0) & 3];
    const TextEncoding encoding = settings(0) & 4 ? TextEncoding::Utf8 : TextEncoding::Cp874;
    const AnalysisSelection ticked = boxesFrom(settings(1) | settings(2) << 8);

    TestData data;
    QString error;
    if (!loadDataBytes(input.sliced(3).toByteArray(), data, error))
        return true;
    if (choiceCount)
        data.setChoices(choiceCount);

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
