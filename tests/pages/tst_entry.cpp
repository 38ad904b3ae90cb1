// The manual entry page: a whole class typed with the keyboard, the checks on the key, the count and
// each examinee, and the rules that keep the typed data whole when a step is redone.
#include "AppFixture.h"
#include "Examinees.h"
#include "pages/frm2_Source.h"
#include "pages/frm2_SourceInput.h"

#include <QApplication>
#include <QLabel>
#include <QLayout>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QSignalSpy>

#include <memory>

namespace {
const QString ErrorTitle = " ผิดพลาด !";
const QString CheckAgainTitle = R"qlt(// ผิดพลาด \\)qlt";
const QString Incomplete = "ยังกรอกข้อมูลไม่ครบครับ  ";
const QString MoreThan = "จำนวนข้อมูลที่ป้อน  'มากกว่า'  จำนวนนักเรียนที่กรอกไว้  ตรวจสอบอีกครั้ง!";
const QString Mismatch = "คำตอบ ไม่เท่ากับ คำถาม  ตรวจสอบอีกครั้ง!";
const QString ExamineeQuestion = "ข้อมูลที่กรอก ถูกต้องแล้วใช่หรือไม่ ?";

QString progress(int examinee)
{
    return "ป้อนข้อมูลของคนที่  " + QString::number(examinee);
}
} // namespace

class EntryPageTest : public QObject {
    Q_OBJECT

    std::unique_ptr<AppFixture> f;
    frm2_SourceInput* page = nullptr;

    static QWidget* focused() { return QApplication::focusWidget(); }
    // Keys as the teacher presses them, into whatever has the focus.
    static void type(const QString& text) { QTest::keyClicks(focused(), text); }
    static void enter()
    {
        QTest::keyClick(focused(), Qt::Key_Return);
        settle();
    }

    // Shortcuts for tests about one rule.
    void saveKey(const QString& key)
    {
        page->txtAllKeys->setText(key);
        click(page->cmdSaveAllK);
    }
    void enterCount(const QString& count)
    {
        page->txtStudents->setText(count);
        page->txtStudents->setFocus();
        QTest::keyClick(page->txtStudents, Qt::Key_Return);
    }
    void saveExaminee(const QString& id, const QString& answers, const QString& name = {})
    {
        page->txtID->setText(id);
        page->txtName->setText(name);
        page->txtAns->setText(answers);
        click(page->cmdSaveStud);
    }
    // Names chosen, key 1234 and the count saved, then `saved` examinees E1, E2, ... entered.
    void prepare(int count, int saved, bool names = true)
    {
        page->optName[names ? 1 : 0]->click();
        saveKey(QStringLiteral("1234"));
        enterCount(QString::number(count));
        for (int i = 1; i <= saved; ++i)
            saveExaminee(QStringLiteral("E%1").arg(i), QStringLiteral("4321"), QStringLiteral("N%1").arg(i));
        f->platform.messages.clear();
    }
    void verifyOpen(bool open)
    {
        QCOMPARE(page->lblNum_Stud->isVisible(), open);
        QCOMPARE(page->cmdSaveStud->isEnabled(), open);
        QCOMPARE(page->cmdNext->isEnabled(), !open);
    }
    void verifyOneWarning(const QString& prompt, const QString& title)
    {
        QCOMPARE(f->platform.prompts(), QStringList{prompt});
        QCOMPARE(f->platform.messages.first().title, title);
        QCOMPARE(f->platform.messages.first().icon, Platform::Icon::Warning);
        QCOMPARE(f->platform.messages.first().buttons, Platform::Buttons::Ok);
    }
    // One warning of the page's own, in the program's style.
    void verifyOwnWarning(const QString& mentions = {})
    {
        QCOMPARE(f->platform.messages.size(), 1);
        QCOMPARE(f->platform.messages.first().title, ErrorTitle);
        QCOMPARE(f->platform.messages.first().icon, Platform::Icon::Warning);
        QVERIFY(f->platform.messages.first().prompt.contains(mentions));
    }

private slots:
    void init()
    {
        f = std::make_unique<AppFixture>();
        f->app.show(PageId::SourceInput);
        page = f->loaded<frm2_SourceInput>(PageId::SourceInput);
        QApplication::setActiveWindow(page);
    }
    void cleanup()
    {
        f.reset();
        settle();
    }

