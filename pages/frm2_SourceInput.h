#pragma once

#include "app/WizardPage.h"

class QGridLayout;
class QLabel;
class QLineEdit;
class QPushButton;
class QRadioButton;

// Typing a test in, in the four steps the page's labels number: whether names are given, the key,
// the number of examinees, then each examinee's identifier, name and answers. Every accepted
// examinee goes into the test data at once; Next opens once all of them are in. Made for the
// keyboard: Enter moves from box to box and presses the button it reaches.
class frm2_SourceInput : public WizardPage {
    Q_OBJECT
public:
    explicit frm2_SourceInput(Application& app);
    bool Form_Load() override;

    QLabel* Label1;
    QLabel* Label2;
    QRadioButton* optName[2];
    QLabel* Label3;
    QLineEdit* txtAllKeys;
    QPushButton* cmdSaveAllK;
    QLabel* Label6;
    QLineEdit* txtStudents;
    QLabel* Label7;
    QLabel* Label4;
    QLabel* lblID;
    QLineEdit* txtID;
    QLabel* lblName;
    QLineEdit* txtName;
    QLabel* lblAns;
    QLineEdit* txtAns;
    QPushButton* cmdSaveStud;
    QLabel* lblNum_Stud;
    QPushButton* cmdNext;
    QPushButton* cmdExit;
    QPushButton* cmdHelp;
    QPushButton* cmdstart;
    QPushButton* cmdFinish;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void optName_Click(int index);
    void cmdSaveAllK_Click();
    void txtStudents_Enter();
    void cmdSaveStud_Click();
    // Takes the examinee in the boxes, or says why not.
    void enterExaminee();
    void cmdNext_Click();
    void cmdstart_Click();

    // Reads the count box; on a count the page cannot take, warns and returns -1.
    int readCount();
    // Keeps the examinees saved so far and makes room for `count` in all.
    void resizeExaminees(int count);
    void AnsToMatrix();
    void ClearEntry();
    void AnswerMismatch();
    void showProgress(int examinee);
    // Complete once every examinee of the entered count is saved: Save Ans closes, Next opens.
    bool complete() const;
    void showCompletion();
    // Examinees accepted since the page was loaded: the model's CurStud counts from 1 here.
    int saved() const;

    QGridLayout* examineeRows_;
    bool countEntered_ = false; // a count was accepted since the page was loaded
};
