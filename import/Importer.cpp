#include "import/Importer.h"

#include "import/ChoiceReading.h"
#include "import/CsvReader.h"
#include "import/LayoutDetection.h"
#include "import/SheetReader.h"
#include "model/CodePage874.h"
#include "model/DataFileLoader.h"
#include "model/InputFile.h"
#include "model/SystemErrorText.h"
#include "model/TestData.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QHash>

#include <algorithm>
#include <array>
#include <bit>
#include <cerrno>
#include <cstring>
#include <new>
#include <vector>

namespace {

// The most examinees a data file holds: its records, key record included, are at most MaxCount.
constexpr int MaxStudents = MaxCount - 1;
// The rows of the sheet a result keeps for a preview.
constexpr qsizetype PreviewRows = 12;
// The most distinct option texts of one item that a one-character choice code can number.
constexpr int MaxOptionTexts = 9;

QString fileName(const QString& name)
{
    return QDir::toNativeSeparators(name);
}

// A cell as the table counts rows and columns, from 0.
struct CellPlace {
    qsizetype row;
    qsizetype column;
};

// The cell as the spreadsheet names it, for a message.
QString placeName(CellPlace place)
{
    return QStringLiteral("แถว %1 คอลัมน์ %2").arg(place.row + 1).arg(columnName(place.column));
}

// Everything importTable works out, kept apart from the result until every row has been read.
class Import {
public:
    // `head`: the table holds only a CSV file's first rows, and readRest reads the others.
    Import(const Table& table, const QString& name, const ImportOverrides& overrides, bool head = false)
        : table_(table), name_(name), overrides_(overrides), head_(head)
    {
    }

    bool run(ImportResult& result) { return start(result) && finish(result); }
    // The header, the columns, the key and the table's rows of examinees; then the data file.
    bool start(ImportResult& result);
    bool finish(ImportResult& result);
    // Reads the rows after the head straight from the file's bytes, with the columns and the key the
    // head gave; false when anything needs the whole table instead (or the file is refused, which the
    // whole table says the same way).
    bool readRest(const CsvHead& csv, ImportResult& result);
    const QString& error() const { return error_; }

private:
    bool fail(const QString& what)
    {
        error_ = QStringLiteral("นำเข้าแฟ้ม %1 ไม่ได้ครับ  %2").arg(fileName(name_), what);
        return false;
    }
    bool chooseColumns(ImportResult& result);
    bool findKey(ImportResult& result);
    // The key written in one cell, a character per item; or a cell per item, perhaps option texts.
    bool keyInOneCell(CellPlace place, ImportResult& result);
    bool keyPerItem(const QList<CellPlace>& places, ImportResult& result);
    bool readStudent(qsizetype row, ImportResult& result);
    // The examinee of the row (as the table counts rows) with the identifier's cell and the name.
    bool addExaminee(qsizetype row, QStringView idCell, const QString& name, ImportResult& result);
    // Counts the blanks, several marks and unreadable marks of one examinee's answers.
    void countMarks(const char* answers, ImportResult& result) const;
    char16_t answer(int item, QStringView cell);
    // The name of an examinee from the cells of the name columns, `cellOf(column)`.
    template <typename CellOf> QString nameOf(CellOf cellOf) const;
    // The data file's lines: the key's, then one per examinee (the identifier, padded with blanks to
    // the widest, a blank, the answers and CR LF), written in place as the rows are read.
    qsizetype lineSize() const { return idWidth_ + 1 + items_ + 2; }
    char* answersOf(qsizetype line) { return lines_.data() + line * lineSize() + idWidth_ + 1; }
    // Where the next examinee's answers go, in a line not yet counted.
    char* nextAnswers();
    // Moves every line to identifiers `width` wide.
    void relayout(qsizetype width);

