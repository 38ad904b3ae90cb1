#pragma once

#include "app/Platform.h"

#include <QList>
#include <QStringList>
#include <QTemporaryDir>

#include <functional>

// A desktop for tests: records every message box, answers questions as the test scripts them,
// returns scripted file names, and keeps the program's folder in a temporary directory.
class FakePlatform : public Platform {
public:
    struct Message {
        QString prompt;
        QString title;
        Icon icon;
        Buttons buttons;
    };

    FakePlatform();

    // Scripted answers to Yes/No questions, taken in order; once used up, defaultAnswer answers.
    QList<Answer> answers;
    Answer defaultAnswer = Answer::Yes;
    // Scripted results of the file dialog, taken in order; once used up, the dialog is cancelled.
    QStringList filesToChoose;
    // The folders the program sees; the program folder is a fresh temporary directory.
    QString programFolderPath;
    QString dataFolderPath;
    QString documentsFolderPath;
    // Set to make opening documents, help pages or web pages fail.
    bool canOpen = true;

    // What the program did.
    QList<Message> messages;
    QStringList fileDialogTitles;
    QStringList filesWritten;
    QStringList documentsOpened;
    QStringList helpPagesOpened;
    QStringList webPagesOpened;
    int endProgramCalls = 0;
    // Every progress indication: its caption, and each advance as "done/total", while it is open.
    struct ProgressShown {
        QString caption;
        QStringList advances;
        bool open = true;
    };
    QList<ProgressShown> progress;
    // Called at every advance, so a test can look at the program in the middle of its work.
    std::function<void()> duringProgress;

    Answer message(const QString& prompt, const QString& title, Icon icon, Buttons buttons) override;
    QString chooseFile(const QString& title, const QString& pattern) override;
    QString programFolder() const override { return programFolderPath; }
    QString dataFolder() const override { return dataFolderPath; }
    QString documentsFolder() const override { return documentsFolderPath; }
    bool writeTextFile(const QString& path, const QString& text, TextEncoding encoding,
                       QString& reason) override;
    bool writeFile(const QString& path, const QByteArray& bytes, QString& reason) override;
    bool openDocument(const QString& path) override;
    bool openHelpPage(const QString& path) override;
    bool openWebPage(const QString& path) override;
    void endProgram() override { ++endProgramCalls; }
    std::unique_ptr<Progress> showProgress(const QString& caption) override;

    QStringList foldersOpened;
    bool openFolder(const QString& path) override
    {
        foldersOpened.append(path);
        return canOpen;
    }

    // The prompts shown so far, for compact assertions.
    QStringList prompts() const;

private:
    QTemporaryDir folder_;
};
