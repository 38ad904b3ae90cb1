#pragma once

#include "diagnostics/Diagnostics.h"
#include "school/Blueprint.h"

// Whether an item's difficulty p departs from what the blueprint intended, on the report's own
// difficulty grades (below 0.2 very hard, 0.2–0.4 rather hard, 0.4–0.6 fair, 0.6–0.8 rather easy,
// 0.8 and above very easy): an item meant to be easy departs when it graded on the hard side of
// fair (p < 0.4), one meant to be hard when it graded on the easy side (p ≥ 0.6), and one meant to be
// medium when it graded at either extreme (p < 0.2 or p ≥ 0.8). A grade next to the intended one is
// what one class's luck gives; two grades away is a sign the item, or the teaching, was not what the
// teacher planned.
bool departsFromIntent(IntendedDifficulty intent, double p);

// The intended difficulty in Thai; empty when unstated.
QString intendedDifficultyThai(IntendedDifficulty intent);

// Sets the remark of every item of `test` whose difficulty departs from the blueprint's intent, so
// that its verdict's reason says so.
void remarkOnIntents(TestDiagnostics& test, const Blueprint& blueprint);
