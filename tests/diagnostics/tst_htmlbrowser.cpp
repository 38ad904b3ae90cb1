// The visual report in a real browser (headless Chromium): it loads with no request outside the file,
// the 40-item sample class prints on a few A4 pages, and screenshots of it as a PC and a phone show
// it are left in the build folder for a person to look at.
// A page that does load something shows that the checks would catch it.
#include "MessageRecorder.h"
#include "TestFiles.h"
#include "analysis/AnalysisRun.h"
#include "diagnostics/HtmlReport.h"
#include "model/DataFileLoader.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QProcess>
#include <QRegularExpression>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTest>
#include <QUrl>

namespace {

QString sampleReport()
{
    TestData data;
    QString error;
    if (!loadDataFile(examplePath(QStringLiteral("class-4choices.txt")), data, error))
        qFatal("%s", qPrintable(error));
    AnalysisResults run;
    MessageRecorder messages;
    AnalysisSelection boxes = defaultSelection();
    runAnalysis(data, boxes, run, messages);
    return composeHtmlReport(data, diagnoseTest(data, run, 0), QStringLiteral("class-4choices.txt"));
}

struct BrowserRun {
    bool finished = false;
    QString dom;
    QString log;
    QByteArray netLog;
};

// Chromium with a profile of its own and its background services off, every host name unresolvable
// (so that nothing can leave the machine), its console written to the log and its network events to
// a net log.
BrowserRun browse(const QString& browser, const QString& page, const QStringList& extra)
{
    QTemporaryDir profile;
    const QString netLog = profile.filePath(QStringLiteral("net.json"));
    QProcess process;
    process.start(browser, QStringList{"--headless", "--no-sandbox", "--disable-gpu", "--no-first-run",
                                       "--user-data-dir=" + profile.filePath(QStringLiteral("profile")),
                                       "--disable-background-networking", "--disable-component-update",
                                       "--disable-sync", "--disable-default-apps", "--disable-extensions",
                                       "--host-resolver-rules=MAP * ~NOTFOUND", "--log-net-log=" + netLog,
                                       "--enable-logging=stderr", "--v=0"} +
                               extra + QStringList{QUrl::fromLocalFile(page).toString()});
    BrowserRun run;
    // No deadline of our own: a busy machine must not fail the test, and CTest ends a real hang.
    run.finished = process.waitForFinished(-1) && process.exitStatus() == QProcess::NormalExit &&
                   process.exitCode() == 0;
    run.dom = QString::fromUtf8(process.readAllStandardOutput());
    run.log = QString::fromUtf8(process.readAllStandardError());
    run.netLog = readBytes(netLog);
    return run;
}

// The URLs the page asked the network for. The browser's own requests carry no page as initiator.
QStringList pageRequests(const QByteArray& netLog)
{
    const QJsonObject log = QJsonDocument::fromJson(netLog).object();
    const int startJob = log[QLatin1String("constants")][QLatin1String("logEventTypes")]
                            [QLatin1String("URL_REQUEST_START_JOB")]
                                .toInt(-1);
    QStringList urls;
    for (const QJsonValue& event : log[QLatin1String("events")].toArray()) {
        const QJsonObject params = event[QLatin1String("params")].toObject();
        if (event[QLatin1String("type")].toInt() == startJob && params.contains(QLatin1String("url")) &&
            params[QLatin1String("initiator")].toString() != QLatin1String("not an origin"))
            urls << params[QLatin1String("url")].toString();
    }
    return urls;
}

// What the browser's console says it refused to load under the page's content security policy.
QStringList refusedLoads(const QString& log)
{
    QStringList refused;
    for (const QString& line : log.split(u'\n'))
        if (line.contains(QLatin1String("Content Security Policy")))
            refused << line;
    return refused;
}

// The number of pages of a PDF: the largest count of its page tree, whose root counts them all.
int pdfPages(const QByteArray& pdf)
{
    int pages = 0;
    static const QRegularExpression count(QStringLiteral("/Count (\\d+)"));
    for (const auto& match : count.globalMatch(QString::fromLatin1(pdf)))
        pages = std::max(pages, match.captured(1).toInt());
    return pages;
}

} // namespace

class TestHtmlInBrowser : public QObject {
    Q_OBJECT

    QString browser;
    QTemporaryDir folder;

private slots:
    void initTestCase()
    {
        browser = QStandardPaths::findExecutable(QStringLiteral("chromium"));
        if (browser.isEmpty())
            QSKIP("Chromium is not installed (scripts/install-deps chromium)");
    }

