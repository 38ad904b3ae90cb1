#include "pages/frm4_Stat.h"

#include "app/Application.h"
#include "app/Artwork.h"
#include "app/Platform.h"
#include "app/PlatformMessages.h"
#include "diagnostics/CsvReport.h"
#include "diagnostics/HtmlReport.h"
#include "model/DataFileLoader.h"
#include "pages/frm2_Source.h"
#include "report/ResultReport.h"
#include "school/ClassGroups.h"
#include "school/SchoolRecords.h"

#include <QCheckBox>
#include <QDir>
#include <QFileInfo>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QRadioButton>
#include <QVBoxLayout>

namespace {
// Answer cells of a class whose analysis or report takes long enough to need a sign of life.
constexpr qint64 LongAnalysis = 20'000'000;

const QString VisualReportFileName = QStringLiteral("Result.html");
const QString ItemTableFileName = QStringLiteral("Result.csv");
const QString GradebookFileName = QStringLiteral("Gradebook.csv");

QLabel* boldLabel(const QString& name, const QString& text, QWidget* parent)
{
    auto* label = new QLabel(text, parent);
    label->setObjectName(name);
    QFont font = label->font();
    font.setBold(true);
    label->setFont(font);
    return label;
}

QCheckBox* makeBox(const QString& name, const QString& caption, QWidget* parent)
{
    auto* box = new QCheckBox(caption, parent);
    box->setObjectName(name);
    return box;
}
} // namespace