    void answerRowTakesTheNameRowsPlaceWithoutNames()
    {
        QVERIFY(!page->optName[0]->isChecked() && !page->optName[1]->isChecked());
        page->layout()->activate();
        const int nameTop = page->txtName->y();
        const int nameLabelTop = page->lblName->y();
        const int answerTop = page->txtAns->y();
        QVERIFY(page->txtID->y() < nameTop && nameTop < answerTop);
        page->optName[0]->click();
        page->layout()->activate();
        QVERIFY(!page->txtName->isVisible() && !page->lblName->isVisible());
        QCOMPARE(page->txtAns->y(), nameTop);
        QCOMPARE(page->lblAns->y(), nameLabelTop);
        QCOMPARE(f->app.data.NameGiven, 0);
        page->optName[1]->click();
        page->layout()->activate();
        QVERIFY(page->txtName->isVisible() && page->lblName->isVisible());
        QCOMPARE(page->txtName->y(), nameTop);
        QCOMPARE(page->txtAns->y(), answerTop);
        QCOMPARE(f->app.data.NameGiven, 1);
    }

    void aWholeClassTypedWithTheKeyboardOnly_data()
    {
        QTest::addColumn<bool>("names");
        QTest::newRow("without names") << false;
        QTest::newRow("with names, each typed over the one before") << true;
    }
    void aWholeClassTypedWithTheKeyboardOnly()
    {
        QFETCH(bool, names);
        const QStringList ids = {"01", "02", "03"};
        const QStringList people = {"Anong", "Boon", "Chai"};
        const QStringList answers = {"24311234512345", "24311234512340", "11111111111111"};
        QSignalSpy countReturns(page->txtStudents, &QLineEdit::returnPressed);

        // The arrow keys move between the two options, Space chooses, Tab leaves them.
        page->optName[0]->setFocus();
        if (names)
            QTest::keyClick(focused(), Qt::Key_Down);
        QTest::keyClick(focused(), Qt::Key_Space);
        QVERIFY(page->optName[names ? 1 : 0]->isChecked());
        QTest::keyClick(focused(), Qt::Key_Tab);
        QCOMPARE(focused(), page->txtAllKeys);
        type(QStringLiteral("24311234512345"));
        enter();
        QCOMPARE(focused(), page->cmdSaveAllK);
        enter();
        QCOMPARE(focused(), page->txtStudents);
        type(QStringLiteral("3"));
        enter();
        for (int i = 0; i < 3; ++i) {
            QCOMPARE(focused(), page->txtID);
            type(ids[i]);
            enter();
            if (names) {
                QCOMPARE(focused(), page->txtName);
                type(people[i]);
                enter();
            }
            QCOMPARE(focused(), page->txtAns);
            type(answers[i]);
            enter();
            QCOMPARE(focused(), page->cmdSaveStud);
            enter();
        }
        QCOMPARE(focused(), page->cmdNext);
        verifyOpen(false);
        QCOMPARE(countReturns.count(), 0);

        QStringList asked = {"ข้อสอบมี  14 ข้อ ใช่หรือไม่ ?"};
        for (int i = 0; i < 3; ++i)
            asked << ExamineeQuestion;
        QCOMPARE(f->platform.prompts(), asked);
        QCOMPARE(f->platform.messages.first().title, " ยืนยันข้อมูล");
        QCOMPARE(f->platform.messages.last().title, " ยืนยันการป้อนคำตอบ");
        const TestData& data = f->app.data;
        QCOMPARE(data.NumItems, 14);
        QCOMPARE(data.NumStud, 3);
        QCOMPARE(data.CurStud, 4);
        QCOMPARE(data.NameGiven, names ? 1 : 0);
        QCOMPARE(data.StudID, QStringList{} << "" << ids << "");
        QCOMPARE(answerStrings(data.StudAns), QStringList{} << "" << answers << "");
        QCOMPARE(data.StudName, names ? QStringList{} << "" << people << "" : QStringList(5));
        for (int i = 1; i <= 3; ++i)
            for (int j = 1; j <= 14; ++j)
                QCOMPARE(data.AnsMatrix.at(i, j), answers[i - 1].mid(j - 1, 1));
        QVERIFY(data.AnsMatrix.at(4, 1).isEmpty() && data.AnsMatrix.at(1, 15).isEmpty());

        enter();
        QVERIFY(f->app.isVisible(PageId::InputChecker));
        QVERIFY(!page->isVisible());
    }

