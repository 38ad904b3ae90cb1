#pragma once

#include "analysis/AnalysisResults.h"
#include "model/TestData.h"
#include "report/ReportSelection.h"
#include "report/TextFile.h"

#include <QLatin1StringView>
#include <QString>

// The result report: a title, the size of the test and up to three parts — the examinees' scores,
// the basic score statistics, the quality of the test and its items — each part and line present
// only when its box was ticked, then the items fit for reuse. It prints what the last analysis run
// left in the results; a result the selection asks for but no run computed prints as 0 or empty.
inline constexpr QLatin1StringView ResultReportFileName("Result.doc");

// The whole report, every line ended by CR LF, ready to be encoded once.
QString composeReport(const TestData& data, const AnalysisResults& results, const ReportSelection& selection);

// Composes the report into `device` a piece at a time, encoded as it goes, so that even the largest
// report never exists whole; false when the device refuses a write.
bool streamReport(QIODevice& device, const TestData& data, const AnalysisResults& results,
                  const ReportSelection& selection, TextEncoding encoding = TextEncoding::Cp874);

// Writes the report to `path` as streamReport does, replacing any earlier report atomically. On
// failure returns false and, when `error` is given, what went wrong.
bool WriteReport(const QString& path, const TestData& data, const AnalysisResults& results,
                 const ReportSelection& selection, QString* error = nullptr,
                 TextEncoding encoding = TextEncoding::Cp874);
