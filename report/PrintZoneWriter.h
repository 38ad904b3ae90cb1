#pragma once

#include "report/NumberFormat.h"

#include <QLatin1StringView>
#include <QString>
#include <QStringView>

#include <utility>

// Composes text files line by line the way the report and the input listing lay them out: items
// written one after another, either glued or separated by padding to the next 14-column print
// zone, each line ended by CR LF. Lines are never wrapped; an item wider than its zone is written
// whole and the next zone separator pads to the zone after it.
//
// Columns count characters as they land in the file: one per code point, so a Thai mark that
// combines with the character before it takes a column of its own, and a character outside code
// page 874 — written as one "?" — takes one, even when it needs a surrogate pair here.
//
// The whole text grows in one string, which the caller encodes once.
class PrintZoneWriter {
public:
    static constexpr int ZoneWidth = 14;

    explicit PrintZoneWriter(qsizetype expectedSize = 0) { text_.reserve(expectedSize); }

    // Writes an item glued to what precedes it.
    PrintZoneWriter& text(QStringView item);
    PrintZoneWriter& text(QLatin1StringView item);
    PrintZoneWriter& number(const NumberText& item) { return text(item.view()); }
    // Pads to the start of the next print zone: 14 - (column mod 14) spaces, so 1 to 14.
    PrintZoneWriter& zone();
    // Ends the line; at a line's start, writes an empty line.
    PrintZoneWriter& endLine();

    // The text composed so far; the writer is empty afterwards.
    QString take() { return std::exchange(text_, {}); }

private:
    QString text_;
    qsizetype column_ = 0; // where the next item starts, counted from 0
};
