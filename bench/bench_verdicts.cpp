// bench_verdicts — how far a teacher can trust the item verdicts: simulated 40-item, 4-choice tests
// with planted faults, 50 per class size (35 and 200 examinees), each diagnosed as qlt does. Prints
// per kind of fault the share given the verdict that names it, and the share of clean items flagged,
// with the verdicts that misses and false flags got. Fixed seeds: every run prints the same table.
//
// The simulation: abilities are standard normal; the chance of answering an item's key is
// c + (1 − c) / (1 + exp(−1.7 a (θ − b))); a wrong answer picks a distractor in proportion to its
// attractiveness. Items are set by their population difficulty p (b is solved for it), so that
// clean items are clearly sound and planted faults clearly faulty, and only sampling decides:
//   clean                 a 0.8–2, p 0.3–0.7, guessing 0.2, every distractor attractive (0.6–1.4)
//   wrong key             a clean item whose key record names one of its distractors
//   wrong key, unchosen   a clean item with a distractor nobody finds attractive, named by the key
//   unchosen distractor   a clean item with a distractor nobody finds attractive
//   too easy              p 0.95;  too hard: p 0.08 with guessing 0.05 (the distractors mislead)
//   negative              a −0.8 to −1.5, p 0.3–0.7: the weaker the examinee, the likelier right

#include "Benchmark.h"
#include "diagnostics/Diagnostics.h"
#include "model/DataFileLoader.h"

#include <QCoreApplication>

#include <algorithm>
#include <array>
#include <cmath>
#include <cstdio>
#include <random>
#include <vector>

