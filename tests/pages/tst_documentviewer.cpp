// Which program Finish starts to show the report, decided for real by the desktop's own database of
// default applications (xdg-mime) in a private set of XDG folders.
#include "TestFiles.h"
#include "app/DocumentViewer.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTest>

namespace {
const QByteArray WordProcessor =
    "[Desktop Entry]\nType=Application\nName=Writer\nExec=quillet-test-writer %f\n"
    "Categories=Office;WordProcessor;\n";
const QByteArray TextEditor = "[Desktop Entry]\nType=Application\nName=Editor\nExec=quillet-test-editor %f\n"
                              "Categories=Utility;TextEditor;\n";
const QByteArray WebBrowser =
    "[Desktop Entry]\nType=Application\nName=Browser\nExec=quillet-test-browser %u\n"
    "Categories=Network;WebBrowser;\n";
// A browser that also offers an action of another category stays a browser.
const QByteArray BrowserWithAction =
    "[Desktop Entry]\nType=Application\nName=Browser\nExec=quillet-test-browser %u\n"
    "Categories=Network;WebBrowser;\n"
    "[Desktop Action new-window]\nName=New Window\nExec=quillet-test-browser\n";

// A console editor, which the desktop would start in a terminal if it has one.
const QByteArray ConsoleEditor =
    "[Desktop Entry]\nType=Application\nName=Console editor\n"
    "Exec=quillet-test-editor %f\nTerminal=true\nCategories=Utility;TextEditor;\n";

// An entry whose program is gone, which the desktop passes over.
const QByteArray Uninstalled = "[Desktop Entry]\nType=Application\nName=Gone\nExec=quillet-test-gone %f\n"
                               "Categories=Office;WordProcessor;\n";

// The same default for the type a name suggests and the one the file's content gives, so the test
// holds whichever way this machine's xdg-mime detects it.
QByteArray defaultsList(const QByteArray& entry)
{
    return "[Default Applications]\napplication/msword=" + entry + "\ntext/plain=" + entry + "\n";
}
} // namespace

class DocumentViewerTest : public QObject {
    Q_OBJECT

    QTemporaryDir root;
    QString systemTools; // every program of the machine's PATH except the word processor

    QString at(const QString& relative) const { return root.filePath(relative); }
    void put(const QString& relative, const QByteArray& bytes)
    {
        QDir().mkpath(QFileInfo(at(relative)).path());
        writeBytes(at(relative), bytes);
    }

    QProcessEnvironment desktop(const QString& extraPath = QString()) const
    {
        // The programs of the test's entries, then the machine's tools.
        QString path = at(QStringLiteral("apps")) + ":" + systemTools;
        if (!extraPath.isEmpty())
            path.prepend(extraPath + ":");
        QProcessEnvironment environment;
        environment.insert(QStringLiteral("PATH"), path);
        environment.insert(QStringLiteral("HOME"), at(QStringLiteral("home")));
        environment.insert(QStringLiteral("XDG_CONFIG_HOME"), at(QStringLiteral("config")));
        environment.insert(QStringLiteral("XDG_CONFIG_DIRS"), at(QStringLiteral("etc-xdg")));
        environment.insert(QStringLiteral("XDG_DATA_HOME"), at(QStringLiteral("data")));
        environment.insert(QStringLiteral("XDG_DATA_DIRS"), at(QStringLiteral("usr-share")));
        return environment;
    }

    QString report() const { return at(QStringLiteral("Result.doc")); }

private slots:
    // A PATH of links to the machine's programs without LibreOffice, so the rules after it are
    // tested whether or not this machine has it.
    void initTestCase()
    {
        QVERIFY(root.isValid());
        systemTools = at(QStringLiteral("tools"));
        QVERIFY(QDir().mkpath(systemTools));
        const QStringList hidden = {QStringLiteral("libreoffice"), QStringLiteral("soffice")};
        for (const QString& folder : qEnvironmentVariable("PATH").split(':', Qt::SkipEmptyParts)) {
            for (const QFileInfo& program : QDir(folder).entryInfoList(QDir::Files | QDir::Executable)) {
                if (!hidden.contains(program.fileName()))
                    QFile::link(program.absoluteFilePath(), QDir(systemTools).filePath(program.fileName()));
            }
        }
        if (QStandardPaths::findExecutable(QStringLiteral("xdg-mime"), {systemTools}).isEmpty())
            QSKIP("xdg-utils is not installed (apt-get install xdg-utils)");
        for (const char* program : {"quillet-test-writer", "quillet-test-editor", "quillet-test-browser"}) {
            const QString file = QStringLiteral("apps/") + QString::fromLatin1(program);
            put(file, "#!/bin/sh\n");
            QFile::setPermissions(at(file), QFile::ReadOwner | QFile::ExeOwner);
        }
        writeBytes(report(), "\xbc\xc5\xa1\xd2\xc3\xc7\xd4\xe0\xa4\xc3\xd2\xd0\xcb\xec\r\n");
    }