    void aWrongNumberOfAnswersIsEnteredAgain()
    {
        prepare(2, 0, false);
        saveExaminee(QStringLiteral("A1"), QStringLiteral("123"));
        QCOMPARE(f->platform.prompts(), (QStringList{ExamineeQuestion, Mismatch}));
        QCOMPARE(f->platform.messages.last().title, CheckAgainTitle);
        QCOMPARE(page->lblNum_Stud->text(), progress(1));
        QVERIFY(page->txtID->text().isEmpty() && page->txtAns->text().isEmpty());
        QCOMPARE(focused(), page->txtID);
        QCOMPARE(f->app.data.CurStud, 1);
        saveExaminee(QStringLiteral("A1"), QStringLiteral("1243"));
        QCOMPARE(page->lblNum_Stud->text(), "ป้อนข้อมูลของคนที่  2");
        saveExaminee(QStringLiteral("A2"), QStringLiteral("2234"));
        verifyOpen(false);
        QCOMPARE(focused(), page->cmdNext);
        const TestData& data = f->app.data;
        QCOMPARE(data.AnsMatrix.at(1, 3), QStringLiteral("4"));
        QCOMPARE(data.AnsMatrix.at(2, 1), QStringLiteral("2"));
        QVERIFY(data.AnsMatrix.at(0, 1).isEmpty() && data.AnsMatrix.at(3, 1).isEmpty() &&
                data.AnsMatrix.at(1, 5).isEmpty());
    }

    void noToTheExamineeQuestionStoresNothing()
    {
        prepare(2, 1);
        f->platform.answers = {Platform::Answer::No};
        saveExaminee(QStringLiteral("X"), QStringLiteral("1111"), QStringLiteral("Name"));
        QCOMPARE(f->platform.prompts(), QStringList{ExamineeQuestion});
        QVERIFY(page->txtID->text().isEmpty() && page->txtAns->text().isEmpty());
        QCOMPARE(page->txtName->text(), QStringLiteral("Name"));
        QCOMPARE(f->app.data.CurStud, 2);
        QVERIFY(f->app.data.StudID[2].isEmpty() && f->app.data.StudName[2].isEmpty());
        verifyOpen(true);
    }

    void saveAnsRefusals_data()
    {
        QTest::addColumn<int>("earlierCount"); // examinees of a class in the model before the page opened
        QTest::addColumn<bool>("countEntered");
        QTest::addColumn<int>("namesChoice"); // -1: neither option chosen
        QTest::addColumn<QString>("name");
        QTest::addColumn<QString>("answers");
        QTest::addColumn<QString>("prompt"); // empty: a warning of the page's own
        QTest::newRow("no count yet after a fresh start") << 0 << false << 0 << ""
                                                          << "1234" << MoreThan;
        QTest::newRow("no count on this page, an earlier class in the model") << 5 << false << 0 << ""
                                                                              << "1234" << MoreThan;
        QTest::newRow("neither names option chosen") << 5 << true << -1 << "Name"
                                                     << "1234" << QString();
        QTest::newRow("names chosen and the name left empty") << 5 << true << 1 << ""
                                                              << "1234" << Incomplete;
        QTest::newRow("answers left empty") << 5 << true << 0 << ""
                                            << "" << Incomplete;
    }
    void saveAnsRefusals()
    {
        QFETCH(int, earlierCount);
        QFETCH(bool, countEntered);
        QFETCH(int, namesChoice);
        QFETCH(QString, name);
        QFETCH(QString, answers);
        QFETCH(QString, prompt);
        f->app.data.NumStud = earlierCount;
        f->app.data.StudID = makeTextArray(earlierCount);
        if (namesChoice >= 0)
            page->optName[namesChoice]->click();
        saveKey(QStringLiteral("1234"));
        if (countEntered)
            enterCount(QStringLiteral("2"));
        f->platform.messages.clear();
        saveExaminee(QStringLiteral("A1"), answers, name);
        if (prompt.isEmpty())
            verifyOwnWarning(QStringLiteral("2.1"));
        else
            verifyOneWarning(prompt, prompt == MoreThan ? CheckAgainTitle : ErrorTitle);
        QCOMPARE(f->app.data.CurStud, 1);
        QVERIFY(f->app.data.StudID[1].isEmpty());
        QCOMPARE(page->txtAns->text(), answers);
        verifyOpen(true);
    }

