#include "import/LayoutDetection.h"

#include "import/ChoiceReading.h"
#include "model/TestData.h"

#include <QRegularExpression>

namespace {

enum class Heading {
    Answer,
    Timestamp,
    Email,
    Score,
    Id,
    Name,
    FirstName,
    LastName,
    Key,
    NumberedQuestion,
    Room,
    Form
};

bool isOneOf(const QString& text, std::initializer_list<const char16_t*> words)
{
    for (const char16_t* word : words)
        if (text == QStringView(word))
            return true;
    return false;
}

// What a header names. Written by the tools teachers use, in Thai or English.
Heading headingOf(QStringView header)
{
    const QString text = header.trimmed().toString().toLower().simplified();
    if (isOneOf(text, {u"timestamp", u"ประทับเวลา", u"start time", u"completion time", u"เวลาประทับ",
                       u"เวลาเริ่มต้น", u"เวลาที่เสร็จสมบูรณ์", u"submitted at", u"date"}))
        return Heading::Timestamp;
    if (text.contains(u"email") || text.contains(u"e-mail") || text.contains(u"อีเมล"))
        return Heading::Email;
    // Scores, points and feedback, in total or per question ("Points - Q1"), are the form's own.
    if (isOneOf(text, {u"score", u"total score", u"total", u"points", u"total points", u"marks", u"คะแนน",
                       u"คะแนนรวม", u"percent", u"percent correct", u"%", u"quiz feedback",
                       u"last modified time"}) ||
        text.startsWith(u"points - ") || text.startsWith(u"feedback - ") || text.startsWith(u"คะแนน - "))
        return Heading::Score;
    if (isOneOf(text, {u"id", u"student id", u"studentid", u"student no", u"no", u"no.", u"number", u"รหัส",
                       u"เลขที่", u"ที่"}) ||
        text.contains(u"รหัส") || text.contains(u"เลขประจำตัว") || text.contains(u"student id"))
        return Heading::Id;
    if (isKeyWord(text))
        return Heading::Key;
    // A grade's rooms in one sheet, and the form of a shuffled test, are the pupils' groups, no answers.
    if (isOneOf(text, {u"ห้อง", u"ห้องเรียน", u"room", u"class", u"classroom", u"section"}))
        return Heading::Room;
    if (isOneOf(text, {u"ชุด", u"ชุดข้อสอบ", u"ชุดที่", u"รหัสชุด", u"form", u"test form", u"version"}))
        return Heading::Form;
    if (isOneOf(text, {u"นามสกุล", u"สกุล", u"last name", u"lastname", u"surname", u"family name"}))
        return Heading::LastName;
    if (isOneOf(text, {u"ชื่อ", u"first name", u"firstname", u"given name"}))
        return Heading::FirstName;
    if (text.contains(u"ชื่อ") || text.contains(u"name"))
        return Heading::Name;
    static const QRegularExpression question(QStringLiteral("^(q|question)\\s*\\.?\\s*[0-9]+$"));
    if (question.match(text).hasMatch())
        return Heading::NumberedQuestion;
    return Heading::Answer;
}

// The item a per-question key column answers ("Key 3", "Q3 Key", "เฉลยข้อ 3"), counted from 1; 0 for
// any other header.
int keyedItem(QStringView header)
{
    static const QRegularExpression keyed(
        QStringLiteral("^(?:key|เฉลย)\\s*(?:ข้อ(?:ที่)?|q)?\\s*([0-9]+)$|^q?\\s*([0-9]+)\\s*(?:key|เฉลย)$"));
    const auto match = keyed.match(header.trimmed().toString().toLower());
    if (!match.hasMatch())
        return 0;
    // A number beyond the most items a data file holds is no item ("KEY 1234512345" is a key).
    const int item = (match.captured(1).isEmpty() ? match.captured(2) : match.captured(1)).toInt();
    return item <= MaxCount ? item : 0;
}

} // namespace

bool holdsAllAnswers(const Table& table, int column)
{
    // A cell of answers is mostly choice labels; an option text is mostly other letters.
    const auto answers = [](QStringView cell) {
        qsizetype labels = 0;
        for (const QChar character : cell)
            labels += choiceOfLabel(character) != 0;
        return cell.size() > 1 && 2 * labels >= cell.size();
    };
    qsizetype filled = 0, several = 0;
    for (qsizetype row = 1; row < table.rowCount(); ++row) {
        const QStringView cell = table.cell(row, column).trimmed();
        filled += !cell.isEmpty();
        several += answers(cell);
    }
    return filled > 0 && 2 * several > filled;
}

ImportLayout detectLayout(const Table& table, ImportColumns& columns)
{
    columns = {};
    if (table.rowCount() == 0)
        return ImportLayout::RowPerStudent;
    bool timestamp = false, questions = false;
    int firstName = -1, lastName = -1, wholeKey = -1;
    QList<int> keyColumnOfItem; // by the item number in its header
    for (int column = 0; column < table.columnCount(0); ++column) {
        const QStringView header = table.cell(0, column);
        if (const int item = keyedItem(header)) {
            if (keyColumnOfItem.size() < item)
                keyColumnOfItem.resize(item, -1);
            keyColumnOfItem[item - 1] = column;
            continue;
        }
        switch (headingOf(header)) {
        case Heading::Timestamp:
            timestamp = true;
            break;
        case Heading::Email:
        case Heading::Score:
            break;
        case Heading::Id:
            if (columns.id < 0)
                columns.id = column;
            break;
        case Heading::Name:
            if (columns.names.isEmpty())
                columns.names = {column};
            break;
        case Heading::FirstName:
            firstName = firstName < 0 ? column : firstName;
            break;
        case Heading::LastName:
            lastName = lastName < 0 ? column : lastName;
            break;
        case Heading::Key:
            wholeKey = column;
            break;
        case Heading::Room:
            if (columns.room < 0)
                columns.room = column;
            break;
        case Heading::Form:
            if (columns.form < 0)
                columns.form = column;
            break;
        case Heading::NumberedQuestion:
            questions = true;
            columns.answers.append(column);
            break;
        case Heading::Answer:
            columns.answers.append(column);
            break;
        }
    }
    if (columns.names.isEmpty() && firstName >= 0)
        columns.names = lastName >= 0 ? QList<int>{firstName, lastName} : QList<int>{firstName};
    else if (columns.names.isEmpty() && lastName >= 0)
        columns.names = {lastName};
    // Without an identifier column, the name identifies the student (as a form asks for names only);
    // without a name either, the first column not otherwise named.
    if (columns.id < 0 && !columns.names.isEmpty())
        columns.id = columns.names.first();
    else if (columns.id < 0 && !columns.answers.isEmpty())
        columns.id = columns.answers.takeFirst();

    if (wholeKey >= 0) {
        columns.keys = {wholeKey};
    } else if (!keyColumnOfItem.isEmpty()) {
        for (int index = 0; index < columns.answers.size(); ++index)
            columns.keys.append(index < keyColumnOfItem.size() ? keyColumnOfItem[index] : -1);
    }
    if (timestamp)
        return ImportLayout::OnlineForm;
    if (columns.answers.size() == 1 && holdsAllAnswers(table, columns.answers.first()))
        return ImportLayout::AnswersInOneCell;
    if (!columns.keys.isEmpty() || questions)
        return ImportLayout::Scanner;
    return ImportLayout::RowPerStudent;
}
