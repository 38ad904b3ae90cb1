// bench_report — times the report on generated classes of several sizes after a run of every
// analysis (distractors with 5 choices): composing the text, encoding it to code page 874, and
// writing it to a file; median of several runs each.

#include "DataGenerator.h"
#include "analysis/AnalysisRun.h"
#include "model/DataFileLoader.h"
#include "report/ResultReport.h"
#include "report/TextFile.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QTemporaryDir>

#include <algorithm>
#include <cstdio>
#include <functional>
#include <vector>

namespace {

struct Size {
    int students;
    int items;
};
constexpr Size sizes[] = {{1000, 50},   {1000, 200}, {1000, 1000}, {8000, 50},   {8000, 200},
                          {8000, 1000}, {32765, 50}, {32765, 200}, {32765, 1000}};
constexpr int runs = 9;

class CountedMessages : public AnalysisMessages {
public:
    int count = 0;
    void warning(const QString&, const QString&) override { ++count; }
};

double medianMilliseconds(const std::function<void()>& step)
{
    std::vector<double> times;
    for (int run = 0; run < runs; ++run) {
        QElapsedTimer timer;
        timer.start();
        step();
        times.push_back(double(timer.nsecsElapsed()) / 1e6);
    }
    std::sort(times.begin(), times.end());
    return times[times.size() / 2];
}

} // namespace

int main(int argc, char* argv[])
{
    QCoreApplication app(argc, argv);
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("Result.doc"));
    std::printf("%8s %6s %11s %11s %10s %10s\n", "students", "items", "characters", "compose ms", "encode ms",
                "write ms");
    for (const Size& size : sizes) {
        TestData data;
        QString error;
        const GeneratedTest test{.students = size.students, .items = size.items, .choices = 5};
        if (!loadDataBytes(generateDataFile(test), data, error)) {
            std::fprintf(stderr, "%s\n", qPrintable(error));
            return 1;
        }
        data.setChoices(5);
        AnalysisSelection boxes = defaultSelection();
        boxes.chkAnalyse[AnalyseBox::Distractors] = true;
        AnalysisResults results;
        CountedMessages messages;
        if (!runAnalysis(data, boxes, results, messages).finished || messages.count != 0) {
            std::fprintf(stderr, "%d x %d: the run did not finish without messages\n", size.students,
                         size.items);
            return 1;
        }
        const ReportSelection selection = reportSelection(boxes);

        QString report;
        const double compose = medianMilliseconds([&] { report = composeReport(data, results, selection); });
        qsizetype encodedSize = 0;
        const double encode = medianMilliseconds([&] { encodedSize = encodeText(report).size(); });
        bool written = true;
        const double write = medianMilliseconds([&] { written = written && saveTextFile(path, report); });
        if (!written || encodedSize != report.size()) {
            std::fprintf(stderr, "%d x %d: the report was not written whole\n", size.students, size.items);
            return 1;
        }
        std::printf("%8d %6d %11lld %11.2f %10.2f %10.2f\n", size.students, size.items,
                    qlonglong(report.size()), compose, encode, write);
    }
    return 0;
}
