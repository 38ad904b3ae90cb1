#pragma once

#include "analysis/AnalysisRun.h"
#include "app/WizardPage.h"
#include "report/TextFile.h"
#include "school/ComparisonSection.h"

#include <array>
#include <functional>
#include <memory>
#include <vector>

class Progress;

class QCheckBox;
class QGroupBox;
class QLabel;
class QPushButton;
class QRadioButton;

// The analysis page: tick statistics and analyses, Analyse, then Finish writes and opens the report.
// Beside Finish, Visual Report writes the item diagnostics as Result.html and Result.csv where
// Result.doc goes and opens the page in the browser; it needs only a finished run, not the boxes.
class frm4_Stat : public WizardPage {
    Q_OBJECT
public:
    explicit frm4_Stat(Application& app);
    bool Form_Load() override;

    // The check boxes as flags, and setting them (each change runs the box rules like a click).
    AnalysisSelection boxes() const;
    void setBoxes(const AnalysisSelection& boxes);

    QLabel* Label1;
    QGroupBox* Frame1;
    QLabel* Label2;
    std::array<QCheckBox*, 11> chkStat{}; // index 6, a spare nothing reads, has no box
    QGroupBox* Frame2;
    QLabel* Label3;
    std::array<QCheckBox*, 5> chkAnalyse{};
    QRadioButton* optChoice[2];
    QPushButton* cmdHelp;
    QPushButton* cmdBack;
    QPushButton* cmdCal;
    QPushButton* cmdFinish;
    QPushButton* cmdVisualReport;
    QPushButton* cmdExit;

private:
    void chk_Click();
    void optChoice_Click(int index);
    void cmdCal_Click();
    void cmdFinish_Click();
    void cmdVisualReport_Click();
    bool writeReport(const QString& path, const QString& text, TextEncoding encoding, const QString& button);
    bool writeReport(const QString& path, const QString& button,
                     const std::function<bool(QString& reason)>& write);
    void cmdBack_Click();
    void OpenReport(const QString& path);
    std::unique_ptr<Progress> busyIndication(const QString& caption);
    void updateFinish();
    bool groupClass(QString& refusal);
    void forgetGroups();
    const TestData& analysed() const;

    bool ranSinceFinish_ = false; // Analyse ran since the report was last written
    RunOutcome lastRun_;
    // The class as the last run analysed it: the data file's, or, with a form file beside it, every
    // answer turned into the master form's order; and its pupils' rooms and forms, which the visual
    // report compares.
    TestData mapped_;
    bool mappedForms_ = false;
    std::vector<GroupComparison> groups_;
};
