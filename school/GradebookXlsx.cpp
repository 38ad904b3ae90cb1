#include "school/Gradebook.h"

#include "model/SystemErrorText.h"

#include <QDir>
#include <QFile>
#include <QTemporaryFile>

#include <xlsxwriter.h>

#include <algorithm>
#include <cerrno>

namespace {

QByteArray utf8(const QString& text)
{
    return text.toUtf8();
}

// Number formats as the CSV shows the numbers: as many decimals, no more.
lxw_format* numberFormat(lxw_workbook* workbook, int decimals)
{
    static const char* const patterns[] = {"0", "0.0", "0.00", "0.000"};
    lxw_format* format = workbook_add_format(workbook);
    format_set_num_format(format, patterns[std::clamp(decimals, 0, 3)]);
    return format;
}

} // namespace

bool gradebookXlsxAvailable()
{
    return true;
}

bool composeGradebookXlsx(const std::vector<Sheet>& sheets, const QString& folder, QByteArray& bytes,
                          QString& error)
{
    QTemporaryFile file(QDir(folder).filePath(QStringLiteral(".gradebook-XXXXXX.xlsx")));
    if (!file.open()) {
        error = QStringLiteral("สร้างแฟ้มชั่วคราวของสมุดงานในโฟลเดอร์ %1 ไม่ได้  โฟลเดอร์นี้อาจไม่มีอยู่หรือเขียนไม่ได้")
                    .arg(QDir::toNativeSeparators(folder));
        return false;
    }
    file.close();
    const QByteArray path = QFile::encodeName(file.fileName());
    lxw_workbook* workbook = workbook_new(path.constData());
    if (!workbook) {
        error = QStringLiteral("สร้างสมุดงาน .xlsx ในโฟลเดอร์ %1 ไม่ได้").arg(QDir::toNativeSeparators(folder));
        return false;
    }
    lxw_format* header = workbook_add_format(workbook);
    format_set_bold(header);
    lxw_format* numbers[4];
    for (int decimals = 0; decimals < 4; ++decimals)
        numbers[decimals] = numberFormat(workbook, decimals);

    for (const Sheet& sheet : sheets) {
        lxw_worksheet* worksheet = workbook_add_worksheet(workbook, utf8(sheet.name).constData());
        std::size_t widest = 0;
        for (std::size_t r = 0; r < sheet.rows.size(); ++r) {
            const SheetRow& row = sheet.rows[r];
            const bool isHeading =
                std::find(sheet.headings.begin(), sheet.headings.end(), r) != sheet.headings.end();
            widest = std::max(widest, row.size());
            for (std::size_t c = 0; c < row.size(); ++c) {
                const SheetCell& cell = row[c];
                if (cell.text.isEmpty())
                    continue;
                if (cell.isNumber)
                    worksheet_write_number(worksheet, lxw_row_t(r), lxw_col_t(c), cell.value(),
                                           numbers[std::clamp(cell.decimals, 0, 3)]);
                else
                    worksheet_write_string(worksheet, lxw_row_t(r), lxw_col_t(c), utf8(cell.text).constData(),
                                           isHeading ? header : nullptr);
            }
        }
        if (widest > 0)
            worksheet_set_column(worksheet, 0, lxw_col_t(widest - 1), 14, nullptr);
        worksheet_freeze_panes(worksheet, 1, 0); // the header stays in view while scrolling the class
    }
    if (const lxw_error result = workbook_close(workbook); result != LXW_NO_ERROR) {
        error = QStringLiteral("เขียนสมุดงาน .xlsx ไม่ได้  เพราะ%1 (%2)")
                    .arg(systemErrorText(EIO), QString::fromUtf8(lxw_strerror(result)));
        return false;
    }
    QFile written(file.fileName());
    if (!written.open(QIODevice::ReadOnly)) {
        error = QStringLiteral("อ่านสมุดงาน .xlsx ที่เพิ่งเขียนไม่ได้  เพราะ%1").arg(systemErrorText(EIO));
        return false;
    }
    bytes = written.readAll();
    if (written.error() != QFileDevice::NoError) {
        error = QStringLiteral("อ่านสมุดงาน .xlsx ที่เพิ่งเขียนไม่ได้  เพราะ%1").arg(systemErrorText(EIO));
        return false;
    }
    return true;
}
