// The data-file loader: the record layout, line ends and commas, encodings, the limits, and the
// faults it refuses while leaving the earlier data set untouched.
#include "Examinees.h"
#include "TestFiles.h"
#include "model/DataFileLoader.h"
#include "report/TextFile.h"

#include <QDir>
#include <QFile>
#include <QStringDecoder>
#include <QTemporaryDir>
#include <QTest>

#include <algorithm>

using namespace Qt::StringLiterals;

namespace {

QByteArray utf16(const QString& text, QStringEncoder::Encoding order)
{
    const QByteArray mark = order == QStringEncoder::Utf16LE ? "\xFF\xFE" : "\xFE\xFF";
    return mark + QByteArray(QStringEncoder(order).encode(text));
}

// A data set as the entry page might have left it: bigger than the files loaded over it, with
// names, choices and entry-page settings that a file load must not touch.
TestData earlierData()
{
    TestData data;
    data.setKey(QString(60, QLatin1Char('3')));
    data.NumStud = 40;
    data.StudID = makeTextArray(40);
    data.StudName = makeTextArray(40);
    data.StudAns = makeTextArray<AnswerText>(40);
    data.AnsMatrix.create(40, 60);
    for (int i = 1; i <= 40; ++i) {
        data.StudID[i] = QStringLiteral("old%1").arg(i);
        data.StudName[i] = QStringLiteral("นักเรียน %1").arg(i);
        data.StudAns[i] = QString(60, QLatin1Char('1' + i % 5));
        data.AnsMatrix.setRow(i, data.StudAns[i]);
    }
    data.NameGiven = 1;
    data.CurStud = 41;
    data.DataFile = QStringLiteral("earlier.txt");
    data.setChoices(5);
    return data;
}

// Every field, the answer matrix cell by cell.
void verifySame(const TestData& actual, const TestData& expected)
{
    QCOMPARE(actual.NumItems, expected.NumItems);
    QCOMPARE(actual.AllKeys, expected.AllKeys);
    QCOMPARE(actual.Keys, expected.Keys);
    QCOMPARE(actual.NumStud, expected.NumStud);
    QCOMPARE(actual.StudID, expected.StudID);
    QCOMPARE(actual.StudName, expected.StudName);
    QCOMPARE(answerStrings(actual.StudAns), answerStrings(expected.StudAns));
    QCOMPARE(actual.NameGiven, expected.NameGiven);
    QCOMPARE(actual.CurStud, expected.CurStud);
    QCOMPARE(actual.DataFile, expected.DataFile);
    QCOMPARE(actual.NumChoices, expected.NumChoices);
    QCOMPARE(actual.ChoiceCodes, expected.ChoiceCodes);
    QCOMPARE(actual.AnsMatrix.students(), expected.AnsMatrix.students());
    QCOMPARE(actual.AnsMatrix.items(), expected.AnsMatrix.items());
    for (int i = 0; i <= expected.AnsMatrix.students() + 1; ++i)
        for (int j = 0; j <= expected.AnsMatrix.items() + 1; ++j)
            QCOMPARE(actual.AnsMatrix.at(i, j), expected.AnsMatrix.at(i, j));
}

// What every loaded data set satisfies: arrays of count + 2 entries with both ends empty, Keys
// spelling AllKeys, no names, and each matrix row the answer text's first NumItems characters.
void verifyLoadedShape(const TestData& data)
{
    QCOMPARE(data.NumItems, data.AllKeys.size());
    QCOMPARE(data.Keys.size(), data.NumItems + 2);
    QVERIFY(data.Keys.first().isEmpty() && data.Keys.last().isEmpty());
    for (int j = 1; j <= data.NumItems; ++j)
        QCOMPARE(data.Keys[j], data.AllKeys.mid(j - 1, 1));
    const QStringList answers = answerStrings(data.StudAns);
    for (const QStringList* array : {&data.StudID, &answers, &data.StudName}) {
        QCOMPARE(array->size(), data.NumStud + 2);
        QVERIFY(array->first().isEmpty() && array->last().isEmpty());
    }
    QCOMPARE(data.StudName.join(QString()), QString());
    QCOMPARE(data.AnsMatrix.students(), data.NumStud);
    QCOMPARE(data.AnsMatrix.items(), data.NumItems);
    for (int i = 0; i <= data.NumStud + 1; ++i)
        for (int j = 0; j <= data.NumItems + 1; ++j) {
            const bool inside = i >= 1 && i <= data.NumStud && j >= 1 && j <= data.NumItems;
            QCOMPARE(data.AnsMatrix.at(i, j), inside ? answers[i].mid(j - 1, 1) : QString());
        }
}

// Loads `bytes` through a real file over the earlier data set.
struct Loaded {
    bool ok = false;
    TestData data = earlierData();
    QString error;
};

Loaded loadFile(const QByteArray& bytes)
{
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("data.txt"));
    writeBytes(path, bytes);
    Loaded loaded;
    loaded.ok = loadDataFile(path, loaded.data, loaded.error);
    return loaded;
}

