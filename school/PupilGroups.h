#pragma once

#include "diagnostics/Index.h"
#include "model/TestData.h"

#include <QString>
#include <QStringList>

#include <vector>

// The pupils of one pooled class sorted into groups (the rooms they sat in, or the form of the test
// they had), and each group's figures as an analysis of its pupils alone gives them, so that a room
// taught differently, or a form that ran harder, shows up beside the others.
struct PupilGroups {
    QString heading;          // what a group is, in Thai: the gradebook's column heading
    QStringList names;        // group k's name
    std::vector<int> groupOf; // per pupil 1..n at i − 1: the index of the pupil's group in names
};

struct GroupFigures {
    QString name;
    int pupils = 0;
    Index mean, sd, kr20;              // as the plain report of the group alone computes them
    std::vector<Index> difficulty;     // p per item 1..items at j − 1
    std::vector<Index> discrimination; // D per item 1..items at j − 1
};

// The pupils of group `group`, in the pooled class's order, as a class of their own; their answers
// are shared with `pooled`, not copied.
TestData groupClass(const TestData& pooled, const PupilGroups& groups, int group);

// Every group's figures from the analysis run of its class alone.
std::vector<GroupFigures> groupFigures(const TestData& pooled, const PupilGroups& groups);

// Items whose difficulty differs between the groups beyond chance: p of the easiest and the hardest
// group at least DifferingSpread apart, and a chi-square test of the groups' right and wrong answers
// giving less than a 1 % chance of so large a difference. Item numbers, ascending.
inline constexpr double DifferingSpread = 0.2;
std::vector<int> differingItems(const std::vector<GroupFigures>& figures);
