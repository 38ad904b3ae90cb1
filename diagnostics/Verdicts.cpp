#include "diagnostics/Verdicts.h"

#include "diagnostics/Diagnostics.h"
#include "report/NumberFormat.h"

namespace {

Judgement judged(Verdict verdict, VerdictRule rule, double value = 0, int option = 0, double compared = 0)
{
    return {verdict, rule, option, value, compared};
}

// The distractor whose point-biserial is highest and above the key's, or 0.
int distractorAboveKey(const ItemDiagnostics& item)
{
    int found = 0;
    double highest = *item.pointBiserialTotal;
    for (std::size_t c = 0; c < item.options.size(); ++c) {
        const OptionDiagnostics& option = item.options[c];
        if (!option.keyed && option.pointBiserial && *option.pointBiserial > highest) {
            highest = *option.pointBiserial;
            found = int(c) + 1;
        }
    }
    return found;
}

QString number(double value)
{
    return formatThreeDecimals(value).toString();
}

} // namespace

Judgement judgeItem(const ItemDiagnostics& item, int examinees)
{
    if (item.pointBiserialRest && *item.pointBiserialRest < 0)
        return judged(Verdict::CheckKey, VerdictRule::RestCorrelationNegative, *item.pointBiserialRest);
    // The key's own point-biserial is undefined when nobody or everybody answered it: no comparison.
    if (item.pointBiserialTotal) {
        if (const int c = distractorAboveKey(item))
            return judged(Verdict::CheckKey, VerdictRule::DistractorAboveKey,
                          *item.options[c - 1].pointBiserial, c, *item.pointBiserialTotal);
    }
    if (examinees < SmallClassLimit)
        return judged(Verdict::SmallSample, VerdictRule::SmallClass, examinees);

    const double p = item.difficulty;
    if (p < 0.2)
        return judged(Verdict::Revise, VerdictRule::TooHard, p);
    if (p > 0.8)
        return judged(Verdict::Revise, VerdictRule::TooEasy, p);
    // From 30 examinees on the 27 % groups hold at least 8 each, so D is defined.
    if (*item.discrimination < 0.2)
        return judged(Verdict::Revise, VerdictRule::WeakDiscrimination, *item.discrimination);

    for (std::size_t c = 0; c < item.options.size(); ++c) {
        const OptionDiagnostics& option = item.options[c];
        if (option.keyed)
            continue;
        if (option.chosen * 20 < examinees) // fewer than 5 %, in whole numbers
            return judged(Verdict::ReplaceDistractor, VerdictRule::RarelyChosen, option.proportion,
                          int(c) + 1);
        if (*option.groupIndex < 0)
            return judged(Verdict::ReplaceDistractor, VerdictRule::DrawsUpperGroup, *option.groupIndex,
                          int(c) + 1);
    }
    return judged(Verdict::Keep, VerdictRule::NothingWrong);
}

QString verdictCode(Verdict verdict)
{
    switch (verdict) {
    case Verdict::Keep:
        return QStringLiteral("keep");
    case Verdict::Revise:
        return QStringLiteral("revise");
    case Verdict::ReplaceDistractor:
        return QStringLiteral("replace-distractor");
    case Verdict::CheckKey:
        return QStringLiteral("check-key");
    case Verdict::SmallSample:
        return QStringLiteral("small-sample");
    }
    return {};
}

QString verdictThai(Verdict verdict)
{
    switch (verdict) {
    case Verdict::Keep:
        return QStringLiteral("เก็บไว้ใช้ได้");
    case Verdict::Revise:
        return QStringLiteral("ควรปรับปรุง");
    case Verdict::ReplaceDistractor:
        return QStringLiteral("ควรเปลี่ยนตัวลวง");
    case Verdict::CheckKey:
        return QStringLiteral("ตรวจสอบเฉลย");
    case Verdict::SmallSample:
        return QStringLiteral("ผู้สอบน้อยเกินไป");
    }
    return {};
}

QString verdictEnglish(Verdict verdict)
{
    switch (verdict) {
    case Verdict::Keep:
        return QStringLiteral("Keep");
    case Verdict::Revise:
        return QStringLiteral("Revise");
    case Verdict::ReplaceDistractor:
        return QStringLiteral("Replace a distractor");
    case Verdict::CheckKey:
        return QStringLiteral("Check the key");
    case Verdict::SmallSample:
        return QStringLiteral("Small sample");
    }
    return {};
}

QString reasonThai(const ItemDiagnostics& item, int examinees)
{
    const Judgement& j = item.judgement;
    switch (j.rule) {
    case VerdictRule::RestCorrelationNegative:
        return QStringLiteral("r_pb กับคะแนนข้ออื่น = %1 ติดลบ: ผู้ตอบถูกได้คะแนนข้ออื่นต่ำกว่าผู้ตอบผิด")
            .arg(number(j.value));
    case VerdictRule::DistractorAboveKey:
        return QStringLiteral("ตัวเลือก %1 มี r_pb = %2 สูงกว่าตัวเลือกที่เฉลย (r_pb = %3): ผู้ได้คะแนนสูงเลือกตัวเลือกนี้")
            .arg(j.option)
            .arg(number(j.value), number(j.compared));
    case VerdictRule::SmallClass:
        return QStringLiteral("ผู้สอบ %1 คน น้อยกว่า %2 คน ค่าดัชนียังไม่คงที่พอจะตัดสิน")
            .arg(examinees)
            .arg(SmallClassLimit);
    case VerdictRule::TooHard:
        return QStringLiteral("ยากเกินไป: p = %1 ต่ำกว่า 0.2").arg(number(j.value));
    case VerdictRule::TooEasy:
        return QStringLiteral("ง่ายเกินไป: p = %1 สูงกว่า 0.8").arg(number(j.value));
    case VerdictRule::WeakDiscrimination:
        return QStringLiteral("อำนาจจำแนกต่ำ: D = %1 ต่ำกว่า 0.2").arg(number(j.value));
    case VerdictRule::RarelyChosen:
        if (j.value == 0)
            return QStringLiteral("ตัวลวง %1 ไม่มีผู้เลือกเลย (ควรมีผู้เลือกอย่างน้อย 5 %)").arg(j.option);
        return QStringLiteral("ตัวลวง %1 มีผู้เลือกเพียง %2 % (น้อยกว่า 5 %)")
            .arg(j.option)
            .arg(QString::number(j.value * 100, 'f', 1));
    case VerdictRule::DrawsUpperGroup:
        return QStringLiteral("ตัวลวง %1 ดึงกลุ่มสูงมากกว่ากลุ่มต่ำ: (L − U)/G = %2 ติดลบ")
            .arg(j.option)
            .arg(number(j.value));
    case VerdictRule::NothingWrong:
        return QStringLiteral("p = %1 และ D = %2 อยู่ในเกณฑ์ ตัวลวงทุกตัวมีผู้เลือกและดึงกลุ่มต่ำได้")
            .arg(number(item.difficulty), number(item.discrimination.value_or(0)));
    }
    return {};
}