    const Table& table_;
    const QString& name_;
    const ImportOverrides& overrides_;
    const ImportResult* result_ = nullptr;
    const bool head_;
    // What the head alone cannot decide: a layout or key that depends on rows after it, or a key
    // row that may come after it.
    bool needsWholeTable_ = false;
    bool keyRowMayFollow_ = false;
    bool oneCell_ = false;
    qsizetype keyRow_ = -1; // as the table counts rows
    // Per item whose options are texts: the choice code of every text, and the texts in that order.
    QList<QHash<QString, int>> optionNumbers_;
    QList<QStringList> optionTexts_;
    // The data file's bytes: a choice code is ASCII, and an identifier was checked to be code page
    // 874 text. Identifiers are as wide as the widest so far, or wider for a while, which finish()
    // undoes; the lines hold room for more.
    QByteArray lines_, encoded_;
    qsizetype items_ = 0, idWidth_ = 1, widest_ = 1, examinees_ = 0;
    int relayouts_ = 0;
    QString error_;
};

bool Import::chooseColumns(ImportResult& result)
{
    result.layout = detectLayout(table_, result.columns);
    ImportColumns& columns = result.columns;
    // One answer column may hold all answers, which every row has a say in.
    if (head_ && (columns.answers.size() == 1 || overrides_.answerColumns.size() == 1))
        needsWholeTable_ = true;
    if (overrides_.idColumn >= 0)
        columns.id = overrides_.idColumn;
    if (!overrides_.nameColumns.isEmpty())
        columns.names = overrides_.nameColumns;
    if (!overrides_.answerColumns.isEmpty()) {
        columns.answers = overrides_.answerColumns;
        if (columns.keys.size() > 1) // key columns beside the detected answers
            columns.keys.clear();
        if (columns.answers.size() == 1 && holdsAllAnswers(table_, columns.answers.first()))
            result.layout = ImportLayout::AnswersInOneCell;
        else if (result.layout == ImportLayout::AnswersInOneCell)
            result.layout = ImportLayout::RowPerStudent;
    }
    if (overrides_.roomColumn >= 0)
        columns.room = overrides_.roomColumn;
    if (overrides_.formColumn >= 0)
        columns.form = overrides_.formColumn;
    // Names in the answers, as a name column the header did not name, are taken out of them, and so
    // are the pupils' rooms and forms.
    columns.answers.removeIf([&columns](int column) {
        return column == columns.id || columns.names.contains(column) || column == columns.room ||
               column == columns.form;
    });
    oneCell_ = result.layout == ImportLayout::AnswersInOneCell;

    const qsizetype width = table_.columnCount(0);
    QList<int> used = columns.names + columns.answers;
    used.append(columns.id);
    for (const int group : {columns.room, columns.form})
        if (group >= 0)
            used.append(group);
    for (const int column : used)
        if (column < 0 || column >= width)
            return fail(column < 0 ? QStringLiteral("ไม่พบคอลัมน์รหัสผู้สอบ")
                                   : QStringLiteral("แถวหัวตารางมี %1 คอลัมน์ (A ถึง %2) ไม่มีคอลัมน์ %3")
                                         .arg(width)
                                         .arg(columnName(width - 1), columnName(column)));
    if (columns.answers.isEmpty())
        return fail(QStringLiteral("ไม่พบคอลัมน์คำตอบ"));
    return true;
}

bool Import::keyInOneCell(CellPlace place, ImportResult& result)
{
    QStringView text = table_.cell(place.row, place.column);
    while (!text.isEmpty() && text.back().isSpace())
        text.chop(1);
    if (text.isEmpty())
        return fail(QStringLiteral("เฉลย (%1) ว่าง").arg(placeName(place)));
    for (qsizetype item = 0; item < text.size(); ++item) {
        const char16_t choice = readChoiceCharacter(text[item]);
        if (choice == BlankAnswer || choice == UnreadableAnswer)
            return fail(QStringLiteral("เฉลยข้อ %1 (%2) ไม่ใช่ตัวเลือก 1–5, ๑–๕, A–E หรือ ก–จ")
                            .arg(item + 1)
                            .arg(placeName(place)));
        result.key += choice;
    }
    return true;
}

bool Import::keyPerItem(const QList<CellPlace>& places, ImportResult& result)
{
    for (qsizetype item = 0; item < places.size(); ++item) {
        const QStringView cell = table_.cell(places[item].row, places[item].column).trimmed();
        const char16_t choice = readChoiceCell(cell);
        if (choice == BlankAnswer)
            return fail(QStringLiteral("ข้อ %1 ไม่มีเฉลย (%2 ว่าง)").arg(item + 1).arg(placeName(places[item])));
        if (choice == SeveralMarks || choice == UnreadableAnswer) {
            // An option text without a label: the key's text is choice 1.
            optionNumbers_.resize(places.size());
            optionTexts_.resize(places.size());
            optionNumbers_[item].insert(cell.toString(), 1);
            optionTexts_[item].append(cell.toString());
            result.key += u'1';
        } else {
            result.key += choice;
        }
    }
    return true;
}

bool Import::findKey(ImportResult& result)
{
    const ImportColumns& columns = result.columns;
    const qsizetype items = oneCell_ ? -1 : columns.answers.size();
    if (!overrides_.key.isEmpty()) {
        result.keySource = KeySource::Typed;
        if (std::any_of(overrides_.key.cbegin(), overrides_.key.cend(),
                        [](QChar c) { return c.isSpace() || c == u','; }))
            return fail(QStringLiteral("เฉลยที่ระบุมีช่องว่างหรือจุลภาค  เขียนเฉลยเป็นตัวเลือกติดกันข้อละ 1 ตัว เช่น 24311"));
        if (items >= 0 && overrides_.key.size() != items)
            return fail(QStringLiteral("เฉลยที่ระบุมี %1 ข้อ แต่มีคอลัมน์คำตอบ %2 คอลัมน์")
                            .arg(overrides_.key.size())
                            .arg(items));
        result.key = overrides_.key;
        return true;
    }
    if (overrides_.keyRow > 0) {
        if (overrides_.keyRow < 2 || overrides_.keyRow > table_.rowCount())
            return fail(QStringLiteral("ไม่มีแถว %1 ที่จะเป็นเฉลย (แถวหัวตารางคือแถว 1 และแถวสุดท้ายคือแถว %2)")
                            .arg(overrides_.keyRow)
                            .arg(table_.rowCount()));
        keyRow_ = overrides_.keyRow - 1;
    } else {
        for (qsizetype row = 1; row < table_.rowCount() && keyRow_ < 0; ++row) {
            if (isKeyWord(table_.cell(row, columns.id)))
                keyRow_ = row;
            for (const int column : columns.names)
                if (isKeyWord(table_.cell(row, column)))
                    keyRow_ = row;
        }
        keyRowMayFollow_ = head_ && keyRow_ < 0;
    }
    if (keyRow_ >= 0) {
        result.keySource = KeySource::KeyRow;
        result.keyRow = int(keyRow_ + 1);
        if (oneCell_)
            return keyInOneCell({keyRow_, columns.answers.first()}, result);
        QList<CellPlace> places;
        for (const int column : columns.answers)
            places.append({keyRow_, column});
        return keyPerItem(places, result);
    }
    if (!columns.keys.isEmpty()) {
        result.keySource = KeySource::KeyColumn;
        // The key column's first filled cell holds the key, or that item's key.
        const auto firstFilled = [this](qsizetype column) {
            qsizetype row = 1;
            while (row + 1 < table_.rowCount() && table_.cell(row, column).trimmed().isEmpty())
                ++row;
            if (head_ && table_.cell(row, column).trimmed().isEmpty())
                needsWholeTable_ = true; // the first filled cell may come after the head
            return CellPlace{row, column};
        };
        if (columns.keys.size() == 1) {
            if (!keyInOneCell(firstFilled(columns.keys.first()), result))
                return false;
            if (items >= 0 && result.key.size() != items)
                return fail(QStringLiteral("เฉลยในคอลัมน์ %1 มี %2 ข้อ แต่มีคอลัมน์คำตอบ %3 คอลัมน์")
                                .arg(columnName(columns.keys.first()))
                                .arg(result.key.size())
                                .arg(items));
            return true;
        }
        QList<CellPlace> places;
        for (qsizetype item = 0; item < columns.keys.size(); ++item) {
            if (columns.keys[item] < 0)
                return fail(QStringLiteral("ไม่พบคอลัมน์เฉลยของข้อ %1").arg(item + 1));
            places.append(firstFilled(columns.keys[item]));
        }
        return keyPerItem(places, result);
    }
    return fail(QStringLiteral("ไม่พบเฉลย  ใส่แถวเฉลยที่มีรหัสหรือชื่อเป็น \"เฉลย\" หรือ KEY  "
                               "หรือบอกแถวเฉลย หรือพิมพ์เฉลยเอง"));
}

char16_t Import::answer(int item, QStringView cell)
{
    if (item >= optionNumbers_.size() || std::as_const(optionNumbers_)[item].isEmpty())
        return readChoiceCell(cell);
    cell = cell.trimmed();
    if (cell.isEmpty())
        return BlankAnswer;
    QHash<QString, int>& numbers = optionNumbers_[item];
    const QString text = cell.toString();
    auto found = numbers.constFind(text);
    if (found == numbers.cend()) {
        found = numbers.insert(text, int(numbers.size()) + 1);
        optionTexts_[item].append(text);
    }
    return *found <= MaxOptionTexts ? char16_t(u'0' + *found) : UnreadableAnswer;
}

template <typename CellOf> QString Import::nameOf(CellOf cellOf) const
{
    QStringList parts;
    for (const int column : std::as_const(result_->columns.names)) {
        QString part = QStringView(cellOf(column)).toString();
        part.replace(QStringLiteral("\r\n"), QStringLiteral(" "));
        part.replace(u'\r', u' ').replace(u'\n', u' ');
        part = part.trimmed();
        if (!part.isEmpty())
            parts.append(part);
    }
    return parts.join(u' ');
}

bool Import::readStudent(qsizetype row, ImportResult& result)
{
    const qsizetype width = table_.columnCount(0);
    if (!table_.sparse) {
        if (table_.columnCount(row) < width)
            return fail(QStringLiteral("แถว %1 มี %2 ช่อง แต่แถวหัวตารางมี %3 ช่อง  แฟ้มอาจเสียหายหรือมีตัวคั่นผิดที่")
                            .arg(row + 1)
                            .arg(table_.columnCount(row))
                            .arg(width));
        for (qsizetype column = width; column < table_.columnCount(row); ++column)
            if (!table_.cell(row, column).trimmed().isEmpty())
                return fail(QStringLiteral("แถว %1 มีข้อมูลเกินคอลัมน์สุดท้ายของแถวหัวตาราง (%2)  "
                                           "แฟ้มอาจเสียหายหรือมีตัวคั่นผิดที่")
                                .arg(row + 1)
                                .arg(placeName({row, column})));
    }
    if (!addExaminee(row, table_.cell(row, result.columns.id),
                     nameOf([this, row](int column) { return table_.cell(row, column); }), result))
        return false;

    if (result.columns.room >= 0)
        result.rooms.append(table_.cell(row, result.columns.room).toString().simplified());
    if (result.columns.form >= 0)
        result.forms.append(table_.cell(row, result.columns.form).toString().simplified());
    const qsizetype items = items_;
    char* const out = answersOf(examinees_);
    std::fill_n(out, items, char(BlankAnswer));
    if (oneCell_) {
        const QStringView text = table_.cell(row, result.columns.answers.first());
        for (qsizetype item = 0; item < std::min(items, text.size()); ++item)
            out[item] = char(readChoiceCharacter(text[item]));
    } else {
        const QList<int>& columns = result.columns.answers;
        for (qsizetype item = 0; item < items; ++item)
            out[item] = char(answer(int(item), table_.cell(row, columns[item])));
    }
    countMarks(out, result);
    return true;
}

bool Import::addExaminee(qsizetype row, QStringView idCell, const QString& name, ImportResult& result)
{
    if (result.ids.size() == MaxStudents)
        return fail(QStringLiteral("มีผู้สอบเกิน %1 คน ซึ่งเป็นจำนวนมากที่สุดที่แฟ้มข้อมูลรับได้").arg(MaxStudents));
    const int idColumn = result.columns.id;
    const QString id = idCell.trimmed().toString();
    if (std::any_of(id.cbegin(), id.cend(), [](QChar c) { return c == u',' || c == u'\n' || c == u'\r'; }) ||
        !cp874BytesOf(id, encoded_))
        return fail(QStringLiteral("รหัสผู้สอบ \"%1\" (%2) มีจุลภาค การขึ้นบรรทัดใหม่ หรืออักษรที่ไม่ใช่ภาษาไทยหรืออังกฤษ  "
                                   "ซึ่งแฟ้มข้อมูลเก็บไม่ได้")
                        .arg(id, placeName({row, idColumn})));
    if (id.size() > MaxCount)
        return fail(
            QStringLiteral("รหัสผู้สอบใน%1 ยาวเกิน %2 ตัวอักษร").arg(placeName({row, idColumn})).arg(MaxCount));
    result.ids.append(id);
    nextAnswers(); // room for the line, which may hold its answers already
    const qsizetype width = encoded_.size();
    if (width > idWidth_) // exactly as wide a few times, then twice as wide, so that it stays linear
        relayout(++relayouts_ <= 8 ? width : std::max(width, 2 * idWidth_));
    widest_ = std::max(widest_, width);
    char* const line = lines_.data() + (++examinees_) * lineSize();
    std::fill(std::copy(encoded_.cbegin(), encoded_.cend(), line), line + idWidth_ + 1, ' ');
    line[lineSize() - 2] = '\r', line[lineSize() - 1] = '\n';
    result.names.append(name);
    result.summary.studentRows.append(int(row + 1));
    return true;
}

// Whether every answer is a choice code, 1 to 9, looked at eight at a time: most rows hold nothing else.
bool onlyChoices(const char* answers, qsizetype count)
{
    qsizetype at = 0;
    for (; at + 8 <= count; at += 8) {
        quint64 eight;
        std::memcpy(&eight, answers + at, 8);
        // Every code is ASCII, so no byte carries into the next: the high bit of each byte says
        // whether it reached '1', and whether it went past '9'.
        constexpr quint64 ones = 0x0101010101010101u, high = 0x8080808080808080u;
        const quint64 fromOne = eight + (0x80 - '1') * ones, pastNine = eight + (0x80 - '9' - 1) * ones;
        if ((fromOne & ~pastNine & high) != high)
            return false;
    }
    return std::all_of(answers + at, answers + count, [](char code) { return uchar(code - '1') < 9; });
}

void Import::countMarks(const char* answers, ImportResult& result) const
{
    if (onlyChoices(answers, result.key.size())) {
        result.summary.perStudent.append(MarkCounts());
        return;
    }
    MarkCounts counts;
    MarkCounts* const perItem = result.summary.perItem.data(); // detached once, not per cell
    const qsizetype items = result.key.size();
    for (qsizetype item = 0; item < items; ++item) {
        if (uchar(answers[item] - '1') < 9) // a choice, as most are
            continue;
        MarkCounts& ofItem = perItem[item];
        switch (char16_t(answers[item])) {
        case BlankAnswer:
            ++counts.blank, ++ofItem.blank;
            break;
        case SeveralMarks:
            ++counts.several, ++ofItem.several;
            break;
        case UnreadableAnswer:
            ++counts.unreadable, ++ofItem.unreadable;
            break;
        default:
            break;
        }
    }
    result.summary.perStudent.append(counts);
}

char* Import::nextAnswers()
{
    const qsizetype end = (examinees_ + 2) * lineSize();
    if (lines_.size() < end)
        lines_.resize(std::max(end, 2 * lines_.size()));
    return answersOf(examinees_ + 1);
}

void Import::relayout(qsizetype width)
{
    const qsizetype from = lineSize(), lines = lines_.size() / from;
    const qsizetype kept = std::min(width, idWidth_);
    QByteArray moved(lines * (width + 1 + items_ + 2), Qt::Uninitialized);
    char* out = moved.data();
    for (qsizetype line = 0; line < lines; ++line) {
        const char* in = lines_.constData() + line * from;
        out = std::copy(in, in + kept, out);
        out = std::fill_n(out, width - kept, ' ');
        out = std::copy(in + idWidth_, in + from, out); // the blank, the answers, CR LF
    }
    lines_ = std::move(moved);
    idWidth_ = width;
}

bool Import::start(ImportResult& result)
{
    result_ = &result;
    qsizetype firstFilled = 0;
    while (firstFilled < table_.rowCount() && table_.rowIsEmpty(firstFilled))
        ++firstFilled;
    if (firstFilled == table_.rowCount())
        return fail(QStringLiteral("แฟ้มนี้ว่างเปล่า ไม่มีข้อมูลเลย"));
    if (firstFilled > 0)
        return fail(QStringLiteral("แถว 1 ว่าง  แถวแรกของแฟ้มต้องเป็นหัวตาราง (รหัส ชื่อ ข้อ 1 ข้อ 2 ...)"));
    for (qsizetype column = 0; column < table_.columnCount(0); ++column)
        result.headers.append(table_.cell(0, column).trimmed().toString());
    if (!chooseColumns(result))
        return false;
    // A key column's key is looked for below the header, which must then have rows below it.
    if (table_.rowCount() < 2)
        return fail(QStringLiteral("ไม่มีผู้สอบเลย มีแต่หัวตารางและเฉลย"));
    if (!findKey(result))
        return false;
    const qsizetype items = result.key.size();
    if (items > MaxCount)
        return fail(QStringLiteral("มี %1 ข้อ เกินกว่า %2 ข้อที่โปรแกรมรับได้").arg(items).arg(MaxCount));
    result.summary.items = int(items);
    result.summary.perItem.resize(items);
    items_ = items;
    lines_.resize(lineSize());                      // the key's line, written last
    lines_.reserve(lineSize() * table_.rowCount()); // a row per examinee at the most
    for (qsizetype row = 1; row < table_.rowCount(); ++row) {
        if (row == keyRow_)
            continue;
        if (table_.rowIsEmpty(row)) {
            result.summary.skipped.append({int(row + 1), QStringLiteral("แถวว่าง")});
            continue;
        }
        if (!readStudent(row, result))
            return false;
    }
    return true;
}

bool Import::finish(ImportResult& result)
{
    if (result.ids.isEmpty())
        return fail(QStringLiteral("ไม่มีผู้สอบเลย มีแต่หัวตารางและเฉลย"));
    result.summary.students = int(result.ids.size());
    for (qsizetype item = 0; item < optionTexts_.size(); ++item)
        if (!optionTexts_[item].isEmpty())
            result.summary.mappings.append({int(item + 1), optionTexts_[item]});
    if (idWidth_ != widest_)
        relayout(widest_);
    lines_.resize((examinees_ + 1) * lineSize());
    const QByteArray label =
        (QByteArray("KEY") + QByteArray(std::max<qsizetype>(0, widest_ - 3), '-')).left(widest_);
    std::fill(std::copy(label.cbegin(), label.cend(), lines_.data()), answersOf(0), ' ');
    const QByteArray key = encodeCp874(result.key);
    std::copy(key.cbegin(), key.cend(), answersOf(0));
    lines_[lineSize() - 2] = '\r', lines_[lineSize() - 1] = '\n';
    lines_.squeeze(); // the room kept for more lines is given back
    result.dataFile = std::move(lines_);
    return true;
}

bool Import::readRest(const CsvHead& csv, ImportResult& result)
{
    if (needsWholeTable_ || oneCell_)
        return false;
    const QList<int>& answerColumns = result.columns.answers;
    const qsizetype width = table_.columnCount(0), items = result.key.size();
    if (answerColumns.size() != items)
        return false;
    // What each column is to an examinee: an item's answers (its index), the identifier or a name,
    // or nothing the import keeps. Items whose options are texts number them in answer().
    constexpr int Unused = -1, Person = -2;
    std::vector<int> role(std::size_t(width), Unused), labelledItem(std::size_t(width), Unused);
    for (qsizetype item = 0; item < items; ++item) {
        const int column = answerColumns[item];
        if (role[column] != Unused)
            return false; // a column named twice among the answers
        role[column] = int(item);
        if (item >= optionNumbers_.size() || optionNumbers_[item].isEmpty())
            labelledItem[column] = int(item);
    }
    // How many columns from each one on hold labelled items in order, one after the other.
    std::vector<int> run(std::size_t(width) + 1, 0);
    for (qsizetype column = width - 1; column >= 0; --column)
        if (labelledItem[column] >= 0)
            run[column] = column + 1 < width && labelledItem[column + 1] == labelledItem[column] + 1
                              ? run[column + 1] + 1
                              : 1;
    role[result.columns.id] = Person;
    for (const int column : std::as_const(result.columns.names))
        role[column] = Person;

    const char* const in = csv.text.data();
    const qsizetype size = csv.text.size();
    const char separator = char(csv.separator);
    // The choice code of a cell of one character, by the rule of every cell; 0 for a byte that is
    // no such cell (a quote, the separator, a line break, NUL, no ASCII).
    std::array<char, 256> choiceOf{};
    for (char16_t unit = 1; unit < 128; ++unit) {
        const QChar character(unit);
        if (unit != u'"' && unit != csv.separator && unit != u'\n' && unit != u'\r')
            choiceOf[unit] = char(readChoiceCell(QStringView(&character, 1)));
    }

    // The separators of four one-character cells, as eight bytes read at once show them.
    const quint64 separators = 0x0100010001000100u * uchar(separator);
    qsizetype read = csv.restAt;
    // As many rows again as the head's make of the rest, and a little more: a data file's worth of
    // memory, not the most the rest could hold, which a fresh heap would have to find every time.
    const qsizetype rows = (size - read) * table_.rowCount() / std::max<qsizetype>(read, 1) + 1;
    lines_.reserve(lines_.size() + (rows + rows / 16) * lineSize());
    QByteArray bytes;
    QString cell;
    // Whether the text is UTF-8, asked only of a file that is not ASCII.
    int validUtf8 = -1;
    const auto utf8 = [&validUtf8, &csv] {
        if (validUtf8 < 0)
            validUtf8 = csv.text.isValidUtf8();
        return validUtf8 == 1;
    };
    std::vector<QString> personCells(static_cast<std::size_t>(width));
    for (qsizetype row = table_.rowCount(); read < size; ++row) {
        char* const out = nextAnswers();
        bool filled = false;
        qsizetype column = 0;
        for (CsvCellEnd end = CsvCellEnd::Separator; end == CsvCellEnd::Separator; ++column) {
            if (column < width && labelledItem[column] >= 0 && read + 1 < size) {
                // The usual cells: one character and the separator, for item after item.
                char* const answers = out + labelledItem[column];
                const char* at = in + read;
                const qsizetype cells = std::min<qsizetype>(run[column], (size - read) / 2);
                char marked = 0;
                qsizetype done = 0;
                // Four cells at a time while the separators stand where they should ...
                for (; std::endian::native == std::endian::little && done + 4 <= cells; done += 4, at += 8) {
                    quint64 eight;
                    std::memcpy(&eight, at, 8);
                    if ((eight & 0xFF00FF00FF00FF00u) != separators)
                        break;
                    const char four[4] = {choiceOf[eight & 0xFF], choiceOf[(eight >> 16) & 0xFF],
                                          choiceOf[(eight >> 32) & 0xFF], choiceOf[(eight >> 48) & 0xFF]};
                    if (!four[0] | !four[1] | !four[2] | !four[3])
                        break;
                    std::memcpy(answers + done, four, 4);
                    marked |= char((four[0] ^ BlankAnswer) | (four[1] ^ BlankAnswer) |
                                   (four[2] ^ BlankAnswer) | (four[3] ^ BlankAnswer));
                }
                // ... and one at a time after them.
                for (char choice; done < cells && (choice = choiceOf[uchar(at[0])]) && at[1] == separator;
                     ++done, at += 2) {
                    answers[done] = choice;
                    marked |= char(choice ^ char(BlankAnswer));
                }
                // Or one at a time in quotes, as forms that quote every cell write them.
                if (done == 0)
                    for (char choice; 4 * done + 4 <= size - read && done < run[column] && at[0] == '"' &&
                                      (choice = choiceOf[uchar(at[1])]) && at[2] == '"' && at[3] == separator;
                         ++done, at += 4) {
                        answers[done] = choice;
                        marked |= char(choice ^ char(BlankAnswer));
                    }
                filled = filled || marked;
                read = at - in;
                column += done;
                if (column >= width || labelledItem[column] < 0 || read + 1 >= size) {
                    --column; // the loop's step
                    continue;
                }
                // The last of them, or a cell in quotes, as some exports write every cell: one
                // character, then the separator or the line break.
                const bool quoted = in[read] == '"';
                const qsizetype length = quoted ? 3 : 1;
                const char choice = read + length < size ? choiceOf[uchar(in[read + quoted])] : 0;
                const char after = choice ? in[read + length] : 0;
                if (choice && (!quoted || in[read + 2] == '"') &&
                    (after == separator || after == '\n' || after == '\r')) {
                    out[labelledItem[column]] = choice;
                    filled = filled || choice != char(BlankAnswer);
                    read += length + 1;
                    if (after != separator) {
                        read += after == '\r' && read < size && in[read] == '\n';
                        end = CsvCellEnd::Row;
                    }
                    continue;
                }
            }
            bytes.resize(0);
            end = readCsvCell(in, size, read, csv.separator, [&bytes](char16_t c) { bytes.append(char(c)); });
            if (end == CsvCellEnd::OpenQuote || bytes.contains('\0'))
                return false; // a quote that never ends, or no text: refused
            if (isAscii(bytes)) {
                cell.resize(0);
                cell.append(QLatin1StringView(bytes));
            } else if (utf8() && !bytes.startsWith("\xEF\xBB\xBF")) { // the mark would be dropped
                cell = QString::fromUtf8(bytes);
            } else {
                return false; // code page 874, decoded whole
            }
            const bool blank = std::all_of(cell.cbegin(), cell.cend(), [](QChar c) { return c.isSpace(); });
            filled = filled || !blank;
            const int what = column < width ? role[column] : Unused;
            if (what >= 0)
                out[what] = char(answer(what, cell));
            else if (what == Person)
                personCells[column].resize(0), personCells[column].append(QStringView(cell)); // no allocation
            else if (column >= width && !blank)
                return false; // data beyond the header's last column: refused
        }
        const auto cellOf = [&](int at) {
            return at < column ? QStringView(personCells[at]) : QStringView();
        };
        if (keyRowMayFollow_ && (isKeyWord(cellOf(result.columns.id)) ||
                                 std::any_of(result.columns.names.cbegin(), result.columns.names.cend(),
                                             [&](int at) { return isKeyWord(cellOf(at)); })))
            return false; // the key row, which the whole table looks for
        if (!filled) {
            result.summary.skipped.append({int(row + 1), QStringLiteral("แถวว่าง")});
            continue;
        }
        if (column < width || !addExaminee(row, cellOf(result.columns.id), nameOf(cellOf), result))
            return false;
        countMarks(answersOf(examinees_), result); // the line may have moved
    }
    return true;
}

QString openFailed(const QString& path, const QString& reason)
{
    return QStringLiteral("เปิดแฟ้ม %1 ไม่ได้ครับ  %2").arg(fileName(path), reason);
}

} // namespace

