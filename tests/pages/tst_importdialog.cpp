// The import dialog of the source page: a spreadsheet chosen with Browse becomes a data file beside
// it (or where the reports go), the teacher corrects what the import could not tell, and the names
// of the sheet reach the report as typed names do.
#include "AppFixture.h"
#include "DiskFaults.h"
#include "TestFiles.h"
#include "pages/ImportDialog.h"
#include "pages/frm2_Source.h"
#include "pages/frm4_Stat.h"

#include "school/PupilList.h"
#include <QApplication>
#include <QComboBox>
#include <QDir>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRegularExpression>
#include <QTableWidget>

#include <QTemporaryDir>

#include <memory>

namespace {
const QString Sheet = QStringLiteral("online-form.csv");
const QString DataFile = QStringLiteral("online-form.txt");
const QByteArray Imported = readBytes(examplePath(QStringLiteral("import/online-form.txt")));
// A sheet without a key: the teacher has to type it.
const QByteArray NoKey = "id,name,q1,q2,q3\r\n01,Anan,1,2,3\r\n02,Boon,2,2,3\r\n";
} // namespace

class ImportDialogTest : public QObject {
    Q_OBJECT

    std::unique_ptr<AppFixture> f;
    std::unique_ptr<QTemporaryDir> folder;
    frm2_Source* page = nullptr;

    QString in(const QString& name) const { return folder->filePath(name); }
    QString copySample(const QString& into)
    {
        const QString path = QDir(into).filePath(Sheet);
        writeBytes(path, readBytes(examplePath(QStringLiteral("import/") + Sheet)));
        return path;
    }
    // Browse for `path`: the import dialog it opened, if any, active as for the teacher.
    ImportDialog* browse(const QString& path)
    {
        f->platform.filesToChoose = {path};
        click(page->cmdBrowse);
        auto* dialog = page->findChild<ImportDialog*>();
        if (dialog)
            QApplication::setActiveWindow(dialog);
        return dialog;
    }
    // Types into a field as the teacher does, ending with Enter.
    static void type(QLineEdit* field, const QString& text)
    {
        field->setFocus();
        QTest::keyClick(field, Qt::Key_A, Qt::ControlModifier);
        QTest::keyClick(field, Qt::Key_Delete);
        QTest::keyClicks(field, text);
        QTest::keyClick(field, Qt::Key_Return);
    }
    QString report() const
    {
        return decodeCp874(
            readBytes(QDir(f->platform.programFolderPath).filePath(QStringLiteral("Result.doc"))));
    }

private slots:
    void init()
    {
        f = std::make_unique<AppFixture>();
        folder = std::make_unique<QTemporaryDir>();
        f->app.show(PageId::Source);
        page = f->loaded<frm2_Source>(PageId::Source);
    }
    void cleanup()
    {
        f.reset();
        settle();
    }

