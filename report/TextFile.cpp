#include "report/TextFile.h"

#include "model/CodePage874.h"
#include "report/OutputFile.h"

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
    OutputFile file(path);
    if (file.open() && file.write(write) && file.commit())
        return true;
    if (error)
        *error = file.reason();
    return false;
}

bool saveBytes(const QString& path, const QByteArray& bytes, QString* error)
{
    return saveFile(
        path, [&](QIODevice& device) { return device.write(bytes) == bytes.size(); }, error);
}

bool saveTextFile(const QString& path, QStringView text, TextEncoding encoding, QString* error)
{
    return saveFile(
        path, [&](QIODevice& device) { return writeText(device, text, encoding); }, error);
}
