#pragma once

#include <QString>

// The verbal grades of the item indices, as the report prints them. Each band includes its lower
// edge, so an index exactly on an edge takes the higher grade.

QString difficultyGrade(double p);     // share of all examinees who answered right
QString discriminationGrade(double r); // item, or its keyed choice: (upper − lower right) / group size
QString distractorGrade(double x);     // a wrong choice: (lower − upper who chose it) / group size