frm4_Stat::frm4_Stat(Application& app)
    : WizardPage(app, R"qlt( // Quillet \\->  เลือกค่าสถิติและการวิเคราะห์)qlt", QStringLiteral("frm4_Stat"))
{
    Label1 = makeTitle("เลือกสถิติที่ต้องการ", "ระบุวิธีการนำเข้าข้อมูลที่จะวิเคราะห์");

    Frame1 = new QGroupBox(this);
    Frame1->setObjectName(QStringLiteral("Frame1"));
    Label2 = boldLabel(QStringLiteral("Label2"), " เกี่ยวกับคะแนน ", Frame1);
    const QString statCaptions[] = {
        "คะแนนดิบ (Row Score)",    "พิสัย (Range)", "มัชฌิมเลขคณิต (Mean)", "มัธยฐาน (Median)", "ฐานนิยม (Mode)",
        "ส่วนเบี่ยงเบนมาตรฐาน (SD)", QString(),     "Z-Score",           "T-Score",         "ความเบ้ (Skewness)",
        "ความโด่ง (Kurtosis)"};
    for (int index = 0; index < int(chkStat.size()); ++index)
        if (index != StatBox::Spare)
            chkStat[index] = makeBox(QStringLiteral("chkStat%1").arg(index), statCaptions[index], Frame1);

    Frame2 = new QGroupBox(this);
    Frame2->setObjectName(QStringLiteral("Frame2"));
    Label3 = boldLabel(QStringLiteral("Label3"), " เกี่ยวกับแบบสอบ", Frame2);
    const QString analyseCaptions[] = {"ความเที่ยง (Validity)", "ความยาก (Difficulty)",
                                       "อำนาจจำแนก (Discrimination)", "ความคลาดเคลื่อนมาตรฐานของการวัด  (SEM)",
                                       "ประสิทธิภาพของตัวลวง"};
    for (int index = 0; index < int(chkAnalyse.size()); ++index)
        chkAnalyse[index] =
            makeBox(QStringLiteral("chkAnalyse%1").arg(index), analyseCaptions[index], Frame2);
    const QString choiceCaptions[] = {"4 ตัวเลือก", "5 ตัวเลือก"};
    for (int index = 0; index < 2; ++index) {
        optChoice[index] = new QRadioButton(choiceCaptions[index], Frame2);
        optChoice[index]->setObjectName(QStringLiteral("optChoice%1").arg(index));
        optChoice[index]->setVisible(false);
        connect(optChoice[index], &QRadioButton::clicked, this, [this, index] { optChoice_Click(index); });
    }

    cmdHelp = makeHelpButton();
    cmdBack = makeButton(QStringLiteral("cmdBack"), "&Back", "กลับไปขั้นที่แล้ว");
    cmdCal = makeButton(QStringLiteral("cmdCal"), "&Analyse");
    QFont bold = cmdCal->font();
    bold.setBold(true);
    cmdCal->setFont(bold);
    cmdFinish = makeButton(QStringLiteral("cmdFinish"), "&Finish");
    cmdFinish->setEnabled(false);
    cmdVisualReport = makeButton(QStringLiteral("cmdVisualReport"), "&Visual Report",
                                 "เขียนรายงานวิเคราะห์รายข้อพร้อมแผนภูมิ (Result.html) และตารางค่าดัชนี (Result.csv) "
                                 "แล้วเปิดด้วยเว็บเบราว์เซอร์");
    cmdVisualReport->setEnabled(false);
    cmdExit = makeExitButton();
    connect(cmdCal, &QPushButton::clicked, this, &frm4_Stat::cmdCal_Click);
    connect(cmdFinish, &QPushButton::clicked, this, &frm4_Stat::cmdFinish_Click);
    connect(cmdVisualReport, &QPushButton::clicked, this, &frm4_Stat::cmdVisualReport_Click);
    connect(cmdBack, &QPushButton::clicked, this, &frm4_Stat::cmdBack_Click);

    // Score boxes in two columns: raw score, mean, median, mode, range | SD, Z, T, skewness, kurtosis.
    auto* scores = new QGridLayout(Frame1);
    scores->addWidget(Label2, 0, 0, 1, 2);
    const int leftScores[] = {StatBox::RawScore, StatBox::Mean, StatBox::Median, StatBox::Mode,
                              StatBox::Range};
    const int rightScores[] = {StatBox::SD, StatBox::ZScore, StatBox::TScore, StatBox::Skewness,
                               StatBox::Kurtosis};
    for (int row = 0; row < 5; ++row) {
        scores->addWidget(chkStat[leftScores[row]], row + 1, 0);
        scores->addWidget(chkStat[rightScores[row]], row + 1, 1);
    }

    // Test boxes: reliability, difficulty, SEM | discrimination, distractors and the choice count.
    auto* test = new QGridLayout(Frame2);
    test->addWidget(Label3, 0, 0, 1, 2);
    test->addWidget(chkAnalyse[AnalyseBox::Reliability], 1, 0);
    test->addWidget(chkAnalyse[AnalyseBox::Difficulty], 2, 0);
    test->addWidget(chkAnalyse[AnalyseBox::SEM], 3, 0);
    test->addWidget(chkAnalyse[AnalyseBox::Discrimination], 1, 1);
    test->addWidget(chkAnalyse[AnalyseBox::Distractors], 2, 1);
    auto* choices = new QVBoxLayout;
    choices->setContentsMargins(24, 0, 0, 0);
    choices->addWidget(optChoice[0]);
    choices->addWidget(optChoice[1]);
    test->addLayout(choices, 3, 1, 2, 1);
    test->setRowStretch(5, 1);

    auto* buttons = new QHBoxLayout;
    for (QPushButton* button : {cmdHelp, cmdBack, cmdCal, cmdFinish, cmdVisualReport, cmdExit})
        buttons->addWidget(button);

    auto* page = new QVBoxLayout(this);
    page->addLayout(makeHeading(Label1, QStringLiteral("Image1")));
    page->addWidget(Frame1);
    page->addWidget(Frame2);
    page->addStretch(1);
    page->addWidget(makeDivider(this));
    page->addLayout(buttons);

    // Tab order: the commands first, then the score boxes, the test boxes, 5 choices before 4.
    QList<QWidget*> order = {cmdCal, cmdFinish, cmdBack, cmdExit, cmdHelp};
    for (QCheckBox* box : chkStat)
        if (box)
            order.append(box);
    for (int index : {AnalyseBox::Reliability, AnalyseBox::Difficulty, AnalyseBox::SEM,
                      AnalyseBox::Discrimination, AnalyseBox::Distractors})
        order.append(chkAnalyse[index]);
    order << optChoice[1] << optChoice[0]
          << cmdVisualReport; // the added button after the page's own controls
    for (int index = 1; index < order.size(); ++index)
        setTabOrder(order[index - 1], order[index]);

    // Every change of a box, by the user or by the program, runs the rules.
    for (QCheckBox* box : chkStat)
        if (box)
            connect(box, &QCheckBox::toggled, this, &frm4_Stat::chk_Click);
    for (QCheckBox* box : chkAnalyse)
        connect(box, &QCheckBox::toggled, this, &frm4_Stat::chk_Click);
    resize(760, 560);
}

