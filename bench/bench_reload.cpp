// bench_reload FILE — the analysis page on a large data file, as a teacher who changes her mind uses
// it: Next (load), Analyse, Back, Next again, Analyse again, driven offscreen on the tests' fake
// desktop. Prints each handler's time and how many progress steps the window could show. Run it
// under /usr/bin/time -v: going Back and Next must not hold the class twice, so the peak memory
// stays near that of one load.

#include "AppFixture.h"
#include "Benchmark.h"
#include "pages/frm2_Source.h"
#include "pages/frm4_Stat.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QPushButton>

#include <cstdio>

namespace {

void timeClick(AppFixture& f, QAbstractButton* button, const char* handler)
{
    const qsizetype before = f.platform.progress.size();
    QElapsedTimer timer;
    timer.start();
    button->click();
    const double elapsed = milliseconds(timer);
    qsizetype steps = 0;
    for (qsizetype shown = before; shown < f.platform.progress.size(); ++shown)
        steps += f.platform.progress[shown].advances.size();
    std::printf("%-24s %10.0f %8lld\n", handler, elapsed, qlonglong(steps));
    settle();
}

} // namespace

int main(int argc, char* argv[])
{
    prepareOffscreenWindow();
    QApplication qapp(argc, argv);
    if (qapp.arguments().size() != 2) {
        std::fprintf(stderr, "usage: bench_reload FILE\n");
        return 2;
    }

    AppFixture f;
    f.app.show(PageId::Source);
    f.app.data.DataFile = qapp.arguments()[1];
    std::printf("%-24s %10s %8s\n", "handler", "ms", "progress");
    for (int round = 0; round < 2; ++round) {
        timeClick(f, f.loaded<frm2_Source>(PageId::Source)->cmdNext, "Next: load the file");
        auto* page = f.loaded<frm4_Stat>(PageId::Stat);
        if (!page) {
            std::fprintf(stderr, "bench_reload: the file was refused: %s\n",
                         qPrintable(f.platform.prompts().join(QLatin1Char('\n'))));
            return 1;
        }
        timeClick(f, page->cmdCal, "Analyse");
        if (round == 0)
            timeClick(f, page->cmdBack, "Back");
    }
    std::printf("%d examinees x %d items\n", f.app.data.NumStud, f.app.data.NumItems);
    return 0;
}
