#pragma once

#include <QByteArray>
#include <QList>
#include <QString>

#include <vector>

// A test blueprint: which indicator of the curriculum each item measures, and how hard the teacher
// meant it to be. It is a small table the teacher keeps beside the data file (class.txt ->
// class.blueprint.csv or class.blueprint.xlsx), one row per item under a header row naming the columns:
//
//   item         ข้อ, ข้อที่, item, no                 the item number, 1..items (required)
//   indicator    ตัวชี้วัด, รหัสตัวชี้วัด, indicator, code   e.g. "ค 1.1 ม.1/1" (required)
//   description  คำอธิบาย, คำอธิบายตัวชี้วัด, description
//   difficulty   ความยาก, ระดับความยาก, difficulty       ง่าย/ปานกลาง/ยาก or easy/medium/hard
//   bloom        ระดับพฤติกรรม, พฤติกรรม, bloom           e.g. "เข้าใจ" or "apply", kept as written
//
// Headers are matched ignoring case and surrounding blanks; other columns are ignored. Items the
// blueprint leaves out belong to no indicator.

enum class IntendedDifficulty { Unstated, Easy, Medium, Hard };

struct Indicator {
    QString code;
    QString description; // the first one the rows give
    QList<int> items;    // ascending
};

struct Blueprint {
    QString name;                           // the file's name, for the reports
    QList<Indicator> indicators;            // in the order the rows first name them
    std::vector<int> indicatorOf;           // per item 1..items: index into indicators, or -1
    std::vector<IntendedDifficulty> intent; // per item 1..items
    std::vector<QString> bloom;             // per item 1..items

    bool exists() const { return !indicators.isEmpty(); }
};

// The blueprint file beside a data file, the CSV one first; empty when there is none.
QString blueprintBeside(const QString& dataFile);

// Reads the blueprint at `path` (CSV or XLSX, told by its content) for a test of `items` items. False,
// with a Thai message naming the file and its row in `error`, for a file that cannot be read, lacks
// the item or indicator column, or has a row whose item does not exist or was listed already, whose
// indicator code is missing or whose intended difficulty is not one of the known words.
bool readBlueprint(const QString& path, int items, Blueprint& blueprint, QString& error);
// The same from a file's bytes; `name` names it.
bool readBlueprintBytes(const QByteArray& bytes, const QString& name, int items, Blueprint& blueprint,
                        QString& error);