bool frm4_Stat::Form_Load()
{
    forgetGroups(); // the earlier class's, whatever comes now
    if (!app.source().manualEntry()) {
        app.releaseFileData(); // an earlier file's class goes before this one comes
        QString error;
        bool loaded = false;
        {
            const auto progress = app.platform.showProgress(
                QStringLiteral("กำลังอ่านแฟ้มข้อมูล %1 ...").arg(QDir::toNativeSeparators(app.data.DataFile)));
            loaded = loadDataFile(app.data.DataFile, app.data, error, progress.get());
        }
        if (!loaded) {
            app.warn(error); // the source page stays, with its choice; typed data stay as they were
            return false;
        }
        app.fileDataLoaded();
    }
    setBoxes(defaultSelection());
    cmdCal->setFocus();
    return true;
}

AnalysisSelection frm4_Stat::boxes() const
{
    AnalysisSelection selection;
    for (int index = 0; index < int(chkStat.size()); ++index)
        selection.chkStat[index] = chkStat[index] && chkStat[index]->isChecked();
    for (int index = 0; index < int(chkAnalyse.size()); ++index)
        selection.chkAnalyse[index] = chkAnalyse[index]->isChecked();
    return selection;
}

void frm4_Stat::setBoxes(const AnalysisSelection& selection)
{
    for (int index = 0; index < int(chkStat.size()); ++index)
        if (chkStat[index])
            chkStat[index]->setChecked(selection.chkStat[index]);
    for (int index = 0; index < int(chkAnalyse.size()); ++index)
        chkAnalyse[index]->setChecked(selection.chkAnalyse[index]);
}

void frm4_Stat::chk_Click()
{
    const AnalysisSelection ruled = applyBoxRules(boxes());
    if (ruled != boxes()) {
        setBoxes(ruled); // each change comes back here; the rules settle at once
        return;
    }
    const bool distractors = chkAnalyse[AnalyseBox::Distractors]->isChecked();
    optChoice[0]->setVisible(distractors);
    optChoice[1]->setVisible(distractors);
    updateFinish();
}

void frm4_Stat::optChoice_Click(int index)
{
    app.data.setChoices(index == 0 ? 4 : 5);
    updateFinish();
}

void frm4_Stat::cmdCal_Click()
{
    AnalysisSelection selection = boxes();
    // A choice remembered from an earlier visit is not shown on the page, so it must be chosen here.
    if (selection.chkAnalyse[AnalyseBox::Distractors] && !optChoice[0]->isChecked() &&
        !optChoice[1]->isChecked()) {
        app.warn(QStringLiteral("กรุณาเลือกจำนวนตัวเลือกของข้อสอบ (%1 หรือ %2) "
                                "ก่อนวิเคราะห์ประสิทธิภาพของตัวลวงครับ")
                     .arg(optChoice[0]->text(), optChoice[1]->text()));
        return;
    }
    if (QString refusal; !groupClass(refusal)) {
        app.warn(refusal + QStringLiteral("  แก้ไขแล้วกด Analyse อีกครั้ง"));
        return;
    }
    PlatformMessages messages(app.platform);
    RunOutcome outcome;
    {
        const auto busy = busyIndication(QStringLiteral("กำลังวิเคราะห์ข้อมูล ..."));
        outcome = runAnalysis(analysed(), selection, app.results, messages);
    }
    setBoxes(selection);
    if (!outcome.finished)
        return;
    lastRun_ = outcome;
    ranSinceFinish_ = true;
    updateFinish();
    cmdVisualReport->setEnabled(true);
    cmdFinish->setFocus();
}

