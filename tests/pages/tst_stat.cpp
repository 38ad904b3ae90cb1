// The analysis page: its first state, the rules between its boxes, the choice count, Analyse and
// Finish with when Finish may write, and the whole way from a data file to the opened report.
#include "AppFixture.h"
#include "DiskFaults.h"
#include "Examinees.h"
#include "QltInProcess.h"
#include "TestFiles.h"
#include "model/DataFileLoader.h"
#include "pages/frm2_Source.h"
#include "pages/frm4_Stat.h"
#include "school/PupilList.h"

#include <QCheckBox>
#include <QDir>
#include <QPushButton>
#include <QRadioButton>
#include <QTemporaryDir>

#include <memory>

class StatPageTest : public QObject {
    Q_OBJECT

    std::unique_ptr<AppFixture> f;
    QTemporaryDir folder;

    frm4_Stat* page() { return f->loaded<frm4_Stat>(PageId::Stat); }
    QString reportPath(const QString& name = QStringLiteral("Result.doc")) const
    {
        return QDir(f->platform.programFolderPath).filePath(name);
    }

    // Opens the analysis page on a data file with the given records, as the source page's Next does.
    void openOn(const QByteArray& contents)
    {
        const QString path = folder.filePath(QStringLiteral("class.txt"));
        writeBytes(path, contents);
        openOnFile(path);
    }
    void openOnFile(const QString& path)
    {
        f->app.show(PageId::Source);
        f->app.data.DataFile = path;
        click(f->loaded<frm2_Source>(PageId::Source)->cmdNext);
        QVERIFY(page());
    }

private slots:
    void init() { f = std::make_unique<AppFixture>(); }
    void cleanup()
    {
        f.reset();
        settle();
    }

    void opensWithTheDefaultBoxesAndFinishDisabled()
    {
        openOnFile(examplePath(QStringLiteral("class-4choices.txt")));
        QCOMPARE(page()->boxes(), defaultSelection());
        QVERIFY(!page()->chkAnalyse[AnalyseBox::Distractors]->isChecked());
        QVERIFY(!page()->optChoice[0]->isVisible() && !page()->optChoice[1]->isVisible());
        QVERIFY(!page()->optChoice[0]->isChecked() && !page()->optChoice[1]->isChecked());
        QVERIFY(!page()->cmdFinish->isEnabled());
        QCOMPARE(f->app.data.NumStud, 35);
        QVERIFY(!f->app.isVisible(PageId::Source));
    }

    void boxRules_data()
    {
        QTest::addColumn<QList<int>>("clicks"); // score boxes as 0..10, test boxes as 100..104
        QTest::addColumn<QList<int>>("unticked");
        QTest::addColumn<bool>("choicesShown");
        QTest::newRow("ticking T-Score while Z-Score is unticked leaves it unticked")
            << QList<int>{7, 8} << QList<int>{7, 8} << false;
        QTest::newRow("unticking Z-Score unticks T-Score") << QList<int>{7} << QList<int>{7, 8} << false;
        QTest::newRow("unticking reliability unticks SEM")
            << QList<int>{100} << QList<int>{100, 103} << false;
        QTest::newRow("ticking SEM alone while reliability is unticked leaves it unticked")
            << QList<int>{100, 103} << QList<int>{100, 103} << false;
        QTest::newRow("ticking distractors without discrimination leaves them unticked and hidden")
            << QList<int>{102, 104} << QList<int>{102, 104} << false;
        QTest::newRow("ticking distractors shows the choice buttons")
            << QList<int>{104} << QList<int>{} << true;
        QTest::newRow("unticking discrimination then unticks the distractors and hides the buttons")
            << QList<int>{104, 102} << QList<int>{102, 104} << false;
    }
    void boxRules()
    {
        QFETCH(QList<int>, clicks);
        QFETCH(QList<int>, unticked);
        QFETCH(bool, choicesShown);
        openOnFile(examplePath(QStringLiteral("class-4choices.txt")));
        for (int box : clicks)
            tick(box >= 100 ? page()->chkAnalyse[box - 100] : page()->chkStat[box]);
        AnalysisSelection expected = defaultSelection();
        expected.chkAnalyse[AnalyseBox::Distractors] = choicesShown;
        for (int box : unticked)
            (box >= 100 ? expected.chkAnalyse[box - 100] : expected.chkStat[box]) = false;
        QCOMPARE(page()->boxes(), expected);
        QCOMPARE(page()->optChoice[0]->isVisible(), choicesShown);
        QCOMPARE(page()->optChoice[1]->isVisible(), choicesShown);
    }

