#include "pages/frm2_Source.h"

#include "app/Application.h"
#include "app/Artwork.h"
#include "app/Platform.h"
#include "import/Importer.h"
#include "pages/ImportDialog.h"

#include <QFontMetricsF>
#include <QFrame>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QVBoxLayout>

#include <algorithm>
#include <cmath>

namespace {
const QString CRLF = QStringLiteral("\r\n");

QString explanation()
{
    return "          ระบุแหล่งของข้อมูลที่ต้องการจะนำมาวิเคราะห์  ซึ่งขณะนี้ทำได้ 2 วิธี คือ" + CRLF +
           "               1.  ป้อนข้อมูลผ่านโปรแกรม Quillet (QLT) โดยตรง" + CRLF +
           "               2.  เตรียมข้อมูลเป็น Text File (*.txt) เหมือนกับการเตรียมข้อมูลสำหรับ โปรแกรม Tarvik และ Orvel สามารถอ่านเพิ่มเติมได้จาก Help! " +
           CRLF + CRLF +
           "            ต่อไปจะพัฒนาให้ QLT อ่านข้อมูลได้จากแฟ้ม *.doc (Document File) คือสามารถเตรียมข้อมูลจากโปรแกรม  Microsoft  Word ที่ใช้งานอยู่เป็นประจำ  แล้วเรียกแฟ้มข้อมูลนั้น ๆ เพื่อให้ QL ลงมือวิเคราะห์ได้เลย (นี่คือแผนการ)";
}
} // namespace

frm2_Source::frm2_Source(Application& app)
    : WizardPage(app, R"qlt( // Quillet \\->  ระบุแหล่งข้อมูล)qlt", QStringLiteral("frm2_Source"))
{
    Label1 = makeTitle("ระบุแหล่งข้อมูลนำเข้า", "ระบุวิธีการนำเข้าข้อมูลที่จะวิเคราะห์");

    Label2 = new QLabel(this);
    Label2->setObjectName(QStringLiteral("Label2"));
    Label2->setTextFormat(Qt::PlainText);
    Label2->setWordWrap(true);
    // Each numbered way of giving the data keeps to one line; only the closing paragraph wraps.
    qreal widest = 0;
    for (const QString& line : explanation().split(CRLF).first(3))
        widest = std::max(widest, QFontMetricsF(Label2->font()).horizontalAdvance(line));
    Label2->setMinimumWidth(int(std::ceil(widest)) + 2);
    Label3 = new QLabel("โปรดอ่านการใช้งานจาก Help! ให้เข้าใจเพื่อความถูกต้องและรวดเร็ว", this);
    Label3->setObjectName(QStringLiteral("Label3"));

    auto* Frame1 = new QFrame(this);
    Frame1->setObjectName(QStringLiteral("Frame1"));
    Frame1->setFrameShape(QFrame::StyledPanel);
    optInput[0] = new QRadioButton("ป้อนข้อมูลผ่านทาง Quillet", Frame1);
    optInput[1] = new QRadioButton("เรียกข้อมูลในแบบ *.txt จาก Drive", Frame1);
    for (int index = 0; index < 2; ++index) {
        optInput[index]->setObjectName(QStringLiteral("optInput%1").arg(index));
        connect(optInput[index], &QRadioButton::clicked, this, &frm2_Source::optInput_Click);
    }
    txtFile = new QLineEdit(" (*.txt)", Frame1);
    txtFile->setObjectName(QStringLiteral("txtFile"));
    txtFile->setEnabled(false);
    cmdBrowse = makeButton(QStringLiteral("cmdBrowse"), "Br&owse...",
                           "เลือกแฟ้มข้อมูล (*.txt) หรือแฟ้มตารางที่จะนำเข้า (*.csv, *.tsv, *.xlsx, *.ods)");
    cmdBrowse->setEnabled(false);
    connect(cmdBrowse, &QPushButton::clicked, this, &frm2_Source::cmdBrowse_Click);

    auto* frameLayout = new QGridLayout(Frame1);
    frameLayout->addWidget(optInput[0], 0, 0, 1, 2);
    frameLayout->addWidget(optInput[1], 1, 0, 1, 2);
    frameLayout->addWidget(txtFile, 2, 0);
    frameLayout->addWidget(cmdBrowse, 2, 1);
    frameLayout->setColumnStretch(0, 1);

    cmdNext = makeButton(QStringLiteral("cmdNext"), "&Next", "ไปขั้นต่อไป");
    cmdBack = makeButton(QStringLiteral("cmdBack"), "&Back");
    cmdFinish = makeButton(QStringLiteral("cmdFinish"), "&Finish");
    cmdFinish->setEnabled(false);
    cmdHelp = makeHelpButton();
    cmdExit = makeExitButton();
    connect(cmdNext, &QPushButton::clicked, this, &frm2_Source::cmdNext_Click);
    connect(cmdBack, &QPushButton::clicked, this, &frm2_Source::cmdBack_Click);

    auto* page = new QVBoxLayout(this);
    page->addLayout(makeHeading(Label1));
    page->addWidget(makeDivider(this));
    page->addWidget(Label2);
    page->addWidget(Frame1);
    page->addWidget(Label3);
    page->addStretch(1);
    page->addWidget(makeDivider(this));
    page->addLayout(makeButtonRow({cmdHelp, cmdExit}, {cmdBack, cmdNext, cmdFinish}));
    resize(760, 520);
}

