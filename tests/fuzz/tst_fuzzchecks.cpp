// The fuzz targets can only find what their checks see. Each check is shown a report broken in one
// of the ways the diagnostics could break it, and a sound one that must pass.
#include "Checks.h"

#include <QTest>

class FuzzChecksTest : public QObject {
    Q_OBJECT

private slots:
    void htmlChecks_data()
    {
        QTest::addColumn<QString>("body");
        QTest::addColumn<QStringList>("identifiers");
        QTest::addColumn<bool>("sound");

        const QStringList ids{"a&b", "<i>x</i>"};
        QTest::newRow("escaped identifiers in closed cells pass")
            << "<table><tr><td>a&amp;b</td><td>&lt;i&gt;x&lt;/i&gt;</td></tr></table>" << ids << true;
        QTest::newRow("an identifier written raw turns into markup")
            << "<table><tr><td>a&amp;b</td><td><i>x</i></td></tr></table>" << ids << false;
        QTest::newRow("a raw ampersand")
            << "<table><tr><td>a&b</td><td>&lt;i&gt;x&lt;/i&gt;</td></tr></table>" << ids << false;
        QTest::newRow("a raw quote ends an attribute early")
            << "<p title=\"a\"b\">a&amp;b &lt;i&gt;x&lt;/i&gt;</p>" << QStringList{} << false;
        QTest::newRow("a raw quote in text") << "<p>say \"hi\"</p>" << QStringList{} << false;
        QTest::newRow("an identifier missing from the page")
            << "<table><tr><td>a&amp;b</td></tr></table>" << ids << false;
        QTest::newRow("a row left open") << "<table><tr><td>1</td></table>" << QStringList{} << false;
        QTest::newRow("cells closed out of order")
            << "<table><tr><td>1</tr></td></table>" << QStringList{} << false;
        QTest::newRow("a chart never closed") << "<svg><line x1=\"1\"/>" << QStringList{} << false;
        QTest::newRow("a closing tag nothing opened") << "<p>1</p></p>" << QStringList{} << false;
        QTest::newRow("an attribute without quotes") << "<p class=num>1</p>" << QStringList{} << false;
        QTest::newRow("NaN printed in a cell")
            << "<table><tr><td>nan</td></tr></table>" << QStringList{} << false;
        QTest::newRow("an infinity printed in a chart's coordinates")
            << "<svg><line x1=\"-inf\" y1=\"2.0\"/></svg>" << QStringList{} << false;
        QTest::newRow("a word that merely begins with inf is no number")
            << "<p>Information</p>" << QStringList{} << true;
        QTest::newRow("an identifier may read nan")
            << "<table><tr><td>nan</td></tr></table>" << QStringList{"nan"} << true;
        QTest::newRow("a reference to no character") << "<p>&#0;</p>" << QStringList{} << false;
    }

    void htmlChecks()
    {
        QFETCH(QString, body);
        QFETCH(QStringList, identifiers);
        QFETCH(bool, sound);
        const QString source = QStringLiteral("<ห้อง 1>.txt");
        const QString page = "<!DOCTYPE html>\n<html><head><meta charset=\"utf-8\"/><title>&lt;ห้อง 1&gt;.txt"
                             "</title><style>body { font-family: \"Sarabun\"; }</style></head><body>" +
                             body + "</body></html>\n";
        QCOMPARE(htmlKeepsItsPromises(page, identifiers, source), sound);
    }

    void theFileNameMustBeShownEscaped()
    {
        const QString page = QStringLiteral("<html><head><title>%1</title></head></html>");
        QVERIFY(htmlKeepsItsPromises(page.arg("a&amp;b.txt"), {}, QStringLiteral("a&b.txt")));
        QVERIFY(!htmlKeepsItsPromises(page.arg("a&b.txt"), {}, QStringLiteral("a&b.txt")));
        QVERIFY(!htmlKeepsItsPromises(page.arg("c.txt"), {}, QStringLiteral("a&b.txt")));
    }

    void csvChecks_data()
    {
        QTest::addColumn<QString>("csv");
        QTest::addColumn<bool>("sound");

        const QString bom = QChar(0xFEFF);
        QTest::newRow("quoted fields with quotes, commas and line ends pass")
            << bom + "item,key,reason\r\n1,\",\",\"a \"\"b\"\"\r\nc\"\r\n2,\"\"\"\",\r\n"
            << true;
        QTest::newRow("a row short by a field") << bom + "item,key,reason\r\n1,2\r\n2,3,x\r\n" << false;
        QTest::newRow("a comma left unquoted widens the row") << bom + "item,key,reason\r\n1,,,x\r\n2,3,x\r\n"
                                                              << false;
        QTest::newRow("a quote left unquoted") << bom + "item,key,reason\r\n1,\",x\r\n2,3,x\r\n" << false;
        QTest::newRow("a quote inside a quoted field left single")
            << bom + "item,key,reason\r\n1,\"a\"b\",x\r\n2,3,x\r\n"
            << false;
        QTest::newRow("a line end left unquoted") << bom + "item,key,reason\r\n1,2,x\ny\r\n2,3,x\r\n"
                                                  << false;
        QTest::newRow("no byte-order mark") << QString("item,key,reason\r\n1,2,x\r\n2,3,x\r\n") << false;
        QTest::newRow("the last line without its CR LF")
            << bom + "item,key,reason\r\n1,2,x\r\n2,3,x" << false;
        QTest::newRow("a row missing") << bom + "item,key,reason\r\n1,2,x\r\n" << false;
        QTest::newRow("NaN printed in a field") << bom + "item,key,reason\r\n1,2,NaN\r\n2,3,x\r\n" << false;
        QTest::newRow("an infinity printed in a reason")
            << bom + "item,key,reason\r\n1,2,\"p = inf, too hard\"\r\n2,3,x\r\n"
            << false;
    }

    void csvChecks()
    {
        QFETCH(QString, csv);
        QFETCH(bool, sound);
        QCOMPARE(csvKeepsItsPromises(csv, 2), sound);
    }
};

QTEST_MAIN(FuzzChecksTest)
#include "tst_fuzzchecks.moc"
