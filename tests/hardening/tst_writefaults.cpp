// Writing on the machines teachers have: a nearly full disk, a file-size limit, a read-only stick, a
// folder of someone else's, a link planted in a shared folder. Each fault is made for real, and every
// output (the report, the HTML and CSV diagnostics, the window's Result.doc) is then either written
// whole or left byte for byte as it was, with a Thai message that names the file and says why.
#include "AppFixture.h"
#include "DiskFaults.h"
#include "QltInProcess.h"
#include "QltProcess.h"
#include "TestFiles.h"
#include "cli/QltCommand.h"
#include "pages/frm2_Source.h"
#include "pages/frm4_Stat.h"

#include <QDir>
#include <QFileInfo>
#include <QProcess>
#include <QPushButton>
#include <QRegularExpression>
#include <QStandardPaths>
#include <QTemporaryDir>

#include <fcntl.h>
#include <functional>
#include <memory>
#include <sys/resource.h>
#include <sys/socket.h>
#include <sys/stat.h>
#include <sys/un.h>
#include <unistd.h>

namespace {

const QByteArray Earlier = "earlier output\r\n";
const QString Sample = examplePath(QStringLiteral("class-4choices.txt"));
const QString DiskFull = QStringLiteral("พื้นที่บนดิสก์เต็ม");
const QString TooLarge = QStringLiteral("แฟ้มใหญ่เกิน");
constexpr uid_t Nobody = 65534;

bool isRoot()
{
    return ::geteuid() == 0;
}

using Run = QltProcessRun;

Run qlt(const QStringList& arguments, const QString& folder, const std::function<void()>& setUp = {})
{
    return runQltProcess(arguments, folder, {{}, {}, setUp});
}

void limitFileSize(rlim_t bytes)
{
    const rlimit limit{bytes, bytes};
    ::setrlimit(RLIMIT_FSIZE, &limit);
}

QStringList filesIn(const QString& folder)
{
    return QDir(folder).entryList(QDir::AllEntries | QDir::NoDotAndDotDot | QDir::Hidden | QDir::System,
                                  QDir::Name);
}

// What qlt says is Thai and names the file; the system's English never reaches the teacher.
void verifyMessage(const QString& err, const QString& file, const QString& reason)
{
    QVERIFY2(err.contains(file), qPrintable(err));
    QVERIFY2(err.contains(reason), qPrintable(err));
    for (const char* english : {"Unknown error", "QSaveFile", "QFile", "denied", "No space", "Read-only"})
        QVERIFY2(!err.contains(QLatin1String(english)), qPrintable(err));
}

} // namespace

class WriteFaultsTest : public QObject {
    Q_OBJECT

    QTemporaryDir folder;
    QString in(const QString& name) const { return folder.filePath(name); }

private slots:
    void init()
    {
        QDir(folder.path()).removeRecursively();
        QDir().mkpath(folder.path());
    }

    void aFullDiskKeepsTheEarlierOutput_data()
    {
        QTest::addColumn<QString>("flag");
        QTest::addColumn<qint64>("freeBytes"); // on a 64 KiB memory disk; -1: a 4 KiB file-size limit
        QTest::addColumn<QString>("reason");
        for (const QString flag : {"-o", "--html", "--csv"}) {
            QTest::addRow("%s with 4 KiB free on the disk", qPrintable(flag))
                << flag << qint64(4096) << DiskFull;
            QTest::addRow("%s with the disk full", qPrintable(flag)) << flag << qint64(0) << DiskFull;
        }
        QTest::addRow("-o past a file-size limit") << "-o" << qint64(-1) << TooLarge;
        QTest::addRow("--html past a file-size limit") << "--html" << qint64(-1) << TooLarge;
    }
    void aFullDiskKeepsTheEarlierOutput()
    {
        QFETCH(QString, flag);
        QFETCH(qint64, freeBytes);
        QFETCH(QString, reason);
        SmallDisk disk;
        if (freeBytes >= 0 && !disk.mounted())
            QSKIP("mounting a small memory disk needs the superuser");
        const QString where = freeBytes >= 0 ? disk.path() : folder.path();
        const QString output = QDir(where).filePath(QStringLiteral("output"));
        writeBytes(output, Earlier);
        if (freeBytes >= 0)
            disk.leaveFree(freeBytes);
        const QStringList before = filesIn(where);

        const Run run = qlt({flag, output, Sample}, where, [freeBytes] {
            if (freeBytes < 0)
                limitFileSize(4096);
        });
        QCOMPARE(run.status, 1);
        verifyMessage(run.err, output, reason);
        QCOMPARE(readBytes(output), Earlier);
        QCOMPARE(filesIn(where), before); // no temporary file left behind
    }

