// Data files that are not what they seem, each made for real: a pipe, a device, a folder and a
// socket named like a data file, input larger than any class, a file changed while it is read, a
// long line under a tight memory limit, UTF-16 saved without a byte-order mark. qlt and the window
// refuse each with a Thai message and leave the earlier report as it was, and the window shows a
// progress indication while it reads and never holds two classes at once.
#include "AppFixture.h"
#include "Examinees.h"
#include "QltInProcess.h"
#include "QltProcess.h"
#include "TestFiles.h"
#include "cli/QltCommand.h"
#include "model/DataFileLoader.h"
#include "model/Progress.h"
#include "model/SystemErrorText.h"
#include "pages/frm2_Source.h"
#include "pages/frm4_Stat.h"

#include <QBuffer>
#include <QDir>
#include <QFile>
#include <QPushButton>
#include <QRadioButton>
#include <QStringEncoder>
#include <QTemporaryDir>

#include <cerrno>
#include <functional>
#include <memory>

#include <fcntl.h>
#include <sys/resource.h>
#include <sys/socket.h>
#include <sys/stat.h>
#include <sys/un.h>
#include <sys/wait.h>
#include <unistd.h>

namespace {

const QByteArray Earlier = "earlier report\r\n";

// qlt in this process, reading `in` as its standard input.
QltRun runQltReading(QIODevice& in, const QStringList& arguments)
{
    QBuffer out, err;
    out.open(QIODevice::WriteOnly);
    err.open(QIODevice::WriteOnly);
    const int status = runQlt(QStringList{QStringLiteral("qlt")} + arguments, in, out, err);
    return {status, QString::fromUtf8(err.data())};
}

// A file of `size` bytes that starts with `head` and holds zero bytes after it, taking no disk.
void writeSparse(const QString& path, const QByteArray& head, qint64 size)
{
    QFile file(path);
    QVERIFY(file.open(QIODevice::WriteOnly));
    QCOMPARE(file.write(head), head.size());
    QVERIFY(file.resize(size));
}

// Hands every advance of the loader to a test.
class CallbackProgress final : public Progress {
public:
    explicit CallbackProgress(std::function<void()> onAdvance) : onAdvance_(std::move(onAdvance)) {}
    void advance(qint64, qint64) override { onAdvance_(); }

private:
    std::function<void()> onAdvance_;
};

} // namespace

class ReadFaultsTest : public QObject {
    Q_OBJECT

    QTemporaryDir folder;
    QString in(const QString& name) const { return folder.filePath(name); }
    QString report() const { return in(QStringLiteral("Result.doc")); }

    std::unique_ptr<AppFixture> f;
    frm4_Stat* statPage() { return f->loaded<frm4_Stat>(PageId::Stat); }
    // The window at the source page with `path` chosen and Next pressed.
    void nextOn(const QString& path)
    {
        f->app.show(PageId::Source);
        f->app.data.DataFile = path;
        click(f->loaded<frm2_Source>(PageId::Source)->cmdNext);
    }

private slots:
    void init()
    {
        QDir(folder.path()).removeRecursively();
        QDir().mkpath(folder.path());
        writeBytes(report(), Earlier);
        f = std::make_unique<AppFixture>();
    }
    void cleanup()
    {
        f.reset();
        settle();
    }

    void refusesWhatIsNotAnOrdinaryFile_data()
    {
        QTest::addColumn<QString>("kind");
        QTest::addColumn<QString>("reason");
        QTest::newRow("a pipe named like a data file, with no program writing to it")
            << "pipe" << notRegularFileText();
        QTest::newRow("a link to /dev/zero named like a data file") << "zeros" << notRegularFileText();
        QTest::newRow("a socket named like a data file") << "socket" << notRegularFileText();
        QTest::newRow("a folder named like a data file") << "folder" << systemErrorText(EISDIR);
    }

