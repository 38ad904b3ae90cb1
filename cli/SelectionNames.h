#pragma once

#include "analysis/Selection.h"

#include <QString>
#include <QStringList>

#include <optional>

// The names by which qlt selects the analysis page's check boxes: raw, range, mean, median, mode, sd,
// z, t, skewness, kurtosis, reliability, difficulty, discrimination, sem, distractors.
QStringList selectionNames();

// Parses a comma-separated list of names; an empty list selects nothing. On an unknown name returns
// nothing and puts the offending name into `unknown`.
std::optional<AnalysisSelection> parseSelection(const QString& list, QString& unknown);

// Why a selection breaks the page's rules (T-Score without Z-Score, ...), or empty when it keeps them.
QString selectionConflict(const AnalysisSelection& boxes);
