// generate_data STUDENTS ITEMS CHOICES OUTFILE [SEED] — writes a realistic data file for trying and
// timing the program.

#include "DataGenerator.h"

#include <QCoreApplication>
#include <QFile>
#include <QStringList>

#include <cstdio>

namespace {

bool readNumber(const QString& text, int low, int high, int& number)
{
    bool ok = false;
    number = text.toInt(&ok);
    return ok && number >= low && number <= high;
}

} // namespace

int main(int argc, char* argv[])
{
    QCoreApplication app(argc, argv);
    const QStringList args = app.arguments();
    GeneratedTest test;
    int seed = 1;
    const bool valid = (args.size() == 5 || args.size() == 6) &&
                       readNumber(args[1], 0, 32765, test.students) &&
                       readNumber(args[2], 1, 32766, test.items) && readNumber(args[3], 4, 5, test.choices) &&
                       (args.size() == 5 || readNumber(args[5], 0, 2147483647, seed));
    if (!valid) {
        std::fprintf(stderr, "usage: generate_data STUDENTS ITEMS CHOICES OUTFILE [SEED]\n"
                             "  STUDENTS 0..32765, ITEMS 1..32766, CHOICES 4 or 5\n");
        return 2;
    }
    test.seed = std::uint32_t(seed);

    QFile file(args[4]);
    if (!file.open(QIODevice::WriteOnly) || file.write(generateDataFile(test)) < 0) {
        std::fprintf(stderr, "generate_data: %s\n", qPrintable(file.errorString()));
        return 1;
    }
    return 0;
}
