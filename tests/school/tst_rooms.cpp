// Several rooms pooled into one class, and a test printed in shuffled forms: the pooled analysis is
// the concatenated class's, a room's figures are its own analysis's, answers on any form come back to
// the same master answers, and mismatched rooms and faulty form files are refused without writing.
#include "DataGenerator.h"
#include "MessageRecorder.h"
#include "QltInProcess.h"
#include "TestFiles.h"
#include "analysis/AnalysisRun.h"
#include "model/DataFileLoader.h"
#include "school/Forms.h"
#include "school/PupilList.h"
#include "school/Rooms.h"

#include <QDir>
#include <QRandomGenerator>
#include <QTemporaryDir>
#include <QTest>

#include <algorithm>
#include <numeric>

namespace {

TestData loaded(const QByteArray& bytes)
{
    TestData data;
    QString error;
    if (!loadDataBytes(bytes, data, error))
        qFatal("%s", qPrintable(error));
    return data;
}

// A generated class cut into rooms of the given sizes: the key record, then each room's records.
struct Split {
    QByteArray whole;
    QList<QByteArray> rooms;
};
Split splitClass(const QList<int>& sizes, std::uint32_t seed)
{
    int students = 0;
    for (const int size : sizes)
        students += size;
    QList<QByteArray> records =
        generateDataFile({.students = students, .items = 30, .seed = seed, .omissionRate = 0.02}).split('\n');
    records.removeAll(QByteArray());
    const QByteArray key = records.takeFirst() + '\n';
    Split split{key, {}};
    for (const int size : sizes) {
        QByteArray room;
        for (int i = 0; i < size; ++i)
            room += records.takeFirst() + '\n';
        split.rooms << key + room;
        split.whole += room;
    }
    return split;
}

// A form: a random order of the master items, and for some items a random order of their options.
struct Shuffle {
    QString code;
    std::vector<int> master;      // per place
    std::vector<QString> options; // per place; empty: as master
};
Shuffle randomForm(const QString& code, int items, int choices, QRandomGenerator& random)
{
    Shuffle form{code, std::vector<int>(std::size_t(items)), std::vector<QString>(std::size_t(items))};
    std::iota(form.master.begin(), form.master.end(), 1);
    std::shuffle(form.master.begin(), form.master.end(), random);
    for (QString& options : form.options)
        if (random.bounded(4) != 0) {
            QString order = QStringLiteral("12345").left(choices);
            std::shuffle(order.begin(), order.end(), random);
            options = order;
        }
    return form;
}

// What a pupil whose master answers are `master` marks on `form`'s sheet: at each place the option
// that shows the master's answer; a mark that is no choice stays.
QString sheetOf(const Shuffle& form, const QString& master)
{
    QString sheet;
    for (std::size_t q = 0; q < form.master.size(); ++q) {
        const QChar answer = master[form.master[q] - 1];
        const qsizetype shown = form.options[q].indexOf(answer);
        sheet += form.options[q].isEmpty() || shown < 0 ? answer : QChar(char16_t(u'1' + shown));
    }
    return sheet;
}

QByteArray formFile(const std::vector<Shuffle>& forms)
{
    QByteArray csv = "ชุด,ข้อ,ข้อต้นฉบับ,ลำดับตัวเลือก\r\n";
    for (const Shuffle& form : forms)
        for (std::size_t q = 0; q < form.master.size(); ++q)
            csv += form.code.toUtf8() + ',' + QByteArray::number(q + 1) + ',' +
                   QByteArray::number(form.master[q]) + ',' + form.options[q].toUtf8() + "\r\n";
    return csv;
}

} // namespace

class RoomsTest : public QObject {
    Q_OBJECT

private slots:
    void pooledRoomsAreTheConcatenatedClass_data();
    void pooledRoomsAreTheConcatenatedClass();
    void oneSheetOfSeveralRoomsRoundTrips();
    void aRoomsFiguresAreItsOwnAnalysis();
    void everyFormMapsToTheSameMasterAnswers_data();
    void everyFormMapsToTheSameMasterAnswers();
    void refusalsWriteNothing_data();
    void refusalsWriteNothing();
    void aKeyOfAnotherFormIsNoticed();
};