void frm4_Stat::cmdFinish_Click()
{
    const QString path = app.outputPath(ResultReportFileName);
    if (!writeReport(path, composeReport(analysed(), app.results, reportSelection(boxes())),
                     TextEncoding::Cp874, QStringLiteral("Finish")))
        return; // Finish stays so the teacher can try again
    OpenReport(path);
    ranSinceFinish_ = false;
    updateFinish();
}

// The item diagnostics of the last run, whatever the boxes: the visual report, its spreadsheet table
// and the class's gradebook, which it links, all written before the page opens, so a failure opens
// nothing. The blueprint beside the data file adds its indicators, and the rooms and forms Analyse
// found their comparisons.
void frm4_Stat::cmdVisualReport_Click()
{
    const QString htmlPath = app.outputPath(VisualReportFileName);
    const QString csvPath = app.outputPath(ItemTableFileName);
    const QString gradebookPath = app.outputPath(GradebookFileName);
    QString html, csv, refusal;
    SchoolRecords records;
    {
        const auto busy = busyIndication(QStringLiteral("กำลังเขียนรายงานวิเคราะห์รายข้อ ..."));
        SchoolRequest school;
        school.htmlPath = htmlPath;
        school.gradebookPath = gradebookPath;
        school.comparisons = groups_;
        // A blueprint beside the data file adds its indicators; a faulty one is told and writes nothing.
        if (!app.source().manualEntry())
            school.blueprintPath = blueprintBeside(app.data.DataFile);
        // The count the distractor analysis ran with, or else (0) the one the key and the answers show.
        TestDiagnostics diagnostics = diagnoseTest(analysed(), app.results, lastRun_.numChoices);
        const QString source = app.source().manualEntry() ? QStringLiteral("(ป้อนข้อมูลเอง)")
                                                          : QFileInfo(app.data.DataFile).fileName();
        HtmlAdditions additions;
        if (makeSchoolRecords(school, analysed(), diagnostics, additions, records, refusal)) {
            html = composeHtmlReport(analysed(), diagnostics, source, additions);
            csv = composeCsv(diagnostics);
        }
    }
    if (!refusal.isEmpty()) {
        app.warn(refusal + QStringLiteral("  แก้ไขแล้วกด Visual Report อีกครั้ง"));
        return;
    }
    const QString button = QStringLiteral("Visual Report");
    const auto writeGradebook = [&](QString& reason) {
        return app.platform.writeFile(gradebookPath, records.gradebook, reason);
    };
    if (!writeReport(gradebookPath, button, writeGradebook) ||
        !writeReport(csvPath, csv, TextEncoding::Utf8, button) ||
        !writeReport(htmlPath, html, TextEncoding::Utf8, button))
        return;
    if (app.platform.openWebPage(htmlPath))
        return;
    app.inform(QStringLiteral("เขียนรายงานวิเคราะห์รายข้อเรียบร้อยแล้วที่  %1  แต่เปิดเว็บเบราว์เซอร์ไม่ได้  "
                              "กรุณาเปิดแฟ้มนี้ด้วยเว็บเบราว์เซอร์  โปรแกรมจะเปิดโฟลเดอร์ที่เก็บแฟ้มนี้ให้")
                   .arg(QDir::toNativeSeparators(htmlPath)));
    app.platform.openFolder(QFileInfo(htmlPath).absolutePath());
}

bool frm4_Stat::writeReport(const QString& path, const QString& text, TextEncoding encoding,
                            const QString& button)
{
    return writeReport(path, button, [&](QString& reason) {
        return app.platform.writeTextFile(path, text, encoding, reason);
    });
}

