#pragma once

class QWidget;

// Makes Enter in `box` act as Tab: the focus moves to the next control in tab order and the box
// never receives the key. Other keys reach the box as usual.
void EnterAsTab(QWidget* box);