void RoomsTest::pooledRoomsAreTheConcatenatedClass_data()
{
    QTest::addColumn<QList<int>>("sizes");
    QTest::newRow("three rooms") << QList<int>{38, 41, 35};
    QTest::newRow("a room of one") << QList<int>{20, 1};
    QTest::newRow("ten small rooms") << QList<int>{3, 4, 5, 6, 7, 8, 9, 10, 11, 12};
}

// The plain report and the item table of the rooms are byte for byte those of one file holding every
// room's pupils in the same order; the gradebook names each pupil's room.
void RoomsTest::pooledRoomsAreTheConcatenatedClass()
{
    QFETCH(QList<int>, sizes);
    const Split split = splitClass(sizes, 7);
    QTemporaryDir folder;
    const QDir dir(folder.path());
    QStringList rooms;
    for (qsizetype k = 0; k < sizes.size(); ++k) {
        rooms << dir.filePath(QStringLiteral("m1-%1.txt").arg(k + 1));
        writeBytes(rooms.last(), split.rooms[k]);
    }
    writeBytes(dir.filePath(QStringLiteral("all.txt")), split.whole);
    const auto out = [&](const QString& name) { return dir.filePath(name); };

    QltRun run = runQltInProcess(QStringList{QStringLiteral("-o"), out(QStringLiteral("rooms.doc")),
                                             QStringLiteral("--csv"), out(QStringLiteral("rooms.csv")),
                                             QStringLiteral("--gradebook"), out(QStringLiteral("book.csv")),
                                             QStringLiteral("--html"), out(QStringLiteral("rooms.html"))} +
                                 rooms);
    QVERIFY2(run.status == 0, qPrintable(run.err));
    run = runQltInProcess({QStringLiteral("-o"), out(QStringLiteral("all.doc")), QStringLiteral("--csv"),
                           out(QStringLiteral("all.csv")), out(QStringLiteral("all.txt"))});
    QVERIFY2(run.status == 0, qPrintable(run.err));
    QCOMPARE(readBytes(out(QStringLiteral("rooms.doc"))), readBytes(out(QStringLiteral("all.doc"))));
    QCOMPARE(readBytes(out(QStringLiteral("rooms.csv"))), readBytes(out(QStringLiteral("all.csv"))));

    const QStringList book = QString::fromUtf8(readBytes(out(QStringLiteral("book.csv")))).split(u'\n');
    QCOMPARE(book[0].split(u',')[2], QStringLiteral("ห้อง"));
    int row = 1;
    for (qsizetype k = 0; k < sizes.size(); ++k)
        for (int i = 0; i < sizes[k]; ++i)
            QCOMPARE(book[row++].split(u',')[2], QStringLiteral("m1-%1").arg(k + 1));
    QVERIFY(QString::fromUtf8(readBytes(out(QStringLiteral("rooms.html")))).contains(u"id=\"rooms\""));

    // One data file of the whole grade with its pupil list beside it compares the same rooms.
    QStringList ids, roomOfPupil;
    const TestData whole = loaded(split.whole);
    for (int i = 1; i <= whole.NumStud; ++i)
        ids << whole.StudID[i].trimmed();
    for (qsizetype k = 0; k < sizes.size(); ++k)
        for (int i = 0; i < sizes[k]; ++i)
            roomOfPupil << QStringLiteral("m1-%1").arg(k + 1);
    writeBytes(out(QStringLiteral("all.pupils.csv")), pupilListBytes(ids, roomOfPupil, {}));
    run = runQltInProcess({QStringLiteral("--gradebook"), out(QStringLiteral("listed.csv")),
                           QStringLiteral("--html"), out(QStringLiteral("listed.html")),
                           out(QStringLiteral("all.txt"))});
    QVERIFY2(run.status == 0, qPrintable(run.err));
    QCOMPARE(readBytes(out(QStringLiteral("listed.csv"))), readBytes(out(QStringLiteral("book.csv"))));
    QVERIFY(QString::fromUtf8(readBytes(out(QStringLiteral("listed.html")))).contains(u"id=\"rooms\""));
}

