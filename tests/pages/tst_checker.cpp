// The checking page: the listing written to InputData.doc and shown in the box, a listing that cannot
// be written, and the manual path through the page to the analysis and back to a fresh entry page.
#include "AppFixture.h"
#include "DiskFaults.h"
#include "Examinees.h"
#include "TestFiles.h"
#include "pages/frm1_Info.h"
#include "pages/frm2_Source.h"
#include "pages/frm2_SourceInput.h"
#include "pages/frm3_InputChecker.h"
#include "pages/frm4_Stat.h"
#include "report/TextFile.h"

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QFontInfo>
#include <QFontMetricsF>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTextEdit>

#include <memory>

namespace {
const QString SkipHint = "   * ถ้ามั่นใจว่าข้อมูลนำเข้าไม่มีอะไรผิดพลาด  สามารถข้ามขั้นตอนนี้ได้เลยครับ *";
} // namespace

class CheckingPageTest : public QObject {
    Q_OBJECT

    std::unique_ptr<AppFixture> f;

    frm3_InputChecker* checker() { return f->loaded<frm3_InputChecker>(PageId::InputChecker); }
    QString listingPath() const { return QDir(f->platform.programFolderPath).filePath("InputData.doc"); }
    QString writtenListing() const { return decodeCp874(readBytes(listingPath())); }
    QString shown() { return checker()->RichTextBox1->toPlainText(); }
    void openChecker()
    {
        f->app.show(PageId::InputChecker);
        checker()->showSkipHint();
    }

    // Types a class on the entry page with the mouse and the boxes, names given, and presses Next.
    void typeClass(const QString& key, const QList<Examinee>& examinees)
    {
        auto* entry = f->loaded<frm2_SourceInput>(PageId::SourceInput);
        entry->optName[1]->click();
        entry->txtAllKeys->setText(key);
        click(entry->cmdSaveAllK);
        entry->txtStudents->setText(QString::number(examinees.size()));
        QTest::keyClick(entry->txtStudents, Qt::Key_Return);
        for (const Examinee& examinee : examinees) {
            entry->txtID->setText(examinee.id);
            entry->txtName->setText(examinee.name);
            entry->txtAns->setText(examinee.answers);
            click(entry->cmdSaveStud);
        }
        QVERIFY(entry->cmdNext->isEnabled());
        click(entry->cmdNext);
    }

private slots:
    void init() { f = std::make_unique<AppFixture>(); }
    void cleanup()
    {
        f.reset();
        settle();
    }

    // Enter on the opened page checks at once. The hint reads in the page's font; the listing's
    // columns hold for Thai text too.
    void opensWithTheFocusOnCheckThenListsInAFixedWidthThaiFont()
    {
        setClass(f->app.data, "1234", {{"01", "1243", "Anong"}});
        openChecker();
        QApplication::setActiveWindow(checker());
        QCOMPARE(checker()->focusWidget(), checker()->cmdCheck);
        QCOMPARE(checker()->RichTextBox1->font(), checker()->font());
        QTest::keyClick(checker()->cmdCheck, Qt::Key_Return);
        QVERIFY(shown().startsWith(QStringLiteral("เฉลยคือ")));
        const QFontMetricsF metrics(checker()->RichTextBox1->font());
        QCOMPARE(metrics.horizontalAdvance(QStringLiteral("เฉลย")),
                 metrics.horizontalAdvance(QStringLiteral("1234")));
        QCOMPARE(QFontInfo(checker()->RichTextBox1->font()).family(), QStringLiteral("Tlwg Mono"));
    }

    void checkListsTheKeyThenIdentifiersAndAnswersWithoutNames()
    {
        setClass(f->app.data, "1234", {{"01", "1243", "Anong"}, {"02", "2234", "Boon"}});
        openChecker();
        QCOMPARE(shown(), SkipHint);
        click(checker()->cmdCheck);
        const QString blanks(12, QLatin1Char(' '));
        const QString expected =
            QString("เฉลยคือ   1234") + "\r\n01" + blanks + "1243\r\n02" + blanks + "2234\r\n";
        QCOMPARE(readBytes(listingPath()), encodeText(expected));
        QCOMPARE(shown() + "\n", QString(expected).replace("\r\n", "\n"));
        QVERIFY(f->platform.messages.isEmpty());
    }

    void answersStartAtTheNextPrintZone_data()
    {
        QTest::addColumn<int>("idLength");
        QTest::addColumn<int>("answerColumn");
        QTest::newRow("one character: column 15") << 1 << 15;
        QTest::newRow("13 characters still leave a blank: column 15") << 13 << 15;
        QTest::newRow("exactly 14 characters: column 29") << 14 << 29;
        QTest::newRow("28 characters: column 43") << 28 << 43;
    }
    void answersStartAtTheNextPrintZone()
    {
        QFETCH(int, idLength);
        QFETCH(int, answerColumn);
        const QString id(idLength, QLatin1Char('7'));
        setClass(f->app.data, "1234", {{id, "4321", ""}});
        openChecker();
        click(checker()->cmdCheck);
        const QString line = writtenListing().split("\r\n").value(1);
        QCOMPARE(line, id.leftJustified(answerColumn - 1) + "4321");
        QCOMPARE(shown().split('\n').value(1), line);
    }

