#include "FileIdentity.h"

#include <QFile>

#include <sys/stat.h>

bool sameExistingFile(const QString& first, const QString& second)
{
    struct stat one, other;
    return ::stat(QFile::encodeName(first).constData(), &one) == 0 &&
           ::stat(QFile::encodeName(second).constData(), &other) == 0 && one.st_dev == other.st_dev &&
           one.st_ino == other.st_ino;
}

bool samePathText(const QString& first, const QString& second)
{
    return first == second;
}
