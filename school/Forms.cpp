#include "school/Forms.h"

#include "analysis/Answers.h"
#include "school/TableFile.h"

#include <QFileInfo>
#include <QHash>

#include <algorithm>

namespace {

enum Column { FormColumn, ItemColumn, MasterColumn, OptionsColumn };

// The header texts each column answers to, lower case.
const std::vector<QStringList>& headerNames()
{
    static const std::vector<QStringList> names = {
        {QStringLiteral("ชุด"), QStringLiteral("ชุดข้อสอบ"), QStringLiteral("รหัสชุด"), QStringLiteral("form")},
        {QStringLiteral("ข้อ"), QStringLiteral("ข้อที่"), QStringLiteral("item")},
        {QStringLiteral("ข้อต้นฉบับ"), QStringLiteral("ข้อในชุดต้นฉบับ"), QStringLiteral("master"),
         QStringLiteral("master item")},
        {QStringLiteral("ลำดับตัวเลือก"), QStringLiteral("ตัวเลือก"), QStringLiteral("options")},
    };
    return names;
}

// Form codes are matched ignoring case, as a teacher may write "b" on the sheet and "B" in the table.
QString codeKey(const QString& code)
{
    return code.toUpper();
}

class Reader {
public:
    Reader(const Table& table, const QString& name, int items) : table_(table), name_(name), items_(items) {}

    bool read(FormFile& forms)
    {
        const qsizetype header = headerRow(table_);
        if (header == table_.rowCount())
            return fail(QStringLiteral("แฟ้มชุดข้อสอบ %1 ว่างเปล่า ไม่มีหัวตารางและข้อใดเลย").arg(name_));
        columns_ = findColumns(table_, header, headerNames());
        for (const int required : {FormColumn, ItemColumn, MasterColumn})
            if (columns_[required] < 0)
                return fail(QStringLiteral("แฟ้มชุดข้อสอบ %1 แถว %2: หัวตารางไม่มีคอลัมน์ %3  หัวตารางต้องมีคอลัมน์ "
                                           "ชุด (form) ข้อ (item) และ ข้อต้นฉบับ (master)")
                                .arg(name_)
                                .arg(header + 1)
                                .arg(headerNames()[required].first()));

        forms = FormFile{QFileInfo(name_).fileName(), {}};
        QHash<QString, int> formIndex;
        std::vector<std::vector<qsizetype>> placeRow,
            masterRow; // per form: the row of each place, master item
        for (qsizetype row = header + 1; row < table_.rowCount(); ++row) {
            if (table_.rowIsEmpty(row))
                continue;
            const QString code = cell(row, FormColumn).toString().simplified();
            if (code.isEmpty())
                return failAt(row, QStringLiteral("ไม่มีรหัสชุด"));
            int& index = formIndex[codeKey(code)]; // its place + 1; 0 for a form not seen yet
            if (index == 0) {
                forms.forms.push_back({code, std::vector<int>(std::size_t(items_), 0),
                                       std::vector<QString>(std::size_t(items_))});
                placeRow.emplace_back(std::size_t(items_), 0);
                masterRow.emplace_back(std::size_t(items_), 0);
                index = int(forms.forms.size());
            }
            TestForm& form = forms.forms[std::size_t(index) - 1];
            int place = 0, master = 0;
            if (!number(row, ItemColumn, code, place) || !number(row, MasterColumn, code, master))
                return false;
            qsizetype& placeSeen = placeRow[std::size_t(index) - 1][std::size_t(place) - 1];
            if (placeSeen)
                return failAt(row, QStringLiteral("ข้อ %1 ของชุด %2 อยู่ในแถว %3 แล้ว  ข้อหนึ่งอยู่ได้แถวเดียว")
                                       .arg(place)
                                       .arg(code)
                                       .arg(placeSeen));
            qsizetype& masterSeen = masterRow[std::size_t(index) - 1][std::size_t(master) - 1];
            if (masterSeen)
                return failAt(row, QStringLiteral("ข้อต้นฉบับ %1 อยู่ในชุด %2 แล้วที่แถว %3  ข้อต้นฉบับแต่ละข้อ"
                                                  "ต้องอยู่ในแต่ละชุดครั้งเดียว")
                                       .arg(master)
                                       .arg(code)
                                       .arg(masterSeen));
            placeSeen = masterSeen = row + 1;
            form.master[std::size_t(place) - 1] = master;
            QString options;
            for (const QChar c : cell(row, OptionsColumn))
                if (c.isDigit())
                    options += QChar(char16_t(u'0' + c.digitValue())); // Thai digits as Arabic ones
                else if (!c.isSpace() && c != u',' && c != u'-')
                    return failAt(row, optionsWrong(cell(row, OptionsColumn).toString()));
            if (!options.isEmpty() && !isOptionOrder(options))
                return failAt(row, optionsWrong(cell(row, OptionsColumn).toString()));
            form.options[std::size_t(place) - 1] = options;
        }
        if (forms.forms.empty())
            return fail(QStringLiteral("แฟ้มชุดข้อสอบ %1 มีแต่หัวตาราง ไม่มีข้อใดเลย").arg(name_));
        for (const TestForm& form : forms.forms) {
            const auto count =
                std::count_if(form.master.begin(), form.master.end(), [](int m) { return m > 0; });
            if (count != items_) {
                QStringList missing;
                for (int place = 1; place <= items_ && missing.size() < 10; ++place)
                    if (form.master[std::size_t(place) - 1] == 0)
                        missing << QString::number(place);
                return fail(QStringLiteral("แฟ้มชุดข้อสอบ %1: ชุด %2 มี %3 ข้อ แต่แบบสอบในแฟ้มข้อมูลมี %4 ข้อ "
                                           "(ชุด %2 ขาดข้อ %5)  ทุกชุดต้องมีทุกข้อ")
                                .arg(name_, form.code)
                                .arg(count)
                                .arg(items_)
                                .arg(missing.join(QStringLiteral(", "))));
            }
        }
        return true;
    }