// Writes one report file; on failure says which and why, and that the earlier one (if any) is intact.
bool frm4_Stat::writeReport(const QString& path, const QString& button,
                            const std::function<bool(QString& reason)>& write)
{
    QString reason;
    bool written = false;
    {
        const auto busy = busyIndication(QStringLiteral("กำลังเขียนรายงานผล ..."));
        written = write(reason);
    }
    if (!written)
        app.warn(QStringLiteral("บันทึกรายงานผลลงแฟ้ม  %1  ไม่ได้  เพราะ%2  "
                                "รายงานเดิม (ถ้ามี) ยังอยู่ครบไม่เปลี่ยนแปลง  แก้ไขแล้วกด %3 อีกครั้ง")
                     .arg(QDir::toNativeSeparators(path), reason, button));
    return written;
}

// Analyse and Finish cannot tell how far they are, so a large class gets a busy indication for as
// long as the returned object lives; a small one, over at once, gets none.
std::unique_ptr<Progress> frm4_Stat::busyIndication(const QString& caption)
{
    if (qint64(app.data.NumStud) * app.data.NumItems < LongAnalysis)
        return nullptr;
    auto busy = app.platform.showProgress(caption);
    busy->advance(0, 0);
    return busy;
}

// With nothing to show the report, the teacher is told where it is and its folder opens, so the
// file is one double click away once a word processor is installed.
void frm4_Stat::OpenReport(const QString& path)
{
    if (app.platform.openDocument(path))
        return;
    app.inform(QStringLiteral("เขียนรายงานผลเรียบร้อยแล้วที่  %1  แต่ไม่พบโปรแกรมที่จะเปิดแฟ้มนี้  "
                              "กรุณาเปิดด้วยโปรแกรมประมวลผลคำ โดยเลือกรหัสอักขระภาษาไทย (Windows-874)  "
                              "โปรแกรมจะเปิดโฟลเดอร์ที่เก็บแฟ้มนี้ให้")
                   .arg(QDir::toNativeSeparators(path)));
    app.platform.openFolder(QDir::cleanPath(path + QStringLiteral("/..")));
}

// Files beside the data file say which room and form each pupil had (a pupil list), and how the forms
// of a shuffled test were shuffled (a form file): with one, every answer is analysed in the master
// form's order, as qlt does. The data file and the pages keep the answers as the file holds them.
bool frm4_Stat::groupClass(QString& refusal)
{
    forgetGroups();
    if (app.source().manualEntry())
        return true;
    ClassGroupSources sources;
    QString warning; // shown in the visual report's comparison of the forms
    if (!groupSourcesBeside(app.data.DataFile, app.data, sources, refusal))
        return false;
    if (sources.formsPath.isEmpty())
        return groupPupils(app.data, sources, groups_, warning, refusal); // rooms only: answers untouched
    mapped_ = app.data;
    mappedForms_ = groupPupils(mapped_, sources, groups_, warning, refusal);
    if (!mappedForms_)
        forgetGroups();
    return mappedForms_;
}

void frm4_Stat::forgetGroups()
{
    mapped_ = TestData();
    mappedForms_ = false;
    groups_.clear();
}

const TestData& frm4_Stat::analysed() const
{
    return mappedForms_ ? mapped_ : app.data;
}

// Finish may write only results computed by the last run for these data and this choice count.
void frm4_Stat::updateFinish()
{
    const AnalysisSelection ticked = boxes();
    bool covered = ranSinceFinish_;
    for (int index = 0; index < int(ticked.chkStat.size()); ++index)
        covered = covered && (!ticked.chkStat[index] || lastRun_.computed.chkStat[index]);
    for (int index = 0; index < int(ticked.chkAnalyse.size()); ++index)
        covered = covered && (!ticked.chkAnalyse[index] || lastRun_.computed.chkAnalyse[index]);
    if (ticked.chkAnalyse[AnalyseBox::Distractors])
        covered = covered && app.data.NumChoices == lastRun_.numChoices;
    cmdFinish->setEnabled(covered);
}

void frm4_Stat::cmdBack_Click()
{
    const bool manual = app.source().manualEntry();
    app.unload(PageId::Stat);
    app.show(manual ? PageId::InputChecker : PageId::Source);
}
