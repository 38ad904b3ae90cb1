#include "app/Application.h"
#include "app/QtPlatform.h"

#include <QApplication>

int main(int argc, char* argv[])
{
    QApplication qapp(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Quillet"));
    QtPlatform platform;
    Application app(platform);
    app.Main();
    return QApplication::exec();
}