    void theLastChoiceCountClickedHolds()
    {
        openOnFile(examplePath(QStringLiteral("class-4choices.txt")));
        tick(page()->chkAnalyse[AnalyseBox::Distractors]);
        tick(page()->optChoice[1]);
        QCOMPARE(f->app.data.NumChoices, 5);
        tick(page()->optChoice[0]);
        QCOMPARE(f->app.data.NumChoices, 4);
        QCOMPARE(f->app.data.ChoiceCodes, (QStringList{"", "1", "2", "3", "4", ""}));
    }

    void analyseEnablesFinishWhichWritesOpensAndDisablesItself()
    {
        openOnFile(examplePath(QStringLiteral("class-4choices.txt")));
        QApplication::setActiveWindow(page());
        click(page()->cmdCal);
        QVERIFY(page()->cmdFinish->isEnabled());
        QVERIFY(page()->cmdFinish->hasFocus());
        QVERIFY(f->platform.messages.isEmpty());
        click(page()->cmdFinish);
        QCOMPARE(f->platform.filesWritten, QStringList{reportPath()});
        QCOMPARE(f->platform.documentsOpened, QStringList{reportPath()});
        QVERIFY(f->platform.foldersOpened.isEmpty());
        QVERIFY(!page()->cmdFinish->isEnabled());
        click(page()->cmdCal);
        QVERIFY(page()->cmdFinish->isEnabled());
    }

    void finishWaitsForResultsOfTheTickedBoxes()
    {
        openOnFile(examplePath(QStringLiteral("class-4choices.txt")));
        tick(page()->chkStat[StatBox::Skewness]);
        tick(page()->chkStat[StatBox::Kurtosis]);
        click(page()->cmdCal);
        QVERIFY(page()->cmdFinish->isEnabled());
        tick(page()->chkStat[StatBox::Kurtosis]); // ticked after the run: not computed
        QVERIFY(!page()->cmdFinish->isEnabled());
        tick(page()->chkStat[StatBox::Kurtosis]);
        QVERIFY(page()->cmdFinish->isEnabled());
    }

    void finishWaitsForTheChoiceCountTheRunUsed()
    {
        openOnFile(examplePath(QStringLiteral("class-4choices.txt")));
        tick(page()->chkAnalyse[AnalyseBox::Distractors]);
        tick(page()->optChoice[0]);
        click(page()->cmdCal);
        QVERIFY(page()->cmdFinish->isEnabled());
        tick(page()->optChoice[1]);
        QVERIFY(!page()->cmdFinish->isEnabled());
        tick(page()->optChoice[0]);
        QVERIFY(page()->cmdFinish->isEnabled());
        tick(page()->chkAnalyse[AnalyseBox::Distractors]);
        tick(page()->optChoice[1]); // hidden now; the count no longer matters to the report
        QVERIFY(page()->cmdFinish->isEnabled());
    }

    void distractorsWithoutAChoiceOnThePageAreRefused()
    {
        f->app.data.setChoices(5); // remembered from an earlier visit, but not shown
        openOnFile(examplePath(QStringLiteral("class-4choices.txt")));
        tick(page()->chkAnalyse[AnalyseBox::Distractors]);
        click(page()->cmdCal);
        QCOMPARE(f->platform.messages.size(), 1);
        QVERIFY(f->platform.messages.first().prompt.contains(page()->optChoice[0]->text()));
        QVERIFY(!page()->cmdFinish->isEnabled());
        QVERIFY(f->app.results.Score.empty());
    }

    void zeroSdClearsTheBoxesOnThePage()
    {
        openOn(lines({"KEY 1234", "001 1234", "002 1234", "003 1234"}));
        click(page()->cmdCal);
        QCOMPARE(f->platform.messages.size(), 2);
        QCOMPARE(f->platform.messages[0].title, QStringLiteral("Oh My God!"));
        for (int index : {StatBox::Skewness, StatBox::Kurtosis})
            QVERIFY(!page()->chkStat[index]->isChecked());
        QVERIFY(!page()->chkAnalyse[AnalyseBox::Reliability]->isChecked());
        QVERIFY(!page()->chkAnalyse[AnalyseBox::SEM]->isChecked());
        QVERIFY(page()->chkStat[StatBox::ZScore]->isChecked());
        QVERIFY(page()->cmdFinish->isEnabled());
    }

