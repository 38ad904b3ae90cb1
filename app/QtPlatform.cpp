#include "app/QtPlatform.h"

#include "report/TextFile.h"

#include <QApplication>
#include <QDesktopServices>
#include <QDir>
#include <QFileDialog>
#include <QMessageBox>
#include <QPushButton>
#include <QStandardPaths>
#include <QUrl>

Platform::Answer QtPlatform::message(const QString& prompt, const QString& title, Icon icon, Buttons buttons)
{
    QMessageBox box(icon == Icon::Warning ? QMessageBox::Warning : QMessageBox::Question, title, prompt);
    box.setTextFormat(Qt::PlainText);
    if (buttons == Buttons::Ok) {
        box.setDefaultButton(box.addButton(QMessageBox::Ok));
        box.exec();
        return Answer::Ok;
    }
    QPushButton* yes = box.addButton(QMessageBox::Yes);
    box.addButton(QMessageBox::No);
    box.setDefaultButton(yes); // the desktop theme would otherwise pick its own default
    box.exec();
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
    return QDesktopServices::openUrl(QUrl::fromLocalFile(path));
}

bool QtPlatform::openHelpPage(const QString& path)
{
    return QDesktopServices::openUrl(QUrl::fromLocalFile(path));
}

void QtPlatform::endProgram()
{
    QCoreApplication::exit(0);
}
