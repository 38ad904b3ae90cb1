// bench_analysis — times one whole analysis run (every box ticked, distractors with 5 choices) on
// generated classes of several sizes; median and fastest of several runs each. The results object
// is kept between runs, as the window program keeps it.

#include "Benchmark.h"

#include <QCoreApplication>

#include <cstdio>

namespace {

constexpr int runs = 9;

} // namespace

int main(int argc, char* argv[])
{
    QCoreApplication app(argc, argv);
    std::printf("%8s %6s %10s %10s\n", "students", "items", "median ms", "min ms");
    for (const ClassSize& size : everySize) {
        TestData data;
        if (!loadGeneratedClass(size, data))
            return 1;
        AnalysisResults results;
        CountedMessages messages;
        bool finished = true;
        const Timing timing = timeRuns(runs, [&] {
            AnalysisSelection boxes = everyAnalysis();
            finished = runAnalysis(data, boxes, results, messages).finished && finished;
        });
        if (!finished || messages.count != 0) {
            std::fprintf(stderr, "%d x %d: the run did not finish without messages\n", size.students,
                         size.items);
            return 1;
        }
        std::printf("%8d %6d %10.2f %10.2f\n", size.students, size.items, timing.median, timing.fastest);
    }
    return 0;
}