    void aReportThatCannotBeWrittenKeepsTheEarlierOneAndFinish()
    {
        if (!FileSizeLimit::available())
            QSKIP("no file-size limit here to fill the disk with");
        openOnFile(examplePath(QStringLiteral("class-4choices.txt")));
        writeBytes(reportPath(), "earlier report\r\n");
        click(page()->cmdCal);
        {
            const FileSizeLimit limit(4096); // the report does not fit, as on a disk that fills up
            click(page()->cmdFinish);
        }
        QCOMPARE(f->platform.messages.size(), 1);
        QVERIFY(f->platform.messages.first().prompt.contains(QDir::toNativeSeparators(reportPath())));
        QVERIFY(page()->cmdFinish->isEnabled());
        QVERIFY(f->platform.documentsOpened.isEmpty());
        QCOMPARE(readBytes(reportPath()), QByteArray("earlier report\r\n"));
    }

    void theVisualReportWaitsForARunThenWritesPageAndTableAndOpensThePage()
    {
        openOnFile(examplePath(QStringLiteral("class-4choices.txt")));
        QVERIFY(!page()->cmdVisualReport->isEnabled());
        QApplication::setActiveWindow(page());
        click(page()->cmdCal);
        QVERIFY(page()->cmdVisualReport->isEnabled());
        click(page()->cmdVisualReport);
        QVERIFY(f->platform.messages.isEmpty());
        QCOMPARE(f->platform.filesWritten, (QStringList{reportPath("Gradebook.csv"), reportPath("Result.csv"),
                                                        reportPath("Result.html")}));
        QVERIFY(readBytes(reportPath("Gradebook.csv")).startsWith("\xEF\xBB\xBF"));
        QVERIFY(readBytes(reportPath("Result.html")).contains("href=\"Gradebook.csv\""));
        QCOMPARE(f->platform.webPagesOpened, QStringList{reportPath("Result.html")});
        QVERIFY(readBytes(reportPath("Result.html")).startsWith("<!DOCTYPE html>"));
        QVERIFY(QString::fromUtf8(readBytes(reportPath("Result.html")))
                    .contains(QStringLiteral("class-4choices.txt")));
        QVERIFY(readBytes(reportPath("Result.csv")).startsWith("\xEF\xBB\xBFitem,key,"));
        // Finish is as Analyse left it and writes the same report as without the visual one.
        QVERIFY(page()->cmdFinish->isEnabled());
        QVERIFY(f->platform.documentsOpened.isEmpty());
        click(page()->cmdFinish);
        QCOMPARE(readBytes(reportPath()),
                 readBytes(testDataPath(QStringLiteral("class-4choices-default.doc"))));
        QVERIFY(!page()->cmdFinish->isEnabled());
        QVERIFY(page()->cmdVisualReport->isEnabled()); // the results are still those of the run
    }

    void theVisualReportDoesNotChangeTheBoxesOrTheirRules()
    {
        openOnFile(examplePath(QStringLiteral("class-4choices.txt")));
        tick(page()->chkAnalyse[AnalyseBox::Distractors]);
        tick(page()->optChoice[1]);
        click(page()->cmdCal);
        const AnalysisSelection before = page()->boxes();
        click(page()->cmdVisualReport);
        QCOMPARE(page()->boxes(), before);
        QVERIFY(page()->optChoice[1]->isChecked() && page()->optChoice[1]->isVisible());
        QCOMPARE(f->app.data.NumChoices, 5);
        // The distractor analysis ran with 5 choices, so the table has columns for option 5.
        QVERIFY(readBytes(reportPath("Result.csv")).contains(",opt5_p,"));
    }

