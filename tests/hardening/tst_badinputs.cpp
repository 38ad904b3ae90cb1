// Files a teacher should never have fed the program, and places it cannot write to. Each bad data
// file goes through the loader, through qlt and through the window program's pages, and gets one of
// two answers everywhere: refused with a message that says why, or loaded by the loader's rules (a
// character no choice has simply matches nothing) and analysed into the same report. Never a crash,
// a hang, or a half-written report: an earlier Result.doc stays whole until a new one replaces it.
#include "AppFixture.h"
#include "Checks.h"
#include "DiskFaults.h"
#include "QltInProcess.h"
#include "TestFiles.h"
#include "cli/QltCommand.h"
#include "model/DataFileLoader.h"
#include "pages/frm2_Source.h"
#include "pages/frm4_Stat.h"
#include "report/TextFile.h"

#include <QBuffer>
#include <QCheckBox>
#include <QDir>
#include <QPushButton>
#include <QRadioButton>
#include <QRandomGenerator>
#include <QSysInfo>
#include <QTemporaryDir>

#include <memory>

namespace {

const QByteArray Earlier = "earlier report\r\n";

// Bytes that no text has: what a picture, a program or a compressed file is made of.
QByteArray junk(qsizetype size)
{
    QByteArray bytes(size, Qt::Uninitialized);
    QRandomGenerator random(874);
    for (char& byte : bytes)
        byte = char(random.bounded(256));
    return bytes;
}

// Writes `head` followed by `repeats` copies of `body`, without holding the whole file.
void writeRepeated(const QString& path, const QByteArray& head, const QByteArray& body, int repeats)
{
    QFile file(path);
    QVERIFY(file.open(QIODevice::WriteOnly));
    QCOMPARE(file.write(head), head.size());
    for (int copy = 0; copy < repeats; ++copy)
        QCOMPARE(file.write(body), body.size());
}

} // namespace

class BadInputsTest : public QObject {
    Q_OBJECT

    QTemporaryDir folder;
    QString in(const QString& name) const { return folder.filePath(name); }

    // The window program on a fresh fake desktop, at the source page with `path` chosen.
    std::unique_ptr<AppFixture> f;
    void chooseOnSourcePage(const QString& path)
    {
        f = std::make_unique<AppFixture>();
        f->app.show(PageId::Source);
        f->platform.filesToChoose = {path};
        click(f->loaded<frm2_Source>(PageId::Source)->cmdBrowse);
    }
    frm4_Stat* statPage() { return f->loaded<frm4_Stat>(PageId::Stat); }
    QString windowReportPath() const
    {
        return QDir(f->platform.programFolderPath).filePath(QStringLiteral("Result.doc"));
    }

    // The page refused the file: a warning that names it and says why, and the source page stays.
    void verifyWindowRefused(const QString& mentions)
    {
        QVERIFY(!f->app.isLoaded(PageId::Stat));
        QVERIFY(f->app.isVisible(PageId::Source));
        QCOMPARE(f->platform.messages.size(), 1);
        const QString prompt = f->platform.messages.first().prompt;
        QVERIFY2(prompt.contains(mentions), qPrintable(prompt));
    }

private slots:
    void init()
    {
        QDir(folder.path()).removeRecursively();
        QDir().mkpath(folder.path());
    }
    void cleanup()
    {
        f.reset();
        settle();
    }

