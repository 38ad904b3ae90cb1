#include "report/TextFile.h"

#include <QSaveFile>
#include <QStringEncoder>

QByteArray encodeText(QStringView text, TextEncoding encoding)
{
    if (encoding == TextEncoding::Utf8)
        return text.toUtf8();
    QStringEncoder encoder("windows-874");
    return encoder.encode(text);
}

bool saveTextFile(const QString& path, QStringView text, TextEncoding encoding, QString* error)
{
    QSaveFile file(path);
    const bool saved =
        file.open(QIODevice::WriteOnly) && file.write(encodeText(text, encoding)) >= 0 && file.commit();
    if (!saved && error)
        *error = file.errorString();
    return saved;
}
