#include "model/DataFileLoader.h"

#include "model/DataFileReader.h"

#include <QBuffer>
#include <QDir>
#include <QFile>

#include <algorithm>
#include <utility>
#include <vector>

namespace {

QString readFailed(const QString& path)
{
    return QStringLiteral("อ่านแฟ้มข้อมูล %1 ไม่ได้ครับ").arg(QDir::toNativeSeparators(path));
}

// Splits the key record into the label's width and the key, or says what is wrong with it.
bool readKeyRecord(const QString& record, qsizetype& width, QString& key, QString& error)
{
    const auto blank =
        std::find_if(record.cbegin(), record.cend(), [](QChar c) { return isBlank(c.unicode()); });
    if (blank == record.cend()) {
        error = QStringLiteral("บรรทัดแรกของแฟ้มข้อมูลต้องเป็นรหัส เว้นวรรค 1 ช่อง แล้วตามด้วย 'เฉลย'  "
                               "แต่บรรทัดนี้ไม่มีช่องว่างเลยครับ");
        return false;
    }
    if (blank == record.cbegin()) {
        error = QStringLiteral("บรรทัดแรกของแฟ้มข้อมูลขึ้นต้นด้วยช่องว่าง  ต้องขึ้นต้นด้วยรหัสก่อนเว้นวรรคครับ");
        return false;
    }
    QStringView keyText(blank + 1, record.cend());
    while (!keyText.isEmpty() && isBlank(keyText.back().unicode()))
        keyText.chop(1);
    if (keyText.isEmpty()) {
        error = QStringLiteral("บรรทัดแรกของแฟ้มข้อมูลไม่มี 'เฉลย' ต่อจากช่องว่างเลยครับ");
        return false;
    }
    if (keyText.size() > MaxCount) {
        error = QStringLiteral("'เฉลย' ในบรรทัดแรกมี %1 ข้อ  เกินกว่า %2 ข้อที่โปรแกรมรับได้ครับ")
                    .arg(keyText.size())
                    .arg(MaxCount);
        return false;
    }
    width = blank - record.cbegin();
    key = keyText.toString();
    return true;
}

// Reads the whole data set from `device` into local arrays and hands it to the model only when
// nothing went wrong. `path` names the source in the message about a failed read.
bool load(QIODevice& device, const QString& path, TestData& model, QString& error)
{
    DataFileReader reader(device);
    QByteArrayView record;
    if (!reader.next(record)) {
        error = reader.failed() ? readFailed(path) : QStringLiteral("แฟ้มข้อมูลนี้ว่างเปล่า ไม่มีข้อมูลเลยครับ");
        return false;
    }
    qsizetype width = 0;
    QString key;
    if (!readKeyRecord(reader.text(record), width, key, error))
        return false;

    // Entry 0 of every array stays empty; so far the arrays hold one entry per record read. The
    // identifiers are gathered in one text and become strings only at the end, side by side in
    // memory: made between the much longer answers they would lie hundreds of bytes apart, and the
    // ranking and the report read them one after another.
    QString idText;
    std::vector<qsizetype> idEnds;
    QStringList answers(1);
    while (reader.next(record)) {
        if (answers.size() == MaxCount) {
            error = QStringLiteral("แฟ้มข้อมูลมีเกิน %1 บรรทัด  โปรแกรมรับผู้สอบได้ไม่เกิน %2 คนครับ")
                        .arg(MaxCount)
                        .arg(MaxCount - 1);
            return false;
        }
        idText += reader.text(record, 0, width);
        idEnds.push_back(idText.size());
        answers.append(reader.text(record, width + 1));
    }
    if (reader.failed()) {
        error = readFailed(path);
        return false;
    }
    answers.append(QString());

    QStringList ids(1);
    ids.reserve(answers.size());
    qsizetype idStart = 0;
    for (const qsizetype idEnd : idEnds) {
        ids.append(QStringView(idText).sliced(idStart, idEnd - idStart).toString());
        idStart = idEnd;
    }
    ids.append(QString());

    const int students = int(ids.size() - 2);
    model.setKey(key);
    model.NumStud = students;
    model.StudID = std::move(ids);
    model.StudAns = std::move(answers);
    model.StudName = makeTextArray(students);
    model.AnsMatrix.create(students, model.NumItems);
    for (int i = 1; i <= students; ++i)
        model.AnsMatrix.setRow(i, model.StudAns.at(i));
    return true;
}

} // namespace

bool loadDataFile(const QString& path, TestData& model, QString& error)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) {
        error = QStringLiteral("เปิดแฟ้มข้อมูล %1 ไม่ได้ครับ  ตรวจสอบว่ายังมีแฟ้มนี้อยู่และไม่มีโปรแกรมอื่นใช้อยู่")
                    .arg(QDir::toNativeSeparators(path));
        return false;
    }
    return load(file, path, model, error);
}

bool loadDataBytes(const QByteArray& bytes, TestData& model, QString& error)
{
    QBuffer buffer;
    buffer.setData(bytes);
    buffer.open(QIODevice::ReadOnly);
    return load(buffer, QString(), model, error);
}
