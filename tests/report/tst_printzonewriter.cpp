// The print-zone line writer: zone padding at and around zone starts, column counting by code
// point, and line ends.
#include "report/NumberFormat.h"
#include "report/PrintZoneWriter.h"

#include <QTest>

class PrintZoneWriterTest : public QObject {
    Q_OBJECT

private slots:
    void zoneSeparatorPadsToTheNextZoneStart_data()
    {
        QTest::addColumn<QString>("item");
        QTest::addColumn<int>("padding");

        QTest::newRow("at column 0 a zone separator writes 14 spaces") << QString() << 14;
        QTest::newRow("at column 13 it writes one space") << QString(13, 'x') << 1;
        QTest::newRow("at column 14 it writes 14 spaces") << QString(14, 'x') << 14;
        QTest::newRow("at column 27 it writes one space") << QString(27, 'x') << 1;
        QTest::newRow("at column 28 it writes 14 spaces") << QString(28, 'x') << 14;
        QTest::newRow("an item wider than its zone pads to the zone after it") << QString(20, 'x') << 8;
        // "ข้อ": the mark above the first letter combines with it but takes a column of its own.
        QTest::newRow("a Thai combining mark takes a column") << QStringLiteral("\u0e02\u0e49\u0e2d") << 11;
        QTest::newRow("a surrogate pair is one column") << QStringLiteral("a\U0001F600") << 12;
        QTest::newRow("a lone low surrogate is one column") << QStringLiteral("a\xdc00") << 12;
        QTest::newRow("a character outside the code page is one column") << QStringLiteral("Zo\u00eb") << 11;
    }

    void zoneSeparatorPadsToTheNextZoneStart()
    {
        QFETCH(QString, item);
        QFETCH(int, padding);
        PrintZoneWriter out;
        out.text(item).zone();
        QCOMPARE(out.take(), item + QString(padding, ' '));
    }

    void numbersAndGluedItemsAdvanceTheColumn()
    {
        PrintZoneWriter out;
        out.text(u"  ").text(QStringLiteral("001")).number(formatPlainNumber(40)).zone().text(u"a");
        QCOMPARE(out.take(), QStringLiteral("  001 40 ") + QString(5, ' ') + "a");
    }

    void aLineEndRestartsTheColumnCount()
    {
        PrintZoneWriter out;
        out.text(QString(5, 'x')).endLine().endLine().zone().text(u"y").endLine();
        QCOMPARE(out.take(), QString(5, 'x') + "\r\n\r\n" + QString(14, ' ') + "y\r\n");
    }
};

QTEST_APPLESS_MAIN(PrintZoneWriterTest)
#include "tst_printzonewriter.moc"
