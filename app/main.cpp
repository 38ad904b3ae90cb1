#include "app/Application.h"
#include "app/QtPlatform.h"

#include <QApplication>

int main(int argc, char* argv[])
{
    QApplication qapp(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Quillet"));
    // Pages are unloaded before the next one shows: the program ends only through Exit's question.
    QApplication::setQuitOnLastWindowClosed(false);
    QtPlatform platform;
    Application app(platform);
    app.Main();
    return QApplication::exec();
}