    // The names stay in the program beside the file OK wrote: another file, or that file changed, has none.
    void theNamesReachTheReportOnlyFromTheFileWritten_data()
    {
        QTest::addColumn<QString>("analysed");
        QTest::newRow("the file written") << QString();
        QTest::newRow("the same data in another file") << QStringLiteral("copy.txt");
        QTest::newRow("the file written, changed since") << DataFile;
    }
    void theNamesReachTheReportOnlyFromTheFileWritten()
    {
        QFETCH(QString, analysed);
        ImportDialog* dialog = browse(copySample(folder->path()));
        QVERIFY(dialog && dialog->isVisible());
        QCOMPARE(dialog->lblLayout->text(), layoutName(ImportLayout::OnlineForm));
        QCOMPARE(dialog->tblPreview->horizontalHeaderItem(4)->text(), QStringLiteral("E"));
        QCOMPARE(dialog->tblPreview->item(2, 4)->text(), QStringLiteral("เด็กชายกล้า ใจดี"));
        QCOMPARE(dialog->txtIdColumn->text(), QStringLiteral("D"));
        QCOMPARE(dialog->txtAnswerColumns->text(), QStringLiteral("F-J"));
        QCOMPARE(dialog->txtKeyRow->text(), QStringLiteral("2"));
        click(dialog->cmdOK);
        QVERIFY(!page->findChild<ImportDialog*>());
        QCOMPARE(readBytes(in(DataFile)), Imported);
        QCOMPARE(f->app.data.DataFile, QDir::toNativeSeparators(in(DataFile)));
        QCOMPARE(page->txtFile->text(), f->app.data.DataFile);

        if (analysed == DataFile) {
            writeBytes(in(DataFile), Imported + "\r\n"); // an empty line more: the same class
        } else if (!analysed.isEmpty()) {
            writeBytes(in(analysed), Imported);
            browse(in(analysed));
        }
        click(page->cmdNext);
        auto* stat = f->loaded<frm4_Stat>(PageId::Stat);
        QVERIFY(stat);
        click(stat->cmdCal);
        click(stat->cmdFinish);
        const bool named = analysed.isEmpty();
        // The first and the last examinee, each on the line of its identifier.
        QCOMPARE(report().contains(QRegularExpression(QStringLiteral("^  01 +เด็กชายกล้า ใจดี"),
                                                      QRegularExpression::MultilineOption)),
                 named);
        QCOMPARE(report().contains(QRegularExpression(QStringLiteral("^  08 +เด็กหญิงญาดา ศรีสุข"),
                                                      QRegularExpression::MultilineOption)),
                 named);
        QVERIFY(f->platform.messages.isEmpty());

        // The class read with its names is still known as the file's, and released before the next file.
        click(stat->cmdBack);
        f->app.data.DataFile = in(QStringLiteral("vanished.txt"));
        click(page->cmdNext);
        QCOMPARE(f->app.data.NumStud, 0);
    }

    void aFileOfTheSameNameIsKeptUnlessItHoldsTheSameData_data()
    {
        QTest::addColumn<QList<QByteArray>>("existing"); // online-form.txt, online-form-2.txt, ...
        QTest::addColumn<QString>("selected");
        QTest::addColumn<bool>("written");
        QTest::newRow("another class of that name")
            << QList<QByteArray>{"KE 1\r\n01 1\r\n"} << QStringLiteral("online-form-2.txt") << true;
        QTest::newRow("two of them") << QList<QByteArray>{"KE 1\r\n", "KE 2\r\n"}
                                     << QStringLiteral("online-form-3.txt") << true;
        QTest::newRow("an earlier import of the sheet") << QList<QByteArray>{Imported} << DataFile << false;
        QTest::newRow("another, then an earlier import")
            << QList<QByteArray>{"KE 1\r\n", Imported} << QStringLiteral("online-form-2.txt") << false;
    }
    void aFileOfTheSameNameIsKeptUnlessItHoldsTheSameData()
    {
        QFETCH(QList<QByteArray>, existing);
        QFETCH(QString, selected);
        QFETCH(bool, written);
        for (int index = 0; index < existing.size(); ++index)
            writeBytes(in(index == 0 ? DataFile : QStringLiteral("online-form-%1.txt").arg(index + 1)),
                       existing[index]);
        click(browse(copySample(folder->path()))->cmdOK);
        QCOMPARE(f->app.data.DataFile, QDir::toNativeSeparators(in(selected)));
        QCOMPARE(readBytes(in(selected)), Imported);
        QCOMPARE(f->platform.filesWritten, written ? QStringList{in(selected)} : QStringList());
        for (int index = 0; index < existing.size(); ++index)
            QCOMPARE(
                readBytes(in(index == 0 ? DataFile : QStringLiteral("online-form-%1.txt").arg(index + 1))),
                existing[index]);
    }

