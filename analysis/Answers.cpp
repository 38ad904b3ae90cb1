#include "analysis/Answers.h"

std::vector<int> keyUnits(const TestData& data)
{
    std::vector<int> units(std::size_t(data.NumItems) + 2, -1);
    for (int j = 1; j <= data.NumItems; ++j) {
        const QString key = data.Keys.value(j);
        if (key.size() == 1)
            units[j] = key.front().unicode();
    }
    return units;
}
