#pragma once

#include "app/WizardPage.h"

class QPushButton;

// The analysis page: choose statistics and analyses, Analyse, then Finish writes and opens the report.
class frm4_Stat : public WizardPage {
    Q_OBJECT
public:
    explicit frm4_Stat(Application& app);
    bool Form_Load() override;

    QPushButton* cmdHelp;
    QPushButton* cmdBack;
    QPushButton* cmdCal;
    QPushButton* cmdFinish;
    QPushButton* cmdExit;

private:
    void cmdBack_Click();
};
