// io_floor DATAFILE OUTFILE CHARACTERS — the least any program must do to turn a data file into a
// report: read the file and decode it from code page 874, then encode a text of CHARACTERS
// characters (report-like lines of Thai and digits) and replace OUTFILE with it atomically. Timed
// side by side with qlt on the same file, it shows how much qlt adds to plain input and output.

#include "model/CodePage874.h"

#include <QCoreApplication>
#include <QFile>
#include <QSaveFile>
#include <QStringEncoder>

#include <algorithm>
#include <cstdio>

int main(int argc, char* argv[])
{
    QCoreApplication app(argc, argv);
    const QStringList args = app.arguments();
    bool ok = false;
    const qsizetype characters = args.size() == 4 ? args[3].toLongLong(&ok) : 0;
    if (!ok || characters < 0) {
        std::fprintf(stderr, "usage: io_floor DATAFILE OUTFILE CHARACTERS\n");
        return 2;
    }

    QFile data(args[1]);
    if (!data.open(QIODevice::ReadOnly)) {
        std::fprintf(stderr, "io_floor: %s\n", qPrintable(data.errorString()));
        return 1;
    }
    // By table, the cheapest decoding there is: the system's converter takes ten times as long on a
    // large file, and past 2^31 bytes of output it silently decodes nothing.
    const QByteArray bytes = data.readAll();
    QString decoded(bytes.size(), Qt::Uninitialized);
    const auto& table = cp874Characters();
    std::transform(bytes.begin(), bytes.end(), decoded.data(),
                   [&table](char byte) { return QChar(table[uchar(byte)]); });

    const QString line = QStringLiteral(u"  ข้อ   17    ตัวเลือก     3      0.25          ตัวลวงดี\r\n");
    QString report;
    report.reserve(characters);
    while (report.size() + line.size() <= characters)
        report.append(line);
    report.append(QStringView(line).first(characters - report.size()));

    QSaveFile out(args[2]);
    if (!out.open(QIODevice::WriteOnly) || out.write(QStringEncoder("windows-874").encode(report)) < 0 ||
        !out.commit()) {
        std::fprintf(stderr, "io_floor: %s\n", qPrintable(out.errorString()));
        return 1;
    }
    // The decoded text must not be optimised away: its size is the one result worth printing.
    std::printf("%lld characters read, %lld written\n", qlonglong(decoded.size()), qlonglong(report.size()));
    return 0;
}
