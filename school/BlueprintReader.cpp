#include "school/Blueprint.h"

#include "school/TableFile.h"

#include <QDir>
#include <QFileInfo>
#include <QHash>

#include <optional>

namespace {

enum Column { ItemColumn, CodeColumn, DescriptionColumn, DifficultyColumn, BloomColumn };

// The header texts each column answers to, lower case.
const std::vector<QStringList>& headerNames()
{
    static const std::vector<QStringList> names = {
        {QStringLiteral("ข้อ"), QStringLiteral("ข้อที่"), QStringLiteral("item"), QStringLiteral("no"),
         QStringLiteral("no.")},
        {QStringLiteral("ตัวชี้วัด"), QStringLiteral("รหัสตัวชี้วัด"), QStringLiteral("indicator"),
         QStringLiteral("code"), QStringLiteral("indicator code")},
        {QStringLiteral("คำอธิบาย"), QStringLiteral("คำอธิบายตัวชี้วัด"), QStringLiteral("description")},
        {QStringLiteral("ความยาก"), QStringLiteral("ระดับความยาก"), QStringLiteral("difficulty"),
         QStringLiteral("intended difficulty")},
        {QStringLiteral("ระดับพฤติกรรม"), QStringLiteral("พฤติกรรม"), QStringLiteral("bloom"),
         QStringLiteral("bloom level")},
    };
    return names;
}

std::optional<IntendedDifficulty> intendedDifficulty(const QString& word)
{
    static const QHash<QString, IntendedDifficulty> words = {
        {QString(), IntendedDifficulty::Unstated},
        {QStringLiteral("ง่าย"), IntendedDifficulty::Easy},
        {QStringLiteral("easy"), IntendedDifficulty::Easy},
        {QStringLiteral("ปานกลาง"), IntendedDifficulty::Medium},
        {QStringLiteral("กลาง"), IntendedDifficulty::Medium},
        {QStringLiteral("medium"), IntendedDifficulty::Medium},
        {QStringLiteral("ยาก"), IntendedDifficulty::Hard},
        {QStringLiteral("hard"), IntendedDifficulty::Hard},
    };
    const auto found = words.constFind(word);
    if (found == words.cend())
        return std::nullopt;
    return *found;
}

class Reader {
public:
    Reader(const Table& table, const QString& name, int items) : table_(table), name_(name), items_(items) {}