    const QString& error() const { return error_; }

private:
    QStringView cell(qsizetype row, int column) const
    {
        return columns_[column] < 0 ? QStringView() : table_.cell(row, columns_[column]);
    }

    // An item number of the row's `column`, 1..items.
    bool number(qsizetype row, int column, const QString& code, int& value)
    {
        const QString written = cell(row, column).trimmed().toString();
        const std::optional<qint64> read = cellNumber(written);
        if (!read)
            return failAt(row,
                          QStringLiteral("%1 '%2' ไม่ใช่เลขข้อ").arg(headerNames()[column].first(), written));
        if (*read < 1 || *read > items_)
            return failAt(row, QStringLiteral("ชุด %1 ไม่มี%2 %3 ในแบบสอบนี้ (แฟ้มข้อมูลมีข้อ 1 ถึง %4)")
                                   .arg(code, headerNames()[column].first())
                                   .arg(*read)
                                   .arg(items_));
        value = int(*read);
        return true;
    }

    // Every option from 1 to their number once, at least two of them.
    static bool isOptionOrder(const QString& options)
    {
        QString sorted = options;
        std::sort(sorted.begin(), sorted.end());
        for (qsizetype at = 0; at < sorted.size(); ++at)
            if (sorted[at] != QChar(char16_t(u'1' + at)))
                return false;
        return sorted.size() >= 2;
    }

    static QString optionsWrong(const QString& written)
    {
        return QStringLiteral("ลำดับตัวเลือก '%1' ต้องบอกตัวเลือกของชุดต้นฉบับที่อยู่ในตัวเลือกที่ 1, 2, 3 ... ของชุดนี้ "
                              "โดยมีตัวเลือก 1 ถึงตัวสุดท้ายตัวละครั้ง เช่น 3142")
            .arg(written);
    }

    bool fail(const QString& error)
    {
        error_ = error;
        return false;
    }

