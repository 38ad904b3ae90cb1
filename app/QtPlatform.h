#pragma once

#include "app/Platform.h"

// The platform services of a real desktop. What differs between Linux and Windows (where an
// installation keeps its data, how a report reaches a word processor) lives in QtPlatform_posix.cpp
// and QtPlatform_win.cpp.
class QtPlatform final : public Platform {
public:
    Answer message(const QString& prompt, const QString& title, Icon icon, Buttons buttons) override;
    QString chooseFile(const QString& title, const QString& pattern) override;
    QString programFolder() const override;
    QString dataFolder() const override;
    QString documentsFolder() const override;
    bool installed() const override;
    bool writeTextFile(const QString& path, const QString& text, TextEncoding encoding,
                       QString& reason) override;
    bool writeFile(const QString& path, const QByteArray& bytes, QString& reason) override;
    bool openDocument(const QString& path) override;
    bool openHelpPage(const QString& path) override;
    bool openWebPage(const QString& path) override;
    void endProgram() override;
    bool openFolder(const QString& path) override;
    std::unique_ptr<Progress> showProgress(const QString& caption) override;
};