    bool read(Blueprint& blueprint)
    {
        const qsizetype header = headerRow(table_);
        if (header == table_.rowCount())
            return fail(QStringLiteral("แผนผังข้อสอบ %1 ว่างเปล่า ไม่มีหัวตารางและข้อใดเลย").arg(name_));
        columns_ = findColumns(table_, header, headerNames());
        for (const int required : {ItemColumn, CodeColumn})
            if (columns_[required] < 0)
                return fail(QStringLiteral("แผนผังข้อสอบ %1 แถว %2: หัวตารางไม่มีคอลัมน์ %3  "
                                           "หัวตารางต้องมีคอลัมน์ ข้อ (item) และ ตัวชี้วัด (indicator)")
                                .arg(name_)
                                .arg(header + 1)
                                .arg(headerNames()[required].first()));

        blueprint = Blueprint();
        blueprint.name = name_;
        blueprint.indicatorOf.assign(std::size_t(items_) + 1, -1);
        blueprint.intent.assign(std::size_t(items_) + 1, IntendedDifficulty::Unstated);
        blueprint.bloom.assign(std::size_t(items_) + 1, QString());
        std::vector<qsizetype> rowOfItem(std::size_t(items_) + 1, 0);
        QHash<QString, int> indicatorIndex;
        for (qsizetype row = header + 1; row < table_.rowCount(); ++row) {
            if (table_.rowIsEmpty(row))
                continue;
            const QString written = cell(row, ItemColumn).trimmed().toString();
            const std::optional<qint64> number = cellNumber(written);
            if (!number)
                return failAt(row, QStringLiteral("ข้อ '%1' ไม่ใช่เลขข้อ").arg(written));
            if (*number < 1 || *number > items_)
                return failAt(
                    row, QStringLiteral("ไม่มีข้อ %1 ในแบบสอบนี้ (แบบสอบมีข้อ 1 ถึง %2)").arg(*number).arg(items_));
            const int item = int(*number);
            if (rowOfItem[item] != 0)
                return failAt(
                    row,
                    QStringLiteral("ข้อ %1 อยู่ในแถว %2 แล้ว  ข้อหนึ่งอยู่ได้แถวเดียว").arg(item).arg(rowOfItem[item]));
            rowOfItem[item] = row + 1;
            const QString code = cell(row, CodeColumn).toString().simplified();
            if (code.isEmpty())
                return failAt(row, QStringLiteral("ข้อ %1 ไม่มีรหัสตัวชี้วัด").arg(item));
            const QString difficulty = matchText(cell(row, DifficultyColumn));
            const std::optional<IntendedDifficulty> intent = intendedDifficulty(difficulty);
            if (!intent)
                return failAt(row, QStringLiteral("ไม่รู้จักความยาก '%1'  ใช้ ง่าย ปานกลาง หรือ ยาก "
                                                  "(easy, medium, hard) หรือเว้นว่างไว้")
                                       .arg(cell(row, DifficultyColumn).trimmed()));

            int& index = indicatorIndex[code]; // its place + 1; 0 for a code not seen yet
            if (index == 0) {
                blueprint.indicators.append({code, {}, {}});
                index = int(blueprint.indicators.size());
            }
            Indicator& indicator = blueprint.indicators[index - 1];
            if (indicator.description.isEmpty())
                indicator.description = cell(row, DescriptionColumn).toString().simplified();
            blueprint.indicatorOf[item] = index - 1;
            blueprint.intent[item] = *intent;
            blueprint.bloom[item] = cell(row, BloomColumn).toString().simplified();
        }
        if (!blueprint.exists())
            return fail(QStringLiteral("แผนผังข้อสอบ %1 มีแต่หัวตาราง ไม่มีข้อใดเลย").arg(name_));
        for (int item = 1; item <= items_; ++item)
            if (blueprint.indicatorOf[item] >= 0)
                blueprint.indicators[blueprint.indicatorOf[item]].items.append(item);
        return true;
    }

    const QString& error() const { return error_; }

private:
    QStringView cell(qsizetype row, int column) const
    {
        return columns_[column] < 0 ? QStringView() : table_.cell(row, columns_[column]);
    }

    bool fail(const QString& error)
    {
        error_ = error;
        return false;
    }

    // Rows as the spreadsheet numbers them, the first being 1.
    bool failAt(qsizetype row, const QString& what)
    {
        return fail(QStringLiteral("แผนผังข้อสอบ %1 แถว %2: %3").arg(name_).arg(row + 1).arg(what));
    }

    const Table& table_;
    QString name_;
    int items_;
    std::vector<qsizetype> columns_;
    QString error_;
};

bool readBlueprintTable(const Table& table, const QString& name, int items, Blueprint& blueprint,
                        QString& error)
{
    Reader reader(table, name, items);
    if (!reader.read(blueprint)) {
        error = reader.error();
        return false;
    }
    return true;
}

} // namespace

QString blueprintBeside(const QString& dataFile)
{
    return tableBeside(dataFile, QLatin1String("blueprint"));
}

bool readBlueprintBytes(const QByteArray& bytes, const QString& name, int items, Blueprint& blueprint,
                        QString& error)
{
    Table table;
    return readTableBytes(bytes, name, table, error) &&
           readBlueprintTable(table, name, items, blueprint, error);
}

bool readBlueprint(const QString& path, int items, Blueprint& blueprint, QString& error)
{
    Table table;
    return readTableFile(path, QStringLiteral("แผนผังข้อสอบ"), table, error) &&
           readBlueprintTable(table, QFileInfo(path).fileName(), items, blueprint, error);
}