    // The teacher presses Finish on a full disk: told where and why, the earlier report stays, nothing
    // is opened, and Finish works once there is room again.
    void finishOnAFullDiskKeepsTheEarlierReport_data()
    {
        QTest::addColumn<bool>("memoryDisk"); // else this process's own file-size limit
        QTest::newRow("a memory disk with 4 KiB free") << true;
        QTest::newRow("a 4 KiB file-size limit") << false;
    }
    void finishOnAFullDiskKeepsTheEarlierReport()
    {
        QFETCH(bool, memoryDisk);
        SmallDisk disk;
        if (memoryDisk && !disk.mounted())
            QSKIP("mounting a small memory disk needs the superuser");
        AppFixture f;
        if (memoryDisk)
            f.platform.programFolderPath = disk.path();
        const QString report = QDir(f.platform.programFolderPath).filePath(QStringLiteral("Result.doc"));
        writeBytes(report, Earlier);
        if (memoryDisk)
            disk.leaveFree(4096);
        f.app.show(PageId::Source);
        f.platform.filesToChoose = {Sample};
        click(f.loaded<frm2_Source>(PageId::Source)->cmdBrowse);
        click(f.loaded<frm2_Source>(PageId::Source)->cmdNext);
        auto* page = f.loaded<frm4_Stat>(PageId::Stat);
        click(page->cmdCal);

        {
            const auto limit = memoryDisk ? nullptr : std::make_unique<FileSizeLimit>(4096);
            click(page->cmdFinish);
        }

        QCOMPARE(f.platform.messages.size(), 1);
        const QString prompt = f.platform.messages.first().prompt;
        QVERIFY2(prompt.contains(report) && prompt.contains(memoryDisk ? DiskFull : TooLarge),
                 qPrintable(prompt));
        QCOMPARE(readBytes(report), Earlier);
        QVERIFY(f.platform.documentsOpened.isEmpty());
        QVERIFY(page->cmdFinish->isEnabled());

        disk.makeRoom();
        click(page->cmdFinish);
        QCOMPARE(f.platform.messages.size(), 1);
        QCOMPARE(f.platform.documentsOpened, QStringList{report});
        QCOMPARE(readBytes(report), readBytes(testDataPath(QStringLiteral("class-4choices-default.doc"))));
    }

    // A class too large for the memory left: a Thai message and exit 1, never an abort, and the earlier
    // outputs stay.
    void runningOutOfMemoryKeepsTheEarlierOutputs()
    {
#ifdef UNDER_ADDRESS_SANITIZER
        QSKIP("the address sanitizer reserves more address space than any limit leaves");
#endif
        const QByteArray answers = QByteArray("1234").repeated(1000);
        QFile data(in(QStringLiteral("class.txt")));
        QVERIFY(data.open(QIODevice::WriteOnly));
        data.write("KEY " + answers + "\r\n");
        for (int examinee = 0; examinee < 32765; ++examinee)
            data.write("001 " + answers + "\r\n");
        data.close();
        writeBytes(in(QStringLiteral("r.doc")), Earlier);
        writeBytes(in(QStringLiteral("x.html")), Earlier);

        const Run run = qlt({"-c", "5", "-o", "r.doc", "--html", "x.html", "class.txt"}, folder.path(), [] {
            const rlimit limit{150 << 20, 150 << 20};
            ::setrlimit(RLIMIT_AS, &limit);
        });
        QCOMPARE(run.status, 1);
        QVERIFY2(run.err.contains(QStringLiteral("หน่วยความจำไม่พอ")), qPrintable(run.err));
        QCOMPARE(readBytes(in(QStringLiteral("r.doc"))), Earlier);
        QCOMPARE(readBytes(in(QStringLiteral("x.html"))), Earlier);
    }

