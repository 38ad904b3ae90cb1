// The readers under the import: how a choice cell becomes a choice code, how CSV text in every
// encoding and separator becomes rows of cells, and how an XLSX workbook's parts become the same.
#include "Workbooks.h"
#include "import/ChoiceReading.h"
#include "import/CsvReader.h"
#include "import/XlsxReader.h"
#include "model/CodePage874.h"

#include <QStringEncoder>
#include <QTest>

using Rows = QList<QStringList>;
Q_DECLARE_METATYPE(ZipMembers)

namespace {
Rows rowsOf(const Table& table)
{
    Rows rows;
    for (qsizetype row = 0; row < table.rowCount(); ++row) {
        QStringList cells;
        for (qsizetype column = 0; column < table.columnCount(row); ++column)
            cells.append(table.cell(row, column).toString());
        rows.append(cells);
    }
    return rows;
}

QByteArray utf16(const QString& text, QStringConverter::Encoding encoding)
{
    QStringEncoder encoder(encoding, QStringConverter::Flag::WriteBom);
    return encoder.encode(text);
}
} // namespace

class ImportReadersTest : public QObject {
    Q_OBJECT

private slots:
    void choiceCells_data()
    {
        QTest::addColumn<QString>("cell");
        QTest::addColumn<QString>("code");
        QTest::newRow("a digit is its choice") << "3"
                                               << "3";
        QTest::newRow("a Thai digit is the same choice") << "๓"
                                                         << "3";
        QTest::newRow("a capital letter counts from A") << "C"
                                                        << "3";
        QTest::newRow("a small letter too, up to e") << "e"
                                                     << "5";
        QTest::newRow("the Thai choice letters count from ก") << "ง"
                                                              << "4";
        QTest::newRow("blanks around a label do not count") << "  B "
                                                            << "2";
        QTest::newRow("a labelled option text gives its label") << "ข. 25 องศา"
                                                                << "2";
        QTest::newRow("a label with a parenthesis too") << "4) ตัวเลือกที่สี่"
                                                        << "4";
        QTest::newRow("an empty cell is a blank") << ""
                                                  << " ";
        QTest::newRow("a cell of blanks is a blank") << "   "
                                                     << " ";
        QTest::newRow("two labels are several marks") << "AB"
                                                      << "*";
        QTest::newRow("labels with a comma between them too") << "A, C"
                                                              << "*";
        QTest::newRow("a letter beyond E is unreadable") << "F"
                                                         << "?";
        QTest::newRow("zero is no choice") << "0"
                                           << "?";
        QTest::newRow("a word that starts with a Thai letter is unreadable") << "ข้าว"
                                                                             << "?";
        QTest::newRow("a label and a dot without a blank is unreadable") << "ก.25"
                                                                         << "?";
    }
    void choiceCells()
    {
        QFETCH(QString, cell);
        QFETCH(QString, code);
        QCOMPARE(QString(QChar(readChoiceCell(cell))), code);
    }

    void keyWords_data()
    {
        QTest::addColumn<QString>("cell");
        QTest::addColumn<bool>("key");
        QTest::newRow("เฉลย") << "เฉลย" << true;
        QTest::newRow("KEY in any case, blanks around it") << " Key " << true;
        QTest::newRow("ANSWER KEY") << "answer key" << true;
        QTest::newRow("KEYS is a name, not the key") << "KEYS" << false;
        QTest::newRow("two blanks inside are not ANSWER KEY") << "ANSWER  KEY" << false;
    }
    void keyWords()
    {
        QFETCH(QString, cell);
        QFETCH(bool, key);
        QCOMPARE(isKeyWord(cell), key);
    }

