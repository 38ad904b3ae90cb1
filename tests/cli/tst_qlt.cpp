// qlt run as a process, as scripts use it: its flags, where the report goes, its exit statuses, and a
// report identical to the one the analysis page writes for the same file and boxes.
#include "AppFixture.h"
#include "DiskFaults.h"
#include "QltProcess.h"
#include "TestFiles.h"
#include "pages/frm2_Source.h"
#include "pages/frm4_Stat.h"

#include <QDir>
#include <QProcess>
#include <QPushButton>
#include <QRadioButton>
#include <QTemporaryDir>

namespace {
using Run = QltProcessRun;

Run qlt(const QStringList& arguments, const QString& folder, const QByteArray& input = {})
{
    return runQltProcess(arguments, folder, {input});
}

const QString Sample = examplePath(QStringLiteral("class-4choices.txt"));
const QByteArray DefaultReport = readBytes(testDataPath(QStringLiteral("class-4choices-default.doc")));
} // namespace

class QltTest : public QObject {
    Q_OBJECT

    QTemporaryDir folder;
    QString in(const QString& name) const { return folder.filePath(name); }

private slots:
    void init()
    {
        QDir(folder.path()).removeRecursively(); // every run starts in an empty folder
        QDir().mkpath(folder.path());
    }

    void defaultsWriteResultDocInTheCurrentFolder()
    {
        const Run run = qlt({Sample}, folder.path());
        QCOMPARE(run.status, 0);
        QVERIFY(run.err.isEmpty());
        QVERIFY(run.out.isEmpty());
        QCOMPARE(readBytes(in(QStringLiteral("Result.doc"))), DefaultReport);
    }

    void outputFlagsAndEncodings_data()
    {
        QTest::addColumn<QStringList>("arguments");
        QTest::addColumn<QString>("file"); // empty: the report comes on standard output
        QTest::addColumn<bool>("utf8");
        QTest::newRow("-o names the report file") << QStringList{"-o", "a.doc", Sample} << "a.doc" << false;
        QTest::newRow("--output= names it too") << QStringList{"--output=b.doc", Sample} << "b.doc" << false;
        QTest::newRow("-o - writes to standard output") << QStringList{"-o", "-", Sample} << "" << false;
        QTest::newRow("--encoding utf-8 writes UTF-8")
            << QStringList{"--encoding", "utf-8", "-o", "-", Sample} << "" << true;
        QTest::newRow("--encoding windows-874 is the default")
            << QStringList{"--encoding=windows-874", "-o", "c.doc", Sample} << "c.doc" << false;
    }
    void outputFlagsAndEncodings()
    {
        QFETCH(QStringList, arguments);
        QFETCH(QString, file);
        QFETCH(bool, utf8);
        const Run run = qlt(arguments, folder.path());
        QCOMPARE(run.status, 0);
        const QByteArray report = file.isEmpty() ? run.out : readBytes(in(file));
        if (utf8)
            QCOMPARE(QString::fromUtf8(report), decodeCp874(DefaultReport));
        else
            QCOMPARE(report, DefaultReport);
        QVERIFY(!QFile::exists(in(QStringLiteral("Result.doc"))) || file == QLatin1String("Result.doc"));
    }

    void readsTheDataFromStandardInput()
    {
        const Run run = qlt({"-o", "-", "-"}, folder.path(), readBytes(Sample));
        QCOMPARE(run.status, 0);
        QCOMPARE(run.out, DefaultReport);
    }

    // "-" names standard output for every output, and what would go there is never a file named "-".
    void diagnosticsToStandardOutput_data()
    {
        QTest::addColumn<QString>("flag");
        QTest::addColumn<QByteArray>("start");
        QTest::newRow("--csv - writes the table to standard output")
            << "--csv" << QByteArray("\xEF\xBB\xBFitem,key,");
        QTest::newRow("--html - writes the page to standard output")
            << "--html" << QByteArray("<!DOCTYPE html>");
    }
    void diagnosticsToStandardOutput()
    {
        QFETCH(QString, flag);
        QFETCH(QByteArray, start);
        const Run run = qlt({flag, "-", Sample}, folder.path());
        QCOMPARE(run.status, 0);
        QVERIFY(run.out.startsWith(start));
        QVERIFY(QDir(folder.path()).entryList(QDir::Files).isEmpty());
    }

    void helpAndVersion_data()
    {
        QTest::addColumn<QString>("flag");
        QTest::addColumn<QStringList>("mentions");
        const QStringList everyFlag = {"--select", "--choices", "--output",    "--encoding",
                                       "--help",   "--version", "distractors", "qlt -s"};
        QTest::newRow("-h") << "-h" << everyFlag;
        QTest::newRow("--help") << "--help" << everyFlag;
        QTest::newRow("-v") << "-v" << QStringList{"qlt 1."};
        QTest::newRow("--version") << "--version" << QStringList{"qlt 1."};
    }
    void helpAndVersion()
    {
        QFETCH(QString, flag);
        QFETCH(QStringList, mentions);
        const Run run = qlt({flag}, folder.path());
        QCOMPARE(run.status, 0);
        for (const QString& word : mentions)
            QVERIFY2(QString::fromUtf8(run.out).contains(word), qPrintable(word));
        QVERIFY(QDir(folder.path()).isEmpty());
    }

