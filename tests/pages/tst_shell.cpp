// The wizard's shell: start-up, captions, every move between pages, and the commands of every page.
#include "AppFixture.h"
#include "TestFiles.h"
#include "app/EnterAsTab.h"
#include "app/QtPlatform.h"
#include "pages/frm1_Info.h"
#include "pages/frm2_Source.h"
#include "pages/frm2_SourceInput.h"
#include "pages/frm3_InputChecker.h"
#include "pages/frm4_Stat.h"

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <QPushButton>
#include <QRadioButton>
#include <QScreen>
#include <QSignalSpy>
#include <QTextEdit>
#include <QTimer>

#include <memory>

Q_DECLARE_METATYPE(PageId)

namespace {
const PageId AllPages[] = {PageId::Info, PageId::Source, PageId::SourceInput, PageId::InputChecker,
                           PageId::Stat};
const char* const PageNames[] = {"introduction", "source", "entry", "checking", "analysis"};

QStringList visiblePages(Application& app)
{
    QStringList visible;
    for (PageId id : AllPages)
        if (app.isVisible(id))
            visible.append(app.load(id)->objectName());
    return visible;
}

// Counts the requests to quit that reach the application, however they are delivered.
struct QuitWatcher : QObject {
    int count = 0;
    QuitWatcher() { qApp->installEventFilter(this); }
    bool eventFilter(QObject* watched, QEvent* event) override
    {
        count += watched == qApp && event->type() == QEvent::Quit;
        return false;
    }
};

void createHelpPage(const QString& folder)
{
    QDir().mkpath(folder);
    QFile file(QDir(folder).filePath(QStringLiteral("Help!.html")));
    QVERIFY(file.open(QIODevice::WriteOnly));
    file.write("<html></html>");
}
} // namespace

class ShellTest : public QObject {
    Q_OBJECT

    std::unique_ptr<AppFixture> f;

    // Walks the wizard to the analysis page over the manual path.
    void walkToStatByHand()
    {
        f->app.Main();
        click(f->loaded<frm1_Info>(PageId::Info)->cmdstart);
        auto* source = f->loaded<frm2_Source>(PageId::Source);
        source->optInput[0]->click();
        click(source->cmdNext);
        auto* entry = f->loaded<frm2_SourceInput>(PageId::SourceInput);
        entry->cmdNext->setEnabled(true); // as once every examinee has been saved
        click(entry->cmdNext);
        click(f->loaded<frm3_InputChecker>(PageId::InputChecker)->cmdNext);
    }

private slots:
    void init()
    {
        f = std::make_unique<AppFixture>();
        f->app.data.DataFile = examplePath(QStringLiteral("class-4choices.txt")); // as if chosen by Browse
    }
    void cleanup()
    {
        f.reset();
        settle();
    }

    void startShowsOnlyTheIntroductionWithItsText()
    {
        f->app.Main();
        QCOMPARE(visiblePages(f->app), QStringList{"frm1_Info"});
        auto* info = f->loaded<frm1_Info>(PageId::Info);
        QCOMPARE(info->Label1->text(), frm1_Info::introduction());
        QVERIFY(info->Label1->text().startsWith(QStringLiteral("\r\n       Quillet (QLT)")));
        QVERIFY(!info->cmdNext->isEnabled());
        QVERIFY(!info->cmdFinish->isEnabled());
        QVERIFY(!QGuiApplication::quitOnLastWindowClosed());
        QVERIFY(f->platform.messages.isEmpty());
    }

    void captions_data()
    {
        QTest::addColumn<PageId>("page");
        QTest::addColumn<QString>("title");
        QTest::newRow("introduction")
            << PageId::Info << QStringLiteral(R"qlt( // Quillet \\->  โปรแกรมวิเคราะห์ข้อสอบแบบง่าย ๆ)qlt");
        QTest::newRow("source") << PageId::Source << QStringLiteral(R"qlt( // Quillet \\->  ระบุแหล่งข้อมูล)qlt");
        QTest::newRow("entry") << PageId::SourceInput << QStringLiteral(R"qlt( // Quillet \\->  ป้อนข้อมูล)qlt");
        QTest::newRow("checking") << PageId::InputChecker
                                  << QStringLiteral(R"qlt( // Quillet \\->  ตรวจสอบข้อมูล)qlt");
        QTest::newRow("analysis") << PageId::Stat
                                  << QStringLiteral(R"qlt( // Quillet \\->  เลือกค่าสถิติและการวิเคราะห์)qlt");
    }
    void captions()
    {
        QFETCH(PageId, page);
        QFETCH(QString, title);
        const QString caption = f->app.load(page)->windowTitle();
        QCOMPARE(caption, title);
        // Two backslash characters stand between "Quillet" and "->", and two spaces follow it.
        const QString backslashes(2, QLatin1Char('\\'));
        QVERIFY(caption.startsWith(QStringLiteral(" // Quillet ") + backslashes + QStringLiteral("->  ")));
    }