namespace {

constexpr int Items = 40;
constexpr int Choices = 4;
constexpr int Replications = 50;

enum class Fault { WrongKey, WrongKeyUnchosen, UnchosenDistractor, TooEasy, TooHard, Negative, None };
constexpr int FaultKinds = int(Fault::None) + 1;
constexpr const char* FaultNames[FaultKinds] = {
    "wrong key", "wrong key, unchosen",     "unchosen distractor", "too easy",
    "too hard",  "negative discrimination", "clean (flagged)"};

// The verdict that names each fault; a clean item should be kept.
bool caught(Fault fault, Verdict verdict)
{
    switch (fault) {
    case Fault::WrongKey:
    case Fault::WrongKeyUnchosen:
        return verdict == Verdict::CheckKey;
    case Fault::UnchosenDistractor:
        return verdict == Verdict::ReplaceDistractor;
    case Fault::TooEasy:
    case Fault::TooHard:
        return verdict == Verdict::Revise;
    case Fault::Negative: // the key is the first thing to check, and then the item
        return verdict == Verdict::CheckKey || verdict == Verdict::Revise;
    case Fault::None:
        return verdict != Verdict::Keep;
    }
    return false;
}

struct SimulatedItem {
    Fault fault = Fault::None;
    double a = 1, b = 0, c = 0.2;
    int key = 1;                                  // the true key
    int typedKey = 1;                             // what the key record says
    std::array<double, Choices + 1> attraction{}; // per choice, the key's unused
};

double logistic(double x)
{
    return 1 / (1 + std::exp(-x));
}

// The share of a standard normal population answering right, on a fine grid of abilities.
double populationDifficulty(double a, double b, double c)
{
    double p = 0, weight = 0;
    for (double theta = -5; theta <= 5; theta += 0.02) {
        const double density = std::exp(-theta * theta / 2);
        p += density * (c + (1 - c) * logistic(1.7 * a * (theta - b)));
        weight += density;
    }
    return p / weight;
}

// The b that gives population difficulty `p`, by bisection (p falls with b when a > 0, rises when a < 0).
double locationFor(double p, double a, double c)
{
    double low = -8, high = 8;
    for (int step = 0; step < 60; ++step) {
        const double middle = (low + high) / 2;
        const bool tooEasy = populationDifficulty(a, middle, c) > p;
        ((tooEasy == (a > 0)) ? low : high) = middle;
    }
    return (low + high) / 2;
}

SimulatedItem makeItem(Fault fault, std::mt19937& random)
{
    std::uniform_real_distribution<double> uniform(0, 1);
    const auto between = [&](double low, double high) { return low + (high - low) * uniform(random); };
    SimulatedItem item;
    item.fault = fault;
    item.key = 1 + int(uniform(random) * Choices);
    for (double& attraction : item.attraction)
        attraction = between(0.6, 1.4);
    // The distractor the key record may name instead of the key, and the one left unattractive.
    int other = 1 + int(uniform(random) * (Choices - 1));
    if (other >= item.key)
        ++other;
    item.typedKey = item.key;
    item.a = between(0.8, 2.0);
    double p = between(0.3, 0.7);
    switch (fault) {
    case Fault::WrongKey:
        item.typedKey = other;
        break;
    case Fault::WrongKeyUnchosen:
        item.typedKey = other;
        item.attraction[other] = 0;
        break;
    case Fault::UnchosenDistractor:
        item.attraction[other] = 0;
        break;
    case Fault::TooEasy:
        p = 0.95;
        break;
    case Fault::TooHard:
        p = 0.08;
        item.c = 0.05;
        break;
    case Fault::Negative:
        item.a = -between(0.8, 1.5);
        break;
    case Fault::None:
        break;
    }
    item.b = locationFor(p, item.a, item.c);
    return item;
}

int answer(const SimulatedItem& item, double theta, std::mt19937& random)
{
    std::uniform_real_distribution<double> uniform(0, 1);
    if (uniform(random) < item.c + (1 - item.c) * logistic(1.7 * item.a * (theta - item.b)))
        return item.key;
    double total = 0;
    for (int k = 1; k <= Choices; ++k)
        total += k == item.key ? 0 : item.attraction[k];
    double draw = uniform(random) * total;
    for (int k = 1; k <= Choices; ++k) {
        if (k == item.key)
            continue;
        draw -= item.attraction[k];
        if (draw < 0)
            return k;
    }
    return item.key == Choices ? Choices - 1 : Choices;
}

// One simulated test: six planted faults, one of each kind, at random places among clean items.
std::vector<SimulatedItem> makeTest(std::mt19937& random)
{
    std::vector<Fault> faults(Items, Fault::None);
    for (int kind = 0; kind < int(Fault::None); ++kind)
        faults[std::size_t(kind)] = Fault(kind);
    std::shuffle(faults.begin(), faults.end(), random);
    std::vector<SimulatedItem> items;
    for (const Fault fault : faults)
        items.push_back(makeItem(fault, random));
    return items;
}

QByteArray dataFile(const std::vector<SimulatedItem>& items, int examinees, std::mt19937& random)
{
    std::normal_distribution<double> normal(0, 1);
    QByteArray bytes = "KEY-- ";
    for (const SimulatedItem& item : items)
        bytes += char('0' + item.typedKey);
    bytes += "\r\n";
    for (int i = 1; i <= examinees; ++i) {
        const double theta = normal(random);
        bytes += QByteArray::number(i).rightJustified(5, '0') + ' ';
        for (const SimulatedItem& item : items)
            bytes += char('0' + answer(item, theta, random));
        bytes += "\r\n";
    }
    return bytes;
}

struct Tally {
    std::array<std::array<int, std::size(AllVerdicts)>, FaultKinds> verdicts{};
};

bool simulate(int examinees, Tally& tally)
{
    for (int replication = 1; replication <= Replications; ++replication) {
        std::mt19937 random(std::uint32_t(examinees * 1000 + replication));
        const std::vector<SimulatedItem> items = makeTest(random);
        TestData data;
        QString error;
        if (!loadDataBytes(dataFile(items, examinees, random), data, error)) {
            std::fprintf(stderr, "%s\n", qPrintable(error));
            return false;
        }
        data.setChoices(Choices);
        AnalysisSelection boxes = everyAnalysis();
        AnalysisResults results;
        CountedMessages messages;
        if (!runAnalysis(data, boxes, results, messages).finished) {
            std::fprintf(stderr, "%d examinees, test %d: the run did not finish\n", examinees, replication);
            return false;
        }
        const TestDiagnostics test = diagnoseTest(data, results, Choices);
        for (std::size_t j = 0; j < items.size(); ++j)
            ++tally.verdicts[std::size_t(items[j].fault)][std::size_t(test.itemList[j].judgement.verdict)];
    }
    return true;
}

void printTable(int examinees, const Tally& tally)
{
    std::printf("\n== %d examinees: %d tests of %d items with %d choices\n", examinees, Replications, Items,
                Choices);
    std::printf("%-24s %6s %8s", "planted fault", "items", "caught");
    for (const Verdict verdict : AllVerdicts)
        std::printf(" %18s", qPrintable(verdictCode(verdict)));
    std::printf("\n");
    int faults = 0, found = 0;
    for (int kind = 0; kind < FaultKinds; ++kind) {
        const auto& counts = tally.verdicts[std::size_t(kind)];
        int total = 0, hits = 0;
        for (const Verdict verdict : AllVerdicts) {
            total += counts[std::size_t(verdict)];
            hits += caught(Fault(kind), verdict) ? counts[std::size_t(verdict)] : 0;
        }
        if (Fault(kind) == Fault::None) {
            std::printf("%-24s %6d %8s\n", "all planted faults", faults,
                        qPrintable(QString::number(100.0 * found / faults, 'f', 1) + u'%'));
        } else {
            faults += total;
            found += hits;
        }
        std::printf("%-24s %6d %7.1f%%", FaultNames[kind], total, 100.0 * hits / total);
        for (const Verdict verdict : AllVerdicts)
            std::printf(" %18d", counts[std::size_t(verdict)]);
        std::printf("\n");
    }
}

} // namespace

int main(int argc, char* argv[])
{
    QCoreApplication app(argc, argv);
    std::printf("Planted faults caught with the verdict that names them (wrong keys: check-key; unchosen "
                "distractor: replace-distractor;\ntoo easy, too hard: revise; negative discrimination: "
                "check-key or revise), and clean items given any verdict but keep.\n");
    for (const int examinees : {35, 200}) {
        Tally tally;
        if (!simulate(examinees, tally))
            return 1;
        printTable(examinees, tally);
    }
    return 0;
}
