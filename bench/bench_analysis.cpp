// bench_analysis — times one whole analysis run (every box ticked, distractors with 5 choices) on
// generated classes of several sizes; median and fastest of several runs each. The results object
// is kept between runs, as the window program keeps it.

#include "DataGenerator.h"
#include "analysis/AnalysisRun.h"
#include "model/DataFileLoader.h"

#include <QCoreApplication>
#include <QElapsedTimer>

#include <algorithm>
#include <cstdio>
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

AnalysisSelection everyBox()
{
    AnalysisSelection boxes = defaultSelection();
    boxes.chkAnalyse[AnalyseBox::Distractors] = true;
    return boxes;
}

// The median and the fastest of several runs in milliseconds; false when a run did not finish quietly.
bool timeRuns(const TestData& data, double& median, double& fastest)
{
    AnalysisResults results;
    CountedMessages messages;
    std::vector<double> times;
    for (int run = 0; run < runs; ++run) {
        AnalysisSelection boxes = everyBox();
        QElapsedTimer timer;
        timer.start();
        const RunOutcome outcome = runAnalysis(data, boxes, results, messages);
        times.push_back(double(timer.nsecsElapsed()) / 1e6);
        if (!outcome.finished || messages.count != 0)
            return false;
    }
    std::sort(times.begin(), times.end());
    median = times[times.size() / 2];
    fastest = times.front();
    return true;
}

} // namespace

int main(int argc, char* argv[])
{
    QCoreApplication app(argc, argv);
    std::printf("%8s %6s %10s %10s\n", "students", "items", "median ms", "min ms");
    for (const Size& size : sizes) {
        TestData data;
        QString error;
        const GeneratedTest test{.students = size.students, .items = size.items, .choices = 5};
        if (!loadDataBytes(generateDataFile(test), data, error)) {
            std::fprintf(stderr, "%s\n", qPrintable(error));
            return 1;
        }
        data.setChoices(5);
        double median = 0;
        double fastest = 0;
        if (!timeRuns(data, median, fastest)) {
            std::fprintf(stderr, "%d x %d: the run did not finish without messages\n", size.students,
                         size.items);
            return 1;
        }
        std::printf("%8d %6d %10.2f %10.2f\n", size.students, size.items, median, fastest);
    }
    return 0;
}