    void keyRefusals_data()
    {
        QTest::addColumn<QString>("key");
        QTest::addColumn<QString>("prompt"); // empty: a warning of the page's own
        QTest::newRow("an empty key box") << QString() << "ยังไม่ได้กรอก 'เฉลย' ของแบบสอบนี้เลยครับ ";
        QTest::newRow("a key of 32767 items") << QString(32767, QLatin1Char('1')) << QString();
    }
    void keyRefusals()
    {
        QFETCH(QString, key);
        QFETCH(QString, prompt);
        saveKey(QStringLiteral("1234"));
        f->platform.messages.clear();
        saveKey(key);
        if (prompt.isEmpty())
            verifyOwnWarning(QStringLiteral("32766"));
        else
            verifyOneWarning(prompt, ErrorTitle);
        QCOMPARE(f->app.data.AllKeys, QStringLiteral("1234"));
        QCOMPARE(focused(), page->txtAllKeys);
    }

    void aKeyOf32766ItemsIsTaken()
    {
        saveKey(QString(MaxCount, QLatin1Char('1')));
        QCOMPARE(f->platform.prompts(), QStringList{"ข้อสอบมี  " + QStringLiteral("32766") + " ข้อ ใช่หรือไม่ ?"});
        QCOMPARE(f->app.data.NumItems, MaxCount);
        QCOMPARE(f->app.data.Keys.size(), MaxCount + 2);
    }

    void noToTheKeyQuestionKeepsTheEarlierKey()
    {
        saveKey(QStringLiteral("1234"));
        f->platform.answers = {Platform::Answer::No};
        saveKey(QStringLiteral("12345"));
        QCOMPARE(f->app.data.AllKeys, QStringLiteral("1234"));
        QCOMPARE(f->app.data.NumItems, 4);
        QCOMPARE(f->app.data.Keys, (QStringList{"", "1", "2", "3", "4", ""}));
        QCOMPARE(focused(), page->txtAllKeys);
    }

    void countRefusals_data()
    {
        QTest::addColumn<QString>("count");
        QTest::addColumn<QString>("prompt"); // empty: a warning of the page's own
        QTest::newRow("an empty count box") << QString() << "ต้องกรอกจำนวนผู้ที่สอบด้วยครับ ! ";
        QTest::newRow("zero examinees") << "0"
                                        << "จำนวนผู้ที่ตอบแบบสอบเป็น 0 แล้วจะวิเคราะห์อะไรล่ะครับ ! ";
        QTest::newRow("letters") << "abc" << QString();
        QTest::newRow("a fraction") << "2.5" << QString();
        QTest::newRow("Thai digits") << QStringLiteral("๓") << QString();
        QTest::newRow("a negative count") << "-3" << QString();
        QTest::newRow("one more than 32766") << "32767" << QString();
        QTest::newRow("a number beyond every integer") << "99999999999999999999" << QString();
    }
    void countRefusals()
    {
        QFETCH(QString, count);
        QFETCH(QString, prompt);
        prepare(3, 1);
        enterCount(count);
        if (prompt.isEmpty())
            verifyOwnWarning();
        else
            verifyOneWarning(prompt, ErrorTitle);
        QCOMPARE(f->app.data.NumStud, 3);
        QCOMPARE(f->app.data.StudID, (QStringList{"", "E1", "", "", ""}));
        QCOMPARE(focused(), page->txtStudents);
    }

    void countsTaken_data()
    {
        QTest::addColumn<QString>("count");
        QTest::addColumn<int>("expected");
        QTest::newRow("32766 is the largest count") << "32766" << 32766;
        QTest::newRow("blanks around the number are ignored") << " 7 " << 7;
        QTest::newRow("leading zeros") << "007" << 7;
    }
    void countsTaken()
    {
        QFETCH(QString, count);
        QFETCH(int, expected);
        saveKey(QStringLiteral("1234"));
        enterCount(count);
        QCOMPARE(f->app.data.NumStud, expected);
        QCOMPARE(f->app.data.StudAns.size(), expected + 2);
        QCOMPARE(f->app.data.AnsMatrix.students(), expected);
        QCOMPARE(focused(), page->txtID);
    }