    void usageErrorsWriteNothing_data()
    {
        QTest::addColumn<QStringList>("arguments");
        QTest::addColumn<QString>("mentions");
        QTest::newRow("an unknown analysis") << QStringList{"-s", "raw,median,modus", Sample} << "modus";
        QTest::newRow("t without z") << QStringList{"-s", "raw,t", Sample} << "z";
        QTest::newRow("sem without reliability") << QStringList{"--select=sem", Sample} << "reliability";
        QTest::newRow("distractors without discrimination")
            << QStringList{"-s", "distractors", "-c", "4", Sample} << "discrimination";
        QTest::newRow("distractors without a choice count")
            << QStringList{"-s", "discrimination,distractors", Sample} << "--choices";
        QTest::newRow("a choice count of 3") << QStringList{"-c", "3", Sample} << "3";
        QTest::newRow("a choice count that is no number") << QStringList{"--choices=four", Sample} << "four";
        QTest::newRow("an unknown encoding") << QStringList{"--encoding", "latin1", Sample} << "latin1";
        QTest::newRow("an unknown flag") << QStringList{"--fast", Sample} << "fast";
        QTest::newRow("no data file") << QStringList{} << "qlt --help";
        // Several data files are rooms of one grade, but one room cannot be given twice.
        QTest::newRow("one data file twice") << QStringList{Sample, Sample} << "แฟ้มข้อมูลห้องที่ 2";
    }
    void usageErrorsWriteNothing()
    {
        QFETCH(QStringList, arguments);
        QFETCH(QString, mentions);
        const Run run = qlt(arguments, folder.path());
        QCOMPARE(run.status, 2);
        QVERIFY2(run.err.contains(mentions), qPrintable(run.err));
        QCOMPARE(run.err.count(QLatin1Char('\n')), 1); // one line
        QVERIFY(QDir(folder.path()).isEmpty());
    }

    void refusedDataLeaveTheEarlierReport_data()
    {
        QTest::addColumn<QByteArray>("contents"); // empty: the file does not exist
        QTest::newRow("a missing file") << QByteArray();
        QTest::newRow("an empty file") << QByteArray("\r\n");
        QTest::newRow("a key record without a blank") << QByteArray("KEY1234\r\n001 1234\r\n");
        QTest::newRow("a key record only: nobody to analyse") << QByteArray("KEY 1234\r\n");
    }
    void refusedDataLeaveTheEarlierReport()
    {
        QFETCH(QByteArray, contents);
        writeBytes(in(QStringLiteral("Result.doc")), "earlier\r\n");
        if (!contents.isEmpty())
            writeBytes(in(QStringLiteral("class.txt")), contents);
        const Run run = qlt({QStringLiteral("class.txt")}, folder.path());
        QCOMPARE(run.status, 1);
        QVERIFY(!run.err.isEmpty());
        QCOMPARE(readBytes(in(QStringLiteral("Result.doc"))), QByteArray("earlier\r\n"));
    }

    void aReportThatCannotBeWrittenNamesThePath()
    {
        QDir(folder.path()).mkdir(QStringLiteral("taken.doc"));
        const Run run = qlt({"-o", "taken.doc", Sample}, folder.path());
        QCOMPARE(run.status, 1);
        QVERIFY2(run.err.contains(QStringLiteral("taken.doc")), qPrintable(run.err));
    }

    void aFullStandardOutputIsAFailure()
    {
        const QString full = alwaysFullDevice();
        if (full.isEmpty())
            QSKIP("no always-full device here");
        QProcess process;
        process.setStandardOutputFile(full);
        process.start(QStringLiteral(QLT_EXECUTABLE), {QStringLiteral("-o"), QStringLiteral("-"), Sample});
        QVERIFY(process.waitForFinished(-1));
        QCOMPARE(process.exitCode(), 1);
        QVERIFY(process.readAllStandardError().contains("standard output"));
    }

    void zeroSdWarnsClearsAndStillWrites()
    {
        writeBytes(in(QStringLiteral("same.txt")), "KEY 1234\r\n001 1234\r\n002 1234\r\n");
        const Run run = qlt({"-o", "-", "same.txt"}, folder.path());
        QCOMPARE(run.status, 0);
        QCOMPARE(run.err.count(QStringLiteral("qlt: ")), 2);
        QVERIFY(run.err.contains(QStringLiteral("SD")));
        const QString report = decodeCp874(run.out);
        QVERIFY(report.contains(QStringLiteral("Z-Score")));
        QVERIFY(!report.contains(QStringLiteral("(Skewness)")));
        QVERIFY(!report.contains(QStringLiteral("(Kurtosis)")));
        QVERIFY(!report.contains(QStringLiteral("KR20")));
        QVERIFY(!report.contains(QStringLiteral("(SEM)")));
    }

