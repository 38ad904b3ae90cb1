#include "DataGenerator.h"

#include <algorithm>
#include <cmath>
#include <random>
#include <vector>

namespace {

struct Item {
    double difficulty;
    double discrimination;
    int key;                                    // 1..choices
    std::discrete_distribution<int> distractor; // index among the choices other than the key
};

int digits(int number)
{
    int count = 1;
    for (; number >= 10; number /= 10)
        ++count;
    return count;
}

} // namespace

QByteArray generateDataFile(const GeneratedTest& test)
{
    std::mt19937 random(test.seed);
    std::normal_distribution<double> normal(0.0, 1.0);
    std::uniform_real_distribution<double> uniform(0.0, 1.0);
    std::uniform_int_distribution<int> anyChoice(1, test.choices);

    std::vector<Item> items(std::size_t(test.items));
    for (Item& item : items) {
        item.difficulty = -0.4 + normal(random);               // a classroom test is a little easy overall
        item.discrimination = std::exp(0.35 * normal(random)); // mostly 0.5 to 2
        item.key = anyChoice(random);
        // Log-normal weights spread widely: one distractor often draws most wrong answers.
        std::vector<double> weights(std::size_t(test.choices - 1));
        for (double& weight : weights)
            weight = std::exp(1.2 * normal(random));
        item.distractor = std::discrete_distribution<int>(weights.begin(), weights.end());
    }
    const double guessing = 0.8 / test.choices; // weak examinees still hit the key now and then

    const int width = std::max(5, digits(test.firstId + test.students - 1));
    const qsizetype lineLength = width + 1 + test.items + 2;
    QByteArray bytes(lineLength * (test.students + 1), Qt::Uninitialized);
    char* out = bytes.data();
    const auto endLine = [&out] {
        *out++ = '\r';
        *out++ = '\n';
    };

    const QByteArray label = QByteArray("KEY").leftJustified(width, '-', true);
    out = std::copy(label.begin(), label.end(), out);
    *out++ = ' ';
    for (std::size_t j = 0; j < items.size(); ++j) {
        const int key = items[j].key;
        *out++ = char('0' + (int(j) + 1 == test.miskeyedItem ? key % test.choices + 1 : key));
    }
    endLine();

    for (int student = 0; student < test.students; ++student) {
        const double ability = normal(random);
        const QByteArray id = QByteArray::number(test.firstId + student).rightJustified(width, '0');
        out = std::copy(id.begin(), id.end(), out);
        *out++ = ' ';
        for (Item& item : items) {
            if (test.omissionRate > 0 && uniform(random) < test.omissionRate) {
                *out++ = ' ';
                continue;
            }
            const double logit = 1.7 * item.discrimination * (ability - item.difficulty);
            const double chance = guessing + (1 - guessing) / (1 + std::exp(-logit));
            int answer = item.key;
            if (uniform(random) >= chance) {
                answer = item.distractor(random) + 1;
                if (answer >= item.key)
                    ++answer;
            }
            *out++ = char('0' + answer);
        }
        endLine();
    }
    return bytes;
}