    void pageLoadsNothingFromOutside_data()
    {
        QTest::addColumn<QString>("html");
        QTest::addColumn<bool>("requested"); // the page reached for the network
        QTest::addColumn<bool>("refused");   // the page's policy refused a load
        QTest::newRow("the sample class's report") << sampleReport() << false << false;
        // Shows that both checks see a load: the image from a host reaches the network with the policy
        // gone, and with the policy in place every load, a file beside the page too, is refused.
        QTest::newRow("a page that loads an image from a host")
            << "<!DOCTYPE html><html><body><img src=\"http://example.invalid/a.png\"/></body></html>" << true
            << false;
        QTest::newRow("a page whose policy refuses a file beside it")
            << "<!DOCTYPE html><html><head><meta http-equiv=\"Content-Security-Policy\" content=\"default-src "
               "'none'\"/></head><body><img src=\"beside.png\"/></body></html>"
            << false << true;
    }

    void pageLoadsNothingFromOutside()
    {
        QFETCH(QString, html);
        const QString page = folder.filePath(QStringLiteral("page.html"));
        writeBytes(page, html.toUtf8());
        const BrowserRun run = browse(browser, page, {QStringLiteral("--dump-dom")});
        QVERIFY2(run.finished, qPrintable(run.log));
        QVERIFY2(run.netLog.contains("\"events\""), "the browser wrote no net log");

        const QStringList requests = pageRequests(run.netLog);
        const QStringList refusals = refusedLoads(run.log);
        QFETCH(bool, requested);
        QFETCH(bool, refused);
        QVERIFY2(requests.isEmpty() != requested, qPrintable(requests.join(u'\n')));
        QVERIFY2(refusals.isEmpty() != refused, qPrintable(refusals.join(u'\n')));
        if (requested || refused)
            return;
        // The page is there, whole: the last item's card and the definitions at the end.
        QVERIFY(run.dom.contains(QLatin1String("<figure class=\"card\" id=\"item-40\">")));
        QCOMPARE(run.dom.count(QLatin1String("<figure class=\"card\"")), 40);
        QVERIFY(run.dom.contains(QStringLiteral("นิยามและสูตร")));
    }

    // Printed with the browser's defaults (headers and footers, no background graphics), the table's
    // rows stay whole and the reason column keeps its width, so a class of 35 and 40 items needs no
    // more than six sheets.
    void theSampleReportPrintsOnAtMostSixA4Pages()
    {
        const QString page = folder.filePath(QStringLiteral("print.html"));
        writeBytes(page, sampleReport().toUtf8());
        const QString pdf = folder.filePath(QStringLiteral("print.pdf"));
        const BrowserRun run = browse(browser, page, {"--print-to-pdf=" + pdf});
        QVERIFY2(run.finished, qPrintable(run.log));
        const QByteArray printed = readBytes(pdf);
        QVERIFY2(printed.startsWith("%PDF"), qPrintable(run.log));
        static const QRegularExpression a4(
            QStringLiteral("/MediaBox \\[0 0 59[45](\\.\\d+)? 84[12](\\.\\d+)?\\]"));
        QVERIFY(a4.match(QString::fromLatin1(printed)).hasMatch()); // 210 × 297 mm in points
        const int pages = pdfPages(printed);
        QVERIFY2(pages >= 1 && pages <= 6, qPrintable(QString::number(pages)));
    }

    void screenshotOfTheSampleReport_data()
    {
        QTest::addColumn<QString>("size");
        QTest::addColumn<QString>("suffix");
        QTest::newRow("on a PC's screen") << "1280,12500"
                                          << "";
        QTest::newRow("on a phone's screen") << "390,16000"
                                             << "-phone";
    }
    void screenshotOfTheSampleReport()
    {
        QFETCH(QString, size);
        QFETCH(QString, suffix);
        const QString page = folder.filePath(QStringLiteral("report.html"));
        writeBytes(page, sampleReport().toUtf8());
        QString shot = QStringLiteral(QUILLET_SCREENSHOT);
        shot.insert(shot.size() - 4, suffix); // before ".png"
        QFile::remove(shot);
        const BrowserRun run =
            browse(browser, page, {"--hide-scrollbars", "--window-size=" + size, "--screenshot=" + shot});
        QVERIFY2(run.finished, qPrintable(run.log));
        QVERIFY2(readBytes(shot).startsWith("\x89PNG"), qPrintable(shot));
        qInfo("screenshot: %s", qPrintable(shot));
    }
};

QTEST_GUILESS_MAIN(TestHtmlInBrowser)
#include "tst_htmlbrowser.moc"
