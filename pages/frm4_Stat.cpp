#include "pages/frm4_Stat.h"

#include "app/Application.h"
#include "pages/frm2_Source.h"

#include <QHBoxLayout>
#include <QPushButton>
#include <QVBoxLayout>

frm4_Stat::frm4_Stat(Application& app) : WizardPage(app, R"qlt( // Quillet \\->  เลือกค่าสถิติและการวิเคราะห์)qlt", QStringLiteral("frm4_Stat"))
{
    cmdHelp = makeHelpButton();
    cmdBack = makeButton(QStringLiteral("cmdBack"), "&Back", "กลับไปขั้นที่แล้ว");
    cmdCal = makeButton(QStringLiteral("cmdCal"), "&Analyse");
    cmdFinish = makeButton(QStringLiteral("cmdFinish"), "&Finish");
    cmdFinish->setEnabled(false);
    cmdExit = makeExitButton();
    connect(cmdBack, &QPushButton::clicked, this, &frm4_Stat::cmdBack_Click);

    auto* buttons = new QHBoxLayout;
    for (QPushButton* button : {cmdHelp, cmdBack, cmdCal, cmdFinish, cmdExit})
        buttons->addWidget(button);
    auto* page = new QVBoxLayout(this);
    page->addStretch(1);
    page->addLayout(buttons);
    resize(760, 560);
}

bool frm4_Stat::Form_Load()
{
    cmdCal->setFocus();
    return true;
}

void frm4_Stat::cmdBack_Click()
{
    const bool manual = app.source().manualEntry();
    app.unload(PageId::Stat);
    app.show(manual ? PageId::InputChecker : PageId::Source);
}