    // One qlt command writes all its outputs or none: a failure on the last one leaves the first ones.
    void outputsOfOneCommandAreAllWrittenOrNone_data()
    {
        QTest::addColumn<QStringList>("arguments");
        QTest::addColumn<rlim_t>("sizeLimit"); // 0: none
        QTest::addColumn<QString>("reason");
        QTest::newRow("the HTML report into a folder that does not exist")
            << QStringList{"-o", "r.doc", "--csv", "c.csv", "--html", "missing/x.html"} << rlim_t(0)
            << "ไม่พบแฟ้มหรือโฟลเดอร์นี้";
        QTest::newRow("the CSV table onto a folder")
            << QStringList{"-o", "r.doc", "--html", "x.html", "--csv", "folder"} << rlim_t(0) << "เป็นโฟลเดอร์";
        QTest::newRow("the HTML report past a file-size limit the plain report fits in")
            << QStringList{"-o", "r.doc", "--html", "x.html"} << rlim_t(8192) << TooLarge;
    }
    void outputsOfOneCommandAreAllWrittenOrNone()
    {
        QFETCH(QStringList, arguments);
        QFETCH(rlim_t, sizeLimit);
        QFETCH(QString, reason);
        QDir(folder.path()).mkdir(QStringLiteral("folder"));
        for (const QString name : {"r.doc", "c.csv", "x.html"})
            writeBytes(in(name), Earlier);
        const QStringList before = filesIn(folder.path());

        const Run run = qlt(arguments << Sample, folder.path(), [sizeLimit] {
            if (sizeLimit)
                limitFileSize(sizeLimit);
        });
        QCOMPARE(run.status, 1);
        QVERIFY2(run.err.contains(reason), qPrintable(run.err));
        for (const QString name : {"r.doc", "c.csv", "x.html"})
            QCOMPARE(readBytes(in(name)), Earlier);
        QCOMPARE(filesIn(folder.path()), before);
    }

    // An output on the data file or on another output, or without a name, is refused before anything is
    // read or written.
    void outputsThatCollideAreRefused_data()
    {
        QTest::addColumn<QStringList>("arguments");
        QTest::newRow("the report named as the data file") << QStringList{"-o", "class.txt", "class.txt"};
        QTest::newRow("an empty name for the report") << QStringList{"-o", "", "class.txt"};
        QTest::newRow("an empty name for the CSV table") << QStringList{"--csv=", "class.txt"};
        QTest::newRow("the default Result.doc is the data file") << QStringList{"Result.doc"};
        QTest::newRow("the HTML report on the data file through a link")
            << QStringList{"--html", "link.txt", "class.txt"};
        QTest::newRow("the CSV table on a hard link of the data file")
            << QStringList{"--csv", "hard.txt", "class.txt"};
        QTest::newRow("the report and the HTML report on one file spelled two ways")
            << QStringList{"-o", "new.doc", "--html", "sub/../new.doc", "class.txt"};
        QTest::newRow("the HTML report and the CSV table on one new file through a linked folder")
            << QStringList{"--html", "sub/x", "--csv", "sublink/x", "class.txt"};
    }
    void outputsThatCollideAreRefused()
    {
        QFETCH(QStringList, arguments);
        const QByteArray data = readBytes(Sample);
        writeBytes(in(QStringLiteral("class.txt")), data);
        writeBytes(in(QStringLiteral("Result.doc")), data);
        QFile::link(QStringLiteral("class.txt"), in(QStringLiteral("link.txt")));
        QCOMPARE(::link(QFile::encodeName(in("class.txt")).constData(),
                        QFile::encodeName(in("hard.txt")).constData()),
                 0);
        QDir(folder.path()).mkdir(QStringLiteral("sub"));
        QFile::link(in(QStringLiteral("sub")), in(QStringLiteral("sublink")));
        const QStringList before = filesIn(folder.path());

        const Run run = qlt(arguments, folder.path());
        QCOMPARE(run.status, 2);
        QVERIFY2(run.err.contains(QStringLiteral("เป็นแฟ้มเดียวกัน")) ||
                     run.err.contains(QStringLiteral("ชื่อว่าง")),
                 qPrintable(run.err));
        QCOMPARE(readBytes(in(QStringLiteral("class.txt"))), data);
        QCOMPARE(readBytes(in(QStringLiteral("Result.doc"))), data);
        QCOMPARE(filesIn(folder.path()), before);
        QVERIFY(filesIn(in(QStringLiteral("sub"))).isEmpty());
    }