    // A sheet of several rooms: the rooms and forms go into a pupil list beside the data file, both
    // kept together when a file of either name holds something else.
    void theRoomsGoBesideTheDataFileInAPupilList_data()
    {
        QTest::addColumn<QByteArray>("earlierList"); // grade.pupils.csv beside an earlier import; empty: none
        QTest::addColumn<QString>("selected");
        QTest::newRow("nothing there yet") << QByteArray() << QStringLiteral("grade.txt");
        QTest::newRow("the same list")
            << QByteArray("\xEF\xBB\xBFเลขประจำตัว,ห้อง,ชุด\r\n101,1/1,A\r\n102,1/2,B\r\n")
            << QStringLiteral("grade.txt");
        QTest::newRow("a list the teacher changed")
            << QByteArray("id,room\r\n101,1/2\r\n102,1/2\r\n") << QStringLiteral("grade-2.txt");
    }
    void theRoomsGoBesideTheDataFileInAPupilList()
    {
        QFETCH(QByteArray, earlierList);
        QFETCH(QString, selected);
        const QByteArray sheet =
            "Student ID,Room,Form,Q1,Q2\r\nKEY,,,A,B\r\n101,1/1,A,A,B\r\n102,1/2,B,B,B\r\n";
        const QByteArray list = "\xEF\xBB\xBFเลขประจำตัว,ห้อง,ชุด\r\n101,1/1,A\r\n102,1/2,B\r\n";
        writeBytes(in(QStringLiteral("grade.csv")), sheet);
        if (!earlierList.isEmpty()) {
            writeBytes(in(QStringLiteral("grade.txt")), "KEY 12\r\n101 12\r\n102 22\r\n");
            writeBytes(in(QStringLiteral("grade.pupils.csv")), earlierList);
        }
        ImportDialog* dialog = browse(in(QStringLiteral("grade.csv")));
        QVERIFY(dialog);
        QCOMPARE(dialog->txtRoomColumn->text(), QStringLiteral("B"));
        QCOMPARE(dialog->txtFormColumn->text(), QStringLiteral("C"));
        QCOMPARE(dialog->txtAnswerColumns->text(), QStringLiteral("D-E"));
        click(dialog->cmdOK);
        QCOMPARE(f->app.data.DataFile, QDir::toNativeSeparators(in(selected)));
        QCOMPARE(readBytes(pupilListPathFor(in(selected))), list);
        if (!earlierList.isEmpty())
            QCOMPARE(readBytes(in(QStringLiteral("grade.pupils.csv"))), earlierList);
    }

    void aSheetOnADiskThatCannotBeWrittenGoesToTheOutputFolder()
    {
        SmallDisk disk;
        if (!disk.mounted())
            QSKIP("mounting a small memory disk needs the superuser");
        const QString sheet = copySample(disk.path());
        disk.remountReadOnly();
        click(browse(sheet)->cmdOK);
        const QString written = QDir(f->platform.programFolderPath).filePath(DataFile);
        QCOMPARE(f->app.data.DataFile, QDir::toNativeSeparators(written));
        QCOMPARE(readBytes(written), Imported);
        QVERIFY(!QFileInfo::exists(disk.path(DataFile)));
    }

    void aWriteThatFailsSaysWhyAndSelectsNothing()
    {
        if (!FileSizeLimit::available())
            QSKIP("no file-size limit here to fill the disk with");
        ImportDialog* dialog = browse(copySample(folder->path()));
        {
            const FileSizeLimit limit(16);
            click(dialog->cmdOK);
        }
        QCOMPARE(f->platform.messages.size(), 1);
        QVERIFY(f->platform.messages.first().prompt.contains(QDir::toNativeSeparators(in(DataFile))));
        QVERIFY(f->platform.messages.first().prompt.contains(QStringLiteral("แฟ้มใหญ่เกิน")));
        QVERIFY(f->app.data.DataFile.isEmpty());
        QVERIFY(!QFileInfo::exists(in(DataFile)));
        QVERIFY(dialog->isVisible()); // to try again, or cancel
    }

