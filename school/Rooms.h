#pragma once

#include "model/TestData.h"
#include "school/ComparisonSection.h"

#include <QString>

// Several rooms of one grade that sat the same test, analysed as one class: the pupils of every room
// in the order the rooms are given, each pupil's room remembered for the comparison of the rooms.

// The name a room goes by: its data file's name without the folder and the ending.
QString roomName(const QString& dataFile);

// Appends the pupils of `room`, named `name`, to `pooled` (empty before the first room) and to
// `rooms`. False, with a Thai message naming the file and the first item that differs in `error`,
// when its key is not the first room's, or when the rooms together hold more pupils than one class
// may; then `pooled` and `rooms` are unchanged.
bool addRoom(TestData& pooled, PupilGroups& rooms, const TestData& room, const QString& name, QString& error);

// The visual report's comparison of the rooms.
ComparisonTexts roomComparisonTexts();