    void startThenBackThenStartRebuildsTheTextOnce()
    {
        f->app.Main();
        click(f->loaded<frm1_Info>(PageId::Info)->cmdstart);
        QVERIFY(!f->app.isLoaded(PageId::Info));
        click(f->loaded<frm2_Source>(PageId::Source)->cmdBack);
        QCOMPARE(visiblePages(f->app), QStringList{"frm1_Info"});
        QVERIFY(f->app.isLoaded(PageId::Source));
        QCOMPARE(f->loaded<frm1_Info>(PageId::Info)->Label1->text(), frm1_Info::introduction());
        click(f->loaded<frm1_Info>(PageId::Info)->cmdstart);
        QCOMPARE(visiblePages(f->app), QStringList{"frm2_Source"});
    }

    void sourcePageKeepsItsChoiceAcrossAVisitToTheIntroduction()
    {
        f->app.Main();
        click(f->loaded<frm1_Info>(PageId::Info)->cmdstart);
        auto* source = f->loaded<frm2_Source>(PageId::Source);
        source->optInput[0]->click();
        click(source->cmdBack);
        click(f->loaded<frm1_Info>(PageId::Info)->cmdstart);
        QCOMPARE(f->loaded<frm2_Source>(PageId::Source), source);
        QVERIFY(source->manualEntry());
    }

    void manualPathForwardHidesEachPageLeftBehind()
    {
        walkToStatByHand();
        QCOMPARE(visiblePages(f->app), QStringList{"frm4_Stat"});
        for (PageId id : {PageId::Source, PageId::SourceInput, PageId::InputChecker})
            QVERIFY(f->app.isLoaded(id));
        QVERIFY(!f->app.isLoaded(PageId::Info));
    }

    void entryNextShowsTheCheckingPageWithTheSkipHint()
    {
        walkToStatByHand();
        const QString hint = f->loaded<frm3_InputChecker>(PageId::InputChecker)->RichTextBox1->toPlainText();
        QVERIFY(hint.startsWith(QStringLiteral("   * ")));
        QVERIFY(hint.endsWith(QStringLiteral(" *")));
    }

    void analysisBackAfterTheManualPathReturnsToTheCheckingPage()
    {
        walkToStatByHand();
        auto* checker = f->loaded<frm3_InputChecker>(PageId::InputChecker);
        click(f->loaded<frm4_Stat>(PageId::Stat)->cmdBack);
        QVERIFY(!f->app.isLoaded(PageId::Stat));
        QCOMPARE(visiblePages(f->app), QStringList{"frm3_InputChecker"});
        QCOMPARE(f->loaded<frm3_InputChecker>(PageId::InputChecker), checker);
    }

    void checkingBackRestartsEntryOnAFreshPage()
    {
        walkToStatByHand();
        click(f->loaded<frm4_Stat>(PageId::Stat)->cmdBack);
        auto* oldEntry = f->loaded<frm2_SourceInput>(PageId::SourceInput);
        QPointer<QWidget> oldEntryAlive = oldEntry;
        f->app.data.CurStud = 7;
        click(f->loaded<frm3_InputChecker>(PageId::InputChecker)->cmdBack);
        QVERIFY(oldEntryAlive.isNull());
        QVERIFY(!f->app.isLoaded(PageId::InputChecker));
        QCOMPARE(visiblePages(f->app), QStringList{"frm2_SourceInput"});
        QCOMPARE(f->app.data.CurStud, 1);
        QVERIFY(f->loaded<frm2_Source>(PageId::Source)->manualEntry());
        QVERIFY(!f->app.isVisible(PageId::Source));
    }

    void entryBackStartsAgainFromTheSourcePage()
    {
        f->app.Main();
        click(f->loaded<frm1_Info>(PageId::Info)->cmdstart);
        f->loaded<frm2_Source>(PageId::Source)->optInput[0]->click();
        click(f->loaded<frm2_Source>(PageId::Source)->cmdNext);
        click(f->loaded<frm2_SourceInput>(PageId::SourceInput)->cmdstart);
        QVERIFY(!f->app.isLoaded(PageId::SourceInput));
        QCOMPARE(visiblePages(f->app), QStringList{"frm2_Source"});
    }

