#include "report/TextFile.h"

#include "model/CodePage874.h"

#include <QFile>
#include <QFileInfo>
#include <QSaveFile>

#include <algorithm>

namespace {
// Characters encoded and written at a time: large enough that writes are few, small enough that the
// encoded piece stays in the cache.
constexpr qsizetype PieceSize = 64 * 1024;
} // namespace

QByteArray encodeText(QStringView text, TextEncoding encoding)
{
    return encoding == TextEncoding::Utf8 ? text.toUtf8() : encodeCp874(text);
}

bool writeText(QIODevice& device, QStringView text, TextEncoding encoding)
{
    while (!text.isEmpty()) {
        qsizetype size = std::min(text.size(), PieceSize);
        if (size < text.size() && text[size - 1].isHighSurrogate())
            --size; // a surrogate pair is one character and is encoded whole
        const QByteArray bytes = encodeText(text.first(size), encoding);
        if (device.write(bytes) != bytes.size())
            return false;
        text = text.sliced(size);
    }
    return true;
}

bool saveFile(const QString& path, const std::function<bool(QIODevice&)>& write, QString* error)
{
    // A device or a pipe (/dev/null, a FIFO) is written into as it is: replacing it by a new file
    // would be wrong, and as the superuser it would even succeed.
    const QFileInfo target(path);
    if (target.exists() && !target.isFile() && !target.isDir()) {
        QFile file(path);
        const bool written = file.open(QIODevice::WriteOnly) && write(file) && file.flush();
        if (!written && error)
            *error = file.errorString();
        return written;
    }
    QSaveFile file(path);
    const bool saved = file.open(QIODevice::WriteOnly) && write(file) && file.commit();
    if (!saved && error)
        *error = file.errorString();
    return saved;
}

bool saveTextFile(const QString& path, QStringView text, TextEncoding encoding, QString* error)
{
    return saveFile(
        path, [&](QIODevice& device) { return writeText(device, text, encoding); }, error);
}