    void checkTwiceRewritesTheFileAndShowsItOnce()
    {
        setClass(f->app.data, "24311234512345",
                 {{"1", "24311234512345", ""}, {"2", "11111111111111", ""}, {"3", "22222222222222", ""}});
        openChecker();
        click(checker()->cmdCheck);
        const QByteArray first = readBytes(listingPath());
        QCOMPARE(writtenListing().split("\r\n").first(), "เฉลยคือ   24311234512345");
        click(checker()->cmdCheck);
        QCOMPARE(readBytes(listingPath()), first);
        QCOMPARE(shown().split('\n').size(), 4);
        f->app.data.StudAns[3] = QStringLiteral("33333333333333");
        click(checker()->cmdCheck);
        QCOMPARE(f->platform.filesWritten, QStringList(3, listingPath()));
        QVERIFY(writtenListing().contains("33333333333333"));
        QCOMPARE(shown(), QString(writtenListing()).replace("\r\n", "\n").chopped(1));
    }

    void theBoxShowsWhatTheFileHoldsAsPlainText()
    {
        setClass(f->app.data, "12", {{"<b>A&amp;B</b>", "12", ""}, {QStringLiteral("Zoë"), "21", ""}});
        openChecker();
        click(checker()->cmdCheck);
        const QStringList lines = shown().split('\n');
        QVERIFY(lines.value(1).startsWith("<b>A&amp;B</b>"));
        QVERIFY(lines.value(2).startsWith("Zo?")); // code page 874 has no ë
        QCOMPARE(checker()->RichTextBox1->document()->blockCount(), 3);
    }

    // A file-size limit the listing does not fit in stands for a disk that fills up half-way.
    void aListingThatCannotBeWrittenIsReportedAndChangesNothing()
    {
        if (!FileSizeLimit::available())
            QSKIP("no file-size limit here to fill the disk with");
        setClass(f->app.data, "1234", {{"01", "1243", ""}});
        openChecker();
        const QByteArray earlier = "earlier listing\r\n";
        writeBytes(listingPath(), earlier);
        {
            const FileSizeLimit limit(earlier.size());
            click(checker()->cmdCheck);
        }
        QCOMPARE(f->platform.messages.size(), 1);
        const auto& warning = f->platform.messages.first();
        QVERIFY(warning.prompt.contains(QDir::toNativeSeparators(listingPath())));
        QVERIFY2(warning.prompt.contains(QStringLiteral("แฟ้มใหญ่เกิน")), qPrintable(warning.prompt));
        QCOMPARE(readBytes(listingPath()), earlier);
        QCOMPARE(warning.title, " ผิดพลาด !");
        QCOMPARE(warning.icon, Platform::Icon::Warning);
        QCOMPARE(shown(), SkipHint);
        QVERIFY(checker()->isVisible());
    }

    void theManualPathReachesTheAnalysisAndBackRestartsEntry()
    {
        f->app.Main();
        click(f->loaded<frm1_Info>(PageId::Info)->cmdstart);
        auto* source = f->loaded<frm2_Source>(PageId::Source);
        source->optInput[0]->click();
        click(source->cmdNext);
        typeClass("1234", {{"01", "1243", "Anong"}, {"02", "2234", "Boon"}});
        QCOMPARE(shown(), SkipHint);
        click(checker()->cmdNext); // Check is optional
        QVERIFY(!QFile::exists(listingPath()));
        QVERIFY(f->app.isVisible(PageId::Stat));
        const TestData& data = f->app.data;
        QCOMPARE(data.StudName, (QStringList{"", "Anong", "Boon", ""}));
        QCOMPARE(data.AnsMatrix.at(2, 1), QStringLiteral("2"));

        click(f->loaded<frm4_Stat>(PageId::Stat)->cmdBack);
        click(checker()->cmdBack);
        auto* entry = f->loaded<frm2_SourceInput>(PageId::SourceInput);
        QVERIFY(entry->isVisible());
        QVERIFY(!f->app.isLoaded(PageId::InputChecker));
        QCOMPARE(data.CurStud, 1);
        QVERIFY(entry->txtAllKeys->text().isEmpty() && entry->lblNum_Stud->text().isEmpty());
        QVERIFY(!entry->cmdNext->isEnabled());
        QVERIFY(source->manualEntry() && !source->isVisible());

        typeClass("12", {{"03", "21", "Chai"}});
        click(checker()->cmdCheck);
        QCOMPARE(writtenListing().split("\r\n").value(1), "03" + QString(12, QLatin1Char(' ')) + "21");
        click(checker()->cmdNext);
        QVERIFY(f->app.isVisible(PageId::Stat));
        QCOMPARE(data.NumStud, 1);
        QCOMPARE(data.StudID, (QStringList{"", "03", ""}));
    }
};

QTEST_MAIN(CheckingPageTest)
#include "tst_checker.moc"