    void dataFiles_data()
    {
        QTest::addColumn<QByteArray>("head");
        QTest::addColumn<QByteArray>("body"); // repeated after the head
        QTest::addColumn<int>("repeats");
        QTest::addColumn<bool>("loaded");
        QTest::addColumn<QString>("mentions"); // refused: what the message says
        QTest::addColumn<int>("students");     // loaded: how many examinees

        const QByteArray key = "KEY 12341\r\n";
        QTest::newRow("a zero-byte file is refused as empty")
            << QByteArray() << QByteArray() << 0 << false << "ว่างเปล่า" << 0;
        QTest::newRow("a picture chosen by mistake is refused: its first line has no blank")
            << QByteArray("\x89PNG\r\n\x1a\n") << junk(64 * 1024) << 1 << false << "ไม่มีช่องว่าง" << 0;
        QTest::newRow("a file of NUL bytes is refused: its one line has no blank")
            << QByteArray() << QByteArray(64 * 1024, '\0') << 1 << false << "ไม่มีช่องว่าง" << 0;
        QTest::newRow("NUL bytes in the answers are characters that match no choice")
            << key << QByteArray("001 1") + '\0' + "3" + '\0' + "41\r\n002 12341\r\n"
            << 1 << true << "" << 2;
        QTest::newRow("bytes code page 874 leaves undefined are characters that match no choice")
            << key
            << QByteArray("0\xDB"
                          "1 1\xFC\xFD"
                          "41\r\n002 12341\r\n")
            << 1 << true << "" << 2;
        QTest::newRow("lone CR line ends end records")
            << QByteArray("KEY 12341\r001 12341\r002 43211\r003 11111\r") << QByteArray() << 0 << true << ""
            << 3;
        QTest::newRow("200 MB of binary junk after a key is refused for its many lines")
            << key << junk(1024 * 1024) << 200 << false << "32766" << 0;
        QTest::newRow("an answer line of 1 MB is loaded; answers past the key are not items")
            << key + "001 " << QByteArray(1024 * 1024, '2') << 1 << true << "" << 1;
        QTest::newRow("40000 records are refused: a class has at most 32765 examinees")
            << key << QByteArray("00001 12341\r\n") << 40000 << false << "32766" << 0;
        QTest::newRow("a key of 40000 characters is refused: a test has at most 32766 items")
            << QByteArray("KEY ") << QByteArray("1") << 40000 << false << "40000" << 0;
        QTest::newRow("3000 examinees fill a report that qlt writes in many pieces")
            << key
            << QByteArray("00001 12341\r\n00002 43211\r\n00003 12311\r\n00004 22341\r\n00005 12111\r\n")
            << 600 << true << "" << 3000;
        QTest::newRow("lines all shorter than the label give identifiers without answers")
            << QByteArray("LONGLABEL 12341\r\n") << QByteArray("s1\r\nstudent2\r\n") << 3 << true << "" << 6;
    }

    void dataFiles()
    {
        QFETCH(QByteArray, head);
        QFETCH(QByteArray, body);
        QFETCH(int, repeats);
        QFETCH(bool, loaded);
        QFETCH(QString, mentions);
        QFETCH(int, students);
        const QString path = in(QStringLiteral("class.txt"));
        writeRepeated(path, head, body, repeats);

        TestData data;
        QString error;
        QCOMPARE(loadDataFile(path, data, error), loaded);
        QVERIFY2(loaded || error.contains(mentions), qPrintable(error));
        if (loaded)
            QCOMPARE(data.NumStud, students);

        writeBytes(in(QStringLiteral("Result.doc")), Earlier);
        const QltRun run = runQltInProcess({QStringLiteral("-o"), in(QStringLiteral("Result.doc")), path});
        QCOMPARE(run.status, loaded ? int(QltSuccess) : int(QltFailure));
        QVERIFY2(loaded || run.err.contains(mentions), qPrintable(run.err));
        const QByteArray qltReport = readBytes(in(QStringLiteral("Result.doc")));
        QCOMPARE(qltReport == Earlier, !loaded);

        chooseOnSourcePage(path);
        click(f->loaded<frm2_Source>(PageId::Source)->cmdNext);
        if (!loaded) {
            verifyWindowRefused(mentions);
            return;
        }
        QVERIFY(statPage());
        QCOMPARE(f->app.data.NumStud, students);
        click(statPage()->cmdCal);
        click(statPage()->cmdFinish);
        const QByteArray windowReport = readBytes(windowReportPath());
        QVERIFY2(windowReport == qltReport,
                 qPrintable(firstDifference(decodeCp874(qltReport), decodeCp874(windowReport))));
    }

    void aFolderNamedLikeADataFileIsRefused()
    {
        const QString path = in(QStringLiteral("class.txt"));
        QVERIFY(QDir().mkpath(path));
        const QltRun run = runQltInProcess({QStringLiteral("-o"), QStringLiteral("-"), path});
        QCOMPARE(run.status, int(QltFailure));
        QVERIFY2(run.err.contains(QDir::toNativeSeparators(path)), qPrintable(run.err));

        chooseOnSourcePage(path);
        click(f->loaded<frm2_Source>(PageId::Source)->cmdNext);
        verifyWindowRefused(QDir::toNativeSeparators(path));
    }

