// bench_load — times the data-file loader.
//   bench_load                   loads generated files of several sizes; median of several runs each
//   bench_load FILE              loads FILE once; run it under /usr/bin/time -v for the peak memory
//   bench_load FILE --read-only  only reads and decodes FILE: the memory baseline to compare with

#include "Benchmark.h"
#include "DataGenerator.h"
#include "model/DataFileLoader.h"

#include <QCoreApplication>
#include <QFile>
#include <QStringDecoder>
#include <QTemporaryDir>

#include <cstdio>
#include <utility>
#include <vector>

namespace {

constexpr int runs = 7;

// Loads `path` once; returns the time in milliseconds, or a negative value when the load failed
// or did not give the expected counts (0 means "do not check").
double timeLoad(const QString& path, int students = 0, int items = 0)
{
    TestData model;
    QString error;
    QElapsedTimer timer;
    timer.start();
    const bool loaded = loadDataFile(path, model, error);
    const double elapsed = milliseconds(timer);
    if (!loaded) {
        std::fprintf(stderr, "%s: %s\n", qPrintable(path), qPrintable(error));
        return -1;
    }
    if ((students && model.NumStud != students) || (items && model.NumItems != items)) {
        std::fprintf(stderr, "%s: loaded %d examinees x %d items\n", qPrintable(path), model.NumStud,
                     model.NumItems);
        return -1;
    }
    return elapsed;
}

int timeSizes()
{
    QTemporaryDir dir;
    std::printf("%8s %6s %11s %10s %10s\n", "students", "items", "bytes", "median ms", "min ms");
    for (const ClassSize& size : everySize) {
        const QString path = dir.filePath(QStringLiteral("%1x%2.txt").arg(size.students).arg(size.items));
        const QByteArray bytes =
            generateDataFile({.students = size.students, .items = size.items, .choices = 5});
        QFile file(path);
        if (!file.open(QIODevice::WriteOnly) || file.write(bytes) != bytes.size())
            return 1;
        file.close();

        std::vector<double> times;
        for (int run = 0; run < runs; ++run) {
            times.push_back(timeLoad(path, size.students, size.items));
            if (times.back() < 0)
                return 1;
        }
        const Timing timing = summarise(std::move(times));
        std::printf("%8d %6d %11lld %10.2f %10.2f\n", size.students, size.items, qlonglong(bytes.size()),
                    timing.median, timing.fastest);
    }
    return 0;
}

int readOnly(const QString& path)
{
    QElapsedTimer timer;
    timer.start();
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return 1;
    const QByteArray bytes = file.readAll();
    const QString text = QStringDecoder("windows-874").decode(bytes);
    std::printf("read and decoded %lld characters in %.2f ms\n", qlonglong(text.size()), milliseconds(timer));
    return 0;
}

} // namespace

int main(int argc, char* argv[])
{
    QCoreApplication app(argc, argv);
    const QStringList args = app.arguments();
    if (args.size() == 1)
        return timeSizes();
    if (args.size() == 3 && args[2] == QLatin1String("--read-only"))
        return readOnly(args[1]);
    if (args.size() == 2) {
        const double elapsed = timeLoad(args[1]);
        if (elapsed < 0)
            return 1;
        std::printf("loaded in %.2f ms\n", elapsed);
        return 0;
    }
    std::fprintf(stderr, "usage: bench_load [FILE [--read-only]]\n");
    return 2;
}
