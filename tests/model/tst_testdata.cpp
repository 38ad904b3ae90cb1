// The test data model's own rules: the key spelled into Keys, the choice codes, and the answer
// matrix's empty cells.
#include "model/TestData.h"

#include <QTest>

namespace {

// A text array as it should be: an empty entry, `entries`, an empty entry.
QStringList framed(const QStringList& entries)
{
    return QStringList{QString()} + entries + QStringList{QString()};
}

} // namespace

class TestDataTest : public QObject {
    Q_OBJECT

private slots:
    void setKeySpellsTheKeyIntoKeys_data()
    {
        QTest::addColumn<QString>("earlierKey");
        QTest::addColumn<QString>("key");
        QTest::addColumn<QStringList>("keys");
        QTest::newRow("a first key") << QString() << "1234" << QStringList{"1", "2", "3", "4"};
        QTest::newRow("a shorter key leaves nothing of the longer one") << "12341234"
                                                                        << "43" << QStringList{"4", "3"};
        QTest::newRow("any character is stored unchanged") << "1"
                                                           << "a 0" << QStringList{"a", " ", "0"};
    }

    void setKeySpellsTheKeyIntoKeys()
    {
        QFETCH(QString, earlierKey);
        QFETCH(QString, key);
        QFETCH(QStringList, keys);
        TestData data;
        data.setKey(earlierKey);
        data.setKey(key);
        QCOMPARE(data.AllKeys, key);
        QCOMPARE(data.NumItems, keys.size());
        QCOMPARE(data.Keys, framed(keys));
    }

    void setChoicesCreatesTheCodes_data()
    {
        QTest::addColumn<int>("earlierCount");
        QTest::addColumn<int>("count");
        QTest::addColumn<QStringList>("codes");
        QTest::newRow("four choices") << 0 << 4 << QStringList{"1", "2", "3", "4"};
        QTest::newRow("five choices") << 4 << 5 << QStringList{"1", "2", "3", "4", "5"};
        QTest::newRow("back to four drops the fifth") << 5 << 4 << QStringList{"1", "2", "3", "4"};
    }

    void setChoicesCreatesTheCodes()
    {
        QFETCH(int, earlierCount);
        QFETCH(int, count);
        QFETCH(QStringList, codes);
        TestData data;
        if (earlierCount)
            data.setChoices(earlierCount);
        data.setChoices(count);
        QCOMPARE(data.NumChoices, count);
        QCOMPARE(data.ChoiceCodes, framed(codes));
    }

    // Key 1234 and two examinees who answered 1243 and 22.
    void answerMatrixCells_data()
    {
        QTest::addColumn<int>("student");
        QTest::addColumn<int>("item");
        QTest::addColumn<QString>("cell");
        QTest::newRow("a filled cell") << 1 << 3 << "4";
        QTest::newRow("the first cell of the second row") << 2 << 1 << "2";
        QTest::newRow("a cell past a short answer line is empty") << 2 << 3 << "";
        QTest::newRow("the last cell past a short answer line is empty") << 2 << 4 << "";
        QTest::newRow("row 0 is empty") << 0 << 1 << "";
        QTest::newRow("the row after the last examinee is empty") << 3 << 1 << "";
        QTest::newRow("column 0 is empty") << 1 << 0 << "";
        QTest::newRow("the column after the last item is empty") << 1 << 5 << "";
    }

    void answerMatrixCells()
    {
        QFETCH(int, student);
        QFETCH(int, item);
        QFETCH(QString, cell);
        AnswerMatrix matrix;
        matrix.create(2, 4);
        matrix.setRow(1, QStringLiteral("1243"));
        matrix.setRow(2, QStringLiteral("22"));
        QCOMPARE(matrix.at(student, item), cell);
        QCOMPARE(matrix.isEmpty(student, item), cell.isEmpty());
    }

    void answerMatrixRowsKeepOnlyTheItems_data()
    {
        QTest::addColumn<QString>("answers");
        QTest::addColumn<QStringList>("cells"); // items 1 to 5 of a matrix of 4 items
        QTest::newRow("a longer answer text keeps the first four")
            << "123412" << QStringList{"1", "2", "3", "4", ""};
        QTest::newRow("an exact answer text fills the row") << "4321" << QStringList{"4", "3", "2", "1", ""};
        QTest::newRow("a shorter answer text empties the rest of the row")
            << "12" << QStringList{"1", "2", "", "", ""};
        QTest::newRow("an empty answer text empties the row") << "" << QStringList{"", "", "", "", ""};
    }

    void answerMatrixRowsKeepOnlyTheItems()
    {
        QFETCH(QString, answers);
        QFETCH(QStringList, cells);
        AnswerMatrix matrix;
        matrix.create(1, 4);
        matrix.setRow(1, QStringLiteral("3333")); // what the row held before must not show through
        matrix.setRow(1, answers);
        QStringList actual;
        for (int j = 1; j <= 5; ++j)
            actual.append(matrix.at(1, j));
        QCOMPARE(actual, cells);
    }

    void recreatingTheMatrixEmptiesIt()
    {
        AnswerMatrix matrix;
        matrix.create(2, 4);
        matrix.setRow(1, QStringLiteral("1234"));
        matrix.setRow(2, QStringLiteral("4321"));
        matrix.clearRow(2);
        QVERIFY(matrix.isEmpty(2, 1));
        matrix.create(3, 6);
        for (int i = 0; i <= 4; ++i)
            for (int j = 0; j <= 7; ++j)
                QVERIFY(matrix.isEmpty(i, j));
    }
};

QTEST_GUILESS_MAIN(TestDataTest)
#include "tst_testdata.moc"
