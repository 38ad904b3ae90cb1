#include "pages/frm2_SourceInput.h"

#include "app/Application.h"
#include "pages/frm3_InputChecker.h"

#include <QHBoxLayout>
#include <QPushButton>
#include <QVBoxLayout>

frm2_SourceInput::frm2_SourceInput(Application& app)
    : WizardPage(app, R"qlt( // Quillet \\->  ป้อนข้อมูล)qlt", QStringLiteral("frm2_SourceInput"))
{
    cmdNext = makeButton(QStringLiteral("cmdNext"), "&Next", "ไปยังขั้นต่อไป");
    cmdNext->setEnabled(false);
    cmdExit = makeExitButton();
    cmdHelp = makeHelpButton();
    cmdstart = makeButton(QStringLiteral("cmdstart"), "&Back", "เริ่มต้นใหม่อีกครั้ง โดยข้อมูลเก่าจะถูกลบทิ้ง");
    cmdFinish = makeButton(QStringLiteral("cmdFinish"), "&Finish");
    cmdFinish->setEnabled(false);
    connect(cmdNext, &QPushButton::clicked, this, &frm2_SourceInput::cmdNext_Click);
    connect(cmdstart, &QPushButton::clicked, this, &frm2_SourceInput::cmdstart_Click);

    auto* buttons = new QHBoxLayout;
    for (QPushButton* button : {cmdHelp, cmdExit})
        buttons->addWidget(button);
    buttons->addStretch(1);
    for (QPushButton* button : {cmdstart, cmdNext, cmdFinish})
        buttons->addWidget(button);
    auto* page = new QVBoxLayout(this);
    page->addStretch(1);
    page->addLayout(buttons);
    resize(760, 560);
}

bool frm2_SourceInput::Form_Load()
{
    app.data.CurStud = 1;
    return true;
}

void frm2_SourceInput::cmdNext_Click()
{
    app.show(PageId::InputChecker);
    app.inputChecker().showSkipHint();
    app.hide(PageId::SourceInput);
}

void frm2_SourceInput::cmdstart_Click()
{
    app.show(PageId::Source);
    app.unload(PageId::SourceInput);
}
