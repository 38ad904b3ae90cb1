#include "TestFiles.h"

#include <QDir>
#include <QFile>

#include "model/CodePage874.h"

QByteArray readBytes(const QString& path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return {};
    return file.readAll();
}

void writeBytes(const QString& path, const QByteArray& bytes)
{
    QFile file(path);
    if (file.open(QIODevice::WriteOnly))
        file.write(bytes);
}

QString examplePath(const QString& name)
{
    return QDir(QStringLiteral(QUILLET_EXAMPLES_DIR)).filePath(name);
}

QString testDataPath(const QString& name)
{
    return QDir(QStringLiteral(QUILLET_TEST_DATA_DIR)).filePath(name);
}

QByteArray lines(const QList<QByteArray>& records, const QByteArray& end)
{
    QByteArray bytes;
    for (const QByteArray& record : records)
        bytes += record + end;
    return bytes;
}

// By the program's own table: Qt for Windows has no converter for code page 874.
QString firstDifference(const QString& expected, const QString& actual)
{
    const QStringList want = expected.split(QStringLiteral("\r\n"));
    const QStringList got = actual.split(QStringLiteral("\r\n"));
    for (qsizetype line = 0; line < std::max(want.size(), got.size()); ++line) {
        const QString a = line < want.size() ? want[line] : QStringLiteral("<no line>");
        const QString b = line < got.size() ? got[line] : QStringLiteral("<no line>");
        if (a != b)
            return QStringLiteral("line %1 differs\n  expected: [%2]\n  actual:   [%3]")
                .arg(line + 1)
                .arg(a, b);
    }
    return {};
}
