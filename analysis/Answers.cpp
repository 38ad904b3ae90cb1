#include "analysis/Answers.h"

#include "model/CodePage874.h"

CellCode cellCode(const QString& text)
{
    CellCode code;
    QByteArray byte;
    if (text.size() != 1)
        return code;
    code.wide = text.front().unicode();
    if (cp874BytesOf(text, byte))
        code.narrow = std::uint8_t(byte.front());
    return code;
}

KeyUnits keyUnits(const TestData& data)
{
    const std::size_t size = std::size_t(data.NumItems) + 2;
    KeyUnits keys{{std::vector<std::uint8_t>(size, 0), std::vector<std::uint8_t>(size, 0)},
                  {std::vector<char16_t>(size, 0), std::vector<char16_t>(size, 0)}};
    for (int j = 1; j <= data.NumItems; ++j) {
        const CellCode key = cellCode(data.Keys.value(j));
        if (key.wide >= 0) {
            keys.wide.cell[j] = char16_t(key.wide);
            keys.wide.mask[j] = 0xffff;
        }
        if (key.narrow >= 0) {
            keys.narrow.cell[j] = std::uint8_t(key.narrow);
            keys.narrow.mask[j] = 0xff;
        }
    }
    return keys;
}
