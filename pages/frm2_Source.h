#pragma once

#include "app/WizardPage.h"

class QLabel;
class QLineEdit;
class QPushButton;
class QRadioButton;

// Where the data come from: typed in on the entry page, or read from a prepared *.txt file, which
// Browse can also make from a spreadsheet (ImportDialog).
class frm2_Source : public WizardPage {
    Q_OBJECT
public:
    explicit frm2_Source(Application& app);
    bool Form_Load() override;

    // Manual entry (option 0) is the choice the later pages consult.
    bool manualEntry() const;

    QLabel* Label1;
    QLabel* Label2;
    QLabel* Label3;
    QRadioButton* optInput[2];
    QLineEdit* txtFile;
    QPushButton* cmdBrowse;
    QPushButton* cmdNext;
    QPushButton* cmdBack;
    QPushButton* cmdFinish;
    QPushButton* cmdHelp;
    QPushButton* cmdExit;

private:
    void optInput_Click();
    void cmdBrowse_Click();
    void selectFile(const QString& path);
    void cmdNext_Click();
    void cmdBack_Click();
};