// A sheet of the whole grade with a room column, imported once with its pupil list written beside
// the data file, and that data file analysed later: the rooms are the sheet's both times.
void RoomsTest::oneSheetOfSeveralRoomsRoundTrips()
{
    QTemporaryDir folder;
    const QDir dir(folder.path());
    const auto out = [&](const QString& name) { return dir.filePath(name); };
    writeBytes(out(QStringLiteral("grade.csv")), "Student ID,ห้อง,Form,Q1,Q2,Q3,Q4\r\n"
                                                 "KEY,,,A,B,C,D\r\n"
                                                 "101,ม.1/1,A,A,B,C,D\r\n"
                                                 "102,ม.1/2,B,B,A,D,C\r\n"
                                                 "103,ม.1/1,B,A,B,D,D\r\n"
                                                 "104,ม.1/2,A,A,C,C,D\r\n"
                                                 "105,ม.1/3,A,C,B,C,A\r\n");
    QltRun run = runQltInProcess({QStringLiteral("--write-data"), out(QStringLiteral("m1.txt")),
                                  QStringLiteral("--gradebook"), out(QStringLiteral("imported.csv")),
                                  out(QStringLiteral("grade.csv"))});
    QVERIFY2(run.status == 0, qPrintable(run.err));
    QVERIFY2(run.err.contains(QStringLiteral("ห้อง: คอลัมน์ B")), qPrintable(run.err));
    QCOMPARE(readBytes(out(QStringLiteral("m1.pupils.csv"))),
             QByteArray("\xEF\xBB\xBFเลขประจำตัว,ห้อง,ชุด\r\n101,ม.1/1,A\r\n102,ม.1/2,B\r\n103,ม.1/1,B\r\n"
                        "104,ม.1/2,A\r\n105,ม.1/3,A\r\n"));
    run = runQltInProcess(
        {QStringLiteral("--gradebook"), out(QStringLiteral("later.csv")), out(QStringLiteral("m1.txt"))});
    QVERIFY2(run.status == 0, qPrintable(run.err));
    const QByteArray book = readBytes(out(QStringLiteral("imported.csv")));
    QCOMPARE(readBytes(out(QStringLiteral("later.csv"))), book);
    QVERIFY(book.contains("\r\n103,,ม.1/1,"));
}

// Each room's pupils, mean, SD, KR-20, p and D in the comparison are those of its file analysed alone.
void RoomsTest::aRoomsFiguresAreItsOwnAnalysis()
{
    const Split split = splitClass({30, 45, 1, 27}, 11);
    TestData pooled;
    PupilGroups rooms;
    for (qsizetype k = 0; k < split.rooms.size(); ++k) {
        QString error;
        QVERIFY2(addRoom(pooled, rooms, loaded(split.rooms[k]), QString::number(k), error),
                 qPrintable(error));
    }
    const std::vector<GroupFigures> figures = groupFigures(pooled, rooms);
    QCOMPARE(figures.size(), std::size_t(split.rooms.size()));
    for (qsizetype k = 0; k < split.rooms.size(); ++k) {
        const TestData room = loaded(split.rooms[k]);
        AnalysisSelection boxes = defaultSelection();
        AnalysisResults run;
        MessageRecorder messages;
        const RunOutcome outcome = runAnalysis(room, boxes, run, messages);
        const GroupFigures& figure = figures[std::size_t(k)];
        QCOMPARE(figure.pupils, room.NumStud);
        QCOMPARE(figure.mean, Index(run.Mean));
        QCOMPARE(figure.sd, Index(run.SD));
        QCOMPARE(figure.kr20,
                 outcome.computed.chkAnalyse[AnalyseBox::Reliability] ? Index(run.KR20) : Index());
        for (int item = 1; item <= room.NumItems; ++item) {
            QCOMPARE(figure.difficulty[std::size_t(item) - 1], Index(run.ItemDifficulty[std::size_t(item)]));
            QCOMPARE(figure.discrimination[std::size_t(item) - 1],
                     outcome.computed.chkAnalyse[AnalyseBox::Discrimination]
                         ? Index(run.ItemDiscrimination[std::size_t(item)])
                         : Index());
        }
    }
}

