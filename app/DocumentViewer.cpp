#include "app/DocumentViewer.h"

#include <QDir>
#include <QFile>
#include <QProcess>
#include <QStandardPaths>
#include <QTextStream>

namespace {
QStringList folderList(const QProcessEnvironment& environment, const QString& name, const QString& fallback)
{
    const QString value = environment.value(name);
    return (value.isEmpty() ? fallback : value).split(QLatin1Char(':'), Qt::SkipEmptyParts);
}

// The first line a helper program prints, or empty when it fails.
QString firstLineOf(const QString& program, const QStringList& arguments,
                    const QProcessEnvironment& environment)
{
    QProcess process;
    process.setProcessEnvironment(environment);
    process.setStandardErrorFile(QProcess::nullDevice()); // its complaints are not the teacher's
    process.start(program, arguments, QIODevice::ReadOnly);
    // Bounded, as Finish waits for it; the desktop database answers in a fraction of a second.
    if (!process.waitForFinished(10000)) {
        process.kill();
        process.waitForFinished();
        return {};
    }
    if (process.exitStatus() != QProcess::NormalExit || process.exitCode() != 0)
        return {};
    return QString::fromLocal8Bit(process.readAllStandardOutput()).section(QLatin1Char('\n'), 0, 0).trimmed();
}

// The installed .desktop entry of a desktop file id, looked up as the desktop does: the user's
// applications first, then the system's.
QString desktopEntryPath(const QString& id, const QProcessEnvironment& environment)
{
    const QString home = environment.value(QStringLiteral("HOME"));
    QStringList dataFolders =
        folderList(environment, QStringLiteral("XDG_DATA_HOME"), home + QStringLiteral("/.local/share"));
    dataFolders += folderList(environment, QStringLiteral("XDG_DATA_DIRS"),
                              QStringLiteral("/usr/local/share:/usr/share"));
    for (const QString& folder : dataFolders) {
        const QString candidate = QDir(folder).filePath(QStringLiteral("applications/") + id);
        if (QFile::exists(candidate))
            return candidate;
    }
    return {};
}

// A web browser would only download the report, and a program that runs in a terminal (a console
// editor, a desktop's last resort for text) shows no window where the desktop has no terminal to start
// it in, and the report's code page as gibberish where it has one.
bool cannotShowReport(const QString& entryPath)
{
    QFile entry(entryPath);
    if (!entry.open(QIODevice::ReadOnly | QIODevice::Text))
        return false;
    QTextStream lines(&entry);
    bool inMainGroup = false;
    while (!lines.atEnd()) {
        const QString line = lines.readLine().trimmed();
        if (line.startsWith(QLatin1Char('['))) {
            inMainGroup = line == QStringLiteral("[Desktop Entry]");
            continue;
        }
        const QString key = line.section(QLatin1Char('='), 0, 0).trimmed();
        const QString value = line.section(QLatin1Char('='), 1).trimmed();
        if (inMainGroup && key == QStringLiteral("Categories") &&
            value.split(QLatin1Char(';')).contains(QStringLiteral("WebBrowser")))
            return true;
        if (inMainGroup && key == QStringLiteral("Terminal") && value == QStringLiteral("true"))
            return true;
    }
    return false;
}
} // namespace

ViewerCommand documentViewer(const QString& path, const QProcessEnvironment& environment)
{
    const QStringList searchPath = folderList(environment, QStringLiteral("PATH"), QString());
    for (const char* program : {"libreoffice", "soffice"}) {
        const QString writer = QStandardPaths::findExecutable(QString::fromLatin1(program), searchPath);
        if (!writer.isEmpty())
            return {writer,
                    {QStringLiteral("--infilter=Text (encoded):MS_874,CRLF,Tlwg Typo,th"),
                     QStringLiteral("--writer"), path}};
    }

    const QString xdgMime = QStandardPaths::findExecutable(QStringLiteral("xdg-mime"), searchPath);
    const QString xdgOpen = QStandardPaths::findExecutable(QStringLiteral("xdg-open"), searchPath);
    if (xdgMime.isEmpty() || xdgOpen.isEmpty())
        return {};
    // The type xdg-open will see, which is not always the one the name suggests (a generic desktop
    // looks at the content and finds plain text).
    const QString type =
        firstLineOf(xdgMime, {QStringLiteral("query"), QStringLiteral("filetype"), path}, environment)
            .section(QLatin1Char(';'), 0, 0)
            .trimmed();
    if (type.isEmpty())
        return {};
    const QString id =
        firstLineOf(xdgMime, {QStringLiteral("query"), QStringLiteral("default"), type}, environment);
    if (id.isEmpty())
        return {};
    const QString entry = desktopEntryPath(id, environment);
    if (entry.isEmpty() || cannotShowReport(entry))
        return {};
    return {xdgOpen, {path}};
}
