#include "app/QtPlatform.h"

#include "app/DocumentViewer.h"

#include <QDir>
#include <QProcess>
#include <QProcessEnvironment>

// Installed as bin/quillet, the program finds its help page and the sample classes in ../share/quillet.
QString QtPlatform::dataFolder() const
{
    return QDir(programFolder()).filePath(QStringLiteral("../share/quillet"));
}

// A build or a copied folder has no ../share/quillet beside it.
bool QtPlatform::installed() const
{
    return Platform::installed();
}

bool QtPlatform::openDocument(const QString& path)
{
    const ViewerCommand viewer = documentViewer(path, QProcessEnvironment::systemEnvironment());
    return !viewer.program.isEmpty() && QProcess::startDetached(viewer.program, viewer.arguments);
}
