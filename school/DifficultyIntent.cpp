#include "school/DifficultyIntent.h"

#include "analysis/Grades.h"
#include "report/NumberFormat.h"

QString intendedDifficultyThai(IntendedDifficulty intent)
{
    switch (intent) {
    case IntendedDifficulty::Easy:
        return QStringLiteral("ง่าย");
    case IntendedDifficulty::Medium:
        return QStringLiteral("ยากปานกลาง");
    case IntendedDifficulty::Hard:
        return QStringLiteral("ยาก");
    case IntendedDifficulty::Unstated:
        break;
    }
    return {};
}

bool departsFromIntent(IntendedDifficulty intent, double p)
{
    switch (intent) {
    case IntendedDifficulty::Easy:
        return p < 0.4;
    case IntendedDifficulty::Medium:
        return p < 0.2 || p >= 0.8;
    case IntendedDifficulty::Hard:
        return p >= 0.6;
    case IntendedDifficulty::Unstated:
        break;
    }
    return false;
}

void remarkOnIntents(TestDiagnostics& test, const Blueprint& blueprint)
{
    for (ItemDiagnostics& item : test.itemList) {
        const IntendedDifficulty intent = blueprint.intent[std::size_t(item.number)];
        if (!departsFromIntent(intent, item.difficulty))
            continue;
        item.remark =
            QStringLiteral("แผนผังข้อสอบตั้งใจให้ข้อนี้%1 แต่ p = %2 (%3) ต่างจากที่ตั้งใจ "
                           "ควรดูว่าข้อสอบหรือการสอนตัวชี้วัดนี้เป็นไปตามแผนหรือไม่")
                .arg(intendedDifficultyThai(intent), formatThreeDecimals(item.difficulty).toString(),
                     difficultyGrade(item.difficulty));
    }
}
