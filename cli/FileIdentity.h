#pragma once

#include <QString>

// Whether two names stand for one existing file as the system knows files: by device and inode, or
// on Windows by volume and file index. Hard links of one file are one file; a name that does not
// exist is no file.
bool sameExistingFile(const QString& first, const QString& second);

// Whether two spellings of a path name the same place: exactly the same text, or on Windows the same
// text in any mix of upper and lower case.
bool samePathText(const QString& first, const QString& second);
