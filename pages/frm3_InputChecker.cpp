#include "pages/frm3_InputChecker.h"

#include "app/Application.h"
#include "app/Artwork.h"
#include "app/Platform.h"
#include "app/ThaiFont.h"
#include "model/CodePage874.h"
#include "report/InputListing.h"
#include "report/TextFile.h"

#include <QDir>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QTextEdit>
#include <QVBoxLayout>

namespace {
// The listing as the file holds it: what code page 874 cannot hold shows as "?", and the lines
// are paragraphs of the box, with no empty one after the last.
QString asWritten(const QString& listing)
{
    QString shown = decodeCp874(encodeText(listing));
    shown.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
    shown.chop(1);
    return shown;
}

} // namespace

frm3_InputChecker::frm3_InputChecker(Application& app)
    : WizardPage(app, R"qlt( // Quillet \\->  ตรวจสอบข้อมูล)qlt", QStringLiteral("frm3_InputChecker"))
{
    Label1 = makeTitle("ตรวจสอบข้อมูลนำเข้าแบบผ่าน QLT", "ระบุวิธีการนำเข้าข้อมูลที่จะวิเคราะห์");

    RichTextBox1 = new QTextEdit(this);
    RichTextBox1->setObjectName(QStringLiteral("RichTextBox1"));
    RichTextBox1->setAcceptRichText(false);
    RichTextBox1->setReadOnly(true);
    RichTextBox1->setTabChangesFocus(true);
    RichTextBox1->setLineWrapMode(QTextEdit::NoWrap);

    cmdCheck = makeButton(QStringLiteral("cmdCheck"), "&Check Data", "ตรวจสอบข้อมูลนำเข้าก่อนนำไปวิเคราะห์");
    cmdNext = makeButton(QStringLiteral("cmdNext"), "&Next", "ไปขั้นต่อไป");
    cmdBack = makeButton(QStringLiteral("cmdBack"), "&Back", "กลับไปขั้นตอนการระบุแหล่งข้อมูล");
    cmdExit = makeExitButton();
    cmdHelp = makeHelpButton();
    connect(cmdCheck, &QPushButton::clicked, this, &frm3_InputChecker::cmdCheck_Click);
    connect(cmdNext, &QPushButton::clicked, this, &frm3_InputChecker::cmdNext_Click);
    connect(cmdBack, &QPushButton::clicked, this, &frm3_InputChecker::cmdBack_Click);

    auto* page = new QVBoxLayout(this);
    page->addLayout(makeHeading(Label1));
    page->addWidget(makeDivider(this));
    page->addWidget(RichTextBox1, 1);
    page->addWidget(makeDivider(this));
    page->addLayout(makeButtonRow({cmdHelp, cmdExit}, {cmdCheck, cmdBack, cmdNext}));

    const QList<QWidget*> order = {cmdCheck, cmdNext, cmdBack, cmdExit, cmdHelp, RichTextBox1};
    for (int index = 1; index < order.size(); ++index)
        setTabOrder(order[index - 1], order[index]);
    resize(760, 560);
}

bool frm3_InputChecker::Form_Load()
{
    cmdCheck->setFocus(); // Enter checks at once; the listing is only to read
    return true;
}

void frm3_InputChecker::showSkipHint()
{
    // A sentence to read, in the page's own font: the fixed-width one draws Thai small and thin.
    RichTextBox1->setFont(font());
    RichTextBox1->setPlainText("   * ถ้ามั่นใจว่าข้อมูลนำเข้าไม่มีอะไรผิดพลาด  สามารถข้ามขั้นตอนนี้ได้เลยครับ *");
}

void frm3_InputChecker::cmdCheck_Click()
{
    const QString path = app.outputPath(QString(InputListingFileName));
    const QString listing = composeInputListing(app.data);
    QString reason;
    if (!app.platform.writeTextFile(path, listing, TextEncoding::Cp874, reason)) {
        app.warn(QStringLiteral("บันทึกแฟ้ม %1 ไม่ได้  เพราะ%2  แฟ้มเดิม (ถ้ามี) ยังอยู่ครบไม่เปลี่ยนแปลง  "
                                "แก้ไขแล้วกด Check Data อีกครั้งครับ")
                     .arg(QDir::toNativeSeparators(path), reason));
        return;
    }
    // Identifiers and answers line up in 14-column zones, so every character takes one column, Thai
    // ones too: a fixed-width font of their own, as no fallback for Thai keeps the columns.
    RichTextBox1->setFont(listingFont(font()));
    RichTextBox1->setPlainText(asWritten(listing));
}

void frm3_InputChecker::cmdNext_Click()
{
    app.show(PageId::Stat);
    app.hide(PageId::InputChecker);
}

void frm3_InputChecker::cmdBack_Click()
{
    app.unload(PageId::SourceInput);
    app.unload(PageId::InputChecker);
    app.show(PageId::SourceInput);
}
