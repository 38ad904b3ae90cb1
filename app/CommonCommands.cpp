// The commands every page offers (exit with confirmation, help) and the program's common messages.
#include "app/Application.h"
#include "app/Platform.h"

#include <QDir>
#include <QFileInfo>
#include <QTemporaryFile>

namespace {
const QString HelpFileName = QStringLiteral("Help!.html");
} // namespace

bool canWriteInto(const QString& folder)
{
    if (!QDir().mkpath(folder))
        return false;
    QTemporaryFile probe(QDir(folder).filePath(QStringLiteral(".quillet-XXXXXX")));
    return probe.open();
}

void Application::ConfirmExit()
{
    const auto answer = platform.message("ต้องการออกจากโปรแกรม ?", "! ยืนยันคำสั่ง !", Platform::Icon::Warning,
                                         Platform::Buttons::YesNo);
    if (answer != Platform::Answer::Yes)
        return;
    ending_ = true;
    platform.endProgram();
}

void Application::ShowHelp()
{
    // Beside the program first (a build, or a copied folder), then where an installation keeps it.
    const QString candidates[] = {QDir(platform.programFolder()).filePath(HelpFileName),
                                  QDir(platform.dataFolder()).filePath(HelpFileName)};
    for (const QString& path : candidates) {
        if (!QFileInfo(path).isFile())
            continue;
        if (!platform.openHelpPage(path))
            warn(QStringLiteral("ไม่สามารถเปิดเว็บเบราว์เซอร์เพื่อแสดงคู่มือได้  "
                                "เปิดแฟ้มคู่มือด้วยเบราว์เซอร์ได้เองที่  %1")
                     .arg(QDir::toNativeSeparators(path)));
        return;
    }
    warn(QStringLiteral("ไม่พบแฟ้มคู่มือ %1 ข้างโปรแกรม  กรุณาติดตั้งโปรแกรมใหม่อีกครั้ง").arg(HelpFileName));
}

QString Application::outputPath(const QString& fileName)
{
    // An installed program keeps its files apart from the teacher's, even where its folder happens
    // to be writable (a per-user install in a hidden folder); a build or an unpacked copy is the
    // teacher's own folder, and its files stay beside it.
    const bool installed = platform.installed();
    const QString programFolder = platform.programFolder();
    if (!installed && canWriteInto(programFolder))
        return QDir(programFolder).filePath(fileName);
    const QString fallback = QDir(platform.documentsFolder()).filePath(QStringLiteral("Quillet"));
    QDir().mkpath(fallback);
    if (!toldOutputFolder_) {
        toldOutputFolder_ = true;
        const QString where = QStringLiteral("แฟ้มผลการวิเคราะห์ (Result.doc) และแฟ้มตรวจสอบข้อมูล (InputData.doc) "
                                             "จะถูกบันทึกไว้ที่  %1")
                                  .arg(QDir::toNativeSeparators(fallback));
        inform(installed ? where : QStringLiteral("บันทึกแฟ้มลงในโฟลเดอร์ของโปรแกรมไม่ได้  ") + where);
    }
    return QDir(fallback).filePath(fileName);
}

void Application::warn(const QString& prompt)
{
    platform.message(prompt, " ผิดพลาด !", Platform::Icon::Warning, Platform::Buttons::Ok);
}

void Application::inform(const QString& prompt)
{
    platform.message(prompt, QStringLiteral(" แจ้งให้ทราบ"), Platform::Icon::Warning, Platform::Buttons::Ok);
}
