// The checking page's listing: the key line, then identifiers with the answers from the next print
// zone on, names left out.
#include "Examinees.h"
#include "report/InputListing.h"

#include <QTest>

namespace {

// Examinees with names, which the listing leaves out; no answer matrix, which it does not read.
TestData examinees(const QString& key, const QStringList& ids, const QStringList& answers)
{
    QList<Examinee> examinees;
    for (qsizetype i = 0; i < ids.size(); ++i)
        examinees.append({ids[i], answers[i], QStringLiteral("Name %1").arg(i + 1)});
    TestData data;
    setClass(data, key, examinees);
    return data;
}

} // namespace

class InputListingTest : public QObject {
    Q_OBJECT

private slots:
    void keyLineThenOneLinePerExamineeWithoutNames()
    {
        const TestData data = examinees("1234", {"01", "02"}, {"1243", "2234"});
        const QString key = QStringLiteral("เฉลยคือ   ");
        QCOMPARE(composeInputListing(data), key + "1234\r\n01            1243\r\n02            2234\r\n");
    }

    void answersStartAtTheNextZone_data()
    {
        QTest::addColumn<int>("idLength");
        QTest::addColumn<int>("answerColumn");
        QTest::newRow("a one-character identifier puts the answers at column 14") << 1 << 14;
        QTest::newRow("13 characters put them at column 14") << 13 << 14;
        QTest::newRow("14 characters put them at column 28") << 14 << 28;
        QTest::newRow("27 characters put them at column 28") << 27 << 28;
        QTest::newRow("28 characters put them at column 42") << 28 << 42;
    }

    void answersStartAtTheNextZone()
    {
        QFETCH(int, idLength);
        QFETCH(int, answerColumn);
        const TestData data = examinees("12", {QString(idLength, '7')}, {"21"});
        const QStringList lines = composeInputListing(data).split("\r\n");
        QCOMPARE(lines.size(), 3); // the key, the examinee and the empty rest after the last CR LF
        QCOMPARE(lines[1].indexOf("21"), answerColumn);
    }

    void noExamineesListsTheKeyAlone()
    {
        const TestData data = examinees("4321", {}, {});
        QCOMPARE(composeInputListing(data), QStringLiteral("เฉลยคือ   ") + "4321\r\n");
    }
};

QTEST_APPLESS_MAIN(InputListingTest)
#include "tst_inputlisting.moc"
