#pragma once

#include "model/TestData.h"
#include "school/PupilGroups.h"

#include <QByteArray>
#include <QString>
#include <QStringList>

// The class list a teacher keeps beside a data file, NAME.pupils.csv (or .xlsx), when one data file
// holds the pupils of several rooms, or of several forms of a test. A header row, then a row per pupil
// in the data file's order:
//
//   identifier  เลขประจำตัว, รหัส, รหัสผู้สอบ, id    the pupil's identifier, as the data file writes it
//   room        ห้อง, ห้องเรียน, room, class          the pupil's room, e.g. "ม.1/2"
//   form        ชุด, ชุดข้อสอบ, รหัสชุด, form          the form of the test the pupil had, e.g. "B"
//
// The identifier and one of the other two are required. The import writes this file when the sheet
// has a room or a form column. Each row's identifier is checked against the data file's, so a list
// that no longer fits an edited data file is refused rather than giving pupils the wrong room.

struct PupilList {
    QString name;      // the file's name, for messages
    QStringList rooms; // per pupil in the data file's order; empty: the list has no room column
    QStringList forms; // likewise, each pupil's form code
};

// The pupil list beside a data file, NAME.pupils.csv or NAME.pupils.xlsx; empty when there is none.
QString pupilListBeside(const QString& dataFile);

// Where an import writes the pupil list of the data file it writes at `dataFile`: beside it, as
// NAME.pupils.csv.
QString pupilListPathFor(const QString& dataFile);

// Reads the pupil list at `path` for the pupils of `data`. False, with a Thai message naming the file
// and the row in `error`, when it cannot be read, lacks a column, or does not fit the data file.
bool readPupilList(const QString& path, const TestData& data, PupilList& list, QString& error);

// The pupil list of an import: `rooms` and `forms` per pupil (either may be empty), as the bytes of a
// CSV file in UTF-8 with a byte-order mark.
QByteArray pupilListBytes(const QStringList& ids, const QStringList& rooms, const QStringList& forms);

// The pupils sorted into the rooms `rooms` names, one per pupil, in order of first appearance.
PupilGroups roomsOfPupils(const QStringList& rooms);