void RoomsTest::everyFormMapsToTheSameMasterAnswers_data()
{
    QTest::addColumn<int>("items");
    QTest::addColumn<int>("choices");
    QTest::addColumn<int>("forms");
    QTest::addColumn<quint32>("seed");
    QTest::newRow("two forms of 40, 4 choices") << 40 << 4 << 2 << 1u;
    QTest::newRow("four forms of 200, 5 choices") << 200 << 5 << 4 << 2u;
    QTest::newRow("one item") << 1 << 4 << 3 << 3u;
    QTest::newRow("six forms of 7") << 7 << 4 << 6 << 4u;
}

// A pupil's master answers, marked on any form's sheet and mapped back, are the master answers again:
// choices, blanks, several marks and stray characters alike.
void RoomsTest::everyFormMapsToTheSameMasterAnswers()
{
    QFETCH(int, items);
    QFETCH(int, choices);
    QFETCH(int, forms);
    QFETCH(quint32, seed);
    QRandomGenerator random(seed);
    std::vector<Shuffle> shuffles;
    for (int k = 0; k < forms; ++k)
        shuffles.push_back(randomForm(QString(QChar(char16_t(u'A' + k))), items, choices, random));
    const QString marks = QStringLiteral("12345").left(choices) + QStringLiteral(" *9ก");
    QStringList masters;
    QByteArray file = "KEY-- " + QByteArray(items, '1') + "\r\n";
    for (int pupil = 0; pupil < 20; ++pupil) {
        QString master;
        for (int item = 0; item < items; ++item)
            master += marks[random.bounded(int(marks.size()))];
        // Every pupil once on every form.
        for (const Shuffle& form : shuffles) {
            masters << master;
            file += QStringLiteral("%1%2 ").arg(pupil, 4, 10, QLatin1Char('0')).arg(form.code).toUtf8() +
                    sheetOf(form, master).toUtf8() + "\r\n";
        }
    }
    TestData data = loaded(file);
    FormFile formFile_;
    QString error;
    QVERIFY2(readFormsBytes(formFile(shuffles), QStringLiteral("forms.csv"), items, formFile_, error),
             qPrintable(error));
    PupilGroups groups;
    QVERIFY2(mapToMaster(data, formFile_, {}, groups, error), qPrintable(error));
    QCOMPARE(data.NumStud, int(masters.size()));
    for (int i = 1; i <= data.NumStud; ++i) {
        QCOMPARE(data.StudAns[i].toString(), masters[i - 1]);
        QCOMPARE(data.AnsMatrix.row(i).toString(), masters[i - 1]);
        QCOMPARE(groups.names.value(groups.groupOf[std::size_t(i) - 1]),
                 shuffles[std::size_t(i - 1) % shuffles.size()].code);
    }
}

