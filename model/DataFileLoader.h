#pragma once

#include "model/TestData.h"

#include <QByteArray>
#include <QString>

class Progress;
class QIODevice;

// A data file holds one test as text records. The first record is a label of w characters, one
// blank and the key, one character per item (blanks after the key are not items). Every further
// record is one examinee: w characters of identifier, taken as they stand, one separator character
// that is skipped, then the answers, one character per item. A line end or a comma ends a record;
// empty lines are skipped; a blank is the space character. Answer lines may be shorter or longer than
// the key: missing answers are empty cells, extra ones are never used and so not kept, which keeps
// a gigabyte-long line as cheap as a short one.
//
// On success the loader replaces NumItems, AllKeys, Keys, NumStud, StudID, StudAns and AnsMatrix,
// re-creates StudName empty (a file has no names) and returns true; the entry page's settings
// (NameGiven, CurStud), DataFile and the choices stay as they were. On failure, a lack of memory
// included, it returns false with a Thai message for the teacher in `error` and leaves the model
// exactly as it was.

// The largest input read: twice the largest data file of 32766 records of 32766 answers, leaving
// room for wide identifiers and for files saved as UTF-16. Anything larger is refused unread.
inline constexpr qint64 MaxDataFileBytes = 2 * qint64(MaxCount) * (MaxCount + 64);

// Reads the file at `path`. Only an ordinary file is read: a folder, a device, a pipe or a socket is
// refused without waiting on it, and so is a file that changes while it is read. `progress`, when
// given, hears at coarse steps how far the reading has come.
bool loadDataFile(const QString& path, TestData& model, QString& error, Progress* progress = nullptr);
// Reads a data file's bytes, from wherever they came.
bool loadDataBytes(const QByteArray& bytes, TestData& model, QString& error);
// Reads a data file from a stream such as standard input, to its end or MaxDataFileBytes, whichever
// comes first; a device that never ends (such as /dev/zero) is refused unread.
bool loadDataStream(QIODevice& in, TestData& model, QString& error);