    // A link is written through, as editors do, except one that another user planted in a folder
    // everyone may write to: following it would let that user make the program replace any file.
    void linksAreFollowedUnlessPlantedInASharedFolder_data()
    {
        QTest::addColumn<bool>("sharedFolder");
        QTest::addColumn<bool>("othersLink");
        QTest::addColumn<bool>("followed");
        QTest::newRow("another user's link in a shared folder is refused") << true << true << false;
        QTest::newRow("the user's own link in a shared folder is followed") << true << false << true;
        QTest::newRow("another user's link in a private folder is followed") << false << true << true;
    }
    void linksAreFollowedUnlessPlantedInASharedFolder()
    {
        QFETCH(bool, sharedFolder);
        QFETCH(bool, othersLink);
        QFETCH(bool, followed);
        if (othersLink && !isRoot())
            QSKIP("giving a link to another user needs the superuser");
        const QString target = in(QStringLiteral("victim.txt"));
        writeBytes(target, Earlier);
        const QString place = in(QStringLiteral("place"));
        QDir().mkpath(place);
        ::chmod(QFile::encodeName(place).constData(), sharedFolder ? 01777 : 0755);
        const QString link = QDir(place).filePath(QStringLiteral("Result.doc"));
        QVERIFY(QFile::link(target, link));
        if (othersLink)
            QCOMPARE(::lchown(QFile::encodeName(link).constData(), Nobody, Nobody), 0);

        const Run run = qlt({"-o", link, Sample}, folder.path());
        QCOMPARE(run.status, followed ? 0 : 1);
        QVERIFY(QFileInfo(link).isSymLink());
        if (followed) {
            QCOMPARE(readBytes(target),
                     readBytes(testDataPath(QStringLiteral("class-4choices-default.doc"))));
        } else {
            QCOMPARE(readBytes(target), Earlier);
            verifyMessage(run.err, link, QStringLiteral("ลิงก์ของผู้ใช้อื่น"));
        }
    }

    void everyRefusalSaysWhatHappenedInThai_data()
    {
        QTest::addColumn<QString>("place");
        QTest::addColumn<QString>("reason");
        QTest::newRow("a folder named as the report") << "folder"
                                                      << "ชื่อนี้เป็นโฟลเดอร์";
        QTest::newRow("a socket named as the report") << "socket"
                                                      << "ไม่ใช่แฟ้มธรรมดา";
        QTest::newRow("a pipe that nobody reads") << "pipe"
                                                  << "ไม่มีโปรแกรมใดรอรับข้อมูล";
        QTest::newRow("a folder that does not exist") << "missing"
                                                      << "ไม่พบแฟ้มหรือโฟลเดอร์";
        QTest::newRow("a folder the user may not write to") << "forbidden"
                                                            << "ไม่มีสิทธิ์";
        QTest::newRow("a read-only disk") << "read-only"
                                          << "อ่านได้อย่างเดียว";
    }
    void everyRefusalSaysWhatHappenedInThai()
    {
        QFETCH(QString, place);
        QFETCH(QString, reason);
        SmallDisk disk;
        QString output = in(QStringLiteral("Result.doc"));
        std::function<void()> asUser;
        if (place == u"folder") {
            QDir().mkpath(output);
        } else if (place == u"socket") {
            const int server = ::socket(AF_UNIX, SOCK_STREAM, 0);
            sockaddr_un address{};
            address.sun_family = AF_UNIX;
            qstrncpy(address.sun_path, QFile::encodeName(output).constData(), sizeof address.sun_path);
            QCOMPARE(::bind(server, reinterpret_cast<sockaddr*>(&address), sizeof address), 0);
            ::close(server);
        } else if (place == u"pipe") {
            QCOMPARE(::mkfifo(QFile::encodeName(output).constData(), 0600), 0);
        } else if (place == u"missing") {
            output = in(QStringLiteral("missing/Result.doc"));
        } else if (place == u"forbidden") {
            ::chmod(QFile::encodeName(folder.path()).constData(), 0755);
            if (isRoot()) // the superuser may write anywhere: the report is written as an ordinary user
                asUser = [] { (void)::setgid(Nobody), (void)::setuid(Nobody); };
            else
                ::chmod(QFile::encodeName(folder.path()).constData(), 0555);
        } else if (place == u"read-only") {
            if (!disk.mounted())
                QSKIP("mounting a small memory disk needs the superuser");
            output = disk.path(QStringLiteral("Result.doc"));
            writeBytes(output, Earlier);
            disk.remountReadOnly();
        }
        // The data file lies where any user may read it.
        QTemporaryDir dataFolder;
        const QString data = dataFolder.filePath(QStringLiteral("class.txt"));
        QVERIFY(QFile::copy(Sample, data));
        ::chmod(QFile::encodeName(dataFolder.path()).constData(), 0755);
        ::chmod(QFile::encodeName(data).constData(), 0644);

        const Run run = qlt({"-o", output, data}, QDir::tempPath(), asUser);
        ::chmod(QFile::encodeName(folder.path()).constData(), 0755);
        QCOMPARE(run.status, 1);
        verifyMessage(run.err, output, reason);
        if (place == u"read-only")
            QCOMPARE(readBytes(output), Earlier);
    }