    void init()
    {
        for (const char* folder : {"home", "config", "etc-xdg", "data", "usr-share", "bin"})
            QDir(at(QString::fromLatin1(folder))).removeRecursively();
    }

    void theDesktopsDefaultDecides_data()
    {
        QTest::addColumn<QString>("file");
        QTest::addColumn<QByteArray>("contents");
        QTest::addColumn<bool>("shown");

        QTest::newRow("a word processor as the user's default opens the report")
            << "config/mimeapps.list" << defaultsList("writer.desktop") << true;
        QTest::newRow("a text editor as the user's default opens it too")
            << "config/mimeapps.list" << defaultsList("editor.desktop") << true;
        QTest::newRow("a web browser as the default would only download it")
            << "config/mimeapps.list" << defaultsList("browser.desktop") << false;
        QTest::newRow("a browser with extra actions is still a browser")
            << "config/mimeapps.list" << defaultsList("actionbrowser.desktop") << false;
        QTest::newRow("a console editor as the default shows no window")
            << "config/mimeapps.list" << defaultsList("console.desktop") << false;
        QTest::newRow("a default whose entry is not installed opens nothing")
            << "config/mimeapps.list" << defaultsList("missing.desktop") << false;
        QTest::newRow("a default whose program is not installed opens nothing")
            << "config/mimeapps.list" << defaultsList("uninstalled.desktop") << false;
        QTest::newRow("the system's list of installed handlers counts when the user chose none")
            << "usr-share/applications/mimeinfo.cache"
            << QByteArray(
                   "[MIME Cache]\napplication/msword=syswriter.desktop;\ntext/plain=syswriter.desktop;\n")
            << true;
        QTest::newRow("a desktop with no handler at all opens nothing")
            << "data/applications/unrelated.list" << QByteArray() << false;
    }
    void theDesktopsDefaultDecides()
    {
        QFETCH(QString, file);
        QFETCH(QByteArray, contents);
        QFETCH(bool, shown);
        put(QStringLiteral("data/applications/writer.desktop"), WordProcessor);
        put(QStringLiteral("data/applications/editor.desktop"), TextEditor);
        put(QStringLiteral("data/applications/browser.desktop"), WebBrowser);
        put(QStringLiteral("data/applications/actionbrowser.desktop"), BrowserWithAction);
        put(QStringLiteral("data/applications/uninstalled.desktop"), Uninstalled);
        put(QStringLiteral("data/applications/console.desktop"), ConsoleEditor);
        put(QStringLiteral("usr-share/applications/syswriter.desktop"), WordProcessor);
        put(file, contents);

        const ViewerCommand viewer = documentViewer(report(), desktop());
        if (!shown) {
            QVERIFY2(viewer.program.isEmpty(), qPrintable(viewer.program));
            return;
        }
        QCOMPARE(QFileInfo(viewer.program).fileName(), QStringLiteral("xdg-open"));
        QCOMPARE(viewer.arguments, QStringList{report()});
    }

    void libreOfficeComesFirstAndIsToldTheThaiCodePage()
    {
        put(QStringLiteral("config/mimeapps.list"), defaultsList("browser.desktop"));
        put(QStringLiteral("data/applications/browser.desktop"), WebBrowser);
        put(QStringLiteral("bin/libreoffice"), "#!/bin/sh\n");
        QFile::setPermissions(at(QStringLiteral("bin/libreoffice")), QFile::ReadOwner | QFile::ExeOwner);

        const ViewerCommand viewer = documentViewer(report(), desktop(at(QStringLiteral("bin"))));
        QCOMPARE(viewer.program, at(QStringLiteral("bin/libreoffice")));
        QCOMPARE(viewer.arguments,
                 (QStringList{QStringLiteral("--infilter=Text (encoded):MS_874,CRLF,Tlwg Typo,th"),
                              QStringLiteral("--writer"), report()}));
    }

    void withoutTheDesktopsToolsNothingCanShowIt()
    {
        put(QStringLiteral("config/mimeapps.list"), defaultsList("writer.desktop"));
        put(QStringLiteral("data/applications/writer.desktop"), WordProcessor);
        QProcessEnvironment bare = desktop();
        bare.insert(QStringLiteral("PATH"), at(QStringLiteral("bin")));
        QVERIFY(documentViewer(report(), bare).program.isEmpty());
    }
};

QTEST_GUILESS_MAIN(DocumentViewerTest)
#include "tst_documentviewer.moc"