    void aDataFileThatVanishesBetweenBrowseAndNextIsRefused()
    {
        const QString path = in(QStringLiteral("class.txt"));
        QVERIFY(QFile::copy(examplePath(QStringLiteral("class-4choices.txt")), path));
        chooseOnSourcePage(path);
        QVERIFY(QFile::remove(path));
        click(f->loaded<frm2_Source>(PageId::Source)->cmdNext);
        verifyWindowRefused(QDir::toNativeSeparators(path));
        QCOMPARE(f->app.data.NumStud, 0);
    }

    // The inputs kept in tests/hardening/inputs keep what the fuzz targets check: as the loader's
    // and the import's input, as found (settings first), and as data files behind every box with 4, 5 or no
    // choices in both encodings, through the plain report and through the diagnostics.
    void keptInputsKeepThePromises_data()
    {
        QTest::addColumn<QString>("path");
        const QDir inputs(QStringLiteral(HARDENING_INPUTS_DIR));
        for (const QString& name : inputs.entryList(QDir::Files))
            QTest::newRow(qPrintable(name)) << inputs.filePath(name);
    }

    void keptInputsKeepThePromises()
    {
        QFETCH(QString, path);
        const QByteArray bytes = readBytes(path);
        QVERIFY(!bytes.isEmpty());
        QVERIFY(loaderKeepsItsPromises(bytes));
        QVERIFY(importKeepsItsPromises(bytes));
        QVERIFY(reportKeepsItsPromises(bytes));
        QVERIFY(diagnosticsKeepTheirPromises(bytes));
        for (const char settings : {'\x00', '\x01', '\x02', '\x05', '\x06'}) {
            const QByteArray input = QByteArray(1, settings) + "\xFF\xFF" + bytes;
            QVERIFY2(reportKeepsItsPromises(input), qPrintable(QString::number(settings)));
            QVERIFY2(diagnosticsKeepTheirPromises(input), qPrintable(QString::number(settings)));
        }
    }