    void analysisBackAfterTheFilePathReturnsToTheSourcePage()
    {
        f->app.Main();
        click(f->loaded<frm1_Info>(PageId::Info)->cmdstart);
        f->app.show(PageId::Stat);
        f->app.hide(PageId::Source);
        click(f->loaded<frm4_Stat>(PageId::Stat)->cmdBack);
        QVERIFY(!f->app.isLoaded(PageId::Stat));
        QCOMPARE(visiblePages(f->app), QStringList{"frm2_Source"});
        QVERIFY(!f->loaded<frm2_Source>(PageId::Source)->manualEntry());
    }

    void analysisBackCreatesTheSourcePageWhenItIsNotLoaded()
    {
        f->app.show(PageId::Stat);
        click(f->loaded<frm4_Stat>(PageId::Stat)->cmdBack);
        QCOMPARE(visiblePages(f->app), QStringList{"frm2_Source"});
    }

    // The real event loop: unloading the only visible page before showing the next never ends it.
    void eventLoopSurvivesEveryUnloadThenShowAndACloseRefused()
    {
        f->app.Main();
        f->platform.answers = {Platform::Answer::No};
        QStringList done;
        QTimer::singleShot(0, [&] {
            click(f->loaded<frm1_Info>(PageId::Info)->cmdstart);
            auto* source = f->loaded<frm2_Source>(PageId::Source);
            source->optInput[0]->click();
            click(source->cmdNext);
            click(f->loaded<frm2_SourceInput>(PageId::SourceInput)->cmdstart);
            done << "entry back";
            click(f->loaded<frm2_Source>(PageId::Source)->cmdNext);
            auto* entry = f->loaded<frm2_SourceInput>(PageId::SourceInput);
            entry->cmdNext->setEnabled(true);
            click(entry->cmdNext);
            click(f->loaded<frm3_InputChecker>(PageId::InputChecker)->cmdBack);
            done << "checking back";
            f->loaded<frm2_SourceInput>(PageId::SourceInput)->close();
            done << "close refused";
            // Queued behind whatever the moves posted, a quit among them: if the loop still runs
            // this call, nothing the moves did ended it.
            QMetaObject::invokeMethod(
                qApp,
                [&] {
                    done << "still running";
                    QCoreApplication::exit(42);
                },
                Qt::QueuedConnection);
        });
        QuitWatcher quits;
        QCOMPARE(QCoreApplication::exec(), 42);
        QCOMPARE(done, (QStringList{"entry back", "checking back", "close refused", "still running"}));
        QCOMPARE(quits.count, 0);
        QCOMPARE(visiblePages(f->app), QStringList{"frm2_SourceInput"});
        QCOMPARE(f->platform.endProgramCalls, 0);
    }

    void exitOnEveryPage_data()
    {
        QTest::addColumn<PageId>("page");
        QTest::addColumn<bool>("yes");
        for (PageId id : AllPages) {
            QTest::addRow("%s page, answered No", PageNames[int(id)]) << id << false;
            QTest::addRow("%s page, answered Yes", PageNames[int(id)]) << id << true;
        }
    }
    void exitOnEveryPage()
    {
        QFETCH(PageId, page);
        QFETCH(bool, yes);
        f->app.show(page);
        f->platform.answers = {yes ? Platform::Answer::Yes : Platform::Answer::No};
        click(f->app.load(page)->findChild<QPushButton*>(QStringLiteral("cmdExit")));
        QCOMPARE(f->platform.messages.size(), 1);
        const auto& asked = f->platform.messages.first();
        QCOMPARE(asked.prompt, QStringLiteral("ต้องการออกจากโปรแกรม ?"));
        QCOMPARE(asked.title, QStringLiteral("! ยืนยันคำสั่ง !"));
        QCOMPARE(asked.icon, Platform::Icon::Warning);
        QCOMPARE(asked.buttons, Platform::Buttons::YesNo);
        QCOMPARE(f->platform.endProgramCalls, yes ? 1 : 0);
        QVERIFY(f->app.isVisible(page));
    }

    void closingAWindowAsksLikeExit_data()
    {
        QTest::addColumn<bool>("yes");
        QTest::newRow("No keeps the window") << false;
        QTest::newRow("Yes ends the program") << true;
    }
    void closingAWindowAsksLikeExit()
    {
        QFETCH(bool, yes);
        f->app.Main();
        f->platform.answers = {yes ? Platform::Answer::Yes : Platform::Answer::No};
        f->app.load(PageId::Info)->close();
        QCOMPARE(f->platform.messages.size(), 1);
        QCOMPARE(f->platform.endProgramCalls, yes ? 1 : 0);
        QVERIFY(f->app.isVisible(PageId::Info));
    }

