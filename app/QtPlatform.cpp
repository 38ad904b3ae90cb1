#include "app/QtPlatform.h"

#include "app/DocumentViewer.h"

#include "report/TextFile.h"

#include <QApplication>
#include <QDesktopServices>
#include <QDir>
#include <QFileDialog>
#include <QMessageBox>
#include <QProcess>
#include <QProcessEnvironment>
#include <QPushButton>
#include <QStandardPaths>
#include <QUrl>

Platform::Answer QtPlatform::message(const QString& prompt, const QString& title, Icon icon, Buttons buttons)
{
    // The box belongs to the window the teacher is working in, which gets the keyboard back afterwards
    // even where no window manager hands it back.
    QWidget* window = QApplication::activeWindow();
    QMessageBox box(icon == Icon::Warning ? QMessageBox::Warning : QMessageBox::Question, title, prompt,
                    QMessageBox::NoButton, window);
    box.setTextFormat(Qt::PlainText);
    QPushButton* yes = nullptr;
    if (buttons == Buttons::Ok) {
        box.setDefaultButton(box.addButton(QMessageBox::Ok));
    } else {
        yes = box.addButton(QMessageBox::Yes);
        box.addButton(QMessageBox::No);
        box.setDefaultButton(yes); // the desktop theme would otherwise pick its own default
    }
    box.exec();
    if (window)
        window->activateWindow();
    if (!yes)
        return Answer::Ok;
    return box.clickedButton() == yes ? Answer::Yes : Answer::No;
}

QString QtPlatform::chooseFile(const QString& title, const QString& pattern)
{
    return QFileDialog::getOpenFileName(QApplication::activeWindow(), title, QString(), pattern);
}

QString QtPlatform::programFolder() const
{
    return QCoreApplication::applicationDirPath();
}

QString QtPlatform::dataFolder() const
{
    return QDir(programFolder()).filePath(QStringLiteral("../share/quillet"));
}

QString QtPlatform::documentsFolder() const
{
    return QStandardPaths::writableLocation(QStandardPaths::DocumentsLocation);
}

bool QtPlatform::writeTextFile(const QString& path, const QString& text)
{
    return saveTextFile(path, text);
}

bool QtPlatform::openDocument(const QString& path)
{
    const ViewerCommand viewer = documentViewer(path, QProcessEnvironment::systemEnvironment());
    return !viewer.program.isEmpty() && QProcess::startDetached(viewer.program, viewer.arguments);
}

bool QtPlatform::openHelpPage(const QString& path)
{
    return QDesktopServices::openUrl(QUrl::fromLocalFile(path)); // the desktop's browser for .html
}

void QtPlatform::endProgram()
{
    QCoreApplication::exit(0);
}

bool QtPlatform::openFolder(const QString& path)
{
    return QDesktopServices::openUrl(QUrl::fromLocalFile(path));
}
