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
// A fixed-width family with Thai letters, or the desktop's fixed font where there is none.
QFont fixedWidthThaiFont();

// The font of the data listing, whose 14-column zones need every character, Thai ones too, to take
// one column. Tlwg Mono's letters are small and thin for their size, so it is set a little larger
// than the page's own text.
QFont listingFont(const QFont& pageFont);