    void csv_data()
    {
        QTest::addColumn<QByteArray>("bytes");
        QTest::addColumn<Rows>("rows");
        QTest::newRow("commas and CR LF") << QByteArray("a,b\r\n1,2\r\n") << Rows{{"a", "b"}, {"1", "2"}};
        QTest::newRow("semicolons, as a European Excel writes")
            << QByteArray("a;b;c\n1;2,5;3\n") << Rows{{"a", "b", "c"}, {"1", "2,5", "3"}};
        QTest::newRow("tabs") << QByteArray("a\tb\n1\t2") << Rows{{"a", "b"}, {"1", "2"}};
        QTest::newRow("a quoted field holds separators and a line break")
            << QByteArray("id,name\r\n1,\"Smith, J\r\nJr\"\r\n2,x\r\n")
            << Rows{{"id", "name"}, {"1", "Smith, J\r\nJr"}, {"2", "x"}};
        QTest::newRow("doubled quotes are one quote")
            << QByteArray("\"say \"\"hi\"\"\",x\n") << Rows{{"say \"hi\"", "x"}};
        QTest::newRow("a separator at the end leaves an empty field")
            << QByteArray("a,b,\n") << Rows{{"a", "b", ""}};
        QTest::newRow("an empty line is an empty row") << QByteArray("a\n\nb\n") << Rows{{"a"}, {""}, {"b"}};
        QTest::newRow("lone CRs end lines") << QByteArray("a\rb\r") << Rows{{"a"}, {"b"}};
        QTest::newRow("UTF-8 with a byte-order mark")
            << QByteArray("\xEF\xBB\xBF") + QStringLiteral("เลขที่,ชื่อ").toUtf8() << Rows{{"เลขที่", "ชื่อ"}};
        QTest::newRow("ASCII after a byte-order mark, a quote inside a field")
            << QByteArray("\xEF\xBB\xBFid,\"a\"\"b\",c\"d\r\n") << Rows{{"id", "a\"b", "c\"d"}};
        QTest::newRow("UTF-8 without a mark") << QStringLiteral("เลขที่,ก").toUtf8() << Rows{{"เลขที่", "ก"}};
        QTest::newRow("code page 874, as Excel on a Thai Windows saves CSV")
            << encodeCp874(u"เลขที่,ชื่อ\r\n1,ก") << Rows{{"เลขที่", "ชื่อ"}, {"1", "ก"}};
        QTest::newRow("UTF-16 little-endian with a mark, Excel's Unicode text")
            << utf16(QStringLiteral("เลขที่\tข้อ 1\r\n1\tก\r\n"), QStringConverter::Utf16LE)
            << Rows{{"เลขที่", "ข้อ 1"}, {"1", "ก"}};
        QTest::newRow("UTF-16 big-endian with a mark")
            << utf16(QStringLiteral("a,b"), QStringConverter::Utf16BE) << Rows{{"a", "b"}};
    }
    void csv()
    {
        QFETCH(QByteArray, bytes);
        QFETCH(Rows, rows);
        Table table;
        QString error;
        QVERIFY2(readCsv(bytes, QStringLiteral("class.csv"), table, error), qPrintable(error));
        QCOMPARE(rowsOf(table), rows);
    }

    void csvRefusals_data()
    {
        QTest::addColumn<QByteArray>("bytes");
        QTest::addColumn<QString>("says");
        QTest::newRow("a quote that never closes names the row where it opened")
            << QByteArray("a,b\n1,\"x\n2,y\n") << "แถว 2";
        QTest::newRow("binary data is not CSV") << QByteArray("a,b\n\0\x01\x02", 7) << "ไม่ใช่แฟ้มข้อความ CSV";
    }
    void csvRefusals()
    {
        QFETCH(QByteArray, bytes);
        QFETCH(QString, says);
        Table table;
        QString error;
        QVERIFY(!readCsv(bytes, QStringLiteral("class.csv"), table, error));
        QVERIFY2(error.contains(says) && error.contains(QStringLiteral("class.csv")), qPrintable(error));
    }

    void xlsxCells()
    {
        const QByteArray sheet =
            "<row r=\"1\"><c r=\"A1\" t=\"s\"><v>0</v></c><c r=\"C1\" t=\"inlineStr\"><is><t>ข้อ</t></is></c></row>"
            "<row r=\"3\"><c r=\"A3\"><v>24101</v></c><c r=\"B3\"><v>2.4105E4</v></c><c r=\"C3\"><v>0.5</v></c>"
            "<c r=\"D3\" t=\"s\"><v>1</v></c><c r=\"E3\" t=\"str\"><v>ก</v></c></row>";
        Table table;
        QString error;
        QVERIFY2(readXlsx(workbook(sheet, {QStringLiteral("เลขที่"), QStringLiteral("ชื่อ")}),
                          QStringLiteral("class.xlsx"), QString(), table, error),
                 qPrintable(error));
        // Cells and rows left out keep the others in place; whole numbers are their digits.
        QCOMPARE(rowsOf(table), (Rows{{"เลขที่", "", "ข้อ"}, {}, {"24101", "24105", "0.5", "ชื่อ", "ก"}}));
    }