    void helpOpensTheHelpPageEachTime()
    {
        createHelpPage(f->platform.programFolderPath);
        f->app.Main();
        auto* help = f->loaded<frm1_Info>(PageId::Info)->cmdHelp;
        click(help);
        click(help);
        const QString expected = QDir(f->platform.programFolderPath).filePath(QStringLiteral("Help!.html"));
        QCOMPARE(f->platform.helpPagesOpened, (QStringList{expected, expected}));
        QVERIFY(f->platform.messages.isEmpty());
    }

    void helpIsFoundInTheInstalledDataFolder()
    {
        createHelpPage(f->platform.dataFolderPath);
        f->app.ShowHelp();
        QCOMPARE(f->platform.helpPagesOpened,
                 QStringList{QDir(f->platform.dataFolderPath).filePath(QStringLiteral("Help!.html"))});
    }

    void helpWithoutPageOrBrowserWarnsInThai_data()
    {
        QTest::addColumn<bool>("pageExists");
        QTest::addColumn<QString>("mentions");
        QTest::newRow("no help page anywhere") << false << QStringLiteral("ไม่พบแฟ้มคู่มือ");
        QTest::newRow("no browser can start") << true << QStringLiteral("เว็บเบราว์เซอร์");
    }
    void helpWithoutPageOrBrowserWarnsInThai()
    {
        QFETCH(bool, pageExists);
        QFETCH(QString, mentions);
        if (pageExists)
            createHelpPage(f->platform.programFolderPath);
        f->platform.canOpen = false;
        f->app.ShowHelp();
        QCOMPARE(f->platform.messages.size(), 1);
        QVERIFY(f->platform.messages.first().prompt.contains(mentions));
        QCOMPARE(f->platform.messages.first().title, QStringLiteral(" ผิดพลาด !"));
        QCOMPARE(f->platform.messages.first().icon, Platform::Icon::Warning);
    }

    void enterInAFilteredBoxMovesTheFocusOn()
    {
        QWidget window;
        auto* first = new QLineEdit(&window);
        auto* second = new QLineEdit(&window);
        EnterAsTab(first);
        window.show();
        QApplication::setActiveWindow(&window);
        first->setFocus();
        QSignalSpy entered(first, &QLineEdit::returnPressed);
        QTest::keyClicks(first, QStringLiteral("12a"));
        QTest::keyClick(first, Qt::Key_Backspace);
        QTest::keyClick(first, Qt::Key_Return);
        QVERIFY(second->hasFocus());
        QCOMPARE(first->text(), QStringLiteral("12"));
        QCOMPARE(entered.count(), 0);
        first->setFocus();
        QTest::keyClick(first, Qt::Key_Enter, Qt::KeypadModifier);
        QVERIFY(second->hasFocus());
    }

    void enterPressesTheFocusedButton()
    {
        f->app.Main();
        auto* info = f->loaded<frm1_Info>(PageId::Info);
        QApplication::setActiveWindow(info);
        info->cmdstart->setFocus();
        QTest::keyClick(info->cmdstart, Qt::Key_Return);
        settle();
        QCOMPARE(visiblePages(f->app), QStringList{"frm2_Source"});
    }

    // Each page takes the place of the one it replaces, forward and back; the first is centred.
    void everyPageAppearsWhereThePageItReplacesWas()
    {
        f->app.Main();
        auto* info = f->loaded<frm1_Info>(PageId::Info);
        const QRect screen = info->screen()->availableGeometry();
        QVERIFY((info->geometry().center() - screen.center()).manhattanLength() <=
                2); // half a pixel each way
        const QPoint place(137, 71);
        info->setGeometry(QRect(place, info->size()));
        click(info->cmdstart);
        auto* source = f->loaded<frm2_Source>(PageId::Source);
        QCOMPARE(source->geometry().topLeft(), place);
        source->optInput[0]->click();
        click(source->cmdNext);
        auto* entry = f->loaded<frm2_SourceInput>(PageId::SourceInput);
        QCOMPARE(entry->geometry().topLeft(), place);
        const QPoint moved(240, 160);
        entry->setGeometry(QRect(moved, entry->size())); // the teacher moves the window
        click(entry->cmdstart);
        QCOMPARE(f->loaded<frm2_Source>(PageId::Source)->geometry().topLeft(), moved);
    }