bool isSpreadsheetName(const QString& path)
{
    const QString suffix = QFileInfo(path).suffix().toLower();
    return suffix == u"csv" || suffix == u"tsv" || suffix == u"xlsx" || suffix == u"ods";
}

namespace {

QList<QStringList> previewOf(const Table& table)
{
    QList<QStringList> preview;
    for (qsizetype row = 0; row < std::min<qsizetype>(table.rowCount(), PreviewRows); ++row) {
        QStringList cells;
        for (qsizetype column = 0; column < table.columnCount(row); ++column)
            cells.append(table.cell(row, column).toString());
        preview.append(cells);
    }
    return preview;
}

} // namespace

ImportResult importTable(const Table& table, const QString& name, const ImportOverrides& overrides)
{
    ImportResult result;
    Import import(table, name, overrides);
    result.preview = previewOf(table);
    result.ok = import.run(result);
    if (!result.ok) {
        ImportResult failed;
        failed.error = import.error();
        failed.preview = std::move(result.preview);
        failed.layout = result.layout;
        failed.columns = std::move(result.columns);
        failed.headers = std::move(result.headers);
        return failed;
    }
    return result;
}

bool importCsvQuickly(const QByteArray& bytes, const QString& name, const ImportOverrides& overrides,
                      ImportResult& result, qsizetype headRows)
{
    // The head holds the preview's rows and the key row wherever exports put it.
    CsvHead csv;
    if (!readCsvHead(bytes, headRows, csv) || csv.restAt == csv.text.size())
        return false; // a file that ends within its head is read whole anyway
    ImportResult quick;
    CsvHead preview;
    quick.preview = previewOf(
        headRows >= PreviewRows || !readCsvHead(bytes, PreviewRows, preview) ? csv.table : preview.table);
    Import import(csv.table, name, overrides, true);
    // The pupils' rooms and forms are read with the whole table.
    if (!import.start(quick) || quick.columns.room >= 0 || quick.columns.form >= 0 ||
        !import.readRest(csv, quick) || !import.finish(quick))
        return false;
    quick.ok = true;
    result = std::move(quick);
    return true;
}