    // The sheet's XML as Excel and other tools write it, scanned as it is unpacked piece by piece.
    void xlsxSheets_data()
    {
        QTest::addColumn<QByteArray>("sheetData");
        QTest::addColumn<ZipMembers>("how");
        QTest::addColumn<Rows>("rows");
        QTest::newRow("entities and character references")
            << QByteArray(
                   "<row r=\"1\"><c t=\"inlineStr\"><is><t>A&amp;B &lt;&gt;&quot;&apos; &#3585;&#x0E02;</t>"
                   "</is></c></row>")
            << ZipMembers::Stored << Rows{{QStringLiteral("A&B <>\"' กข")}};
        QTest::newRow("cells without a reference follow one another")
            << QByteArray("<row r=\"1\"><c><v>1</v></c><c t=\"s\"><v>0</v></c><c r=\"D1\"><v>4</v></c></row>")
            << ZipMembers::Stored << Rows{{"1", "x", "", "4"}};
        QTest::newRow("rows left out and empty rows keep the others' numbers")
            << QByteArray("<row r=\"2\"><c r=\"B2\"><v>5</v></c></row><row r=\"4\"/><row><c/></row>")
            << ZipMembers::Stored << Rows{{}, {"", "5"}, {}, {}, {""}};
        QTest::newRow("rich text runs are one text, a phonetic guide is none of it")
            << QByteArray("<row r=\"1\"><c t=\"inlineStr\"><is><r><t>ก</t></r><r><rPr/><t>ข</t></r>"
                          "<rPh sb=\"0\" eb=\"1\"><t>x</t></rPh></is></c></row>")
            << ZipMembers::Stored << Rows{{QStringLiteral("กข")}};
        QTest::newRow("a formula's cached text, prefixes, a comment, a CDATA section, a negative number")
            << QByteArray("<?pi x?><x:row r=\"1\"><x:c t=\"str\"><x:f>A1&amp;\"x\"</x:f><x:v>ab</x:v></x:c>"
                          "<!-- note --><c t='inlineStr'><is><t><![CDATA[a<b]]></t></is></c>"
                          "<c t=\"n\"><v>-12</v></c><c><v>007</v></c></x:row>")
            << ZipMembers::Stored << Rows{{"ab", "a<b", "-12", "7"}};
        // Thousands of rows and a text longer than the window the sheet is unpacked through put
        // tokens across every boundary between pieces.
        QByteArray many;
        Rows manyRows;
        for (int row = 1; row <= 3000; ++row) {
            const QByteArray text = "row " + QByteArray::number(row) + " &amp; " + QByteArray(row % 37, 'x');
            many += "<row r=\"" + QByteArray::number(row) + "\"><c r=\"A" + QByteArray::number(row) +
                    "\"><v>" + QByteArray::number(row * 7) + "</v></c><c t=\"inlineStr\"><is><t>" + text +
                    "</t></is></c></row>";
            manyRows.append({QString::number(row * 7), QString::fromLatin1(text).replace("&amp;", "&")});
        }
        const QString longText(100'000, u'ก');
        many += "<row r=\"3001\"><c t=\"inlineStr\"><is><t>" + longText.toUtf8() + "</t></is></c></row>";
        manyRows.append({longText});
        QTest::newRow("a large deflated sheet") << many << ZipMembers::Deflated << manyRows;
    }
    void xlsxSheets()
    {
        QFETCH(QByteArray, sheetData);
        QFETCH(ZipMembers, how);
        QFETCH(Rows, rows);
        Table table;
        QString error;
        QVERIFY2(readXlsx(workbook(sheetData, {QStringLiteral("x")}, how), QStringLiteral("class.xlsx"),
                          QString(), table, error),
                 qPrintable(error));
        QCOMPARE(rowsOf(table), rows);
    }

    void xlsxRefusals_data()
    {
        QTest::addColumn<QByteArray>("bytes");
        QTest::addColumn<QString>("sheet");
        QTest::addColumn<QString>("says");
        QTest::newRow("a password-protected workbook is a compound file")
            << QByteArray("\xD0\xCF\x11\xE0\xA1\xB1\x1A\xE1", 8) + QByteArray(504, '\0') << ""
            << "รหัสผ่าน";
        QTest::newRow("an archive with encrypted members")
            << zipArchive({{"xl/workbook.xml", "<workbook/>"}, {"xl/_rels/workbook.xml.rels", "<x/>"}},
                          ZipMembers::Encrypted)
            << ""
            << "รหัสผ่าน";
        QTest::newRow("text named .xlsx is no workbook") << QByteArray("id,name\n1,a\n") << ""
                                                         << "ไม่ใช่แฟ้ม Excel";
        QTest::newRow("a zip without a workbook") << zipArchive({{"readme.txt", "hello"}}) << ""
                                                  << "xl/workbook.xml";
        QTest::newRow("a member whose check sum is wrong is damaged")
            << workbook("<row r=\"1\"/>").replace("</sheetData>", "</sheetDatA>") << ""
            << "เสียหาย";
        QTest::newRow("a cell beyond Excel's last column is damage, not a place")
            << workbook("<row r=\"1\"><c r=\"ZZZZZZ1\"><v>1</v></c></row>") << ""
            << "เสียหาย";
        QTest::newRow("a row beyond Excel's last row too")
            << workbook("<row r=\"999999999\"><c><v>1</v></c></row>") << ""
            << "เสียหาย";
        QTest::newRow("a member that claims to unpack to more than deflate can give")
            << zipArchive({{"xl/workbook.xml", "<workbook/>"}})
                   .replace(QByteArray("\x0B\0\0\0\x0B\0\0\0", 8), QByteArray("\x0B\0\0\0\0\0\0\x40", 8))
            << ""
            << "เสียหาย";
        QTest::newRow("an element closed by another's end tag")
            << workbook("<row r=\"1\"><c><v>1</c></v></row>") << ""
            << "แผ่นงานในแฟ้มเสียหาย";
        QTest::newRow("a row never closed") << workbook("<row r=\"1\"><c><v>1</v></c>") << ""
                                            << "แผ่นงานในแฟ้มเสียหาย";
        QTest::newRow("an entity XML does not define")
            << workbook("<row r=\"1\"><c t=\"str\"><v>&nbsp;</v></c></row>") << ""
            << "แผ่นงานในแฟ้มเสียหาย";
        QTest::newRow("a character reference to no character")
            << workbook("<row r=\"1\"><c t=\"str\"><v>&#0;</v></c></row>") << ""
            << "แผ่นงานในแฟ้มเสียหาย";
        QTest::newRow("a document type, which could define entities")
            << workbook("<!DOCTYPE x [<!ENTITY a \"b\">]><row r=\"1\"/>") << ""
            << "แผ่นงานในแฟ้มเสียหาย";
        QTest::newRow("an attribute without quotes") << workbook("<row r=1><c><v>1</v></c></row>") << ""
                                                     << "แผ่นงานในแฟ้มเสียหาย";
        QTest::newRow("a sheet that is not there lists the sheets that are")
            << workbook("<row r=\"1\"/>") << "ห้อง 2"
            << "Sheet1";
    }
    void xlsxRefusals()
    {
        QFETCH(QByteArray, bytes);
        QFETCH(QString, sheet);
        QFETCH(QString, says);
        Table table;
        QString error;
        QVERIFY(!readXlsx(bytes, QStringLiteral("class.xlsx"), sheet, table, error));
        QVERIFY2(error.contains(says) && error.contains(QStringLiteral("class.xlsx")), qPrintable(error));
    }

    void columnNames_data()
    {
        QTest::addColumn<QString>("name");
        QTest::addColumn<int>("index");
        QTest::newRow("A is the first column") << "A" << 0;
        QTest::newRow("Z the 26th") << "Z" << 25;
        QTest::newRow("AA the 27th") << "AA" << 26;
        QTest::newRow("small letters too") << "ar" << 43;
        QTest::newRow("a number counts from 1") << "3" << 2;
    }
    void columnNames()
    {
        QFETCH(QString, name);
        QFETCH(int, index);
        QCOMPARE(columnIndex(name), index);
        if (!name.front().isDigit())
            QCOMPARE(columnName(index), name.toUpper());
    }
};

QTEST_GUILESS_MAIN(ImportReadersTest)
#include "tst_importreaders.moc"