    // The new report reaches the disk before it replaces the earlier one, and the replacement itself is
    // made lasting by syncing the folder, as careful editors do. Watched with strace when it is there.
    void theReportAndItsFolderAreSyncedToTheDisk()
    {
        const QString strace = QStandardPaths::findExecutable(QStringLiteral("strace"));
        if (strace.isEmpty())
            QSKIP("strace is not installed");
        const QString output = in(QStringLiteral("Result.doc"));
        writeBytes(output, Earlier);
        QProcess process;
        QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
        environment.insert(QStringLiteral("ASAN_OPTIONS"),
                           QStringLiteral("detect_leaks=0")); // no leak check under a tracer
        process.setProcessEnvironment(environment);
        process.start(strace,
                      {"-f", "-e", "trace=openat,fsync,rename,renameat,renameat2", "-o",
                       in(QStringLiteral("trace")), QStringLiteral(QLT_EXECUTABLE), "-o", output, Sample});
        process.waitForFinished(-1);
        QCOMPARE(process.exitCode(), 0);
        const QStringList calls = QString::fromUtf8(readBytes(in(QStringLiteral("trace")))).split('\n');
        const auto position = [&](const QString& pattern, qsizetype from = 0) {
            for (qsizetype index = from; index < calls.size(); ++index)
                if (calls[index].contains(QRegularExpression(pattern)))
                    return index;
            return qsizetype(-1);
        };
        const QString folderPath = QRegularExpression::escape(folder.path());
        const qsizetype fileSynced = position(QStringLiteral("fsync\\("));
        const qsizetype renamed =
            position(QStringLiteral("rename.*\"%1\"").arg(QRegularExpression::escape(output)));
        const qsizetype folderOpened =
            position(QStringLiteral("\"%1\", O_RDONLY.*O_DIRECTORY").arg(folderPath), renamed);
        const qsizetype folderSynced = position(QStringLiteral("fsync\\("), folderOpened);
        QVERIFY2(fileSynced >= 0 && fileSynced < renamed, qPrintable(calls.join('\n')));
        QVERIFY2(renamed < folderOpened && folderOpened < folderSynced, qPrintable(calls.join('\n')));
    }

    // A device or a pipe named as the report is written into, never replaced by a file.
    void aPipeNamedAsTheReportReceivesItAndStaysAPipe()
    {
        const QByteArray pipePath = in(QStringLiteral("report.pipe")).toLocal8Bit();
        QCOMPARE(::mkfifo(pipePath.constData(), 0600), 0);
        const int reader = ::open(pipePath.constData(), O_RDONLY | O_NONBLOCK);
        QVERIFY(reader >= 0);
        const QltRun run = runQltInProcess(
            {QStringLiteral("-o"), QString::fromLocal8Bit(pipePath), examplePath("class-4choices.txt")});
        QCOMPARE(run.status, int(QltSuccess));
        QByteArray received(64 * 1024, '\0');
        received.truncate(::read(reader, received.data(), received.size()));
        ::close(reader);
        QCOMPARE(received, readBytes(testDataPath(QStringLiteral("class-4choices-default.doc"))));
        struct stat status;
        QCOMPARE(::stat(pipePath.constData(), &status), 0);
        QVERIFY(S_ISFIFO(status.st_mode));
    }
};

QTEST_MAIN(WriteFaultsTest)
#include "tst_writefaults.moc"
