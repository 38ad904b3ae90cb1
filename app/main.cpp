#include "app/Application.h"
#include "app/Artwork.h"
#include "app/QtPlatform.h"
#include "app/ThaiFont.h"
#include "report/OutputFile.h"

#include <QApplication>
#include <QIcon>

int main(int argc, char* argv[])
{
    QApplication qapp(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Quillet"));
    QApplication::setDesktopFileName(QStringLiteral("quillet")); // the menu entry's icon for the windows
    QApplication::setWindowIcon(programIcon());
    useThaiFont();
    reportWriteLimitsAsErrors();
    QtPlatform platform;
    Application app(platform);
    app.Main();
    return QApplication::exec();
}
