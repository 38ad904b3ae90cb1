#include "model/CodePage874.h"

#include <QStringDecoder>
#include <QStringEncoder>

#include <algorithm>
#include <cstdint>

namespace {

constexpr const char* CodecName = "windows-874";

struct Tables {
    std::array<char16_t, 256> characterOf{};
    // The byte of every character that encodes to one byte and decodes back to it; 0 for the
    // characters the code page does not hold (U+0000, the only character of byte 0, aside).
    std::array<std::uint8_t, 0x10000> byteOf{};
};

const Tables& tables()
{
    static const Tables built = [] {
        Tables t;
        QStringDecoder decoder(CodecName);
        QStringEncoder encoder(CodecName);
        for (int byte = 0; byte < 256; ++byte) {
            const char single = char(byte);
            const QString decoded = decoder.decode(QByteArrayView(&single, 1));
            t.characterOf[byte] =
                decoded.size() == 1 ? decoded[0].unicode() : char16_t(QChar::ReplacementCharacter);
            // Only a character the converter writes back as this very byte goes into the table.
            const QByteArray encoded = encoder.encode(decoded);
            if (byte != 0 && decoded.size() == 1 && encoded.size() == 1 && uchar(encoded[0]) == byte)
                t.byteOf[t.characterOf[byte]] = std::uint8_t(byte);
        }
        return t;
    }();
    return built;
}

} // namespace

const std::array<char16_t, 256>& cp874Characters()
{
    return tables().characterOf;
}

QString decodeCp874(QByteArrayView bytes)
{
    QString decoded(bytes.size(), Qt::Uninitialized);
    const auto& table = tables().characterOf;
    std::transform(bytes.begin(), bytes.end(), decoded.data(),
                   [&table](char byte) { return QChar(table[uchar(byte)]); });
    return decoded;
}

QByteArray encodeCp874(QStringView text)
{
    const auto& byteOf = tables().byteOf;
    QByteArray bytes(text.size(), Qt::Uninitialized);
    char* out = bytes.data();
    for (qsizetype i = 0; i < text.size(); ++i) {
        const char16_t unit = text[i].unicode();
        const std::uint8_t byte = byteOf[unit];
        if (byte != 0 || unit == 0) {
            *out++ = char(byte);
            continue;
        }
        *out++ = '?';
        if (QChar::isHighSurrogate(unit) && i + 1 < text.size() && text[i + 1].isLowSurrogate())
            ++i; // one character, one "?"
    }
    bytes.truncate(out - bytes.data());
    return bytes;
}

bool cp874BytesOf(QStringView text, QByteArray& bytes)
{
    const auto& byteOf = tables().byteOf;
    bytes.resize(text.size());
    char* out = bytes.data();
    for (const QChar character : text) {
        const std::uint8_t byte = byteOf[character.unicode()];
        if (byte == 0 && !character.isNull())
            return false;
        *out++ = char(byte);
    }
    return true;
}