void RoomsTest::refusalsWriteNothing_data()
{
    QTest::addColumn<QByteArrayList>("rooms");
    QTest::addColumn<QByteArray>("forms");  // empty: no --forms
    QTest::addColumn<QByteArray>("pupils"); // the pupil list beside the first file; empty: none
    QTest::addColumn<QStringList>("told");  // what the message must say
    const QByteArray key = "KEY-- 1234123412\r\n";
    const QByteArray pupils = "0001A 1234123412\r\n0002B 2143214321\r\n0003A 1111222233\r\n";
    const QByteArray header = "form,item,master,options\r\n";
    QByteArray formsAB = header;
    for (int q = 1; q <= 10; ++q)
        formsAB += "A," + QByteArray::number(q) + ',' + QByteArray::number(q) + ",\r\n";
    for (int q = 1; q <= 10; ++q)
        formsAB += "B," + QByteArray::number(q) + ',' + QByteArray::number(11 - q) + ",2143\r\n";

    QTest::newRow("a key differs") << QByteArrayList{key + pupils, "KEY-- 1234123312\r\n" + pupils.mid(18)}
                                   << QByteArray() << QByteArray() << QStringList{"ห้อง m1-2", "ข้อ 8"};
    QTest::newRow("items differ") << QByteArrayList{key + pupils, key + pupils,
                                                    "KEY-- 12341234123\r\n0009A 12341234123\r\n"}
                                  << QByteArray() << QByteArray()
                                  << QStringList{"ห้อง m1-3", "11 ข้อ", "10 ข้อ"};
    QTest::newRow("a form code not in the file")
        << QByteArrayList{key + pupils + "0004C 1234123412\r\n"} << formsAB << QByteArray()
        << QStringList{"ผู้สอบคนที่ 4", "0004C", "'C'"};
    QByteArray missing = formsAB;
    missing.replace("B,3,8,2143\r\n", "");
    QTest::newRow("an item missing") << QByteArrayList{key + pupils} << missing << QByteArray()
                                     << QStringList{"ชุด B มี 9 ข้อ", "ขาดข้อ 3"};
    QByteArray twice = formsAB;
    twice.replace("B,3,8,", "B,3,9,");
    QTest::newRow("a master item twice")
        << QByteArrayList{key + pupils} << twice << QByteArray() << QStringList{"แถว 14", "ข้อต้นฉบับ 9"};
    QByteArray placeTwice = formsAB;
    placeTwice.replace("B,4,7,", "B,3,7,");
    QTest::newRow("a place twice") << QByteArrayList{key + pupils} << placeTwice << QByteArray()
                                   << QStringList{"แถว 15", "ข้อ 3 ของชุด B"};
    QByteArray options = formsAB;
    options.replace("B,5,6,2143", "B,5,6,2243");
    QTest::newRow("options not a permutation")
        << QByteArrayList{key + pupils} << options << QByteArray() << QStringList{"แถว 16", "'2243'"};
    QTest::newRow("more items than the test") << QByteArrayList{key + pupils} << formsAB + "A,11,11,\r\n"
                                              << QByteArray() << QStringList{"ไม่มีข้อ 11", "1 ถึง 10"};
    QTest::newRow("no master column") << QByteArrayList{key + pupils} << QByteArray("form,item\r\nA,1\r\n")
                                      << QByteArray() << QStringList{"แถว 1", "ข้อต้นฉบับ"};

    const QByteArray list = "id,room,form\r\n0001A,1/1,A\r\n0002B,1/2,B\r\n0003A,1/1,A\r\n";
    QTest::newRow("a pupil list of another class")
        << QByteArrayList{key + pupils} << QByteArray() << QByteArray(list).replace("0002B", "0002C")
        << QStringList{"m1-1.pupils.csv", "แถว 3", "'0002C'", "ผู้สอบคนที่ 2", "(0002B)"};
    QTest::newRow("a pupil list one short")
        << QByteArrayList{key + pupils} << QByteArray() << list.left(list.lastIndexOf("0003A"))
        << QStringList{"m1-1.pupils.csv", "มีผู้สอบ 2 คน", "มี 3 คน"};
    QTest::newRow("a pupil list one over")
        << QByteArrayList{key + pupils} << QByteArray() << list + "0004A,1/1,A\r\n"
        << QStringList{"m1-1.pupils.csv", "แถว 5", "0004A"};
    QTest::newRow("a pupil without a room")
        << QByteArrayList{key + pupils} << QByteArray() << QByteArray(list).replace("1/2", "")
        << QStringList{"แถว 3", "0002B", "ไม่มีห้อง"};
    QTest::newRow("a pupil list of identifiers only")
        << QByteArrayList{key + pupils} << QByteArray() << QByteArray("id\r\n0001A\r\n0002B\r\n0003A\r\n")
        << QStringList{"m1-1.pupils.csv", "ห้อง (room)"};
    QTest::newRow("a listed form not in the form file")
        << QByteArrayList{key + pupils} << formsAB << QByteArray(list).replace(",B\r\n", ",C\r\n")
        << QStringList{"ผู้สอบคนที่ 2", "'C'", "คอลัมน์ชุดของแฟ้ม m1-1.pupils.csv"};
}

