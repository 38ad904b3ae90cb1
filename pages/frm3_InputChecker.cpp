#include "pages/frm3_InputChecker.h"

#include "app/Application.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QTextEdit>
#include <QVBoxLayout>

frm3_InputChecker::frm3_InputChecker(Application& app)
    : WizardPage(app, R"qlt( // Quillet \\->  ตรวจสอบข้อมูล)qlt", QStringLiteral("frm3_InputChecker"))
{
    Label1 = new QLabel(this);
    Label1->setObjectName(QStringLiteral("Label1"));
    RichTextBox1 = new QTextEdit(this);
    RichTextBox1->setObjectName(QStringLiteral("RichTextBox1"));
    RichTextBox1->setAcceptRichText(false);

    cmdCheck = makeButton(QStringLiteral("cmdCheck"), QStringLiteral("&Check Data"));
    cmdNext = makeButton(QStringLiteral("cmdNext"), "&Next", "ไปขั้นต่อไป");
    cmdBack = makeButton(QStringLiteral("cmdBack"), "&Back", "กลับไปขั้นตอนการระบุแหล่งข้อมูล");
    cmdExit = makeExitButton();
    cmdHelp = makeHelpButton();
    connect(cmdNext, &QPushButton::clicked, this, &frm3_InputChecker::cmdNext_Click);
    connect(cmdBack, &QPushButton::clicked, this, &frm3_InputChecker::cmdBack_Click);

    auto* buttons = new QHBoxLayout;
    for (QPushButton* button : {cmdHelp, cmdExit})
        buttons->addWidget(button);
    buttons->addStretch(1);
    for (QPushButton* button : {cmdCheck, cmdBack, cmdNext})
        buttons->addWidget(button);
    auto* page = new QVBoxLayout(this);
    page->addWidget(Label1);
    page->addWidget(RichTextBox1, 1);
    page->addLayout(buttons);
    resize(760, 560);
}

void frm3_InputChecker::showSkipHint()
{
    RichTextBox1->setPlainText("   * ถ้ามั่นใจว่าข้อมูลนำเข้าไม่มีอะไรผิดพลาด  สามารถข้ามขั้นตอนนี้ได้เลยครับ *");
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
