#pragma once

#include "model/TestData.h"
#include "school/ComparisonSection.h"
#include "school/Forms.h"

#include <QString>
#include <QStringList>

#include <vector>

// One data file holding the pupils of several rooms, or of several shuffled forms of the test: where
// each pupil's room and form come from, and the groupings they make for the visual report and the
// gradebook.
struct ClassGroupSources {
    QStringList rooms;        // per pupil in the data file's order; empty: one room
    FormCodes forms;          // per pupil; no codes: the identifier's last character
    QString formsPath;        // the form file; empty: one form
    bool formsFromId = false; // the identifier's last character even where `forms` has codes
};

// The pupil list and the form file beside the data file, NAME.pupils.csv and NAME.forms.csv (or
// .xlsx), as the window and qlt find them. False with a Thai message in `error` when the pupil list is
// there but cannot be read or does not fit `data`.
bool groupSourcesBeside(const QString& dataFile, const TestData& data, ClassGroupSources& sources,
                        QString& error);
// Reads the pupil list at `path` into `sources`, as groupSourcesBeside does.
bool addPupilList(const QString& path, const TestData& data, ClassGroupSources& sources, QString& error);

// Adds the rooms to `comparisons`, and, with a form file, turns every pupil's answers into the master
// form's order and adds the forms, with a Thai warning in `warning` when the key looks like another
// form's. False with a Thai message in `error` when the
// form file is refused; then `data` and `comparisons` are unchanged.
bool groupPupils(TestData& data, const ClassGroupSources& sources, std::vector<GroupComparison>& comparisons,
                 QString& warning, QString& error);
