// bench_diagnostics — times the item diagnostics against the analysis run they build on (every box
// ticked, 5 choices) on generated classes; median and fastest of several runs each. The diagnostics
// should take less time than the run itself.

#include "DataGenerator.h"
#include "analysis/AnalysisRun.h"
#include "diagnostics/Diagnostics.h"
#include "model/DataFileLoader.h"

#include <QCoreApplication>
#include <QElapsedTimer>

#include <algorithm>
#include <cstdio>
#include <functional>
#include <vector>

namespace {

struct Size {
    int students;
    int items;
};
constexpr Size sizes[] = {{1000, 50}, {8000, 200}, {32765, 50}, {32765, 200}, {32765, 1000}};
constexpr int runs = 9;

class CountedMessages : public AnalysisMessages {
public:
    int count = 0;
    void warning(const QString&, const QString&) override { ++count; }
};

struct Timing {
    double median;
    double fastest;
};

Timing time(const std::function<void()>& work)
{
    std::vector<double> times;
    for (int run = 0; run < runs; ++run) {
        QElapsedTimer timer;
        timer.start();
        work();
        times.push_back(double(timer.nsecsElapsed()) / 1e6);
    }
    std::sort(times.begin(), times.end());
    return {times[times.size() / 2], times.front()};
}

} // namespace

int main(int argc, char* argv[])
{
    QCoreApplication app(argc, argv);
    std::printf("%8s %6s %14s %14s %12s %12s %10s\n", "students", "items", "run median ms", "diag median ms",
                "run min ms", "diag min ms", "check-key");
    for (const Size& size : sizes) {
        TestData data;
        QString error;
        const GeneratedTest test{.students = size.students, .items = size.items, .choices = 5};
        if (!loadDataBytes(generateDataFile(test), data, error)) {
            std::fprintf(stderr, "%s\n", qPrintable(error));
            return 1;
        }
        data.setChoices(5);
        AnalysisResults results;
        CountedMessages messages;
        const Timing run = time([&] {
            AnalysisSelection boxes = defaultSelection();
            boxes.chkAnalyse[AnalyseBox::Distractors] = true;
            runAnalysis(data, boxes, results, messages);
        });
        if (messages.count != 0) {
            std::fprintf(stderr, "%d x %d: the run showed messages\n", size.students, size.items);
            return 1;
        }
        int checkKey = 0;
        const Timing diagnostics = time([&] {
            const TestDiagnostics diagnosed = diagnoseTest(data, results, 5);
            checkKey = int(std::count_if(
                diagnosed.itemList.begin(), diagnosed.itemList.end(),
                [](const ItemDiagnostics& item) { return item.judgement.verdict == Verdict::CheckKey; }));
        });
        std::printf("%8d %6d %14.2f %14.2f %12.2f %12.2f %10d\n", size.students, size.items, run.median,
                    diagnostics.median, run.fastest, diagnostics.fastest, checkKey);
    }
    return 0;
}
