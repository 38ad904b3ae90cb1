#pragma once

#include <QString>

// How the analysis tells the teacher something during a run. The window program shows a warning
// message box with an OK button and waits for it; the command-line tool prints the text; tests
// record it.
class AnalysisMessages {
public:
    virtual ~AnalysisMessages() = default;
    virtual void warning(const QString& prompt, const QString& title) = 0;
};