// A file of `records` records (the key record included) over a key of `items` items.
QByteArray fileOfSize(int records, int items)
{
    QByteArray bytes = "KEY " + QByteArray(items, '1') + "\r\n";
    for (int i = 1; i < records; ++i)
        bytes += QByteArray::number(i).rightJustified(3, '0', true) + " 1234\r\n";
    return bytes;
}

QStringList numbered(const QString& pattern, int count)
{
    QStringList texts;
    for (int i = 1; i <= count; ++i)
        texts.append(pattern.arg(i, 2, 10, QLatin1Char('0')));
    return texts;
}

} // namespace

class LoaderTest : public QObject {
    Q_OBJECT

private slots:
    void loadsRecords_data()
    {
        QTest::addColumn<QByteArray>("file");
        QTest::addColumn<QString>("key");
        QTest::addColumn<QStringList>("ids");
        QTest::addColumn<QStringList>("answers");

        const QString key40 = QStringLiteral("1234123412341234123412341234123412342143");
        QList<QByteArray> class30 = {"KEY " + key40.toLatin1()};
        QStringList answers30;
        for (int i = 1; i <= 30; ++i) {
            answers30.append(key40.right(i) + key40.left(40 - i));
            class30.append(QStringLiteral("s%1 ").arg(i, 2, 10, QLatin1Char('0')).toLatin1() +
                           answers30.last().toLatin1());
        }
        QTest::newRow("40 items and 30 examinees of the usual shape")
            << lines(class30) << key40 << numbered(QStringLiteral("s%1"), 30) << answers30;

        QTest::newRow("a three-character label gives three-character identifiers")
            << lines({"KEY 123412", "001 123412", "002 432143"}) << "123412" << QStringList{"001", "002"}
            << QStringList{"123412", "432143"};
        QTest::newRow("a five-character label reads five characters even where a line's blank comes sooner")
            << lines({"LABEL 1234", "12345 1234", "1234 1234"}) << "1234" << QStringList{"12345", "1234 "}
            << QStringList{"1234", "234"};
        QTest::newRow("the separator is skipped whatever it is")
            << lines({"KEY 1234", "001-1234"}) << "1234" << QStringList{"001"} << QStringList{"1234"};
        QTest::newRow("blanks at the start of an examinee line belong to the identifier")
            << lines({"KEY 1234", "  1 1234"}) << "1234" << QStringList{"  1"} << QStringList{"1234"};
        QTest::newRow("an answer line two characters short leaves the last cells empty")
            << lines({"KEY 1234", "001 12"}) << "1234" << QStringList{"001"} << QStringList{"12"};
        QTest::newRow("a long answer line keeps only as many answers as the key has items")
            << lines({"KEY 1234", "001 123412"}) << "1234" << QStringList{"001"} << QStringList{"1234"};
        QTest::newRow("a long answer line is cut by the key's length, not by the key record's")
            << lines({"LABEL 12", "001 12341234"}) << "12" << QStringList{"001 1"} << QStringList{"34"};
        QTest::newRow("a line shorter than the label is a short identifier without answers")
            << lines({"KEY 1234", "01"}) << "1234" << QStringList{"01"} << QStringList{""};
        QTest::newRow("an identifier and its blank alone give no answers")
            << lines({"KEY 1234", "001 "}) << "1234" << QStringList{"001"} << QStringList{""};
        QTest::newRow("a key record alone gives no examinees")
            << lines({"KEY 1234"}) << "1234" << QStringList{} << QStringList{};
        QTest::newRow("blanks after the key are not items")
            << lines({"KEY 1234   ", "001 1234"}) << "1234" << QStringList{"001"} << QStringList{"1234"};
        QTest::newRow("a blank inside the key is an item")
            << lines({"KEY 12 34", "001 12 34"}) << "12 34" << QStringList{"001"} << QStringList{"12 34"};
        QTest::newRow("a tab belongs to the label; only a blank ends it")
            << lines({"KEY\t1 234", "0011 4321"}) << "234" << QStringList{"0011 "} << QStringList{"321"};

        QTest::newRow("LF line ends") << lines({"KEY 12", "001 12", "002 21"}, "\n") << "12"
                                      << QStringList{"001", "002"} << QStringList{"12", "21"};
        QTest::newRow("lone CR line ends") << lines({"KEY 12", "001 12", "002 21"}, "\r") << "12"
                                           << QStringList{"001", "002"} << QStringList{"12", "21"};
        QTest::newRow("mixed line ends and no end after the last record")
            << QByteArray("KEY 12\n001 12\r002 21\r\n003 11") << "12" << QStringList{"001", "002", "003"}
            << QStringList{"12", "21", "11"};
        QTest::newRow("a trailing empty line is not an examinee")
            << lines({"KEY 12", "001 12", ""}) << "12" << QStringList{"001"} << QStringList{"12"};
        QTest::newRow("empty and blank lines anywhere are skipped")
            << lines({"", "KEY 12", "", "   ", "001 12", "  ", ""}) << "12" << QStringList{"001"}
            << QStringList{"12"};
        QTest::newRow("a comma ends a record just as a line end does")
            << lines({"KEY 1234", "001 1234,002 4321", "003 1111,"}) << "1234"
            << QStringList{"001", "002", "003"} << QStringList{"1234", "4321", "1111"};
        QTest::newRow("a double quote is an ordinary character")
            << lines({"KEY 1234", "\"01 1\"34"}) << "1234" << QStringList{"\"01"} << QStringList{"1\"34"};
        constexpr char withNul[] = "KEY 1234\r\n0\0001 12\0004\r\n";
        QTest::newRow("NUL bytes are ordinary characters")
            << QByteArray(withNul, sizeof withNul - 1) << "1234"
            << QStringList{QString::fromLatin1("0\0001", 3)}
            << QStringList{QString::fromLatin1("12\0004", 4)};

        const QString thai = QStringLiteral(u"KEY 1234\r\nก01 1234\r\nข02 4321\r\n");
        const QStringList thaiIds = {QStringLiteral(u"ก01"), QStringLiteral(u"ข02")};
        QTest::newRow("UTF-8 with Thai identifiers")
            << thai.toUtf8() << "1234" << thaiIds << QStringList{"1234", "4321"};
        QTest::newRow("UTF-8 with a byte-order mark, the mark dropped")
            << "\xEF\xBB\xBF" + thai.toUtf8() << "1234" << thaiIds << QStringList{"1234", "4321"};
        QTest::newRow("code page 874 with Thai identifiers")
            << encodeText(thai) << "1234" << thaiIds << QStringList{"1234", "4321"};
        QTest::newRow("UTF-16 little-endian with a byte-order mark")
            << utf16(thai, QStringEncoder::Utf16LE) << "1234" << thaiIds << QStringList{"1234", "4321"};
        QTest::newRow("UTF-16 big-endian with a byte-order mark")
            << utf16(thai, QStringEncoder::Utf16BE) << "1234" << thaiIds << QStringList{"1234", "4321"};
        QTest::newRow("a byte-order mark inside a UTF-8 file is a character")
            << lines({QStringLiteral(u"KEY 1234 ก").toUtf8(), "\xEF\xBB\xBF"
                                                              "01 1234"})
            << QStringLiteral(u"1234 ก") << QStringList{QChar(0xFEFF) + QStringLiteral("01")}
            << QStringList{"1234"};
        QTest::newRow("a UTF-8 character cut off at the end of a record is not lost")
            << "\xEF\xBB\xBF" + lines({"KEY 1234", "001 12\xE0"}) << "1234" << QStringList{"001"}
            << QStringList{QStringLiteral(u"12\uFFFD")};
        QTest::newRow("bytes undefined in code page 874 stay one character each")
            << lines({"KEY 1234", "0\xDB\xFF 12\xFC"}) << "1234" << QStringList{decodeCp874("0\xDB\xFF")}
            << QStringList{decodeCp874("12\xFC")};
        QTest::newRow("one byte that is not UTF-8, late in the file, makes the whole file code page 874")
            << lines({"KEY 1234", QStringLiteral(u"ก 1234").toUtf8(), "\xA1\xA2\xA3 4321"}) << "1234"
            << QStringList{decodeCp874("\xE0\xB8\x81"), QStringLiteral(u"กขฃ")} << QStringList{"1234", "4321"};

        const QString longThai(1 << 19, QChar(0x0E01));
        QTest::newRow("a 1 MB answer line of Thai in UTF-8")
            << lines({"KEY 1234", "001 " + longThai.toUtf8()}) << "1234" << QStringList{"001"}
            << QStringList{longThai.first(4)};
        const QString manyDigits = QString(1 << 20, QLatin1Char('2'));
        QTest::newRow("a 1 MB answer line and a record after it")
            << lines({"KEY 1234", "001 " + manyDigits.toLatin1(), "002 1234"}) << "1234"
            << QStringList{"001", "002"} << QStringList{"2222", "1234"};
        QTest::newRow("a 1 MB record of blanks after its answers")
            << lines({"KEY 1234", "001 1234" + QByteArray(1 << 20, ' '), "002 4321"}) << "1234"
            << QStringList{"001", "002"} << QStringList{"1234", "4321"};
        QTest::newRow("a 1 MB key record whose key ends in blanks")
            << lines({"KEY 1234" + QByteArray(1 << 20, ' '), "001 4321"}) << "1234" << QStringList{"001"}
            << QStringList{"4321"};
        QTest::newRow("the largest key after a label as long as the key")
            << lines({QByteArray(MaxCount, 'L') + ' ' + QByteArray(MaxCount, '1'),
                      QByteArray(MaxCount, 'i') + " 2"})
            << QString(MaxCount, QLatin1Char('1')) << QStringList{QString(MaxCount, QLatin1Char('i'))}
            << QStringList{"2"};

        const QByteArray ascii = lines({"KEY 1234", "001 1234", "002 4321"});
        QTest::newRow("UTF-16 little-endian without a byte-order mark")
            << QByteArray(QStringEncoder(QStringEncoder::Utf16LE).encode(thai)) << "1234" << thaiIds
            << QStringList{"1234", "4321"};
        QTest::newRow("UTF-16 big-endian without a byte-order mark")
            << QByteArray(QStringEncoder(QStringEncoder::Utf16BE).encode(thai)) << "1234" << thaiIds
            << QStringList{"1234", "4321"};
        QTest::newRow("UTF-16 of plain ASCII without a byte-order mark")
            << QByteArray(QStringEncoder(QStringEncoder::Utf16LE).encode(QString::fromLatin1(ascii)))
            << "1234" << QStringList{"001", "002"} << QStringList{"1234", "4321"};
        QTest::newRow("UTF-32 little-endian with a byte-order mark")
            << "\xFF\xFE\0\0"_qba + QByteArray(QStringEncoder(QStringEncoder::Utf32LE).encode(thai)) << "1234"
            << thaiIds << QStringList{"1234", "4321"};
        QTest::newRow("UTF-32 big-endian with a byte-order mark")
            << "\0\0\xFE\xFF"_qba + QByteArray(QStringEncoder(QStringEncoder::Utf32BE).encode(thai)) << "1234"
            << thaiIds << QStringList{"1234", "4321"};
        // The reader takes 256 KiB at a time: the smiley's two halves land in two chunks.
        const QString smiley = QStringLiteral(u"\U0001F600");
        const QString splitPair = QStringLiteral("KEY 1234\r\n") + QString(131059, QLatin1Char(' ')) +
                                  QStringLiteral("\r\n") + smiley + QStringLiteral("A 1234\r\n");
        QTest::newRow("a UTF-16 character of two units split between two chunks")
            << "\xFF\xFE" + QByteArray(QStringEncoder(QStringEncoder::Utf16LE).encode(splitPair)) << "1234"
            << QStringList{smiley + QLatin1Char('A')} << QStringList{"1234"};
    }