    // The same file and boxes give the same bytes, whichever program writes them.
    void sameReportAsTheAnalysisPage_data()
    {
        QTest::addColumn<QString>("sample");
        QTest::addColumn<QString>("select");
        QTest::addColumn<int>("choices");
        QTest::newRow("the boxes the page ticks") << "class-4choices.txt"
                                                  << "raw,range,mean,median,mode,sd,z,t,skewness,kurtosis,"
                                                     "reliability,difficulty,discrimination,sem"
                                                  << 0;
        QTest::newRow("every box, five choices") << "class-5choices.txt"
                                                 << "raw,range,mean,median,mode,sd,z,t,skewness,kurtosis,"
                                                    "reliability,difficulty,discrimination,sem,"
                                                    "distractors"
                                                 << 5;
        QTest::newRow("a few boxes on the file with slips") << "class-slips.txt"
                                                            << "z,mode,discrimination,distractors" << 4;
        QTest::newRow("no box at all") << "class-4choices.txt"
                                       << "" << 0;
    }
    void sameReportAsTheAnalysisPage()
    {
        QFETCH(QString, sample);
        QFETCH(QString, select);
        QFETCH(int, choices);
        QStringList arguments = {QStringLiteral("--select=") + select, QStringLiteral("-o"),
                                 QStringLiteral("-")};
        if (choices)
            arguments << QStringLiteral("-c") << QString::number(choices);
        const Run run = qlt(arguments << examplePath(sample), folder.path());
        QCOMPARE(run.status, 0);

        AppFixture f;
        f.app.show(PageId::Source);
        f.app.data.DataFile = examplePath(sample);
        click(f.loaded<frm2_Source>(PageId::Source)->cmdNext);
        auto* page = f.loaded<frm4_Stat>(PageId::Stat);
        AnalysisSelection boxes;
        for (const QString& name : select.split(QLatin1Char(','), Qt::SkipEmptyParts)) {
            static const QStringList stat = {"raw", "range", "mean", "median",   "mode",    "sd",
                                             "",    "z",     "t",    "skewness", "kurtosis"};
            static const QStringList analyse = {"reliability", "difficulty", "discrimination", "sem",
                                                "distractors"};
            (stat.contains(name) ? boxes.chkStat[stat.indexOf(name)]
                                 : boxes.chkAnalyse[analyse.indexOf(name)]) = true;
        }
        page->setBoxes(boxes);
        if (choices)
            page->optChoice[choices - 4]->click();
        click(page->cmdCal);
        click(page->cmdFinish);
        const QByteArray written = readBytes(f.platform.documentsOpened.value(0));
        QVERIFY2(written == run.out, qPrintable(firstDifference(decodeCp874(written), decodeCp874(run.out))));
    }

    // An answer outside the Thai code page (here from a UTF-8 file) is a wrong answer like any other:
    // the report, the item diagnostics and their table come out as with a plain wrong answer.
    void answersOutsideTheCodePageAnalyseLikeOtherWrongAnswers()
    {
        QList<QByteArray> lines = readBytes(examplePath(QStringLiteral("class-5choices.txt"))).split('\n');
        QByteArray plain, outside;
        for (qsizetype i = 0; i < lines.size(); ++i) {
            QByteArray line = lines[i];
            const qsizetype answers = line.indexOf(' ') + 1;
            const bool altered = i % 3 == 1 && answers > 0 && line.size() > answers + 2;
            plain += (altered ? line.sliced(0, answers) + "X" + line.sliced(answers + 1) : line) + '\n';
            outside +=
                (altered ? line.sliced(0, answers) + "\u2460" + line.sliced(answers + 1) : line) + '\n';
        }
        QByteArrayList outputs;
        for (const QByteArray& data : {plain, outside}) {
            init();
            writeBytes(in(QStringLiteral("class.txt")), data);
            const QStringList arguments = {"--select=raw,mean,sd,difficulty,discrimination,distractors",
                                           "-c",
                                           "5",
                                           "--csv",
                                           "r.csv",
                                           "--html",
                                           "r.html",
                                           "class.txt"};
            QCOMPARE(qlt(arguments, folder.path()).status, 0);
            outputs << readBytes(in(QStringLiteral("Result.doc"))) + readBytes(in(QStringLiteral("r.csv"))) +
                           readBytes(in(QStringLiteral("r.html")));
        }
        QVERIFY(outside.contains("\u2460") && !outputs.first().isEmpty());
        QCOMPARE(outputs.last(), outputs.first());
    }
};

QTEST_MAIN(QltTest)
#include "tst_qlt.moc"
