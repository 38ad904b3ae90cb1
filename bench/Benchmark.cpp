#include "Benchmark.h"

#include "DataGenerator.h"
#include "model/DataFileLoader.h"

#include <algorithm>
#include <cstdio>
#include <utility>

double milliseconds(const QElapsedTimer& timer)
{
    return double(timer.nsecsElapsed()) / 1e6;
}

void prepareOffscreenWindow()
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    qInstallMessageHandler([](QtMsgType, const QMessageLogContext&, const QString&) {});
}

Timing summarise(std::vector<double> times)
{
    std::sort(times.begin(), times.end());
    return {times[times.size() / 2], times.front()};
}

Timing timeRuns(int runs, const std::function<void()>& work)
{
    std::vector<double> times;
    for (int run = 0; run < runs; ++run) {
        QElapsedTimer timer;
        timer.start();
        work();
        times.push_back(milliseconds(timer));
    }
    return summarise(std::move(times));
}

bool loadGeneratedClass(const ClassSize& size, TestData& data)
{
    QString error;
    const GeneratedTest test{.students = size.students, .items = size.items, .choices = 5};
    if (!loadDataBytes(generateDataFile(test), data, error)) {
        std::fprintf(stderr, "%s\n", qPrintable(error));
        return false;
    }
    data.setChoices(5);
    return true;
}

AnalysisSelection everyAnalysis()
{
    AnalysisSelection boxes = defaultSelection();
    boxes.chkAnalyse[AnalyseBox::Distractors] = true;
    return boxes;
}