    void loadsRecords()
    {
        QFETCH(QByteArray, file);
        QFETCH(QString, key);
        QFETCH(QStringList, ids);
        QFETCH(QStringList, answers);

        const Loaded loaded = loadFile(file);
        QVERIFY2(loaded.ok, qPrintable(loaded.error));
        const TestData& data = loaded.data;
        QCOMPARE(data.AllKeys, key);
        QCOMPARE(data.NumStud, ids.size());
        QCOMPARE(data.StudID.mid(1, data.NumStud), ids);
        QCOMPARE(answerStrings(data.StudAns.mid(1, data.NumStud)), answers);
        verifyLoadedShape(data);
        if (QTest::currentTestFailed())
            return;

        const TestData earlier = earlierData();
        QCOMPARE(data.NameGiven, earlier.NameGiven);
        QCOMPARE(data.CurStud, earlier.CurStud);
        QCOMPARE(data.DataFile, earlier.DataFile);
        QCOMPARE(data.NumChoices, earlier.NumChoices);
        QCOMPARE(data.ChoiceCodes, earlier.ChoiceCodes);
    }

    void acceptsTheLargestData_data()
    {
        QTest::addColumn<int>("records");
        QTest::addColumn<int>("items");
        QTest::newRow("32766 records give 32765 examinees") << 32766 << 4;
        QTest::newRow("a key of 32766 items") << 2 << 32766;
    }

