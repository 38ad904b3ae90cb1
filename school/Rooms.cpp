#include "school/Rooms.h"

#include <QFileInfo>

QString roomName(const QString& dataFile)
{
    return QFileInfo(dataFile).completeBaseName();
}

bool addRoom(TestData& pooled, PupilGroups& rooms, const TestData& room, const QString& name, QString& error)
{
    if (rooms.names.isEmpty()) {
        pooled.setKey(room.AllKeys);
        rooms.heading = QStringLiteral("ห้อง");
    } else if (room.AllKeys != pooled.AllKeys) {
        const QString first = rooms.names.first();
        if (room.NumItems != pooled.NumItems) {
            error = QStringLiteral("แฟ้มข้อมูลของห้อง %1 มีข้อสอบ %2 ข้อ แต่ของห้อง %3 มี %4 ข้อ  ห้องที่วิเคราะห์รวมกัน"
                                   "ต้องสอบข้อสอบชุดเดียวกัน")
                        .arg(name)
                        .arg(room.NumItems)
                        .arg(first)
                        .arg(pooled.NumItems);
            return false;
        }
        int item = 1;
        while (room.Keys[item] == pooled.Keys[item])
            ++item;
        error = QStringLiteral("เฉลยในแฟ้มข้อมูลของห้อง %1 ต่างจากของห้อง %2 ตั้งแต่ข้อ %3 (%4 แทน %5)  "
                               "ห้องที่วิเคราะห์รวมกันต้องใช้เฉลยเดียวกัน")
                    .arg(name, first)
                    .arg(item)
                    .arg(room.Keys[item], pooled.Keys[item]);
        return false;
    }
    const int before = pooled.NumStud;
    const int count = before + room.NumStud;
    if (count > MaxCount - 1) {
        error = QStringLiteral("ห้องทั้งหมดรวมกันมีผู้สอบ %1 คน เกินกว่าที่โปรแกรมวิเคราะห์ได้ในครั้งเดียว (%2 คน)")
                    .arg(count)
                    .arg(MaxCount - 1);
        return false;
    }
    // The arrays keep their count + 2 entries; rows already pooled are shared, not copied.
    const auto grow = [&]<typename Text>(QList<Text>& pooledTexts, const QList<Text>& roomTexts) {
        pooledTexts.resize(count + 2);
        for (int i = 1; i <= room.NumStud; ++i)
            pooledTexts[before + i] = roomTexts.value(i);
    };
    grow(pooled.StudID, room.StudID);
    grow(pooled.StudName, room.StudName);
    grow(pooled.StudAns, room.StudAns);
    AnswerMatrix matrix;
    matrix.create(count, pooled.NumItems);
    for (int i = 1; i <= before; ++i)
        matrix.setRow(i, pooled.AnsMatrix.row(i));
    for (int i = 1; i <= room.NumStud; ++i)
        matrix.setRow(before + i, room.AnsMatrix.row(i));
    pooled.AnsMatrix = std::move(matrix);
    pooled.NumStud = count;
    rooms.groupOf.insert(rooms.groupOf.end(), std::size_t(room.NumStud), int(rooms.names.size()));
    rooms.names.append(name);
    return true;
}

ComparisonTexts roomComparisonTexts()
{
    return {QStringLiteral("rooms"),
            QStringLiteral("เปรียบเทียบรายห้อง"),
            QStringLiteral("Rooms"),
            QStringLiteral("ห้อง"),
            QStringLiteral("อาจเพราะเนื้อหาของข้อนั้นสอนต่างกันในแต่ละห้อง หรือข้อสอบรั่วไปถึงบางห้องก่อนสอบ"),
            QString()};
}
