#pragma once

#include "model/TestData.h"
#include "school/ComparisonSection.h"

#include <QByteArray>
#include <QString>
#include <QStringList>

#include <vector>

// A test printed in shuffled forms. The form file is a small table (CSV or .xlsx) with a header row and
// a row per item of every form, the master form's too:
//
//   form      ชุด, ชุดข้อสอบ, form                    the form's code, e.g. "A" (required)
//   item      ข้อ, ข้อที่, item                         the item's number on that form (required)
//   master    ข้อต้นฉบับ, ข้อในชุดต้นฉบับ, master      the same item's number on the master form (required)
//   options   ลำดับตัวเลือก, ตัวเลือก, options         which master option each place shows, e.g. "3142":
//                                                      the form's option 1 is the master's 3, and so on;
//                                                      empty: the master's order
//
// The data file's key is the master form's; each pupil's form is given by a column of the class's
// pupil list (or an import), or else is the last character of the identifier. Answers are turned into the
// master form's order before anything is analysed, so that every form is scored and analysed as the one test
// it is.

struct TestForm {
    QString code;
    std::vector<int> master; // per place 1..items on this form, at place − 1: the master item
    std::vector<QString>
        options; // per place: the master option shown at each of its options; empty: as master
};

struct FormFile {
    QString name;
    std::vector<TestForm> forms; // in the order the rows first name them
};

// Reads the form file at `path` for a test of `items` items. False, with a Thai message naming the
// file, the form and the row in `error`, when a form does not hold every item once on each side, or
// an option order is not every option once.
bool readForms(const QString& path, int items, FormFile& forms, QString& error);
bool readFormsBytes(const QByteArray& bytes, const QString& name, int items, FormFile& forms, QString& error);

// The form a pupil had: the last character of the identifier, blanks after it aside.
QString formCodeOfId(const QString& id);

// Each pupil's form code, in the data file's order, and where the codes come from, in Thai, for a
// message ("คอลัมน์ชุดของแฟ้ม grade.pupils.csv"). Without codes, each pupil's form is the last
// character of the identifier.
struct FormCodes {
    QStringList codes;
    QString source;
};

// Turns every pupil's answers into the master form's order: the answer at place q of the pupil's form
// goes to its master item, a choice becomes the master option it showed, and any other mark (a blank,
// "*") stays as it is. Fills `groups` with each pupil's form. False, with a Thai message naming the
// pupil in `error`, when a pupil's form code is not in `forms`; then `data` is unchanged.
bool mapToMaster(TestData& data, const FormFile& forms, const FormCodes& codes, PupilGroups& groups,
                 QString& error);

// A Thai warning when the data file's key is another form's key, not the master form's; empty when not.
QString formKeyWarning(const TestData& data, const FormFile& forms);

// The visual report's comparison of the forms; `note`, when not empty, is shown first.
ComparisonTexts formComparisonTexts(const QString& note);