    void acceptsTheLargestData()
    {
        QFETCH(int, records);
        QFETCH(int, items);
        TestData data;
        QString error;
        QVERIFY2(loadDataBytes(fileOfSize(records, items), data, error), qPrintable(error));
        QCOMPARE(data.NumStud, records - 1);
        QCOMPARE(data.NumItems, items);
        QVERIFY(data.StudAns.last().isEmpty());
        QCOMPARE(data.AnsMatrix.at(records - 1, 4), QStringLiteral("4"));
    }

    void refusesFaults_data()
    {
        QTest::addColumn<QByteArray>("file");
        QTest::addColumn<QString>("mentions");

        QTest::newRow("an empty file") << QByteArray() << QStringLiteral("ว่างเปล่า");
        QTest::newRow("a file of empty and blank lines")
            << lines({"", "  ", " "}) << QStringLiteral("ว่างเปล่า");
        QTest::newRow("a key record without a blank")
            << lines({"KEY1234", "001 1234"}) << QStringLiteral("ไม่มีช่องว่าง");
        QTest::newRow("a 1 MB key record without a blank")
            << lines({QByteArray(1 << 20, '1')}) << QStringLiteral("ไม่มีช่องว่าง");
        QTest::newRow("a key record that starts with a blank")
            << lines({" KEY 1234", "001 1234"}) << QStringLiteral("ขึ้นต้นด้วยช่องว่าง");
        QTest::newRow("a key record with nothing after its blank")
            << lines({"KEY ", "001 1234"}) << QStringLiteral("ไม่มี 'เฉลย'");
        QTest::newRow("a key record with only blanks after its blank")
            << lines({"KEY    ", "001 1234"}) << QStringLiteral("ไม่มี 'เฉลย'");
        QTest::newRow("32767 records") << fileOfSize(32767, 4) << QStringLiteral("32766");
        QTest::newRow("a key of 32767 items") << fileOfSize(2, 32767) << QStringLiteral("32767");
        QTest::newRow("a key record longer than a label and the largest key")
            << lines({QByteArray(MaxCount + 2, 'L') + ' ' + QByteArray(MaxCount, '1')})
            << QStringLiteral("บรรทัดแรก");
        QTest::newRow("a 1 MB key record of a key and a blank, then more")
            << lines({"KEY 1234" + QByteArray(1 << 20, ' ') + "5"}) << QStringLiteral("บรรทัดแรก");
    }

