#pragma once

#include "diagnostics/Diagnostics.h"

#include <QString>

#include <vector>

// The charts of the visual report, as inline SVG elements: nothing to load, and they scale with the
// page and print sharply.

// Examinees per score, with the mean marked; scores are put into bins when the test is long.
QString histogramSvg(const TestDiagnostics& test);

// Every item at its difficulty p and discrimination D, coloured by verdict, over the region of
// usable items (0.2 ≤ p ≤ 0.8, D ≥ 0.2).
QString scatterSvg(const TestDiagnostics& test);

// How the share choosing each option runs from the lowest score group to the highest; the keyed
// option is drawn thick. A gap in a line is a group without examinees.
QString traceSvg(const ItemDiagnostics& item);

// One bar of a percent chart: its label at the left, its value in per cent (0..100), and whether it
// falls short of the chart's mark, which draws it in the warning colour.
struct PercentBar {
    QString label;
    QString title; // shown on hovering the bar
    double percent = 0;
    bool belowMark = false;
};

// Horizontal bars from 0 to 100 % with a dashed line at `mark` per cent, labelled `markLabel`;
// `label` describes the chart to a screen reader.
QString percentBarsSvg(const std::vector<PercentBar>& bars, double mark, const QString& markLabel,
                       const QString& label);

// The colours that charts and tables share.
QString verdictColor(Verdict verdict);
QString optionColor(int option);