ImportResult importCsvThroughTable(const QByteArray& bytes, const QString& name,
                                   const ImportOverrides& overrides)
{
    Table table;
    ImportResult result;
    if (readCsv(bytes, name, table, result.error))
        result = importTable(table, name, overrides);
    return result;
}

ImportResult importSpreadsheetBytes(const QByteArray& bytes, const QString& name,
                                    const ImportOverrides& overrides)
{
    ImportResult result;
    try {
        if (bytes.isEmpty()) {
            result.error = QStringLiteral("นำเข้าแฟ้ม %1 ไม่ได้ครับ  แฟ้มนี้ว่างเปล่า ไม่มีข้อมูลเลย").arg(fileName(name));
            return result;
        }
        if (isTextSheet(bytes, name))
            return importCsvQuickly(bytes, name, overrides, result)
                       ? result
                       : importCsvThroughTable(bytes, name, overrides);
        Table table;
        QStringList sheets;
        if (readSheetBytes(bytes, name, overrides.sheet, table, result.error, &sheets))
            result = importTable(table, name, overrides);
        result.sheets = sheets; // also when the sheet asked for is not among them
        return result;
    } catch (const std::bad_alloc&) {
        result = ImportResult();
        result.error = QStringLiteral("นำเข้าแฟ้ม %1 ไม่ได้ครับ  %2  ปิดโปรแกรมอื่นที่เปิดอยู่ก่อน")
                           .arg(fileName(name), systemErrorText(ENOMEM));
        return result;
    }
}

ImportResult importSpreadsheet(const QString& path, const ImportOverrides& overrides)
{
    ImportResult result;
    InputFile file;
    if (QString reason; !file.open(path, reason)) {
        result.error = openFailed(path, reason);
        return result;
    }
    if (file.size() > MaxDataFileBytes) {
        result.error = openFailed(path, QStringLiteral("แฟ้มใหญ่เกินกว่าแฟ้มใด ๆ ที่โปรแกรมรับได้"));
        return result;
    }
    QByteArray bytes;
    try {
        bytes = file.device().readAll();
    } catch (const std::bad_alloc&) {
        result.error = openFailed(path, systemErrorText(ENOMEM));
        return result;
    }
    if (file.device().error() != QFileDevice::NoError || !file.unchanged()) {
        result.error = openFailed(path, systemErrorText(EIO));
        return result;
    }
    return importSpreadsheetBytes(bytes, path, overrides);
}
