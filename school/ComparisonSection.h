#pragma once

#include "diagnostics/HtmlReport.h"
#include "school/PupilGroups.h"

#include <QString>

// The visual report's comparison of the groups of a pooled class (rooms, or forms of the test): each
// group's size, mean, SD and KR-20, and every item's p and D per group with the items whose p differs
// beyond chance marked, in colour and with a sign that prints.
struct ComparisonTexts {
    QString id;      // the section's anchor
    QString title;   // in Thai
    QString english; // the English term shown after it
    QString group;   // what a group is, in Thai ("ห้อง", "ชุด")
    QString why;     // in Thai, what a difference in p may mean for such groups
    QString note;    // a warning to show first, in Thai; empty: none
};
void addComparisonSection(const std::vector<GroupFigures>& figures, const ComparisonTexts& texts,
                          HtmlAdditions& additions);

// A grouping of the pupils with the texts of its comparison.
struct GroupComparison {
    PupilGroups groups;
    ComparisonTexts texts;
};
