#pragma once

#include <QByteArray>

#include <cstdint>

// What to generate: a class of examinees taking one test.
struct GeneratedTest {
    int students = 35;
    int items = 40;
    int choices = 4;           // 4 or 5
    std::uint32_t seed = 1;    // the same settings always give the same bytes
    int firstId = 1;           // identifier of examinee 1; the others count on from it
    double omissionRate = 0.0; // share of answers left blank
    int miskeyedItem = 0;      // 1..items: that item's key is written as the next choice, the answers
                               // still following its true key (a typing slip in the key); 0: none
};

// Realistic data-file bytes (label, blank, key; then identifier, blank, answers; CR LF line ends).
// Every examinee has an ability and every item a difficulty and a discrimination; the chance of
// answering the key rises logistically with ability above the item's difficulty, over a floor of
// guessing. A wrong answer picks a distractor by the item's own uneven weights, so some distractors
// attract many examinees and some hardly any. Identifiers are zero-padded to one width (at least
// five digits), and the key record's label has that width too.
QByteArray generateDataFile(const GeneratedTest& test);