    // Entering the count again keeps every examinee saved so far; the class is complete exactly
    // when all of the new count are saved.
    void enteringTheCountAgain_data()
    {
        QTest::addColumn<int>("first");
        QTest::addColumn<int>("saved");
        QTest::addColumn<int>("second");
        QTest::addColumn<bool>("refused");
        QTest::newRow("below the saved examinees is refused") << 5 << 3 << 2 << true;
        QTest::newRow("equal to the saved examinees completes the class") << 5 << 2 << 2 << false;
        QTest::newRow("larger reopens a complete class") << 2 << 2 << 4 << false;
        QTest::newRow("larger keeps an open class open") << 5 << 2 << 6 << false;
    }
    void enteringTheCountAgain()
    {
        QFETCH(int, first);
        QFETCH(int, saved);
        QFETCH(int, second);
        QFETCH(bool, refused);
        prepare(first, saved);
        enterCount(QString::number(second));
        QCOMPARE(f->platform.messages.size(), refused ? 1 : 0);
        const int count = refused ? first : second;
        const TestData& data = f->app.data;
        QCOMPARE(data.NumStud, count);
        QCOMPARE(data.CurStud, saved + 1);
        QCOMPARE(data.StudID.size(), count + 2);
        QCOMPARE(data.AnsMatrix.students(), count);
        for (int i = 1; i <= count + 1; ++i) {
            const bool kept = i <= saved;
            QCOMPARE(data.StudID[i], kept ? QStringLiteral("E%1").arg(i) : QString());
            QCOMPARE(data.StudName[i], kept ? QStringLiteral("N%1").arg(i) : QString());
            QCOMPARE(data.StudAns[i].toString(), kept ? QStringLiteral("4321") : QString());
            QCOMPARE(data.AnsMatrix.at(i, 2), kept ? QStringLiteral("3") : QString());
        }
        const bool open = saved < count;
        verifyOpen(open);
        if (!open)
            return;
        saveExaminee(QStringLiteral("Next"), QStringLiteral("1111"), QStringLiteral("Nn"));
        QCOMPARE(data.StudID[saved + 1], QStringLiteral("Next"));
        QCOMPARE(data.CurStud, saved + 2);
    }

    // The answer matrix always has a column for every item of the current key.
    void savingAnotherKey_data()
    {
        QTest::addColumn<int>("saved");
        QTest::addColumn<QString>("key");
        QTest::addColumn<bool>("taken");
        QTest::newRow("longer, before anyone is saved") << 0 << "123456" << true;
        QTest::newRow("shorter, before anyone is saved") << 0 << "12" << true;
        QTest::newRow("another length after an examinee is saved") << 1 << "12345" << false;
        QTest::newRow("a corrected key of the same length") << 1 << "4321" << true;
    }
    void savingAnotherKey()
    {
        QFETCH(int, saved);
        QFETCH(QString, key);
        QFETCH(bool, taken);
        prepare(2, saved);
        saveKey(key);
        const TestData& data = f->app.data;
        if (!taken)
            verifyOwnWarning(QStringLiteral("4"));
        QCOMPARE(data.AllKeys, taken ? key : QStringLiteral("1234"));
        QCOMPARE(data.AnsMatrix.items(), data.NumItems);
        QCOMPARE(data.AnsMatrix.students(), 2);
        if (saved)
            QCOMPARE(data.AnsMatrix.at(1, 1), QStringLiteral("4"));
        saveExaminee(QStringLiteral("Last"), data.AllKeys, QStringLiteral("Nn"));
        QCOMPARE(data.CurStud, saved + 2);
    }

    void aCountBeforeTheKeyNoLongerTrapsTheTeacher()
    {
        page->optName[0]->click();
        enterCount(QStringLiteral("1"));
        saveKey(QStringLiteral("1234"));
        saveExaminee(QStringLiteral("A1"), QStringLiteral("1234"));
        QCOMPARE(f->app.data.CurStud, 2);
        QCOMPARE(f->app.data.AnsMatrix.at(1, 4), QStringLiteral("4"));
        verifyOpen(false);
    }

    void startingAgainGivesAPageThatHasSavedNobody()
    {
        prepare(3, 3);
        f->app.show(PageId::Source);
        f->loaded<frm2_Source>(PageId::Source)->optInput[0]->click();
        click(page->cmdstart);
        QVERIFY(!f->app.isLoaded(PageId::SourceInput));
        click(f->loaded<frm2_Source>(PageId::Source)->cmdNext);
        page = f->loaded<frm2_SourceInput>(PageId::SourceInput);
        QCOMPARE(f->app.data.CurStud, 1);
        prepare(1, 0); // fewer examinees than the model held, and a key saved again: both taken
        saveKey(QStringLiteral("12"));
        QVERIFY(f->platform.prompts().size() == 1); // the key question only
        saveExaminee(QStringLiteral("Z"), QStringLiteral("21"), QStringLiteral("Zed"));
        QCOMPARE(f->app.data.StudID, (QStringList{"", "Z", ""}));
        verifyOpen(false);
    }
};

QTEST_MAIN(EntryPageTest)
#include "tst_entry.moc"