    void refusesWhatIsNotAnOrdinaryFile()
    {
        QFETCH(QString, kind);
        QFETCH(QString, reason);
        const QString path = in(QStringLiteral("class.txt"));
        const QByteArray name = QFile::encodeName(path);
        if (kind == QLatin1String("pipe")) {
            QCOMPARE(::mkfifo(name.constData(), 0600), 0);
        } else if (kind == QLatin1String("zeros")) {
            QVERIFY(QFile::link(QStringLiteral("/dev/zero"), path));
        } else if (kind == QLatin1String("socket")) {
            sockaddr_un address{};
            address.sun_family = AF_UNIX;
            QVERIFY(size_t(name.size()) < sizeof address.sun_path);
            // The bound name stays a socket once closed, so nothing is left open if a check fails.
            const int socketHandle = ::socket(AF_UNIX, SOCK_STREAM, 0);
            std::copy(name.begin(), name.end(), address.sun_path);
            const int bound = ::bind(socketHandle, reinterpret_cast<sockaddr*>(&address), sizeof address);
            ::close(socketHandle);
            QCOMPARE(bound, 0);
        } else {
            QVERIFY(QDir().mkpath(path));
        }

        const QltRun run = runQltInProcess({QStringLiteral("-o"), report(), path});
        QCOMPARE(run.status, int(QltFailure));
        QVERIFY2(run.err.contains(QDir::toNativeSeparators(path)) && run.err.contains(reason),
                 qPrintable(run.err));
        QCOMPARE(readBytes(report()), Earlier);

        nextOn(path);
        QVERIFY(!f->app.isLoaded(PageId::Stat));
        QVERIFY(f->app.isVisible(PageId::Source));
        QCOMPARE(f->platform.messages.size(), 1);
        QVERIFY2(f->platform.messages.first().prompt.contains(reason),
                 qPrintable(f->platform.prompts().join('\n')));
    }

    void refusesStandardInputThatNeverEnds()
    {
        QFile zeros(QStringLiteral("/dev/zero"));
        QVERIFY(zeros.open(QIODevice::ReadOnly));
        const QltRun run = runQltReading(zeros, {QStringLiteral("-o"), report(), QStringLiteral("-")});
        QCOMPARE(run.status, int(QltFailure));
        QVERIFY2(run.err.contains(notRegularFileText()), qPrintable(run.err));
        QCOMPARE(readBytes(report()), Earlier);
    }

    void refusesInputLargerThanAnyDataFileUnread()
    {
        const QString path = in(QStringLiteral("huge.txt"));
        writeSparse(path, "KEY 1234\r\n001 ", MaxDataFileBytes + 1);
        const QString tooLarge = QStringLiteral("ใหญ่เกิน");

        const QltRun named = runQltInProcess({QStringLiteral("-o"), report(), path});
        QCOMPARE(named.status, int(QltFailure));
        QVERIFY2(named.err.contains(tooLarge) && named.err.contains(QDir::toNativeSeparators(path)),
                 qPrintable(named.err));

        QFile redirected(path);
        QVERIFY(redirected.open(QIODevice::ReadOnly));
        const QltRun piped = runQltReading(redirected, {QStringLiteral("-o"), report(), QStringLiteral("-")});
        QCOMPARE(piped.status, int(QltFailure));
        QVERIFY2(piped.err.contains(tooLarge), qPrintable(piped.err));
        QCOMPARE(readBytes(report()), Earlier);
    }

    // A 256 MB answer line: kept only as far as the key goes, it fits where three times its size
    // would not; read whole from standard input it cannot fit, and qlt says so instead of aborting.
    void aLongLineUnderAMemoryLimit_data()
    {
        QTest::addColumn<bool>("fromStandardInput");
        QTest::addColumn<int>("status");
        QTest::newRow("named on the command line it loads in 320 MB") << false << int(QltSuccess);
        QTest::newRow("from standard input it needs more than 320 MB and is refused")
            << true << int(QltFailure);
    }