    // A short prompt under a long Thai title: the box is wide enough for the title bar to show it.
    void messageBoxesAreWideEnoughForTheirTitle()
    {
        QtPlatform desktop;
        const QString title = QStringLiteral(" ยืนยันข้อมูลของผู้สอบทั้งหมดก่อนบันทึก");
        int width = 0;
        QTimer::singleShot(0, [&width] {
            QWidget* box = QApplication::activeModalWidget();
            QVERIFY(box);
            width = box->width();
            QTest::keyClick(box, Qt::Key_Return);
        });
        desktop.message(QStringLiteral("ตกลง ?"), title, Platform::Icon::Question, Platform::Buttons::YesNo);
        QFont bold = QApplication::font();
        bold.setBold(true);
        QVERIFY2(width > QFontMetrics(bold).horizontalAdvance(title) + 100,
                 qPrintable(QString::number(width)));
    }

    void messageBoxDefaultButtonAnswersEnter_data()
    {
        QTest::addColumn<bool>("question");
        QTest::newRow("a question's default is Yes") << true;
        QTest::newRow("an error's only button is OK") << false;
    }
    void messageBoxDefaultButtonAnswersEnter()
    {
        QFETCH(bool, question);
        QtPlatform desktop;
        QTimer::singleShot(0, [] {
            QWidget* box = QApplication::activeModalWidget();
            QVERIFY(box);
            QTest::keyClick(box, Qt::Key_Return);
        });
        const auto answer = desktop.message(QStringLiteral(" คำถาม "), QStringLiteral(" หัวเรื่อง"),
                                            question ? Platform::Icon::Question : Platform::Icon::Warning,
                                            question ? Platform::Buttons::YesNo : Platform::Buttons::Ok);
        QCOMPARE(answer, question ? Platform::Answer::Yes : Platform::Answer::Ok);
    }

    void outputsGoBesideTheProgramWhenItsFolderIsWritable()
    {
        QCOMPARE(f->app.outputPath(QStringLiteral("Result.doc")),
                 QDir(f->platform.programFolderPath).filePath(QStringLiteral("Result.doc")));
        QVERIFY(f->platform.messages.isEmpty());
    }

    void outputsFallBackToTheDocumentsFolderAndSaySoOnce()
    {
        // A folder under a regular file can never be written, whoever runs the test.
        QFile blocker(QDir(f->platform.programFolderPath).filePath(QStringLiteral("blocker")));
        QVERIFY(blocker.open(QIODevice::WriteOnly));
        f->platform.programFolderPath = blocker.fileName() + QStringLiteral("/bin");
        const QString expected =
            QDir(f->platform.documentsFolderPath).filePath(QStringLiteral("Quillet/Result.doc"));
        QCOMPARE(f->app.outputPath(QStringLiteral("Result.doc")), expected);
        QCOMPARE(f->app.outputPath(QStringLiteral("Result.doc")), expected);
        QCOMPARE(f->platform.messages.size(), 1);
        QVERIFY(f->platform.messages.first().prompt.contains(
            QDir::toNativeSeparators(QFileInfo(expected).path())));
    }

    void anInstalledProgramWritesIntoTheDocumentsFolderWhateverItsOwnFolderAllows_data()
    {
        QTest::addColumn<bool>("programFolderWritable");
        QTest::newRow("a per-user install, whose folder the teacher may write") << true;
        QTest::newRow("a system install, whose folder is the administrator's") << false;
    }
    void anInstalledProgramWritesIntoTheDocumentsFolderWhateverItsOwnFolderAllows()
    {
        QFETCH(bool, programFolderWritable);
        QVERIFY(QDir().mkpath(f->platform.dataFolderPath)); // where an installation keeps the help page
        if (!programFolderWritable) {
            QFile blocker(QDir(f->platform.programFolderPath).filePath(QStringLiteral("blocker")));
            QVERIFY(blocker.open(QIODevice::WriteOnly));
            f->platform.programFolderPath = blocker.fileName() + QStringLiteral("/bin");
        }
        const QString folder = QDir(f->platform.documentsFolderPath).filePath(QStringLiteral("Quillet"));
        QCOMPARE(f->app.outputPath(QStringLiteral("InputData.doc")),
                 QDir(folder).filePath(QStringLiteral("InputData.doc")));
        QCOMPARE(f->app.outputPath(QStringLiteral("Result.doc")),
                 QDir(folder).filePath(QStringLiteral("Result.doc")));
        QVERIFY(QFileInfo(folder).isDir());
        // Said once, and without blaming the program's folder: this is where an installation writes.
        QCOMPARE(f->platform.messages.size(), 1);
        QVERIFY(f->platform.messages.first().prompt.contains(QDir::toNativeSeparators(folder)));
        QVERIFY(!f->platform.messages.first().prompt.contains(QStringLiteral("ไม่ได้")));
    }
};

QTEST_MAIN(ShellTest)
#include "tst_shell.moc"
