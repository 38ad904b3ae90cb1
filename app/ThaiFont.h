#pragma once

#include <QFont>
#include <QStringList>

// Makes a Thai family the application font, keeping the desktop's size; nothing changes when none
// is installed. Desktop fonts draw Latin letters well but borrow Thai glyphs from whichever font has
// them, often smaller and on another baseline; a Thai family with Latin letters of its own keeps the
// two alike.
void useThaiFont();

// Per system (ThaiFont_posix.cpp, ThaiFont_win.cpp):
// The Thai families useThaiFont() looks for, best first.
QStringList thaiFontFamilies();
// The font of the data listing, whose 14-column zones need every character to take one column.
QFont listingFont();