    void aLongLineUnderAMemoryLimit()
    {
#ifdef UNDER_ADDRESS_SANITIZER
        QSKIP("the address sanitizer reserves more address space than any limit leaves");
#endif
        QFETCH(bool, fromStandardInput);
        QFETCH(int, status);
        const QString path = in(QStringLiteral("long.txt"));
        writeSparse(path, "KEY 1234\r\n001 ", 256 << 20);

        const QltProcessRun run =
            runQltProcess({QStringLiteral("-s"), QStringLiteral("raw"), QStringLiteral("-o"), report(),
                           fromStandardInput ? QStringLiteral("-") : path},
                          folder.path(), {{}, fromStandardInput ? path : QString(), [] {
                                              const rlimit limit{320 << 20, 320 << 20};
                                              ::setrlimit(RLIMIT_AS, &limit);
                                          }});
        QCOMPARE(run.status, status);
        if (status == QltSuccess) {
            QVERIFY(readBytes(report()) != Earlier);
            return;
        }
        QVERIFY2(run.err.contains(systemErrorText(ENOMEM)) && run.err.contains(QStringLiteral("อินพุตมาตรฐาน")),
                 qPrintable(run.err));
        QCOMPARE(readBytes(report()), Earlier);
    }

    // The change is made from the loader's own progress report, between its reads of the file, so
    // it lands in the middle of the reading every time.
    void aFileThatChangesWhileReadIsRefused_data()
    {
        QTest::addColumn<QString>("change");
        QTest::newRow("cut short") << "cut";
        QTest::newRow("grown by another examinee") << "grown";
        QTest::newRow("rewritten with the same size") << "rewritten";
    }

    void aFileThatChangesWhileReadIsRefused()
    {
        QFETCH(QString, change);
        const QString path = in(QStringLiteral("class.txt"));
        const QByteArray bytes = readBytes(examplePath(QStringLiteral("class-4choices.txt")));
        writeBytes(path, bytes);
        // An old time, so that a rewrite within the file system's clock tick still shows.
        const timespec old[2] = {{1'000'000'000, 0}, {1'000'000'000, 0}};
        QCOMPARE(::utimensat(AT_FDCWD, QFile::encodeName(path).constData(), old, 0), 0);

        bool changed = false;
        CallbackProgress progress([&] {
            if (std::exchange(changed, true))
                return;
            QFile file(path);
            if (change == QLatin1String("cut"))
                file.resize(bytes.size() / 2);
            else if (file.open(change == QLatin1String("grown") ? QIODevice::Append : QIODevice::ReadWrite))
                file.write(change == QLatin1String("grown") ? QByteArray("s99 1234\r\n") : bytes.first(4));
        });
        TestData data = makeTestData(QStringLiteral("1234"), {QStringLiteral("4321")});
        QString error;
        QVERIFY(!loadDataFile(path, data, error, &progress));
        QVERIFY(changed);
        QVERIFY2(error.contains(QStringLiteral("ถูกเปลี่ยน")) && error.contains(QDir::toNativeSeparators(path)),
                 qPrintable(error));
        QCOMPARE(data.NumStud, 1);
        QCOMPARE(data.StudAns[1].toString(), QStringLiteral("4321"));
    }

    void utf16WithoutAMarkGivesTheSameReport_data()
    {
        QTest::addColumn<int>("order");
        QTest::newRow("little-endian") << int(QStringEncoder::Utf16LE);
        QTest::newRow("big-endian") << int(QStringEncoder::Utf16BE);
    }

    void utf16WithoutAMarkGivesTheSameReport()
    {
        QFETCH(int, order);
        const QString path = in(QStringLiteral("class.txt"));
        const QString text =
            QString::fromLatin1(readBytes(examplePath(QStringLiteral("class-4choices.txt"))));
        writeBytes(path, QStringEncoder(QStringEncoder::Encoding(order)).encode(text));
        const QltRun run = runQltInProcess({QStringLiteral("-o"), report(), path});
        QCOMPARE(run.status, int(QltSuccess));
        const QByteArray expected = readBytes(testDataPath(QStringLiteral("class-4choices-default.doc")));
        const QByteArray written = readBytes(report());
        QVERIFY2(written == expected, qPrintable(firstDifference(decodeCp874(expected), decodeCp874(written))));
    }

