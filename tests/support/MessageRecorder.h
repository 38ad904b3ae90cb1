#pragma once

#include "analysis/AnalysisMessages.h"

#include <QList>
#include <QString>

// Records what the analysis tells the teacher, in order.
class MessageRecorder : public AnalysisMessages {
public:
    struct Message {
        QString prompt;
        QString title;
    };
    QList<Message> messages;

    void warning(const QString& prompt, const QString& title) override { messages.append({prompt, title}); }
};