bool frm2_Source::Form_Load()
{
    Label2->setText(explanation());
    optInput[1]->setChecked(true);
    txtFile->setEnabled(true);
    cmdBrowse->setEnabled(true);
    cmdNext->setFocus();
    return true;
}

bool frm2_Source::manualEntry() const
{
    return optInput[0]->isChecked();
}

void frm2_Source::optInput_Click()
{
    const bool file = optInput[1]->isChecked();
    txtFile->setEnabled(file);
    cmdBrowse->setEnabled(file);
}

void frm2_Source::cmdBrowse_Click()
{
    const QString chosen = app.platform.chooseFile("Open Data File", "*.txt *.csv *.tsv *.xlsx *.ods");
    if (chosen.isEmpty())
        return;
    if (!isSpreadsheetName(chosen)) {
        selectFile(chosen);
        return;
    }
    // A spreadsheet becomes a data file first; the page stays as it was until the import is accepted.
    auto* dialog = new ImportDialog(app, chosen, this);
    if (dialog->result().preview.isEmpty() && !dialog->result().ok) {
        app.warn(dialog->result().error); // nothing was read, so there is nothing to correct
        delete dialog;
        return;
    }
    dialog->setAttribute(Qt::WA_DeleteOnClose);
    connect(dialog, &QDialog::accepted, this, [this, dialog] { selectFile(dialog->dataFilePath()); });
    dialog->open();
}

void frm2_Source::selectFile(const QString& path)
{
    app.data.DataFile = path;
    txtFile->setText(path);
}

void frm2_Source::cmdNext_Click()
{
    if (manualEntry()) {
        app.show(PageId::SourceInput);
        app.hide(PageId::Source);
        return;
    }
    // Only the file chosen with Browse counts; the name test is exact, so ".TXT" is refused.
    if (!app.data.DataFile.endsWith(QStringLiteral(".txt"))) {
        app.platform.message("แฟ้มข้อมูลไม่ใช่นามสกุล   txt  กรุณาป้อนใหม่", "|| ผิดพลาด ||", Platform::Icon::Warning,
                             Platform::Buttons::Ok);
        return;
    }
    if (app.show(PageId::Stat))
        app.hide(PageId::Source);
}

void frm2_Source::cmdBack_Click()
{
    app.hide(PageId::Source);
    app.show(PageId::Info);
}
