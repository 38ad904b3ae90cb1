// bench_school — a grade of 10 rooms × 3000 pupils × 200 items with a blueprint of 8 indicators, the
// test printed in 4 shuffled forms. Writes the rooms' data files, the blueprint and the form file into
// FOLDER (a temporary one when none is given), then times inside one process, median of 5 runs: the
// rooms loaded and pooled, the answers mapped back to the master form, the analysis with the item
// diagnostics, the comparisons of the rooms and of the forms, and the whole of
// `qlt --blueprint --forms --form-from-id --html --gradebook` on the ten files (goal: at most 1 s).

#include "Benchmark.h"
#include "DataGenerator.h"
#include "cli/QltCommand.h"
#include "diagnostics/Diagnostics.h"
#include "model/DataFileLoader.h"
#include "school/Forms.h"
#include "school/Rooms.h"

#include <QBuffer>
#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QRandomGenerator>
#include <QTemporaryDir>

#include <algorithm>
#include <cstdio>
#include <numeric>

namespace {

constexpr int rooms = 10, pupils = 3000, items = 200, indicators = 8, forms = 4, runs = 5;

bool save(const QString& path, const QByteArray& bytes)
{
    QFile file(path);
    return file.open(QIODevice::WriteOnly) && file.write(bytes) == bytes.size();
}

// The grade's files: each pupil's generated answers marked on the sheet of the form the identifier's
// last letter names, every form a random order of the items and of each item's options.
bool writeGrade(const QDir& folder, QStringList& roomFiles)
{
    QRandomGenerator random(2567);
    QList<QByteArray> records =
        generateDataFile({.students = rooms * pupils, .items = items, .seed = 7, .omissionRate = 0.01})
            .split('\n');
    records.removeAll(QByteArray());
    const QByteArray key = records.takeFirst().trimmed().split(' ').last();

    std::vector<std::vector<int>> master(forms, std::vector<int>(items));
    std::vector<std::vector<QByteArray>> options(forms, std::vector<QByteArray>(items, "12345"));
    QByteArray formFile = "form,item,master,options\r\n";
    for (int k = 0; k < forms; ++k) {
        std::iota(master[k].begin(), master[k].end(), 1);
        if (k > 0)
            std::shuffle(master[k].begin(), master[k].end(), random);
        for (int q = 0; q < items; ++q) {
            if (k > 0)
                std::shuffle(options[k][q].begin(), options[k][q].end(), random);
            formFile += char('A' + k) + QByteArray(",") + QByteArray::number(q + 1) + ',' +
                        QByteArray::number(master[k][q]) + ',' + options[k][q] + "\r\n";
        }
    }
    QByteArray blueprint = "item,indicator\r\n";
    for (int item = 1; item <= items; ++item)
        blueprint += QByteArray::number(item) + ",I" + QByteArray::number(1 + item % indicators) + "\r\n";
    if (!save(folder.filePath(QStringLiteral("grade-forms.csv")), formFile) ||
        !save(folder.filePath(QStringLiteral("grade.blueprint.csv")), blueprint))
        return false;

    for (int room = 0; room < rooms; ++room) {
        // The label is as wide as the identifiers with their form letter.
        QByteArray file =
            QByteArray("KEY").leftJustified(records[0].indexOf(' ') + 1, '-') + ' ' + key + "\r\n";
        for (int i = 0; i < pupils; ++i) {
            QByteArray record = records[room * pupils + i];
            if (record.endsWith('\r'))
                record.chop(1);
            const qsizetype blank = record.indexOf(' '); // after the identifier; answers may be blank too
            const QByteArray answers = record.mid(blank + 1).leftJustified(items, ' ');
            const int k = i % forms;
            QByteArray sheet(items, ' ');
            for (int q = 0; q < items; ++q) {
                const char answer = answers[master[k][q] - 1];
                const qsizetype shown = options[k][q].indexOf(answer);
                sheet[q] = shown < 0 ? answer : char('1' + shown);
            }
            file += record.left(blank) + char('A' + k) + ' ' + sheet + "\r\n";
        }
        roomFiles << folder.filePath(QStringLiteral("room%1.txt").arg(room + 1, 2, 10, QLatin1Char('0')));
        if (!save(roomFiles.last(), file))
            return false;
    }
    return true;
}

} // namespace

