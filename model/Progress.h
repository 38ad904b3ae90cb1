#pragma once

#include <QtGlobal>

// Told now and then how far a long piece of work has come, so that a window can show signs of life
// while the work holds the window's one thread. The work calls it at coarse steps, never per record.
class Progress {
public:
    virtual ~Progress() = default;

    // `done` of `total` steps are finished. A total of 0 means the work cannot tell how far it is.
    virtual void advance(qint64 done, qint64 total) = 0;
};
