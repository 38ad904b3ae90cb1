#include "model/DataFileLoader.h"

#include "model/DataFileReader.h"
#include "model/InputFile.h"
#include "model/SystemErrorText.h"

#include <QBuffer>
#include <QDir>
#include <QFile>

#include <algorithm>
#include <cerrno>
#include <new>
#include <utility>
#include <vector>

namespace {

// The key record holds a label, a blank and the key; a label longer than the longest key is no label,
// and blanks after the key may run on.
constexpr qsizetype MaxKeyRecord = 2 * qsizetype(MaxCount) + 1;

QString readFailed(const QString& path, const QString& reason = systemErrorText(EIO))
{
    return QStringLiteral("อ่านแฟ้มข้อมูล %1 ไม่ได้ครับ  %2  ตรวจสอบแฟ้มแล้วลองใหม่อีกครั้ง")
        .arg(QDir::toNativeSeparators(path), reason);
}

QString openFailed(const QString& path, const QString& reason)
{
    return QStringLiteral("เปิดแฟ้มข้อมูล %1 ไม่ได้ครับ  %2  กรุณาเลือกแฟ้มข้อมูล (*.txt) ที่ถูกต้องอีกครั้ง")
        .arg(QDir::toNativeSeparators(path), reason);
}

QString outOfMemory(const QString& path)
{
    return readFailed(path, systemErrorText(ENOMEM) + QStringLiteral("  ปิดโปรแกรมอื่นที่เปิดอยู่ก่อน"));
}

QString tooLarge(const QString& path)
{
    return QStringLiteral("แฟ้มข้อมูล %1 ใหญ่เกิน %2 MB  ใหญ่กว่าแฟ้มข้อมูลใด ๆ ที่โปรแกรมรับได้ครับ  "
                          "กรุณาตรวจสอบว่าเลือกแฟ้มถูกต้อง")
        .arg(QDir::toNativeSeparators(path))
        .arg(MaxDataFileBytes / 1'000'000);
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

// Reads the whole data set from `device` into `model`, a scratch copy that the caller keeps only when
// this succeeds, so that a refusal or a lack of memory half-way leaves the real model as it was.
// `path` names the source in the message about a failed read.
bool load(QIODevice& device, const QString& path, TestData& model, QString& error,
          Progress* progress = nullptr)
{
    DataFileReader reader(device, progress);
    reader.setRecordLimit(MaxKeyRecord);
    QByteArrayView record;
    if (!reader.next(record)) {
        error = reader.failed() ? readFailed(path) : QStringLiteral("แฟ้มข้อมูลนี้ว่างเปล่า ไม่มีข้อมูลเลยครับ");
        return false;
    }
    qsizetype width = 0;
    QString key;
    if (!readKeyRecord(reader.text(record), width, key, error))
        return false;
    if (reader.cut() || width > MaxCount) {
        error = QStringLiteral("บรรทัดแรกของแฟ้มข้อมูลยาวเกินไปครับ  รหัสหน้าช่องว่างยาวได้ไม่เกิน %1 ตัวอักษร "
                               "และ 'เฉลย' มีได้ไม่เกิน %1 ข้อ")
                    .arg(MaxCount);
        return false;
    }
    // Nothing past the last item is ever used, so nothing past it is kept.
    reader.setRecordLimit(width + 1 + key.size());

    // Entry 0 of every array stays empty; so far the arrays hold one entry per record read. The
    // identifiers are gathered in one text and become strings only at the end, side by side in
    // memory: made between the much longer answers they would lie hundreds of bytes apart, and the
    // ranking and the report read them one after another.
    QString idText;
    std::vector<qsizetype> idEnds;
    AnswerTexts answers(1);
    while (reader.next(record)) {
        if (answers.size() == MaxCount) {
            error = QStringLiteral("แฟ้มข้อมูลมีเกิน %1 บรรทัด  โปรแกรมรับผู้สอบได้ไม่เกิน %2 คนครับ")
                        .arg(MaxCount)
                        .arg(MaxCount - 1);
            return false;
        }
        idText += reader.text(record, 0, width);
        idEnds.push_back(idText.size());
        answers.append(reader.answers(record, width + 1, key.size()));
    }
    if (reader.failed()) {
        error = readFailed(path);
        return false;
    }
    answers.append(AnswerText());

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

// Reads a data file held in memory; `name` names it in a message, a lack of memory included.
bool loadBytes(const QByteArray& bytes, const QString& name, TestData& model, QString& error)
{
    QBuffer buffer;
    buffer.setData(bytes);
    buffer.open(QIODevice::ReadOnly);
    try {
        TestData loaded = model;
        if (!load(buffer, name, loaded, error))
            return false;
        model = std::move(loaded);
        return true;
    } catch (const std::bad_alloc&) {
        error = outOfMemory(name);
        return false;
    }
}

} // namespace

bool loadDataFile(const QString& path, TestData& model, QString& error, Progress* progress)
{
    InputFile file;
    if (QString reason; !file.open(path, reason)) {
        error = openFailed(path, reason);
        return false;
    }
    if (file.size() > MaxDataFileBytes) {
        error = tooLarge(path);
        return false;
    }

    TestData loaded = model;
    try {
        if (!load(file.device(), path, loaded, error, progress))
            return false;
    } catch (const std::bad_alloc&) {
        error = outOfMemory(path);
        return false;
    }
    if (!file.unchanged()) {
        error = QStringLiteral("แฟ้มข้อมูล %1 ถูกเปลี่ยนไปในขณะที่โปรแกรมกำลังอ่าน  "
                               "กรุณาบันทึกแฟ้มให้เสร็จก่อน แล้วลองใหม่อีกครั้งครับ")
                    .arg(QDir::toNativeSeparators(path));
        return false;
    }
    model = std::move(loaded);
    return true;
}

bool loadDataBytes(const QByteArray& bytes, TestData& model, QString& error)
{
    return loadBytes(bytes, QString(), model, error);
}

bool loadDataStream(QIODevice& in, TestData& model, QString& error)
{
    const QString name = QStringLiteral("จากอินพุตมาตรฐาน");
    // What stands behind the stream can be judged before reading: a redirected file by its size, a
    // device other than a terminal as a source that never ends.
    if (const auto* file = qobject_cast<const QFile*>(&in)) {
        const StreamSource source = streamSource(*file);
        if (source.kind == StreamSource::Kind::OrdinaryFile && source.size > MaxDataFileBytes) {
            error = tooLarge(name);
            return false;
        }
        if (source.kind == StreamSource::Kind::Folder || source.kind == StreamSource::Kind::Device) {
            error = openFailed(name, source.kind == StreamSource::Kind::Folder ? systemErrorText(EISDIR)
                                                                               : notRegularFileText());
            return false;
        }
    }
    try {
        QByteArray bytes;
        QByteArray chunk(1 << 20, Qt::Uninitialized);
        qint64 got = 0;
        while ((got = in.read(chunk.data(), chunk.size())) > 0) {
            if (bytes.size() + got > MaxDataFileBytes) {
                error = tooLarge(name);
                return false;
            }
            bytes.append(chunk.constData(), got);
        }
        if (got < 0) {
            error = readFailed(name);
            return false;
        }
        chunk.clear();
        return loadBytes(bytes, name, model, error);
    } catch (const std::bad_alloc&) {
        error = outOfMemory(name);
        return false;
    }
}
