#pragma once

#include <QString>

// Shows a report in Microsoft Word through its automation interface: starts Word (the programmatic
// identifier Word.Application), opens the file through its Documents collection as Thai text (code
// page 874), so that no conversion dialog appears, and makes Word's window visible. Returns at once;
// false when Word is not installed or refused a step. Word lives on after the program; the last
// report's references are kept until the next one replaces them.
bool showInWord(const QString& path);
