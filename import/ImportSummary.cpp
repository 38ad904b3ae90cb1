#include "import/Importer.h"

#include <QDir>
#include <QSet>

namespace {

QString columnList(const QList<int>& columns, const QStringList& headers)
{
    QStringList named;
    for (const int column : columns) {
        const QString header = column < headers.size() ? headers[column] : QString();
        named.append(header.isEmpty() ? columnName(column)
                                      : QStringLiteral("%1 (%2)").arg(columnName(column), header.left(30)));
    }
    return named.join(QStringLiteral(", "));
}

// The answer columns, as a range when they follow one another.
QString answerColumns(const QList<int>& columns)
{
    bool contiguous = true;
    for (qsizetype index = 1; index < columns.size(); ++index)
        contiguous = contiguous && columns[index] == columns[index - 1] + 1;
    if (columns.size() > 1 && contiguous)
        return QStringLiteral("%1 ถึง %2").arg(columnName(columns.first()), columnName(columns.last()));
    QStringList names;
    for (const int column : columns)
        names.append(columnName(column));
    return names.join(QStringLiteral(", "));
}

QString marks(const MarkCounts& counts)
{
    QStringList parts;
    if (counts.blank)
        parts.append(QStringLiteral("ไม่ตอบ %1").arg(counts.blank));
    if (counts.several)
        parts.append(QStringLiteral("ตอบหลายตัวเลือก %1").arg(counts.several));
    if (counts.unreadable)
        parts.append(QStringLiteral("อ่านไม่ได้ %1").arg(counts.unreadable));
    return parts.join(QStringLiteral("  "));
}

} // namespace

QString layoutName(ImportLayout layout)
{
    switch (layout) {
    case ImportLayout::OnlineForm:
        return QStringLiteral("คำตอบจากแบบฟอร์มออนไลน์");
    case ImportLayout::RowPerStudent:
        return QStringLiteral("ตารางนักเรียนคนละแถว คำตอบข้อละคอลัมน์");
    case ImportLayout::AnswersInOneCell:
        return QStringLiteral("ตารางนักเรียนคนละแถว คำตอบทุกข้อในช่องเดียว");
    case ImportLayout::Scanner:
        return QStringLiteral("ผลจากเครื่องตรวจหรือแอปตรวจกระดาษคำตอบ");
    }
    return {};
}

QString importSummaryText(const ImportResult& result)
{
    const ImportSummary& summary = result.summary;
    QStringList lines;
    lines << QStringLiteral("รูปแบบ: %1").arg(layoutName(result.layout));
    lines << QStringLiteral("รหัสผู้สอบ: คอลัมน์ %1").arg(columnList({result.columns.id}, result.headers));
    if (!result.columns.names.isEmpty())
        lines << QStringLiteral("ชื่อ: คอลัมน์ %1  %2")
                     .arg(columnList(result.columns.names, result.headers),
                          QStringLiteral("(ชื่อจะแสดงในรายงาน)"));
    if (result.columns.room >= 0)
        lines << QStringLiteral("ห้อง: คอลัมน์ %1  (%2 ห้อง เปรียบเทียบรายห้องในรายงานวิเคราะห์รายข้อ)")
                     .arg(columnList({result.columns.room}, result.headers))
                     .arg(QSet<QString>(result.rooms.cbegin(), result.rooms.cend()).size());
    if (result.columns.form >= 0)
        lines << QStringLiteral("ชุดข้อสอบ: คอลัมน์ %1").arg(columnList({result.columns.form}, result.headers));
    lines << QStringLiteral("คำตอบ: คอลัมน์ %1").arg(answerColumns(result.columns.answers));
    switch (result.keySource) {
    case KeySource::KeyRow:
        lines << QStringLiteral("เฉลย: แถว %1").arg(result.keyRow);
        break;
    case KeySource::KeyColumn:
        lines << QStringLiteral("เฉลย: คอลัมน์ %1").arg(answerColumns(result.columns.keys));
        break;
    case KeySource::Typed:
        lines << QStringLiteral("เฉลย: ที่ระบุเอง");
        break;
    }
    lines << QStringLiteral("ผู้สอบ %1 คน  ข้อสอบ %2 ข้อ  เฉลย %3")
                 .arg(summary.students)
                 .arg(summary.items)
                 .arg(result.key.size() > 60 ? result.key.left(60) + QStringLiteral("...") : result.key);
    MarkCounts total;
    for (const MarkCounts& item : summary.perItem)
        total.blank += item.blank, total.several += item.several, total.unreadable += item.unreadable;
    if (!total.any()) {
        lines << QStringLiteral("ทุกคนตอบทุกข้อ ข้อละหนึ่งตัวเลือก");
    } else {
        lines << QStringLiteral("คำตอบที่นับเป็นผิด (\" \" ไม่ตอบ, \"*\" ตอบหลายตัวเลือก, \"?\" อ่านไม่ได้): %1")
                     .arg(marks(total));
        for (qsizetype item = 0; item < summary.perItem.size(); ++item)
            if (summary.perItem[item].any())
                lines << QStringLiteral("  ข้อ %1: %2").arg(item + 1).arg(marks(summary.perItem[item]));
        // A page of students is enough to check by; the counts above hold them all.
        constexpr int ListedStudents = 40;
        int listed = 0, unlisted = 0;
        for (qsizetype student = 0; student < summary.perStudent.size(); ++student) {
            if (!summary.perStudent[student].any())
                continue;
            if (listed == ListedStudents) {
                ++unlisted;
                continue;
            }
            ++listed;
            lines << QStringLiteral("  แถว %1 (%2): %3")
                         .arg(summary.studentRows[student])
                         .arg(result.ids[student], marks(summary.perStudent[student]));
        }
        if (unlisted)
            lines << QStringLiteral("  และผู้สอบอีก %1 คน").arg(unlisted);
    }
    for (const SkippedRow& skipped : summary.skipped)
        lines << QStringLiteral("ข้ามแถว %1: %2").arg(skipped.row).arg(skipped.reason);
    if (!summary.mappings.isEmpty()) {
        lines << QStringLiteral("ตัวเลือกที่เป็นข้อความ แปลงเป็นตัวเลข (ข้อความของเฉลยเป็น 1 ที่เหลือตามลำดับที่พบ):");
        for (const OptionMapping& mapping : summary.mappings) {
            QStringList numbered;
            for (qsizetype index = 0; index < mapping.texts.size(); ++index)
                numbered << QStringLiteral("%1 = %2").arg(index + 1).arg(mapping.texts[index]);
            lines << QStringLiteral("  ข้อ %1: %2").arg(mapping.item).arg(numbered.join(QStringLiteral("; ")));
        }
    }
    return lines.join(u'\n');
}