    // Rows as the spreadsheet numbers them, the first being 1.
    bool failAt(qsizetype row, const QString& what)
    {
        return fail(QStringLiteral("แฟ้มชุดข้อสอบ %1 แถว %2: %3").arg(name_).arg(row + 1).arg(what));
    }

    const Table& table_;
    QString name_;
    int items_;
    std::vector<qsizetype> columns_;
    QString error_;
};

// A form turned around: where each master item stands on it, and its option orders as bytes.
struct Plan {
    std::vector<int> place;          // per master item m at m − 1: its place on the form
    std::vector<QByteArray> options; // per place q at q − 1
};

Plan planOf(const TestForm& form)
{
    Plan plan{std::vector<int>(form.master.size()), std::vector<QByteArray>(form.master.size())};
    for (std::size_t q = 0; q < form.master.size(); ++q) {
        plan.place[std::size_t(form.master[q]) - 1] = int(q) + 1;
        plan.options[q] = form.options[q].toLatin1();
    }
    return plan;
}

// The answers of one sheet of the form in the master order; a place past the answers is a blank.
template <typename Cell> void toMaster(const Cells<Cell>& cells, const Plan& plan, Cell* master)
{
    for (std::size_t m = 0; m < plan.place.size(); ++m) {
        const int q = plan.place[m];
        Cell c = q <= cells.count ? cells.cells[q - 1] : Cell(u' ');
        const QByteArray& options = plan.options[std::size_t(q) - 1];
        if (c >= Cell(u'1') && c < Cell(u'1' + options.size()))
            c = Cell(options[c - Cell(u'1')]);
        master[m] = c;
    }
}

AnswerText mappedRow(const AnswerRow& row, const Plan& plan)
{
    return row.visit([&]<typename Cell>(const Cells<Cell>& cells) {
        if constexpr (sizeof(Cell) == 1) {
            QByteArray bytes(qsizetype(plan.place.size()), Qt::Uninitialized);
            toMaster(cells, plan, reinterpret_cast<std::uint8_t*>(bytes.data()));
            return AnswerText::fromCp874(std::move(bytes));
        } else {
            QString text(qsizetype(plan.place.size()), Qt::Uninitialized);
            toMaster(cells, plan, reinterpret_cast<char16_t*>(text.data()));
            return AnswerText(text);
        }
    });
}

// The key as the master form's when `key` is the answer sheet of `form`.
QString keyToMaster(const QString& key, const Plan& plan)
{
    QString master(qsizetype(plan.place.size()), Qt::Uninitialized);
    toMaster(Cells<char16_t>{reinterpret_cast<const char16_t*>(key.utf16()), int(key.size())}, plan,
             reinterpret_cast<char16_t*>(master.data()));
    return master;
}

} // namespace

bool readFormsBytes(const QByteArray& bytes, const QString& name, int items, FormFile& forms, QString& error)
{
    Table table;
    if (!readTableBytes(bytes, name, table, error))
        return false;
    Reader reader(table, name, items);
    if (!reader.read(forms)) {
        error = reader.error();
        return false;
    }
    return true;
}

bool readForms(const QString& path, int items, FormFile& forms, QString& error)
{
    Table table;
    if (!readTableFile(path, QStringLiteral("แฟ้มชุดข้อสอบ"), table, error))
        return false;
    Reader reader(table, QFileInfo(path).fileName(), items);
    if (!reader.read(forms)) {
        error = reader.error();
        return false;
    }
    return true;
}

QString formCodeOfId(const QString& id)
{
    const QString trimmed = id.trimmed();
    return trimmed.isEmpty() ? QString() : trimmed.right(1);
}