    // Each file goes whole or not at all; a file not written opens nothing and leaves the button.
    void aVisualReportThatCannotBeWrittenSaysWhichFileAndOpensNothing_data()
    {
        QTest::addColumn<bool>("tableFits");
        QTest::addColumn<QString>("failing");
        QTest::newRow("a limit smaller than the gradebook stops at the gradebook")
            << false << "Gradebook.csv";
        QTest::newRow("a limit that takes the gradebook and the table but not the page stops at the page")
            << true << "Result.html";
    }
    void aVisualReportThatCannotBeWrittenSaysWhichFileAndOpensNothing()
    {
        QFETCH(bool, tableFits);
        QFETCH(QString, failing);
        if (!FileSizeLimit::available())
            QSKIP("no file-size limit here to fill the disk with");
        openOnFile(examplePath(QStringLiteral("class-4choices.txt")));
        click(page()->cmdCal);
        click(page()->cmdVisualReport); // once whole, to learn the sizes
        const qint64 smaller = std::max(readBytes(reportPath("Result.csv")).size(),
                                        readBytes(reportPath("Gradebook.csv")).size());
        f->platform.webPagesOpened.clear();
        writeBytes(reportPath(failing), "earlier\r\n");
        {
            const FileSizeLimit limit(tableFits ? smaller : 64);
            click(page()->cmdVisualReport);
        }
        QCOMPARE(f->platform.messages.size(), 1);
        const QString prompt = f->platform.messages.first().prompt;
        QVERIFY2(prompt.startsWith(QStringLiteral("บันทึกรายงานผลลงแฟ้ม  %1  ไม่ได้  เพราะ")
                                       .arg(QDir::toNativeSeparators(reportPath(failing)))),
                 qPrintable(prompt));
        QVERIFY(prompt.endsWith(QStringLiteral("กด Visual Report อีกครั้ง")));
        QCOMPARE(readBytes(reportPath(failing)), QByteArray("earlier\r\n"));
        QVERIFY(f->platform.webPagesOpened.isEmpty());
        QVERIFY(page()->cmdVisualReport->isEnabled());
        QVERIFY(page()->cmdFinish->isEnabled());
    }

    // The blueprint beside the data file adds its indicators; a faulty one is told and writes nothing.
    void aBlueprintBesideTheDataFileAddsItsIndicators_data()
    {
        QTest::addColumn<QByteArray>("blueprint");
        QTest::addColumn<QString>("refusal"); // empty: accepted
        QTest::newRow("accepted") << readBytes(examplePath(QStringLiteral("school/class.blueprint.csv")))
                                  << QString();
        QTest::newRow("an item twice") << QByteArray("ข้อ,ตัวชี้วัด\r\n1,ค 1.1\r\n1,ค 1.2\r\n")
                                       << QStringLiteral("class.blueprint.csv แถว 3: ข้อ 1 อยู่ในแถว 2 แล้ว");
    }
    void aBlueprintBesideTheDataFileAddsItsIndicators()
    {
        QFETCH(QByteArray, blueprint);
        QFETCH(QString, refusal);
        // A folder of its own, so that the other tests' classes have no blueprint beside them.
        const QTemporaryDir school;
        writeBytes(QDir(school.path()).filePath(QStringLiteral("class.blueprint.csv")), blueprint);
        const QString data = QDir(school.path()).filePath(QStringLiteral("class.txt"));
        writeBytes(data, readBytes(examplePath(QStringLiteral("school/class.txt"))));
        openOnFile(data);
        click(page()->cmdCal);
        click(page()->cmdVisualReport);
        if (refusal.isEmpty()) {
            QVERIFY(f->platform.messages.isEmpty());
            QVERIFY(QString::fromUtf8(readBytes(reportPath("Result.html")))
                        .contains(QStringLiteral("<h2 id=\"indicators\">7. ผลตามตัวชี้วัด")));
            return;
        }
        QCOMPARE(f->platform.messages.size(), 1);
        QVERIFY2(f->platform.messages.first().prompt.contains(refusal),
                 qPrintable(f->platform.messages.first().prompt));
        QVERIFY(f->platform.filesWritten.isEmpty());
        QVERIFY(f->platform.webPagesOpened.isEmpty());
        QVERIFY(page()->cmdVisualReport->isEnabled());
    }

