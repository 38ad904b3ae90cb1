#pragma once

#include "model/TestData.h"

#include <QByteArray>
#include <QString>

// A data file holds one test as text records. The first record is a label of w characters, one
// blank and the key, one character per item (blanks after the key are not items). Every further
// record is one examinee: w characters of identifier, taken as they stand, one separator character
// that is skipped, then the answers, one character per item. A line end or a comma ends a record;
// empty lines are skipped; a blank is the space character. Answer lines may be shorter or longer than
// the key: missing answers are empty cells, extra ones stay in StudAns only.
//
// On success the loader replaces NumItems, AllKeys, Keys, NumStud, StudID, StudAns and AnsMatrix,
// re-creates StudName empty (a file has no names) and returns true; the entry page's settings
// (NameGiven, CurStud), DataFile and the choices stay as they were. On failure it returns false
// with a Thai message for the teacher in `error` and leaves the model exactly as it was.

// Reads the file at `path`.
bool loadDataFile(const QString& path, TestData& model, QString& error);
// Reads a data file's bytes, from wherever they came.
bool loadDataBytes(const QByteArray& bytes, TestData& model, QString& error);
