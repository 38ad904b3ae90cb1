#include "model/CodePage874.h"

#include <algorithm>
#include <cstdint>

namespace {

// Bytes 0x00 to 0x7F are ASCII; above them the code page keeps a few punctuation marks of Windows,
// the Thai block U+0E01 to U+0E5B in order, and two gaps of undefined bytes in private use.
constexpr std::array<char16_t, 256> CharacterOf = [] {
    std::array<char16_t, 256> table{};
    for (int byte = 0; byte < 0xA1; ++byte)
        table[byte] = char16_t(byte); // C1 controls where the code page defines nothing
    table[0x80] = u'\u20AC';          // euro sign
    table[0x85] = u'\u2026';          // ellipsis
    const char16_t punctuation[] = {u'\u2018', u'\u2019', u'\u201C', u'\u201D',
                                    u'\u2022', u'\u2013', u'\u2014'};
    std::copy(std::begin(punctuation), std::end(punctuation), table.begin() + 0x91);
    for (int byte = 0xA1; byte <= 0xDA; ++byte)
        table[byte] = char16_t(0x0E01 + byte - 0xA1); // ko kai to phinthu
    for (int byte = 0xDB; byte <= 0xDE; ++byte)
        table[byte] = char16_t(0xF8C1 + byte - 0xDB);
    for (int byte = 0xDF; byte <= 0xFB; ++byte)
        table[byte] = char16_t(0x0E3F + byte - 0xDF); // baht sign to khomut
    for (int byte = 0xFC; byte <= 0xFF; ++byte)
        table[byte] = char16_t(0xF8C5 + byte - 0xFC);
    return table;
}();

// The byte of every character the code page holds; 0 for the others (U+0000, the only character of
// byte 0, aside).
const std::array<std::uint8_t, 0x10000>& byteOf()
{
    static const std::array<std::uint8_t, 0x10000> table = [] {
        std::array<std::uint8_t, 0x10000> inverse{};
        for (int byte = 1; byte < 256; ++byte)
            inverse[CharacterOf[byte]] = std::uint8_t(byte);
        return inverse;
    }();
    return table;
}

} // namespace

const std::array<char16_t, 256>& cp874Characters()
{
    return CharacterOf;
}

QString decodeCp874(QByteArrayView bytes)
{
    QString text(bytes.size(), Qt::Uninitialized);
    std::transform(bytes.begin(), bytes.end(), text.data(),
                   [](char byte) { return QChar(CharacterOf[uchar(byte)]); });
    return text;
}

QByteArray encodeCp874(QStringView text)
{
    const auto& byteFor = byteOf();
    QByteArray bytes(text.size(), Qt::Uninitialized);
    char* out = bytes.data();
    for (qsizetype i = 0; i < text.size(); ++i) {
        const char16_t unit = text[i].unicode();
        const std::uint8_t byte = byteFor[unit];
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
    const auto& byteFor = byteOf();
    bytes.resize(text.size());
    char* out = bytes.data();
    for (const QChar character : text) {
        const std::uint8_t byte = byteFor[character.unicode()];
        if (byte == 0 && !character.isNull())
            return false;
        *out++ = char(byte);
    }
    return true;
}
