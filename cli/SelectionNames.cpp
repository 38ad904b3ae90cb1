#include "SelectionNames.h"

namespace {
struct Name {
    const char* name;
    bool analyse; // a box of the test column, else of the score column
    int index;
};

const Name Names[] = {
    {"raw", false, StatBox::RawScore},
    {"range", false, StatBox::Range},
    {"mean", false, StatBox::Mean},
    {"median", false, StatBox::Median},
    {"mode", false, StatBox::Mode},
    {"sd", false, StatBox::SD},
    {"z", false, StatBox::ZScore},
    {"t", false, StatBox::TScore},
    {"skewness", false, StatBox::Skewness},
    {"kurtosis", false, StatBox::Kurtosis},
    {"reliability", true, AnalyseBox::Reliability},
    {"difficulty", true, AnalyseBox::Difficulty},
    {"discrimination", true, AnalyseBox::Discrimination},
    {"sem", true, AnalyseBox::SEM},
    {"distractors", true, AnalyseBox::Distractors},
};

bool& box(AnalysisSelection& boxes, const Name& name)
{
    return name.analyse ? boxes.chkAnalyse[name.index] : boxes.chkStat[name.index];
}
} // namespace

QStringList selectionNames()
{
    QStringList names;
    for (const Name& name : Names)
        names.append(QLatin1String(name.name));
    return names;
}

std::optional<AnalysisSelection> parseSelection(const QString& list, QString& unknown)
{
    AnalysisSelection boxes;
    if (list.isEmpty())
        return boxes;
    for (const QString& word : list.split(QLatin1Char(','))) {
        const QString wanted = word.trimmed();
        const Name* found = nullptr;
        for (const Name& name : Names)
            if (wanted == QLatin1String(name.name))
                found = &name;
        if (!found) {
            unknown = wanted;
            return std::nullopt;
        }
        box(boxes, *found) = true;
    }
    return boxes;
}

QString selectionConflict(const AnalysisSelection& boxes)
{
    const AnalysisSelection ruled = applyBoxRules(boxes);
    if (ruled.chkStat[StatBox::TScore] != boxes.chkStat[StatBox::TScore])
        return QStringLiteral("t ต้องเลือกคู่กับ z (คะแนน T คำนวณจากคะแนน Z)");
    if (ruled.chkAnalyse[AnalyseBox::SEM] != boxes.chkAnalyse[AnalyseBox::SEM])
        return QStringLiteral("sem ต้องเลือกคู่กับ reliability (SEM คำนวณจากค่าความเที่ยง)");
    if (ruled.chkAnalyse[AnalyseBox::Distractors] != boxes.chkAnalyse[AnalyseBox::Distractors])
        return QStringLiteral("distractors ต้องเลือกคู่กับ discrimination (ใช้กลุ่มสูงและกลุ่มต่ำชุดเดียวกัน)");
    return {};
}