int main(int argc, char* argv[])
{
    QCoreApplication app(argc, argv);
    QTemporaryDir temporary;
    const QDir folder(app.arguments().size() > 1 ? app.arguments()[1] : temporary.path());
    QStringList roomFiles;
    if (!writeGrade(folder, roomFiles)) {
        std::fprintf(stderr, "cannot write the grade's files into %s\n", qPrintable(folder.path()));
        return 1;
    }

    TestData pooled;
    PupilGroups roomGroups, formGroups;
    FormFile formFile;
    QString error;
    const Timing load = timeRuns(runs, [&] {
        pooled = TestData();
        roomGroups = PupilGroups();
        for (const QString& path : roomFiles) {
            TestData room;
            if (!loadDataFile(path, room, error) || !addRoom(pooled, roomGroups, room, roomName(path), error))
                qFatal("%s", qPrintable(error));
        }
    });
    const TestData shuffled = pooled;
    const Timing map = timeRuns(runs, [&] {
        pooled = shuffled;
        if (!readForms(folder.filePath(QStringLiteral("grade-forms.csv")), items, formFile, error) ||
            !mapToMaster(pooled, formFile, {}, formGroups, error))
            qFatal("%s", qPrintable(error));
    });
    AnalysisResults results;
    CountedMessages messages;
    const Timing analysis = timeRuns(runs, [&] {
        AnalysisSelection boxes = defaultSelection();
        runAnalysis(pooled, boxes, results, messages);
        diagnoseTest(pooled, results, 5);
    });
    const Timing comparisons = timeRuns(runs, [&] {
        groupFigures(pooled, roomGroups);
        groupFigures(pooled, formGroups);
    });
    const QStringList arguments = QStringList{QStringLiteral("qlt"),
                                              QStringLiteral("--blueprint"),
                                              folder.filePath(QStringLiteral("grade.blueprint.csv")),
                                              QStringLiteral("--forms"),
                                              folder.filePath(QStringLiteral("grade-forms.csv")),
                                              QStringLiteral("--form-from-id"),
                                              QStringLiteral("--html"),
                                              folder.filePath(QStringLiteral("grade.html")),
                                              QStringLiteral("--gradebook"),
                                              folder.filePath(QStringLiteral("grade-gradebook.csv"))} +
                                  roomFiles;
    int status = 0;
    QByteArray said;
    const Timing whole = timeRuns(runs, [&] {
        QBuffer in, out, err(&said);
        in.open(QIODevice::ReadOnly);
        out.open(QIODevice::WriteOnly);
        err.open(QIODevice::WriteOnly);
        status = runQlt(arguments, in, out, err);
    });
    if (status != QltSuccess || messages.count != 0) {
        std::fprintf(stderr, "qlt failed: %s\n", said.constData());
        return 1;
    }
    std::printf("%d rooms x %d pupils x %d items, %d indicators, %d forms (median of %d runs, ms)\n", rooms,
                pupils, items, indicators, forms, runs);
    std::printf("%-52s %8.1f\n", "load and pool the rooms", load.median);
    std::printf("%-52s %8.1f\n", "read the forms, map the answers to the master form", map.median);
    std::printf("%-52s %8.1f\n", "analysis and item diagnostics", analysis.median);
    std::printf("%-52s %8.1f\n", "the rooms' and the forms' figures", comparisons.median);
    std::printf("%-52s %8.1f\n", "qlt --html --gradebook, in process (goal: 1000)", whole.median);
    return 0;
}
