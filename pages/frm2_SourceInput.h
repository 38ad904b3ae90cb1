#pragma once

#include "app/WizardPage.h"

class QPushButton;

// Typing a test in: the key, the number of examinees, then each examinee's answers.
class frm2_SourceInput : public WizardPage {
    Q_OBJECT
public:
    explicit frm2_SourceInput(Application& app);
    bool Form_Load() override;

    QPushButton* cmdNext;
    QPushButton* cmdExit;
    QPushButton* cmdHelp;
    QPushButton* cmdstart;
    QPushButton* cmdFinish;

private:
    void cmdNext_Click();
    void cmdstart_Click();
};
