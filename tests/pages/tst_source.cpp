// The source page: its first showing, Browse, the choice between typing and a file, and Next's name test.
#include "AppFixture.h"
#include "pages/frm2_Source.h"

#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>

#include <memory>

class SourcePageTest : public QObject {
    Q_OBJECT

    std::unique_ptr<AppFixture> f;
    frm2_Source* page = nullptr;

private slots:
    void init()
    {
        f = std::make_unique<AppFixture>();
        f->app.show(PageId::Source);
        page = f->loaded<frm2_Source>(PageId::Source);
    }
    void cleanup()
    {
        f.reset();
        settle();
    }

    void firstShowingOffersTheFileWithBrowseEnabled()
    {
        QVERIFY(page->optInput[1]->isChecked());
        QVERIFY(!page->optInput[0]->isChecked());
        QCOMPARE(page->txtFile->text(), QStringLiteral(" (*.txt)"));
        QVERIFY(page->txtFile->isEnabled());
        QVERIFY(page->cmdBrowse->isEnabled());
        QVERIFY(!page->cmdFinish->isEnabled());
        QVERIFY(page->cmdNext->isEnabled());
        const QString expected =
            QStringLiteral("          ระบุแหล่งของข้อมูลที่ต้องการจะนำมาวิเคราะห์  ซึ่งขณะนี้ทำได้ 2 วิธี คือ") + "\r\n" +
            QStringLiteral("               1.  ป้อนข้อมูลผ่านโปรแกรม Quillet (QLT) โดยตรง") + "\r\n" +
            QStringLiteral(
                "               2.  เตรียมข้อมูลเป็น Text File (*.txt) เหมือนกับการเตรียมข้อมูลสำหรับ โปรแกรม Tarvik และ Orvel สามารถอ่านเพิ่มเติมได้จาก Help! ") +
            "\r\n\r\n" +
            QStringLiteral(
                "            ต่อไปจะพัฒนาให้ QLT อ่านข้อมูลได้จากแฟ้ม *.doc (Document File) คือสามารถเตรียมข้อมูลจากโปรแกรม  Microsoft  Word ที่ใช้งานอยู่เป็นประจำ  แล้วเรียกแฟ้มข้อมูลนั้น ๆ เพื่อให้ QL ลงมือวิเคราะห์ได้เลย (นี่คือแผนการ)");
        QCOMPARE(page->Label2->text(), expected);
        QCOMPARE(page->cmdNext->toolTip(), QStringLiteral("ไปขั้นต่อไป"));
    }

    void browseStoresTheChosenPathAndCancelChangesNothing()
    {
        f->platform.filesToChoose = {QStringLiteral("/data/class 1.txt")};
        click(page->cmdBrowse);
        QCOMPARE(f->platform.fileDialogTitles, QStringList{"Open Data File"});
        QCOMPARE(f->app.data.DataFile, QStringLiteral("/data/class 1.txt"));
        QCOMPARE(page->txtFile->text(), QStringLiteral("/data/class 1.txt"));
        click(page->cmdBrowse); // cancelled: the dialog returns nothing
        QCOMPARE(f->app.data.DataFile, QStringLiteral("/data/class 1.txt"));
        QCOMPARE(page->txtFile->text(), QStringLiteral("/data/class 1.txt"));
    }

    void nextRefusesANameNotEndingInLowerCaseTxt_data()
    {
        QTest::addColumn<QString>("chosen");
        QTest::newRow("no file ever chosen") << QString();
        QTest::newRow("upper-case .TXT") << QStringLiteral("/data/CLASS.TXT");
        QTest::newRow("another extension") << QStringLiteral("/data/class.doc");
        QTest::newRow("txt without the dot") << QStringLiteral("/data/classtxt");
    }
    void nextRefusesANameNotEndingInLowerCaseTxt()
    {
        QFETCH(QString, chosen);
        if (!chosen.isEmpty()) {
            f->platform.filesToChoose = {chosen};
            click(page->cmdBrowse);
        }
        click(page->cmdNext);
        QCOMPARE(f->platform.messages.size(), 1);
        const auto& shown = f->platform.messages.first();
        QCOMPARE(shown.prompt, QStringLiteral("แฟ้มข้อมูลไม่ใช่นามสกุล   txt  กรุณาป้อนใหม่"));
        QCOMPARE(shown.title, QStringLiteral("|| ผิดพลาด ||"));
        QCOMPARE(shown.icon, Platform::Icon::Warning);
        QCOMPARE(shown.buttons, Platform::Buttons::Ok);
        QVERIFY(page->isVisible());
        QVERIFY(!f->app.isLoaded(PageId::Stat));
    }

    void typingAPathIntoTheBoxIsIgnored()
    {
        page->txtFile->setText(QStringLiteral("/data/typed.txt"));
        click(page->cmdNext);
        QCOMPARE(f->platform.messages.size(), 1);
        QVERIFY(f->app.data.DataFile.isEmpty());
        QVERIFY(!f->app.isLoaded(PageId::Stat));
    }

    void switchingOptionsTogglesTheFileControlsAndKeepsThePath()
    {
        f->platform.filesToChoose = {QStringLiteral("/data/class.txt")};
        click(page->cmdBrowse);
        tick(page->optInput[0]);
        QVERIFY(page->manualEntry());
        QVERIFY(!page->txtFile->isEnabled());
        QVERIFY(!page->cmdBrowse->isEnabled());
        tick(page->optInput[1]);
        QVERIFY(!page->manualEntry());
        QVERIFY(page->txtFile->isEnabled());
        QVERIFY(page->cmdBrowse->isEnabled());
        QCOMPARE(page->txtFile->text(), QStringLiteral("/data/class.txt"));
        QCOMPARE(f->app.data.DataFile, QStringLiteral("/data/class.txt"));
    }

    void manualEntryGoesToTheEntryPageWithoutTests()
    {
        page->optInput[0]->click();
        click(page->cmdNext);
        QVERIFY(f->platform.messages.isEmpty());
        QVERIFY(f->app.isVisible(PageId::SourceInput));
        QVERIFY(!page->isVisible());
        QVERIFY(f->app.isLoaded(PageId::Source));
    }
};

QTEST_MAIN(SourcePageTest)
#include "tst_source.moc"