    // A pupil list and a form file beside the data file give the report, the visual report and the
    // gradebook of the window exactly what qlt gives them from the same files; a list that does not
    // fit is told at Analyse, and nothing is analysed.
    void roomsAndFormsBesideTheDataFileReachTheVisualReport_data()
    {
        QTest::addColumn<bool>("rooms");
        QTest::addColumn<bool>("forms");
        QTest::addColumn<bool>("formColumn"); // the pupils' forms in the list rather than their identifiers
        QTest::addColumn<QString>("refusal"); // empty: accepted
        QTest::newRow("rooms") << true << false << false << QString();
        QTest::newRow("forms by the identifiers") << false << true << false << QString();
        QTest::newRow("rooms and forms from the list") << true << true << true << QString();
        QTest::newRow("a list of another class")
            << true << false << false << QStringLiteral("grade.pupils.csv แถว 2: เลขประจำตัว 'x66301A'");
    }
    void roomsAndFormsBesideTheDataFileReachTheVisualReport()
    {
        QFETCH(bool, rooms);
        QFETCH(bool, forms);
        QFETCH(bool, formColumn);
        QFETCH(QString, refusal);
        const QTemporaryDir school;
        const auto beside = [&](const QString& name) { return QDir(school.path()).filePath(name); };
        const QByteArray bytes = readBytes(examplePath(QStringLiteral("school/class-forms.txt")));
        writeBytes(beside(QStringLiteral("grade.txt")), bytes);
        if (forms)
            writeBytes(beside(QStringLiteral("grade.forms.csv")),
                       readBytes(examplePath(QStringLiteral("school/class-forms.forms.csv"))));
        TestData data;
        QString error;
        QVERIFY(loadDataBytes(bytes, data, error));
        QStringList ids, roomOf, formOf;
        for (int i = 1; i <= data.NumStud; ++i) {
            ids << (refusal.isEmpty() ? QString() : QStringLiteral("x")) + data.StudID[i].trimmed();
            roomOf << QStringLiteral("ม.4/%1").arg(i % 3 + 1);
            formOf << data.StudID[i].trimmed().right(1);
        }
        if (rooms || formColumn)
            writeBytes(
                beside(QStringLiteral("grade.pupils.csv")),
                pupilListBytes(ids, rooms ? roomOf : QStringList(), formColumn ? formOf : QStringList()));

        openOnFile(beside(QStringLiteral("grade.txt")));
        click(page()->cmdCal);
        if (!refusal.isEmpty()) {
            QCOMPARE(f->platform.messages.size(), 1);
            const QString prompt = f->platform.messages.first().prompt;
            QVERIFY2(prompt.contains(refusal) && prompt.endsWith(QStringLiteral("กด Analyse อีกครั้ง")),
                     qPrintable(prompt));
            QVERIFY(!page()->cmdFinish->isEnabled());
            QVERIFY(!page()->cmdVisualReport->isEnabled());
            return;
        }
        click(page()->cmdFinish);
        click(page()->cmdVisualReport);
        QVERIFY(f->platform.messages.isEmpty());
        const QltRun run = runQltInProcess(
            {QStringLiteral("-o"), beside(QStringLiteral("Result.doc")), QStringLiteral("--html"),
             beside(QStringLiteral("Result.html")), QStringLiteral("--gradebook"),
             beside(QStringLiteral("Gradebook.csv")), beside(QStringLiteral("grade.txt"))});
        QVERIFY2(run.status == 0, qPrintable(run.err));
        QCOMPARE(readBytes(reportPath()), readBytes(beside(QStringLiteral("Result.doc"))));
        const QByteArray html = readBytes(reportPath("Result.html"));
        QCOMPARE(html, readBytes(beside(QStringLiteral("Result.html"))));
        QCOMPARE(readBytes(reportPath("Gradebook.csv")), readBytes(beside(QStringLiteral("Gradebook.csv"))));
        QCOMPARE(html.contains("id=\"rooms\""), rooms);
        QCOMPARE(html.contains("id=\"forms\""), forms);
    }

    void noBrowserSaysWhereTheVisualReportIsAndOpensItsFolder()
    {
        openOnFile(examplePath(QStringLiteral("class-4choices.txt")));
        f->platform.canOpen = false;
        click(page()->cmdCal);
        click(page()->cmdVisualReport);
        QCOMPARE(f->platform.messages.size(), 1);
        QVERIFY(f->platform.messages.first().prompt.contains(
            QDir::toNativeSeparators(reportPath("Result.html"))));
        QCOMPARE(f->platform.foldersOpened, QStringList{f->platform.programFolderPath});
    }

