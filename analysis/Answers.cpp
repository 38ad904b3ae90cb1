#include "analysis/Answers.h"

KeyUnits keyUnits(const TestData& data)
{
    KeyUnits keys{std::vector<char16_t>(std::size_t(data.NumItems) + 2, 0),
                  std::vector<char16_t>(std::size_t(data.NumItems) + 2, 0)};
    for (int j = 1; j <= data.NumItems; ++j) {
        const QString key = data.Keys.value(j);
        if (key.size() == 1) {
            keys.unit[j] = key.front().unicode();
            keys.mask[j] = 0xffff;
        }
    }
    return keys;
}
