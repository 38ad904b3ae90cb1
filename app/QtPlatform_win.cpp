#include "app/QtPlatform.h"

#include "app/WordAutomation_win.h"

#include <QDesktopServices>
#include <QDir>
#include <QFileInfo>
#include <QUrl>

// The installer puts the help page and the sample classes beside the program.
QString QtPlatform::dataFolder() const
{
    return programFolder();
}

// Only the installer leaves its uninstaller beside the program; a build or a copied folder has none.
// An installation in the user's own AppData is writable, so writability tells nothing.
bool QtPlatform::installed() const
{
    return QFileInfo::exists(QDir(programFolder()).filePath(QStringLiteral("Uninstall.exe")));
}

// Word, as the teacher expects; without it, whatever the desktop opens .doc files with.
bool QtPlatform::openDocument(const QString& path)
{
    return showInWord(path) || QDesktopServices::openUrl(QUrl::fromLocalFile(path));
}
