// The help page is one self-contained file, read from wherever it was copied: every link leads to a
// place in the page itself, and a browser renders it.
#include <QFile>
#include <QImage>
#include <QProcess>
#include <QRegularExpression>
#include <QSet>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTest>
#include <QUrl>

class HelpPageTest : public QObject {
    Q_OBJECT

private slots:
    void linksStayInsideThePage()
    {
        QFile file(QStringLiteral(HELP_PAGE));
        QVERIFY(file.open(QIODevice::ReadOnly));
        const QString page = QString::fromUtf8(file.readAll());

        QSet<QString> places;
        static const QRegularExpression id(QStringLiteral("\\bid\\s*=\\s*\"([^\"]+)\""));
        for (const auto& match : id.globalMatch(page))
            places.insert(match.captured(1));
        // Links and embedded files of the page and its style sheet.
        static const QRegularExpression reference(
            QStringLiteral("\\b(?:href|src)\\s*=\\s*[\"']([^\"']*)|url\\(\\s*[\"']?([^\"')]*)"));
        int links = 0;
        QStringList outside;
        for (const auto& match : reference.globalMatch(page)) {
            ++links;
            const QString target = match.captured(1) + match.captured(2);
            if (!target.startsWith(QLatin1Char('#')) || !places.contains(target.mid(1)))
                outside.append(target);
        }
        QVERIFY(links > 0);
        QVERIFY2(outside.isEmpty(), qPrintable(QStringLiteral("links to nowhere in the page: ") +
                                               outside.join(QStringLiteral(", "))));
    }

    void rendersInHeadlessChromium()
    {
        const QString chromium = QStandardPaths::findExecutable(QStringLiteral("chromium"));
        QVERIFY2(!chromium.isEmpty(), "chromium is missing; scripts/install-deps chromium installs it");
        QTemporaryDir folder;
        const QString picture = folder.filePath(QStringLiteral("help.png"));
        QProcess browser;
        // Root, as in CI, has no sandbox to offer.
        browser.start(chromium,
                      {QStringLiteral("--headless"), QStringLiteral("--no-sandbox"),
                       QStringLiteral("--disable-gpu"), QStringLiteral("--hide-scrollbars"),
                       QStringLiteral("--user-data-dir=") + folder.filePath(QStringLiteral("profile")),
                       QStringLiteral("--window-size=1000,1400"), QStringLiteral("--screenshot=") + picture,
                       QUrl::fromLocalFile(QStringLiteral(HELP_PAGE)).toString()});
        // No deadline of our own: a busy machine must not fail the test, and CTest ends a real hang.
        QVERIFY(browser.waitForFinished(-1));
        QCOMPARE(browser.exitCode(), 0);

        const QImage image(picture);
        QCOMPARE(image.size(), QSize(1000, 1400));
        // Not blank: headings, text and the contents box cover a fair share of the first screen.
        const QRgb background = image.pixel(0, 0);
        qint64 drawn = 0;
        for (int y = 0; y < image.height(); ++y)
            for (int x = 0; x < image.width(); ++x)
                drawn += image.pixel(x, y) != background;
        QVERIFY2(drawn > image.width() * image.height() / 20, qPrintable(QString::number(drawn)));
    }
};

QTEST_MAIN(HelpPageTest)
#include "tst_helppage.moc"
