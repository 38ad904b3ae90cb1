#pragma once

#include "analysis/AnalysisMessages.h"
#include "app/Platform.h"

// The analysis speaks to the teacher through warning message boxes with an OK button.
class PlatformMessages : public AnalysisMessages {
public:
    explicit PlatformMessages(Platform& platform) : platform_(platform) {}
    void warning(const QString& prompt, const QString& title) override
    {
        platform_.message(prompt, title, Platform::Icon::Warning, Platform::Buttons::Ok);
    }

private:
    Platform& platform_;
};
