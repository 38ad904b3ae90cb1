// bench_diagnostics — times the item diagnostics against the analysis run they build on (every box
// ticked, 5 choices) on generated classes; median and fastest of several runs each. The diagnostics
// should take less time than the run itself.

#include "Benchmark.h"
#include "diagnostics/Diagnostics.h"

#include <QCoreApplication>

#include <algorithm>
#include <cstdio>

namespace {

constexpr ClassSize sizes[] = {{1000, 50}, {8000, 200}, {32765, 50}, {32765, 200}, {32765, 1000}};
constexpr int runs = 9;

} // namespace

int main(int argc, char* argv[])
{
    QCoreApplication app(argc, argv);
    std::printf("%8s %6s %14s %14s %12s %12s %10s\n", "students", "items", "run median ms", "diag median ms",
                "run min ms", "diag min ms", "check-key");
    for (const ClassSize& size : sizes) {
        TestData data;
        if (!loadGeneratedClass(size, data))
            return 1;
        AnalysisResults results;
        CountedMessages messages;
        const Timing run = timeRuns(runs, [&] {
            AnalysisSelection boxes = everyAnalysis();
            runAnalysis(data, boxes, results, messages);
        });
        if (messages.count != 0) {
            std::fprintf(stderr, "%d x %d: the run showed messages\n", size.students, size.items);
            return 1;
        }
        int checkKey = 0;
        const Timing diagnostics = timeRuns(runs, [&] {
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