    void refusesFaults()
    {
        QFETCH(QByteArray, file);
        QFETCH(QString, mentions);

        const Loaded loaded = loadFile(file);
        QVERIFY(!loaded.ok);
        QVERIFY2(loaded.error.contains(mentions), qPrintable(loaded.error));
        verifySame(loaded.data, earlierData());
    }

    void refusesFilesItCannotRead_data()
    {
        QTest::addColumn<QString>("path");
        QTest::newRow("a file that does not exist")
            << QDir::temp().filePath(QStringLiteral("no such file.txt"));
        QTest::newRow("a folder") << QDir::tempPath();
        if (QFile::exists(QStringLiteral("/proc/self/mem")))
            QTest::newRow("a file that opens but fails to read") << QStringLiteral("/proc/self/mem");
    }

    void refusesFilesItCannotRead()
    {
        QFETCH(QString, path);
        TestData data = earlierData();
        QString error;
        QVERIFY(!loadDataFile(path, data, error));
        QVERIFY2(error.contains(QDir::toNativeSeparators(path)), qPrintable(error));
        verifySame(data, earlierData());
    }

    void loadsTheExamples_data()
    {
        QTest::addColumn<QString>("name");
        QTest::addColumn<int>("students");
        QTest::addColumn<int>("items");
        QTest::newRow("a class of 35 with 40 items of four choices") << "class-4choices.txt" << 35 << 40;
        QTest::newRow("a class with five choices") << "class-5choices.txt" << 38 << 30;
        QTest::newRow("a class with slips in its answer lines") << "class-slips.txt" << 32 << 20;
    }

    void loadsTheExamples()
    {
        QFETCH(QString, name);
        QFETCH(int, students);
        QFETCH(int, items);

        // Saved as on a teacher's PC: plain ASCII and CR LF after every line.
        const QByteArray bytes = readBytes(examplePath(name));
        QCOMPARE(bytes.count("\r\n"), students + 1);
        QCOMPARE(bytes.count('\n'), students + 1);
        QVERIFY(std::all_of(bytes.begin(), bytes.end(), [](char c) { return uchar(c) < 0x80; }));

        TestData data;
        QString error;
        QVERIFY2(loadDataFile(examplePath(name), data, error), qPrintable(error));
        QCOMPARE(data.NumStud, students);
        QCOMPARE(data.NumItems, items);
        verifyLoadedShape(data);
    }
};

QTEST_GUILESS_MAIN(LoaderTest)
#include "tst_loader.moc"
