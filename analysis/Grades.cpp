#include "analysis/Grades.h"

#include <array>

namespace {

// Discrimination and distractors share their bands; only the words differ.
QString gradeOnDiscriminationBands(double x, const std::array<QString, 4>& grades)
{
    if (x >= 0.4 && x <= 1.0)
        return grades[0];
    if (x >= 0.3 && x <= 0.4)
        return grades[1];
    if (x >= 0.2 && x <= 0.3)
        return grades[2];
    return grades[3];
}

} // namespace

QString difficultyGrade(double p)
{
    if (p < 0.2)
        return QStringLiteral("ยากมาก");
    if (p < 0.4)
        return QStringLiteral("ค่อนข้างยาก");
    if (p < 0.6)
        return QStringLiteral("ยากพอเหมาะ");
    if (p < 0.8)
        return QStringLiteral("ค่อนข้างง่าย");
    return QStringLiteral("ง่ายมาก");
}

QString discriminationGrade(double r)
{
    static const std::array<QString, 4> grades = {QStringLiteral("จำแนกดีมาก"), QStringLiteral("จำแนกดี"),
                                                  QStringLiteral("จำแนกพอใช้"), QStringLiteral("จำแนกได้ไม่ดี")};
    return gradeOnDiscriminationBands(r, grades);
}

QString distractorGrade(double x)
{
    static const std::array<QString, 4> grades = {QStringLiteral("ลวงได้ดีมาก"), QStringLiteral("ลวงได้ดี"),
                                                  QStringLiteral("ลวงได้พอใช้"), QStringLiteral("ลวงได้ไม่ดี")};
    return gradeOnDiscriminationBands(x, grades);
}