    void noWordProcessorSaysWhereTheReportIsOpensItsFolderAndFinishEnds()
    {
        openOnFile(examplePath(QStringLiteral("class-4choices.txt")));
        f->platform.canOpen = false;
        click(page()->cmdCal);
        click(page()->cmdFinish);
        QCOMPARE(f->platform.messages.size(), 1);
        QVERIFY(f->platform.messages.first().prompt.contains(QDir::toNativeSeparators(reportPath())));
        QCOMPARE(f->platform.foldersOpened, QStringList{f->platform.programFolderPath});
        QVERIFY(!page()->cmdFinish->isEnabled());
        QVERIFY(!readBytes(reportPath()).isEmpty());
    }

    // The earlier file's class is released before the next file is read, so it is gone either way.
    void aRefusedFileKeepsTheSourcePageAndReleasesTheEarlierFile()
    {
        openOnFile(examplePath(QStringLiteral("class-4choices.txt")));
        click(page()->cmdBack);
        f->app.data.DataFile = folder.filePath(QStringLiteral("vanished.txt"));
        click(f->loaded<frm2_Source>(PageId::Source)->cmdNext);
        QVERIFY(!f->app.isLoaded(PageId::Stat));
        QVERIFY(f->app.isVisible(PageId::Source));
        QVERIFY(!f->loaded<frm2_Source>(PageId::Source)->manualEntry());
        QCOMPARE(f->platform.messages.size(), 1);
        QCOMPARE(f->platform.messages.first().title, QStringLiteral(" ผิดพลาด !"));
        QCOMPARE(f->app.data.NumStud, 0);
        QCOMPARE(answerStrings(f->app.data.StudAns), makeTextArray(0));
    }

    void backAndForwardReloadsTheFileAndTheDefaults()
    {
        openOn(lines({"KEY 12", "001 12", "002 21"}));
        tick(page()->chkStat[StatBox::RawScore]);
        f->app.results.UsableItems = QStringLiteral("1 ");
        click(page()->cmdBack);
        openOn(lines({"KEY 123", "001 123", "002 321", "003 111"}));
        QCOMPARE(f->app.data.NumStud, 3);
        QCOMPARE(page()->boxes(), defaultSelection());
        QVERIFY(f->app.results.UsableItems.isEmpty()); // the list belonged to the earlier data
    }

    void manualDataReadNoFileAndStillGetTheDefaults()
    {
        f->app.show(PageId::Source);
        f->loaded<frm2_Source>(PageId::Source)->optInput[0]->click();
        f->app.data.setKey(QStringLiteral("12"));
        f->app.data.DataFile = folder.filePath(QStringLiteral("absent.txt"));
        QVERIFY(f->app.show(PageId::Stat));
        QCOMPARE(page()->boxes(), defaultSelection());
        QCOMPARE(f->app.data.AllKeys, QStringLiteral("12"));
        QVERIFY(f->platform.messages.isEmpty());
    }

    // A teacher's whole way: choose a sample file, Next, Analyse, Finish, and the report opens.
    void fromADataFileToTheOpenedReport()
    {
        f->app.Main();
        click(f->app.load(PageId::Info)->findChild<QPushButton*>(QStringLiteral("cmdstart")));
        auto* source = f->loaded<frm2_Source>(PageId::Source);
        f->platform.filesToChoose = {examplePath(QStringLiteral("class-4choices.txt"))};
        click(source->cmdBrowse);
        click(source->cmdNext);
        click(page()->cmdCal);
        click(page()->cmdFinish);
        QCOMPARE(f->platform.documentsOpened, QStringList{reportPath()});
        const QString expected =
            decodeCp874(readBytes(testDataPath(QStringLiteral("class-4choices-default.doc"))));
        const QString written = decodeCp874(readBytes(reportPath()));
        QVERIFY2(written == expected, qPrintable(firstDifference(expected, written)));
        QCOMPARE(readBytes(reportPath()),
                 readBytes(testDataPath(QStringLiteral("class-4choices-default.doc"))));
    }
};

QTEST_MAIN(StatPageTest)
#include "tst_stat.moc"
