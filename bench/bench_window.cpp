// bench_window — times the work the analysis page does inside its button handlers on the largest
// class (32765 examinees x 200 items, distractors with 5 choices), driving the real pages offscreen
// on a fake desktop: Next on the source page (the analysis page's load step reads the data file),
// Analyse, and Finish (compose and write the report). While a handler runs the window cannot
// repaint, so each should stay well under 100 ms. Median and slowest of several runs.

#include "AppFixture.h"
#include "Benchmark.h"
#include "DataGenerator.h"
#include "pages/frm2_Source.h"
#include "pages/frm4_Stat.h"

#include <QApplication>
#include <QCheckBox>
#include <QElapsedTimer>
#include <QFile>
#include <QPushButton>
#include <QRadioButton>
#include <QTemporaryDir>

#include <algorithm>
#include <cstdio>
#include <vector>

namespace {

constexpr int runs = 7;

double timeClick(QAbstractButton* button)
{
    QElapsedTimer timer;
    timer.start();
    button->click();
    return milliseconds(timer);
}

struct Times {
    std::vector<double> runs;
    void print(const char* handler)
    {
        std::sort(runs.begin(), runs.end());
        std::printf("%-28s %10.2f %10.2f\n", handler, runs[runs.size() / 2], runs.back());
    }
};

} // namespace

int main(int argc, char* argv[])
{
    prepareOffscreenWindow();
    QApplication qapp(argc, argv);

    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("class.txt"));
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly) ||
        file.write(generateDataFile({.students = 32765, .items = 200, .choices = 5})) < 0)
        return 1;
    file.close();

    Times load, analyse, finish;
    for (int run = 0; run < runs; ++run) {
        AppFixture f;
        f.app.show(PageId::Source);
        f.app.data.DataFile = path;
        load.runs.push_back(timeClick(f.loaded<frm2_Source>(PageId::Source)->cmdNext));
        auto* page = f.loaded<frm4_Stat>(PageId::Stat);
        if (!page || f.app.data.NumStud != 32765)
            return 1;
        page->chkAnalyse[AnalyseBox::Distractors]->click();
        page->optChoice[1]->click();
        analyse.runs.push_back(timeClick(page->cmdCal));
        finish.runs.push_back(timeClick(page->cmdFinish));
        if (!f.platform.messages.isEmpty() || f.platform.documentsOpened.size() != 1)
            return 1;
        settle();
    }
    std::printf("%-28s %10s %10s\n", "handler (32765 x 200)", "median ms", "max ms");
    load.print("Next: load the data file");
    analyse.print("Analyse: every analysis");
    finish.print("Finish: write the report");
    return 0;
}