    // Each change imports again; OK waits for an import that succeeds, and Enter never presses it.
    void okWaitsUntilTheTeachersCorrectionsImport()
    {
        writeBytes(in(QStringLiteral("class.csv")), NoKey);
        ImportDialog* dialog = browse(in(QStringLiteral("class.csv")));
        QVERIFY(dialog);
        QVERIFY(dialog->lblError->isVisible());
        QVERIFY(dialog->lblError->text().contains(QStringLiteral("ไม่พบเฉลย")));
        QCOMPARE(dialog->tblPreview->rowCount(), 3);
        QVERIFY(!dialog->cmdOK->isEnabled());

        const struct {
            QLineEdit* field;
            QString text;
            QString error; // empty: the import succeeds
        } steps[] = {
            {dialog->txtKey, QStringLiteral("1234"), QStringLiteral("เฉลยที่ระบุมี 4 ข้อ แต่มีคอลัมน์คำตอบ 3 คอลัมน์")},
            {dialog->txtKey, QStringLiteral("123"), {}},
            {dialog->txtAnswerColumns, QStringLiteral("C-"), QStringLiteral("'C-' ไม่ใช่คอลัมน์")},
            {dialog->txtAnswerColumns, QStringLiteral("C-D"),
             QStringLiteral("เฉลยที่ระบุมี 3 ข้อ แต่มีคอลัมน์คำตอบ 2 คอลัมน์")},
            {dialog->txtKey, QStringLiteral("12"), {}},
        };
        for (const auto& step : steps) {
            type(step.field, step.text);
            QVERIFY(page->findChild<ImportDialog*>());
            QCOMPARE(dialog->cmdOK->isEnabled(), step.error.isEmpty());
            QCOMPARE(dialog->lblError->isVisible(), !step.error.isEmpty());
            QVERIFY2(dialog->lblError->text().contains(step.error), qPrintable(dialog->lblError->text()));
        }
        QVERIFY(dialog->txtSummary->toPlainText().contains(QStringLiteral("ผู้สอบ 2 คน  ข้อสอบ 2 ข้อ")));
        click(dialog->cmdOK);
        QCOMPARE(readBytes(in(QStringLiteral("class.txt"))), lines({"KE 12", "01 12", "02 22"}));
    }

    // A workbook of two rooms: the second sheet is imported afresh, with its own columns and key.
    void anotherSheetOfAWorkbookIsChosenInTheDialog()
    {
        const QString workbook = in(QStringLiteral("rooms.xlsx"));
        writeBytes(workbook, readBytes(examplePath(QStringLiteral("import/workbook.xlsx"))));
        ImportDialog* dialog = browse(workbook);
        QVERIFY(dialog->cboSheet->isVisible());
        QCOMPARE(dialog->cboSheet->currentText(), QStringLiteral("ม.3-1"));
        dialog->cboSheet->setFocus();
        QTest::keyClick(dialog->cboSheet, Qt::Key_Down);
        QCOMPARE(dialog->cboSheet->currentText(), QStringLiteral("ม.3-2"));
        QVERIFY(dialog->cmdOK->isEnabled());
        click(dialog->cmdOK);
        QCOMPARE(readBytes(in(QStringLiteral("rooms.txt"))),
                 QByteArray("KEY-- 21343\r\n24201 21343\r\n24202 21143\r\n24203 31342\r\n"));
        QCOMPARE(f->app.data.DataFile, QDir::toNativeSeparators(in(QStringLiteral("rooms.txt"))));
    }

    void cancelLeavesThePageAsItWas()
    {
        browse(in(QStringLiteral("earlier.txt")));
        ImportDialog* dialog = browse(copySample(folder->path()));
        type(dialog->txtKeyRow, QStringLiteral("3"));
        click(dialog->cmdCancel);
        QVERIFY(!page->findChild<ImportDialog*>());
        QCOMPARE(f->app.data.DataFile, in(QStringLiteral("earlier.txt")));
        QCOMPARE(page->txtFile->text(), in(QStringLiteral("earlier.txt")));
        QVERIFY(f->platform.filesWritten.isEmpty());
        QCOMPARE(QDir(folder->path()).entryList(QDir::Files), QStringList{Sheet});
    }
};

QTEST_MAIN(ImportDialogTest)
#include "tst_importdialog.moc"
