#pragma once

#include <QPixmap>

// The program's picture: an answer sheet with one bubble filled per row and a tick. Drawn rather
// than loaded, so it is sharp at every scale and needs no image plug-in.
QPixmap answerSheetPicture(int size);
// The same picture as the window icon, at the sizes title bars and task bars ask for.
class QIcon;
QIcon programIcon();

// A horizontal divider line.
class QFrame;
class QWidget;
QFrame* makeDivider(QWidget* parent);
