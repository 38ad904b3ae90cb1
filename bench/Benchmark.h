#pragma once

// What the timing programs share: the class sizes they time, a generated class loaded as a data file
// would be, an analysis run that counts its messages, the median and fastest of repeated runs, and
// the quiet offscreen desktop of the window's timings.

#include "analysis/AnalysisRun.h"

#include <QElapsedTimer>

#include <functional>
#include <vector>

struct ClassSize {
    int students;
    int items;
};
// 1000, 8000 and 32765 examinees by 50, 200 and 1000 items.
inline constexpr ClassSize everySize[] = {{1000, 50},   {1000, 200}, {1000, 1000}, {8000, 50},   {8000, 200},
                                          {8000, 1000}, {32765, 50}, {32765, 200}, {32765, 1000}};

// Milliseconds since `timer` started.
double milliseconds(const QElapsedTimer& timer);

// For the programs that drive the real window: the offscreen desktop unless QT_QPA_PLATFORM names
// another, and none of the platform's chatter among the printed times. Called before the
// QApplication is made, since making it already picks the desktop and chatters.
void prepareOffscreenWindow();

struct Timing {
    double median;
    double fastest;
};
// The median and the fastest of measured times in milliseconds; `times` holds at least one.
Timing summarise(std::vector<double> times);
// Runs `work` `runs` times and times each run on its own.
Timing timeRuns(int runs, const std::function<void()>& work);

// A generated class of `size` with 5 choices, loaded from its bytes and set to 5 choices; false, with
// the loader's message on stderr, when it does not load.
bool loadGeneratedClass(const ClassSize& size, TestData& data);

// The default boxes with the distractors added: every analysis.
AnalysisSelection everyAnalysis();

// Counts the analysis's warnings instead of showing them; a timed run should have none.
class CountedMessages : public AnalysisMessages {
public:
    int count = 0;
    void warning(const QString&, const QString&) override { ++count; }
};
