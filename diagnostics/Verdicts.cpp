#include "diagnostics/Verdicts.h"

#include "analysis/ItemAnalysis.h"
#include "diagnostics/Chance.h"
#include "diagnostics/Diagnostics.h"
#include "report/NumberFormat.h"

#include <algorithm>
#include <cmath>

namespace {

Judgement judged(Verdict verdict, VerdictRule rule, double value = 0, int option = 0, double compared = 0)
{
    return {verdict, rule, option, value, compared};
}

Judgement withChance(Judgement judgement, double chance)
{
    judgement.chance = chance;
    return judgement;
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

// Fisher's z of a correlation, kept finite at ±1.
double fisherZ(double r)
{
    return std::atanh(std::clamp(r, -0.999999, 0.999999));
}

// The chance that a choice unrelated to the score shows a point-biserial of `r` or more.
double correlationChance(double r, int examinees)
{
    return normalBelow(-fisherZ(r) * std::sqrt(std::max(1, examinees - 3)));
}

// When (almost) nobody chose the key, its correlations are undefined or rest on one examinee: the
// distractor that draws the high scorers best, beyond luck, is then the likelier key.
struct LikelierKey {
    int option = 0;
    double chance = 1;
};

LikelierKey likelierKey(const ItemDiagnostics& item, int examinees)
{
    if (item.right > 1 && item.right * 50 >= examinees)
        return {};
    LikelierKey found;
    double highest = item.pointBiserialTotal.value_or(0);
    for (std::size_t c = 0; c < item.options.size(); ++c) {
        const OptionDiagnostics& option = item.options[c];
        if (!option.keyed && option.pointBiserial && *option.pointBiserial > std::max(highest, 0.0)) {
            highest = *option.pointBiserial;
            found.option = int(c) + 1;
        }
    }
    if (found.option != 0)
        found.chance = correlationChance(highest, examinees);
    return found.chance < DoubtfulChance ? found : LikelierKey{};
}

// The chance that the 27 % groups of an item with D = 0.2 split as unevenly as U and L or less.
double weakDiscriminationChance(int upper, int lower, int groupSize)
{
    const double g = groupSize;
    const double spread = std::sqrt(upper * (g - upper) / g + lower * (g - lower) / g);
    const double shortfall = 0.2 * g - (upper - lower);
    if (spread == 0)
        return shortfall > 0 ? 0 : 1;
    return normalBelow(-shortfall / spread);
}

Judgement judgeDistractors(const ItemDiagnostics& item, int examinees)
{
    for (std::size_t c = 0; c < item.options.size(); ++c) {
        const OptionDiagnostics& option = item.options[c];
        const int number = int(c) + 1;
        if (option.keyed)
            continue;
        // The chance that a distractor drawing 5 % is chosen by nobody: 0.95ⁿ.
        if (option.chosen == 0)
            return withChance(judged(Verdict::ReplaceDistractor, VerdictRule::UnchosenDistractor, 0, number),
                              std::pow(0.95, examinees));
        if (option.upper - option.lower < 2)
            continue;
        if (const double split = binomialAtLeast(option.upper + option.lower, option.upper, 0.5);
            split < 0.05)
            return withChance(
                judged(Verdict::ReplaceDistractor, VerdictRule::DrawsUpperGroup, *option.groupIndex, number),
                split);
    }
    // A distractor that some chose, if few, leaves the item usable: it is named, the item kept.
    for (std::size_t c = 0; c < item.options.size(); ++c) {
        const OptionDiagnostics& option = item.options[c];
        if (option.keyed)
            continue;
        if (option.chosen * 20 < examinees)
            return judged(Verdict::Keep, VerdictRule::RarelyChosen, option.proportion, int(c) + 1);
        if (*option.groupIndex < 0)
            return judged(Verdict::Keep, VerdictRule::LeansToUpperGroup, *option.groupIndex, int(c) + 1);
    }
    return judged(Verdict::Keep, VerdictRule::NothingWrong);
}

QString number(double value)
{
    return formatThreeDecimals(value).toString();
}

QString percent(double share)
{
    return formatOneDecimal(share * 100).toString();
}

QString surenessThai(const Judgement& j)
{
    const QString chance = QString::number(std::max(1.0, std::round(j.chance * 100)), 'f', 0);
    switch (j.sureness()) {
    case Sureness::Sure:
        return QStringLiteral("  มั่นใจได้: โอกาสที่จะเป็นเพียงความบังเอิญต่ำกว่า 1 %");
    case Sureness::Likely:
        return QStringLiteral("  ค่อนข้างมั่นใจ: โอกาสที่จะเป็นเพียงความบังเอิญราว %1 %").arg(chance);
    case Sureness::Unsure:
        return QStringLiteral("  ยังไม่แน่ชัด: โอกาสที่จะเป็นเพียงความบังเอิญราว %1 % ควรดูตัวข้อสอบประกอบ").arg(chance);
    }
    return {};
}

} // namespace

Sureness Judgement::sureness() const
{
    if (chance < 0.01)
        return Sureness::Sure;
    return chance < 0.1 ? Sureness::Likely : Sureness::Unsure;
}

Judgement judgeItem(const ItemDiagnostics& item, int examinees)
{
    if (const LikelierKey likelier = likelierKey(item, examinees); likelier.option != 0)
        return withChance(judged(Verdict::CheckKey, VerdictRule::KeyShunned,
                                 *item.options[likelier.option - 1].pointBiserial, likelier.option),
                          likelier.chance);
    // Correlations vary widely in a small class: the key is questioned only beyond luck.
    if (item.pointBiserialRest && *item.pointBiserialRest < 0) {
        const double chance = correlationChance(-*item.pointBiserialRest, examinees);
        if (chance < DoubtfulChance)
            return withChance(
                judged(Verdict::CheckKey, VerdictRule::RestCorrelationNegative, *item.pointBiserialRest),
                chance);
    }
    // The key's own point-biserial is undefined when nobody or everybody answered it: no comparison.
    if (item.pointBiserialTotal) {
        if (const int c = distractorAboveKey(item)) {
            const double distractor = *item.options[c - 1].pointBiserial;
            const double gap = fisherZ(distractor) - fisherZ(*item.pointBiserialTotal);
            const double chance = normalBelow(-gap * std::sqrt(std::max(1, examinees - 3) / 2.0));
            if (chance < DoubtfulChance)
                return withChance(judged(Verdict::CheckKey, VerdictRule::DistractorAboveKey, distractor, c,
                                         *item.pointBiserialTotal),
                                  chance);
        }
    }
    if (examinees < SmallClassLimit)
        return judged(Verdict::SmallSample, VerdictRule::SmallClass, examinees);

    // p is what this class found; D must fall short of 0.2 beyond luck, which in a class of 35 (groups
    // of 9) means fewer right in the upper group than in the lower.
    const double p = item.difficulty;
    if (p < 0.2)
        return withChance(judged(Verdict::Revise, VerdictRule::TooHard, p),
                          binomialAtMost(examinees, item.right, 0.2));
    if (p > 0.8)
        return withChance(judged(Verdict::Revise, VerdictRule::TooEasy, p),
                          binomialAtLeast(examinees, item.right, 0.8));
    // From 30 examinees on the 27 % groups hold at least 8 each, so D is defined.
    if (*item.discrimination < 0.2) {
        const double chance =
            weakDiscriminationChance(item.rightUpper, item.rightLower, groupSizeFor(examinees));
        if (chance < DoubtfulChance)
            return withChance(judged(Verdict::Revise, VerdictRule::WeakDiscrimination, *item.discrimination),
                              chance);
    }
    return judgeDistractors(item, examinees);
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

namespace {

QString verdictReasonThai(const ItemDiagnostics& item, int examinees)
{
    const Judgement& j = item.judgement;
    const int groupSize = groupSizeFor(examinees);
    const QString usable = QStringLiteral("p = %1 และ D = %2 อยู่ในเกณฑ์")
                               .arg(number(item.difficulty), number(item.discrimination.value_or(0)));
    switch (j.rule) {
    case VerdictRule::KeyShunned: {
        const OptionDiagnostics& taken = item.options[j.option - 1];
        const QString key =
            item.right == 0
                ? QStringLiteral("ไม่มีผู้เลือกตัวเลือกที่เฉลย (%1) เลย").arg(item.key)
                : QStringLiteral("มีผู้เลือกตัวเลือกที่เฉลย (%1) เพียง %2 คน").arg(item.key).arg(item.right);
        return QStringLiteral("%1 แต่ตัวเลือก %2 ดึงผู้ได้คะแนนสูง (r_pb = %3 กลุ่มสูงเลือก %4 จาก %5 คน กลุ่มต่ำ %6 คน): "
                              "เฉลยน่าจะผิด")
                   .arg(key)
                   .arg(j.option)
                   .arg(number(j.value))
                   .arg(taken.upper)
                   .arg(groupSize)
                   .arg(taken.lower) +
               surenessThai(j);
    }
    case VerdictRule::RestCorrelationNegative:
        return QStringLiteral("r_pb กับคะแนนข้ออื่น = %1 ติดลบ: ผู้ตอบถูกได้คะแนนข้ออื่นต่ำกว่าผู้ตอบผิด")
                   .arg(number(j.value)) +
               surenessThai(j);
    case VerdictRule::DistractorAboveKey:
        return QStringLiteral("ตัวเลือก %1 มี r_pb = %2 สูงกว่าตัวเลือกที่เฉลย (r_pb = %3): ผู้ได้คะแนนสูงเลือกตัวเลือกนี้")
                   .arg(j.option)
                   .arg(number(j.value), number(j.compared)) +
               surenessThai(j);
    case VerdictRule::SmallClass:
        return QStringLiteral("ผู้สอบ %1 คน น้อยกว่า %2 คน ค่าดัชนียังไม่คงที่พอจะตัดสิน")
            .arg(examinees)
            .arg(SmallClassLimit);
    case VerdictRule::TooHard:
        return QStringLiteral("ยากเกินไป: p = %1 ต่ำกว่า 0.2 (ตอบถูก %2 จาก %3 คน)")
                   .arg(number(j.value))
                   .arg(item.right)
                   .arg(examinees) +
               surenessThai(j);
    case VerdictRule::TooEasy:
        return QStringLiteral("ง่ายเกินไป: p = %1 สูงกว่า 0.8 (ตอบถูก %2 จาก %3 คน)")
                   .arg(number(j.value))
                   .arg(item.right)
                   .arg(examinees) +
               surenessThai(j);
    case VerdictRule::WeakDiscrimination:
        return QStringLiteral(
                   "อำนาจจำแนกต่ำ: D = %1 ต่ำกว่า 0.2 (ตอบถูกในกลุ่มสูง %2 คน กลุ่มต่ำ %3 คน จากกลุ่มละ %4 คน)")
                   .arg(number(j.value))
                   .arg(item.rightUpper)
                   .arg(item.rightLower)
                   .arg(groupSize) +
               surenessThai(j);
    case VerdictRule::UnchosenDistractor:
        return QStringLiteral("ตัวลวง %1 ไม่มีผู้เลือกเลย ข้อนี้จึงมีตัวเลือกที่ใช้การได้น้อยกว่าที่เห็น").arg(j.option) +
               surenessThai(j);
    case VerdictRule::DrawsUpperGroup: {
        const OptionDiagnostics& option = item.options[j.option - 1];
        return QStringLiteral(
                   "ตัวลวง %1 ดึงกลุ่มสูงมากกว่ากลุ่มต่ำ: (L − U)/G = %2 ติดลบ (กลุ่มสูงเลือก %3 คน กลุ่มต่ำ %4 คน)")
                   .arg(j.option)
                   .arg(number(j.value))
                   .arg(option.upper)
                   .arg(option.lower) +
               surenessThai(j);
    }
    case VerdictRule::NothingWrong:
        return usable + QStringLiteral(" ตัวลวงทุกตัวมีผู้เลือกและดึงกลุ่มต่ำได้");
    case VerdictRule::RarelyChosen:
        return usable + QStringLiteral(" ใช้ได้  ตัวลวง %1 มีผู้เลือกเพียง %2 % (น้อยกว่า 5 %) อาจปรับให้น่าเลือกขึ้น")
                            .arg(j.option)
                            .arg(percent(j.value));
    case VerdictRule::LeansToUpperGroup:
        return usable + QStringLiteral(" ใช้ได้  ตัวลวง %1 มี (L − U)/G = %2 ติดลบเล็กน้อย "
                                       "ควรดูว่าตัวลวงนี้อาจถูกได้ด้วยหรือไม่")
                            .arg(j.option)
                            .arg(number(j.value));
    }
    return {};
}

} // namespace

QString reasonThai(const ItemDiagnostics& item, int examinees)
{
    const QString reason = verdictReasonThai(item, examinees);
    return item.remark.isEmpty() ? reason : reason + QStringLiteral("  ") + item.remark;
}
