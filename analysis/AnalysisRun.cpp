#include "analysis/AnalysisRun.h"

#include "analysis/ItemAnalysis.h"
#include "analysis/ScoreStatistics.h"
#include "analysis/StandardScores.h"

namespace {

const QString errorTitle = QStringLiteral(" ผิดพลาด !");

// A reason why selected results cannot be computed, followed by the request to choose again.
QString chooseAgain(const QString& reason)
{
    return reason + QStringLiteral("\r\n") + QStringLiteral(" โปรดเลือกใหม่อีกครั้ง");
}

// Tells the teacher why a selected step cannot run on these data; its boxes are then cleared.
void refuse(AnalysisMessages& messages, const QString& reason)
{
    messages.warning(chooseAgain(reason), errorTitle);
}

// A box cleared by the run has the effect of the teacher clearing it, the page's rules included.
void clearStat(AnalysisSelection& boxes, int box)
{
    boxes.chkStat[box] = false;
    boxes = applyBoxRules(boxes);
}

void clearAnalyse(AnalysisSelection& boxes, int box)
{
    boxes.chkAnalyse[box] = false;
    boxes = applyBoxRules(boxes);
}

bool dividesBySD(const AnalysisSelection& boxes)
{
    return boxes.chkStat[StatBox::ZScore] || boxes.chkStat[StatBox::TScore] ||
           boxes.chkStat[StatBox::Skewness] || boxes.chkStat[StatBox::Kurtosis] ||
           boxes.chkAnalyse[AnalyseBox::Reliability];
}

// With an SD of 0 (all scores equal, or a single examinee) nothing that divides by it can be
// computed: the teacher is told so, and skewness, kurtosis and reliability are cleared. The standard
// scores stay selected; they come out all 0.
void CheckZeroSD(double sd, AnalysisSelection& boxes, AnalysisMessages& messages)
{
    if (sd != 0)
        return;
    const QString title = QStringLiteral("Oh My God!");
    messages.warning(QStringLiteral("ไม่น่าเชื่อ! ข้อมูลของคุณมีค่า SD หรือส่วนเบี่ยงเบนมาตรฐานเป็น 0"), title);
    messages.warning(
        chooseAgain(QStringLiteral("ไม่สามารถวิเคราะห์ค่า Z-Score, t-Score, ความเบ้, ความโด่ง และ ความเที่ยง ได้")),
        title);
    clearStat(boxes, StatBox::Skewness);
    clearStat(boxes, StatBox::Kurtosis);
    clearAnalyse(boxes, AnalyseBox::Reliability);
}

void markStat(RunOutcome& outcome, std::initializer_list<int> boxes)
{
    for (int box : boxes)
        outcome.computed.chkStat[box] = true;
}

void markAnalyse(RunOutcome& outcome, std::initializer_list<int> boxes)
{
    for (int box : boxes)
        outcome.computed.chkAnalyse[box] = true;
}

} // namespace

RunOutcome runAnalysis(const TestData& data, AnalysisSelection& boxes, AnalysisResults& results,
                       AnalysisMessages& messages)
{
    RunOutcome outcome;
    if (data.NumStud < 1) {
        messages.warning(QStringLiteral("ยังไม่มีข้อมูลของผู้สอบเลย จึงยังวิเคราะห์ไม่ได้ครับ  โปรดนำเข้าข้อมูลก่อน"),
                         errorTitle);
        return outcome;
    }

    const std::vector<int> itemCorrect = ComputeScores(data, results);
    markStat(outcome, {StatBox::RawScore, StatBox::Mean, StatBox::Median, StatBox::Mode, StatBox::SD});

    if (dividesBySD(boxes)) {
        CheckZeroSD(results.SD, boxes, messages);
        if (boxes.chkStat[StatBox::ZScore] || boxes.chkStat[StatBox::TScore]) {
            ComputeStandardScores(results);
            markStat(outcome, {StatBox::ZScore, StatBox::TScore});
        }
    }

    ComputeRange(results);
    markStat(outcome, {StatBox::Range});

    if (boxes.chkStat[StatBox::Skewness] || boxes.chkStat[StatBox::Kurtosis]) {
        if (ComputeMoments(results)) {
            markStat(outcome, {StatBox::Skewness, StatBox::Kurtosis});
        } else { // the rounded SumDev2 is 0 although the SD is not
            refuse(messages, QStringLiteral("คะแนนของผู้สอบต่างกันน้อยเกินไป จึงวิเคราะห์ความเบ้และความโด่งไม่ได้ครับ"));
            clearStat(boxes, StatBox::Skewness);
            clearStat(boxes, StatBox::Kurtosis);
        }
    }

    if (boxes.chkAnalyse[AnalyseBox::Difficulty]) {
        ComputeDifficulty(itemCorrect, data.NumStud, results);
        markAnalyse(outcome, {AnalyseBox::Difficulty});
    }
    if (boxes.chkAnalyse[AnalyseBox::Discrimination] || boxes.chkAnalyse[AnalyseBox::Distractors]) {
        const int groupSize = groupSizeFor(data.NumStud);
        if (groupSize == 0) { // a single examinee: no upper and lower group to compare
            refuse(messages, QStringLiteral("ต้องมีผู้สอบอย่างน้อย 2 คน จึงจะแบ่งกลุ่มสูงและกลุ่มต่ำได้  "
                                            "วิเคราะห์อำนาจจำแนกและประสิทธิภาพของตัวลวงไม่ได้ครับ"));
            clearAnalyse(boxes, AnalyseBox::Discrimination);
            clearAnalyse(boxes, AnalyseBox::Distractors);
        } else {
            const GroupCounts groups = countGroups(data, results, groupSize);
            if (boxes.chkAnalyse[AnalyseBox::Discrimination]) {
                ComputeDiscrimination(groups, results);
                markAnalyse(outcome, {AnalyseBox::Discrimination});
            }
            if (boxes.chkAnalyse[AnalyseBox::Distractors]) {
                ComputeOptionAnalysis(groups, data, results);
                markAnalyse(outcome, {AnalyseBox::Distractors});
                outcome.numChoices = data.NumChoices;
            }
        }
    }

    if (boxes.chkAnalyse[AnalyseBox::Reliability]) {
        if (data.NumItems < 2) { // KR-20 divides by the number of items less one
            refuse(messages, QStringLiteral("แบบสอบต้องมีอย่างน้อย 2 ข้อ จึงจะวิเคราะห์ความเที่ยงและ"
                                            "ความคลาดเคลื่อนมาตรฐานของการวัดได้ครับ"));
            clearAnalyse(boxes, AnalyseBox::Reliability);
        } else {
            ComputeReliability(itemCorrect, data.NumStud, results);
            markAnalyse(outcome, {AnalyseBox::Reliability, AnalyseBox::SEM});
        }
    }
    if (boxes.chkAnalyse[AnalyseBox::Difficulty] && boxes.chkAnalyse[AnalyseBox::Discrimination])
        ListUsableItems(results);

    outcome.finished = true;
    return outcome;
}
