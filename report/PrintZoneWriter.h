#pragma once

#include "report/NumberFormat.h"

#include <QLatin1StringView>
#include <QString>
#include <QStringView>

#include <functional>

// Composes text files line by line the way the report and the input listing lay them out: items
// written one after another, either glued or separated by padding to the next 14-column print
// zone, each line ended by CR LF. Lines are never wrapped; an item wider than its zone is written
// whole and the next zone separator pads to the zone after it.
//
// Columns count characters as they land in the file: one per code point, so a Thai mark that
// combines with the character before it takes a column of its own, and a character outside code
// page 874 — written as one "?" — takes one, even when it needs a surrogate pair here.
//
// The text grows in one string, which the caller encodes once; or, for a writer given a sink, it is
// handed on in pieces of whole lines, so that a report of any length needs only a piece's memory.
class PrintZoneWriter {
public:
    static constexpr int ZoneWidth = 14;
    using Sink = std::function<void(QStringView)>;

    explicit PrintZoneWriter(qsizetype expectedSize = 0);
    // Hands the text to `sink` whenever a line ends with at least `pieceSize` characters waiting,
    // and at flush().
    PrintZoneWriter(Sink sink, qsizetype pieceSize);

    // Writes an item glued to what precedes it.
    PrintZoneWriter& text(QStringView item);
    PrintZoneWriter& text(QLatin1StringView item);
    PrintZoneWriter& number(const NumberText& item) { return text(item.view()); }
    // Pads to the start of the next print zone: 14 - (column mod 14) spaces, so 1 to 14.
    PrintZoneWriter& zone();
    // Ends the line; at a line's start, writes an empty line.
    PrintZoneWriter& endLine();

    // The text composed and not yet handed to a sink; the writer is empty afterwards.
    QString take();
    // Hands what is waiting to the sink.
    void flush();

private:
    // Room for `count` more characters, already counted as written.
    QChar* append(qsizetype count);
    void grow(qsizetype count);

    // The text is written straight into the string's characters: its size is the room there is,
    // and only the first used_ characters hold text.
    QString text_;
    QChar* begin_ = nullptr;
    qsizetype used_ = 0;
    qsizetype column_ = 0; // where the next item starts, counted from 0
    Sink sink_;
    qsizetype pieceSize_ = 0;
};
