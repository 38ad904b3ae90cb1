#include "school/PupilList.h"

#include "school/Gradebook.h"
#include "school/TableFile.h"

#include <QDir>
#include <QFileInfo>

namespace {

enum Column { IdColumn, RoomColumn, FormColumn };

// The header texts each column answers to, lower case.
const std::vector<QStringList>& headerNames()
{
    static const std::vector<QStringList> names = {
        {QStringLiteral("เลขประจำตัว"), QStringLiteral("รหัส"), QStringLiteral("รหัสผู้สอบ"),
         QStringLiteral("id")},
        {QStringLiteral("ห้อง"), QStringLiteral("ห้องเรียน"), QStringLiteral("room"), QStringLiteral("class")},
        {QStringLiteral("ชุด"), QStringLiteral("ชุดข้อสอบ"), QStringLiteral("รหัสชุด"), QStringLiteral("form")},
    };
    return names;
}

bool readList(const Table& table, const QString& name, const TestData& data, PupilList& list, QString& error)
{
    const auto fail = [&](const QString& what) {
        error = QStringLiteral("แฟ้มรายชื่อผู้สอบ %1 %2").arg(name, what);
        return false;
    };
    const qsizetype header = headerRow(table);
    if (header == table.rowCount())
        return fail(QStringLiteral("ว่างเปล่า ไม่มีหัวตารางและผู้สอบใดเลย"));
    const std::vector<qsizetype> columns = findColumns(table, header, headerNames());
    if (columns[IdColumn] < 0 || (columns[RoomColumn] < 0 && columns[FormColumn] < 0))
        return fail(QStringLiteral("แถว %1: หัวตารางต้องมีคอลัมน์ เลขประจำตัว (id) และคอลัมน์ ห้อง (room) "
                                   "หรือ ชุด (form) หรือทั้งสองคอลัมน์")
                        .arg(header + 1));
    PupilList read{name, {}, {}};
    int pupil = 0;
    for (qsizetype row = header + 1; row < table.rowCount(); ++row) {
        if (table.rowIsEmpty(row))
            continue;
        const QString id = table.cell(row, columns[IdColumn]).trimmed().toString();
        if (++pupil > data.NumStud)
            return fail(QStringLiteral("มีผู้สอบมากกว่าแฟ้มข้อมูลซึ่งมี %1 คน (แถว %2 เลขประจำตัว %3 เกินมา)  "
                                       "แฟ้มรายชื่อต้องมีผู้สอบทุกคนของแฟ้มข้อมูลตามลำดับเดียวกัน")
                            .arg(data.NumStud)
                            .arg(row + 1)
                            .arg(id));
        if (const QString expected = data.StudID.value(pupil).trimmed(); id != expected)
            return fail(QStringLiteral("แถว %1: เลขประจำตัว '%2' ไม่ตรงกับผู้สอบคนที่ %3 ในแฟ้มข้อมูล (%4)  "
                                       "แฟ้มรายชื่อต้องมีผู้สอบทุกคนของแฟ้มข้อมูลตามลำดับเดียวกัน")
                            .arg(row + 1)
                            .arg(id)
                            .arg(pupil)
                            .arg(expected));
        for (const auto& [column, texts, what] :
             {std::tuple{RoomColumn, &read.rooms, QStringLiteral("ห้อง")},
              std::tuple{FormColumn, &read.forms, QStringLiteral("ชุด")}}) {
            if (columns[column] < 0)
                continue;
            const QString text = table.cell(row, columns[column]).toString().simplified();
            if (text.isEmpty())
                return fail(QStringLiteral("แถว %1: ผู้สอบเลขประจำตัว %2 ไม่มี%3").arg(row + 1).arg(id, what));
            texts->append(text);
        }
    }
    if (pupil < data.NumStud)
        return fail(
            QStringLiteral("มีผู้สอบ %1 คน แต่แฟ้มข้อมูลมี %2 คน  แฟ้มรายชื่อต้องมีผู้สอบทุกคนของแฟ้มข้อมูลตามลำดับเดียวกัน")
                .arg(pupil)
                .arg(data.NumStud));
    list = std::move(read);
    return true;
}

} // namespace

QString pupilListBeside(const QString& dataFile)
{
    return tableBeside(dataFile, QLatin1String("pupils"));
}

QString pupilListPathFor(const QString& dataFile)
{
    const QFileInfo data(dataFile);
    return data.dir().filePath(data.completeBaseName() + QStringLiteral(".pupils.csv"));
}

bool readPupilList(const QString& path, const TestData& data, PupilList& list, QString& error)
{
    Table table;
    return readTableFile(path, QStringLiteral("แฟ้มรายชื่อผู้สอบ"), table, error) &&
           readList(table, QFileInfo(path).fileName(), data, list, error);
}

QByteArray pupilListBytes(const QStringList& ids, const QStringList& rooms, const QStringList& forms)
{
    Sheet sheet;
    SheetRow header{{headerNames()[IdColumn].first()}};
    if (!rooms.isEmpty())
        header.push_back({headerNames()[RoomColumn].first()});
    if (!forms.isEmpty())
        header.push_back({headerNames()[FormColumn].first()});
    sheet.rows.push_back(std::move(header));
    for (qsizetype pupil = 0; pupil < ids.size(); ++pupil) {
        SheetRow row{{ids[pupil]}};
        if (!rooms.isEmpty())
            row.push_back({rooms[pupil]});
        if (!forms.isEmpty())
            row.push_back({forms[pupil]});
        sheet.rows.push_back(std::move(row));
    }
    return composeSheetCsv(sheet).toUtf8();
}

PupilGroups roomsOfPupils(const QStringList& rooms)
{
    PupilGroups groups{QStringLiteral("ห้อง"), {}, {}};
    for (const QString& room : rooms) {
        qsizetype index = groups.names.indexOf(room);
        if (index < 0) {
            index = groups.names.size();
            groups.names.append(room);
        }
        groups.groupOf.push_back(int(index));
    }
    return groups;
}