    void readingShowsProgressAndReleasesTheEarlierClassFirst()
    {
        nextOn(examplePath(QStringLiteral("class-4choices.txt")));
        QVERIFY(statPage());
        click(statPage()->cmdBack);
        qsizetype heldWhileReading = -1;
        f->platform.duringProgress = [&] {
            if (heldWhileReading < 0)
                heldWhileReading = f->app.data.StudAns.size();
        };
        const QString second = in(QStringLiteral("second.txt"));
        writeBytes(second, lines({"KEY 12", "001 12", "002 21"}));
        nextOn(second);
        QVERIFY(statPage());
        QCOMPARE(heldWhileReading, 2); // entries 0 and 1 of an empty class, no examinee
        QCOMPARE(f->app.data.NumStud, 2);

        QCOMPARE(f->platform.progress.size(), 2);
        const FakePlatform::ProgressShown& shown = f->platform.progress.last();
        QVERIFY2(shown.caption.contains(QStringLiteral("กำลังอ่านแฟ้มข้อมูล")) &&
                     shown.caption.contains(QDir::toNativeSeparators(second)),
                 qPrintable(shown.caption));
        QVERIFY(!shown.advances.isEmpty());
        const QStringList last = shown.advances.last().split('/');
        QCOMPARE(last.first(), last.last()); // it ran to the end
        QVERIFY(!shown.open);
    }

    // What the teacher typed is not released for a file that may still be refused.
    void typedAnswersSurviveARefusedFile()
    {
        nextOn(examplePath(QStringLiteral("class-4choices.txt")));
        click(statPage()->cmdBack);
        f->app.data.StudAns[1] = QStringLiteral("1111"); // as the entry page saves an examinee
        nextOn(in(QStringLiteral("vanished.txt")));
        QVERIFY(!f->app.isLoaded(PageId::Stat));
        QCOMPARE(f->app.data.NumStud, 35);
        QCOMPARE(f->app.data.StudAns[1].toString(), QStringLiteral("1111"));
    }

    void analysingAndWritingALargeClassShowBusyIndications_data()
    {
        QTest::addColumn<int>("examinees");
        QTest::addColumn<int>("items");
        QTest::addColumn<bool>("shown");
        QTest::newRow("2000 examinees by 10000 items is a large class") << 2000 << 10000 << true;
        QTest::newRow("35 examinees by 40 items is over at once") << 35 << 40 << false;
    }

    void analysingAndWritingALargeClassShowBusyIndications()
    {
        QFETCH(int, examinees);
        QFETCH(int, items);
        QFETCH(bool, shown);
        f->app.show(PageId::Source);
        f->loaded<frm2_Source>(PageId::Source)->optInput[0]->click();
        f->app.data = makeTestData(QString(items, QLatin1Char('1')),
                                   QStringList(examinees, QString(items, QLatin1Char('2'))));
        QVERIFY(f->app.show(PageId::Stat));
        click(statPage()->cmdCal);
        QVERIFY(statPage()->cmdFinish->isEnabled());
        click(statPage()->cmdFinish);
        QCOMPARE(f->platform.documentsOpened.size(), 1);
        QCOMPARE(f->platform.progress.size(), shown ? 2 : 0);
        if (!shown)
            return;
        const QString captions[] = {QStringLiteral("กำลังวิเคราะห์"), QStringLiteral("กำลังเขียนรายงาน")};
        for (int shownFor = 0; shownFor < 2; ++shownFor) {
            QVERIFY(f->platform.progress[shownFor].caption.contains(captions[shownFor]));
            QCOMPARE(f->platform.progress[shownFor].advances, QStringList{QStringLiteral("0/0")});
            QVERIFY(!f->platform.progress[shownFor].open);
        }
    }
};

QTEST_MAIN(ReadFaultsTest)
#include "tst_readfaults.moc"
