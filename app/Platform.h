#pragma once

#include "model/Progress.h"
#include "report/TextFile.h"

#include <QFileInfo>
#include <QString>

#include <memory>

// Everything the program asks of the desktop, behind one interface: the window program uses
// QtPlatform, tests a scripted fake.
class Platform {
public:
    enum class Icon { Warning, Question };
    enum class Buttons { Ok, YesNo }; // Yes is the default of Yes/No
    enum class Answer { Ok, Yes, No };

    virtual ~Platform() = default;

    // A modal message box; returns the button pressed. Blanks around prompt and title are shown.
    virtual Answer message(const QString& prompt, const QString& title, Icon icon, Buttons buttons) = 0;
    // The file-open dialog: one full path, or empty when cancelled.
    virtual QString chooseFile(const QString& title, const QString& pattern) = 0;

    // The folder that holds the program's executable.
    virtual QString programFolder() const = 0;
    // Where an installed program keeps its read-only data (the help page).
    virtual QString dataFolder() const = 0;
    // The user's documents folder.
    virtual QString documentsFolder() const = 0;
    // Whether the program runs as installed, rather than from a build or a copied folder: it then
    // keeps the teacher's files in the documents folder. By default, when the data folder exists.
    virtual bool installed() const { return QFileInfo(dataFolder()).isDir(); }

    // Writes a text file in the given encoding (lines already end in CR LF), replacing it whole or not
    // at all; on failure `reason` says why, in Thai.
    virtual bool writeTextFile(const QString& path, const QString& text, TextEncoding encoding,
                               QString& reason) = 0;
    // Writes a file's bytes as they are, whole or not at all, as writeTextFile does.
    virtual bool writeFile(const QString& path, const QByteArray& bytes, QString& reason) = 0;
    // Hands a document to the desktop's word processor without waiting; false if the desktop has
    // none that can show it (a web browser does not count) or it could not start.
    virtual bool openDocument(const QString& path) = 0;
    // Shows a page in a web browser without waiting; false if no browser could start.
    virtual bool openHelpPage(const QString& path) = 0;
    // Shows a page the program wrote (the visual report) in a web browser, as openHelpPage does.
    virtual bool openWebPage(const QString& path) = 0;

    // Ends the program at once.
    virtual void endProgram() = 0;

    // Shows a folder in the desktop's file manager without waiting; false if none could start.
    virtual bool openFolder(const QString& path) = 0;

    // A Thai progress indication for a handler whose work may take more than about half a second; it
    // blocks the window until the returned object is destroyed. It appears once the advances show
    // that the work takes that long, or at once when the work cannot tell how far it is.
    virtual std::unique_ptr<Progress> showProgress(const QString& caption) = 0;
};
