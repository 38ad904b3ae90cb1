#pragma once

#include "app/WizardPage.h"

class QLabel;
class QPushButton;
class QTextEdit;

// Lists the typed data into InputData.doc and shows the listing, for checking before the analysis.
// The step may be skipped; the box says so until Check is pressed.
class frm3_InputChecker : public WizardPage {
    Q_OBJECT
public:
    explicit frm3_InputChecker(Application& app);
    bool Form_Load() override;

    // Replaces whatever the box shows by the hint that this step may be skipped.
    void showSkipHint();

    QPushButton* cmdCheck;
    QPushButton* cmdNext;
    QPushButton* cmdBack;
    QPushButton* cmdExit;
    QPushButton* cmdHelp;
    QTextEdit* RichTextBox1;
    QLabel* Label1;

private:
    void cmdCheck_Click();
    void cmdNext_Click();
    void cmdBack_Click();
};
