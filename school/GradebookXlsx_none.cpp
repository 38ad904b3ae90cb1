#include "school/Gradebook.h"

// Built without libxlsxwriter (the Windows build has none yet): gradebooks are CSV only, and
// gradebookNameProblem tells the teacher so before anything is read.

bool gradebookXlsxAvailable()
{
    return false;
}

bool composeGradebookXlsx(const std::vector<Sheet>& /*sheets*/, const QString& /*folder*/,
                          QByteArray& /*bytes*/, QString& error)
{
    error = QStringLiteral("โปรแกรมรุ่นนี้เขียนแฟ้ม .xlsx ไม่ได้  กรุณาใช้แฟ้ม .csv แทน");
    return false;
}