bool mapToMaster(TestData& data, const FormFile& forms, const FormCodes& given, PupilGroups& groups,
                 QString& error)
{
    QHash<QString, int> formIndex;
    QStringList codes;
    for (std::size_t k = 0; k < forms.forms.size(); ++k) {
        formIndex.insert(codeKey(forms.forms[k].code), int(k));
        codes << forms.forms[k].code;
    }
    std::vector<int> formOf(std::size_t(data.NumStud));
    for (int i = 1; i <= data.NumStud; ++i) {
        const QString code =
            given.codes.isEmpty() ? formCodeOfId(data.StudID.value(i)) : given.codes.value(i - 1);
        const auto found = formIndex.constFind(codeKey(code));
        if (found == formIndex.cend()) {
            error =
                QStringLiteral("ผู้สอบคนที่ %1 (เลขประจำตัว %2) ทำข้อสอบชุด '%3' ซึ่งไม่มีในแฟ้มชุดข้อสอบ %4 "
                               "(มีชุด %5)  รหัสชุดมาจาก%6")
                    .arg(i)
                    .arg(data.StudID.value(i).trimmed(), code, forms.name, codes.join(QStringLiteral(", ")),
                         given.codes.isEmpty() ? QStringLiteral("อักขระตัวสุดท้ายของเลขประจำตัว") : given.source);
            return false;
        }
        formOf[std::size_t(i) - 1] = *found;
    }
    std::vector<Plan> plans;
    for (const TestForm& form : forms.forms)
        plans.push_back(planOf(form));
    for (int i = 1; i <= data.NumStud; ++i) {
        const AnswerText master =
            mappedRow(answerRow(data, i), plans[std::size_t(formOf[std::size_t(i) - 1])]);
        data.StudAns[i] = master;
        data.AnsMatrix.setRow(i, master);
    }
    groups = PupilGroups{QStringLiteral("ชุดข้อสอบ"), codes, std::move(formOf)};
    return true;
}

QString formKeyWarning(const TestData& data, const FormFile& forms)
{
    // The data are in the master order by now. Were the key another form's sheet, its master form
    // would fit the answers far better than the key as it was given.
    const KeyUnits given = keyUnits(data);
    const auto rightAnswers = [&](const KeyUnits& keys) {
        std::int64_t right = 0;
        for (int i = 1; i <= data.NumStud; ++i) {
            const AnswerRow row = answerRow(data, i);
            for (int item = 1; item <= data.NumItems; ++item)
                right += isRight(row, keys, item);
        }
        return right;
    };
    const std::int64_t asGiven = rightAnswers(given);
    for (const TestForm& form : forms.forms) {
        TestData asForm;
        asForm.setKey(keyToMaster(data.AllKeys, planOf(form)));
        if (asForm.AllKeys == data.AllKeys)
            continue;
        const std::int64_t right = rightAnswers(keyUnits(asForm));
        // A tenth of all answers more is far beyond what a few miskeyed items could explain.
        if (right - asGiven > std::int64_t(data.NumStud) * data.NumItems / 10)
            return QStringLiteral("เฉลยในแฟ้มข้อมูลดูเหมือนเป็นเฉลยของชุด %1 ไม่ใช่ของชุดต้นฉบับ: ถ้าถือว่าเป็นเฉลยของชุด %1 "
                                  "ผู้สอบจะตอบถูกรวม %2 คำตอบ แทนที่จะเป็น %3  เฉลยในแฟ้มข้อมูลต้องเป็นเฉลยของชุดต้นฉบับ "
                                  "(ชุดที่ข้อและตัวเลือกเรียงตามข้อต้นฉบับ)  ตรวจเฉลยก่อนใช้ผลนี้")
                .arg(form.code)
                .arg(right)
                .arg(asGiven);
    }
    return {};
}

ComparisonTexts formComparisonTexts(const QString& note)
{
    return {QStringLiteral("forms"),
            QStringLiteral("เปรียบเทียบชุดข้อสอบ"),
            QStringLiteral("Forms"),
            QStringLiteral("ชุด"),
            QStringLiteral("อาจเพราะตำแหน่งของข้อหรือลำดับตัวเลือกในชุดนั้นช่วยหรือทำให้ตอบยากขึ้น "
                           "หรือคำตอบที่แปลงกลับเป็นชุดต้นฉบับผิดเพราะแฟ้มชุดข้อสอบ"),
            note};
}