// A refused room or form file names what is wrong, and no output is written or changed.
void RoomsTest::refusalsWriteNothing()
{
    QFETCH(QByteArrayList, rooms);
    QFETCH(QByteArray, forms);
    QFETCH(QByteArray, pupils);
    QFETCH(QStringList, told);
    QTemporaryDir folder;
    const QDir dir(folder.path());
    QStringList arguments{QStringLiteral("--html"), dir.filePath(QStringLiteral("out.html")),
                          QStringLiteral("--gradebook"), dir.filePath(QStringLiteral("book.csv"))};
    if (!forms.isEmpty()) {
        writeBytes(dir.filePath(QStringLiteral("forms.csv")), forms);
        arguments << QStringLiteral("--forms") << dir.filePath(QStringLiteral("forms.csv"));
        if (pupils.isEmpty())
            arguments << QStringLiteral("--form-from-id");
    }
    if (!pupils.isEmpty())
        writeBytes(dir.filePath(QStringLiteral("m1-1.pupils.csv")), pupils);
    for (qsizetype k = 0; k < rooms.size(); ++k) {
        arguments << dir.filePath(QStringLiteral("m1-%1.txt").arg(k + 1));
        writeBytes(arguments.last(), rooms[k]);
    }
    const QltRun run = runQltInProcess(arguments);
    QCOMPARE(run.status, 1);
    for (const QString& words : told)
        QVERIFY2(run.err.contains(words), qPrintable(run.err));
    if (!forms.isEmpty())
        QVERIFY2(run.err.contains(QStringLiteral("forms.csv")), qPrintable(run.err));
    QVERIFY(!QFile::exists(dir.filePath(QStringLiteral("out.html"))));
    QVERIFY(!QFile::exists(dir.filePath(QStringLiteral("book.csv"))));
}

// A data file keyed with form B's sheet instead of the master's is told, naming form B.
void RoomsTest::aKeyOfAnotherFormIsNoticed()
{
    QRandomGenerator random(5);
    const std::vector<Shuffle> shuffles{randomForm(QStringLiteral("A"), 30, 4, random),
                                        randomForm(QStringLiteral("B"), 30, 4, random)};
    QByteArray generated = generateDataFile({.students = 60, .items = 30, .seed = 9});
    QList<QByteArray> records = generated.split('\n');
    records.removeAll(QByteArray());
    const QString masterKey = QString::fromLatin1(records[0].mid(6).trimmed());
    // The key record holds form B's sheet of the master key; the pupils alternate between the forms.
    QByteArray file = "KEY--- " + sheetOf(shuffles[1], masterKey).toLatin1() + "\r\n";
    for (qsizetype i = 1; i < records.size(); ++i) {
        const Shuffle& form = shuffles[std::size_t(i) % 2];
        file += records[i].left(5) + form.code.toLatin1() + ' ' +
                sheetOf(form, QString::fromLatin1(records[i].mid(6).trimmed())).toLatin1() + "\r\n";
    }
    TestData data = loaded(file);
    FormFile forms;
    PupilGroups groups;
    QString error;
    QVERIFY2(readFormsBytes(formFile(shuffles), QStringLiteral("forms.csv"), 30, forms, error),
             qPrintable(error));
    QVERIFY2(mapToMaster(data, forms, {}, groups, error), qPrintable(error));
    QVERIFY(formKeyWarning(data, forms).contains(QStringLiteral("ชุด B")));
    data.setKey(masterKey);
    QCOMPARE(formKeyWarning(data, forms), QString());
}

QTEST_GUILESS_MAIN(RoomsTest)
#include "tst_rooms.moc"
