// bench_report — times the report on generated classes of several sizes after a run of every
// analysis (distractors with 5 choices): composing the text, encoding it to code page 874, and
// writing it to a file; median of several runs each.

#include "Benchmark.h"
#include "report/ResultReport.h"
#include "report/TextFile.h"

#include <QCoreApplication>
#include <QTemporaryDir>

#include <cstdio>

namespace {

constexpr int runs = 9;

} // namespace

int main(int argc, char* argv[])
{
    QCoreApplication app(argc, argv);
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("Result.doc"));
    std::printf("%8s %6s %11s %11s %10s %10s\n", "students", "items", "characters", "compose ms", "encode ms",
                "write ms");
    for (const ClassSize& size : everySize) {
        TestData data;
        if (!loadGeneratedClass(size, data))
            return 1;
        AnalysisSelection boxes = everyAnalysis();
        AnalysisResults results;
        CountedMessages messages;
        if (!runAnalysis(data, boxes, results, messages).finished || messages.count != 0) {
            std::fprintf(stderr, "%d x %d: the run did not finish without messages\n", size.students,
                         size.items);
            return 1;
        }
        const ReportSelection selection = reportSelection(boxes);

        QString report;
        const double compose =
            timeRuns(runs, [&] { report = composeReport(data, results, selection); }).median;
        qsizetype encodedSize = 0;
        const double encode = timeRuns(runs, [&] { encodedSize = encodeText(report).size(); }).median;
        bool written = true;
        const double write = timeRuns(runs, [&] { written = written && saveTextFile(path, report); }).median;
        if (!written || encodedSize != report.size()) {
            std::fprintf(stderr, "%d x %d: the report was not written whole\n", size.students, size.items);
            return 1;
        }
        std::printf("%8d %6d %11lld %11.2f %10.2f %10.2f\n", size.students, size.items,
                    qlonglong(report.size()), compose, encode, write);
    }
    return 0;
}
