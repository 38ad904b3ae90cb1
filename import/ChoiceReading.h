#pragma once

#include <QChar>
#include <QStringView>

// How an exported answer becomes a choice code of a data file, whichever tool exported it.

// What a data file holds for a cell that is no single choice; every one of them scores as wrong.
inline constexpr char16_t BlankAnswer = u' ';      // nothing marked
inline constexpr char16_t SeveralMarks = u'*';     // two or more choices marked
inline constexpr char16_t UnreadableAnswer = u'?'; // a mark that is no choice

// The choice code ("1" to "5") a choice label stands for: 1–5, the Thai digits ๑–๕, A–E, a–e or
// the Thai choice letters ก ข ค ง จ; 0 for any other character.
char16_t choiceOfLabel(QChar label);

// A choice cell: one label gives its choice, and so does an option text that begins with a label,
// "." or ")" and a blank ("ข. 25 องศา"); an empty cell is a blank; two or more labels ("AB", "A, C")
// are several marks; anything else is unreadable. Blanks around the cell do not count.
char16_t readChoiceCell(QStringView cell);

// One character of an answers-in-one-cell text, read alone: a label, a blank, or unreadable.
char16_t readChoiceCharacter(QChar character);

// Whether the cell, without blanks around it and ignoring case, is เฉลย, KEY or ANSWER KEY.
bool isKeyWord(QStringView cell);
