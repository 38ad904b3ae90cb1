#pragma once

#include "app/WizardPage.h"

class QLabel;
class QPushButton;

// The introduction page, shown at start.
class frm1_Info : public WizardPage {
    Q_OBJECT
public:
    explicit frm1_Info(Application& app);
    bool Form_Load() override;

    QLabel* Label1;
    QPushButton* cmdstart;
    QPushButton* cmdNext;
    QPushButton* cmdFinish;
    QPushButton* cmdExit;
    QPushButton* cmdHelp;

    // The introduction text the load step puts into Label1.
    static QString introduction();

private:
    void cmdstart_Click();
};
