#pragma once

#include "diagnostics/Diagnostics.h"

#include <QString>

// The item diagnostics as a table for spreadsheets: a header, then one row per item. Columns: item
// (its number), key, p, d, rpb_rest, rpb_total, rbis, kr20_if_deleted, verdict (keep, revise,
// replace-distractor, check-key, small-sample), verdict_th, reason_th, then per option k = 1..choices
// optk_p, optk_rpb, optk_index ((U − L)/G keyed, (L − U)/G otherwise) and optk_g1..optk_g5 (the share
// choosing it in score groups 1, the highest, to 5). Numbers have three decimals and a point; an
// undefined one is an empty field. Fields are quoted as RFC 4180 wants, lines end in CR LF, and the
// text begins with a byte-order mark so that spreadsheets read it as UTF-8.
QString composeCsv(const TestDiagnostics& test);

// A field as RFC 4180 wants it: in double quotes, its quotes doubled, when it holds a comma, a quote
// or a line break.
QString csvField(const QString& text);