    // Identifiers typed or read with characters the report's code page lacks.
    void charactersTheCodePageLacks_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<QByteArray>("bytes");
        QTest::newRow("Thai letters, digits and the euro sign take their own bytes") << QStringLiteral(u"ก1€")
                                                                                     << QByteArray("\xA1"
                                                                                                   "1"
                                                                                                   "\x80");
        QTest::newRow("a letter the code page lacks becomes a question mark")
            << "Zo\u00EB" << QByteArray("Zo?");
        QTest::newRow("a character made of two surrogates is one question mark")
            << QStringLiteral(u"a\U0001F600b") << QByteArray("a?b");
        QTest::newRow("lone surrogates are a question mark each")
            << QString(u'a') + QChar(0xDC00) + QChar(0xD800) + u'b' << QByteArray("a??b");
        QTest::newRow("invisible characters still take a byte, as the report's columns count them")
            << QStringLiteral(u"a\u00ADb\uFEFF\u200B") << QByteArray("a?b??");
        QTest::newRow("NUL stays NUL") << QString(QChar(0)) << QByteArray(1, '\0');
        const QByteArray undefined = "\xDB\xDC\xDD\xDE\xFC\xFD\xFE\xFF";
        QTest::newRow("bytes the code page leaves undefined are written back as they were read")
            << decodeCp874(undefined) << undefined;
    }

    void charactersTheCodePageLacks()
    {
        QFETCH(QString, text);
        QFETCH(QByteArray, bytes);
        QCOMPARE(encodeText(text), bytes);
    }

    // Long texts are encoded a piece at a time; no piece boundary may split a character.
    void longTextsEncodeTheSameInPieces_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<int>("encoding");
        const QString pairs = QStringLiteral(u"\U0001F600").repeated(100000);
        for (const auto encoding : {TextEncoding::Cp874, TextEncoding::Utf8}) {
            const char* name = encoding == TextEncoding::Cp874 ? "code page 874" : "UTF-8";
            QTest::addRow("surrogate pairs from an even start, %s", name) << pairs << int(encoding);
            QTest::addRow("surrogate pairs from an odd start, %s", name) << "x" + pairs << int(encoding);
        }
    }

    void longTextsEncodeTheSameInPieces()
    {
        QFETCH(QString, text);
        QFETCH(int, encoding);
        QBuffer device;
        device.open(QIODevice::WriteOnly);
        QVERIFY(writeText(device, text, TextEncoding(encoding)));
        QCOMPARE(device.data(), encodeText(text, TextEncoding(encoding)));
    }

    // Finish and qlt -o when the report cannot be written where it should go.
    void placesTheReportCannotGo_data()
    {
        QTest::addColumn<QString>("place");
        QTest::newRow("a disk that fills up half-way") << "unwritable";
        QTest::newRow("a report path that is a folder") << "folder";
    }

    void placesTheReportCannotGo()
    {
        QFETCH(QString, place);
        if (place == u"unwritable" && !FileSizeLimit::available())
            QSKIP("no file-size limit here to fill the disk with");
        const QString sample = examplePath(QStringLiteral("class-4choices.txt"));

        // qlt: a file where the folder should be cannot be written into, even by the superuser.
        writeBytes(in(QStringLiteral("notafolder")), "");
        const QString qltPath = place == u"folder" ? in(QStringLiteral("Result.doc"))
                                                   : in(QStringLiteral("notafolder/Result.doc"));
        if (place == u"folder")
            QVERIFY(QDir().mkpath(qltPath));
        const QltRun run = runQltInProcess({QStringLiteral("-o"), qltPath, sample});
        QCOMPARE(run.status, int(QltFailure));
        QVERIFY2(run.err.contains(qltPath), qPrintable(run.err));
        QCOMPARE(QDir(folder.path()).entryList(QDir::NoDotAndDotDot | QDir::AllEntries, QDir::Name),
                 (QStringList{"Result.doc", "notafolder"}.mid(place == u"folder" ? 0 : 1)));

        // The window program: the teacher is told where, the earlier report stays, Finish stays on.
        chooseOnSourcePage(sample);
        click(f->loaded<frm2_Source>(PageId::Source)->cmdNext);
        if (place == u"folder")
            QVERIFY(QDir().mkpath(windowReportPath()));
        else
            writeBytes(windowReportPath(), Earlier);
        click(statPage()->cmdCal);
        {
            const auto limit = place == u"unwritable" ? std::make_unique<FileSizeLimit>(4096) : nullptr;
            click(statPage()->cmdFinish);
        }
        QCOMPARE(f->platform.messages.size(), 1);
        QVERIFY(f->platform.messages.first().prompt.contains(QDir::toNativeSeparators(windowReportPath())));
        QVERIFY(statPage()->cmdFinish->isEnabled());
        QVERIFY(f->platform.documentsOpened.isEmpty());
        if (place == u"unwritable")
            QCOMPARE(readBytes(windowReportPath()), Earlier);
    }

    // A write that breaks off half-way (a full disk, a pulled memory stick) leaves no trace.
    void aWriteThatFailsHalfWayLeavesTheEarlierReport()
    {
        const QString path = in(QStringLiteral("Result.doc"));
        writeBytes(path, Earlier);
        QString error;
        const bool saved = saveFile(
            path,
            [](QIODevice& device) {
                device.write(QByteArray(100 * 1024, 'x'));
                return false;
            },
            &error);
        QVERIFY(!saved);
        QCOMPARE(readBytes(path), Earlier);
        QCOMPARE(QDir(folder.path()).entryList(QDir::Files), QStringList{"Result.doc"});
    }

    // The word processor keeps the report open; on Linux an open file does not stop the replacement,
    // so a second Finish writes the new report and the teacher is told nothing.
    void aSecondFinishReplacesAReportTheWordProcessorHoldsOpen()
    {
        if (QSysInfo::kernelType() == u"winnt")
            QSKIP("Windows does not replace a file another program holds open");
        chooseOnSourcePage(examplePath(QStringLiteral("class-4choices.txt")));
        click(f->loaded<frm2_Source>(PageId::Source)->cmdNext);
        click(statPage()->cmdCal);
        click(statPage()->cmdFinish);
        QFile held(windowReportPath());
        QVERIFY(held.open(QIODevice::ReadOnly));
        const QByteArray first = readBytes(windowReportPath());

        statPage()->chkStat[StatBox::ZScore]->click(); // a different report: no Z- and T-scores
        click(statPage()->cmdCal);
        click(statPage()->cmdFinish);
        QVERIFY(f->platform.messages.isEmpty());
        QCOMPARE(f->platform.documentsOpened.size(), 2);
        const QByteArray second = readBytes(windowReportPath());
        QVERIFY(!second.isEmpty() && second != first);
        QCOMPARE(held.readAll(), first); // the word processor still sees the report it opened
    }
};

QTEST_MAIN(BadInputsTest)
#include "tst_badinputs.moc"
